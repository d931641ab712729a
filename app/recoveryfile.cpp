#include "app/recoveryfile.h"

#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

namespace {
const QByteArray kMagic = "QuorvalinRecovery1\n";
}  // namespace

QByteArray EncodeRecovery(const TRecoveryRecord& r) {
  return kMagic + "title=" + r.Title.toUtf8().toPercentEncoding() + '\n' +
         "file=" + r.FileName.toUtf8().toPercentEncoding() + "\n\n" + r.Diagram;
}

bool DecodeRecovery(const QByteArray& bytes, TRecoveryRecord& r) {
  if (!bytes.startsWith(kMagic)) return false;
  const qsizetype end = bytes.indexOf("\n\n", kMagic.size() - 1);
  if (end < 0) return false;
  bool title = false, file = false;
  const QList<QByteArray> lines = bytes.mid(kMagic.size(), end - kMagic.size()).split('\n');
  for (const QByteArray& line : lines) {
    if (line.startsWith("title=")) {
      r.Title = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(6)));
      title = true;
    } else if (line.startsWith("file=")) {
      r.FileName = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(5)));
      file = true;
    }
  }
  r.Diagram = bytes.mid(end + 2);
  return title && file && !r.Title.isEmpty();
}

QString RecoveryFileName(qint64 pid, int serial) {
  return QStringLiteral("%1-%2.fgr").arg(pid).arg(serial);
}

qint64 RecoveryFileOwner(const QString& fileName) {
  static const QRegularExpression name(QStringLiteral("^([0-9]{1,10})-[0-9]{1,10}\\.fgr$"));
  const QRegularExpressionMatch m = name.match(QFileInfo(fileName).fileName());
  return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}
