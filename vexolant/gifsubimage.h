// One image of a GIF file: before conversion the bitmap it was made from,
// after conversion its colour table, pixel indices and compressed data.
#pragma once

#include <memory>
#include <optional>

#include "platform/bmpfile.h"
#include "vexolant/bigbytearray.h"
#include "vexolant/bytebuffer.h"
#include "vexolant/colortable.h"

namespace vexolant {

class TGifFile;

class TGifSubImage {
 public:
  // An image not yet converted, owning its source bitmap.
  TGifSubImage(TGifFile* owner, std::unique_ptr<platform::BmpFile> bitmap);
  // A converted image of width by height pixels for a colour table of
  // colorCount entries; throws EGifException when the count is not a power
  // of two from 2 to 256.
  TGifSubImage(TGifFile* owner, int colorCount, std::size_t width, std::size_t height);

  bool Converted() const { return !Bitmap; }
  // Makes the converted image from the source bitmap (see giffile.cpp).
  std::unique_ptr<TGifSubImage> Convert() const;
  // Compresses the pixel indices into CompressedData.
  void Compress();
  // The packed flags byte of the image descriptor.
  std::uint8_t DescriptorFlags() const;

  std::uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool HasLocalTable = false;
  bool Interlaced = false;
  int BitsPerPixel = 1;  // exponent of the colour count
  int MinCodeSize = 2;   // bits per pixel, but at least 2
  TColorTable ColorTable;
  std::optional<TByteArray2D> Pixels;
  std::optional<TByteBuffer> CompressedData;
  TGifFile* Owner = nullptr;
  std::unique_ptr<platform::BmpFile> Bitmap;  // until converted
};

}  // namespace vexolant
