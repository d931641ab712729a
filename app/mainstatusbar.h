#pragma once
// TMainStatusBar: the main window's status bar. In simple mode it shows the
// hint of the item under the mouse; a document switches it to its two panels,
// the mouse position and the size of a drag.

#include <QStatusBar>
#include <array>

class QLabel;

class TMainStatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit TMainStatusBar(QWidget* parent = nullptr);

  std::array<QLabel*, 2> StatusPanels;
  bool StatusSimple = true;

  void SetStatusSimple(bool simple);
  // Panel 0 or 1 shows text; the bar leaves simple mode.
  void SetStatusPanel(int index, const QString& text);
};
