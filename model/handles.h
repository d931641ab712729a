#pragma once
// The resize handles of a block: where HandleAt looks for them and where the
// document view draws them. Numbers are those of the resizing tool: 1 top
// middle, 2 top right, 3 right middle, 4 bottom right, 5 bottom middle,
// 6 bottom left, 7 left middle, 8 top left.

#include <vector>

#include "model/blockframe.h"
#include "model/geometry.h"

struct THandle {
  int Number;
  // Two handles of a Parallelogram sit at an x that is not rounded.
  double X, Y;
};

struct THandles {
  int Count = 0;
  THandle At[8];
  const THandle* begin() const { return At; }
  const THandle* end() const { return At + Count; }
};

// The handles HandleAt tries, in order, for a block of the given kind over the
// frame: four on the sides of an Ellipse, Rhomb or Page, the corners and side
// middles of a Parallelogram's own outline, eight around the rectangle for
// every other kind, none for a Point.
THandles HitHandles(int kind, const TBlockFrame& f);

// The handles the view draws around a selected block of the given kind over
// r (screen pixels, corners as they lie): four side middles for an Ellipse
// or a Rhomb (its vertices), the four vertices and the four edge middles of a
// Parallelogram's outline, eight around r for every other kind but a Point.
std::vector<TPoint> DrawnHandles(int kind, const TRect& r);
