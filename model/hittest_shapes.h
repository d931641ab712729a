#pragma once
// The per-object tests behind the diagram's hit tests (TShem::ObjectAt,
// NextInRect, BorderPointAt, HandleAt, LinkEndAt): is a link or block under a
// point, does it touch a rectangle, where does a link end snap to its border,
// which resize handle lies under a point.
//
// Every tolerance is in model units. A block is tested over its rectangle with
// the corners put in order, so a block whose corners were stored the wrong way
// round behaves like the same rectangle stored properly. Kinds 10 to 14, and
// user kinds whose entry is missing from the user block list (or when there is
// no list), are never hit by any test.
//
// The "reach" boxes let a walk over many objects reject most of them with a few
// integer comparisons: outside its reach a test on the block cannot pass.

#include <cstdint>

#include "model/geometry.h"
#include "model/shemobj.h"

class TUserBlockList;

// Distance of the link band, the border zones and the snapping tolerance.
constexpr int32_t HitTolerance = 3;

// ---- links (a from the source end, b the target end) ------------------------

// Within the band around the line: |y - P.Y| < 3 at P.X for links flatter than
// 45 degrees, |x - P.X| < 3 at P.Y otherwise; the band reaches 3 beyond the
// ends. A zero-length link is under the points less than 3 away on X and at
// most 3 away on Y.
bool LinkUnderPoint(TPoint a, TPoint b, TPoint p);
// An end inside r, or the segment crossing r's top edge, its diagonal from the
// top-left to the bottom-right corner, or its left edge. r must be normalised.
bool LinkTouchesRect(TPoint a, TPoint b, const TRect& r);
// Whether p lies near the link, and the point q at which an end attaches.
bool LinkBorderPoint(TPoint a, TPoint b, TPoint p, TPoint& q);
// Two segments cross when the ends of each are not strictly on the same side of
// the line through the other and their bounding boxes meet (the last condition
// keeps two far-apart segments that lie on one line from counting as crossing).
bool SegmentsCross(TPoint p1, TPoint p2, TPoint q1, TPoint q2);

// ---- blocks -------------------------------------------------------------------

// Whether the block's shape covers p (ObjectAt).
bool BlockUnderPoint(const Block& b, TPoint p, const TUserBlockList* userBlocks);
// Whether the block touches r, which must be normalised (NextInRect).
bool BlockTouchesRect(const Block& b, const TRect& r, const TUserBlockList* userBlocks);
// Whether p lies near the block's border, and the point q of the border at
// which a link end attaches. Point and Text blocks never take part.
bool BlockBorderPoint(const Block& b, TPoint p, const TUserBlockList* userBlocks, TPoint& q);
// The number (1 to 8) of the first resize handle under p, or 0.
int BlockHandleAt(const Block& b, TPoint p, const TUserBlockList* userBlocks);

// Whether the block takes part in the hit tests at all (not kinds 10..14 and
// not a user kind without an entry in the list).
bool BlockIsHittable(int kind, const TUserBlockList* userBlocks);

// A box, edges included, in 64-bit coordinates so that margins never overflow.
// An empty box (Left > Right) contains nothing.
struct THitBox {
  int64_t Left = 1, Top = 1, Right = 0, Bottom = 0;
  bool Contains(TPoint p) const {
    return Left <= p.X && p.X <= Right && Top <= p.Y && p.Y <= Bottom;
  }
  bool Meets(const TRect& r) const {
    return Left <= r.Right && r.Left <= Right && Top <= r.Bottom && r.Top <= Bottom;
  }
};

// Outside these boxes BlockUnderPoint, BlockBorderPoint and BlockHandleAt are
// false (0); BlockTouchesRect is false for a rectangle that does not meet
// TouchReach. They hold for any block, however degenerate.
THitBox PointReach(const Block& b);
THitBox BorderReach(const Block& b);
THitBox HandleReach(const Block& b);
THitBox TouchReach(const Block& b);
