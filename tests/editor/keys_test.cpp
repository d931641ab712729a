// The window's keys, the in-place editor's keys and the double click.
#include <QClipboard>
#include <QScrollBar>

#include "documentfixture.h"

namespace {
const Link& L(const TShemObj* o) { return o->AsLink()->Data; }
}  // namespace

TEST(InPlaceEditor, EscapeStoresTwoLinesWithCrLfAndNoneAfter) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 120, 60});
  t.doc.BeginTextEdit(a);
  ASSERT_TRUE(t.doc.EditorShown());
  QTest::keyClicks(t.doc.Memo1, "one");
  QTest::keyClick(t.doc.Memo1, Qt::Key_Return);
  QTest::keyClicks(t.doc.Memo1, "two");
  QTest::keyClick(t.doc.Memo1, Qt::Key_Escape);
  EXPECT_FALSE(t.doc.EditorShown());
  EXPECT_EQ(a->AsBlock()->Data.Text, "one\r\ntwo");
  EXPECT_EQ(t.doc.EditedBlock, nullptr);
  EXPECT_FALSE(t.doc.CanUndo());
}

// The committed text replaces the old one on the screen: the view shows what
// a full repaint shows, with a selected block and a link through the area.
TEST(InPlaceEditor, CommittedTextIsPaintedInPlaceOfTheOldText) {
  for (int scale : {1, 2}) {
    TDocument t(scale);
    t.doc.ShowGrid = true;
    TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 120, 60}, "count := 0");
    TShemObj* b = AddBlock(t.d, bkEllipse, {20, 90, 110, 120}, "end");
    AddLink(t.d, a, b);
    // A selected neighbour whose handles reach into the repainted area.
    TShemObj* c = AddBlock(t.d, bkSquare, {125, 10, 140, 60});
    t.doc.Selection.Assign({a, c});
    t.doc.Redraw();
    t.doc.BeginTextEdit(a);
    t.doc.Memo1->selectAll();
    QTest::keyClicks(t.doc.Memo1, "x");
    QTest::keyClick(t.doc.Memo1, Qt::Key_Escape);
    ASSERT_EQ(a->AsBlock()->Data.Text, "x");
    const QImage committed = t.doc.View().copy();
    t.doc.Redraw();
    EXPECT_TRUE(committed == t.doc.View()) << "scale " << scale;

    // A user block whose text rectangle reaches far beyond its outline.
    auto wide = std::make_unique<TUserBlock>();
    for (TPercentPoint p : {TPercentPoint{0, 0}, TPercentPoint{100, 0}, TPercentPoint{100, 100}})
      wide->AddPoint(p);
    wide->SetEditRect(0, 0, 250, 100);
    t.host.state.UserBlocks.Add(std::move(wide));
    TShemObj* u = AddBlock(t.d, bkUserFirst, {150, 10, 190, 40},
                           "a long line of text that spills far out to the right");
    t.doc.Redraw();
    t.doc.BeginTextEdit(u);
    t.doc.Memo1->selectAll();
    QTest::keyClicks(t.doc.Memo1, "y");
    QTest::keyClick(t.doc.Memo1, Qt::Key_Escape);
    const QImage afterUser = t.doc.View().copy();
    t.doc.Redraw();
    EXPECT_TRUE(afterUser == t.doc.View()) << "user block, scale " << scale;
  }
}

TEST(InPlaceEditor, CtrlCCopiesTheSelectedText) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 120, 60}, "copy me");
  t.doc.BeginTextEdit(a);
  t.doc.Memo1->selectAll();
  QApplication::clipboard()->setText("before");
  QTest::keyClick(t.doc.Memo1, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "copy me");
  EXPECT_TRUE(t.doc.EditorShown());
}

TEST(InPlaceEditor, StopsAtTheScrollBarAndUsesTheDrawingFont) {
  TDocument t(4);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 200});
  t.doc.BeginTextEdit(a);
  const QRect g = t.doc.Memo1->geometry();
  EXPECT_EQ(g.top() + g.height(), t.doc.ViewBottomRight.Y);
  EXPECT_EQ(t.doc.Memo1->font(), t.doc.CanvasFont());
  EXPECT_EQ(t.doc.Memo1->font().pointSize(), 20);
}

TEST(WindowKeys, PageUpAndDownStepTwentyUnits) {
  TDocument t(1);
  t.doc.ScrollBar2->setValue(25);
  EXPECT_TRUE(t.doc.FormKeyDown(Qt::Key_PageUp, Qt::NoModifier));
  EXPECT_EQ(t.doc.ScrollBar2->value(), 5);
  EXPECT_EQ(t.doc.Origin.Y, 5);
  t.doc.ScrollBar2->setValue(15);
  t.doc.FormKeyDown(Qt::Key_PageUp, Qt::NoModifier);
  EXPECT_EQ(t.doc.ScrollBar2->value(), 15);
  t.doc.FormKeyDown(Qt::Key_PageDown, Qt::NoModifier);
  EXPECT_EQ(t.doc.ScrollBar2->value(), 35);
  EXPECT_EQ(t.doc.Origin.Y, 35);
  // Paging while typing commits the text.
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 40, 120, 90});
  t.doc.BeginTextEdit(a);
  QTest::keyClicks(t.doc.Memo1, "x");
  QTest::keyClick(t.doc.Memo1, Qt::Key_PageDown);
  EXPECT_FALSE(t.doc.EditorShown());
  EXPECT_EQ(a->AsBlock()->Data.Text, "x");
  EXPECT_EQ(t.doc.ScrollBar2->value(), 55);
}

