#include "platform/bmpfile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>

namespace platform {

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;
constexpr std::size_t FileHeaderSize = 14;

// Files larger than this are refused before they are read into memory.
constexpr std::uint64_t MaxFileSize = std::uint64_t(1) << 31;

std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) { return std::int32_t(U32(p)); }

[[noreturn]] void Fail(const std::string& what) { throw BmpError("Invalid bitmap: " + what); }

// Sets up a channel from its bit mask; an empty or broken mask is refused.
void InitChannel(BmpFile::Channel& c, std::uint32_t mask, const char* name) {
  if (mask == 0) Fail(std::string("the ") + name + " mask is empty");
  c.shift = 0;
  while (((mask >> c.shift) & 1u) == 0) ++c.shift;
  c.max = mask >> c.shift;
  if ((c.max & (c.max + 1)) != 0) Fail(std::string("the ") + name + " mask is not contiguous");
}

}  // namespace

void BmpBytesDeleter::operator()(const std::uint8_t* p) const {
  if (mappedSize > 0)
    ::munmap(const_cast<std::uint8_t*>(p), mappedSize);
  else
    delete[] p;
}

namespace {

// Files smaller than this are read; larger ones are mapped, which spares
// the fresh memory (and its page faults) of a copy as large as the file.
constexpr std::size_t MapThreshold = 256 * 1024;

struct FdCloser {
  int fd;
  ~FdCloser() { ::close(fd); }
};

}  // namespace

BmpFile BmpFile::LoadFromFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw BmpError("Cannot open bitmap file \"" + path + "\": " + std::strerror(errno));
  FdCloser closer{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0) throw BmpError("Cannot read bitmap file \"" + path + "\"");
  if (!S_ISREG(st.st_mode))
    throw BmpError("Cannot read bitmap file \"" + path + "\": not a regular file");
  if (std::uint64_t(st.st_size) > MaxFileSize)
    throw BmpError("Bitmap file \"" + path + "\" is too large");
  const std::size_t size = static_cast<std::size_t>(st.st_size);

  if (size >= MapThreshold) {
    // Read-only and populated at once: the pages of the file's cache are
    // mapped in one call instead of one fault at a time.
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map != MAP_FAILED)
      return Parse(RawBytes(static_cast<const std::uint8_t*>(map), RawDeleter{size}), size);
    // A file system that cannot map files: read it instead.
  }
  std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[size == 0 ? 1 : size]);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, data.get() + done, size - done, off_t(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw BmpError("Cannot read bitmap file \"" + path + "\"");
    done += std::size_t(n);
  }
  return Parse(RawBytes(data.release(), RawDeleter{}), size);
}

BmpFile BmpFile::LoadFromMemory(const std::uint8_t* bytes, std::size_t size) {
  std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[size == 0 ? 1 : size]);
  if (size != 0) std::memcpy(data.get(), bytes, size);
  return Parse(RawBytes(data.release(), RawDeleter{}), size);
}

