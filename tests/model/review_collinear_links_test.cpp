// A link touches a rectangle when it crosses the rectangle's top edge, its
// diagonal or its left edge, where two segments cross when the ends of each
// are not strictly on the same side of the line through the other. A link that
// lies on the line through one of those three segments therefore touches the
// rectangle wherever along that line it lies, also through the diagram's walk.
#include <gtest/gtest.h>

#include "model/hittest_shapes.h"
#include "testdiagrams.h"

namespace {
// A link between two Point blocks, so that its ends are exactly a and b.
TShemObj* AddSegment(TShem& d, TPoint a, TPoint b) {
  TShemObj* from = AddPoint(d, a);
  TShemObj* to = AddPoint(d, b);
  return AddLink(d, from, to);
}
}  // namespace

TEST(HitTestCollinearLinks, SegmentsOnOneLineCross) {
  EXPECT_TRUE(SegmentsCross({200, 0}, {300, 0}, {50, 0}, {100, 0}));
  EXPECT_TRUE(SegmentsCross({50, 200}, {50, 300}, {50, 0}, {50, 100}));
  EXPECT_TRUE(SegmentsCross({200, 200}, {300, 300}, {0, 0}, {100, 100}));
  // Parallel but off the line: no crossing.
  EXPECT_FALSE(SegmentsCross({200, 1}, {300, 1}, {50, 0}, {100, 0}));
  EXPECT_FALSE(SegmentsCross({201, 200}, {301, 300}, {0, 0}, {100, 100}));
}

TEST(HitTestCollinearLinks, LinkOnTheLineOfTopLeftOrDiagonalTouches) {
  const TRect r{50, 0, 100, 100};
  EXPECT_TRUE(LinkTouchesRect({200, 0}, {300, 0}, r));     // line of the top edge
  EXPECT_TRUE(LinkTouchesRect({0, 0}, {10, 0}, r));        // the same, on the left
  EXPECT_TRUE(LinkTouchesRect({50, 150}, {50, 400}, r));   // line of the left edge
  EXPECT_TRUE(LinkTouchesRect({150, 200}, {175, 250}, r)); // line of the diagonal
  // The line of the bottom or right edge is not among the three.
  EXPECT_FALSE(LinkTouchesRect({200, 100}, {300, 100}, r));
  EXPECT_FALSE(LinkTouchesRect({100, 150}, {100, 400}, r));
  EXPECT_FALSE(LinkTouchesRect({200, 1}, {300, 1}, r));

  TShem d;
  AddSegment(d, {400, 300}, {500, 300});  // not on any of the lines
  TShemObj* top = AddSegment(d, {1000, 20}, {2000, 20});
  TShemObj* left = AddSegment(d, {30, 900}, {30, 950});
  TShemObj* diag = AddSegment(d, {330, 340}, {630, 640});
  const TRect band{30, 20, 60, 30};  // diagonal slope 1/3: through (330, 120), (630, 220)
  TShemObj* diag3 = AddSegment(d, {330, 120}, {630, 220});
  std::vector<const TShemObj*> found;
  for (const TShemObj* o = d.NextInRect(nullptr, band); o; o = d.NextInRect(o, band))
    if (o->IsLink()) found.push_back(o);
  EXPECT_EQ(found, (std::vector<const TShemObj*>{top, left, diag3}));
  // The same walk over a square band meets the 45-degree link.
  found.clear();
  const TRect square{30, 40, 40, 50};
  for (const TShemObj* o = d.NextInRect(nullptr, square); o; o = d.NextInRect(o, square))
    if (o->IsLink()) found.push_back(o);
  EXPECT_EQ(found, (std::vector<const TShemObj*>{left, diag}));
}

TEST(HitTestCollinearLinks, WalkAgreesWithPlainWalkOnLinkLines) {
  // Rectangles whose top-left corner lies on the line of some link, beyond
  // its ends: the walk's early rejection must not hide such a link.
  auto plainNext = [](const TShem& d, const TShemObj* after, const TRect& r) -> TShemObj* {
    for (int i = d.IndexOf(after) + 1; i < d.Count(); ++i) {
      TShemObj* e = d.GetObj(i);
      if (e->IsBlock() ? BlockTouchesRect(e->AsBlock()->Data, r, d.UserBlocks)
                       : LinkTouchesRect(d.SourcePoint(e), d.TargetPoint(e), r))
        return e;
    }
    return nullptr;
  };
  int collinearHits = 0;
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    TShem d;
    BuildDiagram(d, GenerateObjects(rng, 600, 0.5, 0.3, 0.2));
    for (int k = 0; k < 200; ++k) {
      const TShemObj* o = d.GetObj(int(rng() % uint32_t(d.Count())));
      if (!o->IsLink()) continue;
      const TPoint a = d.SourcePoint(o), b = d.TargetPoint(o);
      const int32_t t = int32_t(rng() % 7) - 3;  // a whole multiple of the link beyond or before it
      const TPoint c{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
      const int32_t w = int32_t(rng() % 60), h = int32_t(rng() % 60);
      // The corner on the line; for axis-parallel links also the corner on
      // the line of the top or left edge.
      for (const TRect& r : {TRect{c.X, c.Y, c.X + w, c.Y + h}, TRect{c.X - w, c.Y - h, c.X, c.Y}}) {
        if (!PtInRectIncl(a, r) && !PtInRectIncl(b, r) && LinkTouchesRect(a, b, r)) ++collinearHits;
        const TShemObj* fast = nullptr;
        const TShemObj* ref = nullptr;
        do {
          fast = d.NextInRect(fast, r);
          ref = plainNext(d, ref, r);
          ASSERT_EQ(fast, ref) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
        } while (fast);
      }
    }
  }
  EXPECT_GT(collinearHits, 50);  // the rectangles did meet links by their lines
}
