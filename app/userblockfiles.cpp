#include "app/userblockfiles.h"

#include <QDir>
#include <QFileInfo>

#include "app/userfolders.h"

namespace {
const QString kFileName = QStringLiteral("UserBlock.blu");
}  // namespace

QString TUserBlockLocations::ProgramFile() const { return QDir(ProgramDir).filePath(kFileName); }

QString TUserBlockLocations::PerUserFile() const {
  return UserDataDir.isEmpty() ? QString() : QDir(UserDataDir).filePath(kFileName);
}

QString TUserBlockLocations::FileToUse() const {
  const QString perUser = PerUserFile();
  return !perUser.isEmpty() && QFileInfo(perUser).isFile() ? perUser : ProgramFile();
}

QString DefaultUserDataDir() { return UserDataFolder(); }
