// The full-screen preview: what it shows, panning, the scale menu and closing.
#include "editor/fullviewform.h"

#include <QAccessible>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "editor/cursors.h"
#include "guitestenv.h"
#include "userblocks/userblock.h"

namespace {
// The document's own colour differs from the preview's window face, so that
// a pixel tells which of the two painted it.
struct TBlueHost : TTestHost {
  TBlueHost() { state.BackgroundColor = QColor(10, 120, 200); }
};

struct Preview {
  TBlueHost host;
  TChildD doc{&host};
  TFullViewForm form;
  Preview() {
    doc.resize(420, 300);
    doc.FormResize();
    form.PreviewDocument = &doc;
  }
  ~Preview() { form.hide(); }

  TShemObj* AddBlock(TRect r, int kind = bkSquare, bool filled = false) {
    auto b = std::make_unique<TBlock>();
    b->Data.Kind = uint8_t(kind);
    b->Data.Filled = filled;
    b->Data.SetRect(r);
    return doc.Diagram.GetObj(doc.Diagram.Add(std::move(b)));
  }
  TShemObj* AddLink(TShemObj* from, TShemObj* to, uint8_t type) {
    auto l = std::make_unique<TLink>();
    l->Data.LinkType = type;
    l->Data.Source = from;
    l->Data.Target = to;
    l->Data.SourcePos = {PosMax, PosMax / 2};
    l->Data.TargetPos = {0, PosMax / 2};
    return doc.Diagram.GetObj(doc.Diagram.Add(std::move(l)));
  }
  void ScrollTo(int x, int y) {
    doc.ScrollBar1->setValue(x);
    doc.ScrollBar2->setValue(y);
  }
  // What the preview paints, on a canvas larger than the offscreen screen.
  QImage Paint(QSize size = QSize(1200, 900)) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    form.FormPaint(p);
    return img;
  }
};

int InkIn(const QImage& img, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += IsInk(img, x, y);
  return n;
}

QString AccessibleNameOf(QMenu* menu, int index) {
  QAccessibleInterface* m = QAccessible::queryAccessibleInterface(menu);
  return m && m->child(index) ? m->child(index)->text(QAccessible::Name) : QString();
}
}  // namespace

TEST(FullViewForm, ShowsTheDocumentFromItsOriginOverEightHundredBySixHundredPixels) {
  Preview pv;
  pv.AddBlock({100, 40, 140, 60});          // at the preview's top-left corner
  pv.AddBlock({490, 330, 530, 360});        // reaches into the area from outside it
  pv.AddBlock({502, 100, 540, 120});        // right of the area, though on a wide screen
  pv.AddBlock({200, 342, 240, 360});        // below it
  pv.AddBlock({99, 30, 99, 39}, bkSquare);  // above-left, outside
  pv.ScrollTo(100, 40);
  ASSERT_EQ(pv.doc.Origin, (TPoint{100, 40}));
  pv.form.show();
  EXPECT_EQ(pv.form.PreviewArea, (TRect{100, 40, 500, 340}));
  EXPECT_FALSE(pv.form.PreviewDragging);

  const QImage img = pv.Paint();
  const QColor face = pv.form.FaceColor();
  EXPECT_NE(face, pv.doc.Color());
  EXPECT_EQ(QColor(img.pixel(300, 300)), face);
  // (100, 40) is pixel (0, 0) at scale 2; the block's far corner (80, 40).
  EXPECT_TRUE(IsBlack(img, 0, 0));
  EXPECT_TRUE(IsBlack(img, 80, 40));
  EXPECT_TRUE(IsBlack(img, 40, 40));
  // The block that reaches in is drawn whole, beyond the 800 by 600 pixels too.
  EXPECT_TRUE(IsBlack(img, 780, 580));
  EXPECT_TRUE(IsBlack(img, 860, 640));
  // The ones outside the area are not drawn, however large the window.
  EXPECT_EQ(InkIn(img, QRect(804, 120, 76, 40)), 0);
  EXPECT_EQ(InkIn(img, QRect(200, 604, 80, 36)), 0);

  // The same document at scale 4 shows a quarter as much: (100, 40) to (300, 190).
  pv.doc.Scale = 4;
  pv.doc.UpdateScrollRanges();
  pv.form.UpdatePreviewArea();
  EXPECT_EQ(pv.form.PreviewArea, (TRect{100, 40, 300, 190}));
  pv.doc.Scale = 8;
  pv.form.UpdatePreviewArea();
  EXPECT_EQ(pv.form.PreviewArea, (TRect{100, 40, 200, 115}));  // 600 / 8 = 75
}

