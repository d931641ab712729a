// The link-points tool: splitting a link at a new point, joining the two
// links at a point again, and where the links that hang on them end up.
#include "documentfixture.h"
#include "editor/tools/linkpointstool.h"

namespace {
struct TPointScene : TDocument {
  TShemObj* a = AddBlock(d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(d, bkSquare, {10, 100, 90, 120});
  // (50, 30) to (50, 100), arrowhead at the target.
  TShemObj* ab = AddLink(d, a, b, {32767, 65535}, {32767, 0}, ltArrowTarget);
  TShemObj* c = AddBlock(d, bkSquare, {200, 50, 280, 70});
  TPointScene() : TDocument(1) {}
  TPoint End(const TShemObj* m) const { return d.TargetPoint(m); }
};

bool Near(TPoint p, TPoint q) { return std::abs(p.X - q.X) <= 1 && std::abs(p.Y - q.Y) <= 1; }
}  // namespace

TEST(LinkPointsTool, AddThenDeleteAPointInAnArrowedLink) {
  TPointScene t;
  t.Tool(TTool::LinkPoints);
  t.host.state.LinkPointsPicture = 11;
  t.Press(50, 65);
  t.Release(50, 65);
  ASSERT_EQ(t.d.Count(), 6);
  TShemObj* p = t.d.GetObj(0);
  ASSERT_TRUE(p->IsPointBlock());
  EXPECT_EQ(t.RectOf(p), (TRect{49, 64, 51, 66}));
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{p});
  TShemObj* n = t.d.GetObj(5);
  const Link& nl = n->AsLink()->Data;
  const Link& ol = t.ab->AsLink()->Data;
  EXPECT_EQ(nl.LinkType, ltArrowTarget);
  EXPECT_EQ(ol.LinkType, ltArrowTarget);
  EXPECT_EQ(nl.Source.Get(), t.a);
  EXPECT_EQ(nl.Target.Get(), p);
  EXPECT_EQ(ol.Source.Get(), p);
  EXPECT_EQ(ol.Target.Get(), t.b);
  EXPECT_EQ(t.d.SourcePoint(n), (TPoint{50, 30}));
  EXPECT_EQ(t.d.TargetPoint(t.ab), (TPoint{50, 100}));
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.doc.CanUndo());

  t.host.state.LinkPointsPicture = 12;
  t.Press(50, 65);
  t.Release(50, 65);
  ASSERT_EQ(t.d.Count(), 4);
  EXPECT_EQ(t.d.IndexOf(p), -1);
  TShemObj* joined = t.d.GetObj(3);
  const Link& jl = joined->AsLink()->Data;
  EXPECT_EQ(jl.LinkType, 0);
  // The first link at the point in list order (the old one, now running from
  // the point to b) gives the joined link its source.
  EXPECT_EQ(jl.Source.Get(), t.b);
  EXPECT_EQ(jl.Target.Get(), t.a);
  EXPECT_EQ(jl.SourcePos, (TPoint{32767, 0}));
  EXPECT_EQ(jl.TargetPos, (TPoint{32767, 65535}));
  EXPECT_TRUE(t.d.CheckIntegrity());
}

TEST(LinkPointsTool, HangingLinksKeepTheirPlaceThroughSplitAndJoin) {
  TPointScene t;
  TShemObj* upper = AddLink(t.d, t.c, t.ab, {0, 32767}, {13107, 0}, 0);  // 14 of 70 down
  TShemObj* lower = AddLink(t.d, t.c, t.ab, {0, 32767}, {52428, 0}, 0);  // 56 of 70 down
  const TPoint u = t.End(upper), l = t.End(lower);
  TShemObj* p = SplitLinkAt(t.d, t.ab, {50, 65});
  TShemObj* top = upper->AsLink()->Data.Target.Get();
  ASSERT_TRUE(top->IsLink());
  EXPECT_NE(top, t.ab);
  EXPECT_EQ(top->AsLink()->Data.Target.Get(), p);
  EXPECT_EQ(lower->AsLink()->Data.Target.Get(), t.ab);
  EXPECT_TRUE(Near(t.End(upper), u));
  EXPECT_TRUE(Near(t.End(lower), l));
  JoinLinksAt(t.d, p);
  EXPECT_TRUE(t.d.Contains(upper));
  EXPECT_TRUE(t.d.Contains(lower));
  EXPECT_EQ(upper->AsLink()->Data.Target.Get(), lower->AsLink()->Data.Target.Get());
  EXPECT_TRUE(Near(t.End(upper), u));
  EXPECT_TRUE(Near(t.End(lower), l));
  EXPECT_TRUE(t.d.CheckIntegrity());
}

TEST(LinkPointsTool, JoinFollowsLinksThatRunIntoThePoint) {
  // a -> p <- b: the second link's positions count from b, not from the point.
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 20, 20});
  TShemObj* b = AddBlock(d, bkSquare, {0, 200, 20, 220});
  TShemObj* p = AddPoint(d, {10, 110});
  TShemObj* ap = AddLink(d, a, p, {32767, 65535}, PosCentre, 0);
  TShemObj* bp = AddLink(d, b, p, {32767, 0}, PosCentre, 0);
  TShemObj* c = AddBlock(d, bkSquare, {100, 150, 120, 170});
  TShemObj* m = AddLink(d, c, bp, {0, 32767}, {16384, 0}, 0);
  const TPoint before = d.TargetPoint(m);
  JoinLinksAt(d, p);
  EXPECT_FALSE(d.Contains(ap));
  EXPECT_FALSE(d.Contains(bp));
  ASSERT_TRUE(d.Contains(m));
  EXPECT_TRUE(Near(d.TargetPoint(m), before));
  EXPECT_TRUE(d.CheckIntegrity());
}

TEST(LinkPointsTool, SplitsAtTheEndsAndOnZeroLengthLinksStayInRange) {
  TShem d;
  TShemObj* q = AddPoint(d, {50, 50});
  TShemObj* r = AddPoint(d, {50, 50});
  TShemObj* zero = AddLink(d, q, r, PosCentre, PosCentre, 0);
  TShemObj* c = AddBlock(d, bkSquare, {100, 100, 120, 120});
  TShemObj* m = AddLink(d, c, zero, PosCentre, {65535, 0}, 0);
  TShemObj* m0 = AddLink(d, c, zero, PosCentre, {0, 0}, 0);
  SplitLinkAt(d, zero, {50, 50});
  for (const TShemObj* k : {m, m0}) {
    const TPoint pos = k->AsLink()->Data.TargetPos;
    EXPECT_GE(pos.X, 0);
    EXPECT_LE(pos.X, 65535);
  }
  EXPECT_EQ(d.TargetPoint(m), (TPoint{50, 50}));
  EXPECT_TRUE(d.CheckIntegrity());
}

TEST(LinkPointsTool, ALonePointGoesWithoutASnapshotAndOtherPressesDoNothing) {
  TPointScene t;
  AddPoint(t.d, {150, 150});
  t.Tool(TTool::LinkPoints);
  t.host.state.LinkPointsPicture = 12;
  t.Press(50, 65);  // a link in delete mode
  t.Release(50, 65);
  EXPECT_EQ(t.d.Count(), 5);
  t.Press(150, 150);
  t.Release(150, 150);
  EXPECT_EQ(t.d.Count(), 4);
  EXPECT_FALSE(t.doc.CanUndo());
  t.host.state.LinkPointsPicture = 11;
  t.Press(50, 20);  // a block in add mode
  t.Release(50, 20);
  EXPECT_EQ(t.d.Count(), 4);
}
