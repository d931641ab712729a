// The arrange commands on the active document: the Align palette and dialog,
// the Size dialog, Align to Grid, "Replace to" and "Insert " from the context
// menu, text alignment and the font list, each with its undo snapshot.
#include "app/commands/arrangecommands.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "app/actions.h"
#include "app/commands/editcommands.h"
#include "app/dialogs/alignf.h"
#include "app/dialogs/radiogroup.h"
#include "app/dialogs/sizef.h"
#include "app/documentmenu.h"
#include "app/fontbox.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
TShemObj* AddBlock(TChildD* d, TRect r, uint8_t kind = bkSquare) {
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = kind;
  b->Data.SetRect(r);
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}

TRect RectOf(const TShemObj* o) { return o->AsBlock()->Data.Rect(); }

struct ArrangeFixture : Fixture {
  TMainForm f{Options()};
  TChildD* d = f.CreateDocument("doc");
  // Chosen as from the context menu (opened anew) or the palette.
  void Run(TCommand id) {
    f.DocumentMenu->UpdateItems();
    f.Actions->Action(id)->trigger();
  }
  // A toolbar button: always enabled, no menu involved.
  void Press(TCommand id) { f.Actions->Action(id)->trigger(); }
};
}  // namespace

TEST(ArrangeCommands, PaletteButtonsAlignOnTheFirstSelectedBlockWithAnUndoSnapshot) {
  ArrangeFixture x;
  TChildD* d = x.d;
  TShemObj* right = AddBlock(d, {200, 300, 230, 310});
  TShemObj* left = AddBlock(d, {0, 50, 20, 60});
  TShemObj* middle = AddBlock(d, {25, 100, 35, 140});
  d->Selection.Assign({right, left, middle});

  // Space equally, horizontally: sorted by position, the middle one moves.
  x.Press(TCommand::SpaceHorizontally);
  EXPECT_EQ(RectOf(middle), (TRect{105, 100, 115, 140}));
  EXPECT_EQ(RectOf(left), (TRect{0, 50, 20, 60}));
  EXPECT_EQ(RectOf(right), (TRect{200, 300, 230, 310}));
  ASSERT_TRUE(d->CanUndo());
  x.f.EditCommands->Undo1Click();
  EXPECT_EQ(RectOf(d->Diagram.GetObj(2)), (TRect{25, 100, 35, 140}));

  // The other buttons, each with its modes; link points align too.
  TShemObj* point = d->Diagram.GetObj(d->Diagram.Add(TBlock::NewPoint({500, 500})));
  middle = d->Diagram.GetObj(2);
  d->Selection.Assign({d->Diagram.GetObj(0), middle, point});
  x.Press(TCommand::AlignLefts);
  EXPECT_EQ(RectOf(middle).Left, 200);
  EXPECT_EQ(RectOf(point).Left, 200);
  x.Press(TCommand::AlignRights);
  EXPECT_EQ(RectOf(middle), (TRect{220, 100, 230, 140}));
  x.Press(TCommand::AlignHCenters);
  EXPECT_EQ(RectOf(middle).Left, 210);  // centre 215, width 10
  x.Press(TCommand::AlignTops);
  EXPECT_EQ(RectOf(middle).Top, 300);
  x.Press(TCommand::AlignBottoms);
  EXPECT_EQ(RectOf(middle), (TRect{210, 270, 220, 310}));
  x.Press(TCommand::AlignVCenters);
  EXPECT_EQ(RectOf(middle).Top, 285);  // centre 305, height 40
  EXPECT_EQ(RectOf(point), (TRect{214, 304, 216, 306}));
  x.Press(TCommand::SpaceVertically);  // they overlap: nothing moves
  EXPECT_EQ(RectOf(middle).Top, 285);

  // Nothing selected: the snapshot is still taken, nothing else happens.
  TChildD* fresh = x.f.CreateDocument("fresh");
  ASSERT_EQ(x.f.ActiveDocument(), fresh);
  x.Press(TCommand::AlignLefts);
  EXPECT_TRUE(fresh->CanUndo());
  EXPECT_FALSE(fresh->Modified);
}

