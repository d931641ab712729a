// Press and hold on the link tools: the palette, where it opens, and how its
// choice reaches the next link drawn or point edited.
#include "app/toolpalette.h"

#include <QAction>
#include <QImage>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/actions.h"
#include "app/commands/toolcommands.h"
#include "app/linktoolhold.h"
#include "app/toolimages.h"
#include "apptestutil.h"
#include "editor/childd.h"

namespace {
QToolButton* ButtonOf(TMainForm& f, TCommand id) {
  return qobject_cast<QToolButton*>(f.SpecialToolbar->widgetForAction(f.Actions->Action(id)));
}

// Holds the button down until the palette opens, then lets go.
void Hold(QToolButton* button, TLinkToolHold& hold) {
  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_TRUE(hold.PressHoldTimer.isActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return hold.MenuF->isVisible(); }, 3000));
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(8, 8));
}

bool SameImage(const QIcon& a, const QIcon& b) {
  return a.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32) ==
         b.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TShemObj* AddBlock(TChildD* d, const TRect& r) {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  return d->Diagram.GetObj(d->Diagram.Add(std::move(b)));
}
}  // namespace

TEST(LinkPalette, OpensByTheDockOrBesideAFloatingButtonAndStaysOnScreen) {
  const QSize size(28, 92);
  const QRect screen(0, 0, 1000, 800);
  const QRect button(400, 700, 23, 22);
  const QPoint p(408, 708);
  EXPECT_EQ(PalettePlace(Qt::TopToolBarArea, {408, 30}, size, button, screen),
            QRect(408, 30, 28, 92));
  EXPECT_EQ(PalettePlace(Qt::LeftToolBarArea, {8, 300}, size, button, screen),
            QRect(8, 208, 28, 92));
  EXPECT_EQ(PalettePlace(Qt::RightToolBarArea, {990, 300}, size, button, screen),
            QRect(962, 300, 28, 92));
  // A bottom dock at the foot of the screen: the palette goes up onto it.
  EXPECT_EQ(PalettePlace(Qt::BottomToolBarArea, p, size, button, screen), QRect(408, 708, 28, 92));
  EXPECT_EQ(PalettePlace(Qt::BottomToolBarArea, p, size, button, {}), QRect(408, 708, 28, 92));
  EXPECT_EQ(PalettePlace(Qt::BottomToolBarArea, p, size, button, screen).bottom(), 799);
  EXPECT_EQ(PalettePlace(Qt::BottomToolBarArea, {408, 600}, size, button, screen),
            QRect(408, 600, 28, 92));
  // Floating: right beside the button, or left of it at the screen's edge.
  EXPECT_EQ(PalettePlace(Qt::NoToolBarArea, p, {28, 48}, QRect(400, 300, 23, 22), screen),
            QRect(423, 300, 28, 48));
  EXPECT_EQ(PalettePlace(Qt::NoToolBarArea, p, {28, 48}, QRect(975, 300, 23, 22), screen),
            QRect(947, 300, 28, 48));
  // Left dock near the top: pushed down onto the screen.
  EXPECT_EQ(PalettePlace(Qt::LeftToolBarArea, {8, 40}, size, button, screen).top(), 0);
}

