#include "model/handles.h"

#include "model/shapes.h"
#include "model/shemobj.h"

namespace {

void Put(THandles& h, int number, double x, double y) { h.At[h.Count++] = {number, x, y}; }

// The middles of the four sides, left first.
void SideHandles(THandles& h, const TBlockFrame& f) {
  Put(h, 7, f.L, f.cy);
  Put(h, 1, f.cx, f.T);
  Put(h, 3, f.R, f.cy);
  Put(h, 5, f.cx, f.B);
}

// The corners and side middles, from the top-left corner clockwise.
void BoxHandles(THandles& h, const TBlockFrame& f) {
  Put(h, 8, f.L, f.T);
  Put(h, 1, f.cx, f.T);
  Put(h, 2, f.R, f.T);
  Put(h, 3, f.R, f.cy);
  Put(h, 4, f.R, f.B);
  Put(h, 5, f.cx, f.B);
  Put(h, 6, f.L, f.B);
  Put(h, 7, f.L, f.cy);
}

}  // namespace

THandles HitHandles(int kind, const TBlockFrame& f) {
  THandles h;
  switch (kind) {
    case bkPoint:
      break;
    case bkEllipse:
    case bkRhomb:
    case bkPage:
      SideHandles(h, f);
      break;
    case bkParallelogram: {
      const int32_t t = Round(5.0 / 6 * f.L + 1.0 / 6 * f.R);
      const int32_t u = Round(1.0 / 6 * f.L + 5.0 / 6 * f.R);
      Put(h, 6, f.L, f.B);
      Put(h, 7, Round((double(f.L) + t) / 2), f.cy);
      Put(h, 8, t, f.T);
      Put(h, 1, (double(t) + f.R) / 2, f.T);
      Put(h, 2, f.R, f.T);
      Put(h, 3, Round((double(u) + f.R) / 2), f.cy);
      Put(h, 4, u, f.B);
      Put(h, 5, (double(u) + f.L) / 2, f.B);
      break;
    }
    default:
      BoxHandles(h, f);
      break;
  }
  return h;
}

std::vector<TPoint> DrawnHandles(int kind, const TRect& r) {
  const TBlockFrame f(r);
  THandles h;
  switch (kind) {
    case bkPoint:
      return {};
    case bkEllipse:
    case bkRhomb:
      SideHandles(h, f);
      break;
    case bkParallelogram: {
      // The outline's vertices and the middles of its edges.
      const std::vector<TPoint> v = BlockOutline(kind, r, nullptr).Figures[0].Points;
      std::vector<TPoint> out;
      for (size_t i = 0; i < v.size(); ++i) {
        out.push_back(v[i]);
        out.push_back(MidPoint(v[i], v[(i + 1) % v.size()]));
      }
      return out;
    }
    default:
      BoxHandles(h, f);
      break;
  }
  std::vector<TPoint> out;
  for (const THandle& x : h) out.push_back({int32_t(x.X), int32_t(x.Y)});
  return out;
}
