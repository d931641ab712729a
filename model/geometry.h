#pragma once
// Integer geometry shared by the whole program: points, rectangles and the
// rounding rules every formula relies on. Rounding lives here and nowhere else:
// round() is to nearest with halves to the even neighbour, trunc() drops the
// fraction toward zero, and quotients such as w/6 are floating-point quotients.

#include <cstdint>
#include <string>

inline constexpr double kPi = 3.14159265358979323846;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
};

// round(x): nearest integer, halves to even; saturates at the int32 range and
// yields 0 for NaN so that degenerate input never turns into undefined behaviour.
int32_t Round(double x);
// trunc(x): fraction dropped toward zero; same saturation as Round.
int32_t Trunc(double x);

bool PointsEqual(TPoint a, TPoint b);
// trunc of the Euclidean distance, exact for any pair of int32 points.
int32_t PointDistance(TPoint p1, TPoint p2);
inline int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
inline int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
TRect RectOfPoints(TPoint a, TPoint b);
void NormalizeRect(TRect& r);
void ShrinkRect(int32_t n, TRect& r);
TPoint MidPoint(TPoint a, TPoint b);
bool PtInRectIncl(TPoint p, const TRect& r);
TPoint PointAdd(TPoint a, TPoint b);
TPoint PointSub(TPoint a, TPoint b);
TPoint ScalePoint(TPoint p, double f);
// The line through (Left, Top) and (Right, Bottom): y at x, or 0 for a vertical line.
int32_t LineYAtX(int32_t x, const TRect& line);
// x at y, or 0 for a horizontal line.
int32_t LineXAtY(int32_t y, const TRect& line);
// True when p and q lie strictly on the same side of the line through
// (Left, Top) and (Right, Bottom); a point on the line is on neither side.
bool SameSide(TPoint p, TPoint q, const TRect& line);
// "(%d, %d)"
std::string PointToStr(TPoint p);
