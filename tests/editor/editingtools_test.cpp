// The editing tools driven with mouse events: creating blocks, selecting by
// press and rubber band, moving and resizing the selection, dragging the
// document; what each release does to the diagram, the selection, Modified
// and the undo snapshot, and the inverting feedback over the unchanged view.
#include <QScrollBar>

#include "documentfixture.h"
#include "editor/cursors.h"
#include "editor/tools/selecttool.h"

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF;

bool Shows(const TChildD& doc, TCursor c) {
  const QCursor& want = AppCursor(c);
  return doc.cursor().shape() == want.shape() &&
         doc.cursor().pixmap().toImage() == want.pixmap().toImage();
}
}  // namespace

TEST(CreateBlockTool, ADragOfMoreThanTenByFiveUnitsCreatesTheBlockAndOpensItsEditor) {
  TDocument t(1);
  t.Tool(TTool::CreateBlock, bkEllipse);
  t.Drag({50, 40}, {71, 46});  // 21 by 6
  ASSERT_EQ(t.d.Count(), 1);
  TShemObj* b = t.d.GetObj(0);
  EXPECT_EQ(t.RectOf(b), (TRect{50, 40, 71, 46}));
  EXPECT_EQ(b->AsBlock()->Data.Kind, bkEllipse);
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{b});
  EXPECT_EQ(t.doc.EditedBlock, b);
  EXPECT_TRUE(t.doc.EditorShown());
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.doc.CanUndo());
  EXPECT_EQ(t.host.state.CurrentTool, TTool::Select);
  EXPECT_EQ(t.host.ToolChanges, 1);
  // The snapshot was taken before the block: Undo takes it away again.
  t.doc.SwapUndo();
  EXPECT_EQ(t.d.Count(), 0);

  // Exactly 10 wide, or exactly 5 high, is not enough; the tool stays and
  // Modified is set all the same.
  t.doc.Modified = false;
  t.Tool(TTool::CreateBlock);
  t.Drag({50, 40}, {60, 60});
  t.Drag({50, 40}, {80, 45});
  EXPECT_EQ(t.d.Count(), 0);
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_EQ(t.host.state.CurrentTool, TTool::CreateBlock);
  EXPECT_TRUE(t.host.Panels[1].isEmpty());  // cleared by every release
}

TEST(CreateBlockTool, AtScaleTwoTheDragMustExceedTwentyByTenPixels) {
  TDocument t(2);
  t.Tool(TTool::CreateBlock);
  t.Drag({100, 100}, {120, 111});
  t.Drag({100, 100}, {121, 110});
  EXPECT_EQ(t.d.Count(), 0);
  t.Tool(TTool::CreateBlock);
  t.Drag({100, 100}, {121, 111});
  ASSERT_EQ(t.d.Count(), 1);
  // Corners through ScreenToDiagram: 60.5 rounds to 60, 55.5 to 56.
  EXPECT_EQ(t.RectOf(t.d.GetObj(0)), (TRect{50, 50, 60, 56}));
}

TEST(CreateBlockTool, ShiftSquaresWithTheSmallerSignedExtent) {
  TDocument t(1);
  t.Tool(TTool::CreateBlock);
  t.Drag({50, 50}, {90, 70}, Qt::ShiftModifier);
  ASSERT_EQ(t.d.Count(), 1);
  EXPECT_EQ(t.RectOf(t.d.GetObj(0)), (TRect{50, 50, 70, 70}));
  // Up and left: min(-30, -50) on both axes.
  t.Tool(TTool::CreateBlock);
  t.Drag({300, 200}, {270, 150}, Qt::ShiftModifier);
  ASSERT_EQ(t.d.Count(), 2);
  EXPECT_EQ(t.RectOf(t.d.GetObj(1)), (TRect{250, 150, 300, 200}));
  // Up and right: m = min(40, -30) = -30 gives a square up and left.
  t.Tool(TTool::CreateBlock);
  t.Drag({300, 250}, {340, 220}, Qt::ShiftModifier);
  ASSERT_EQ(t.d.Count(), 3);
  EXPECT_EQ(t.RectOf(t.d.GetObj(2)), (TRect{270, 220, 300, 250}));
}

