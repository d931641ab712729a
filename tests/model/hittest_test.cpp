// The diagram's hit tests on hand-made diagrams: shapes by kind, tolerance
// bands, border zones and their order, handles, link ends and degenerate
// blocks.
#include <gtest/gtest.h>

#include <memory>

#include "model/hittest_shapes.h"
#include "model/userblocklist.h"
#include "testdiagrams.h"

namespace {
bool Under(int kind, TRect r, TPoint p, const TUserBlockList* ub = nullptr) {
  return BlockUnderPoint(MakeBlock(kind, r), p, ub);
}

// The snapped point, or nothing when p is not near the border.
std::optional<TPoint> Snap(int kind, TRect r, TPoint p, const TUserBlockList* ub = nullptr) {
  TPoint q{-999, -999};
  if (!BlockBorderPoint(MakeBlock(kind, r), p, ub, q)) return std::nullopt;
  return q;
}

int Handle(int kind, TRect r, TPoint p) { return BlockHandleAt(MakeBlock(kind, r), p, nullptr); }

void AddUserBlock(TUserBlockList& list, uint32_t id, std::initializer_list<TPercentPoint> pts) {
  auto ub = std::make_unique<TUserBlock>();
  ub->Id1 = id;
  for (TPercentPoint p : pts) ub->AddPoint(p);
  ASSERT_GE(list.Add(std::move(ub)), 0);
}

// A link between two Point blocks, so that its ends are exactly a and b.
TShemObj* AddSegment(TShem& d, TPoint a, TPoint b) {
  TShemObj* from = AddPoint(d, a);
  TShemObj* to = AddPoint(d, b);
  return AddLink(d, from, to);
}
}  // namespace

// ---- objects under a point ------------------------------------------------------

TEST(HitTestObjectAt, LinkBands) {
  // Flat link: a band of |dy| < 3 that reaches 3 beyond the ends.
  EXPECT_TRUE(LinkUnderPoint({0, 50}, {100, 50}, {50, 52}));
  EXPECT_FALSE(LinkUnderPoint({0, 50}, {100, 50}, {50, 53}));
  EXPECT_TRUE(LinkUnderPoint({0, 50}, {100, 50}, {103, 51}));
  EXPECT_FALSE(LinkUnderPoint({0, 50}, {100, 50}, {104, 50}));
  // Steep link: the band is measured along X.
  EXPECT_TRUE(LinkUnderPoint({50, 0}, {50, 100}, {52, 40}));
  EXPECT_FALSE(LinkUnderPoint({50, 0}, {50, 100}, {53, 40}));
  EXPECT_TRUE(LinkUnderPoint({50, 0}, {50, 100}, {50, -3}));
  EXPECT_FALSE(LinkUnderPoint({50, 0}, {50, 100}, {50, -4}));
  // A 45-degree link counts as steep: x at P.Y is what is compared.
  EXPECT_TRUE(LinkUnderPoint({0, 0}, {40, 40}, {22, 20}));
  EXPECT_FALSE(LinkUnderPoint({0, 0}, {40, 40}, {23, 20}));
  // Slanted and flat: y at P.X, rounded.
  EXPECT_TRUE(LinkUnderPoint({0, 0}, {100, 30}, {50, 17}));  // y = 15
  EXPECT_FALSE(LinkUnderPoint({0, 0}, {100, 30}, {50, 18}));
  // A zero-length link is a small square around its point.
  EXPECT_TRUE(LinkUnderPoint({10, 10}, {10, 10}, {12, 13}));
  EXPECT_FALSE(LinkUnderPoint({10, 10}, {10, 10}, {13, 10}));
  EXPECT_FALSE(LinkUnderPoint({10, 10}, {10, 10}, {10, 14}));
  // The first object in the list wins, even under a later one drawn on top.
  TShem d;
  TShemObj* link = AddSegment(d, {0, 50}, {100, 50});
  TShemObj* square = AddBlock(d, bkSquare, {40, 40, 60, 60});
  EXPECT_EQ(d.ObjectAt({50, 51}), link);
  EXPECT_EQ(d.ObjectAt({50, 52}), link);
  EXPECT_EQ(d.ObjectAt({50, 53}), square);
  EXPECT_EQ(d.ObjectAt({0, 50}), d.GetObj(0));  // the Point block at the link's end comes first
  EXPECT_EQ(d.ObjectAt({70, 70}), nullptr);
}

