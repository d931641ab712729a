#pragma once
// A block's rectangle taken apart as the shape formulas use it: the four
// edges, the extents w and h as floating-point values (so that w/6 is an exact
// quotient, not an integer division) and the centre rounded as MidPoint
// rounds it. Outlines, text rectangles, hit tests and handles all start here.

#include <cstdint>

#include "model/geometry.h"

// The edges and the extents. The reach boxes of the hit tests work these out
// for every object of a walk and need no centre, whose two roundings would
// cost them measurably.
struct TBlockExtent {
  int32_t L, T, R, B;
  double w, h;

  // The rectangle as stored: an outline follows the corners the way they lie.
  explicit TBlockExtent(const TRect& r)
      : L(r.Left),
        T(r.Top),
        R(r.Right),
        B(r.Bottom),
        w(double(r.Right) - r.Left),
        h(double(r.Bottom) - r.Top) {}
  // With the corners put in order first: the hit tests treat a block stored
  // the wrong way round like the same rectangle stored properly.
  static TBlockExtent Ordered(TRect r) {
    NormalizeRect(r);
    return TBlockExtent(r);
  }
  TRect Rect() const { return {L, T, R, B}; }
};

struct TBlockFrame : TBlockExtent {
  int32_t cx, cy;

  explicit TBlockFrame(const TRect& r)
      : TBlockExtent(r),
        cx(Round((double(r.Left) + r.Right) / 2)),
        cy(Round((double(r.Top) + r.Bottom) / 2)) {}
  static TBlockFrame Ordered(TRect r) {
    NormalizeRect(r);
    return TBlockFrame(r);
  }
};
