#include "app/filenames.h"

#include <QDir>
#include <QFileInfo>

QString AbsoluteFileName(const QString& fileName) {
  if (fileName.isEmpty()) return fileName;
  const QFileInfo info(fileName);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}
