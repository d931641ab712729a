// Arranging blocks: alignment and equal spacing, sizing, the grid, inserted
// rectangles, and link ends kept in range when a block changes its kind.
#include "model/arrange.h"

#include <gtest/gtest.h>

#include <random>

#include "model/shapes.h"
#include "model/shem.h"
#include "testdiagrams.h"

namespace {
// Blocks of a test, with the pointers the arrange functions take.
struct TBlocks {
  std::vector<Block> Items;
  explicit TBlocks(std::initializer_list<TRect> rects) {
    for (const TRect& r : rects) Items.push_back(MakeBlock(bkSquare, r));
  }
  std::vector<Block*> Ptrs() {
    std::vector<Block*> p;
    for (Block& b : Items) p.push_back(&b);
    return p;
  }
  TRect operator[](size_t i) const { return Items[i].Rect(); }
};

bool InRange(const TRect& r) {
  return r.Left >= 0 && r.Top >= 0 && r.Right <= DiagramLimit && r.Bottom <= DiagramLimit &&
         r.Right >= r.Left && r.Bottom >= r.Top;
}
}  // namespace

TEST(AlignBlocks, EdgesAndCentresFollowTheFirstBlockWithSizesKept) {
  TBlocks b{{100, 200, 180, 220}, {10, 10, 40, 70}, {300, 500, 305, 540}};
  AlignBlocks(b.Ptrs(), TAlignMode::Starts, TAlignMode::Ends);
  EXPECT_EQ(b[1], (TRect{100, 160, 130, 220}));
  EXPECT_EQ(b[2], (TRect{100, 180, 105, 220}));
  AlignBlocks(b.Ptrs(), TAlignMode::Ends, TAlignMode::Starts);
  EXPECT_EQ(b[1], (TRect{150, 200, 180, 260}));
  EXPECT_EQ(b[0], (TRect{100, 200, 180, 220}));

  // Reference centre 50, width 5: 2.5 rounds to 2, so the left edge is 48.
  TBlocks c{{0, 0, 100, 41}, {700, 900, 705, 904}};
  AlignBlocks(c.Ptrs(), TAlignMode::Centers, TAlignMode::Centers);
  EXPECT_EQ(c[1], (TRect{48, 18, 53, 22}));  // centre 20.5 rounds to 20, 4 / 2 = 2
  EXPECT_EQ(c[0], (TRect{0, 0, 100, 41}));

  // Nothing selected and "No change" change nothing.
  AlignBlocks({}, TAlignMode::Starts, TAlignMode::SpaceEqually);
  TBlocks same = c;
  AlignBlocks(same.Ptrs(), TAlignMode::NoChange, TAlignMode::NoChange);
  EXPECT_EQ(same[1], c[1]);
}

TEST(AlignBlocks, NeverMovesABlockOutOfTheDiagramRange) {
  // Right edges at 50 for a block 200 wide, centres near the far end.
  TBlocks b{{10, 65500, 50, 65535}, {1000, 0, 1200, 100}};
  AlignBlocks(b.Ptrs(), TAlignMode::Ends, TAlignMode::Centers);
  EXPECT_EQ(b[1], (TRect{0, 65435, 200, 65535}));
  EXPECT_TRUE(InRange(b[0]));
}

TEST(SpaceEqually, SortsByPositionAndLeavesTruncatedEqualGaps) {
  // Selected right, left, middle.
  TBlocks b{{200, 0, 230, 10}, {0, 0, 20, 10}, {25, 0, 35, 10}};
  AlignBlocks(b.Ptrs(), TAlignMode::SpaceEqually, TAlignMode::NoChange);
  EXPECT_EQ(b[1], (TRect{0, 0, 20, 10}));     // leftmost stays
  EXPECT_EQ(b[0], (TRect{200, 0, 230, 10}));  // rightmost stays
  EXPECT_EQ(b[2], (TRect{105, 0, 115, 10}));  // (230 - 60) / 2 = 85 after 20

  // Four blocks: span 101, heights 10, gap 61 / 3 = 20 truncated.
  TBlocks v{{0, 0, 10, 10}, {0, 91, 10, 101}, {0, 50, 10, 60}, {0, 20, 10, 30}};
  AlignBlocks(v.Ptrs(), TAlignMode::NoChange, TAlignMode::SpaceEqually);
  EXPECT_EQ(v[3].Top, 30);
  EXPECT_EQ(v[2].Top, 60);
  EXPECT_EQ(v[1].Top, 91);
  EXPECT_EQ(v[0].Top, 0);
}

TEST(SpaceEqually, BlocksThatDoNotFitChangeNothing) {
  // Widths 60 + 60 + 40 against a span of 150: they overlap.
  TBlocks b{{0, 0, 60, 10}, {90, 0, 150, 10}, {30, 0, 70, 10}};
  const TBlocks before = b;
  AlignBlocks(b.Ptrs(), TAlignMode::SpaceEqually, TAlignMode::SpaceEqually);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(b[i], before[i]);
  // Exactly filling the span changes nothing either; one block alone neither.
  TBlocks full{{0, 0, 50, 10}, {50, 0, 100, 10}, {100, 0, 150, 10}};
  AlignBlocks(full.Ptrs(), TAlignMode::SpaceEqually, TAlignMode::NoChange);
  EXPECT_EQ(full[1], (TRect{50, 0, 100, 10}));
  TBlocks one{{7, 7, 9, 9}};
  AlignBlocks(one.Ptrs(), TAlignMode::SpaceEqually, TAlignMode::SpaceEqually);
  EXPECT_EQ(one[0], (TRect{7, 7, 9, 9}));
}

