// The mouse wheel over a document: scrolling up and down, sideways with Shift,
// and stepping the scale with Ctrl about the point under the mouse.
#include <QApplication>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "guitestenv.h"

namespace {
struct Window {
  TTestHost host;
  TChildD doc{&host};
  Window() {
    doc.resize(420, 300);
    doc.FormResize();
  }
  // One wheel event at pixel `at` of the widget `to` (the document by default);
  // true when someone took it.
  bool Wheel(QPoint at, int dy, Qt::KeyboardModifiers mods = Qt::NoModifier, int dx = 0,
             QWidget* to = nullptr) {
    QWidget* target = to ? to : &doc;
    QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(dx, dy), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    e.setAccepted(false);
    QApplication::sendEvent(target, &e);
    return e.isAccepted();
  }
};
}  // namespace

TEST(ChildDWheel, WheelScrollsVerticallyAndShiftWheelHorizontallyByTheSamePixels) {
  Window w;
  w.doc.ScrollBar1->setValue(1000);
  w.doc.ScrollBar2->setValue(1000);
  const QPoint mouse(100, 100);
  EXPECT_TRUE(w.Wheel(mouse, -120));  // one notch towards the user: further down
  const int down = w.doc.Origin.Y - 1000;
  EXPECT_GT(down, 0);
  EXPECT_EQ(w.doc.Origin.X, 1000);
  EXPECT_EQ(w.doc.ScrollBar2->value(), w.doc.Origin.Y);
  w.Wheel(mouse, 120);
  EXPECT_EQ(w.doc.Origin, (TPoint{1000, 1000}));

  w.Wheel(mouse, -120, Qt::ShiftModifier);
  EXPECT_EQ(w.doc.Origin, (TPoint{1000 + down, 1000}));
  EXPECT_EQ(w.doc.ScrollBar1->value(), 1000 + down);
  w.Wheel(mouse, 120, Qt::ShiftModifier);
  EXPECT_EQ(w.doc.Origin.X, 1000);
  // A tilting wheel scrolls sideways by itself.
  w.Wheel(mouse, 0, Qt::NoModifier, -120);
  EXPECT_EQ(w.doc.Origin, (TPoint{1000 + down, 1000}));

  // The same distance on screen at every scale: fewer units when larger.
  w.doc.Scale = 8;
  w.doc.UpdateScrollRanges();
  const int before = w.doc.Origin.Y;
  w.Wheel(mouse, -120);
  EXPECT_EQ((w.doc.Origin.Y - before) * 8, down * 2);
  // Fine wheels send small steps; they add up to a notch.
  w.doc.Scale = 2;
  w.doc.UpdateScrollRanges();
  const int start = w.doc.Origin.Y;
  for (int i = 0; i < 4; ++i) w.Wheel(mouse, -30);
  EXPECT_EQ(w.doc.Origin.Y - start, down);

  // Scrolling ends text editing, as the scroll bars do.
  w.doc.Memo1->show();
  w.Wheel(mouse, -120);
  EXPECT_TRUE(w.doc.Memo1->isHidden());
  // At the top it stops at zero.
  w.doc.ScrollBar2->setValue(3);
  w.Wheel(mouse, 120);
  EXPECT_EQ(w.doc.Origin.Y, 0);
}

TEST(ChildDWheel, CtrlWheelStepsTheScaleAndKeepsThePointUnderTheMouse) {
  Window w;
  w.doc.ScrollBar1->setValue(20000);
  w.doc.ScrollBar2->setValue(30000);
  const QPoint mouse(157, 93);
  const TPoint under = w.doc.ScreenToDiagram({mouse.x(), mouse.y()});
  const int steps[] = {4, 8, 8, 4, 2, 1, 1, 2};
  for (int expected : steps) {
    const int dy = expected > w.doc.Scale || (expected == 8 && w.doc.Scale == 8) ? 120 : -120;
    EXPECT_TRUE(w.Wheel(mouse, dy, Qt::ControlModifier));
    SCOPED_TRACE(expected);
    EXPECT_EQ(w.doc.Scale, expected);
    EXPECT_EQ(w.doc.ScreenToDiagram({mouse.x(), mouse.y()}), under);
    EXPECT_EQ(w.doc.Origin, (TPoint{w.doc.ScrollBar1->value(), w.doc.ScrollBar2->value()}));
    // As the Zoom command: the ranges and the font follow the scale.
    EXPECT_EQ(w.doc.ScrollBar1->maximum(),
              65535 - Round(double(w.doc.ViewBottomRight.X) / w.doc.Scale));
    EXPECT_EQ(w.doc.CanvasFont().pointSize(), FontSizeForScale(w.doc.Scale));
  }
  // Near the top-left corner the view cannot go further: the origin stays in range.
  w.doc.ScrollBar1->setValue(0);
  w.doc.ScrollBar2->setValue(0);
  w.Wheel(QPoint(300, 200), -120, Qt::ControlModifier);
  EXPECT_EQ(w.doc.Scale, 1);
  EXPECT_EQ(w.doc.Origin, (TPoint{0, 0}));
}

TEST(ChildDWheel, TheScrollBarsKeepTheirOwnWheelBehaviour) {
  Window w;
  w.doc.ScrollBar1->setValue(500);
  w.doc.ScrollBar2->setValue(500);
  // What a scroll bar like ours does with one notch on its own.
  QScrollBar plain(Qt::Vertical);
  plain.resize(w.doc.ScrollBar2->size());
  plain.setRange(0, w.doc.ScrollBar2->maximum());
  plain.setSingleStep(w.doc.ScrollBar2->singleStep());
  plain.setPageStep(w.doc.ScrollBar2->pageStep());
  plain.setValue(500);
  QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&plain, &e);
  ASSERT_NE(plain.value(), 500);

  w.Wheel(QPoint(5, 5), -120, Qt::NoModifier, 0, w.doc.ScrollBar2);
  EXPECT_EQ(w.doc.ScrollBar2->value(), plain.value());
  EXPECT_EQ(w.doc.Origin.Y, plain.value());

  // A bar at its end lets the wheel go; the document does not scroll instead.
  w.doc.ScrollBar1->setValue(w.doc.ScrollBar1->maximum());
  const TPoint origin = w.doc.Origin;
  w.Wheel(QPoint(5, 5), -120, Qt::NoModifier, 0, w.doc.ScrollBar1);
  EXPECT_EQ(w.doc.Origin, origin);
  // Nor does a wheel over the square between the bars.
  EXPECT_FALSE(w.Wheel(QPoint(w.doc.width() - 2, w.doc.height() - 2), -120));
  EXPECT_EQ(w.doc.Origin, origin);
}
