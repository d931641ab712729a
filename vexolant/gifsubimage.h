// One image of a GIF file: before conversion the bitmap it was made from;
// after conversion its colour table, and the bitmap as the source of its
// pixel indices, which are made a row at a time while the image data is
// written (never held as a whole).
#pragma once

#include <memory>

#include "platform/bmpfile.h"
#include "vexolant/bytesink.h"
#include "vexolant/colorcollector.h"
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
  ~TGifSubImage();

  bool Converted() const { return converted_; }
  // Makes the converted image from this one, which gives up its bitmap
  // (see gifsubimage.cpp).
  std::unique_ptr<TGifSubImage> Convert();
  // Writes the image data of a converted image: the LZW minimum code size,
  // the compressed pixel indices in blocks of 1..255 bytes each behind its
  // length, and a zero byte. Completes ColorTable.
  void WriteData(TByteSink& out);
  // The packed flags byte of the image descriptor.
  std::uint8_t DescriptorFlags() const;

  std::uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool HasLocalTable = false;
  bool Interlaced = false;
  int BitsPerPixel = 1;  // exponent of the colour count
  int MinCodeSize = 2;   // bits per pixel, but at least 2
  TColorTable ColorTable;
  TGifFile* Owner = nullptr;
  // The source bitmap; after conversion, where the pixel indices come from.
  std::unique_ptr<platform::BmpFile> Bitmap;

 private:
  bool converted_ = false;
  std::unique_ptr<TPixelRows> rows_;
  std::unique_ptr<TColorCollector> colors_;
};

}  // namespace vexolant
