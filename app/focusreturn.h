#pragma once
// Gives the keyboard back to the window a dialog was opened from when the
// dialog closes and no other window took it. A window manager does this by
// itself; on a bare X server (a kiosk session, a test display) the keyboard
// would otherwise stay with no window at all after the first dialog, and the
// menus and keys of the editor would be out of reach. The main window also
// takes the keyboard when it first shows, for the same reason.

#include <QObject>

class QWidget;

class TFocusReturn : public QObject {
 public:
  // Watches every dialog of the application; windows without an owner give
  // the keyboard back to fallback.
  explicit TFocusReturn(QWidget* fallback);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QWidget* fallback_;
};
