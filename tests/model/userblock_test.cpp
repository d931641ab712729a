#include "model/userblock.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/stream.h"

namespace {

TUserBlock Square() {
  TUserBlock b;
  b.Name = "Sqr";
  for (TPercentPoint p : {TPercentPoint{0, 0}, {100, 0}, {100, 100}, {0, 100}}) b.AddPoint(p);
  return b;
}

std::vector<uint8_t> RecordOf(const TUserBlock& b) {
  TMemoryStream s;
  EXPECT_TRUE(b.WriteToStream(s));
  return s.Bytes();
}

}  // namespace

TEST(UserBlockRecord, LayoutByteForByte) {
  TUserBlock b = Square();
  b.Id1 = 0x04030201;
  b.Id2 = 0xA0B0C0D0;
  b.SetEditRect(10, 20, 90, 80);
  for (int i = 0; i < 16; ++i) b.ToolImage[size_t(i)] = uint16_t(0x0100 * i + 0x80 + i);

  const std::vector<uint8_t> rec = RecordOf(b);
  // 3-character name and four points: 69 bytes, and the record says so.
  ASSERT_EQ(rec.size(), 69u);
  EXPECT_EQ(b.RecordLength(), 69u);
  std::vector<uint8_t> want = {69,   0,    0,    0,    'U', 'B', 'H',  'e',  'a',  'd',
                               '0',  '1',  'S',  'q',  'r', 0,   0x01, 0x02, 0x03, 0x04,
                               0xD0, 0xC0, 0xB0, 0xA0, 4,   0,   0,    100,  0,    100,
                               100,  0,    100,  10,   20,  90,  80};
  for (int i = 0; i < 16; ++i) {
    want.push_back(uint8_t(0x80 + i));
    want.push_back(uint8_t(i));
  }
  EXPECT_EQ(rec, want);

  TMemoryStream in(rec);
  TUserBlock r;
  ASSERT_EQ(r.ReadFromStream(in), 0);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(r.Name, "Sqr");
  EXPECT_EQ(r.KeyText(), b.KeyText());
  EXPECT_EQ(r.PointCount, 4);
  EXPECT_EQ(r.Points, b.Points);
  EXPECT_EQ(r.EditRight, 90);
  EXPECT_EQ(r.ToolImage, b.ToolImage);
}

TEST(UserBlockRecord, ReadFailuresAndWhatTheyConsume) {
  const std::vector<uint8_t> good = RecordOf(Square());

  // A wrong header fails with 255 after exactly the 12 bytes read for it.
  std::vector<uint8_t> bad = good;
  bad[11] = '2';
  TMemoryStream s(bad);
  TUserBlock b;
  EXPECT_EQ(b.ReadFromStream(s), 255);
  EXPECT_EQ(s.Position(), 12u);

  // Every cut: inside the length or header 255, inside the name 1, later 255;
  // the block is left as it was.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    TMemoryStream part(std::vector<uint8_t>(good.begin(), good.begin() + long(cut)));
    TUserBlock r;
    r.Name = "old";
    const int want = (cut >= 12 && cut < 16) ? 1 : 255;
    EXPECT_EQ(r.ReadFromStream(part), want) << "cut at " << cut;
    EXPECT_EQ(r.Name, "old");
    EXPECT_EQ(r.PointCount, 0);
  }
}

TEST(UserBlockRecord, EmptyOutlineAndZeroInName) {
  TUserBlock b;
  b.Name = std::string("ab\0cd", 5);
  const std::vector<uint8_t> rec = RecordOf(b);
  EXPECT_EQ(rec.size(), 60u);  // only "ab" is stored
  EXPECT_EQ(rec[0], 60);
  TMemoryStream s(rec);
  TUserBlock r;
  ASSERT_EQ(r.ReadFromStream(s), 0);
  EXPECT_EQ(r.Name, "ab");
  EXPECT_TRUE(s.AtEnd());

  // No points: nothing is inside, nothing is near, nothing is drawn.
  const TRect rc{0, 0, 100, 100};
  bool found = true;
  TPoint q{};
  r.BorderOfPoint(rc, {0, 0}, found, q);
  EXPECT_FALSE(found);
  EXPECT_FALSE(r.IsPointIn(rc, {50, 50}));
  int calls = 0;
  r.DrawOutline(
      rc, [&](TPoint) { ++calls; }, [&](TPoint) { ++calls; });
  EXPECT_EQ(calls, 0);
}

TEST(UserBlockKey, HexDigitsOfSecondThenFirst) {
  TUserBlock b;
  b.Id2 = 255;
  b.Id1 = 4096;
  EXPECT_EQ(b.KeyText(), "000000FF-00001000");
  EXPECT_EQ(TUserBlock::KeyOf(0xDEADBEEF, 0xabcdef01), "ABCDEF01-DEADBEEF");
}

TEST(UserBlockGeometry, SquarePlacedInRectangle) {
  const TUserBlock b = Square();
  const TRect rc{10, 10, 110, 60};
  EXPECT_EQ(b.PlacePoints(rc), (std::vector<TPoint>{{10, 10}, {110, 10}, {110, 60}, {10, 60}}));
  EXPECT_TRUE(b.IsPointIn(rc, {50, 30}));
  EXPECT_FALSE(b.IsPointIn(rc, {5, 30}));
  EXPECT_FALSE(b.IsPointIn(rc, {50, 61}));

  std::vector<TPoint> drawn;
  b.DrawOutline(
      rc, [&](TPoint p) { drawn.push_back(p); }, [&](TPoint p) { drawn.push_back(p); });
  EXPECT_EQ(drawn, (std::vector<TPoint>{{10, 10}, {110, 10}, {110, 60}, {10, 60}, {10, 10}}));
}