TEST(CreateBlockTool, PressOnAnObjectStartsNothingAndADragPastTheEdgeStaysInRange) {
  TDocument t(1);
  AddBlock(t.d, bkSquare, {50, 50, 130, 70});
  t.Tool(TTool::CreateBlock);
  t.Drag({60, 60}, {200, 200});
  EXPECT_EQ(t.d.Count(), 1);
  EXPECT_FALSE(t.doc.Modified);
  // The mouse left the window to the top-left, beyond the diagram's origin.
  t.Drag({200, 200}, {-40, -30});
  ASSERT_EQ(t.d.Count(), 2);
  EXPECT_EQ(t.RectOf(t.d.GetObj(1)), (TRect{0, 0, 200, 200}));
}

TEST(DragFeedback, ARubberRectangleInvertsTheViewWithoutRenderingItAgain) {
  TDocument t(1);
  t.doc.SetColor(Qt::white);
  const QImage before = t.doc.View().copy();
  t.Tool(TTool::CreateBlock);
  t.Press(100, 100);
  t.Move(140, 130);
  t.Move(180, 150);
  const QImage shown = t.Screen();
  // The dotted frame from (100, 100) to (180, 150) turns white to black on
  // its dots; inside and outside stay white, and the previous frame is gone.
  int dots = 0;
  for (int x = 100; x <= 180; ++x) dots += IsBlack(shown, x, 100) ? 1 : 0;
  EXPECT_GT(dots, 20);
  EXPECT_LT(dots, 80);
  EXPECT_EQ(shown.pixel(140, 125), kWhite);
  EXPECT_EQ(shown.pixel(140, 131), kWhite);
  EXPECT_EQ(t.doc.View(), before);  // the view itself was not touched
  EXPECT_EQ(t.host.Panels[0], "(100, 100)");
  EXPECT_EQ(t.host.Panels[1], "(80, 50)");
  t.Release(180, 150);
  EXPECT_EQ(t.Screen(), t.ViewArea());  // no feedback after the release
}

TEST(DragFeedback, OverBlackTheFrameTurnsPixelsWhite) {
  TDocument t(1);
  t.doc.SetColor(Qt::white);
  TShemObj* a = AddBlock(t.d, bkSquare, {100, 100, 180, 150});
  t.doc.Selection.Assign({a});
  t.doc.Redraw();
  // The move feedback starts on the block's own outline.
  t.Press(140, 125);
  const QImage shown = t.Screen();
  int inverted = 0;
  for (int x = 110; x < 130; ++x) {
    EXPECT_TRUE(IsBlack(t.doc.View(), x, 100)) << x;
    inverted += shown.pixel(x, 100) == kWhite ? 1 : 0;
  }
  EXPECT_GE(inverted, 5);
  EXPECT_LE(inverted, 15);
  t.Release(140, 125);
}

TEST(SelectTool, PressSelectsReplacesOrTogglesWithShift) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(t.d, bkSquare, {10, 100, 90, 120});
  TShemObj* c = AddBlock(t.d, bkSquare, {200, 100, 280, 120});
  auto click = [&t](int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
    t.Press(x, y, m);
    const TMouseState s = t.doc.MouseState;
    t.Release(x, y, m);
    return s;
  };
  EXPECT_EQ(click(50, 20), TMouseState::MovingSelection);
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{a});
  click(50, 110, Qt::ShiftModifier);
  click(240, 110, Qt::ShiftModifier);
  EXPECT_EQ(t.Selected(), (std::vector<TShemObj*>{a, b, c}));
  // Pressing a selected block without Shift keeps the whole selection.
  click(50, 110);
  EXPECT_EQ(t.Selected(), (std::vector<TShemObj*>{a, b, c}));
  // Shift-press on a selected block removes it and still moves the others.
  EXPECT_EQ(click(50, 110, Qt::ShiftModifier), TMouseState::MovingSelection);
  EXPECT_EQ(t.Selected(), (std::vector<TShemObj*>{a, c}));
  // Without Shift an unselected block replaces the selection.
  click(50, 110);
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{b});
  // A press on empty space without Shift clears it (and starts a band).
  EXPECT_EQ(click(350, 250), TMouseState::RubberBand);
  EXPECT_TRUE(t.Selected().empty());
  EXPECT_FALSE(t.doc.CanUndo());  // no block moved
}