TEST(HitTestObjectAt, InsideByKind) {
  // Rectangle kinds: edges included.
  for (int kind : {bkSquare, bkText, bkComment, bkProcess, bkPoint}) {
    SCOPED_TRACE(kind);
    EXPECT_TRUE(Under(kind, {100, 100, 180, 120}, {100, 100}));
    EXPECT_TRUE(Under(kind, {100, 100, 180, 120}, {180, 120}));
    EXPECT_FALSE(Under(kind, {100, 100, 180, 120}, {99, 110}));
    EXPECT_FALSE(Under(kind, {100, 100, 180, 120}, {140, 121}));
  }
  // Ellipse: strictly inside.
  const TRect e{0, 0, 80, 40};
  EXPECT_TRUE(Under(bkEllipse, e, {40, 20}));
  EXPECT_TRUE(Under(bkEllipse, e, {1, 20}));
  EXPECT_FALSE(Under(bkEllipse, e, {0, 20}));
  EXPECT_FALSE(Under(bkEllipse, e, {6, 6}));
  EXPECT_TRUE(Under(bkEllipse, e, {12, 6}));
  // Rhomb (40,0) (0,20) (40,40) (80,20): the edges belong to it.
  EXPECT_TRUE(Under(bkRhomb, e, {40, 20}));
  EXPECT_TRUE(Under(bkRhomb, e, {20, 10}));
  EXPECT_FALSE(Under(bkRhomb, e, {20, 9}));
  EXPECT_TRUE(Under(bkRhomb, e, {60, 30}));
  EXPECT_FALSE(Under(bkRhomb, e, {61, 31}));
  EXPECT_FALSE(Under(bkRhomb, e, {79, 38}));
  EXPECT_TRUE(Under(bkRhomb, e, {80, 20}));
  // Parallelogram (0,24) (10,0) (60,0) (50,24).
  const TRect pg{0, 0, 60, 24};
  EXPECT_TRUE(Under(bkParallelogram, pg, {5, 12}));
  EXPECT_FALSE(Under(bkParallelogram, pg, {4, 12}));
  EXPECT_TRUE(Under(bkParallelogram, pg, {55, 12}));
  EXPECT_FALSE(Under(bkParallelogram, pg, {56, 12}));
  EXPECT_TRUE(Under(bkParallelogram, pg, {0, 24}));
  EXPECT_FALSE(Under(bkParallelogram, pg, {60, 1}));
  EXPECT_FALSE(Under(bkParallelogram, pg, {30, 25}));
  // Document: flat down to B - h/4, then the wave.
  EXPECT_TRUE(Under(bkDocument, e, {70, 30}));
  EXPECT_TRUE(Under(bkDocument, e, {20, 40}));  // wave at x = 20 is 40
  EXPECT_FALSE(Under(bkDocument, e, {20, 41}));
  EXPECT_TRUE(Under(bkDocument, e, {60, 30}));  // wave at x = 60 is 30
  EXPECT_FALSE(Under(bkDocument, e, {60, 31}));
  EXPECT_FALSE(Under(bkDocument, e, {81, 10}));
  EXPECT_FALSE(Under(bkDocument, e, {10, -1}));
  // A tall Document's wave dips below its bottom corner, and so does its inside.
  EXPECT_TRUE(Under(bkDocument, {0, 0, 80, 200}, {11, 202}));
  EXPECT_FALSE(Under(bkDocument, {0, 0, 80, 200}, {11, 203}));
  // Page: upper part, then the two lower edges down to the tip (30, 30).
  const TRect pa{0, 0, 60, 30};
  EXPECT_TRUE(Under(bkPage, pa, {0, 20}));
  EXPECT_FALSE(Under(bkPage, pa, {0, 21}));
  EXPECT_TRUE(Under(bkPage, pa, {15, 25}));
  EXPECT_FALSE(Under(bkPage, pa, {15, 26}));
  EXPECT_TRUE(Under(bkPage, pa, {30, 30}));
  EXPECT_FALSE(Under(bkPage, pa, {30, 31}));
  // Kinds without a shape are never hit; neither are user kinds without a list.
  for (int kind : {10, 11, 12, 13, 14, 15, 200}) EXPECT_FALSE(Under(kind, pa, {30, 10})) << kind;
}

