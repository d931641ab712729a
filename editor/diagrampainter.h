#pragma once
// Draws a diagram onto any QPainter: the document window, the full-screen
// preview, printing and graphic export all paint through this one class, so a
// diagram looks the same everywhere. Every stroke is black and one pixel wide;
// filled interiors take the window colour.

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <optional>

#include "model/geometry.h"
#include "model/shemobj.h"

class QPainter;
class QRect;
class TShem;
class TUserBlockList;

// Mapping between diagram units and pixels of a view.
struct TViewTransform {
  TPoint ViewTopLeft;  // pixel of the view's top-left corner
  TPoint Origin;       // diagram point shown there
  int Scale = 2;       // pixels per diagram unit

  TPoint DiagramToScreen(TPoint p) const;
  TPoint ScreenToDiagram(TPoint p) const;
};

// The rectangle, in pixels, that a block's text is drawn into and edited in:
// the kind's text rectangle through the view, or a user block's edit rectangle
// of the block's rectangle on screen. None for a link point, an unknown user
// block or an empty rectangle.
std::optional<TRect> ScreenTextRect(const Block& b, const TViewTransform& view,
                                    const TUserBlockList* userBlocks);

// Point size of the drawing font at a scale: 1 gives 5, 2 gives 8, 4 gives 20,
// 8 gives 40; any other scale gives 0 (leave the size as it is).
int FontSizeForScale(int scale);

class TDiagramPainter {
 public:
  TDiagramPainter(QPainter& painter, const TViewTransform& view, QColor windowColor,
                  const TUserBlockList* userBlocks);

  // Arrowheads are 5 times this many pixels long (the document's scale; the
  // preview keeps the document's scale while drawing at its own).
  int ArrowScale;

  void FillBackground(const QRect& r);
  // Black dots every 5 * scale pixels from topLeft while within bottomRight;
  // anchored to the view, not to the diagram.
  void DrawGrid(TPoint topLeft, TPoint bottomRight, int scale);
  // Every object that touches the diagram rectangle `visible`, in list order.
  void DrawObjects(const TShem& diagram, const TRect& visible,
                   const std::function<bool(const TShemObj*)>& isSelected);
  void DrawBlock(const Block& b, bool selected);
  void DrawLink(const TShem& diagram, const TShemObj* link, bool selected);
  // An outlined triangle with its tip at p on the line coming from q.
  void DrawArrowHead(TPoint p, TPoint q);
  // A 4 by 4 black square from (x - 2, y - 2).
  void DrawHandle(TPoint p);

 private:
  void SetPen(bool dotted);
  void DrawBlockText(const Block& b);

  QPainter& p_;
  TViewTransform view_;
  QColor window_;
  const TUserBlockList* userBlocks_;
};

// Drag feedback drawn over a rendered view: a dotted line or frame that
// inverts the pixels under it, so it shows on any background.
void DrawInvertingLine(QPainter& painter, TPoint a, TPoint b);
void DrawInvertingRect(QPainter& painter, TPoint a, TPoint b);

// Draws 8-bit diagram text into r: word-wrapped (long words broken), top
// aligned, clipped, centred unless align is 1 (left) or 2 (right).
void DrawWrappedText(QPainter& painter, const QRect& r, const QString& text, int align);
