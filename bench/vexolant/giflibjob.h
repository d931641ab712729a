// The GIF job done with giflib, for comparison: read a bitmap file of 8 or 24
// bits (the bottom-up, 40-byte-header files of pictures.h), bring it to 8
// bits where needed, and write it with EGifPutLine, row by row.
#pragma once

#include <string>

namespace vxbench {

// True when the benchmark was built with giflib.
bool HaveGiflib();

// Writes the bitmap at bmpPath as a GIF file at gifPath. A 24-bit picture is
// reduced to the 6 x 6 x 6 colour cube through per-channel lookup tables (a
// pixel of the same colour as the one before it reuses its index): the
// cheapest fixed-palette reduction there is, so that giflib's side of the
// comparison does as little work as possible. Returns false on failure.
bool GiflibSave(const std::string& bmpPath, const std::string& gifPath);

}  // namespace vxbench