TEST(UserBlockGeometry, PlacingTruncatesTowardZero) {
  TUserBlock b;
  b.AddPoint({33, 33});
  b.SetEditRect(33, 33, 67, 67);
  // 0.15 * 33 - 10 = -5.05 -> -5 (rounding down would give -6); 0.15 * 67 - 10 = 0.05 -> 0.
  const TRect rc{-10, -10, 5, 5};
  EXPECT_EQ(b.PlacePoints(rc), (std::vector<TPoint>{{-5, -5}}));
  EXPECT_EQ(b.GetEditRect(rc), (TRect{-3, -3, -2, -2}));
  // A reversed rectangle mirrors the placement.
  EXPECT_EQ(b.PlacePoints({100, 100, 0, 0}), (std::vector<TPoint>{{67, 67}}));
}

TEST(UserBlockGeometry, EvenOddInsideOfSelfCrossingOutline) {
  // A five-pointed star drawn in one stroke: its centre is covered twice.
  TUserBlock star;
  for (TPercentPoint p : {TPercentPoint{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}})
    star.AddPoint(p);
  const TRect rc{0, 0, 100, 100};
  EXPECT_FALSE(star.IsPointIn(rc, {50, 50}));  // the hole
  EXPECT_TRUE(star.IsPointIn(rc, {50, 20}));   // the top arm
  EXPECT_TRUE(star.IsPointIn(rc, {20, 40}));   // the left arm
  EXPECT_FALSE(star.IsPointIn(rc, {5, 80}));
}

TEST(UserBlockGeometry, BorderSnapping) {
  const TUserBlock b = Square();
  const TRect rc{10, 10, 110, 60};
  bool found = false;
  TPoint q{};

  // Near the corner (10, 10) both the closing edge (left side) and the top edge
  // qualify; the closing edge is tried first.
  b.BorderOfPoint(rc, {8, 12}, found, q);
  EXPECT_TRUE(found);
  EXPECT_EQ(q, (TPoint{10, 12}));
  // Beyond the end of a vertical edge the snap point is clamped to it.
  b.BorderOfPoint(rc, {12, 63}, found, q);
  EXPECT_TRUE(found);
  EXPECT_EQ(q, (TPoint{10, 60}));
  // On the top edge, 3 units away at most.
  b.BorderOfPoint(rc, {50, 13}, found, q);
  EXPECT_TRUE(found);
  EXPECT_EQ(q, (TPoint{50, 10}));
  b.BorderOfPoint(rc, {50, 14}, found, q);
  EXPECT_FALSE(found);
  EXPECT_EQ(q, (TPoint{50, 14}));

  // A sloped edge: the diagonal of a triangle, y at x by rounding.
  TUserBlock tri;
  for (TPercentPoint p : {TPercentPoint{0, 0}, {100, 100}, {0, 100}}) tri.AddPoint(p);
  const TRect tr{0, 0, 30, 20};  // diagonal from (0, 0) to (30, 20)
  tri.BorderOfPoint(tr, {16, 8}, found, q);
  EXPECT_TRUE(found);
  EXPECT_EQ(q, (TPoint{16, 11}));  // 20/30 * 16 = 10.67 -> 11
  // Past the right end by 2: still within reach, Q clamped to the corner.
  tri.BorderOfPoint(tr, {32, 19}, found, q);
  EXPECT_TRUE(found);
  EXPECT_EQ(q, (TPoint{30, 20}));
}

TEST(UserBlockToolImage, BitOrderAndColours) {
  TUserBlock b;
  b.ToolImage[0] = 0x8001;  // column 0: top and bottom rows
  const TToolBitmap bmp = b.GetToolImage();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool black = x == 0 && (y == 0 || y == 15);
      EXPECT_EQ(bmp.Pixel(x, y), black ? TToolBitmap::Black : TToolBitmap::White) << x << "," << y;
    }

  // Anything not pure white is black; pixels beyond a small picture are white.
  TUserBlock c;
  c.SetToolImage(3, 2, [](int x, int y) -> uint32_t {
    if (x == 1 && y == 0) return 0xFEFFFF;
    if (x == 2 && y == 1) return 0x000000;
    return 0xFFFFFF;
  });
  EXPECT_EQ(c.ToolImage[0], 0);
  EXPECT_EQ(c.ToolImage[1], 0x8000);
  EXPECT_EQ(c.ToolImage[2], 0x4000);
  for (int x = 3; x < 16; ++x) EXPECT_EQ(c.ToolImage[size_t(x)], 0);

  // Reading back what was written gives the same words.
  TUserBlock d;
  d.SetToolImage(16, 16, [&](int x, int y) { return bmp.Pixel(x, y); });
  EXPECT_EQ(d.ToolImage, b.ToolImage);
}

TEST(UserBlockPoints, AtMost255) {
  TUserBlock b;
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(b.AddPoint({uint8_t(i), uint8_t(255 - i)}));
  EXPECT_FALSE(b.AddPoint({1, 1}));
  EXPECT_EQ(b.PointCount, 255);
  EXPECT_EQ(b.Points[254], (TPercentPoint{254, 1}));
  EXPECT_EQ(RecordOf(b).size(), 58u + 2 * 255);
}