TEST(FullViewForm, TakesTheWholeScreenWithoutTitleBarAndOpensWithTheHandCursor) {
  QWidget main;  // made first, so that it goes after the document
  Preview pv;
  main.resize(300, 200);
  main.show();
  pv.doc.setParent(&main);
  pv.form.show();
  QScreen* screen = main.screen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(pv.form.screen(), screen);
  // The client area is the size of the screen (a window frame, where there
  // is one, lies around it).
  EXPECT_EQ(pv.form.size(), screen->availableGeometry().size());
  EXPECT_TRUE(pv.form.frameGeometry().contains(screen->availableGeometry().topLeft()));
  EXPECT_TRUE(pv.form.windowState() & Qt::WindowMaximized);
  EXPECT_TRUE(pv.form.isWindow());
  EXPECT_TRUE(pv.form.windowFlags() & Qt::CustomizeWindowHint);
  EXPECT_FALSE(pv.form.windowFlags() & Qt::WindowTitleHint);
  EXPECT_EQ(pv.form.cursor(), AppCursor(TCursor::Hand));
}

TEST(FullViewForm, DrawsDottedLinksWithArrowheadsAndUserBlocksAsTheDocumentDoes) {
  Preview pv;
  auto ub = std::make_unique<TUserBlock>();
  ub->Name = "Triangle";
  for (TPercentPoint p : {TPercentPoint{0, 0}, TPercentPoint{100, 50}, TPercentPoint{0, 100}})
    ub->AddPoint(p);
  ub->SetEditRect(10, 10, 60, 90);
  pv.host.state.UserBlocks.Add(std::move(ub));

  TShemObj* a = pv.AddBlock({20, 20, 60, 40});
  TShemObj* b = pv.AddBlock({130, 20, 170, 40}, bkEllipse, true);
  pv.AddLink(a, b, ltArrowSource | ltArrowTarget | ltDotted);
  TShemObj* user = pv.AddBlock({40, 70, 100, 120}, bkUserFirst);
  user->AsBlock()->Data.Text = "go";
  pv.AddLink(b, user, ltArrowTarget);
  // Selected objects show no marks in the preview.
  pv.doc.Selection.Add(a);

  // The document in the preview's colours, and without the selection, is the
  // reference.
  pv.form.show();
  pv.doc.SetColor(pv.form.FaceColor());
  pv.doc.Selection.Clear();
  for (int scale : {2, 4}) {
    SCOPED_TRACE(scale);
    pv.doc.Scale = uint8_t(scale);
    pv.doc.UpdateScrollRanges();
    pv.ScrollTo(10, 10);
    pv.doc.Redraw();
    pv.form.x11Click(scale == 2 ? pv.form.x21 : pv.form.x41);
    const QImage doc = pv.doc.View();
    const QImage preview = pv.Paint();
    const int w = pv.doc.ViewBottomRight.X, h = pv.doc.ViewBottomRight.Y;
    int differing = 0, ink = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        differing += doc.pixel(x, y) != preview.pixel(x, y);
        ink += IsBlack(preview, x, y);
      }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(ink, 200);  // there is something to compare
    // The dotted link's arrowhead at its source, at 5 * scale pixels: its tip
    // on a's right edge, (60 - 10) * scale, and ink within the wings' reach.
    const TPoint tip{(60 - 10) * scale, (30 - 10) * scale};
    EXPECT_TRUE(IsBlack(preview, tip.X, tip.Y));
    EXPECT_GT(InkIn(preview, QRect(tip.X + 2, tip.Y - 2 * scale, 3 * scale, 4 * scale)), 4 * scale);
    // The user block's outline: its left edge at x = (40 - 10) * scale.
    EXPECT_TRUE(IsBlack(preview, (40 - 10) * scale, (95 - 10) * scale));
  }
}

TEST(FullViewForm, ScaleMenuFollowsTheDocumentAndItsChoiceStaysAfterEscape) {
  Preview pv;
  pv.AddBlock({20, 20, 60, 40});
  pv.ScrollTo(30, 5);
  // The menu as created: "x 1" checked; every item named for assistive technology.
  const QList<QAction*> items = pv.form.PopupMenu1->actions();
  ASSERT_EQ(items.size(), 6);
  const char* captions[] = {"x 1", "x 2", "x 4", "x 8", "", "Exit"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items[i]->text(), QString::fromLatin1(captions[i]));
    EXPECT_EQ(items[i]->isSeparator(), i == 4);
    if (i != 4) {
      EXPECT_EQ(AccessibleNameOf(pv.form.PopupMenu1, i), captions[i]);
    }
  }
  EXPECT_TRUE(pv.form.x11->isChecked());

  int result = -1;
  TGuiEnvironment::Questions.ModalScript = [&](QDialog* form) {
    auto* f = static_cast<TFullViewForm*>(form);
    f->PopupMenu1Popup();
    EXPECT_TRUE(f->x21->isChecked());
    EXPECT_FALSE(f->x11->isChecked() || f->x41->isChecked() || f->x81->isChecked());
    f->x81->trigger();
    EXPECT_EQ(f->PreviewFont().pointSize(), 40);
    EXPECT_EQ(f->PreviewArea, (TRect{30, 5, 130, 80}));
    f->PopupMenu1Popup();
    EXPECT_TRUE(f->x81->isChecked());
    EXPECT_FALSE(f->x21->isChecked());
    QTest::keyClick(f, Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
  };
  result = Questions().ShowModal(&pv.form);
  TGuiEnvironment::Questions.ModalScript = nullptr;
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(pv.doc.Scale, 8);
  EXPECT_EQ(pv.doc.CanvasFont().pointSize(), 40);
  EXPECT_EQ(pv.doc.Origin, (TPoint{30, 5}));
  EXPECT_EQ(pv.doc.ScrollBar1->maximum(), 65535 - Round(pv.doc.ViewBottomRight.X / 8.0));
  // The document shows the new scale at once: the block's corner (20, 20) at
  // ((20 - 30) * 8, (20 - 5) * 8) is off the view, its right edge at 240.
  EXPECT_TRUE(IsBlack(pv.doc.View(), (60 - 30) * 8, (30 - 5) * 8));

  // "Exit" ends it with OK too.
  TGuiEnvironment::Questions.ModalScript = [](QDialog* form) {
    static_cast<TFullViewForm*>(form)->Exit1->trigger();
  };
  EXPECT_EQ(Questions().ShowModal(&pv.form), QDialog::Accepted);
  TGuiEnvironment::Questions.ModalScript = nullptr;
  EXPECT_FALSE(pv.form.isVisible());
}

