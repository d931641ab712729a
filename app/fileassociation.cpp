#include "app/fileassociation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

const char* const DiagramMimeType = "application/x-quorvalin-diagram";

namespace {
// Writes text to path unless the file holds it already; true when written.
bool WriteIfChanged(const QString& path, const QByteArray& text, bool& ok) {
  QFile f(path);
  if (f.open(QIODevice::ReadOnly) && f.readAll() == text) return false;
  f.close();
  if (!QDir().mkpath(QFileInfo(path).absolutePath()) ||
      !f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) {
    ok = false;
    return false;
  }
  return true;
}

QString DesktopQuote(const QString& s) {
  QString q = s;
  q.replace('\\', "\\\\\\\\").replace('"', "\\\\\"").replace('`', "\\\\`").replace('$', "\\\\$");
  return '"' + q + '"';
}
}  // namespace

bool WriteFileAssociation(const QString& programPath) {
  // An installed program (PREFIX/lib/quorvalin/) registers the type for all
  // users through its package; a per-user entry would only hide that one.
  const QDir programDir = QFileInfo(programPath).absoluteDir();
  if (QFileInfo::exists(programDir.absoluteFilePath("../../share/applications/quorvalin.desktop")))
    return true;
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty()) return false;
  bool ok = true;
  const QByteArray mime =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      "  <mime-type type=\"" +
      QByteArray(DiagramMimeType) +
      "\">\n"
      "    <comment>Block diagram file</comment>\n"
      "    <glob pattern=\"*.fgd\"/>\n"
      "  </mime-type>\n"
      "</mime-info>\n";
  const bool mimeChanged = WriteIfChanged(data + "/mime/packages/quorvalin-diagram.xml", mime, ok);
  const QByteArray desktop =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Block-diagram editor\n"
      "Comment=Block diagram file\n"
      "Exec=" +
      DesktopQuote(programPath).toUtf8() +
      " %F\n"
      "MimeType=" +
      QByteArray(DiagramMimeType) +
      ";\n"
      "Icon=quorvalin\n"
      "Terminal=false\n"
      "Categories=Graphics;Development;\n";
  const bool desktopChanged = WriteIfChanged(data + "/applications/quorvalin.desktop", desktop, ok);
  // Refresh the desktop's caches only when something changed, and only when
  // the tools are there; both are optional.
  if (mimeChanged) {
    const QString tool = QStandardPaths::findExecutable("update-mime-database");
    if (!tool.isEmpty()) QProcess::startDetached(tool, {data + "/mime"});
  }
  if (desktopChanged) {
    const QString tool = QStandardPaths::findExecutable("update-desktop-database");
    if (!tool.isEmpty()) QProcess::startDetached(tool, {data + "/applications"});
  }
  return ok;
}
