#include "model/hittest_shapes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/blockframe.h"
#include "model/handles.h"
#include "model/shapes.h"
#include "model/userblocklist.h"

namespace {
constexpr int64_t kTol = HitTolerance;
// The ellipse's border ring reaches this far on either side of the outline.
constexpr double kEllipseRing = 2;
// Handles are 3 by 3 units around their centre.
constexpr int64_t kHandleReach = 1;
// A user block's outline points are percentages kept in one byte: up to 255 %
// of the rectangle's extent.
constexpr double kUserReach = 2.55;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

int32_t Saturate(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return int32_t(v);
}

// p inside [l, r] x [t, b], edges included, with 64-bit bounds.
bool InZone(TPoint p, int64_t l, int64_t t, int64_t r, int64_t b) {
  return l <= p.X && p.X <= r && t <= p.Y && p.Y <= b;
}

// The rectangle grown by n on every side (shrunk for negative n), corners in
// order first, saturated to the coordinate range.
TRect Grown(TRect r, int64_t n) {
  NormalizeRect(r);
  return {Saturate(r.Left - n), Saturate(r.Top - n), Saturate(r.Right + n), Saturate(r.Bottom + n)};
}

const TUserBlock* UserBlockOf(int kind, const TUserBlockList* list) {
  if (!IsUserKind(kind) || !list) return nullptr;
  return list->GetBlock(kind - bkUserFirst);
}

// ---- inside tests by kind ------------------------------------------------------

bool InEllipse(const TBlockFrame& f, TPoint p) {
  if (f.w == 0 || f.h == 0) return false;  // a flat ellipse has no inside
  const double a = f.w / 2, b = f.h / 2;
  const double u = (double(p.X) - f.cx) / a, v = (double(p.Y) - f.cy) / b;
  return u * u + v * v < 1;
}

// Outside the rectangle a rhomb never covers a point; for a proper rhomb that
// follows from the four edges, and it keeps a flat one from covering a band
// of the plane beyond its rectangle.
bool InRhomb(const TBlockFrame& f, TPoint p) {
  if (!PtInRectIncl(p, f.Rect())) return false;
  const TPoint top{f.cx, f.T}, left{f.L, f.cy}, right{f.R, f.cy}, bottom{f.cx, f.B};
  if (SameSide(p, {f.L, f.T}, RectOfPoints(top, left))) return false;
  if (SameSide(p, {f.R, f.B}, RectOfPoints(right, bottom))) return false;
  if (SameSide(p, {f.R, f.T}, RectOfPoints(top, right))) return false;
  if (SameSide(p, {f.L, f.B}, RectOfPoints(left, bottom))) return false;
  return true;
}

struct ParallelogramCorners {
  int32_t t, u;  // x of the top-left and the bottom-right corner
  explicit ParallelogramCorners(const TBlockExtent& f)
      : t(Round(f.L + f.w / 6)), u(Round(f.R - f.w / 6)) {}
};

bool InParallelogram(const TBlockFrame& f, TPoint p) {
  if (!PtInRectIncl(p, f.Rect())) return false;
  const ParallelogramCorners c(f);
  if (SameSide(p, {f.L, f.T}, RectOfPoints({f.L, f.B}, {c.t, f.T}))) return false;
  if (SameSide(p, {f.R, f.B}, RectOfPoints({f.R, f.T}, {c.u, f.B}))) return false;
  return true;
}

bool InDocument(const TBlockFrame& f, TPoint p) {
  if (p.X < f.L || p.X > f.R || p.Y < f.T) return false;
  if (p.Y <= f.B - f.h / 4) return true;
  return p.Y <= DocumentWave(f, double(p.X));
}

int32_t PageShoulder(const TBlockFrame& f) { return Trunc(f.B - f.h / 3); }

bool InPage(const TBlockFrame& f, TPoint p) {
  if (PtInRectIncl(p, {f.L, f.T, f.R, PageShoulder(f)})) return true;
  if (f.w == 0 || p.X < f.L || p.X > f.R || p.Y < f.T) return false;
  return p.Y <= f.B - std::fabs(2 * f.h * (double(p.X) - f.L - f.w / 2)) / (3 * f.w);
}

// The lower part of a Page as NextInRect tests a corner of the rectangle.
bool InPageLowerPart(const TBlockFrame& f, TPoint p) {
  if (f.w == 0 || p.X < f.L || p.X > f.R || p.Y < f.T) return false;
  return p.Y <= f.B - std::fabs(2 * (double(p.X) - f.L - f.w / 2) * f.h / 3) / f.w;
}

// ---- border tests by kind ------------------------------------------------------

// The four zones of a rectangle's sides, tested top, right, bottom, left; a
// later hit replaces the point of an earlier one.
bool RectBorder(const TBlockFrame& f, TPoint p, TPoint& q) {
  bool found = false;
  if (InZone(p, f.L - kTol, f.T - kTol, f.R + kTol, f.T + kTol)) {
    q = {Clamp(p.X, f.L, f.R), f.T};
    found = true;
  }
  if (InZone(p, f.R - kTol, f.T - kTol, f.R + kTol, f.B + kTol)) {
    q = {f.R, Clamp(p.Y, f.T, f.B)};
    found = true;
  }
  if (InZone(p, f.L - kTol, f.B - kTol, f.R + kTol, f.B + kTol)) {
    q = {Clamp(p.X, f.L, f.R), f.B};
    found = true;
  }
  if (InZone(p, f.L - kTol, f.T - kTol, f.L + kTol, f.B + kTol)) {
    q = {f.L, Clamp(p.Y, f.T, f.B)};
    found = true;
  }
  return found;
}

// A ring 2 units wide on either side of the outline. When the block is 4 units
// or less across, the inner ellipse vanishes and the whole grown ellipse is
// near; at the very centre the direction is taken to the right.
bool EllipseBorder(const TBlockFrame& f, TPoint p, TPoint& q) {
  const double a = f.w / 2, b = f.h / 2;
  const double dx = double(p.X) - f.cx, dy = double(p.Y) - f.cy;
  const double ou = dx / (a + kEllipseRing), ov = dy / (b + kEllipseRing);
  if (ou * ou + ov * ov > 1) return false;
  if (a - kEllipseRing > 0 && b - kEllipseRing > 0) {
    const double iu = dx / (a - kEllipseRing), iv = dy / (b - kEllipseRing);
    if (iu * iu + iv * iv < 1) return false;
  }
  const double r = std::sqrt(dx * dx + dy * dy);
  if (r == 0)
    q = {Saturate(int64_t(f.cx) + Round(a)), f.cy};
  else
    q = {Saturate(int64_t(f.cx) + Round(a * dx / r)), Saturate(int64_t(f.cy) + Round(b * dy / r))};
  return true;
}

bool RhombBorder(const TBlockFrame& f, const TRect& rect, TPoint p, TPoint& q) {
  if (!InRhomb(TBlockFrame(Grown(rect, kTol)), p)) return false;
  const TRect inner = Grown(rect, -kTol);
  // A rhomb less than 6 units across has no inner rhomb left.
  if (inner.Left < inner.Right && inner.Top < inner.Bottom && InRhomb(TBlockFrame(inner), p))
    return false;
  const TPoint top{f.cx, f.T}, left{f.L, f.cy}, right{f.R, f.cy}, bottom{f.cx, f.B};
  const TRect edges[4] = {RectOfPoints(top, left), RectOfPoints(right, bottom),
                          RectOfPoints(top, right), RectOfPoints(left, bottom)};
  q = p;
  // An edge that has no extent along the measured axis is skipped: it has no
  // y at an x (or x at a y) to snap to.
  if (f.h < f.w) {
    for (const TRect& e : edges) {
      if (e.Left == e.Right) continue;
      const int32_t y = LineYAtX(p.X, e);
      if (Abs64(int64_t(y) - p.Y) <= kTol) {
        q = {p.X, y};
        break;
      }
    }
  } else {
    for (const TRect& e : edges) {
      if (e.Top == e.Bottom) continue;
      const int32_t x = LineXAtY(p.Y, e);
      if (Abs64(int64_t(x) - p.X) <= kTol) {
        q = {x, p.Y};
        break;
      }
    }
  }
  return true;
}

// A slanted side from (x0, y0) to (x1, y1), x0 < x1 unless the side is
// vertical: near when p is within 3 of its line over its x range grown by 3.
bool SlantedSide(const TBlockFrame& f, TPoint from, TPoint to, TPoint p, TPoint& q) {
  const int32_t lo = Min(from.X, to.X), hi = Max(from.X, to.X);
  if (p.X < int64_t(lo) - kTol || p.X > int64_t(hi) + kTol) return false;
  if (lo == hi) {  // a block 3 units wide or less has vertical sides
    if (p.Y < int64_t(f.T) - kTol || p.Y > int64_t(f.B) + kTol) return false;
    q = {lo, Clamp(p.Y, f.T, f.B)};
    return true;
  }
  const TRect line = RectOfPoints(from, to);
  if (Abs64(int64_t(LineYAtX(p.X, line)) - p.Y) > kTol) return false;
  const int32_t x = Clamp(p.X, lo, hi);
  q = {x, LineYAtX(x, line)};
  return true;
}

// The first zone that p falls in wins: bottom, top, left side, right side.
bool ParallelogramBorder(const TBlockFrame& f, TPoint p, TPoint& q) {
  const ParallelogramCorners c(f);
  if (InZone(p, f.L - kTol, f.B - kTol, c.u + kTol, f.B + kTol)) {
    q = {Clamp(p.X, f.L, c.u), f.B};
    return true;
  }
  if (InZone(p, c.t - kTol, f.T - kTol, f.R + kTol, f.T + kTol)) {
    q = {Clamp(p.X, c.t, f.R), f.T};
    return true;
  }
  if (SlantedSide(f, {f.L, f.B}, {c.t, f.T}, p, q)) return true;
  return SlantedSide(f, {f.R, f.T}, {c.u, f.B}, p, q);
}

// The bracket: top bar, bottom bar (no margin beyond its end), vertical side;
// a later hit wins.
bool CommentBorder(const TBlockFrame& f, TPoint p, TPoint& q) {
  const int64_t k = Trunc(f.w / 10);
  const int32_t barEnd = Saturate(f.L + k);
  bool found = false;
  if (InZone(p, f.L - kTol, f.T - kTol, f.L + k + kTol, f.T + kTol)) {
    q = {Clamp(p.X, f.L, barEnd), f.T};
    found = true;
  }
  if (InZone(p, f.L - kTol, f.B - kTol, f.L + k, f.B + kTol)) {
    q = {Clamp(p.X, f.L, barEnd), f.B};
    found = true;
  }
  if (InZone(p, f.L - kTol, f.T - kTol, f.L + kTol, f.B + kTol)) {
    q = {f.L, Clamp(p.Y, f.T, f.B)};
    found = true;
  }
  return found;
}

// Top, left and the shortened right side, then the wave; a later hit wins.
bool DocumentBorder(const TBlockFrame& f, TPoint p, TPoint& q) {
  bool found = false;
  if (InZone(p, f.L - kTol, f.T - kTol, f.R + kTol, f.T + kTol)) {
    q = {Clamp(p.X, f.L, f.R), f.T};
    found = true;
  }
  if (InZone(p, f.L - kTol, f.T - kTol, f.L + kTol, f.B + kTol)) {
    q = {f.L, Clamp(p.Y, f.T, f.B)};
    found = true;
  }
  if (InZone(p, f.R - kTol, f.T - kTol, f.R + kTol, Trunc(f.B + kTol - f.h / 4))) {
    q = {f.R, Clamp(p.Y, f.T, Trunc(f.B - f.h / 4))};
    found = true;
  }
  if (p.X >= f.L - kTol && p.X <= f.R + kTol) {
    const double y = DocumentWave(f, double(p.X));
    if (std::fabs(y - p.Y) <= kTol) {
      q = {p.X, Trunc(y)};
      found = true;
    }
  }
  return found;
}

// Top, the two sides down to the shoulder, then the two lower edges meeting
// at the tip; a later hit wins. A zero-width page has no lower edges.
bool PageBorder(const TBlockFrame& f, TPoint p, TPoint& q) {
  const int32_t s = PageShoulder(f);
  bool found = false;
  if (InZone(p, f.L - kTol, f.T - kTol, f.R + kTol, f.T + kTol)) {
    q = {Clamp(p.X, f.L, f.R), f.T};
    found = true;
  }
  if (InZone(p, f.L - kTol, f.T - kTol, f.L + kTol, s + kTol)) {
    q = {f.L, Clamp(p.Y, f.T, s)};
    found = true;
  }
  if (InZone(p, f.R - kTol, f.T - kTol, f.R + kTol, s + kTol)) {
    q = {f.R, Clamp(p.Y, f.T, s)};
    found = true;
  }
  if (f.w != 0 && p.X >= f.L - kTol && p.X <= f.R + kTol) {
    const double y = f.B - (2 * f.h / 3) * std::fabs(double(p.X) - f.L - f.w / 2) / f.w;
    if (std::fabs(p.Y - y) <= kTol) {
      q = {p.X, Trunc(y)};
      found = true;
    }
  }
  return found;
}

bool HandleUnder(TPoint p, double hx, double hy) {
  return std::fabs(p.X - hx) <= kHandleReach && std::fabs(p.Y - hy) <= kHandleReach;
}

THitBox BoxOf(const TBlockExtent& f, int64_t margin) {
  return {f.L - margin, f.T - margin, f.R + margin, f.B + margin};
}

int64_t Ceil64(double v) { return int64_t(std::ceil(v)); }

}  // namespace