TEST(SelectTool, ASelectedLinkAloneStartsNoMove) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(t.d, bkSquare, {10, 100, 90, 120});
  TShemObj* ab = AddLink(t.d, a, b, {32767, 65535}, {32767, 0});  // (50, 30) to (50, 100)
  t.Press(50, 60);
  EXPECT_EQ(t.doc.MouseState, TMouseState::Idle);
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{ab});
  t.Move(80, 90);
  t.Release(80, 90);
  EXPECT_FALSE(t.doc.Modified);
  EXPECT_FALSE(t.doc.CanUndo());
  EXPECT_EQ(t.RectOf(a), (TRect{10, 10, 90, 30}));
  // A press on the selected link's end starts moving that end instead.
  t.Press(50, 100);
  EXPECT_EQ(t.doc.MouseState, TMouseState::MovingLinkEnd);
  auto& tool = static_cast<TSelectTool&>(t.doc.Tool(TTool::Select));
  EXPECT_EQ(tool.MovedLink(), ab);
  EXPECT_FALSE(tool.MovedLinkEnd());
  t.Release(50, 100);
}

TEST(SelectTool, RubberBandSelectsWhatItTouchesAndShiftNeverListsTwice) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(t.d, bkSquare, {10, 100, 90, 120});
  TShemObj* c = AddBlock(t.d, bkSquare, {200, 100, 280, 120});
  TShemObj* ab = AddLink(t.d, a, b, {32767, 65535}, {32767, 0});
  t.Drag({5, 5}, {95, 50});  // a and the top of the link
  EXPECT_EQ(t.Selected(), (std::vector<TShemObj*>{a, ab}));
  EXPECT_EQ(t.host.Panels[0], "(5, 5)");
  // A band from bottom-right to top-left, with Shift, touching everything:
  // the new objects follow in list order.
  t.Drag({300, 130}, {40, 25}, Qt::ShiftModifier);
  EXPECT_EQ(t.Selected(), (std::vector<TShemObj*>{a, ab, b, c}));
  // Without Shift the band starts afresh.
  t.Drag({150, 90}, {300, 130});
  EXPECT_EQ(t.Selected(), std::vector<TShemObj*>{c});
  EXPECT_FALSE(t.doc.Modified);
}

TEST(SelectTool, RubberBandAtTheTopEdgeScrollsUpOneUnitPerMoveUntilZero) {
  TDocument t(2);
  t.doc.ScrollBar2->setValue(3);
  ASSERT_EQ(t.doc.Origin.Y, 3);
  t.Press(200, 100);
  for (int i = 0; i < 5; ++i) t.Move(200, 0);
  EXPECT_EQ(t.doc.ScrollBar2->value(), 0);
  EXPECT_EQ(t.doc.Origin.Y, 0);
  EXPECT_EQ(t.doc.DragStart.Y, 103);  // one pixel per unit scrolled
  // At the bottom edge it scrolls down.
  t.Move(200, t.doc.height() - 10);
  EXPECT_EQ(t.doc.Origin.Y, 1);
  t.Release(200, t.doc.height() - 10);
  EXPECT_EQ(t.doc.MouseState, TMouseState::Idle);
}

TEST(SelectTool, MovingTheSelectionMovesItsBlocksAndTheLinksFollow) {
  TDocument t(2);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(t.d, bkSquare, {10, 100, 90, 120});
  TShemObj* c = AddBlock(t.d, bkSquare, {200, 100, 280, 120});
  TShemObj* ab = AddLink(t.d, a, b, {32767, 65535}, {32767, 0});
  t.doc.Selection.Assign({a, ab, b});
  t.doc.Redraw();
  const QImage before = t.doc.View().copy();
  // 61 by 41 pixels at scale 2: ScreenToDiagram gives 30 (30.5 to even) by 20 (20.5 to even).
  t.Press(100, 40);
  t.Move(130, 60);
  EXPECT_EQ(t.doc.View(), before);  // only the feedback changes during the drag
  EXPECT_NE(t.Screen(), before.copy(t.Area()));
  t.Move(161, 81);
  t.Release(161, 81);
  EXPECT_EQ(t.RectOf(a), (TRect{40, 30, 120, 50}));
  EXPECT_EQ(t.RectOf(b), (TRect{40, 120, 120, 140}));
  EXPECT_EQ(t.RectOf(c), (TRect{200, 100, 280, 120}));
  EXPECT_EQ(t.d.TargetPoint(ab), (TPoint{80, 120}));
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.doc.CanUndo());
  EXPECT_EQ(t.host.Listing.Rows.size(), 3u);  // refilled
  // A move by zero still sets Modified but takes no snapshot (Redo stays).
  t.doc.SwapUndo();
  ASSERT_TRUE(t.doc.CanRedo());
  t.doc.Modified = false;
  t.doc.SelectAll();
  t.Press(100, 40);
  t.Release(100, 40);
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.doc.CanRedo());
  EXPECT_EQ(t.RectOf(t.d.GetObj(0)), (TRect{10, 10, 90, 30}));
}

