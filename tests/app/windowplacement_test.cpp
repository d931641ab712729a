// Window placement: the cascade of new document windows and the screen check
// of a restored main window.
#include "app/windowplacement.h"

#include <gtest/gtest.h>

TEST(CascadeRect, StepsDownRightStaysInsideAndStartsOver) {
  const QSize area(600, 300);
  const int step = 25;  // a third of 300 holds 4 steps
  const QRect first = CascadeRect(area, 0, step);
  EXPECT_EQ(first, QRect(0, 0, 500, 200));
  for (int n = 0; n < 12; ++n) {
    SCOPED_TRACE(n);
    const QRect r = CascadeRect(area, n, step);
    EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(r));
    EXPECT_EQ(r.size(), first.size());
    EXPECT_EQ(r.topLeft(), QPoint(25, 25) * (n % 5));
  }
  // The furthest window ends exactly at the bottom-right corner.
  EXPECT_EQ(CascadeRect(area, 4, step).bottomRight(), QPoint(599, 299));
}

TEST(CascadeRect, SmallAndWideAreasStillHoldTheirWindows) {
  for (const QSize area : {QSize(630, 300), QSize(1600, 1000), QSize(120, 40), QSize(40, 500),
                           QSize(3, 2), QSize(0, 0)}) {
    for (int n = 0; n < 9; ++n) {
      SCOPED_TRACE(testing::Message() << area.width() << "x" << area.height() << " #" << n);
      const QRect r = CascadeRect(area, n, 30);
      EXPECT_GE(r.left(), 0);
      EXPECT_GE(r.top(), 0);
      EXPECT_LE(r.left() + r.width(), area.width());
      EXPECT_LE(r.top() + r.height(), area.height());
      // Never less than two thirds of the area on either side.
      EXPECT_GE(3 * r.width(), 2 * area.width());
      EXPECT_GE(3 * r.height(), 2 * area.height());
    }
  }
  // A step of zero or less is taken as one pixel instead of dividing by it.
  EXPECT_EQ(CascadeRect(QSize(30, 30), 1, 0), QRect(1, 1, 20, 20));
}

TEST(FitOnScreens, WindowsOnAScreenStayAndOthersAreBroughtOntoOne) {
  const QList<QRect> screens = {QRect(0, 0, 1600, 1000), QRect(1600, 200, 1280, 800)};
  // Inside either screen: unchanged.
  EXPECT_EQ(FitOnScreens(QRect(100, 100, 630, 377), screens), QRect(100, 100, 630, 377));
  EXPECT_EQ(FitOnScreens(QRect(2000, 300, 630, 377), screens), QRect(2000, 300, 630, 377));
  // Hanging over the right edge of the second screen: moved back just enough.
  EXPECT_EQ(FitOnScreens(QRect(2700, 300, 630, 377), screens), QRect(2250, 300, 630, 377));
  // Mostly on the first screen, partly above it.
  EXPECT_EQ(FitOnScreens(QRect(50, -100, 630, 377), screens), QRect(50, 0, 630, 377));
  // On no screen at all: the first one, at the nearest place.
  EXPECT_EQ(FitOnScreens(QRect(-5000, 4000, 630, 377), screens), QRect(0, 623, 630, 377));
  // Larger than the screen it overlaps most: shrunk to it.
  EXPECT_EQ(FitOnScreens(QRect(1700, 100, 3000, 3000), screens), QRect(1600, 200, 1280, 800));
  // Without screens there is nothing to fit into.
  EXPECT_EQ(FitOnScreens(QRect(-5000, 0, 10, 10), {}), QRect(-5000, 0, 10, 10));
}
