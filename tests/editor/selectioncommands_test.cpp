// The selection commands of the document window and the one-step undo:
// preconditions, results, and their effect on Modified and the snapshot.
#include <QScrollBar>

#include "documentfixture.h"
#include "editor/selectionops.h"

namespace {
// a -> b with a link, and a polyline a -> p1 -> p2 -> c.
struct Chart {
  TDocument t;
  TShem& d = t.d;
  TShemObj* a = AddBlock(d, bkSquare, {100, 100, 180, 120}, "a");
  TShemObj* b = AddBlock(d, bkSquare, {100, 200, 180, 220}, "b");
  TShemObj* c = AddBlock(d, bkSquare, {300, 200, 380, 220}, "c");
  TShemObj* ab = AddLink(d, a, b, {32767, 65535}, {32767, 0});
  TShemObj* p1 = AddPoint(d, {250, 110});
  TShemObj* p2 = AddPoint(d, {250, 210});
  TShemObj* s1 = AddLink(d, a, p1, {65535, 32767});
  TShemObj* s2 = AddLink(d, p1, p2);
  TShemObj* s3 = AddLink(d, p2, c, PosCentre, {0, 32767});
};

std::vector<TShemObj*> Objects(const TShem& d) {
  std::vector<TShemObj*> v;
  for (int i = 0; i < d.Count(); ++i) v.push_back(d.GetObj(i));
  return v;
}

// Joins s to t with a single arrow of the given type.
TShemObj* Arrow(TShem& d, TShemObj* s, TShemObj* t, uint8_t type = ltArrowTarget) {
  return AddLink(d, s, t, PosCentre, PosCentre, type);
}
}  // namespace

TEST(Undo, UndoRedoUndoExchangeTheDiagramWithTheSnapshot) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  doc.SwapUndo();  // no snapshot yet: nothing happens
  EXPECT_EQ(ch.d.Count(), 9);
  doc.Selection.Assign({ch.b});
  doc.DeleteSelection();  // takes b and the link a -> b
  EXPECT_EQ(ch.d.Count(), 7);
  EXPECT_TRUE(doc.Modified);
  EXPECT_TRUE(doc.CanUndo());
  EXPECT_FALSE(doc.CanRedo());
  EXPECT_TRUE(doc.Selection.Empty());

  doc.SelectAll();
  doc.SwapUndo();
  EXPECT_EQ(ch.d.Count(), 9);
  EXPECT_TRUE(doc.Selection.Empty());
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_TRUE(doc.CanRedo());
  EXPECT_EQ(ch.d.GetObj(1)->AsBlock()->Data.Text, "b");
  EXPECT_TRUE(ch.d.CheckIntegrity());

  doc.SwapUndo();  // Redo
  EXPECT_EQ(ch.d.Count(), 7);
  EXPECT_TRUE(doc.CanUndo());
  EXPECT_FALSE(doc.CanRedo());
  doc.SwapUndo();  // Undo again
  EXPECT_EQ(ch.d.Count(), 9);
  EXPECT_TRUE(doc.CanRedo());
  // A new change discards the redo state.
  doc.SaveUndo();
  EXPECT_TRUE(doc.CanUndo());
  EXPECT_FALSE(doc.CanRedo());
}

TEST(Undo, TheSwapLetsGoOfTheEditedBlockAndItsPendingTextAndRefillsTheListing) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  doc.BeginTextEdit(ch.a);
  doc.Memo1->setPlainText("typed");
  doc.SaveUndo();  // hides the editor; the text stays pending for a
  EXPECT_FALSE(doc.EditorShown());
  EXPECT_EQ(doc.EditedBlock, ch.a);
  doc.SwapUndo();
  EXPECT_EQ(doc.EditedBlock, nullptr);
  doc.Memo1Exit();  // nothing left to commit to
  EXPECT_EQ(ch.d.GetObj(0)->AsBlock()->Data.Text, "a");
  // Rows of the listing refer to the new objects only.
  const std::vector<TShemObj*> blocks = {ch.d.GetObj(0), ch.d.GetObj(1), ch.d.GetObj(2)};
  EXPECT_EQ(ch.t.host.Listing.Rows, blocks);
  // Pending text commits at the next exit when its block is still there.
  doc.BeginTextEdit(ch.d.GetObj(1));
  doc.Memo1->setPlainText("x\ny");
  doc.SaveUndo();
  doc.Memo1Exit();
  EXPECT_EQ(ch.d.GetObj(1)->AsBlock()->Data.Text, "x\r\ny");
}