// ---- links -------------------------------------------------------------------

bool LinkUnderPoint(TPoint a, TPoint b, TPoint p) {
  const int64_t dx = Abs64(int64_t(a.X) - b.X), dy = Abs64(int64_t(a.Y) - b.Y);
  if (dy < dx) {
    if (p.X < int64_t(Min(a.X, b.X)) - kTol || p.X > int64_t(Max(a.X, b.X)) + kTol) return false;
    return Abs64(int64_t(LineYAtX(p.X, RectOfPoints(a, b))) - p.Y) < kTol;
  }
  if (p.Y < int64_t(Min(a.Y, b.Y)) - kTol || p.Y > int64_t(Max(a.Y, b.Y)) + kTol) return false;
  // A zero-length link has no line: its x is its own.
  const int32_t x = dy == 0 ? a.X : LineXAtY(p.Y, RectOfPoints(a, b));
  return Abs64(int64_t(x) - p.X) < kTol;
}

bool SegmentsCross(TPoint p1, TPoint p2, TPoint q1, TPoint q2) {
  if (Max(p1.X, p2.X) < Min(q1.X, q2.X) || Max(q1.X, q2.X) < Min(p1.X, p2.X) ||
      Max(p1.Y, p2.Y) < Min(q1.Y, q2.Y) || Max(q1.Y, q2.Y) < Min(p1.Y, p2.Y))
    return false;
  return !SameSide(p1, p2, RectOfPoints(q1, q2)) && !SameSide(q1, q2, RectOfPoints(p1, p2));
}

