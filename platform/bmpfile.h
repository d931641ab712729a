// Reader for Windows bitmap (BMP) files.
//
// Reads uncompressed bitmaps of 1, 4, 8, 16, 24 and 32 bits per pixel
// (BI_RGB, and BI_BITFIELDS / BI_ALPHABITFIELDS for 16 and 32 bits), stored
// bottom-up or top-down, with the core (12-byte) header or any of the
// 40/52/56/108/124-byte info headers. Every header value is checked against
// the file before it is used: nothing is allocated from an unchecked size and
// nothing is read past the data.
//
// Pixels are addressed top row first:
//  - 1, 4 and 8 bits per pixel: one palette index per pixel (a byte each),
//    plus the palette; 8-bit rows are the file's own rows, 1- and 4-bit
//    rows are unpacked to a byte per pixel;
//  - 16, 24 and 32 bits per pixel: the rows are kept as the file holds them
//    and decoded to red, green, blue when read.
// So a large picture of 8 bits or more is held once and never copied. A file
// is mapped into memory read-only rather than read into a fresh buffer; the
// bitmap keeps the mapping until it is destroyed. (A file that another process
// truncates while it is mapped cannot be read any more; the bitmap files this
// reads are written for it and left alone.)
// Colours are handed out as 32-bit values with red in the low byte, then
// green, then blue, and a zero fourth byte (the usual Windows colour value).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A file that cannot be read as a bitmap: missing, unreadable or malformed.
class BmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Colour value: red | green << 8 | blue << 16.
using ColorValue = std::uint32_t;

constexpr ColorValue MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ColorValue(r) | (ColorValue(g) << 8) | (ColorValue(b) << 16);
}
constexpr std::uint8_t RedOf(ColorValue c) { return std::uint8_t(c); }
constexpr std::uint8_t GreenOf(ColorValue c) { return std::uint8_t(c >> 8); }
constexpr std::uint8_t BlueOf(ColorValue c) { return std::uint8_t(c >> 16); }

// Releases the bytes of a bitmap file: a read-only mapping of the file
// (mappedSize > 0) or a block from new[].
struct BmpBytesDeleter {
  std::size_t mappedSize = 0;
  void operator()(const std::uint8_t* p) const;
};

class BmpFile {
 public:
  // Largest width and height accepted; larger values are refused as absurd.
  static constexpr std::int32_t MaxDimension = 65535;

  // Reads a bitmap file; throws BmpError when it is missing or malformed.
  static BmpFile LoadFromFile(const std::string& path);
  // Reads a bitmap held in memory (the whole file image).
  static BmpFile LoadFromMemory(const std::uint8_t* data, std::size_t size);

  // Builds an indexed bitmap (1, 4 or 8 bits per pixel) from its parts; the
  // index array holds width * height bytes, top row first. Throws
  // std::invalid_argument on inconsistent parts.
  static BmpFile MakeIndexed(int width, int height, int bitsPerPixel,
                             std::vector<ColorValue> palette, std::vector<std::uint8_t> indices);
  // Builds a true-colour bitmap from width * height * 3 bytes (R, G, B),
  // top row first; bitsPerPixel is 16, 24 or 32 and only records the depth.
  static BmpFile MakeTrueColor(int width, int height, int bitsPerPixel,
                               std::vector<std::uint8_t> rgb);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Bits per pixel as stored in the file: 1, 4, 8, 16, 24 or 32.
  int BitsPerPixel() const { return bitsPerPixel_; }
  bool IsIndexed() const { return bitsPerPixel_ <= 8; }

  // Palette entries of an indexed bitmap (empty for true colour). It may
  // hold fewer than 2^bits entries; an index past its end reads as black.
  const std::vector<ColorValue>& Palette() const { return palette_; }
  // Colour of palette entry i, black past the end of the palette.
  ColorValue PaletteColor(unsigned i) const { return i < palette_.size() ? palette_[i] : 0; }

  // Palette index at (x, y), 0-based from the top-left; indexed bitmaps only.
  std::uint8_t IndexAt(int x, int y) const;
  // Colour at (x, y), 0-based from the top-left, for any depth.
  ColorValue PixelAt(int x, int y) const;

  // Row y (0 = top) of an indexed bitmap: Width() indices.
  const std::uint8_t* IndexRow(int y) const { return indexTop_ + indexStep_ * std::ptrdiff_t(y); }
  // Writes row y (0 = top) as Width() * 3 bytes R, G, B, for any depth.
  void ReadRgbRow(int y, std::uint8_t* out) const;

  // How the rows of a bitmap are stored: a byte per pixel (indexed), three
  // bytes red, green, blue or blue, green, red, four bytes blue, green, red
  // and an unused one, or 16- or 32-bit words with colour bit masks.
  enum class Layout { Indexed, Rgb24, Bgr24, Bgrx32, Masked16, Masked32 };
  Layout RowLayout() const { return layout_; }
  // Row y (0 = top) as stored (see RowLayout), for any depth.
  const std::uint8_t* StoredRow(int y) const { return IsIndexed() ? IndexRow(y) : RawRow(y); }

  BmpFile(BmpFile&&) = default;
  BmpFile& operator=(BmpFile&&) = default;
  BmpFile(const BmpFile&) = delete;
  BmpFile& operator=(const BmpFile&) = delete;

  // One colour channel of a 16- or 32-bit pixel, given by a bit mask.
  struct Channel {
    unsigned shift = 0;
    std::uint32_t max = 0;  // mask >> shift
    std::uint8_t Get(std::uint32_t pixel) const {
      const std::uint64_t v = (pixel >> shift) & max;
      return std::uint8_t((v * 255 + max / 2) / max);
    }
  };

 private:
  using RawDeleter = BmpBytesDeleter;
  using RawBytes = std::unique_ptr<const std::uint8_t[], RawDeleter>;

  BmpFile() = default;
  static BmpFile Parse(RawBytes data, std::size_t size);
  const std::uint8_t* RawRow(int y) const {
    return raw_.get() + static_cast<std::ptrdiff_t>(firstRow_) + rowStep_ * std::ptrdiff_t(y);
  }

  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  std::vector<ColorValue> palette_;
  // Indexed bitmaps: the top row of indices at indexTop_, the next one
  // indexStep_ bytes further; in indices_ (unpacked 1- and 4-bit rows, or
  // made by MakeIndexed) or in raw_ (an 8-bit file's own rows).
  std::vector<std::uint8_t> indices_;
  const std::uint8_t* indexTop_ = nullptr;
  std::ptrdiff_t indexStep_ = 0;
  // True-colour bitmaps: the rows in raw_, the top one at firstRow_, the
  // next one rowStep_ bytes further (negative for bottom-up files).
  RawBytes raw_;
  std::size_t firstRow_ = 0;
  std::ptrdiff_t rowStep_ = 0;
  Layout layout_ = Layout::Indexed;
  Channel red_, green_, blue_;
};

}  // namespace platform
