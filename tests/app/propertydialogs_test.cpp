// The block and link property dialogs and the Properties command that fills
// them and applies their results.
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>

#include "app/actions.h"
#include "app/commands/propertycommands.h"
#include "app/dialogs/blockprop.h"
#include "app/dialogs/linkpropform.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
// The text field inside a spin box.
QLineEdit* Field(QSpinBox* box) { return box->findChild<QLineEdit*>(); }

Block Record(int kind, TRect r, bool filled = false, bool dotted = false) {
  Block b;
  b.Kind = uint8_t(kind);
  b.SetRect(r);
  b.Filled = filled;
  b.Dotted = dotted;
  b.Text = "text";
  return b;
}

QAction* KindButton(TBlockProp& p, int kind) {
  for (QAction* a : p.KindButtons)
    if (a->data().toInt() == kind) return a;
  return nullptr;
}

// Types into a spin box as a person would: the text changes, then the box is left.
void Type(QSpinBox* box, const QString& text) {
  Field(box)->setText(text);
  box->interpretText();
}
}  // namespace

TEST(BlockProp, FlagBoxesFollowTheKindAndTheOutline) {
  TBlockProp p;
  // A comment admits neither flag: both boxes off, both flags cleared.
  p.Data = Record(bkComment, {0, 0, 80, 20}, true, true);
  p.FormShow();
  EXPECT_FALSE(p.FillBox->isEnabled());
  EXPECT_FALSE(p.FillBox->isChecked());
  EXPECT_FALSE(p.DottedBox->isEnabled());
  EXPECT_FALSE(p.DottedBox->isChecked());
  EXPECT_FALSE(p.Data.Filled);
  EXPECT_FALSE(p.Data.Dotted);

  // A dotted rectangle: no filling until the outline is solid again.
  p.Data = Record(bkSquare, {0, 0, 80, 20}, true, true);
  p.FormShow();
  EXPECT_TRUE(p.DottedBox->isEnabled());
  EXPECT_TRUE(p.DottedBox->isChecked());
  EXPECT_FALSE(p.FillBox->isEnabled());
  EXPECT_FALSE(p.FillBox->isChecked());
  p.DottedBox->click();
  EXPECT_FALSE(p.Data.Dotted);
  EXPECT_TRUE(p.FillBox->isEnabled());
  EXPECT_FALSE(p.FillBox->isChecked());
  EXPECT_FALSE(p.Data.Filled);
  p.FillBox->click();
  EXPECT_TRUE(p.Data.Filled);
  // Dotted again: the fill box goes off and takes its flag along.
  p.DottedBox->click();
  EXPECT_TRUE(p.Data.Dotted);
  EXPECT_FALSE(p.FillBox->isEnabled());
  EXPECT_FALSE(p.Data.Filled);

  // Documents and processes may be dotted but not filled.
  for (int kind : {bkDocument, bkProcess}) {
    p.Data = Record(kind, {0, 0, 80, 20}, true, false);
    p.FormShow();
    EXPECT_FALSE(p.FillBox->isEnabled()) << kind;
    EXPECT_TRUE(p.DottedBox->isEnabled()) << kind;
  }
  p.Data = Record(bkPage, {0, 0, 80, 20}, true, false);
  p.FormShow();
  EXPECT_TRUE(p.FillBox->isChecked());
}

TEST(BlockProp, KindButtonsShowAndChangeTheKind) {
  TBlockProp p;
  ASSERT_EQ(p.KindButtons.size(), 9u);
  p.Data = Record(bkProcess, {0, 0, 80, 20}, false, true);
  p.FormShow();
  for (QAction* a : p.KindButtons)
    EXPECT_EQ(a->isChecked(), a->data().toInt() == bkProcess) << a->data().toInt();

  // Text admits no dotted outline: the flag goes with the box.
  KindButton(p, bkText)->trigger();
  EXPECT_EQ(p.Data.Kind, bkText);
  EXPECT_TRUE(KindButton(p, bkText)->isChecked());
  EXPECT_FALSE(KindButton(p, bkProcess)->isChecked());
  EXPECT_FALSE(p.DottedBox->isEnabled());
  EXPECT_FALSE(p.Data.Dotted);
  KindButton(p, bkEllipse)->trigger();
  EXPECT_EQ(p.Data.Kind, bkEllipse);
  EXPECT_TRUE(p.FillBox->isEnabled());

  // All nine fit into the dialog's width: none hides behind an overflow button.
  p.show();
  for (QAction* a : p.KindButtons) {
    QWidget* button = p.ToolBar1->widgetForAction(a);
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isVisible()) << a->data().toInt();
    EXPECT_TRUE(p.ToolBar1->rect().contains(button->geometry())) << a->data().toInt();
  }
  p.hide();

  // A user block has no button: none is down, and its kind stays.
  p.Data = Record(bkUserFirst + 2, {0, 0, 80, 20});
  p.FormShow();
  for (QAction* a : p.KindButtons) EXPECT_FALSE(a->isChecked());
  EXPECT_EQ(p.Data.Kind, bkUserFirst + 2);
}