TEST(DeleteSelection, RemovesWhatHangsOnTheSelectionAndNoRowOutlivesItsObject) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  doc.DeleteSelection();  // empty selection: nothing, no snapshot
  EXPECT_FALSE(doc.Modified);
  EXPECT_FALSE(doc.CanUndo());
  // The listing is hidden: it is not refilled, but its rows go with the objects.
  ch.t.host.Listing.Shown = false;
  doc.Selection.Assign({ch.s2, ch.a, ch.p1, ch.c});
  doc.DeleteSelection();
  EXPECT_EQ(Objects(ch.d), std::vector<TShemObj*>{ch.b});
  EXPECT_TRUE(ch.t.host.Listing.Rows.empty());
  EXPECT_TRUE(doc.Selection.Empty());
  EXPECT_TRUE(ch.d.CheckIntegrity());
}

TEST(SelectionBounds, CoversTheSelectedBlocksOnly) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  doc.Selection.Assign({ch.ab, ch.s2});
  EXPECT_EQ(doc.SelectionBounds(), (TRect{65535, 65535, 0, 0}));
  EXPECT_EQ(doc.SelectedBlockCount(), 0);
  doc.Selection.Assign({ch.c, ch.ab, ch.a, ch.p2});
  EXPECT_EQ(doc.SelectionBounds(), (TRect{100, 100, 380, 220}));
  EXPECT_EQ(doc.SelectedBlockCount(), 3);
  doc.SelectAll();
  EXPECT_EQ(doc.Selection.Items(), Objects(ch.d));
}

TEST(Duplicate, CopiesBlocksAndTheLinksBetweenThemTenUnitsDownRight) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  ch.t.Tool(TTool::MoveDocument);
  doc.Selection.Assign({ch.ab});
  doc.DuplicateSelection();  // no block: nothing
  EXPECT_EQ(ch.d.Count(), 9);
  EXPECT_EQ(ch.t.host.state.CurrentTool, TTool::MoveDocument);

  doc.Selection.Assign({ch.ab, ch.b, ch.a});
  doc.DuplicateSelection();
  ASSERT_EQ(ch.d.Count(), 12);
  TShemObj* b2 = ch.d.GetObj(9);
  TShemObj* a2 = ch.d.GetObj(10);
  TShemObj* ab2 = ch.d.GetObj(11);
  EXPECT_EQ(ch.t.RectOf(a2), (TRect{110, 110, 190, 130}));
  EXPECT_EQ(ch.t.RectOf(b2), (TRect{110, 210, 190, 230}));
  ASSERT_TRUE(ab2->IsLink());
  EXPECT_EQ(ab2->AsLink()->Data.Source.Get(), a2);
  EXPECT_EQ(ab2->AsLink()->Data.Target.Get(), b2);
  EXPECT_EQ(doc.Selection.Items(), (std::vector<TShemObj*>{ab2, b2, a2}));
  EXPECT_EQ(ch.t.host.state.CurrentTool, TTool::Select);
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_TRUE(doc.Modified);
  EXPECT_TRUE(ch.d.CheckIntegrity());

  // One block alone: only the block.
  doc.Selection.Assign({ch.a});
  doc.DuplicateSelection();
  EXPECT_EQ(ch.d.Count(), 13);
  EXPECT_EQ(doc.Selection.Items(), std::vector<TShemObj*>{ch.d.GetObj(12)});

  // Near the end of the range the copy moves less, never beyond 65535.
  TShemObj* far = AddBlock(ch.d, bkSquare, {65450, 65520, 65530, 65530});
  doc.Selection.Assign({far});
  doc.DuplicateSelection();
  EXPECT_EQ(ch.t.RectOf(doc.Selection[0]), (TRect{65455, 65525, 65535, 65535}));
}