bool LinkTouchesRect(TPoint a, TPoint b, const TRect& r) {
  if (PtInRectIncl(a, r) || PtInRectIncl(b, r)) return true;
  const TPoint tl{r.Left, r.Top};
  return SegmentsCross(a, b, tl, {r.Right, r.Top}) ||
         SegmentsCross(a, b, tl, {r.Right, r.Bottom}) ||
         SegmentsCross(a, b, tl, {r.Left, r.Bottom});
}

bool LinkBorderPoint(TPoint a, TPoint b, TPoint p, TPoint& q) {
  if (a.X == b.X) {
    const int32_t lo = Min(a.Y, b.Y), hi = Max(a.Y, b.Y);
    if (p.Y < int64_t(lo) - kTol || p.Y > int64_t(hi) + kTol || Abs64(int64_t(a.X) - p.X) > kTol)
      return false;
    q = {p.X, Clamp(p.Y, lo, hi)};
    return true;
  }
  if (p.X < int64_t(Min(a.X, b.X)) - kTol || p.X > int64_t(Max(a.X, b.X)) + kTol) return false;
  const int32_t y = LineYAtX(p.X, RectOfPoints(a, b));
  if (Abs64(int64_t(y) - p.Y) >= kTol) return false;
  q = {p.X, y};
  return true;
}

