#include "editor/cursors.h"

#include <QPixmap>
#include <QString>
#include <array>

namespace {
const char* const kNames[CursorCount] = {"",         "Link",       "BlockLink",   "HandClosed",
                                         "Move",     "SizeNS",     "SizeNESW",    "SizeWE",
                                         "SizeNWSE", "CornerPlus", "CornerMinus", "Hand"};

// Hot spots of the cursor images (32 by 32), by cursor number.
const QPoint kHotSpots[CursorCount] = {{0, 0},   {0, 0},   {0, 0},   {16, 16}, {16, 16}, {15, 15},
                                       {15, 15}, {15, 15}, {15, 15}, {2, 2},   {2, 2},   {14, 2}};

std::array<QCursor, CursorCount>& Table() {
  static std::array<QCursor, CursorCount> table;
  return table;
}
bool g_loaded = false;
}  // namespace

// The cursor images are compiled into a static library; make sure they are
// registered even when nothing else of their object file is used.
static void InitCursorResources() { Q_INIT_RESOURCE(cursors); }

const char* CursorName(TCursor c) {
  const int n = int(c);
  return n >= 0 && n < CursorCount ? kNames[n] : "";
}

void LoadAppCursors() {
  if (g_loaded) return;
  g_loaded = true;
  InitCursorResources();
  std::array<QCursor, CursorCount>& table = Table();
  table[0] = QCursor(Qt::ArrowCursor);
  for (int n = 1; n < CursorCount; ++n) {
    const QPixmap pm(QStringLiteral(":/cursors/") + QString::fromLatin1(kNames[n]));
    table[size_t(n)] =
        pm.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(pm, kHotSpots[n].x(), kHotSpots[n].y());
  }
}

const QCursor& AppCursor(TCursor c) {
  LoadAppCursors();
  const int n = int(c);
  return Table()[size_t(n >= 0 && n < CursorCount ? n : 0)];
}
