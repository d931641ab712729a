#include "app/linktoolhold.h"

#include <QAction>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/actions.h"
#include "app/mainform.h"
#include "app/toolimages.h"

namespace {
constexpr int kLinkTag = 3;
constexpr int kPointsTag = 2;
constexpr int kFirstLinkPicture = 7;
constexpr int kFirstPointsPicture = 11;

TCommand CommandOfTag(int tag) {
  return tag == kLinkTag ? TCommand::ToolLink : TCommand::ToolLinkPoints;
}
}  // namespace

QRect PalettePlace(Qt::ToolBarArea area, QPoint point, QSize size, const QRect& button,
                   const QRect& screen) {
  QRect r(QPoint(0, 0), size);
  switch (area) {
    case Qt::LeftToolBarArea:
      r.moveTopLeft({point.x(), point.y() - size.height()});
      break;
    case Qt::RightToolBarArea:
      r.moveTopLeft({point.x() - size.width(), point.y()});
      break;
    case Qt::TopToolBarArea:
    case Qt::BottomToolBarArea:
      r.moveTopLeft(point);
      break;
    default:  // floating: in no dock, so beside the button itself
      r.moveTopLeft({button.right() + 1, button.top()});
      if (!screen.isEmpty() && r.right() > screen.right()) r.moveLeft(button.left() - size.width());
      break;
  }
  if (screen.isEmpty()) return r;
  r.moveLeft(
      std::clamp(r.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - r.width())));
  r.moveTop(
      std::clamp(r.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - r.height())));
  return r;
}

TLinkToolHold::TLinkToolHold(TMainForm& form) : QObject(&form), form_(form) {
  MenuF = new TMenuF(&form);
  PressHoldTimer.setSingleShot(true);
  PressHoldTimer.setInterval(HoldMs);
  connect(&PressHoldTimer, &QTimer::timeout, this, [this] { OpenPalette(heldTag_); });
  connect(MenuF, &TMenuF::Chosen, this, &TLinkToolHold::Choose);
  for (int tag : {kLinkTag, kPointsTag})
    if (QToolButton* b = ButtonOf(tag)) {
      b->setProperty("holdTag", tag);
      b->installEventFilter(this);
    }
}

QToolButton* TLinkToolHold::ButtonOf(int tag) const {
  return qobject_cast<QToolButton*>(
      form_.SpecialToolbar->widgetForAction(form_.Actions->Action(CommandOfTag(tag))));
}

bool TLinkToolHold::eventFilter(QObject* watched, QEvent* e) {
  const int tag = watched->property("holdTag").toInt();
  if (e->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
    heldTag_ = tag;
    PressHoldTimer.start();
    form_.AppState.ChooseToolByTag(tag);
    form_.Actions->Action(CommandOfTag(tag))->setChecked(true);
  } else if (e->type() == QEvent::MouseButtonRelease && PressHoldTimer.isActive()) {
    PressHoldTimer.stop();  // a click: the button's action selects the tool
  }
  return false;
}

void TLinkToolHold::OpenPalette(int tag) {
  PressHoldTimer.stop();
  QToolButton* button = ButtonOf(tag);
  if (!button || (tag != kLinkTag && tag != kPointsTag)) return;
  const QPoint point = button->mapToGlobal(QPoint(8, 8));
  const TMenuF::TBar bar = tag == kLinkTag ? TMenuF::TBar::Links : TMenuF::TBar::Points;
  QToolBar* special = form_.SpecialToolbar;
  const Qt::ToolBarArea area = special->isWindow() ? Qt::NoToolBarArea : form_.toolBarArea(special);
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (!screen) screen = button->screen();
  const QRect place = PalettePlace(area, point, TMenuF::SizeFor(bar),
                                   QRect(button->mapToGlobal(QPoint(0, 0)), button->size()),
                                   screen ? screen->availableGeometry() : QRect());
  // As if the button had been let go: no click follows, the tool is chosen.
  button->setDown(false);
  if (QWidget::mouseGrabber() == button) button->releaseMouse();
  MenuF->ShowBar(bar, place);
}

void TLinkToolHold::Choose(TMenuF::TBar bar, int number) {
  TEditorState& state = form_.AppState;
  if (bar == TMenuF::TBar::Links) {
    state.LinkToolPicture = kFirstLinkPicture + number;
    form_.Actions->Action(TCommand::ToolLink)->setIcon(SpecialCell(state.LinkToolPicture));
  } else {
    state.LinkPointsPicture = kFirstPointsPicture + number;
    form_.Actions->Action(TCommand::ToolLinkPoints)->setIcon(SpecialCell(state.LinkPointsPicture));
  }
}
