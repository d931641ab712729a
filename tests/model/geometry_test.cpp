#include "model/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Geometry, RoundingIsHalfToEvenAndTruncTowardZero) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-1.5), -2);
  EXPECT_EQ(Round(2.4999), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(2.9), 2);
  // Out-of-range and NaN values are clamped, never undefined.
  EXPECT_EQ(Round(1e20), INT32_MAX);
  EXPECT_EQ(Trunc(-1e20), INT32_MIN);
  EXPECT_EQ(Round(std::nan("")), 0);
}

TEST(Geometry, MidPointAndScaleRoundHalvesToEven) {
  EXPECT_EQ(MidPoint({0, 0}, {1, 3}), (TPoint{0, 2}));
  EXPECT_EQ(MidPoint({1, 1}, {2, 4}), (TPoint{2, 2}));
  EXPECT_EQ(MidPoint({-1, 0}, {0, -3}), (TPoint{0, -2}));
  EXPECT_EQ(ScalePoint({5, 3}, 0.5), (TPoint{2, 2}));
  EXPECT_EQ(ScalePoint({65535, 7}, 0.5), (TPoint{32768, 4}));
}

TEST(Geometry, PointDistanceTruncatesAndNeverOverflows) {
  EXPECT_EQ(PointDistance({0, 0}, {3, 4}), 5);
  EXPECT_EQ(PointDistance({0, 0}, {1, 1}), 1);
  EXPECT_EQ(PointDistance({0, 0}, {65535, 65535}), 92680);  // 92680.2
  EXPECT_EQ(PointDistance({-65535, -65535}, {65535, 65535}), 185360);
  // Extreme int32 corners still give the exact truncated distance.
  EXPECT_EQ(PointDistance({INT32_MIN, 0}, {INT32_MAX, 0}), INT32_MAX);
  // A perfect square just below a large boundary: sqrt must not round up.
  EXPECT_EQ(PointDistance({0, 0}, {46340, 0}), 46340);
  EXPECT_EQ(PointDistance({0, 0}, {46341, 1}), 46341);
  EXPECT_EQ(PointDistance({0, 0}, {40000, 30001}), 50000);  // 50000.6
}

TEST(Geometry, RectanglesNormaliseShrinkAndContain) {
  TRect r{80, 20, 0, 0};
  ShrinkRect(2, r);
  EXPECT_EQ(r, (TRect{2, 2, 78, 18}));
  TRect g{10, 10, 20, 20};
  ShrinkRect(-3, g);
  EXPECT_EQ(g, (TRect{7, 7, 23, 23}));
  EXPECT_EQ(RectOfPoints({5, 6}, {1, 2}), (TRect{5, 6, 1, 2}));
  EXPECT_TRUE(PtInRectIncl({10, 20}, {10, 20, 30, 40}));
  EXPECT_TRUE(PtInRectIncl({30, 40}, {10, 20, 30, 40}));
  EXPECT_FALSE(PtInRectIncl({31, 40}, {10, 20, 30, 40}));
  EXPECT_FALSE(PtInRectIncl({10, 19}, {10, 20, 30, 40}));
}

TEST(Geometry, LinesAndSides) {
  EXPECT_EQ(LineYAtX(123, {5, 0, 5, 100}), 0);
  EXPECT_EQ(LineXAtY(123, {0, 5, 100, 5}), 0);
  EXPECT_EQ(LineYAtX(5, {0, 0, 10, 5}), 2);  // 2.5 -> 2
  EXPECT_EQ(LineYAtX(3, {0, 0, 10, 5}), 2);  // 1.5 -> 2
  EXPECT_EQ(LineXAtY(50, {0, 0, 10, 100}), 5);
  EXPECT_TRUE(SameSide({0, 1}, {5, 1}, {0, 0, 10, 0}));
  EXPECT_FALSE(SameSide({0, 1}, {5, 0}, {0, 0, 10, 0}));
  EXPECT_FALSE(SameSide({0, 1}, {5, -1}, {0, 0, 10, 0}));
  EXPECT_TRUE(SameSide({-1, 0}, {-5, 9}, {0, 0, 0, 10}));
  EXPECT_FALSE(SameSide({0, 3}, {-5, 9}, {0, 0, 0, 10}));
  EXPECT_FALSE(SameSide({1, 3}, {-5, 9}, {0, 0, 0, 10}));
}

TEST(Geometry, PointTexts) {
  EXPECT_EQ(PointToStr({-3, 7}), "(-3, 7)");
  EXPECT_EQ(PointToStr({0, 65535}), "(0, 65535)");
  EXPECT_EQ(PointAdd({1, 2}, {3, 4}), (TPoint{4, 6}));
  EXPECT_EQ(PointSub({1, 2}, {3, 5}), (TPoint{-2, -3}));
}