TEST(SelectTool, AMoveStopsWhereTheGroupWouldLeaveTheDiagram) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {30, 40, 110, 60});
  TShemObj* b = AddBlock(t.d, bkSquare, {150, 20, 230, 40});
  t.doc.Selection.Assign({a, b});
  // 100 left and 100 up: the group stops at x 0 (a's left) and y 0 (b's top).
  t.Drag({60, 50}, {-40, -50});
  EXPECT_EQ(t.RectOf(a), (TRect{0, 20, 80, 40}));
  EXPECT_EQ(t.RectOf(b), (TRect{120, 0, 200, 20}));
  // At the far end of the diagram the right edge stops at 65535.
  t.doc.ScrollBar1->setValue(t.doc.ScrollBar1->maximum());
  TShemObj* c = AddBlock(t.d, bkSquare, {65400, 100, 65480, 120});
  t.doc.Selection.Assign({c});
  const int x = t.doc.DiagramToScreen({65440, 0}).X;
  t.Drag({x, 110}, {x + 300, 110});
  EXPECT_EQ(t.RectOf(c), (TRect{65455, 100, 65535, 120}));
}

TEST(SelectTool, ResizeKeepsTwentyByTenAndTheDiagramRange) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {100, 50, 180, 70});
  t.doc.Selection.Assign({a});
  // Left handle (7) at (100, 60) dragged 100 to the right: 20 wide at most.
  t.Press(100, 60);
  EXPECT_EQ(t.doc.MouseState, TMouseState::Resizing);
  EXPECT_TRUE(Shows(t.doc, TCursor::SizeWE));
  EXPECT_TRUE(t.doc.CanUndo());  // the snapshot is taken at the press
  t.Move(150, 60);
  EXPECT_EQ(t.RectOf(a), (TRect{150, 50, 180, 70}));  // changed during the move
  EXPECT_FALSE(t.doc.Modified);
  t.Move(200, 60);
  t.Release(200, 60);
  EXPECT_EQ(t.RectOf(a), (TRect{160, 50, 180, 70}));
  EXPECT_TRUE(t.doc.Modified);
  // Top handle (1) at (170, 50) dragged above the diagram: stops at 0.
  t.Press(170, 50);
  t.Move(170, -30);
  t.Release(170, -30);
  EXPECT_EQ(t.RectOf(a), (TRect{160, 0, 180, 70}));
  // Bottom-right handle (4) dragged up and left past the block: 20 by 10.
  TShemObj* b = AddBlock(t.d, bkSquare, {100, 100, 180, 130});
  t.doc.Selection.Assign({b});
  t.Press(180, 130);
  t.Move(0, 0);
  t.Release(0, 0);
  EXPECT_EQ(t.RectOf(b), (TRect{100, 100, 120, 110}));
  // Beyond the diagram's right end the right edge stops at 65535 and the
  // bottom edge follows the mouse.
  t.doc.ScrollBar1->setValue(t.doc.ScrollBar1->maximum());
  TShemObj* c = AddBlock(t.d, bkSquare, {65400, 100, 65480, 120});
  t.doc.Selection.Assign({c});
  const TPoint corner = t.doc.DiagramToScreen({65480, 120});
  t.Press(corner.X, corner.Y);
  t.Move(corner.X + 200, corner.Y + 17);
  t.Release(corner.X + 200, corner.Y + 17);
  EXPECT_EQ(t.RectOf(c), (TRect{65400, 100, 65535, 137}));
}

