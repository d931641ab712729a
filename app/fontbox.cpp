#include "app/fontbox.h"

#include <QEvent>
#include <QFontDatabase>
#include <QMainWindow>
#include <QSignalBlocker>
#include <QToolBar>

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

void TFontBox::SelectFace(const QString& face) {
  const QSignalBlocker block(this);
  setCurrentIndex(findText(face, Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

void TFontBox::FollowToolbar(QToolBar* bar, std::function<QString()> activeFace) {
  bar_ = bar;
  activeFace_ = std::move(activeFace);
  place_ = PlaceOf();
  bar->installEventFilter(this);
  connect(bar, &QToolBar::topLevelChanged, this, [this] { Synchronise(); });
}

int TFontBox::PlaceOf() const {
  if (!bar_ || bar_->isWindow()) return 0;
  const auto* window = qobject_cast<const QMainWindow*>(bar_->parentWidget());
  return window ? int(window->toolBarArea(bar_)) : 0;
}

bool TFontBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == bar_ &&
      (e->type() == QEvent::Move || e->type() == QEvent::ParentChange || e->type() == QEvent::Show))
    Synchronise();
  return QComboBox::eventFilter(watched, e);
}

void TFontBox::Synchronise() {
  const int place = PlaceOf();
  if (place == place_) return;
  place_ = place;
  const QString face = activeFace_ ? activeFace_() : QString();
  SelectFace(face.isEmpty() ? QStringLiteral("Courier") : face);
}
