#include "app/filenames.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString AbsoluteFileName(const QString& fileName) {
  if (fileName.isEmpty()) return fileName;
  const QFileInfo info(fileName);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString DialogFilter(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    const QString list = patterns.join(QLatin1Char(' '));
    if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('('))) {
      // The description's own parentheses are what the dialog matches on.
      description.truncate(description.lastIndexOf(QLatin1Char('(')));
      description = description.trimmed();
    }
    filters << description + QStringLiteral(" (") + list + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}