TEST(BlockProp, PositionAndSizeBoxesMoveTheCorners) {
  TBlockProp p;
  p.Data = Record(bkSquare, {100, 200, 180, 230});
  p.Data.Text = "first\r\nsecond";
  p.FormShow();
  EXPECT_EQ(p.LeftEdit->value(), 100);
  EXPECT_EQ(p.TopEdit->value(), 200);
  EXPECT_EQ(p.WidthEdit->value(), 80);
  EXPECT_EQ(p.HeightEdit->value(), 30);
  EXPECT_EQ(p.Memo1->toPlainText(), "first\nsecond");
  EXPECT_EQ(p.Data.Text, "first\r\nsecond");  // showing changes nothing

  Type(p.WidthEdit, "50");
  EXPECT_EQ(p.Data.BottomRight.X, 150);
  Type(p.LeftEdit, "10");
  EXPECT_EQ(p.Data.TopLeft.X, 10);
  EXPECT_EQ(p.Data.BottomRight.X, 60);
  Type(p.HeightEdit, "40");
  Type(p.TopEdit, "5");
  EXPECT_EQ(p.Data.Rect(), (TRect{10, 5, 60, 45}));
  // A box without a number counts as its lower limit.
  Field(p.WidthEdit)->setText("");
  EXPECT_EQ(p.Data.BottomRight.X, 13);
  // The far edge never passes the largest coordinate.
  Type(p.WidthEdit, "600");
  Type(p.LeftEdit, "65500");
  EXPECT_EQ(p.Data.TopLeft.X, 65500);
  EXPECT_EQ(p.Data.BottomRight.X, 65535);

  p.Memo1->setPlainText("one\ntwo");
  EXPECT_EQ(p.Data.Text, "one\r\ntwo");
}

TEST(BlockProp, ShowingAWideBlockKeepsItsCorners) {
  // The boxes cannot show a width over 600; the record stays as it was until
  // a box is changed.
  TBlockProp p;
  p.Data = Record(bkSquare, {0, 0, 1000, 20});
  p.FormShow();
  EXPECT_EQ(p.WidthEdit->value(), 600);
  EXPECT_EQ(p.Data.BottomRight.X, 1000);
}

TEST(LinkPropForm, EntriesDrawTheirArrowsAndDashes) {
  const QColor base(Qt::white), highlight(0, 0, 128);
  // Entry n in a 100 by 16 rectangle at the origin: m = 8.
  auto draw = [&](int n, bool selected) {
    QImage img(100, 16, QImage::Format_RGB32);
    img.fill(Qt::red);
    QPainter p(&img);
    DrawLinkTypeEntry(p, QRect(0, 0, 100, 16), n, selected, base, highlight);
    return img;
  };
  auto ink = [](const QImage& img, int x, int y) { return IsBlack(img, x, y); };
  auto lineRun = [&](const QImage& img, int from, int to) {
    int black = 0;
    for (int x = from; x <= to; ++x) black += ink(img, x, 8);
    return black;
  };

  // 6: dotted, with an arrowhead at the left end only.
  const QImage six = draw(6, false);
  EXPECT_EQ(QColor(six.pixel(50, 2)), base);  // the background is filled
  EXPECT_TRUE(ink(six, 3, 8));
  EXPECT_TRUE(ink(six, 10, 5));
  EXPECT_TRUE(ink(six, 10, 11));
  EXPECT_FALSE(ink(six, 90, 5));
  EXPECT_FALSE(ink(six, 90, 11));
  const int dots = lineRun(six, 20, 79);
  EXPECT_GT(dots, 10);
  EXPECT_LT(dots, 50);

  // 3: solid, arrowheads at both ends.
  const QImage three = draw(3, false);
  EXPECT_EQ(lineRun(three, 3, 97), 95);
  for (QPoint corner : {QPoint(10, 5), QPoint(10, 11), QPoint(90, 5), QPoint(90, 11)})
    EXPECT_TRUE(ink(three, corner.x(), corner.y())) << corner.x() << "," << corner.y();
  EXPECT_TRUE(ink(three, 97, 8));

  // 0: a plain line; 1: the arrow at the right end.
  EXPECT_FALSE(ink(draw(0, false), 10, 5));
  EXPECT_TRUE(ink(draw(1, false), 90, 5));
  EXPECT_FALSE(ink(draw(1, false), 10, 5));

  // The selected entry: white on the selection colour.
  const QImage sel = draw(3, true);
  EXPECT_EQ(QColor(sel.pixel(50, 2)), highlight);
  EXPECT_EQ(QColor(sel.pixel(50, 8)), QColor(Qt::white));
}

