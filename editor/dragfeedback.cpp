#include "editor/dragfeedback.h"

#include <QPainter>
#include <algorithm>

#include "editor/diagrampainter.h"

void TDragFeedback::Draw(QPainter& p) const {
  for (const auto& [a, b] : rects_) DrawInvertingRect(p, a, b);
  for (const auto& [a, b] : lines_) DrawInvertingLine(p, a, b);
}

namespace {
// The pixels from a to b, grown by one pixel on every side.
QRect Span(TPoint a, TPoint b) {
  return QRect(QPoint(std::min(a.X, b.X) - 1, std::min(a.Y, b.Y) - 1),
               QPoint(std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1));
}
}  // namespace

QRegion TDragFeedback::Region() const {
  QRegion r;
  // A frame covers its four edges only, so a drag over a large area repaints
  // thin strips, not the area inside.
  for (const auto& [a, b] : rects_) {
    r += Span(a, {b.X, a.Y});
    r += Span({a.X, b.Y}, b);
    r += Span(a, {a.X, b.Y});
    r += Span({b.X, a.Y}, b);
  }
  for (const auto& [a, b] : lines_) r += Span(a, b);
  return r;
}