BmpFile BmpFile::Parse(RawBytes buffer, std::size_t size) {
  const std::uint8_t* data = buffer.get();
  if (size < FileHeaderSize + 4) Fail("the file is too short for its headers");
  if (data[0] != 'B' || data[1] != 'M') Fail("the file does not start with \"BM\"");
  const std::uint32_t offBits = U32(data + 10);
  const std::uint32_t headerSize = U32(data + 14);
  const std::uint8_t* h = data + FileHeaderSize;
  if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
      headerSize != 108 && headerSize != 124)
    Fail("unsupported header size " + std::to_string(headerSize));
  if (FileHeaderSize + headerSize > size) Fail("the file is too short for its headers");

  std::int64_t width, height;
  unsigned planes, bits;
  std::uint32_t compression = BI_RGB, clrUsed = 0;
  bool core = headerSize == 12;
  if (core) {
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    bits = U16(h + 10);
  } else {
    width = I32(h + 4);
    height = I32(h + 8);
    planes = U16(h + 12);
    bits = U16(h + 14);
    compression = U32(h + 16);
    clrUsed = U32(h + 32);
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1) Fail("the number of planes is " + std::to_string(planes) + ", not 1");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    Fail("unsupported number of bits per pixel " + std::to_string(bits));
  if (width <= 0 || height <= 0) Fail("the image is empty or has a negative width");
  if (width > MaxDimension || height > MaxDimension)
    Fail("absurd dimensions " + std::to_string(width) + " by " + std::to_string(height));
  if (topDown && core) Fail("the image height is negative");

  std::size_t pos = FileHeaderSize + headerSize;  // first byte after the header
  Channel red, green, blue;
  auto init = [](Channel& c, std::uint32_t mask, const char* name) { InitChannel(c, mask, name); };
  if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
    if (bits != 16 && bits != 32)
      Fail("bit fields with " + std::to_string(bits) + " bits per pixel");
    std::uint32_t masks[3];
    if (headerSize >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = U32(h + 40 + 4 * i);
    } else {
      // The masks follow a 40-byte header (a fourth, alpha, with BI_ALPHABITFIELDS).
      std::size_t n = compression == BI_ALPHABITFIELDS ? 16 : 12;
      if (pos + n > size) Fail("the file is too short for its colour masks");
      for (int i = 0; i < 3; ++i) masks[i] = U32(data + pos + 4 * i);
      pos += n;
    }
    init(red, masks[0], "red");
    init(green, masks[1], "green");
    init(blue, masks[2], "blue");
  } else if (compression == BI_RGB) {
    if (bits == 16) {
      init(red, 0x7C00, "red");
      init(green, 0x03E0, "green");
      init(blue, 0x001F, "blue");
    } else if (bits == 32) {
      init(red, 0x00FF0000, "red");
      init(green, 0x0000FF00, "green");
      init(blue, 0x000000FF, "blue");
    }
  } else {
    Fail("unsupported compression " + std::to_string(compression));
  }

  BmpFile bmp;
  bmp.width_ = int(width);
  bmp.height_ = int(height);
  bmp.bitsPerPixel_ = int(bits);

  if (bits <= 8) {
    const std::uint32_t maxColors = 1u << bits;
    std::uint32_t count = clrUsed == 0 || core ? maxColors : clrUsed;
    if (count > maxColors)
      Fail("the palette holds " + std::to_string(count) + " entries, more than " +
           std::to_string(maxColors));
    const std::size_t entrySize = core ? 3 : 4;
    if (pos + std::size_t(count) * entrySize > size) Fail("the file is too short for its palette");
    bmp.palette_.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint8_t* e = data + pos + std::size_t(i) * entrySize;
      bmp.palette_[i] = MakeColor(e[2], e[1], e[0]);
    }
  }

  // Pixel rows: each padded to a multiple of 4 bytes. The padding of the
  // very last row may be missing; its pixels may not.
  const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
  const std::uint64_t lastRow = (std::uint64_t(width) * bits + 7) / 8;
  if (offBits < FileHeaderSize + 12 || offBits > size)
    Fail("the pixel data offset lies outside the file");
  const std::uint64_t need = stride * std::uint64_t(height - 1) + lastRow;
  if (need > size - offBits) Fail("the file is too short for its pixel data");

  const std::size_t w = std::size_t(width);
  const std::size_t hgt = std::size_t(height);
  const std::size_t firstRow = offBits + (topDown ? 0 : std::size_t(stride) * (hgt - 1));
  const std::ptrdiff_t rowStep = topDown ? std::ptrdiff_t(stride) : -std::ptrdiff_t(stride);

  if (bits == 8) {
    // The file's rows are the index rows.
    bmp.raw_ = std::move(buffer);
    bmp.indexTop_ = bmp.raw_.get() + firstRow;
    bmp.indexStep_ = rowStep;
    return bmp;
  }
  if (bits < 8) {
    bmp.indices_.resize(w * hgt);
    bmp.indexTop_ = bmp.indices_.data();
    bmp.indexStep_ = std::ptrdiff_t(w);
    for (std::size_t y = 0; y < hgt; ++y) {
      const std::uint8_t* src = data + firstRow + rowStep * std::ptrdiff_t(y);
      std::uint8_t* dst = bmp.indices_.data() + y * w;
      if (bits == 4) {
        for (std::size_t x = 0; x < w; ++x)
          dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
      } else {
        for (std::size_t x = 0; x < w; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
      }
    }
    return bmp;
  }

  // True colour: keep the file's rows and decode them when read.
  bmp.raw_ = std::move(buffer);
  bmp.firstRow_ = firstRow;
  bmp.rowStep_ = rowStep;
  bmp.red_ = red;
  bmp.green_ = green;
  bmp.blue_ = blue;
  if (bits == 24)
    bmp.layout_ = Layout::Bgr24;
  else if (bits == 32 && red.shift == 16 && green.shift == 8 && blue.shift == 0 && red.max == 255 &&
           green.max == 255 && blue.max == 255)
    bmp.layout_ = Layout::Bgrx32;
  else
    bmp.layout_ = bits == 16 ? Layout::Masked16 : Layout::Masked32;
  return bmp;
}

