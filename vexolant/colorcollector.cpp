#include "vexolant/colorcollector.h"

#include "platform/halftone.h"

namespace vexolant {

TPixelRows::TPixelRows(const platform::BmpFile& bitmap) : bitmap_(bitmap) {
  if (bitmap.IsIndexed()) {
    for (unsigned i = 0; i < 256; ++i) colorOfByte_[i] = bitmap.PaletteColor(i);
  } else {
    colorOfByte_ = platform::HalftonePalette();
    rgb_.resize(std::size_t(bitmap.Width()) * 3);
    reduced_.resize(std::size_t(bitmap.Width()));
  }
}

const std::uint8_t* TPixelRows::Row(int y) {
  if (bitmap_.IsIndexed()) return bitmap_.IndexRow(y);
  platform::HalftoneBitmapRow(bitmap_, y, reduced_.data(), rgb_.data());
  return reduced_.data();
}

TColorCollector::TColorCollector(const std::array<std::uint32_t, 256>& colorOfByte)
    : colorOfByte_(colorOfByte) {
  indexOfByte_.fill(-1);
}

int TColorCollector::Assign(std::uint8_t b) {
  const std::uint32_t c = colorOfByte_[b];
  int i = colors_.Find(c);
  if (i < 0) i = colors_.Append(c);
  indexOfByte_[b] = std::int16_t(i);
  byteMap_[b] = std::uint8_t(i);
  if (++bytesSeen_ == 256) complete_ = true;
  return i;
}

TColorTable TColorCollector::RoundedTable() const {
  TColorTable table = colors_;
  table.RoundUpToPowerOfTwo();
  table.FillTriples();
  return table;
}

}  // namespace vexolant
