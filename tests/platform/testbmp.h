// Builds Windows bitmap files byte by byte for the tests, independently of the
// reader under test: every header field is set here explicitly.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testbmp {

struct BmpDesc {
  int width = 1;
  int height = 1;
  int bits = 24;
  bool topDown = false;
  int headerSize = 40;                 // 12, 40, 52, 56, 108 or 124
  std::uint32_t compression = 0;       // 0 BI_RGB, 3 BI_BITFIELDS
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue for bit fields
  std::uint32_t clrUsed = 0;           // 0: the palette's size when it is not 2^bits
  // Palette as colour values red | green << 8 | blue << 16.
  std::vector<std::uint32_t> palette;
  // Pixel values top row first: a palette index, or the raw value stored
  // in the file (16/32 bits: the little-endian word; 24 bits: blue | green
  // << 8 | red << 16, stored as blue, green, red).
  std::vector<std::uint32_t> pixels;
  bool padLastRow = true;
};

inline void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  v[at] = std::uint8_t(x);
  v[at + 1] = std::uint8_t(x >> 8);
}
inline void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + std::size_t(i)] = std::uint8_t(x >> (8 * i));
}

inline std::vector<std::uint8_t> Build(const BmpDesc& s) {
  const bool core = s.headerSize == 12;
  const bool masksAfterHeader = s.compression == 3 && s.headerSize == 40;
  const std::size_t entry = core ? 3 : 4;
  const std::size_t paletteBytes = s.palette.size() * entry;
  const std::size_t offBits =
      14 + std::size_t(s.headerSize) + (masksAfterHeader ? 12 : 0) + paletteBytes;
  const std::size_t stride = ((std::size_t(s.width) * std::size_t(s.bits) + 31) / 32) * 4;
  const std::size_t lastRowBytes = (std::size_t(s.width) * std::size_t(s.bits) + 7) / 8;
  const std::size_t dataBytes =
      stride * std::size_t(s.height) - (s.padLastRow ? 0 : stride - lastRowBytes);
  std::vector<std::uint8_t> f(offBits + dataBytes, 0);

  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, std::uint32_t(f.size()));
  Put32(f, 10, std::uint32_t(offBits));
  Put32(f, 14, std::uint32_t(s.headerSize));
  if (core) {
    Put16(f, 18, std::uint32_t(s.width));
    Put16(f, 20, std::uint32_t(s.height));
    Put16(f, 22, 1);
    Put16(f, 24, std::uint32_t(s.bits));
  } else {
    Put32(f, 18, std::uint32_t(s.width));
    Put32(f, 22, std::uint32_t(s.topDown ? -s.height : s.height));
    Put16(f, 26, 1);
    Put16(f, 28, std::uint32_t(s.bits));
    Put32(f, 30, s.compression);
    Put32(f, 34, std::uint32_t(stride * std::size_t(s.height)));
    Put32(f, 38, 2835);
    Put32(f, 42, 2835);
    std::uint32_t clrUsed = s.clrUsed;
    if (clrUsed == 0 && s.bits <= 8 && s.palette.size() != (std::size_t(1) << s.bits))
      clrUsed = std::uint32_t(s.palette.size());
    Put32(f, 46, clrUsed);
    if (s.headerSize >= 52)
      for (int i = 0; i < 3; ++i) Put32(f, 54 + 4 * std::size_t(i), s.masks[i]);
  }
  std::size_t at = 14 + std::size_t(s.headerSize);
  if (masksAfterHeader) {
    for (int i = 0; i < 3; ++i) Put32(f, at + 4 * std::size_t(i), s.masks[i]);
    at += 12;
  }
  for (std::uint32_t c : s.palette) {
    f[at] = std::uint8_t(c >> 16);  // blue
    f[at + 1] = std::uint8_t(c >> 8);
    f[at + 2] = std::uint8_t(c);
    at += entry;
  }
  for (int y = 0; y < s.height; ++y) {
    const int fileRow = s.topDown ? y : s.height - 1 - y;
    const std::size_t row = offBits + std::size_t(fileRow) * stride;
    for (int x = 0; x < s.width; ++x) {
      const std::uint32_t v = s.pixels[std::size_t(y) * std::size_t(s.width) + std::size_t(x)];
      switch (s.bits) {
        case 1:
          if (v & 1) f[row + std::size_t(x) / 8] |= std::uint8_t(0x80 >> (x % 8));
          break;
        case 4:
          f[row + std::size_t(x) / 2] |= std::uint8_t((v & 15) << (x % 2 ? 0 : 4));
          break;
        case 8:
          f[row + std::size_t(x)] = std::uint8_t(v);
          break;
        case 16:
          Put16(f, row + 2 * std::size_t(x), v);
          break;
        case 24:
          f[row + 3 * std::size_t(x)] = std::uint8_t(v);
          f[row + 3 * std::size_t(x) + 1] = std::uint8_t(v >> 8);
          f[row + 3 * std::size_t(x) + 2] = std::uint8_t(v >> 16);
          break;
        case 32:
          Put32(f, row + 4 * std::size_t(x), v);
          break;
      }
    }
  }
  return f;
}

// A colour value from its channels.
inline std::uint32_t Rgb(int r, int g, int b) {
  return std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16);
}

// A 24-bit raw pixel value for the colour (r, g, b).
inline std::uint32_t Raw24(int r, int g, int b) {
  return std::uint32_t(b) | (std::uint32_t(g) << 8) | (std::uint32_t(r) << 16);
}

}  // namespace testbmp
