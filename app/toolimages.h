#pragma once
// The toolbar image strips, drawn by the program: rows of 16 by 16 cells on
// magenta, which is transparent. Cell numbers are the image numbers of the
// command table.

#include <QIcon>
#include <QPixmap>

// New, open, save, cut, copy, paste, scale, listing, (unused), delete,
// preview, print, grid, text left, centre and right.
QPixmap StandartStrip();
// The tools: select, edit text, the block kinds, the link pictures 7 to 12
// (new link types, add and delete point), move document and more block kinds.
QPixmap SpecialStrip();
// Align left, centres, right, space horizontally; tops, middles, bottoms,
// space vertically.
QPixmap AlignStrip();
// The six pictures of the link palette: the four arrowhead choices of a new
// link (none, at the target, at the source, both), add and delete a point.
QPixmap PaletteStrip();
// One cell of the Special strip as an icon (null for a cell it lacks).
QIcon SpecialCell(int cell);
