#include "model/geometry.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {
int32_t Saturate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}
}  // namespace

int32_t Round(double x) { return Saturate(std::nearbyint(x)); }
int32_t Trunc(double x) { return Saturate(std::trunc(x)); }

bool PointsEqual(TPoint a, TPoint b) { return a.X == b.X && a.Y == b.Y; }

int32_t PointDistance(TPoint p1, TPoint p2) {
  // |dx| and |dy| are below 2^32, so their squares fit 64 bits and the sum
  // fits 128 bits: the integer square root below is exact for any inputs.
  const int64_t dx = int64_t(p1.X) - p2.X;
  const int64_t dy = int64_t(p1.Y) - p2.Y;
  const uint64_t ax = uint64_t(dx < 0 ? -dx : dx), ay = uint64_t(dy < 0 ? -dy : dy);
  using u128 = unsigned __int128;
  const u128 sq = u128(ax) * ax + u128(ay) * ay;
  // Start from the floating-point root, then correct so r*r <= sq < (r+1)^2.
  uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<long double>(sq)));
  while (r > 0 && u128(r) * r > sq) --r;
  while (u128(r + 1) * (r + 1) <= sq) ++r;
  if (r > uint64_t(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

TRect RectOfPoints(TPoint a, TPoint b) { return {a.X, a.Y, b.X, b.Y}; }

void NormalizeRect(TRect& r) {
  const TRect o = r;
  r.Left = Min(o.Left, o.Right);
  r.Right = Max(o.Left, o.Right);
  r.Top = Min(o.Top, o.Bottom);
  r.Bottom = Max(o.Top, o.Bottom);
}

void ShrinkRect(int32_t n, TRect& r) {
  NormalizeRect(r);
  r.Left += n;
  r.Top += n;
  r.Right -= n;
  r.Bottom -= n;
}

TPoint MidPoint(TPoint a, TPoint b) {
  return {Round((double(a.X) + b.X) / 2), Round((double(a.Y) + b.Y) / 2)};
}

bool PtInRectIncl(TPoint p, const TRect& r) {
  return r.Left <= p.X && p.X <= r.Right && r.Top <= p.Y && p.Y <= r.Bottom;
}

TPoint PointAdd(TPoint a, TPoint b) { return {a.X + b.X, a.Y + b.Y}; }
TPoint PointSub(TPoint a, TPoint b) { return {a.X - b.X, a.Y - b.Y}; }

TPoint ScalePoint(TPoint p, double f) { return {Round(f * p.X), Round(f * p.Y)}; }

int32_t LineYAtX(int32_t x, const TRect& l) {
  if (l.Left == l.Right) return 0;
  return Round((double(l.Bottom) - l.Top) / (double(l.Right) - l.Left) * (double(x) - l.Left) +
               l.Top);
}

int32_t LineXAtY(int32_t y, const TRect& l) {
  if (l.Top == l.Bottom) return 0;
  return Round((double(l.Right) - l.Left) / (double(l.Bottom) - l.Top) * (double(y) - l.Top) +
               l.Left);
}

bool SameSide(TPoint p, TPoint q, const TRect& l) {
  if (l.Left == l.Right) {
    const int64_t a = int64_t(p.X) - l.Left;
    const int64_t b = int64_t(q.X) - l.Left;
    return a != 0 && b != 0 && ((a < 0) == (b < 0));
  }
  const double k = (double(l.Bottom) - l.Top) / (double(l.Right) - l.Left);
  const double yp = k * (double(p.X) - l.Left) + l.Top;
  const double yq = k * (double(q.X) - l.Left) + l.Top;
  return (p.Y - yp) * (q.Y - yq) > 0;
}

std::string PointToStr(TPoint p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "(%d, %d)", p.X, p.Y);
  return buf;
}
