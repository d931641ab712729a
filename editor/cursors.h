#pragma once
// The application's cursor table: eleven cursors drawn for the editing tools,
// under fixed numbers, besides the default arrow (0).

#include <QCursor>
#include <cstdint>

enum class TCursor : uint8_t {
  Default = 0,
  Link = 1,
  BlockLink = 2,
  HandClosed = 3,
  Move = 4,
  SizeNS = 5,
  SizeNESW = 6,
  SizeWE = 7,
  SizeNWSE = 8,
  CornerPlus = 9,
  CornerMinus = 10,
  Hand = 11,
};
constexpr int CursorCount = 12;

// The resource name of a cursor ("" for the default arrow).
const char* CursorName(TCursor c);
// Loads the table from the program's resources; later calls do nothing.
void LoadAppCursors();
// A cursor of the table (loaded on first use).
const QCursor& AppCursor(TCursor c);
