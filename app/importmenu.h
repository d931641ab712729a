#pragma once
// The "Import" submenu of the File menu: one entry per import plug-in.

#include <QString>
#include <memory>

class QMenu;
class TPlugInList;

// Loads the plug-ins of programDir/plugin (nowhere else), writes a warning to
// the log for each library that was skipped, and appends to importMenu one
// entry per plug-in: its name as caption, its hint as hint and tooltip, its
// position as tag (the action's data); choosing it calls the plug-in's
// ImportFiles. The submenu stays enabled, empty when there is no plug-in.
std::unique_ptr<TPlugInList> LoadImportPlugIns(const QString& programDir, QMenu* importMenu);

// The entries of the list appended to importMenu (as LoadImportPlugIns does).
void FillImportMenu(QMenu* importMenu, TPlugInList& list);
