#pragma once
// The outlines that the editing tools show during a drag: dotted frames and
// lines drawn with an inverting pen over the document's rendered view. The
// view itself is never re-rendered for them; a change of feedback repaints
// only the pixels the old and the new outlines cover.

#include <QRegion>
#include <utility>
#include <vector>

#include "model/geometry.h"

class QPainter;

class TDragFeedback {
 public:
  // A frame with corners a and b, or a line from a to b, in pixels.
  void AddRect(TPoint a, TPoint b) { rects_.push_back({a, b}); }
  void AddLine(TPoint a, TPoint b) { lines_.push_back({a, b}); }
  bool Empty() const { return rects_.empty() && lines_.empty(); }
  void Draw(QPainter& p) const;
  // The pixels the outlines may touch.
  QRegion Region() const;

 private:
  std::vector<std::pair<TPoint, TPoint>> rects_, lines_;
};