BmpFile BmpFile::MakeIndexed(int width, int height, int bitsPerPixel,
                             std::vector<ColorValue> palette, std::vector<std::uint8_t> indices) {
  if (width <= 0 || height <= 0 || width > MaxDimension || height > MaxDimension)
    throw std::invalid_argument("bitmap dimensions out of range");
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8)
    throw std::invalid_argument("indexed bitmaps have 1, 4 or 8 bits per pixel");
  if (palette.size() > (std::size_t(1) << bitsPerPixel))
    throw std::invalid_argument("palette larger than the depth allows");
  if (indices.size() != std::size_t(width) * std::size_t(height))
    throw std::invalid_argument("index array size does not match the dimensions");
  BmpFile bmp;
  bmp.width_ = width;
  bmp.height_ = height;
  bmp.bitsPerPixel_ = bitsPerPixel;
  bmp.palette_ = std::move(palette);
  bmp.indices_ = std::move(indices);
  bmp.indexTop_ = bmp.indices_.data();
  bmp.indexStep_ = width;
  return bmp;
}

BmpFile BmpFile::MakeTrueColor(int width, int height, int bitsPerPixel,
                               std::vector<std::uint8_t> rgb) {
  if (width <= 0 || height <= 0 || width > MaxDimension || height > MaxDimension)
    throw std::invalid_argument("bitmap dimensions out of range");
  if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
    throw std::invalid_argument("true-colour bitmaps have 16, 24 or 32 bits per pixel");
  if (rgb.size() != std::size_t(width) * std::size_t(height) * 3)
    throw std::invalid_argument("pixel array size does not match the dimensions");
  BmpFile bmp;
  bmp.width_ = width;
  bmp.height_ = height;
  bmp.bitsPerPixel_ = bitsPerPixel;
  std::unique_ptr<std::uint8_t[]> raw(new std::uint8_t[rgb.size()]);
  std::memcpy(raw.get(), rgb.data(), rgb.size());
  bmp.raw_ = RawBytes(raw.release(), RawDeleter{});
  bmp.firstRow_ = 0;
  bmp.rowStep_ = std::ptrdiff_t(width) * 3;
  bmp.layout_ = Layout::Rgb24;
  return bmp;
}

std::uint8_t BmpFile::IndexAt(int x, int y) const {
  if (!IsIndexed() || x < 0 || y < 0 || x >= width_ || y >= height_)
    throw std::out_of_range("bitmap index read outside the image");
  return IndexRow(y)[x];
}

ColorValue BmpFile::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw std::out_of_range("bitmap pixel read outside the image");
  if (IsIndexed()) return PaletteColor(IndexRow(y)[x]);
  const std::uint8_t* p = RawRow(y);
  switch (layout_) {
    case Layout::Indexed:
      break;
    case Layout::Rgb24:
      p += 3 * std::size_t(x);
      return MakeColor(p[0], p[1], p[2]);
    case Layout::Bgr24:
      p += 3 * std::size_t(x);
      return MakeColor(p[2], p[1], p[0]);
    case Layout::Bgrx32:
      p += 4 * std::size_t(x);
      return MakeColor(p[2], p[1], p[0]);
    case Layout::Masked16: {
      const std::uint32_t v = U16(p + 2 * std::size_t(x));
      return MakeColor(red_.Get(v), green_.Get(v), blue_.Get(v));
    }
    case Layout::Masked32: {
      const std::uint32_t v = U32(p + 4 * std::size_t(x));
      return MakeColor(red_.Get(v), green_.Get(v), blue_.Get(v));
    }
  }
  return 0;
}

void BmpFile::ReadRgbRow(int y, std::uint8_t* out) const {
  if (y < 0 || y >= height_) throw std::out_of_range("bitmap row read outside the image");
  const std::size_t w = std::size_t(width_);
  if (IsIndexed()) {
    const std::uint8_t* src = IndexRow(y);
    for (std::size_t x = 0; x < w; ++x, out += 3) {
      const ColorValue c = PaletteColor(src[x]);
      out[0] = RedOf(c);
      out[1] = GreenOf(c);
      out[2] = BlueOf(c);
    }
    return;
  }
  const std::uint8_t* src = RawRow(y);
  switch (layout_) {
    case Layout::Indexed:
      return;
    case Layout::Rgb24:
      std::memcpy(out, src, w * 3);
      return;
    case Layout::Bgr24:
      for (std::size_t x = 0; x < w; ++x, src += 3, out += 3) {
        out[0] = src[2];
        out[1] = src[1];
        out[2] = src[0];
      }
      return;
    case Layout::Bgrx32:
      for (std::size_t x = 0; x < w; ++x, src += 4, out += 3) {
        out[0] = src[2];
        out[1] = src[1];
        out[2] = src[0];
      }
      return;
    case Layout::Masked16:
    case Layout::Masked32: {
      const std::size_t step = layout_ == Layout::Masked16 ? 2 : 4;
      for (std::size_t x = 0; x < w; ++x, src += step, out += 3) {
        const std::uint32_t v = step == 2 ? U16(src) : U32(src);
        out[0] = red_.Get(v);
        out[1] = green_.Get(v);
        out[2] = blue_.Get(v);
      }
      return;
    }
  }
}

}  // namespace platform
