#pragma once
// The toolbar image strips, drawn by the program: rows of 16 by 16 cells on
// magenta, which is transparent. Cell numbers are the image numbers of the
// command table.

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