TEST(LinkPalette, ItsThirdButtonGivesTheNextLinkAnArrowheadAtItsSourceOnly) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.resize(800, 600);
  f.show();
  TChildD* d = f.CreateDocument("doc");
  f.SubWindowOf(d)->showMaximized();
  d->Scale = 1;
  d->UpdateScrollRanges();
  TShemObj* a = AddBlock(d, {10, 10, 90, 30});
  TShemObj* b = AddBlock(d, {200, 10, 280, 30});
  d->Redraw();
  TLinkToolHold& hold = *f.ToolCommands->LinkToolHold;
  QToolButton* link = ButtonOf(f, TCommand::ToolLink);
  ASSERT_NE(link, nullptr);

  Hold(link, hold);
  EXPECT_EQ(f.AppState.CurrentTool, TTool::CreateLink);  // chosen by the press itself
  EXPECT_TRUE(f.Actions->Action(TCommand::ToolLink)->isChecked());
  EXPECT_FALSE(link->isDown());
  EXPECT_EQ(hold.MenuF->Shown(), TMenuF::TBar::Links);
  EXPECT_TRUE(hold.MenuF->ToolBar1->isVisibleTo(hold.MenuF));
  EXPECT_FALSE(hold.MenuF->ToolBar2->isVisibleTo(hold.MenuF));
  EXPECT_EQ(hold.MenuF->size(), QSize(28, 92));
  // The four choices fit into the palette: none hides behind an overflow button.
  for (int n = 0; n < 4; ++n) {
    QToolButton* b = hold.MenuF->Button(TMenuF::TBar::Links, n);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->isVisible()) << n;
    EXPECT_TRUE(hold.MenuF->rect().contains(QRect(b->mapTo(hold.MenuF, QPoint(0, 0)), b->size())))
        << n;
  }

  QToolButton* third = hold.MenuF->Button(TMenuF::TBar::Links, 2);
  ASSERT_NE(third, nullptr);
  QTest::mouseClick(third, Qt::LeftButton);
  EXPECT_FALSE(hold.MenuF->isVisible());
  EXPECT_EQ(f.AppState.LinkToolPicture, 9);
  EXPECT_TRUE(SameImage(f.Actions->Action(TCommand::ToolLink)->icon(), SpecialCell(9)));
  EXPECT_FALSE(SameImage(SpecialCell(9), SpecialCell(7)));

  const int before = d->Diagram.Count();
  QTest::mousePress(d, Qt::LeftButton, {}, QPoint(90, 20));
  QMouseEvent move(QEvent::MouseMove, QPointF(200, 20), d->mapToGlobal(QPointF(200, 20)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(d, &move);
  QTest::mouseRelease(d, Qt::LeftButton, {}, QPoint(200, 20));
  ASSERT_EQ(d->Diagram.Count(), before + 1);
  const TShemObj* n = d->Diagram.GetObj(before);
  ASSERT_TRUE(n->IsLink());
  EXPECT_EQ(n->AsLink()->Data.LinkType, ltArrowSource);
  EXPECT_EQ(n->AsLink()->Data.Source.Get(), a);
  EXPECT_EQ(n->AsLink()->Data.Target.Get(), b);
}

TEST(LinkPalette, AClickElsewhereClosesThePointPaletteAndKeepsThePreviousChoice) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.resize(800, 600);
  f.show();
  TChildD* d = f.CreateDocument("doc");
  TLinkToolHold& hold = *f.ToolCommands->LinkToolHold;
  QToolButton* points = ButtonOf(f, TCommand::ToolLinkPoints);
  ASSERT_NE(points, nullptr);

  Hold(points, hold);
  EXPECT_EQ(f.AppState.CurrentTool, TTool::LinkPoints);
  EXPECT_EQ(hold.MenuF->Shown(), TMenuF::TBar::Points);
  EXPECT_EQ(hold.MenuF->size(), QSize(28, 48));
  QTest::mouseClick(hold.MenuF->Button(TMenuF::TBar::Points, 1), Qt::LeftButton);
  EXPECT_EQ(f.AppState.LinkPointsPicture, 12);

  Hold(points, hold);
  ASSERT_TRUE(hold.MenuF->isVisible());
  // The click lands on the document, as the window system delivers it while
  // the palette is up.
  QWindow* window = f.windowHandle();
  ASSERT_NE(window, nullptr);
  const QPoint at = d->mapTo(&f, QPoint(100, 100));
  QTest::mouseClick(window, Qt::LeftButton, {}, at);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !hold.MenuF->isVisible(); }, 1000));
  EXPECT_EQ(f.AppState.LinkPointsPicture, 12);
  EXPECT_TRUE(SameImage(f.Actions->Action(TCommand::ToolLinkPoints)->icon(), SpecialCell(12)));
}

TEST(LinkPalette, AShortClickOnlyChoosesTheToolAndAFloatingBarOpensItBesideTheButton) {
  Fixture fx;
  TMainForm f(fx.Options());
  f.show();
  f.CreateDocument("doc");
  TLinkToolHold& hold = *f.ToolCommands->LinkToolHold;
  QToolButton* link = ButtonOf(f, TCommand::ToolLink);
  QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(8, 8));
  EXPECT_FALSE(hold.PressHoldTimer.isActive());
  QTest::qWait(TLinkToolHold::HoldMs + 100);
  EXPECT_FALSE(hold.MenuF->isVisible());
  EXPECT_EQ(f.AppState.CurrentTool, TTool::CreateLink);
  EXPECT_TRUE(f.Actions->Action(TCommand::ToolLink)->isChecked());

  // Floating, as a restored floating toolbar is.
  f.SpecialToolbar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  f.SpecialToolbar->move(100, 300);
  f.SpecialToolbar->show();
  QCoreApplication::processEvents();
  hold.OpenPalette(3);
  ASSERT_TRUE(hold.MenuF->isVisible());
  const QRect button(link->mapToGlobal(QPoint(0, 0)), link->size());
  const QRect palette = hold.MenuF->geometry();
  EXPECT_FALSE(palette.intersects(button));
  EXPECT_TRUE(palette.left() == button.right() + 1 || palette.right() == button.left() - 1);
  hold.MenuF->close();
}
