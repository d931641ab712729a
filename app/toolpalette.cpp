#include "app/toolpalette.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/toolimages.h"

namespace {
const char* const kHints[2][4] = {
    {"No arrowhead", "Arrowhead at the target", "Arrowhead at the source",
     "Arrowheads at both ends"},
    {"Add a point into a link", "Delete a point from a link", "", ""}};
}  // namespace

TMenuF::TMenuF(QWidget* parent) : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("MenuF"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  ToolBar1 = MakeBar(TBar::Links, 4, 0);
  ToolBar2 = MakeBar(TBar::Points, 2, 4);
  layout->addWidget(ToolBar1);
  layout->addWidget(ToolBar2);
  ToolBar2->hide();
}

QToolBar* TMenuF::MakeBar(TBar bar, int buttons, int firstPicture) {
  auto* tb = new QToolBar(this);
  tb->setObjectName(bar == TBar::Links ? QStringLiteral("ToolBar1") : QStringLiteral("ToolBar2"));
  tb->setOrientation(Qt::Vertical);
  tb->setMovable(false);
  tb->setIconSize(QSize(16, 16));
  // Flat buttons inside a frame, packed so that four fit into 92 pixels.
  tb->setStyleSheet(
      QStringLiteral("QToolBar { border: 1px solid palette(mid); padding: 0px; spacing: 0px; }"));
  const QPixmap pictures = PaletteStrip();
  const int row = bar == TBar::Links ? 0 : 1;
  for (int n = 0; n < buttons; ++n) {
    QAction* a = tb->addAction(QIcon(pictures.copy((firstPicture + n) * 16, 0, 16, 16)),
                               QString::fromUtf8(kHints[row][n]));
    a->setData(n);
    if (QWidget* w = tb->widgetForAction(a)) {
      w->setObjectName(tb->objectName() + QString::number(n));
      w->setFixedSize(22, 22);
    }
    connect(a, &QAction::triggered, this, [this, bar, n] {
      close();
      emit Chosen(bar, n);
    });
  }
  return tb;
}

QSize TMenuF::SizeFor(TBar bar) {
  return QSize(Width, bar == TBar::Links ? LinksHeight : PointsHeight);
}

void TMenuF::ShowBar(TBar bar, const QRect& rect) {
  shown_ = bar;
  ToolBar1->setVisible(bar == TBar::Links);
  ToolBar2->setVisible(bar == TBar::Points);
  setFixedSize(rect.size());
  move(rect.topLeft());
  show();
  raise();
}

QToolButton* TMenuF::Button(TBar bar, int number) const {
  QToolBar* tb = bar == TBar::Links ? ToolBar1 : ToolBar2;
  const QList<QAction*> actions = tb->actions();
  if (number < 0 || number >= actions.size()) return nullptr;
  return qobject_cast<QToolButton*>(tb->widgetForAction(actions[number]));
}