TEST(SizeBlocks, LargestSmallestAndValueWithTheLimit) {
  TBlocks b{{0, 0, 80, 20}, {100, 100, 130, 160}, {65500, 200, 65510, 210}};
  SizeBlocks(b.Ptrs(), {TSizeMode::Largest}, {TSizeMode::Smallest});
  EXPECT_EQ(b[0], (TRect{0, 0, 80, 10}));
  EXPECT_EQ(b[1], (TRect{100, 100, 180, 110}));
  EXPECT_EQ(b[2], (TRect{65500, 200, 65535, 210}));  // 65580 held at the limit

  SizeBlocks(b.Ptrs(), {TSizeMode::Value, 100}, {TSizeMode::Value, std::nullopt});
  EXPECT_EQ(b[2], (TRect{65500, 200, 65535, 210}));  // Width 100 at left 65500
  EXPECT_EQ(b[0], (TRect{0, 0, 100, 10}));           // no height value: unchanged
  SizeBlocks(b.Ptrs(), {TSizeMode::NoChange, 7}, {TSizeMode::Value, 999999});
  EXPECT_EQ(b[0], (TRect{0, 0, 100, 65535}));
  SizeBlocks(b.Ptrs(), {TSizeMode::Value, -40}, {TSizeMode::Value, 0});
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(InRange(b[i])) << i;
    EXPECT_EQ(b[i].Right, b[i].Left);
    EXPECT_EQ(b[i].Bottom, b[i].Top);
  }
  // Smallest starts from the limit: a lone huge block keeps its width.
  TBlocks wide{{0, 0, 65535, 5}};
  SizeBlocks(wide.Ptrs(), {TSizeMode::Smallest}, {TSizeMode::Largest});
  EXPECT_EQ(wide[0], (TRect{0, 0, 65535, 5}));
}

TEST(AlignBlocksToGrid, NearestMultipleOfFiveWithTheSizeKept) {
  TBlocks b{{12, 23, 92, 43}, {15, 30, 20, 35}, {65533, 65532, 65534, 65534}, {3, 2, 4, 4}};
  AlignBlocksToGrid(b.Ptrs());
  EXPECT_EQ(b[0], (TRect{10, 25, 90, 45}));
  EXPECT_EQ(b[1], (TRect{15, 30, 20, 35}));
  // The nearer multiple 65535 would push the block past the limit.
  EXPECT_EQ(b[2], (TRect{65530, 65530, 65531, 65532}));
  EXPECT_EQ(b[3], (TRect{5, 0, 6, 2}));
}

TEST(InsertedBlockRect, StandardSizeAtThePointKeptInRange) {
  EXPECT_EQ(InsertedBlockRect({30, 40}, 80, 20), (TRect{30, 40, 110, 60}));
  EXPECT_EQ(InsertedBlockRect({65500, -3}, 80, 20), (TRect{65455, 0, 65535, 20}));
  EXPECT_TRUE(InRange(InsertedBlockRect({70000, 70000}, 90000, 5)));
}

TEST(ArrangeRandom, ResultsStayInRangeForAnyBlocksAndModes) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int32_t> coord(0, DiagramLimit), mode(0, 4), size(0, 3),
      value(-10, 999999);
  for (int round = 0; round < 300; ++round) {
    std::vector<Block> blocks;
    const int n = 1 + round % 7;
    for (int i = 0; i < n; ++i) {
      TRect r{coord(rng), coord(rng), coord(rng), coord(rng)};
      NormalizeRect(r);
      blocks.push_back(MakeBlock(bkSquare, r));
    }
    std::vector<Block*> p;
    for (Block& b : blocks) p.push_back(&b);
    AlignBlocks(p, TAlignMode(mode(rng)), TAlignMode(mode(rng)));
    SizeBlocks(p, {TSizeMode(size(rng)), value(rng)}, {TSizeMode(size(rng)), value(rng)});
    AlignBlocksToGrid(p);
    for (const Block& b : blocks) ASSERT_TRUE(InRange(b.Rect())) << round;
  }
}

TEST(ChangeKind, LinkEndsStayWithinTheirRangeForEveryKindAtTheEdges) {
  // Parallelogram: an end at X 65535 would get Y -3; the Document wave
  // rises above 65535 near the left side.
  EXPECT_EQ(PositionForKind({65535, 30000}, bkParallelogram), (TPoint{65535, 0}));
  EXPECT_EQ(PositionForKind({100, 40000}, bkDocument), (TPoint{100, 65535}));
  const int32_t edges[] = {0,     1,     2,     10922, 10923, 16383, 32766, 32767,
                           32768, 43690, 49151, 54612, 54613, 65533, 65534, 65535};
  for (int kind : {0, 1, 2, 3, 6, 7, 8, 9, 15, 40})
    for (int32_t x : edges)
      for (int32_t y : edges) {
        const TPoint p = PositionForKind({x, y}, kind);
        ASSERT_TRUE(p.X >= 0 && p.X <= 65535 && p.Y >= 0 && p.Y <= 65535)
            << "kind " << kind << " at (" << x << ", " << y << ") -> (" << p.X << ", " << p.Y
            << ")";
      }
}

TEST(ChangeKind, ReplacingAPointsKindLeavesItAndItsLinkEndsAlone) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20});
  TShemObj* p = AddPoint(d, {200, 200});
  TShemObj* l = AddLink(d, a, p, {65535, 20000}, {32767, 32767});
  for (TShemObj* o : {a, p}) d.ChangeKind(o, bkEllipse);
  EXPECT_EQ(p->AsBlock()->Data.Kind, bkPoint);
  EXPECT_EQ(l->AsLink()->Data.TargetPos, (TPoint{32767, 32767}));
  EXPECT_EQ(a->AsBlock()->Data.Kind, bkEllipse);
  EXPECT_NE(l->AsLink()->Data.SourcePos, (TPoint{65535, 20000}));
}
