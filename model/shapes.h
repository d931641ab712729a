#pragma once
// The geometry of blocks: the outline of every kind over a rectangle (as data,
// so that the window, the preview, printing and export all draw one
// definition), text rectangles, connection points, link end points and
// attachment positions.

#include <optional>
#include <vector>

#include "model/blockframe.h"
#include "model/geometry.h"
#include "model/shemobj.h"

class TUserBlockList;

struct TFigure {
  enum Type : uint8_t {
    Rectangle,  // Points[0] = (L, T), Points[1] = (R, B)
    Ellipse,    // inscribed in the rectangle Points[0]..Points[1]
    Polygon,    // closed: the last point joins the first
    Polyline,   // open
  };
  Type Kind;
  std::vector<TPoint> Points;
};

struct TOutline {
  std::vector<TFigure> Figures;
  // The area a filled block paints, as one closed polygon (empty when the
  // kind is filled through its Rectangle/Ellipse figure or cannot be filled).
  std::vector<TPoint> FillPolygon;
  bool Empty() const { return Figures.empty(); }
};

// Outline of a block of the given kind over r. Kinds without an outline (Text,
// 10..14, unknown user blocks) give an empty outline. userBlocks may be null.
TOutline BlockOutline(int kind, const TRect& r, const TUserBlockList* userBlocks);

// The Document's wavy bottom edge over the frame, unrounded:
// B - (h/4)(x - L)/w + (h/16) sin(2 pi (x - L)/w); flat for a zero width.
double DocumentWave(const TBlockFrame& f, double x);
// The same truncated, as the outline draws it for every integer x from L to R.
int32_t DocumentWaveY(const TRect& r, int32_t x);

// Text rectangle of a block; nothing for Point, kinds 10..14 and user blocks
// that are not in the list.
std::optional<TRect> TextRect(const Block& b, const TUserBlockList* userBlocks = nullptr);

// The connection point (left, right, top, bottom) nearest to p; earlier wins ties.
TPoint NearestConnectionPoint(const Block& b, TPoint p);

// End point of a link end at position pos on a block rectangle.
TPoint PositionOnRect(TPoint pos, const TRect& r);
// End point of a link end at position pos (X only) on a link from a to b.
TPoint PositionOnSegment(TPoint pos, TPoint a, TPoint b);

// Attachment position of the diagram point p on an object whose (0,0) and
// (65535,65535) positions are a and b: a block's corners or a link's ends.
// Degenerate extents give 0 instead of dividing by zero.
TPoint AttachmentPosition(TPoint p, TPoint a, TPoint b, bool onLink);

// Where a link end at pos moves when its block changes to newKind (kinds other
// than Text; Text removes the link instead), always within 0..65535.
TPoint PositionForKind(TPoint pos, int newKind);
