#pragma once
// Press and hold on the "Create link" (tag 3) and "Add delete point into
// link" (tag 2) buttons: the press chooses the tool at once and starts
// PressHoldTimer; a release within 500 ms stops it and the click goes on as
// usual; when it fires, the palette TMenuF drops down by the button and the
// button it shows sets the tool's picture, which the link tools read.

#include <QObject>
#include <QRect>
#include <QTimer>

#include "app/toolpalette.h"

class QToolButton;
class TMainForm;

// Where the palette of the given size goes for a button held on a toolbar in
// `area` (Qt::NoToolBarArea: floating). `point` is the screen point at (8, 8)
// inside the button, `button` the button's screen rectangle. Top and bottom
// docks: top-left at the point; left dock: left at the point, bottom at it;
// right dock: right at the point, top at it; floating: beside the button on
// its right, or on its left where the screen ends. The result is moved
// inside `screen` when that is not empty, so the palette never opens off it.
QRect PalettePlace(Qt::ToolBarArea area, QPoint point, QSize size, const QRect& button,
                   const QRect& screen);

class TLinkToolHold : public QObject {
  Q_OBJECT

 public:
  static constexpr int HoldMs = 500;

  explicit TLinkToolHold(TMainForm& form);

  QTimer PressHoldTimer;  // one shot; armed by a press on either button
  TMenuF* MenuF;          // owned by the main window
  int HeldTag() const { return heldTag_; }

  // The timer fired for the button with that tag: the palette opens.
  void OpenPalette(int tag);
  // A palette button was chosen: the tool's picture follows it.
  void Choose(TMenuF::TBar bar, int number);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QToolButton* ButtonOf(int tag) const;

  TMainForm& form_;
  int heldTag_ = -1;
};
