#pragma once
// Shared helpers for the translator's tests.

#include <string>
#include <vector>

#include "model/shem.h"
#include "model/stream.h"
#include "model/testdiagrams.h"
#include "pascal/pascaltranslator.h"

// Blocks laid out in a column, 40 units apart, 60 by 20.
inline TShemObj* Box(TShem& d, int kind, int row, const std::string& text, int col = 0) {
  const int32_t x = 100 + col * 200, y = 10 + row * 40;
  return AddBlock(d, kind, {x, y, x + 60, y + 20}, text);
}

// Exits and entries used by the drawings below.
constexpr TPoint kBottom{32767, 65535};
constexpr TPoint kTop{32767, 0};
constexpr TPoint kRight{65535, 32767};
constexpr TPoint kLeft{0, 32767};

inline TShemObj* Flow(TShem& d, TShemObj* a, TShemObj* b, TPoint from = kBottom, TPoint to = kTop) {
  return AddLink(d, a, b, from, to, ltArrowTarget);
}

// A "yes" label whose centre lies at c.
inline TShemObj* YesAt(TShem& d, TPoint c) {
  return AddBlock(d, bkText, {c.X - 5, c.Y - 3, c.X + 5, c.Y + 3}, "yes");
}
