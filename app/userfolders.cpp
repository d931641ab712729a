#include "app/userfolders.h"

#include <QDir>
#include <QFileInfo>

namespace {
// An XDG variable counts only when it holds an absolute path.
QString XdgFolder(const char* variable, const QString& fallbackUnderHome) {
  const QString value = qEnvironmentVariable(variable);
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) return QDir::cleanPath(value);
  return QDir::cleanPath(QDir::homePath() + '/' + fallbackUnderHome);
}
}  // namespace

QString UserDataFolder() {
  return XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/quorvalin");
}

QString UserStateFolder() {
  return XdgFolder("XDG_STATE_HOME", QStringLiteral(".local/state")) + QStringLiteral("/quorvalin");
}

QString RecoveryFolder() { return UserStateFolder() + QStringLiteral("/recovery"); }

QString UserBlockListFile() { return UserDataFolder() + QStringLiteral("/UserBlock.blu"); }

QString UserBlockListToLoad(const QString& programDir) {
  const QString own = UserBlockListFile();
  if (QFileInfo(own).isFile()) return own;
  return QDir(programDir).absoluteFilePath(QStringLiteral("UserBlock.blu"));
}