TEST(HitTestObjectAt, UserBlockOutlines) {
  TUserBlockList list;
  // Concave: a U open at the top.
  AddUserBlock(list, 1,
               {{0, 0}, {30, 0}, {30, 70}, {70, 70}, {70, 0}, {100, 0}, {100, 100}, {0, 100}});
  // Self-crossing bow-tie: two triangles meeting at the centre.
  AddUserBlock(list, 2, {{0, 0}, {100, 100}, {100, 0}, {0, 100}});
  // A five-pointed star: its middle is a hole under the even-odd rule.
  AddUserBlock(list, 3, {{50, 0}, {79, 90}, {5, 35}, {95, 35}, {21, 90}});
  // Points beyond 100 %: the outline leaves the block's rectangle.
  AddUserBlock(list, 4, {{0, 0}, {200, 0}, {200, 100}, {0, 100}});
  // No points at all.
  AddUserBlock(list, 5, {});
  const TRect r{0, 0, 100, 100};
  EXPECT_TRUE(Under(15, r, {15, 50}, &list));
  EXPECT_FALSE(Under(15, r, {50, 30}, &list));
  EXPECT_TRUE(Under(15, r, {50, 80}, &list));
  EXPECT_TRUE(Under(16, r, {20, 50}, &list));
  EXPECT_FALSE(Under(16, r, {50, 20}, &list));
  EXPECT_TRUE(Under(16, r, {80, 50}, &list));
  EXPECT_FALSE(Under(17, r, {50, 50}, &list));
  EXPECT_TRUE(Under(17, r, {50, 10}, &list));
  EXPECT_TRUE(Under(17, r, {20, 38}, &list));
  EXPECT_FALSE(Under(19, r, {50, 50}, &list));

  // Through the diagram: the outline is found beyond the rectangle, and a hole
  // lets the point through to the object below.
  TShem d;
  d.UserBlocks = &list;
  TShemObj* wide = AddBlock(d, 18, {0, 0, 100, 100});
  EXPECT_EQ(d.ObjectAt({150, 50}), wide);
  EXPECT_EQ(d.ObjectAt({201, 50}), nullptr);
  TShem d2;
  d2.UserBlocks = &list;
  AddBlock(d2, 17, {0, 0, 100, 100});
  TShemObj* below = AddBlock(d2, bkSquare, {40, 40, 60, 60});
  EXPECT_EQ(d2.ObjectAt({50, 50}), below);
  d2.UserBlocks = nullptr;  // no list: user kinds have no outline
  EXPECT_EQ(d2.ObjectAt({50, 10}), nullptr);
}

// ---- objects touching a rectangle --------------------------------------------------

TEST(HitTestNextInRect, Links) {
  const TRect r{50, 0, 100, 100};
  EXPECT_TRUE(LinkTouchesRect({60, 10}, {500, 500}, r));  // an end inside
  EXPECT_TRUE(LinkTouchesRect({0, 50}, {200, 50}, r));    // straight through
  EXPECT_TRUE(LinkTouchesRect({75, -10}, {75, 200}, r));  // through top and bottom
  // In through the right edge and out through the bottom: only the diagonal
  // is crossed.
  EXPECT_TRUE(LinkTouchesRect({110, 80}, {90, 110}, r));
  EXPECT_FALSE(LinkTouchesRect({110, 90}, {101, 110}, r));
  EXPECT_FALSE(LinkTouchesRect({0, 0}, {40, 200}, r));
  // On the line of the top edge but far away: not touching.
  EXPECT_FALSE(LinkTouchesRect({0, 0}, {10, 0}, r));
  EXPECT_FALSE(LinkTouchesRect({200, 0}, {300, 0}, r));
  EXPECT_TRUE(LinkTouchesRect({0, 0}, {60, 0}, r));
  // A zero-length link touches only where it lies.
  EXPECT_TRUE(LinkTouchesRect({50, 0}, {50, 0}, r));
  EXPECT_FALSE(LinkTouchesRect({49, 0}, {49, 0}, r));
}

