#include "vexolant/gifsubimage.h"

#include <string>

#include "vexolant/gifexceptions.h"
#include "vexolant/lzwencoder.h"

namespace vexolant {

TGifSubImage::TGifSubImage(TGifFile* owner, std::unique_ptr<platform::BmpFile> bitmap)
    : Owner(owner), Bitmap(std::move(bitmap)) {}

TGifSubImage::TGifSubImage(TGifFile* owner, int colorCount, std::size_t width, std::size_t height)
    : Owner(owner), converted_(true) {
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

TGifSubImage::~TGifSubImage() = default;

// Conversion: a bitmap of more than 8 bits per pixel is reduced to the
// halftone palette (row by row, as the rows are read). The colours are
// collected in order of first appearance, rows from the top, each from the
// left, until the size of the table is settled: to the end of the image, or
// until more than 128 colours are there, when the table will have 256
// entries whatever comes later. The colours not yet seen then are collected
// while the pixel indices are written, in the same order, so the table ends
// up as one pass over the whole image would make it.
std::unique_ptr<TGifSubImage> TGifSubImage::Convert() {
  if (converted_ || !Bitmap) throw EGifException("image has no bitmap to convert");
  auto rows = std::make_unique<TPixelRows>(*Bitmap);
  auto colors = std::make_unique<TColorCollector>(rows->ColorOfByte());
  const int w = rows->Width(), h = rows->Height();
  int y = 0;
  for (; y < h && colors->Count() <= 128; ++y) colors->Collect(rows->Row(y), std::size_t(w));
  if (y == h) colors->MarkComplete();
  const TColorTable table = colors->RoundedTable();

  auto image = std::make_unique<TGifSubImage>(Owner, table.Count, std::size_t(w), std::size_t(h));
  image->ColorTable = table;
  image->Bitmap = std::move(Bitmap);
  image->rows_ = std::move(rows);
  image->colors_ = std::move(colors);
  return image;
}

namespace {

// Each block of the code stream behind its length byte.
class SinkBlocks : public TBlockOutput {
 public:
  explicit SinkBlocks(TByteSink& out) : out_(out) {}
  void PutBlock(const std::uint8_t* data, std::size_t n) override {
    out_.Put(std::uint8_t(n));
    out_.Write(data, n);
  }

 private:
  TByteSink& out_;
};

}  // namespace

void TGifSubImage::WriteData(TByteSink& out) {
  if (!rows_) throw EGifException("image is not converted");
  const std::size_t w = std::size_t(rows_->Width());
  out.Put(std::uint8_t(MinCodeSize));
  SinkBlocks blocks(out);
  TLzwEncoder encoder(unsigned(MinCodeSize), blocks);
  for (int y = 0; y < rows_->Height(); ++y) {
    const std::uint8_t* row = rows_->Row(y);
    if (!colors_->Complete()) colors_->Collect(row, w);
    encoder.Feed(row, w, colors_->ByteMap());
  }
  encoder.Finish();
  out.Put(0);
  const TColorTable table = colors_->RoundedTable();
  if (table.Count != ColorTable.Count) throw EGifException("unexpected number of colors");
  ColorTable = table;
}

std::uint8_t TGifSubImage::DescriptorFlags() const {
  std::uint8_t flags = 0;
  if (HasLocalTable) flags |= 0x80;
  if (Interlaced) flags |= 0x40;
  if (HasLocalTable) flags |= std::uint8_t(BitsPerPixel - 1);
  return flags;
}

}  // namespace vexolant