TEST(ArrangeCommands, AlignDialogAppliesItsChoiceOnOkOnly) {
  ArrangeFixture x;
  TChildD* d = x.d;
  TShemObj* a = AddBlock(d, {100, 100, 150, 120});
  TShemObj* b = AddBlock(d, {0, 0, 5, 4});
  d->Selection.Assign({a, b});
  TAlignF* dlg = x.f.ArrangeCommands->AlignF();
  x.q.ModalScript = [dlg](QDialog*) {
    dlg->RadioGroup1->Item(2)->click();
    dlg->RadioGroup2->Item(3)->click();
    dlg->Button2->click();
  };
  x.Run(TCommand::AlignDialog);
  EXPECT_EQ(RectOf(b), (TRect{0, 0, 5, 4}));
  EXPECT_FALSE(d->CanUndo()) << "Cancel records nothing";
  x.q.ModalScript = [dlg](QDialog*) {
    dlg->RadioGroup1->Item(2)->click();  // centres: 125 - round(2.5) = 123
    dlg->RadioGroup2->Item(3)->click();  // bottoms
    dlg->Button1->click();
  };
  x.Run(TCommand::AlignDialog);
  EXPECT_EQ(RectOf(b), (TRect{123, 116, 128, 120}));
  EXPECT_EQ(x.q.ModalForms, (QStringList{"AlignF", "AlignF"}));
  EXPECT_TRUE(d->CanUndo());
}

TEST(ArrangeCommands, SizeDialogSetsWidthsAndHeightsWithoutAnUndoSnapshot) {
  ArrangeFixture x;
  TChildD* d = x.d;
  TShemObj* a = AddBlock(d, {65500, 0, 65510, 20});
  TShemObj* b = AddBlock(d, {0, 100, 80, 160});
  TShemObj* point = d->Diagram.GetObj(d->Diagram.Add(TBlock::NewPoint({500, 500})));
  d->Selection.Assign({a, b, point});
  TSizeF* dlg = x.f.ArrangeCommands->SizeF();
  auto size = [&](int w, const QString& wText, int h, const QString& hText) {
    x.q.ModalScript = [=](QDialog*) {
      dlg->RadioGroup1->Item(w)->click();
      dlg->Edit1->setText(wText);
      dlg->RadioGroup2->Item(h)->click();
      dlg->Edit2->setText(hText);
      dlg->Button1->click();
    };
    x.Run(TCommand::SizeDialog);
  };
  size(3, "100", 2, "");
  EXPECT_EQ(RectOf(a), (TRect{65500, 0, 65535, 20}));  // held at the limit
  EXPECT_EQ(RectOf(b), (TRect{0, 100, 100, 120}));
  EXPECT_EQ(RectOf(point), (TRect{499, 499, 501, 501})) << "link points keep their size";
  EXPECT_FALSE(d->CanUndo());

  size(3, "", 1, "");  // an empty box is no value
  EXPECT_EQ(RectOf(b), (TRect{0, 100, 100, 120}));
  EXPECT_EQ(RectOf(a), (TRect{65500, 0, 65535, 20}));

  // Pasted text that is no number stops the command before the heights.
  size(3, "12a", 3, "5");
  ASSERT_EQ(x.q.Log.size(), 1u);
  EXPECT_EQ(x.q.Log[0].Text, "'12a' is not a valid integer value");
  EXPECT_EQ(RectOf(b), (TRect{0, 100, 100, 120}));
  size(1, "", 3, "x");
  EXPECT_EQ(RectOf(b), (TRect{0, 100, 100, 120})) << "largest width is b's own";
  EXPECT_EQ(x.q.Log.size(), 2u);
}

TEST(ArrangeCommands, AlignToGridSnapsSelectedBlocksWithAnUndoSnapshot) {
  ArrangeFixture x;
  TChildD* d = x.d;
  TShemObj* a = AddBlock(d, {12, 23, 92, 43});
  TShemObj* other = AddBlock(d, {12, 23, 92, 43});
  d->Selection.Assign({a});
  x.Run(TCommand::AlignToGrid);
  EXPECT_EQ(RectOf(a), (TRect{10, 25, 90, 45}));
  EXPECT_EQ(RectOf(other), (TRect{12, 23, 92, 43}));
  EXPECT_TRUE(d->CanUndo());
  EXPECT_TRUE(d->Modified);
}

TEST(ArrangeCommands, ReplaceToBlockChangesKindsButNotLinkPoints) {
  ArrangeFixture x;
  TChildD* d = x.d;
  TShemObj* a = AddBlock(d, {0, 0, 80, 20});
  TShemObj* p = d->Diagram.GetObj(d->Diagram.Add(TBlock::NewPoint({200, 200})));
  TShemObj* l = d->Diagram.GetObj(
      d->Diagram.AddLink(std::make_unique<TLink>(0, TPoint{65535, 20000}, PosCentre), a, p));
  d->Selection.Assign({a, p, l});
  x.Run(TCommand::ReplaceEllipse);
  EXPECT_EQ(a->AsBlock()->Data.Kind, bkEllipse);
  EXPECT_EQ(p->AsBlock()->Data.Kind, bkPoint);
  EXPECT_EQ(l->AsLink()->Data.TargetPos, PosCentre);
  EXPECT_EQ(l->AsLink()->Data.SourcePos, (TPoint{65535, 32767}));
  EXPECT_FALSE(d->CanUndo());
  x.Run(TCommand::ReplacePage);
  EXPECT_EQ(a->AsBlock()->Data.Kind, bkPage);
  EXPECT_EQ(p->AsBlock()->Data.Kind, bkPoint);
}