TEST(HitTestNextInRect, BlocksByKind) {
  auto touches = [](int kind, TRect b, TRect r) {
    return BlockTouchesRect(MakeBlock(kind, b), r, nullptr);
  };
  const TRect blk{0, 0, 80, 40};
  // A rectangle in the corner of a rhomb's box but outside the rhomb.
  EXPECT_FALSE(touches(bkRhomb, blk, {0, 0, 10, 5}));
  EXPECT_TRUE(touches(bkSquare, blk, {0, 0, 10, 5}));
  EXPECT_TRUE(touches(bkRhomb, blk, {35, 15, 45, 25}));  // wholly inside
  EXPECT_TRUE(touches(bkRhomb, blk, {-10, 15, 2, 25}));  // holds the left vertex
  // Parallelogram: the cut-off top-left corner does not touch.
  EXPECT_FALSE(touches(bkParallelogram, {0, 0, 60, 24}, {0, 0, 3, 3}));
  EXPECT_TRUE(touches(bkParallelogram, {0, 0, 60, 24}, {8, 0, 12, 3}));
  EXPECT_TRUE(touches(bkParallelogram, {0, 0, 60, 24}, {20, 5, 30, 10}));
  // Page (0,0)-(60,30): the tip, the cut-off corners, the lower part.
  const TRect pa{0, 0, 60, 30};
  EXPECT_TRUE(touches(bkPage, pa, {28, 29, 32, 31}));
  EXPECT_FALSE(touches(bkPage, pa, {0, 25, 5, 30}));
  EXPECT_TRUE(touches(bkPage, pa, {20, 22, 22, 24}));  // top-left corner in the lower part
  EXPECT_TRUE(touches(bkPage, pa, {10, 10, 12, 12}));
  // Other kinds: corners either way, so a cross does not touch.
  EXPECT_FALSE(touches(bkSquare, {0, 40, 200, 60}, {90, 0, 110, 100}));
  EXPECT_TRUE(touches(bkEllipse, {0, 40, 200, 60}, {190, 0, 210, 50}));
  // A Point block is found by its TopLeft only.
  EXPECT_TRUE(touches(bkPoint, {9, 9, 11, 11}, {0, 0, 9, 9}));
  EXPECT_FALSE(touches(bkPoint, {9, 9, 11, 11}, {10, 10, 20, 20}));
  EXPECT_FALSE(touches(12, blk, {0, 0, 100, 100}));
}

TEST(HitTestNextInRect, WalksInListOrderFromAfter) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 10, 10});
  AddBlock(d, bkSquare, {500, 500, 510, 510});
  TShemObj* c = AddBlock(d, bkEllipse, {5, 5, 30, 30});
  TShemObj* l = AddLink(d, a, c);
  EXPECT_EQ(d.NextInRect(nullptr, {0, 0, 100, 100}), a);
  EXPECT_EQ(d.NextInRect(a, {0, 0, 100, 100}), c);
  EXPECT_EQ(d.NextInRect(c, {0, 0, 100, 100}), l);
  EXPECT_EQ(d.NextInRect(l, {0, 0, 100, 100}), nullptr);
  // The rectangle may be given with its corners the wrong way round.
  EXPECT_EQ(d.NextInRect(nullptr, {100, 100, 0, 0}), a);
  // Deleted objects leave no trace in the walk; a deleted entry as the
  // starting point starts the walk afresh.
  d.Remove(c);
  EXPECT_EQ(d.NextInRect(a, {0, 0, 100, 100}), nullptr);
  EXPECT_EQ(d.NextInRect(c, {0, 0, 100, 100}), a);
}

// ---- border points -------------------------------------------------------------------

TEST(HitTestBorderPointAt, SquareZonesLaterWins) {
  const TRect s{100, 100, 180, 120};
  EXPECT_EQ(Snap(bkSquare, s, {98, 101}), (TPoint{100, 101}));  // left wins over top
  EXPECT_EQ(Snap(bkSquare, s, {140, 117}), (TPoint{140, 120}));
  EXPECT_EQ(Snap(bkSquare, s, {182, 102}), (TPoint{180, 102}));  // right wins over top
  EXPECT_EQ(Snap(bkSquare, s, {140, 110}), std::nullopt);
  EXPECT_EQ(Snap(bkProcess, s, {178, 123}), (TPoint{178, 120}));  // bottom wins over right
  EXPECT_EQ(Snap(bkSquare, s, {184, 110}), std::nullopt);
  // One unit outside: not under it, but near its border.
  TShem d;
  TShemObj* sq = AddBlock(d, bkSquare, s);
  EXPECT_EQ(d.ObjectAt({99, 110}), nullptr);
  TShemObj* obj = nullptr;
  TPoint q;
  d.BorderPointAt({99, 110}, obj, q);
  EXPECT_EQ(obj, sq);
  EXPECT_EQ(q, (TPoint{100, 110}));
}