TEST(SelectTool, AnotherButtonDuringAResizeGivesTheBlockItsRectangleBack) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {100, 50, 180, 70});
  t.doc.Selection.Assign({a});
  t.Press(180, 70);
  t.Move(250, 120);
  EXPECT_EQ(t.RectOf(a), (TRect{100, 50, 250, 120}));
  t.Press(250, 120, Qt::NoModifier, Qt::RightButton);
  EXPECT_EQ(t.doc.MouseState, TMouseState::Idle);
  EXPECT_EQ(t.RectOf(a), (TRect{100, 50, 180, 70}));
  EXPECT_EQ(t.doc.DragStart, (TPoint{250, 120}));
  t.Release(250, 120, Qt::NoModifier, Qt::RightButton);
  t.Release(250, 120);
  EXPECT_FALSE(t.doc.Modified);
  EXPECT_EQ(t.Screen(), t.ViewArea());
}

TEST(SelectTool, UndoDuringADragLeavesNoReferenceToTheReplacedObjects) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {100, 50, 180, 70});
  t.doc.Selection.Assign({a});
  t.Press(180, 70);  // resize: snapshot taken
  t.Move(250, 120);
  auto& tool = static_cast<TSelectTool&>(t.doc.Tool(TTool::Select));
  ASSERT_EQ(tool.ResizedBlock(), a);
  t.doc.SwapUndo();
  EXPECT_EQ(tool.ResizedBlock(), nullptr);
  EXPECT_EQ(t.doc.MouseState, TMouseState::Idle);
  EXPECT_TRUE(t.doc.Selection.Empty());
  t.Move(300, 150);  // no drag any more: nothing refers to the old block
  t.Release(300, 150);
  ASSERT_EQ(t.d.Count(), 1);
  EXPECT_EQ(t.RectOf(t.d.GetObj(0)), (TRect{100, 50, 180, 70}));
  EXPECT_EQ(t.host.Listing.Rows, std::vector<TShemObj*>{t.d.GetObj(0)});
}

TEST(MoveDocumentTool, TheDocumentMovesOneUnitPerPixelAtAnyScale) {
  TDocument t(4);
  t.doc.ShowGrid = true;
  t.doc.ScrollBar1->setValue(500);
  t.Tool(TTool::MoveDocument);
  t.Move(300, 100);
  EXPECT_TRUE(Shows(t.doc, TCursor::Hand));
  t.Press(300, 100);
  EXPECT_TRUE(t.doc.DocumentDragging);
  EXPECT_TRUE(Shows(t.doc, TCursor::HandClosed));
  t.Move(250, 100);
  EXPECT_FALSE(IsBlack(t.doc.View(), 0, 0));  // no grid while dragging
  t.Move(200, 110);
  t.Release(200, 110);
  EXPECT_EQ(t.doc.Origin, (TPoint{600, 0}));  // 100 right; 10 up stops at 0
  EXPECT_EQ(t.doc.ScrollBar1->value(), 600);
  EXPECT_FALSE(t.doc.DocumentDragging);
  EXPECT_TRUE(Shows(t.doc, TCursor::Hand));
  EXPECT_TRUE(IsBlack(t.doc.View(), 0, 0));
  EXPECT_FALSE(t.doc.Modified);
}

TEST(EditTextTool, PressOnABlockOpensTheEditorElsewhereGoesBackToSelect) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {100, 50, 180, 70}, "first\r\nsecond");
  t.Tool(TTool::EditText);
  t.Press(140, 60);
  t.Release(140, 60);
  EXPECT_TRUE(t.doc.EditorShown());
  EXPECT_EQ(t.doc.EditedBlock, a);
  EXPECT_EQ(t.doc.Memo1->toPlainText(), "first\nsecond");
  t.doc.Memo1->setPlainText("one\ntwo");
  // The next press commits the text (no snapshot) and, off any block, goes to select.
  t.Press(300, 200);
  t.Release(300, 200);
  EXPECT_FALSE(t.doc.EditorShown());
  EXPECT_EQ(t.doc.EditedBlock, nullptr);
  EXPECT_EQ(a->AsBlock()->Data.Text, "one\r\ntwo");
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_FALSE(t.doc.CanUndo());
  EXPECT_EQ(t.host.state.CurrentTool, TTool::Select);
}