TEST(Copy, APolylineGoesWithBothEndBlocksOrNotAtAll) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  TShem& clip = *ch.t.host.state.ClipboardDiagram;
  // Everything of the polyline, selected link first.
  doc.Selection.Assign({ch.s3, ch.s2, ch.s1, ch.p1, ch.a, ch.p2, ch.c});
  doc.CopySelection();
  // Blocks first, in selection order, then the links.
  EXPECT_EQ(doc.Selection.Items(),
            (std::vector<TShemObj*>{ch.p1, ch.a, ch.p2, ch.c, ch.s2, ch.s1, ch.s3}));
  ASSERT_EQ(clip.Count(), 7);
  EXPECT_EQ(clip.GetObj(1)->AsBlock()->Data.Text, "a");
  EXPECT_EQ(clip.GetObj(1)->AsBlock()->Data.Rect(), (TRect{110, 110, 190, 130}));
  for (int i = 4; i < 7; ++i) EXPECT_TRUE(clip.GetObj(i)->IsLink());
  EXPECT_EQ(clip.GetObj(4)->AsLink()->Data.Source.Get(), clip.GetObj(0));  // p1 -> p2
  EXPECT_EQ(clip.GetObj(4)->AsLink()->Data.Target.Get(), clip.GetObj(2));
  EXPECT_TRUE(clip.CheckIntegrity());
  EXPECT_FALSE(doc.Modified);
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_EQ(ch.d.Count(), 9);

  // c unselected: the whole polyline is left out, down to a alone.
  doc.Selection.Assign({ch.a, ch.s1, ch.p1, ch.s2, ch.p2, ch.s3});
  doc.CopySelection();
  EXPECT_EQ(doc.Selection.Items(), std::vector<TShemObj*>{ch.a});
  ASSERT_EQ(clip.Count(), 1);
  // Links alone copy nothing and keep the clipboard.
  doc.Selection.Assign({ch.ab});
  doc.CopySelection();
  EXPECT_EQ(clip.Count(), 1);
}

TEST(Paste, TheGroupLandsFiftyUnitsInsideTheViewAndStaysInRange) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  doc.PasteClipboard();  // empty clipboard: nothing
  EXPECT_FALSE(doc.Modified);
  doc.Selection.Assign({ch.a, ch.b, ch.ab});
  doc.CopySelection();
  doc.PasteClipboard();
  ASSERT_EQ(ch.d.Count(), 12);
  EXPECT_EQ(ch.t.RectOf(ch.d.GetObj(9)), (TRect{50, 50, 130, 70}));
  EXPECT_EQ(ch.t.RectOf(ch.d.GetObj(10)), (TRect{50, 150, 130, 170}));
  EXPECT_EQ(doc.Selection.Items(),
            (std::vector<TShemObj*>{ch.d.GetObj(9), ch.d.GetObj(10), ch.d.GetObj(11)}));
  EXPECT_TRUE(doc.Modified);
  EXPECT_TRUE(doc.CanUndo());
  // Twice: a second copy on top of the first.
  doc.PasteClipboard();
  EXPECT_EQ(ch.t.RectOf(ch.d.GetObj(12)), (TRect{50, 50, 130, 70}));
  // Scrolled to the end of the diagram, the group is pulled back into range.
  doc.ScrollBar1->setValue(doc.ScrollBar1->maximum());
  doc.Origin.X = 65500;
  doc.PasteClipboard();
  EXPECT_EQ(ch.t.RectOf(ch.d.GetObj(15)), (TRect{65455, 50, 65535, 70}));
  doc.SwapUndo();
  EXPECT_EQ(ch.d.Count(), 15);
}