TEST(HitTestBorderPointAt, CurvedAndSlantedKinds) {
  const TRect e{0, 0, 80, 40};
  EXPECT_EQ(Snap(bkEllipse, e, {40, 20}), std::nullopt);  // the centre
  EXPECT_EQ(Snap(bkEllipse, e, {40, 1}), (TPoint{40, 0}));
  EXPECT_EQ(Snap(bkEllipse, e, {40, 3}), std::nullopt);
  EXPECT_EQ(Snap(bkEllipse, e, {82, 20}), (TPoint{80, 20}));
  EXPECT_EQ(Snap(bkEllipse, e, {83, 20}), std::nullopt);
  EXPECT_EQ(Snap(bkEllipse, e, {2, 2}), std::nullopt);
  // Rhomb: a ring 3 wide on either side; Q on the first close edge.
  EXPECT_EQ(Snap(bkRhomb, e, {20, 10}), (TPoint{20, 10}));
  EXPECT_EQ(Snap(bkRhomb, e, {20, 12}), (TPoint{20, 10}));
  EXPECT_EQ(Snap(bkRhomb, e, {40, -2}), (TPoint{40, 0}));
  EXPECT_EQ(Snap(bkRhomb, e, {40, 20}), std::nullopt);
  EXPECT_EQ(Snap(bkRhomb, e, {20, 5}), std::nullopt);
  // A tall rhomb measures along X.
  EXPECT_EQ(Snap(bkRhomb, {0, 0, 40, 80}, {11, 20}), (TPoint{10, 20}));
  // Parallelogram (0,24) (10,0) (60,0) (50,24): first zone wins.
  const TRect pg{0, 0, 60, 24};
  EXPECT_EQ(Snap(bkParallelogram, pg, {2, 23}), (TPoint{2, 24}));  // bottom before left side
  EXPECT_EQ(Snap(bkParallelogram, pg, {11, 1}), (TPoint{11, 0}));
  EXPECT_EQ(Snap(bkParallelogram, pg, {6, 12}), (TPoint{6, 10}));
  EXPECT_EQ(Snap(bkParallelogram, pg, {-2, 30}), (TPoint{0, 24}));  // side followed beyond its end
  EXPECT_EQ(Snap(bkParallelogram, pg, {56, 12}), (TPoint{56, 10}));
  EXPECT_EQ(Snap(bkParallelogram, pg, {30, 12}), std::nullopt);
}

TEST(HitTestBorderPointAt, BracketDocumentPage) {
  const TRect c{0, 0, 80, 40};  // bars 8 long
  EXPECT_EQ(Snap(bkComment, c, {11, 1}), (TPoint{8, 0}));
  EXPECT_EQ(Snap(bkComment, c, {11, 39}), std::nullopt);  // no margin past the bottom bar
  EXPECT_EQ(Snap(bkComment, c, {8, 39}), (TPoint{8, 40}));
  EXPECT_EQ(Snap(bkComment, c, {1, 1}), (TPoint{0, 1}));  // the side wins over the bar
  EXPECT_EQ(Snap(bkComment, c, {78, 20}), std::nullopt);
  // Document: top, left, the right side down to B - h/4, then the wave.
  EXPECT_EQ(Snap(bkDocument, c, {82, 20}), (TPoint{80, 20}));
  EXPECT_EQ(Snap(bkDocument, c, {81, 32}), (TPoint{81, 30}));  // the wave wins over the side
  EXPECT_EQ(Snap(bkDocument, c, {81, 34}), std::nullopt);
  EXPECT_EQ(Snap(bkDocument, c, {20, 38}), (TPoint{20, 40}));
  EXPECT_EQ(Snap(bkDocument, c, {0, 39}), (TPoint{0, 40}));  // wave wins over the left side
  EXPECT_EQ(Snap(bkDocument, c, {60, 33}), (TPoint{60, 30}));
  // Page: sides down to the shoulder at 20, then the lower edges.
  const TRect pa{0, 0, 60, 30};
  EXPECT_EQ(Snap(bkPage, pa, {62, 5}), (TPoint{60, 5}));
  EXPECT_EQ(Snap(bkPage, pa, {61, 19}), (TPoint{61, 19}));  // the lower edge wins over the side
  EXPECT_EQ(Snap(bkPage, pa, {15, 26}), (TPoint{15, 25}));
  EXPECT_EQ(Snap(bkPage, pa, {30, 32}), (TPoint{30, 30}));
  EXPECT_EQ(Snap(bkPage, pa, {1, 21}), (TPoint{1, 20}));  // lower edge wins over the side
  EXPECT_EQ(Snap(bkPage, pa, {30, 15}), std::nullopt);
}