TEST(WindowKeys, ShiftArrowsResizeWithinTheMinimumSize) {
  TDocument t(1);
  TShemObj* narrow = AddBlock(t.d, bkSquare, {10, 10, 31, 40});  // 21 wide
  TShemObj* wide = AddBlock(t.d, bkSquare, {100, 10, 122, 40});  // 22 wide
  t.doc.Selection.Assign({narrow});
  EXPECT_TRUE(t.doc.FormKeyDown(Qt::Key_Left, Qt::ShiftModifier));
  EXPECT_EQ(t.RectOf(narrow), (TRect{10, 10, 31, 40}));
  EXPECT_FALSE(t.doc.Modified);
  t.doc.Selection.Assign({wide});
  QTest::keyClick(&t.doc, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(t.RectOf(wide), (TRect{100, 10, 121, 40}));
  EXPECT_TRUE(t.doc.Modified);
  EXPECT_FALSE(t.doc.CanUndo());
}

TEST(WindowKeys, CtrlArrowsMoveBlocksThatStayInRangeAndPlainArrowsAreSwallowed) {
  TDocument t(1);
  TShemObj* top = AddBlock(t.d, bkSquare, {10, 0, 90, 20});
  TShemObj* other = AddBlock(t.d, bkSquare, {10, 50, 90, 70});
  TShemObj* link = AddLink(t.d, top, other);
  t.doc.Selection.Assign({link, top, other});
  EXPECT_TRUE(t.doc.FormKeyDown(Qt::Key_Up, Qt::ControlModifier));
  EXPECT_EQ(t.RectOf(top), (TRect{10, 0, 90, 20}));
  EXPECT_EQ(t.RectOf(other), (TRect{10, 49, 90, 69}));
  EXPECT_TRUE(t.doc.FormKeyDown(Qt::Key_Right, Qt::NoModifier));
  EXPECT_EQ(t.RectOf(top), (TRect{10, 0, 90, 20}));
  EXPECT_EQ(t.RectOf(other), (TRect{10, 49, 90, 69}));
  // With no block selected the arrows are not the window's.
  t.doc.Selection.Assign({link});
  EXPECT_FALSE(t.doc.FormKeyDown(Qt::Key_Right, Qt::ControlModifier));
}

TEST(WindowKeys, F2OpensTheEditorOnTheOneSelectedBlock) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(t.d, bkSquare, {10, 100, 90, 120});
  TShemObj* l1 = AddLink(t.d, a, b);
  TShemObj* l2 = AddLink(t.d, b, a);
  t.doc.Selection.Assign({a, b});
  t.doc.FormKeyDown(Qt::Key_F2, Qt::NoModifier);
  EXPECT_FALSE(t.doc.EditorShown());
  t.doc.Selection.Assign({l1, b, l2});
  QTest::keyClick(&t.doc, Qt::Key_F2);
  EXPECT_TRUE(t.doc.EditorShown());
  EXPECT_EQ(t.doc.EditedBlock, b);
}

TEST(DoubleClick, CyclesTheArrowheadsOfALinkKeepingTheDottedBit) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(t.d, bkSquare, {10, 100, 90, 120});
  TShemObj* l = AddLink(t.d, a, b, {32767, 65535}, {32767, 0}, 7);
  QTest::mouseDClick(&t.doc, Qt::LeftButton, Qt::NoModifier, QPoint(50, 60));
  EXPECT_EQ(L(l).LinkType, 4);
  t.doc.DragStart = {50, 60};
  t.doc.FormDblClick();
  EXPECT_EQ(L(l).LinkType, 5);
  EXPECT_FALSE(t.doc.Modified);
  EXPECT_FALSE(t.doc.CanUndo());
}

TEST(DoubleClick, TurnsALinkPointToTheOtherCorner) {
  TDocument t(1);
  TShemObj* from = AddPoint(t.d, {10, 10});
  TShemObj* to = AddPoint(t.d, {110, 60});
  TShemObj* p = AddPoint(t.d, {60, 35});
  AddLink(t.d, from, p, PosCentre, PosCentre, 0);
  AddLink(t.d, p, to, PosCentre, PosCentre, 0);
  t.doc.DragStart = {60, 35};
  t.doc.FormDblClick();
  EXPECT_EQ(t.RectOf(p), (TRect{9, 59, 11, 61}));
  t.doc.DragStart = {10, 60};
  t.doc.FormDblClick();
  EXPECT_EQ(t.RectOf(p), (TRect{109, 9, 111, 11}));
}

TEST(DoubleClick, OnABlockChoosesTheEditTextToolAndOpensTheEditor) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 90, 30});
  QTest::mouseDClick(&t.doc, Qt::LeftButton, Qt::NoModifier, QPoint(50, 20));
  EXPECT_EQ(t.host.state.CurrentTool, TTool::EditText);
  EXPECT_EQ(t.host.ToolChanges, 1);
  EXPECT_EQ(t.doc.EditedBlock, a);
  EXPECT_TRUE(t.doc.EditorShown());
}

TEST(InPlaceEditor, CharactersOutsideTheCodePageAreStoredAsQuestionMarks) {
  TDocument t(1);
  TShemObj* a = AddBlock(t.d, bkSquare, {10, 10, 120, 60});
  t.doc.BeginTextEdit(a);
  t.doc.Memo1->insertPlainText(QString::fromUtf8("a\xe6\xbc\xa2z"));
  QTest::keyClick(t.doc.Memo1, Qt::Key_Escape);
  EXPECT_EQ(a->AsBlock()->Data.Text, "a?z");
  // Opened again, the editor shows what the block holds.
  t.doc.BeginTextEdit(a);
  EXPECT_EQ(t.doc.Memo1->toPlainText(), "a?z");
}
