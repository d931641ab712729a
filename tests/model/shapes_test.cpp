#include "model/shapes.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "model/handles.h"
#include "testdiagrams.h"

TEST(Shapes, EndPointsOnBlocksAndLinks) {
  EXPECT_EQ(PositionOnRect({32767, 65535}, {100, 50, 180, 70}), (TPoint{140, 70}));
  EXPECT_EQ(PositionOnRect({0, 0}, {100, 50, 180, 70}), (TPoint{100, 50}));
  EXPECT_EQ(PositionOnRect({65535, 65535}, {100, 50, 180, 70}), (TPoint{180, 70}));
  // The quotient is formed first: 32767/65535*81 = 40.4997 -> 40.
  EXPECT_EQ(PositionOnRect({32767, 0}, {0, 0, 81, 0}).X, 40);
  // A link end at X = 32767 on a link from (0,0) to (100,0) lies at (50,0), whatever Y.
  EXPECT_EQ(PositionOnSegment({32767, 0}, {0, 0}, {100, 0}), (TPoint{50, 0}));
  EXPECT_EQ(PositionOnSegment({32767, 65535}, {0, 0}, {100, 0}), (TPoint{50, 0}));
  EXPECT_EQ(PositionOnSegment({65535, 3}, {10, 10}, {20, 40}), (TPoint{20, 40}));
}

TEST(Shapes, AttachmentPositionInvertsEndPoint) {
  const TRect r{100, 50, 180, 70};
  EXPECT_EQ(AttachmentPosition({140, 70}, r.TopLeft(), r.BottomRight(), false),
            (TPoint{32768, 65535}));
  EXPECT_EQ(AttachmentPosition({100, 50}, r.TopLeft(), r.BottomRight(), false), (TPoint{0, 0}));
  // On a link only X matters; vertical links measure along Y.
  EXPECT_EQ(AttachmentPosition({50, 7}, {0, 0}, {100, 0}, true).X, 32768);
  EXPECT_EQ(AttachmentPosition({0, 25}, {0, 0}, {0, 100}, true).X, 16384);
  // Degenerate extents never divide by zero.
  EXPECT_EQ(AttachmentPosition({5, 5}, {5, 5}, {5, 5}, true), (TPoint{0, 0}));
  EXPECT_EQ(AttachmentPosition({7, 9}, {5, 5}, {5, 5}, false), (TPoint{0, 0}));
}

TEST(Shapes, OutlinesOfEveryKind) {
  const TRect r{0, 0, 60, 24};
  auto fig = [&](int kind) { return BlockOutline(kind, r, nullptr); };
  EXPECT_EQ(fig(bkSquare).Figures.at(0).Kind, TFigure::Rectangle);
  EXPECT_EQ(fig(bkEllipse).Figures.at(0).Kind, TFigure::Ellipse);
  EXPECT_EQ(fig(bkPoint).Figures.at(0).Kind, TFigure::Ellipse);
  EXPECT_EQ(fig(bkRhomb).Figures.at(0).Points,
            (std::vector<TPoint>{{30, 0}, {0, 12}, {30, 24}, {60, 12}}));
  EXPECT_EQ(fig(bkParallelogram).Figures.at(0).Points,
            (std::vector<TPoint>{{0, 24}, {10, 0}, {60, 0}, {50, 24}}));
  EXPECT_EQ(fig(bkComment).Figures.at(0).Points,
            (std::vector<TPoint>{{6, 0}, {0, 0}, {0, 24}, {6, 24}}));
  EXPECT_EQ(fig(bkProcess).Figures.size(), 2u);
  EXPECT_EQ(fig(bkProcess).Figures.at(1).Points, (std::vector<TPoint>{{6, 0}, {54, 24}}));
  EXPECT_EQ(fig(bkPage).Figures.at(0).Points,
            (std::vector<TPoint>{{0, 0}, {60, 0}, {60, 16}, {30, 24}, {0, 16}}));
  EXPECT_TRUE(fig(bkText).Empty());
  EXPECT_TRUE(fig(12).Empty());
  EXPECT_TRUE(fig(14).Empty());
  EXPECT_TRUE(fig(bkUserFirst).Empty());  // no user block list

  const TOutline doc = fig(bkDocument);
  ASSERT_EQ(doc.Figures.size(), 2u);
  EXPECT_EQ(doc.Figures[0].Points, (std::vector<TPoint>{{0, 24}, {0, 0}, {60, 0}, {60, 18}}));
  const auto& wave = doc.Figures[1].Points;
  ASSERT_EQ(wave.size(), 61u);
  EXPECT_EQ(wave.front(), (TPoint{0, 24}));
  // x = 15: 24 - 6*15/60 + 1.5*sin(pi/2) = 24 - 1.5 + 1.5 = 24
  EXPECT_EQ(wave[15], (TPoint{15, 24}));
  // x = 45: 24 - 4.5 - 1.5 = 18
  EXPECT_EQ(wave[45], (TPoint{45, 18}));
  // The slope ends at B - h/4.
  EXPECT_EQ(wave.back().Y, 18);
  EXPECT_FALSE(doc.FillPolygon.empty());
  // Zero-width documents do not divide by zero.
  EXPECT_EQ(BlockOutline(bkDocument, {5, 0, 5, 16}, nullptr).Figures[1].Points,
            (std::vector<TPoint>{{5, 16}}));
}

