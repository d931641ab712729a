#pragma once
// Where windows go: new document windows cascade inside the main window's
// document area, and a main window restored from the settings lands on a screen.

#include <QList>
#include <QRect>
#include <QSize>

// The place of a new document window in an area of the given size when
// `count` document windows are open already. Each window starts `step` pixels
// right of and below the one before it; after as many steps as fit into a
// third of the area the next one starts over at the top-left. All windows have
// the same size, chosen so that the one furthest down still ends at the area's
// bottom-right corner: every window lies fully inside the area (in a small
// area they shrink to fit).
QRect CascadeRect(QSize area, int count, int step);

// A top-level window's geometry moved onto a screen. A window that lies inside
// one of the screens' rectangles stays where it is; otherwise it goes into the
// screen that it overlaps most (the first one when it overlaps none), moved
// just as far as needed and shrunk when it is larger than that screen.
QRect FitOnScreens(const QRect& window, const QList<QRect>& screens);
