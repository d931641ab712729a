// Drawing links with the create-link tool and moving the end of a selected
// link with the select tool: where the ends attach, which drops are refused,
// the line shown during the drag and the undo snapshot.
#include "documentfixture.h"
#include "editor/tools/linkdrag.h"
#include "editor/tools/selecttool.h"

namespace {
const TRect kTop{10, 10, 90, 30};
const TRect kBottom{10, 100, 90, 120};
const TRect kSide{200, 50, 280, 70};

struct TLinkScene : TDocument {
  TShemObj* a = AddBlock(d, bkSquare, kTop);
  TShemObj* b = AddBlock(d, bkSquare, kBottom);
  // (50, 30) to (50, 100), straight down.
  TShemObj* ab = AddLink(d, a, b, {32767, 65535}, {32767, 0});
  TShemObj* c = AddBlock(d, bkSquare, kSide);
  TLinkScene() : TDocument(1) {}
  const Link& L(const TShemObj* o) const { return o->AsLink()->Data; }
};
}  // namespace

TEST(CreateLinkTool, JoinsTwoBlocksWithTheChosenTypeAndSelectsTheNewLink) {
  TLinkScene t;
  t.Tool(TTool::CreateLink);
  t.host.state.LinkToolPicture = 10;
  const int before = t.d.Count();
  t.Press(90, 15);
  EXPECT_EQ(t.doc.MouseState, TMouseState::DrawingLink);
  EXPECT_EQ(t.host.Panels[0], "(90, 15)");
  t.Move(50, 60);
  EXPECT_FALSE(t.doc.Feedback().Empty());
  EXPECT_EQ(t.host.Panels[1], "(-40, 45)");
  t.Move(10, 105);
  t.Release(10, 105);
  ASSERT_EQ(t.d.Count(), before + 1);
  TShemObj* n = t.d.GetObj(before);
  ASSERT_TRUE(n->IsLink());
  EXPECT_EQ(t.L(n).LinkType, ltArrowTarget | ltArrowSource);
  EXPECT_EQ(t.L(n).Source.Get(), t.a);
  EXPECT_EQ(t.L(n).Target.Get(), t.b);
  EXPECT_EQ(t.L(n).SourcePos, (TPoint{65535, 16384}));
  EXPECT_EQ(t.L(n).TargetPos, (TPoint{0, 16384}));
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{n});
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.doc.CanUndo());
  EXPECT_TRUE(t.doc.Feedback().Empty());
  EXPECT_TRUE(t.d.CheckIntegrity());
}

TEST(CreateLinkTool, RefusesALinkBackToItsStartAndADropOnNothing) {
  TLinkScene t;
  t.Tool(TTool::CreateLink);
  const int before = t.d.Count();
  t.Drag({90, 15}, {50, 30});  // another point of the same block
  t.Drag({90, 15}, {150, 200});
  EXPECT_EQ(t.d.Count(), before);
  EXPECT_FALSE(t.doc.Modified);
  EXPECT_FALSE(t.doc.CanUndo());
  EXPECT_TRUE(t.doc.Feedback().Empty());
  // A press far from every outline starts nothing.
  t.Press(150, 200);
  EXPECT_EQ(t.doc.MouseState, TMouseState::Idle);
  t.Release(150, 200);
}

TEST(CreateLinkTool, ALinkToALinkAttachesByTheFractionAlongIt) {
  TLinkScene t;
  t.Tool(TTool::CreateLink);
  t.host.state.LinkToolPicture = 7;
  const int before = t.d.Count();
  t.Drag({200, 60}, {50, 44});  // 14 of the link's 70 units down
  ASSERT_EQ(t.d.Count(), before + 1);
  const Link& n = t.L(t.d.GetObj(before));
  EXPECT_EQ(n.LinkType, 0);
  EXPECT_EQ(n.Source.Get(), t.c);
  EXPECT_EQ(n.Target.Get(), t.ab);
  EXPECT_EQ(n.TargetPos, (TPoint{13107, 14}));
}