TEST(Shapes, TextRectangles) {
  EXPECT_EQ(TextRect(MakeBlock(bkSquare, {0, 0, 80, 20})), (TRect{2, 2, 78, 18}));
  EXPECT_EQ(TextRect(MakeBlock(bkText, {0, 0, 80, 20})), (TRect{0, 0, 80, 20}));
  // Ellipse 0..80 x 0..20: a/sqrt2 = 28.28 -> 28, b/sqrt2 = 7.07 -> 7; shrunk by 4.
  EXPECT_EQ(TextRect(MakeBlock(bkEllipse, {0, 0, 80, 20})), (TRect{16, 7, 64, 13}));
  // Rhomb: mid of (40,0),(0,10) = (20,5); mid of (40,20),(80,10) = (60,15); shrunk by 2.
  EXPECT_EQ(TextRect(MakeBlock(bkRhomb, {0, 0, 80, 20})), (TRect{22, 7, 58, 13}));
  EXPECT_EQ(TextRect(MakeBlock(bkParallelogram, {0, 0, 60, 20})), (TRect{12, 2, 48, 18}));
  EXPECT_EQ(TextRect(MakeBlock(bkDocument, {0, 0, 80, 20})), (TRect{2, 2, 78, 13}));
  EXPECT_EQ(TextRect(MakeBlock(bkProcess, {0, 0, 80, 20})), (TRect{10, 2, 70, 18}));
  EXPECT_EQ(TextRect(MakeBlock(bkPage, {0, 0, 80, 30})), (TRect{2, 2, 78, 18}));
  EXPECT_EQ(TextRect(MakeBlock(bkComment, {0, 0, 80, 20})), (TRect{2, 2, 78, 18}));
  EXPECT_FALSE(TextRect(MakeBlock(bkPoint, {0, 0, 2, 2})).has_value());
  EXPECT_FALSE(TextRect(MakeBlock(11, {0, 0, 80, 20})).has_value());
  // Reversed corners are put in order first.
  EXPECT_EQ(TextRect(MakeBlock(bkSquare, {80, 20, 0, 0})), (TRect{2, 2, 78, 18}));
}

TEST(Shapes, NearestConnectionPoints) {
  // All four at equal distance: the left one wins.
  EXPECT_EQ(NearestConnectionPoint(MakeBlock(bkSquare, {0, 0, 80, 80}), {40, 40}), (TPoint{0, 40}));
  EXPECT_EQ(NearestConnectionPoint(MakeBlock(bkSquare, {0, 0, 80, 20}), {79, 12}),
            (TPoint{80, 10}));
  EXPECT_EQ(NearestConnectionPoint(MakeBlock(bkSquare, {0, 0, 80, 20}), {41, -30}),
            (TPoint{40, 0}));
  // Parallelogram: round(60/12) = 5 moves left and top right, right and bottom left.
  const Block p = MakeBlock(bkParallelogram, {0, 0, 60, 20});
  EXPECT_EQ(NearestConnectionPoint(p, {0, 10}), (TPoint{5, 10}));
  EXPECT_EQ(NearestConnectionPoint(p, {30, -9}), (TPoint{35, 0}));
  EXPECT_EQ(NearestConnectionPoint(p, {30, 29}), (TPoint{25, 20}));
  // Document: round(24/8) = 3 lifts right and bottom.
  const Block d = MakeBlock(bkDocument, {0, 0, 80, 24});
  EXPECT_EQ(NearestConnectionPoint(d, {90, 9}), (TPoint{80, 9}));
  EXPECT_EQ(NearestConnectionPoint(d, {40, 40}), (TPoint{40, 21}));
}

