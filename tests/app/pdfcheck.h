#pragma once
// Reading back the page boxes of the PDF files that Qt writes, for the
// export and printing tests.

#include <QFile>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <vector>

// The size of every page's MediaBox, in points, in file order.
inline std::vector<QSizeF> PdfPageSizes(const QString& path) {
  QFile f(path);
  std::vector<QSizeF> pages;
  if (!f.open(QIODevice::ReadOnly)) return pages;
  const QString text = QString::fromLatin1(f.readAll());
  if (!text.startsWith("%PDF-")) return pages;
  static const QRegularExpression box(
      R"(/MediaBox\s*\[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])");
  for (auto it = box.globalMatch(text); it.hasNext();) {
    const auto m = it.next();
    pages.emplace_back(m.captured(3).toDouble() - m.captured(1).toDouble(),
                       m.captured(4).toDouble() - m.captured(2).toDouble());
  }
  return pages;
}