TEST(CreateLinkTool, CtrlTakesTheNearestConnectionPointOfABlock) {
  TLinkScene t;
  TShemObj* r = AddBlock(t.d, bkRhomb, {200, 100, 280, 130});
  t.Tool(TTool::CreateLink);
  const int before = t.d.Count();
  // Ctrl at the press starts the line at the top block's bottom middle.
  t.Press(60, 30, Qt::ControlModifier);
  EXPECT_EQ(t.doc.DragStart, t.doc.DiagramToScreen({50, 30}));
  t.Move(278, 115, Qt::ControlModifier);
  t.Release(278, 115, Qt::ControlModifier);  // inside the rhomb, near its right corner
  ASSERT_EQ(t.d.Count(), before + 1);
  const Link& n = t.L(t.d.GetObj(before));
  EXPECT_EQ(n.Target.Get(), r);
  EXPECT_EQ(n.TargetPos.X, 65535);
  EXPECT_NEAR(n.TargetPos.Y, 32767, 1);
  EXPECT_NEAR(n.SourcePos.X, 32767, 1);
  EXPECT_EQ(n.SourcePos.Y, 65535);
}

TEST(MovingLinkEnd, ADroppedEndAttachesToTheNewObject) {
  TLinkScene t;
  t.Press(50, 60);  // selects the link
  t.Release(50, 60);
  t.Press(50, 100);
  ASSERT_EQ(t.doc.MouseState, TMouseState::MovingLinkEnd);
  // The line runs from the end that stays.
  EXPECT_EQ(t.doc.DragStart, t.doc.DiagramToScreen({50, 30}));
  EXPECT_FALSE(t.doc.Feedback().Empty());
  t.Move(200, 55);
  t.Release(200, 55);
  EXPECT_EQ(t.L(t.ab).Target.Get(), t.c);
  EXPECT_EQ(t.L(t.ab).TargetPos, (TPoint{0, 16384}));
  EXPECT_EQ(t.L(t.ab).Source.Get(), t.a);
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.d.CheckIntegrity());
  // Undo puts the end back on the bottom block.
  t.doc.SwapUndo();
  ASSERT_EQ(t.d.Count(), 4);
  TShemObj* link = nullptr;
  for (int i = 0; i < t.d.Count(); ++i)
    if (t.d.GetObj(i)->IsLink()) link = t.d.GetObj(i);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(t.d.TargetPoint(link), (TPoint{50, 100}));
}

TEST(MovingLinkEnd, RefusesTheOtherEndItselfAndLinksThatHangOnIt) {
  TLinkScene t;
  // m hangs on the link; moving the link's end onto m would attach the link to itself.
  TShemObj* m = AddLink(t.d, t.c, t.ab, {0, 32767}, {13107, 0}, 0);
  t.doc.Selection.Assign({t.ab});
  const auto refused = [&](TPoint to) {
    t.Press(50, 100);
    t.Move(to.X, to.Y);
    t.Release(to.X, to.Y);
    return t.L(t.ab).Target.Get() == t.b && t.L(t.ab).TargetPos == TPoint{32767, 0};
  };
  EXPECT_TRUE(refused({90, 20}));  // the block at the end that stays
  EXPECT_TRUE(refused({50, 70}));  // the link itself
  const TPoint onM = t.doc.DiagramToScreen(t.d.LinkEndPoint({32767, 0}, m));
  EXPECT_TRUE(refused(onM));
  EXPECT_TRUE(refused({150, 250}));  // nothing
  EXPECT_FALSE(t.doc.Modified);
  EXPECT_FALSE(t.doc.CanUndo());
  EXPECT_TRUE(t.doc.Feedback().Empty());
}

TEST(AttachPositionOn, StaysInRangeOutsideAnOutlineAndOnAZeroLengthLink) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {10, 10, 90, 30});
  EXPECT_EQ(AttachPositionOn(d, a, {5, 40}), (TPoint{0, 65535}));
  EXPECT_EQ(AttachPositionOn(d, a, {50, 20}), (TPoint{32768, 32768}));
  TShemObj* p = AddPoint(d, {50, 50});
  TShemObj* zero = AddLink(d, p, p);  // both ends at the same point
  EXPECT_EQ(AttachPositionOn(d, zero, {50, 50}), (TPoint{0, 0}));
}
