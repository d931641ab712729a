#pragma once
// TMenuF: the small palette that drops down from the "Create link" and "Add
// delete point into link" buttons when they are held. It holds two flat,
// framed vertical bars sharing one strip of six pictures: ToolBar1 with the
// four arrowhead choices of a new link, ToolBar2 with add and delete a link
// point. One bar shows at a time. Choosing a button reports it and closes
// the palette; a click anywhere else closes it without a choice.

#include <QWidget>

class QToolBar;
class QToolButton;

class TMenuF : public QWidget {
  Q_OBJECT

 public:
  enum class TBar { Links, Points };
  // Heights of the palette showing each bar; it is always 28 wide.
  static constexpr int Width = 28;
  static constexpr int LinksHeight = 92;
  static constexpr int PointsHeight = 48;

  explicit TMenuF(QWidget* parent = nullptr);

  QToolBar* ToolBar1;  // buttons 0..3: pictures 0..3
  QToolBar* ToolBar2;  // buttons 0..1: pictures 4..5

  // Size the palette shows with that bar.
  static QSize SizeFor(TBar bar);
  // Shows the bar (hiding the other) and the palette at rect.
  void ShowBar(TBar bar, const QRect& rect);
  TBar Shown() const { return shown_; }
  // The button with that number on the bar.
  QToolButton* Button(TBar bar, int number) const;

 signals:
  // A button was chosen: its bar and its number on it.
  void Chosen(TMenuF::TBar bar, int number);

 private:
  QToolBar* MakeBar(TBar bar, int buttons, int firstPicture);

  TBar shown_ = TBar::Links;
};
