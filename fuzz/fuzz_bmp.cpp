// Any bytes given to the BMP reader: it either refuses them with BmpError or
// yields a bitmap whose every row reads back, and which reduces to the
// halftone palette.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/bmpfile.h"
#include "platform/halftone.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const platform::BmpFile bmp = platform::BmpFile::LoadFromMemory(data, size);
    if (bmp.Width() <= 0 || bmp.Height() <= 0) std::abort();
    // Keep each input cheap: large but valid headers are not the point here.
    if (std::size_t(bmp.Width()) * std::size_t(bmp.Height()) > (1u << 22)) return 0;
    std::vector<uint8_t> row(std::size_t(bmp.Width()) * 3);
    for (int y = 0; y < bmp.Height(); ++y) bmp.ReadRgbRow(y, row.data());
    const platform::BmpFile reduced = platform::ReduceToHalftone(bmp);
    if (reduced.BitsPerPixel() != 8 || reduced.Width() != bmp.Width()) std::abort();
  } catch (const platform::BmpError&) {
  }
  return 0;
}