// ---- blocks -------------------------------------------------------------------

bool BlockIsHittable(int kind, const TUserBlockList* userBlocks) {
  if (kind < BuiltInKindCount) return true;
  return UserBlockOf(kind, userBlocks) != nullptr;
}

bool BlockUnderPoint(const Block& b, TPoint p, const TUserBlockList* userBlocks) {
  const auto f = TBlockFrame::Ordered(b.Rect());
  switch (b.Kind) {
    case bkEllipse:
      return InEllipse(f, p);
    case bkRhomb:
      return InRhomb(f, p);
    case bkParallelogram:
      return InParallelogram(f, p);
    case bkDocument:
      return InDocument(f, p);
    case bkPage:
      return InPage(f, p);
    case bkSquare:
    case bkPoint:
    case bkText:
    case bkComment:
    case bkProcess:
      return PtInRectIncl(p, f.Rect());
    default:
      if (const TUserBlock* ub = UserBlockOf(b.Kind, userBlocks)) return ub->IsPointIn(f.Rect(), p);
      return false;
  }
}

bool BlockTouchesRect(const Block& b, const TRect& r, const TUserBlockList* userBlocks) {
  if (b.Kind == bkPoint) return PtInRectIncl(b.TopLeft, r);
  if (!BlockIsHittable(b.Kind, userBlocks)) return false;
  const auto f = TBlockFrame::Ordered(b.Rect());
  const TPoint corners[4] = {
      {r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
  auto anyIn = [&r](std::initializer_list<TPoint> pts) {
    for (TPoint v : pts)
      if (PtInRectIncl(v, r)) return true;
    return false;
  };
  auto anyCorner = [&corners](auto inside) {
    for (TPoint c : corners)
      if (inside(c)) return true;
    return false;
  };
  switch (b.Kind) {
    case bkRhomb:
      return anyIn({{f.cx, f.T}, {f.L, f.cy}, {f.R, f.cy}, {f.cx, f.B}}) ||
             anyCorner([&f](TPoint c) { return InRhomb(f, c); });
    case bkParallelogram: {
      const ParallelogramCorners c(f);
      return anyIn({{f.L, f.B}, {c.t, f.T}, {f.R, f.T}, {c.u, f.B}}) ||
             anyCorner([&f](TPoint v) { return InParallelogram(f, v); });
    }
    case bkPage: {
      const TRect upper{f.L, f.T, f.R, PageShoulder(f)};
      return anyIn({{f.L, f.T}, {f.R, f.T}, {f.R, upper.Bottom}, {f.L, upper.Bottom}}) ||
             anyCorner([&upper](TPoint c) { return PtInRectIncl(c, upper); }) ||
             PtInRectIncl({Trunc((double(f.L) + f.R) / 2), f.B}, r) ||
             InPageLowerPart(f, corners[0]) || InPageLowerPart(f, corners[2]);
    }
    default: {
      const TRect own = f.Rect();
      return anyIn({{f.L, f.T}, {f.R, f.T}, {f.R, f.B}, {f.L, f.B}}) ||
             anyCorner([&own](TPoint c) { return PtInRectIncl(c, own); });
    }
  }
}

bool BlockBorderPoint(const Block& b, TPoint p, const TUserBlockList* userBlocks, TPoint& q) {
  const auto f = TBlockFrame::Ordered(b.Rect());
  switch (b.Kind) {
    case bkSquare:
    case bkProcess:
      return RectBorder(f, p, q);
    case bkEllipse:
      return EllipseBorder(f, p, q);
    case bkRhomb:
      return RhombBorder(f, b.Rect(), p, q);
    case bkParallelogram:
      return ParallelogramBorder(f, p, q);
    case bkComment:
      return CommentBorder(f, p, q);
    case bkDocument:
      return DocumentBorder(f, p, q);
    case bkPage:
      return PageBorder(f, p, q);
    case bkPoint:
    case bkText:
      return false;
    default:
      if (const TUserBlock* ub = UserBlockOf(b.Kind, userBlocks)) {
        bool found = false;
        ub->BorderOfPoint(f.Rect(), p, found, q);
        return found;
      }
      return false;
  }
}

int BlockHandleAt(const Block& b, TPoint p, const TUserBlockList* userBlocks) {
  if (b.Kind == bkPoint || !BlockIsHittable(b.Kind, userBlocks)) return 0;
  for (const THandle& h : HitHandles(b.Kind, TBlockFrame::Ordered(b.Rect())))
    if (HandleUnder(p, h.X, h.Y)) return h.Number;
  return 0;
}

// ---- reach boxes ----------------------------------------------------------------

THitBox PointReach(const Block& b) {
  const auto f = TBlockExtent::Ordered(b.Rect());
  if (b.Kind == bkDocument) {
    // The wave dips below the bottom corner by up to h/16.
    THitBox box = BoxOf(f, 0);
    box.Bottom += Ceil64(f.h / 16) + 1;
    return box;
  }
  if (IsUserKind(b.Kind)) {
    return {f.L, f.T, f.L + Ceil64(f.w * kUserReach) + 1, f.T + Ceil64(f.h * kUserReach) + 1};
  }
  if (b.Kind >= BuiltInKindCount) return {};
  return BoxOf(f, 0);
}

THitBox BorderReach(const Block& b) {
  const auto f = TBlockExtent::Ordered(b.Rect());
  switch (b.Kind) {
    case bkPoint:
    case bkText:
      return {};
    case bkDocument:
    case bkPage: {
      // The lower edges are followed for 3 units beyond the sides, where on a
      // narrow block they run steeply; bound them from the formulas.
      const double w = f.w > 0 ? f.w : 1;
      const double run = (w / 2 + kTol) / w;  // |x - L - w/2| / w at most
      const double steep =
          b.Kind == bkPage ? 2 * f.h / 3 * run : f.h / 4 * (1 + 2 * kTol / w) + f.h / 16;
      THitBox box = BoxOf(f, kTol + 1);
      box.Top -= Ceil64(steep);
      box.Bottom += Ceil64(steep);
      return box;
    }
    case bkParallelogram: {
      // The slanted sides are followed 3 units beyond their ends along x; on
      // a narrow block they are steep and reach far above and below.
      const ParallelogramCorners c(TBlockExtent::Ordered(b.Rect()));
      const int64_t run =
          std::max<int64_t>(1, std::min<int64_t>(int64_t(c.t) - f.L, int64_t(f.R) - c.u));
      const int64_t steep = Ceil64(kTol * f.h / double(run));
      THitBox box = BoxOf(f, kTol + 1);
      box.Top -= steep;
      box.Bottom += steep;
      return box;
    }
    default:
      if (IsUserKind(b.Kind)) {
        // Outline points reach 255 % of the extents; an edge is followed 3
        // units beyond its ends along x, where a steep one climbs up to its
        // whole height per unit.
        const int64_t spanX = Ceil64(f.w * kUserReach) + 1, spanY = Ceil64(f.h * kUserReach) + 1;
        const int64_t steep = kTol * (spanY + 1);
        return {int64_t(f.L) - kTol - 1, int64_t(f.T) - steep - kTol - 1, f.L + spanX + kTol + 1,
                f.T + spanY + steep + kTol + 1};
      }
      if (b.Kind >= BuiltInKindCount) return {};
      return BoxOf(f, kTol + 1);
  }
}

THitBox HandleReach(const Block& b) {
  if (b.Kind == bkPoint || (b.Kind >= BuiltInKindCount && !IsUserKind(b.Kind))) return {};
  return BoxOf(TBlockExtent::Ordered(b.Rect()), kHandleReach + 1);
}

THitBox TouchReach(const Block& b) {
  if (b.Kind == bkPoint) return {b.TopLeft.X, b.TopLeft.Y, b.TopLeft.X, b.TopLeft.Y};
  if (b.Kind >= BuiltInKindCount && !IsUserKind(b.Kind)) return {};
  return BoxOf(TBlockExtent::Ordered(b.Rect()), 0);
}
