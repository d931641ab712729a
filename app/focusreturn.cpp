#include "app/focusreturn.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

TFocusReturn::TFocusReturn(QWidget* fallback) : fallback_(fallback) {
  qApp->installEventFilter(this);
}

bool TFocusReturn::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::Hide || !watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  if (!w->isWindow() || w == fallback_) return false;
  const Qt::WindowType type = w->windowType();
  if (type != Qt::Dialog && type != Qt::Sheet && type != Qt::Window) return false;
  QPointer<QWidget> owner = w->parentWidget() ? w->parentWidget()->window() : fallback_;
  QPointer<QWidget> gone = w;
  // Later: the window system reports the hidden window's loss of the
  // keyboard after the hide, and a window manager may hand it on itself.
  QTimer::singleShot(0, this, [owner, gone] {
    QWidget* active = QApplication::activeWindow();
    if (active && active != gone && active->isVisible()) return;
    // A modal dialog still open is where the keys must go.
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* target = modal && modal != gone && modal->isVisible() ? modal : owner.data();
    if (target && target->isVisible() && !target->isMinimized()) target->activateWindow();
  });
  return false;
}
