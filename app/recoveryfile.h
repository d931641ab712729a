#pragma once
// A recovery file: what the editor needs to give a document with unsaved
// changes back after a crash. A first line "QuorvalinRecovery1", then
// "title=" and "file=" lines (UTF-8, percent-encoded), an empty line and the
// diagram in its file format.

#include <QByteArray>
#include <QString>

struct TRecoveryRecord {
  QString Title;     // the document window's title
  QString FileName;  // the file it belongs to; empty for a new, unnamed one
  QByteArray Diagram;
};

QByteArray EncodeRecovery(const TRecoveryRecord& r);
// False for bytes that are not a recovery file (the diagram is not checked).
bool DecodeRecovery(const QByteArray& bytes, TRecoveryRecord& r);

// Recovery files are named "PID-SERIAL.fgr" after the editor that wrote them.
QString RecoveryFileName(qint64 pid, int serial);
// The process id in a recovery file's name, or -1 when the name is none.
qint64 RecoveryFileOwner(const QString& fileName);
