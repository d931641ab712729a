#pragma once
// The per-user folders, after the XDG base directory rules: the program
// folder may be read-only (an installed program), so everything the editor
// writes for a user lives in that user's own folders.
//
//   settings          $XDG_CONFIG_HOME/DiagramEditor.conf (QSettings)
//   user block list   $XDG_DATA_HOME/quorvalin/UserBlock.blu
//   recovery files    $XDG_STATE_HOME/quorvalin/recovery/

#include <QString>

// $XDG_DATA_HOME/quorvalin, or ~/.local/share/quorvalin when the variable is
// unset, empty or not an absolute path.
QString UserDataFolder();
// $XDG_STATE_HOME/quorvalin, or ~/.local/state/quorvalin likewise.
QString UserStateFolder();
// Where the recovery files of unsaved documents are kept.
QString RecoveryFolder();

// The user's own user block list (which may not exist yet).
QString UserBlockListFile();
// The list to load at start: the user's own when it exists, else the one
// installed in the program folder.
QString UserBlockListToLoad(const QString& programDir);