TEST(Shapes, LinkEndsMoveOntoNewOutlines) {
  EXPECT_EQ(PositionForKind({20000, 20000}, bkEllipse), (TPoint{20000, 2589}));
  EXPECT_EQ(PositionForKind({20000, 40000}, bkEllipse), (TPoint{20000, 62944}));
  EXPECT_EQ(PositionForKind({0, 32767}, bkEllipse), (TPoint{0, 32767}));  // already on it
  EXPECT_EQ(PositionForKind({5000, 20000}, bkParallelogram), (TPoint{5000, 35535}));
  EXPECT_EQ(PositionForKind({60000, 20000}, bkParallelogram), (TPoint{60000, 33207}));
  EXPECT_EQ(PositionForKind({30000, 40000}, bkParallelogram), (TPoint{30000, 65535}));
  EXPECT_EQ(PositionForKind({5000, 65535}, bkParallelogram), (TPoint{5000, 65535}));
  EXPECT_EQ(PositionForKind({20000, 20000}, bkSquare), (TPoint{0, 20000}));
  EXPECT_EQ(PositionForKind({40000, 20000}, bkProcess), (TPoint{65535, 20000}));
  EXPECT_EQ(PositionForKind({40000, 0}, bkSquare), (TPoint{40000, 0}));
  EXPECT_EQ(PositionForKind({20000, 10}, bkRhomb), (TPoint{20000, 12767}));
  EXPECT_EQ(PositionForKind({20000, 40000}, bkRhomb), (TPoint{20000, 52768}));
  EXPECT_EQ(PositionForKind({20000, 40000}, bkComment), (TPoint{6553, 65535}));
  EXPECT_EQ(PositionForKind({0, 40000}, bkComment), (TPoint{0, 40000}));
  EXPECT_EQ(PositionForKind({65535, 49151}, bkDocument), (TPoint{65535, 49151}));
  EXPECT_EQ(PositionForKind({16384, 60000}, bkDocument), (TPoint{16384, 65533}));
  EXPECT_EQ(PositionForKind({20000, 100}, bkPage), (TPoint{0, 100}));
  EXPECT_EQ(PositionForKind({20000, 0}, bkPage), (TPoint{20000, 0}));
  EXPECT_EQ(PositionForKind({20000, 50000}, bkPage), (TPoint{20000, 57023}));
  EXPECT_EQ(PositionForKind({1234, 4321}, bkUserFirst + 2), (TPoint{1234, 4321}));
}

// The view draws handles where the resize tool finds them: the same points
// for every kind but the Page (eight drawn, four live) and the Parallelogram,
// whose drawn edge middles are the live ones rounded (within a pixel).
TEST(Shapes, DrawnHandlesLieOnTheLiveOnes) {
  const TRect rects[] = {
      {0, 0, 80, 20}, {13, 7, 100, 61}, {5, 5, 6, 6}, {0, 0, 0, 0}, {100, 40, 223, 77}};
  for (int kind : {0, 1, 2, 3, 5, 6, 7, 8, 9, 15}) {
    for (const TRect& r : rects) {
      SCOPED_TRACE(testing::Message() << "kind " << kind << " rect " << r.Left << "," << r.Top
                                      << "," << r.Right << "," << r.Bottom);
      const std::vector<TPoint> drawn = DrawnHandles(kind, r);
      const THandles live = HitHandles(kind, TBlockFrame(r));
      if (kind == bkPage) {
        EXPECT_EQ(drawn.size(), 8u);
        EXPECT_EQ(live.Count, 4);
        continue;
      }
      ASSERT_EQ(drawn.size(), size_t(live.Count));
      for (const TPoint& d : drawn) {
        bool near = false;
        for (const THandle& h : live)
          near = near || (std::abs(h.X - d.X) <= (kind == bkParallelogram ? 1 : 0) &&
                          std::abs(h.Y - d.Y) <= 0);
        EXPECT_TRUE(near) << d.X << "," << d.Y;
      }
    }
  }
  EXPECT_TRUE(DrawnHandles(bkPoint, {0, 0, 2, 2}).empty());
  EXPECT_EQ(HitHandles(bkPoint, TBlockFrame({0, 0, 2, 2})).Count, 0);
  // The Document's bottom edge, shared by the outline (truncated) and the
  // hit tests (unrounded): B - (h/4)(x - L)/w + (h/16) sin(2 pi (x - L)/w).
  const TRect doc{10, 20, 110, 100};
  EXPECT_EQ(DocumentWaveY(doc, 10), 100);
  EXPECT_EQ(DocumentWaveY(doc, 85), 80);
  EXPECT_DOUBLE_EQ(DocumentWave(TBlockFrame(doc), 35), 100);
  EXPECT_NEAR(DocumentWave(TBlockFrame(doc), 60), 90, 1e-9);
  EXPECT_EQ(DocumentWaveY({10, 20, 10, 100}, 10), 100);  // zero width: flat
}
