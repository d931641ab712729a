#include "app/fontbox.h"

#include <QFontDatabase>
#include <QSignalBlocker>

TFontBox::TFontBox(QWidget* parent) : QComboBox(parent) {
  const QString hint = QStringLiteral("Select font to all object");
  setObjectName(QStringLiteral("FontBox"));
  setFixedWidth(145);
  setEditable(false);
  setToolTip(hint);
  setStatusTip(hint);
  setAccessibleName(hint);
}

void TFontBox::FillFontList() {
  QStringList seen;
  for (const QString& f : QFontDatabase::families())
    if (!seen.contains(f)) seen.append(f);
  const QSignalBlocker block(this);
  clear();
  addItems(seen);
  setCurrentIndex(int(seen.indexOf(QStringLiteral("Courier"))));
}

QString TFontBox::Face() const { return currentIndex() >= 0 ? currentText() : QString(); }