TEST(HitTestBorderPointAt, LinksTextPointsAndUserBlocks) {
  TPoint q;
  EXPECT_TRUE(LinkBorderPoint({50, 0}, {50, 100}, {53, 103}, q));
  EXPECT_EQ(q, (TPoint{53, 100}));
  EXPECT_FALSE(LinkBorderPoint({50, 0}, {50, 100}, {54, 50}, q));
  EXPECT_TRUE(LinkBorderPoint({0, 50}, {100, 50}, {50, 52}, q));
  EXPECT_EQ(q, (TPoint{50, 50}));
  EXPECT_FALSE(LinkBorderPoint({0, 50}, {100, 50}, {50, 53}, q));
  EXPECT_TRUE(LinkBorderPoint({0, 0}, {100, 30}, {102, 31}, q));
  EXPECT_EQ(q, (TPoint{102, 31}));

  // A Text block is under a point inside it but offers no border; neither does
  // a Point block.
  TShem d;
  TShemObj* text = AddBlock(d, bkText, {0, 0, 80, 20});
  AddPoint(d, {100, 100});
  EXPECT_EQ(d.ObjectAt({0, 0}), text);
  TShemObj* obj = text;
  d.BorderPointAt({0, 0}, obj, q);
  EXPECT_EQ(obj, nullptr);
  d.BorderPointAt({100, 101}, obj, q);
  EXPECT_EQ(obj, nullptr);

  TUserBlockList list;
  AddUserBlock(list, 1, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  EXPECT_EQ(Snap(15, {10, 10, 110, 60}, {8, 30}, &list), (TPoint{10, 30}));
  EXPECT_EQ(Snap(15, {10, 10, 110, 60}, {50, 30}, &list), std::nullopt);
  EXPECT_EQ(Snap(15, {10, 10, 110, 60}, {8, 30}, nullptr), std::nullopt);
}

// ---- handles ----------------------------------------------------------------------

TEST(HitTestHandleAt, NumbersAndOrders) {
  const TRect s{0, 0, 80, 40};
  EXPECT_EQ(Handle(bkSquare, s, {0, 0}), 8);
  EXPECT_EQ(Handle(bkSquare, s, {1, -1}), 8);
  EXPECT_EQ(Handle(bkSquare, s, {2, 0}), 0);
  EXPECT_EQ(Handle(bkText, s, {40, 41}), 5);
  EXPECT_EQ(Handle(bkComment, s, {79, 21}), 3);
  EXPECT_EQ(Handle(bkDocument, s, {0, 40}), 6);
  // Middles only for ellipses, rhombs and pages.
  EXPECT_EQ(Handle(bkEllipse, s, {0, 20}), 7);
  EXPECT_EQ(Handle(bkEllipse, s, {0, 0}), 0);
  EXPECT_EQ(Handle(bkRhomb, s, {80, 40}), 0);
  EXPECT_EQ(Handle(bkPage, s, {40, 40}), 5);
  // Parallelogram (0,0)-(61,24): t = 10, u = 51; handles 1 and 5 sit at
  // unrounded x 35.5 and 25.5.
  const TRect pg{0, 0, 61, 24};
  EXPECT_EQ(Handle(bkParallelogram, pg, {10, 0}), 8);
  EXPECT_EQ(Handle(bkParallelogram, pg, {35, 0}), 1);
  EXPECT_EQ(Handle(bkParallelogram, pg, {36, 0}), 1);
  EXPECT_EQ(Handle(bkParallelogram, pg, {37, 0}), 0);
  EXPECT_EQ(Handle(bkParallelogram, pg, {34, 0}), 0);
  EXPECT_EQ(Handle(bkParallelogram, pg, {24, 24}), 0);
  EXPECT_EQ(Handle(bkParallelogram, pg, {25, 24}), 5);
  EXPECT_EQ(Handle(bkParallelogram, pg, {5, 12}), 7);
  EXPECT_EQ(Handle(bkParallelogram, pg, {56, 12}), 3);
  EXPECT_EQ(Handle(bkParallelogram, pg, {51, 24}), 4);
  EXPECT_EQ(Handle(bkParallelogram, pg, {0, 24}), 6);
  EXPECT_EQ(Handle(bkParallelogram, pg, {61, 0}), 2);
  // On a tiny block the order decides.
  EXPECT_EQ(Handle(bkSquare, {0, 0, 2, 2}, {1, 1}), 8);
  EXPECT_EQ(Handle(bkEllipse, {0, 0, 2, 2}, {1, 1}), 7);
  EXPECT_EQ(Handle(bkPoint, {0, 0, 2, 2}, {0, 0}), 0);
  EXPECT_EQ(Handle(13, s, {0, 0}), 0);

  // Links have no handles; the first block in the list wins.
  TShem d;
  AddSegment(d, {0, 0}, {100, 0});
  TShemObj* first = AddBlock(d, bkSquare, {10, 10, 50, 50});
  AddBlock(d, bkSquare, {50, 50, 90, 90});
  TShemObj* obj = nullptr;
  int h = -1;
  d.HandleAt({50, 50}, obj, h);
  EXPECT_EQ(obj, first);
  EXPECT_EQ(h, 4);
  d.HandleAt({50, 0}, obj, h);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(h, 0);
}

// ---- link ends ----------------------------------------------------------------------

TEST(HitTestLinkEndAt, EndsAndPoints) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20});
  TShemObj* b = AddBlock(d, bkSquare, {0, 100, 80, 120});
  TShemObj* c = AddBlock(d, bkSquare, {200, 0, 280, 20});
  // Two links meeting at the bottom middle of a: the earlier one is found.
  TShemObj* l1 = AddLink(d, a, b, {32767, 65535}, {32767, 0});
  TShemObj* l2 = AddLink(d, c, a, {0, 32767}, {32767, 65535});
  TShemObj* obj = nullptr;
  bool isSource = false;
  d.LinkEndAt({40, 20}, obj, isSource);
  EXPECT_EQ(obj, l1);
  EXPECT_TRUE(isSource);
  d.LinkEndAt({41, 21}, obj, isSource);  // distance 1 (trunc of 1.41)
  EXPECT_EQ(obj, l1);
  d.LinkEndAt({42, 20}, obj, isSource);
  EXPECT_EQ(obj, nullptr);
  EXPECT_TRUE(isSource);
  d.LinkEndAt({199, 10}, obj, isSource);
  EXPECT_EQ(obj, l2);
  EXPECT_TRUE(isSource);
  d.LinkEndAt({40, 99}, obj, isSource);
  EXPECT_EQ(obj, l1);
  EXPECT_FALSE(isSource);

  // A link short enough to have both ends within reach: the target end.
  TShemObj* shortLink = AddLink(d, c, c, {65535, 0}, {65535, 3000});
  d.LinkEndAt({280, 0}, obj, isSource);
  EXPECT_EQ(obj, shortLink);
  EXPECT_FALSE(isSource);

  // A polyline through a Point: the ends at the point cannot be grabbed, the
  // real ends can.
  TShem p;
  TShemObj* x = AddBlock(p, bkSquare, {0, 0, 20, 20});
  TShemObj* pt = AddPoint(p, {100, 100});
  TShemObj* y = AddBlock(p, bkSquare, {200, 0, 220, 20});
  AddLink(p, x, pt, {65535, 65535});
  TShemObj* second = AddLink(p, pt, y, PosCentre, {0, 0});
  p.LinkEndAt({100, 100}, obj, isSource);
  EXPECT_EQ(obj, nullptr);
  EXPECT_TRUE(isSource);
  p.LinkEndAt({200, 0}, obj, isSource);
  EXPECT_EQ(obj, second);
  EXPECT_FALSE(isSource);
  // Where the dropped end coincides with a later link's free end, that one is found.
  TShemObj* z = AddBlock(p, bkSquare, {99, 99, 150, 150});
  TShemObj* third = AddLink(p, z, y, {0, 0}, {0, 65535});
  p.LinkEndAt({100, 100}, obj, isSource);
  EXPECT_EQ(obj, third);
  EXPECT_TRUE(isSource);
}

