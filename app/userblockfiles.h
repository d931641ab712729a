#pragma once
// Where the list of user blocks lives: "UserBlock.blu" in the program's folder,
// or in the user's own data folder, which wins when a list was saved there
// (the program's folder is often not the user's to write).

#include <QString>

struct TUserBlockLocations {
  QString ProgramDir;
  QString UserDataDir;  // empty: no per-user list

  QString ProgramFile() const;
  QString PerUserFile() const;
  // The file the start-up reads and "Save list of block " writes: the
  // per-user one when it exists, the program's otherwise.
  QString FileToUse() const;
};

// The per-user data folder of the program (XDG_DATA_HOME based).
QString DefaultUserDataDir();