TEST(FullViewForm, PanningMovesTheDocumentOneUnitPerPixelWithinItsScrollRange) {
  Preview pv;
  pv.AddBlock({20, 20, 60, 40});
  pv.ScrollTo(100, 100);
  pv.form.show();
  // Any button pans; the hand closes while it does.
  QTest::mousePress(&pv.form, Qt::MiddleButton, {}, QPoint(400, 300));
  EXPECT_TRUE(pv.form.PreviewDragging);
  EXPECT_EQ(pv.form.cursor(), AppCursor(TCursor::HandClosed));
  pv.form.FormMouseMove(330, 320);
  EXPECT_EQ(pv.doc.Origin, (TPoint{170, 80}));
  EXPECT_EQ(pv.doc.ScrollBar1->value(), 170);
  EXPECT_EQ(pv.doc.ScrollBar2->value(), 80);
  EXPECT_EQ(pv.form.PreviewArea, (TRect{170, 80, 570, 380}));
  EXPECT_EQ(pv.form.PreviewDragStart, (TPoint{330, 320}));
  // Past the top-left end of the diagram it stops at 0.
  pv.form.FormMouseMove(600, 500);
  EXPECT_EQ(pv.doc.Origin, (TPoint{0, 0}));
  QTest::mouseRelease(&pv.form, Qt::MiddleButton, {}, QPoint(600, 500));
  EXPECT_FALSE(pv.form.PreviewDragging);
  EXPECT_EQ(pv.form.cursor(), AppCursor(TCursor::Hand));
  // Moves without a drag change nothing.
  pv.form.FormMouseMove(0, 0);
  EXPECT_EQ(pv.doc.Origin, (TPoint{0, 0}));

  // Dragging to the left beyond the end stops at the scroll bar maximum.
  const int maxX = pv.doc.ScrollBar1->maximum(), maxY = pv.doc.ScrollBar2->maximum();
  ASSERT_GT(maxX, 65000);
  pv.ScrollTo(maxX - 10, maxY - 3);
  pv.form.FormMouseDown(700, 500);
  pv.form.FormMouseMove(100, 10);
  EXPECT_EQ(pv.doc.Origin, (TPoint{maxX, maxY}));
  pv.form.FormMouseMove(40, 0);
  EXPECT_EQ(pv.doc.Origin, (TPoint{maxX, maxY}));
  // Back to the right by 25 pixels: 25 units whatever the scale.
  pv.form.FormMouseMove(65, 0);
  EXPECT_EQ(pv.doc.Origin, (TPoint{maxX - 25, maxY}));
  pv.form.FormMouseUp();
}

TEST(FullViewForm, RightButtonPansAndOpensTheMenuOnRelease) {
  Preview pv;
  pv.ScrollTo(50, 50);
  pv.form.show();
  QTest::mousePress(&pv.form, Qt::RightButton, {}, QPoint(200, 200));
  EXPECT_TRUE(pv.form.PreviewDragging);
  EXPECT_FALSE(pv.form.PopupMenu1->isVisible());
  pv.form.FormMouseMove(190, 195);
  EXPECT_EQ(pv.doc.Origin, (TPoint{60, 55}));
  QTest::mouseRelease(&pv.form, Qt::RightButton, {}, QPoint(190, 195));
  EXPECT_FALSE(pv.form.PreviewDragging);
  EXPECT_TRUE(pv.form.PopupMenu1->isVisible());
  EXPECT_TRUE(pv.form.x21->isChecked());
  pv.form.PopupMenu1->hide();
}
