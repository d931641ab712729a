// JPEG compression of a bitmap with libjpeg: a baseline sequential colour
// JPEG (three RGB components, the library's default tables, sampling and
// Huffman coding) at a given quality, collected in memory.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/bmpfile.h"
#include "vexolant/bytesink.h"

namespace vexolant {

// A failure inside libjpeg, with the library's message.
class EJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Compresses the bitmap, rows top to bottom, each pixel as red, green, blue,
// into out. Rows stored as the library can read them (red, green, blue; or,
// with libjpeg-turbo, blue, green, red with or without a fourth byte) are
// handed over where they lie; others are converted a row at a time. The
// compression object is destroyed and every buffer released on every path;
// a libjpeg failure throws EJpegError, a failure of out its own error.
void WriteJpeg(const platform::BmpFile& bitmap, int quality, TByteSink& out);

// The same, collected in memory.
std::vector<std::uint8_t> CompressJpeg(const platform::BmpFile& bitmap, int quality);

}  // namespace vexolant
