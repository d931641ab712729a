// A fixed 256-colour halftone palette and the reduction of a true-colour
// bitmap to 8 bits per pixel against it, each pixel becoming the nearest
// palette colour (smallest squared distance in RGB; on a tie the entry with the
// smaller index).
//
// The colours, in palette order, and why they are there:
//  - 0..215: the 6 x 6 x 6 colour cube with the levels 0, 51, 102, 153, 204 and
//    255 on each channel (index 36 * r + 6 * g + b, with r, g, b the level
//    numbers). It holds black, white and the pure primaries and secondaries
//    exactly and keeps any colour within 25.5 of a palette colour on each
//    channel, so an arbitrary picture still looks right.
//  - 216..223: the eight standard 16-colour display colours that the cube lacks
//    (maroon, dark green, olive, navy, purple, teal, grey 128, silver 192).
//    Diagrams use them as block, line and text colours, and they come back
//    exactly instead of shifted to a cube neighbour.
//  - 224..227: the four further system colours of the classic 20-colour display
//    palette (money green, sky blue, cream, medium grey), which show up in
//    window and selection colours that end up in a screenshot-like bitmap.
//  - 228..255: 28 more greys, the multiples of 8 from 8 to 248 that are not
//    already present (128 and 192 are; 200 is left out as it lies next to the
//    cube's 204). A diagram is mostly black lines and text on white or on a
//    light grey; anti-aliasing turns their edges into greys, and this ramp
//    keeps those edges smooth. 240 is the usual window background grey.
// All 256 colours are distinct, so the reduction never yields more than 256.
#pragma once

#include <array>
#include <cstdint>

#include "platform/bmpfile.h"

namespace platform {

// The palette as colour values (red in the low byte).
const std::array<ColorValue, 256>& HalftonePalette();

// Index of the palette colour nearest to (r, g, b).
std::uint8_t HalftoneIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// Maps n pixels given as red, green, blue bytes to their palette indices.
// Pictures repeat colours in runs: a pixel of the same colour as the one
// before it takes its index without a lookup, and runs are skipped four
// pixels at a time.
void HalftoneRow(const std::uint8_t* rgb, std::size_t n, std::uint8_t* out);

// Maps row y (0 = top) of a true-colour bitmap to palette indices, Width()
// of them. Rows stored as red, green, blue or blue, green, red (with or
// without a fourth byte) are read where they lie; others are first decoded
// into scratch, which must hold Width() * 3 bytes.
void HalftoneBitmapRow(const BmpFile& bitmap, int y, std::uint8_t* out, std::uint8_t* scratch);

// Converts a bitmap to 8 bits per pixel with the halftone palette as its
// palette: every pixel becomes the palette colour nearest to its colour.
BmpFile ReduceToHalftone(const BmpFile& source);

}  // namespace platform
