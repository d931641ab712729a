#include "app/fontbox.h"

#include <QFontDatabase>
#include <QSignalBlocker>

#include "app/fontlist.h"

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
  const QStringList seen = FontFamiliesOnce(QFontDatabase::families());
  const QSignalBlocker block(this);
  clear();
  addItems(seen);
  setCurrentIndex(int(seen.indexOf(QStringLiteral("Courier"))));
}

QString TFontBox::Face() const { return currentIndex() >= 0 ? currentText() : QString(); }