// ---- degenerate blocks -------------------------------------------------------------

TEST(HitTestDegenerate, ReversedCornersBehaveLikeOrderedOnes) {
  TUserBlockList list;
  AddUserBlock(list, 1, {{0, 0}, {60, 10}, {100, 100}, {10, 80}});
  const TRect ordered{10, 20, 73, 61};
  const TRect reversed[3] = {{73, 61, 10, 20}, {73, 20, 10, 61}, {10, 61, 73, 20}};
  for (int kind = 0; kind <= 15; ++kind) {
    const Block o = MakeBlock(kind, ordered);
    for (const TRect& rr : reversed) {
      const Block r = MakeBlock(kind, rr);
      for (int y = 10; y <= 72; ++y) {
        for (int x = 0; x <= 84; ++x) {
          const TPoint p{x, y};
          ASSERT_EQ(BlockUnderPoint(o, p, &list), BlockUnderPoint(r, p, &list))
              << kind << " " << x << "," << y;
          TPoint qo{0, 0}, qr{0, 0};
          ASSERT_EQ(BlockBorderPoint(o, p, &list, qo), BlockBorderPoint(r, p, &list, qr)) << kind;
          ASSERT_EQ(qo, qr) << kind << " " << x << "," << y;
          ASSERT_EQ(BlockHandleAt(o, p, &list), BlockHandleAt(r, p, &list)) << kind;
        }
      }
      if (kind != bkPoint) {
        EXPECT_EQ(BlockTouchesRect(o, {0, 0, 12, 22}, &list),
                  BlockTouchesRect(r, {0, 0, 12, 22}, &list))
            << kind;
      }
    }
  }
}