TEST(JoinSquares, MergesChainsOfRectanglesIntoTheFirst) {
  TDocument t;
  TShem& d = t.d;
  // The first rectangle has no leaving arrow; the scan goes on to r1.
  TShemObj* lone = AddBlock(d, bkSquare, {0, 0, 80, 20}, "lone");
  TShemObj* r1 = AddBlock(d, bkSquare, {100, 0, 180, 20}, "x := 1");
  TShemObj* r2 = AddBlock(d, bkSquare, {100, 50, 180, 70}, "y := 2;");
  TShemObj* r3 = AddBlock(d, bkSquare, {100, 100, 180, 120}, "z := 3");
  TShemObj* e = AddBlock(d, bkEllipse, {300, 100, 380, 120}, "end");
  Arrow(d, r1, r2);
  Arrow(d, r3, r2, ltArrowSource);  // r2 -> r3, the arrowhead at the source
  TShemObj* out = Arrow(d, r3, e);
  TShemObj* in = Arrow(d, e, lone);
  t.doc.JoinSquares();
  EXPECT_EQ(Objects(d), (std::vector<TShemObj*>{lone, r1, e, out, in}));
  EXPECT_EQ(r1->AsBlock()->Data.Text, "x := 1;\r\ny := 2;\r\nz := 3");
  EXPECT_EQ(t.RectOf(r1), (TRect{100, 0, 180, 20}));
  EXPECT_EQ(out->AsLink()->Data.Source.Get(), r1);  // moved over at its old position
  EXPECT_EQ(out->AsLink()->Data.SourcePos, PosCentre);
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_TRUE(t.doc.CanUndo());
  EXPECT_TRUE(d.CheckIntegrity());
}

TEST(JoinSquares, RefusesSecondArrivalsLinksOnTheArrowOtherKindsAndLoops) {
  TDocument t;
  TShem& d = t.d;
  TShemObj* r1 = AddBlock(d, bkSquare, {0, 0, 80, 20});
  TShemObj* r2 = AddBlock(d, bkSquare, {0, 50, 80, 70}, "b");
  TShemObj* r3 = AddBlock(d, bkSquare, {0, 100, 80, 120}, "c");
  TShemObj* other = AddBlock(d, bkRhomb, {200, 50, 280, 70});
  TShemObj* r4 = AddBlock(d, bkSquare, {0, 200, 80, 220}, "loop");
  Arrow(d, r1, r2);
  Arrow(d, other, r2);  // r2 has two arriving arrows
  TShemObj* q23 = Arrow(d, r2, r3);
  Arrow(d, r4, r4);  // an arrow from r4 back into itself
  TShemObj* r5 = AddBlock(d, bkSquare, {200, 200, 280, 220}, "e");
  TShemObj* r6 = AddBlock(d, bkSquare, {200, 300, 280, 320}, "f");
  TShemObj* q56 = Arrow(d, r5, r6);
  AddLink(d, q56, other);  // something hangs on the arrow itself
  TShemObj* r7 = AddBlock(d, bkSquare, {400, 200, 480, 220}, "g");
  Arrow(d, r7, other);
  Arrow(d, r7, r6, ltArrowTarget | ltDotted);  // only plain arrows count
  t.doc.JoinSquares();
  // Only r2 -> r3 merges; r1 keeps its empty text.
  EXPECT_EQ(d.IndexOf(r3), -1);
  EXPECT_EQ(d.IndexOf(q23), -1);
  EXPECT_EQ(r2->AsBlock()->Data.Text, "b;\r\nc");
  EXPECT_EQ(r1->AsBlock()->Data.Text, "");
  EXPECT_EQ(r4->AsBlock()->Data.Text, "loop");
  EXPECT_NE(d.IndexOf(r6), -1);
  EXPECT_EQ(d.Count(), 14);
  EXPECT_TRUE(d.CheckIntegrity());
  // An empty text gets ";" before the next one.
  TShemObj* r8 = AddBlock(d, bkSquare, {600, 0, 680, 20});
  Arrow(d, r8, AddBlock(d, bkSquare, {600, 50, 680, 70}, "next"));
  t.doc.JoinSquares();
  EXPECT_EQ(r8->AsBlock()->Data.Text, ";\r\nnext");
}

