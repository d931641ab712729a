#include "vexolant/gifsubimage.h"

#include <array>

#include "platform/halftone.h"
#include "vexolant/gifexceptions.h"
#include "vexolant/lzwencoder.h"

namespace vexolant {

TGifSubImage::TGifSubImage(TGifFile* owner, std::unique_ptr<platform::BmpFile> bitmap)
    : Owner(owner), Bitmap(std::move(bitmap)) {}

TGifSubImage::TGifSubImage(TGifFile* owner, int colorCount, std::size_t width, std::size_t height)
    : Owner(owner) {
  const int bits = ColorCountExponent(colorCount);
  if (bits == 0)
    throw EGifException("Number of colors (" + std::to_string(colorCount) +
                        ") wrong; must be a power of 2");
  if (width == 0 || height == 0 || width > 65535 || height > 65535)
    throw EGifException("Image size " + std::to_string(width) + " by " + std::to_string(height) +
                        " cannot be written to a GIF file");
  BitsPerPixel = bits;
  MinCodeSize = bits < 2 ? 2 : bits;
  Width = std::uint16_t(width);
  Height = std::uint16_t(height);
}

// Conversion: a bitmap of more than 8 bits per pixel is first reduced to the
// halftone palette. Then every pixel's colour (the palette colour its index
// selects) is looked up among the colours collected so far and appended when
// new, so the table holds the distinct colours in order of first appearance,
// rows from the top, each from the left. A byte that has been seen before
// reuses its earlier result: the search would find the same entry again.
std::unique_ptr<TGifSubImage> TGifSubImage::Convert() const {
  if (!Bitmap) throw EGifException("image has no bitmap to convert");
  const platform::BmpFile* source = Bitmap.get();
  std::optional<platform::BmpFile> reduced;
  if (!source->IsIndexed()) {
    reduced = platform::ReduceToHalftone(*source);
    source = &*reduced;
  }
  const std::size_t w = std::size_t(source->Width());
  const std::size_t h = std::size_t(source->Height());

  TColorTable table;
  TByteArray2D pixels(w, h);
  std::array<int, 256> indexOfByte;
  indexOfByte.fill(-1);
  for (std::size_t y = 1; y <= h; ++y) {
    const std::uint8_t* src = source->IndexRow(int(y - 1));
    std::uint8_t* dst = pixels.Row(y);
    for (std::size_t x = 0; x < w; ++x) {
      int i = indexOfByte[src[x]];
      if (i < 0) {
        const std::uint32_t c = source->PaletteColor(src[x]);
        i = table.Find(c);
        if (i < 0) i = table.Append(c);
        indexOfByte[src[x]] = i;
      }
      dst[x] = std::uint8_t(i);
    }
  }
  table.RoundUpToPowerOfTwo();
  table.FillTriples();

  auto image = std::make_unique<TGifSubImage>(Owner, table.Count, w, h);
  image->ColorTable = table;
  image->Pixels.emplace(std::move(pixels));
  return image;
}

void TGifSubImage::Compress() {
  if (!Pixels) throw EGifException("image is not converted");
  CompressedData.emplace();
  CompressLzw(Pixels->Data(), Pixels->Size(), unsigned(MinCodeSize), *CompressedData);
}

std::uint8_t TGifSubImage::DescriptorFlags() const {
  std::uint8_t flags = 0;
  if (HasLocalTable) flags |= 0x80;
  if (Interlaced) flags |= 0x40;
  if (HasLocalTable) flags |= std::uint8_t(BitsPerPixel - 1);
  return flags;
}

}  // namespace vexolant