TEST(LinkPropForm, ListHoldsTheEightTypes) {
  TLinkPropForm f;
  EXPECT_EQ(f.windowTitle(), "Properties of link");
  EXPECT_EQ(f.ComboBox1->count(), 8);
  f.SetLinkType(5);
  EXPECT_EQ(f.LinkType(), 5);
  f.SetLinkType(4);
  EXPECT_EQ(f.ComboBox1->currentIndex(), 4);
  f.SetLinkType(200);  // not a link type: the first entry
  EXPECT_EQ(f.LinkType(), 0);
}

namespace {
TShemObj* AddSquare(TChildD* d, TRect r) {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  b->Data.Text = "square";
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}
}  // namespace

TEST(Properties, BlockDialogEditsTheSelectedBlock) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddSquare(d, {100, 100, 180, 130});
  TShemObj* b = AddSquare(d, {300, 100, 380, 130});
  d->Diagram.AddLink(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre), a, b);
  TPropertyCommands& c = *f.PropertyCommands;

  // Cancel keeps the block as it was.
  d->Selection.Assign({a});
  fx.q.ModalScript = [](QDialog* dialog) {
    auto* p = qobject_cast<TBlockProp*>(dialog);
    ASSERT_NE(p, nullptr);
    p->Memo1->setPlainText("changed");
    p->CancelButton->click();
  };
  c.Properties1Click();
  EXPECT_EQ(fx.q.ModalForms, QStringList{"BlockProp"});
  EXPECT_EQ(a->AsBlock()->Data.Text, "square");
  EXPECT_FALSE(d->Modified);

  // OK copies the whole record back; a change to free text drops its links.
  fx.q.ModalScript = [](QDialog* dialog) {
    auto* p = qobject_cast<TBlockProp*>(dialog);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Data.Text, "square");
    p->Memo1->setPlainText("new text");
    Type(p->WidthEdit, "50");
    KindButton(*p, bkText)->trigger();
    p->OKButton->click();
  };
  c.Properties1Click();
  const Block& r = a->AsBlock()->Data;
  EXPECT_EQ(r.Text, "new text");
  EXPECT_EQ(r.Kind, bkText);
  EXPECT_EQ(r.Rect(), (TRect{100, 100, 150, 130}));
  EXPECT_EQ(d->Diagram.Count(), 2);  // the link is gone
  EXPECT_TRUE(d->Diagram.CheckIntegrity());
  EXPECT_TRUE(d->Modified);
}

TEST(Properties, LinkDialogSetsTheLinkType) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddSquare(d, {100, 100, 180, 130});
  TShemObj* b = AddSquare(d, {300, 100, 380, 130});
  TShemObj* link = d->Diagram.GetObj(
      d->Diagram.AddLink(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre), a, b));
  d->Selection.Assign({link});
  int shown = -1;
  fx.q.ModalScript = [&shown](QDialog* dialog) {
    auto* l = qobject_cast<TLinkPropForm*>(dialog);
    ASSERT_NE(l, nullptr);
    shown = l->LinkType();
    l->ComboBox1->setCurrentIndex(6);
    l->OKButton->click();
  };
  // From the document context menu's entry, enabled for the one object.
  f.UpdateMenuItems();
  ASSERT_TRUE(f.Actions->Action(TCommand::Properties)->isEnabled());
  f.Actions->Action(TCommand::Properties)->trigger();
  EXPECT_EQ(shown, ltArrowTarget);
  EXPECT_EQ(link->AsLink()->Data.LinkType, 6);
  EXPECT_TRUE(d->Modified);
}

TEST(Properties, NothingOpensForALinkPointOrASelectionOfTwo) {
  Fixture fx;
  TMainForm f(fx.Options());
  TChildD* d = f.CreateDocument("doc");
  TShemObj* a = AddSquare(d, {100, 100, 180, 130});
  TShemObj* point = d->Diagram.GetObj(d->Diagram.Add(TBlock::NewPoint({250, 115})));
  d->Diagram.AddLink(std::make_unique<TLink>(0, PosCentre, PosCentre), a, point);
  fx.q.ModalScript = [](QDialog* dialog) {
    if (auto* l = qobject_cast<TLinkPropForm*>(dialog)) {
      l->ComboBox1->setCurrentIndex(7);
      l->OKButton->click();
    }
  };
  d->Selection.Assign({point});
  f.PropertyCommands->Properties1Click();
  d->Selection.Assign({a, point});
  f.PropertyCommands->Properties1Click();
  EXPECT_TRUE(fx.q.ModalForms.isEmpty());
  EXPECT_EQ(point->AsBlock()->Data.Kind, bkPoint);
  EXPECT_FALSE(d->Modified);
}