TEST(TextAlignmentAndScrolling, AlignSelectedBlocksAndCentreABlockInTheView) {
  Chart ch;
  TChildD& doc = ch.t.doc;
  doc.SetTextAlignment(2);  // nothing selected: no snapshot
  EXPECT_FALSE(doc.CanUndo());
  doc.Selection.Assign({ch.a, ch.ab, ch.c});
  doc.SetTextAlignment(2);
  EXPECT_EQ(ch.a->AsBlock()->Data.TextAlign, 2);
  EXPECT_EQ(ch.c->AsBlock()->Data.TextAlign, 2);
  EXPECT_EQ(ch.b->AsBlock()->Data.TextAlign, 0);
  EXPECT_TRUE(doc.CanUndo());

  ch.t.SetScale(2);
  TShemObj* far = AddBlock(ch.d, bkSquare, {30000, 20000, 30080, 20020});
  doc.ScrollToBlock(far);
  // The block's centre (30040, 20010) goes to the view's centre, in units.
  const TPoint centre = MidPoint(doc.ViewTopLeft, doc.ViewBottomRight);
  const TPoint half = ScalePoint(PointSub(centre, doc.ViewTopLeft), 0.5);
  EXPECT_EQ(doc.Origin, PointSub({30040, 20010}, half));
  EXPECT_EQ(doc.Origin, (TPoint{doc.ScrollBar1->value(), doc.ScrollBar2->value()}));
  EXPECT_LE(std::abs(doc.DiagramToScreen({30040, 20010}).X - centre.X), 1);
  // Near the top-left corner the view stops at the diagram's edge.
  doc.ScrollToBlock(AddBlock(ch.d, bkSquare, {20, 10, 100, 30}));
  EXPECT_EQ(doc.Origin, (TPoint{0, 0}));
  // Near the far end the bars keep the view within the diagram.
  TShemObj* corner = AddBlock(ch.d, bkSquare, {65450, 65500, 65530, 65520});
  doc.ScrollToBlock(corner);
  EXPECT_EQ(doc.Origin, (TPoint{doc.ScrollBar1->maximum(), doc.ScrollBar2->maximum()}));
}

TEST(SelectionOps, PruningRepeatsWhileLinksGoAndCopyOrderPutsLinksAfterTheirEnds) {
  Chart ch;
  // b unselected: a -> b goes; the polyline stays whole.
  std::vector<TShemObj*> sel = {ch.ab, ch.a, ch.s1, ch.p1, ch.s2, ch.p2, ch.s3, ch.c};
  PruneForCopy(ch.d, sel);
  EXPECT_EQ(sel, (std::vector<TShemObj*>{ch.a, ch.s1, ch.p1, ch.s2, ch.p2, ch.s3, ch.c}));
  // A Point whose second link is not selected goes; then its first link, in
  // a later pass, and the polyline falls apart back to the blocks.
  sel = {ch.a, ch.s1, ch.p1, ch.p2, ch.s3, ch.c};
  PruneForCopy(ch.d, sel);
  EXPECT_EQ(sel, (std::vector<TShemObj*>{ch.a, ch.c}));

  // A link hanging on another selected link is copied after it.
  TShemObj* note = AddBlock(ch.d, bkComment, {400, 100, 480, 120});
  TShemObj* hang = AddLink(ch.d, note, ch.ab);
  sel = {hang, ch.ab, ch.a, note, ch.b};
  OrderForCopy(sel);
  EXPECT_EQ(sel, (std::vector<TShemObj*>{ch.a, note, ch.b, ch.ab, hang}));
  TShem clip;
  const std::vector<TShemObj*> copies = CopyObjects(clip, sel, {0, 0}, false);
  EXPECT_EQ(clip.Count(), 5);
  EXPECT_EQ(copies[4]->AsLink()->Data.Target.Get(), copies[3]);
  // Without that order the hanging link would find no copy of its end.
  TShem clip2;
  CopyObjects(clip2, {ch.a, note, ch.b, hang, ch.ab}, {0, 0}, true);
  EXPECT_EQ(clip2.Count(), 4);

  EXPECT_EQ(ClampShift({10, 10, 100, 100}, {-50, 70000}), (TPoint{-10, 65435}));
  EXPECT_EQ(ClampShift({10, 10, 100, 100}, {-50, 5}, 4), (TPoint{-40, 5}));
  EXPECT_EQ(ClampShift({65535, 65535, 0, 0}, {7, 8}), (TPoint{7, 8}));
}