TEST(ArrangeCommands, InsertPutsAStandardBlockWhereTheMenuOpenedAndOpensItsText) {
  ArrangeFixture x;
  TChildD* d = x.d;
  x.f.show();
  x.f.AppState.CurrentTool = TTool::CreateBlock;
  x.f.AppState.StandardBlockSizes[bkText] = {80, 20};
  // Scale 2 from the origin: the press at pixel (60, 80) is the point (30, 40).
  ASSERT_EQ(d->Scale, 2);
  QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(60, 80), d->mapToGlobal(QPoint(60, 80)));
  QApplication::sendEvent(d, &e);
  x.f.DocumentMenu->Menu()->hide();
  x.Run(TCommand::InsertText);
  ASSERT_EQ(d->Diagram.Count(), 1);
  TShemObj* b = d->Diagram.GetObj(0);
  EXPECT_EQ(RectOf(b), (TRect{30, 40, 110, 60}));
  EXPECT_EQ(b->AsBlock()->Data.Kind, bkText);
  EXPECT_EQ(b->AsBlock()->Data.TextAlign, 0);
  EXPECT_TRUE(d->EditorShown());
  EXPECT_EQ(d->EditedBlock, b);
  EXPECT_EQ(d->Selection.Items(), std::vector<TShemObj*>{b});
  EXPECT_EQ(x.f.AppState.CurrentTool, TTool::Select);
  EXPECT_TRUE(d->Modified);
  EXPECT_TRUE(d->CanUndo());

  // Text typed into it is kept when the next block is inserted.
  d->Memo1->setPlainText("first");
  x.Run(TCommand::InsertComment);
  EXPECT_EQ(b->AsBlock()->Data.Text, "first");
  EXPECT_EQ(d->Diagram.GetObj(1)->AsBlock()->Data.Kind, bkComment);
}

TEST(ArrangeCommands, TextAlignmentWhileEditingAndNot) {
  ArrangeFixture x;
  TChildD* d = x.d;
  TShemObj* a = AddBlock(d, {0, 0, 80, 20});
  TShemObj* b = AddBlock(d, {0, 50, 80, 70});
  d->Selection.Assign({a, b});
  d->BeginTextEdit(a);
  x.Press(TCommand::TextLeft);
  EXPECT_EQ(a->AsBlock()->Data.TextAlign, 1);
  EXPECT_EQ(b->AsBlock()->Data.TextAlign, 0) << "only the edited block";
  EXPECT_TRUE(d->EditorShown());
  EXPECT_EQ(d->Memo1->document()->defaultTextOption().alignment(), Qt::AlignLeft);
  EXPECT_FALSE(d->CanUndo());
  x.Press(TCommand::TextRight);
  EXPECT_EQ(a->AsBlock()->Data.TextAlign, 2);
  EXPECT_EQ(d->Memo1->document()->defaultTextOption().alignment(), Qt::AlignRight);

  d->Memo1Exit();
  x.Press(TCommand::TextCenter);
  EXPECT_EQ(a->AsBlock()->Data.TextAlign, 0);
  EXPECT_EQ(b->AsBlock()->Data.TextAlign, 0);
  EXPECT_TRUE(d->CanUndo());
}

TEST(ArrangeCommands, FontListSetsTheActiveDocumentsFace) {
  ArrangeFixture x;
  TChildD* first = x.d;
  if (x.f.FontBox->count() < 2) GTEST_SKIP() << "fewer than two font families installed";
  const QString before = first->CanvasFont().family();
  TChildD* second = x.f.CreateDocument("second");
  int pick = 0;
  while (pick < x.f.FontBox->count() && (x.f.FontBox->itemText(pick) == before ||
                                         x.f.FontBox->itemText(pick) == x.f.FontBox->currentText()))
    ++pick;
  ASSERT_LT(pick, x.f.FontBox->count());
  x.f.FontBox->setCurrentIndex(pick);
  EXPECT_EQ(second->CanvasFont().family(), x.f.FontBox->itemText(pick));
  EXPECT_EQ(first->CanvasFont().family(), before);
}