TEST(HitTestDegenerate, FlatAndTinyBlocks) {
  // Zero width: no division by zero, defined answers.
  const TRect line{10, 0, 10, 40};
  EXPECT_FALSE(Under(bkEllipse, line, {10, 20}));  // a flat ellipse has no inside
  EXPECT_TRUE(Under(bkRhomb, line, {10, 20}));     // a flat rhomb is its segment
  EXPECT_FALSE(Under(bkRhomb, line, {11, 20}));
  EXPECT_FALSE(Under(bkRhomb, line, {-500, 20}));
  EXPECT_TRUE(Under(bkParallelogram, line, {10, 5}));
  EXPECT_FALSE(Under(bkParallelogram, line, {-500, 5}));
  EXPECT_TRUE(Under(bkDocument, line, {10, 40}));
  EXPECT_FALSE(Under(bkDocument, line, {10, 41}));
  EXPECT_TRUE(Under(bkPage, line, {10, 26}));  // upper part down to trunc(40 - 40/3) = 26
  EXPECT_FALSE(Under(bkPage, line, {10, 27}));
  // Thin blocks whose slanted edges turn vertical do not cover the plane.
  EXPECT_FALSE(Under(bkRhomb, {0, 0, 1, 40}, {-100, 20}));
  EXPECT_FALSE(Under(bkParallelogram, {0, 0, 2, 40}, {-100, 20}));
  EXPECT_FALSE(Under(bkRhomb, {0, 10, 80, 10}, {40, 11}));
  EXPECT_TRUE(Under(bkRhomb, {0, 10, 80, 10}, {40, 10}));

  // Ellipses 4 units or less across: the ring fills the whole grown ellipse.
  EXPECT_EQ(Snap(bkEllipse, {0, 0, 4, 4}, {2, 2}), (TPoint{4, 2}));
  EXPECT_EQ(Snap(bkEllipse, {0, 0, 4, 40}, {2, 20}), (TPoint{4, 20}));
  EXPECT_EQ(Snap(bkEllipse, {0, 0, 4, 40}, {3, 5}), (TPoint{2, 0}));
  EXPECT_EQ(Snap(bkEllipse, {0, 0, 4, 40}, {7, 20}), std::nullopt);
  EXPECT_EQ(Snap(bkEllipse, {5, 5, 5, 5}, {5, 5}), (TPoint{5, 5}));
  // A rhomb under 6 units across has no inner rhomb: its middle is near.
  EXPECT_EQ(Snap(bkRhomb, {0, 0, 4, 4}, {2, 2}), (TPoint{0, 2}));
  // Thin parallelogram: vertical sides snap like vertical segments.
  EXPECT_EQ(Snap(bkParallelogram, {0, 0, 2, 40}, {-2, 20}), (TPoint{0, 20}));
  // Zero-width Document and Page: flat wave, no lower edges.
  EXPECT_EQ(Snap(bkDocument, line, {12, 41}), (TPoint{12, 40}));
  EXPECT_EQ(Snap(bkPage, line, {12, 35}), std::nullopt);
  EXPECT_EQ(Snap(bkPage, line, {12, 26}), (TPoint{10, 26}));
  // Zero-length links snap like a vertical one.
  TPoint q;
  EXPECT_TRUE(LinkBorderPoint({5, 5}, {5, 5}, {8, 2}, q));
  EXPECT_EQ(q, (TPoint{8, 5}));
  EXPECT_FALSE(LinkBorderPoint({5, 5}, {5, 5}, {9, 5}, q));

  // Extreme coordinates neither overflow nor hang.
  const int32_t big = 2147483647, small = -2147483647 - 1;
  for (int kind = 0; kind < 16; ++kind) {
    const Block b = MakeBlock(kind, {small, small, big, big});
    TPoint qq;
    (void)BlockUnderPoint(b, {0, 0}, nullptr);
    (void)BlockBorderPoint(b, {big, 0}, nullptr, qq);
    (void)BlockHandleAt(b, {small, small}, nullptr);
    EXPECT_EQ(BlockTouchesRect(b, {0, 0, 10, 10}, nullptr),
              BlockIsHittable(kind, nullptr) && kind != bkPoint)
        << kind;
  }
}
