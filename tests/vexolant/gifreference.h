// A literal GIF writer for the tests: the string table searched linearly,
// colours collected with the backward search, blocks cut by hand. The
// library's writer (hashed table, lookup shortcuts) must give the same bytes.
// Also a strict LZW decoder that reports the width of every code it reads.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/bmpfile.h"
#include "platform/halftone.h"

namespace gifref {

struct Table {
  unsigned m, width, clear, end, firstFree, nextFree;
  bool full;
  std::vector<unsigned> prefix = std::vector<unsigned>(4096);
  std::vector<unsigned> suffix = std::vector<unsigned>(4096);
  explicit Table(unsigned minCode) : m(minCode) { Reset(); }
  void Reset() {
    width = m + 1;
    clear = 1u << m;
    end = clear + 1;
    firstFree = clear + 2;
    nextFree = firstFree;
    full = false;
  }
  void Add(unsigned p, unsigned s) {
    prefix[nextFree] = p;
    suffix[nextFree] = s;
    ++nextFree;
    if (nextFree == 4096)
      full = true;
    else if (nextFree > (1u << width))
      ++width;
  }
  // Linear search from max(firstFree, current + 1) up to nextFree.
  int Find(unsigned current, unsigned s) const {
    for (unsigned c = std::max(firstFree, current + 1); c < nextFree; ++c)
      if (prefix[c] == current && suffix[c] == s) return int(c);
    return -1;
  }
};

struct Packer {
  std::vector<std::uint8_t> out;
  std::uint32_t acc = 0;
  unsigned bits = 0;
  void Put(unsigned code, unsigned width) {
    acc += code << bits;
    bits += width;
    while (bits >= 8) {
      out.push_back(std::uint8_t(acc & 255));
      acc >>= 8;
      bits -= 8;
    }
  }
};

// The code stream of the pixel indices, unblocked. With literalEnd the end
// code is written at the table's width as it stands; otherwise at the width
// a decoder reads it with.
inline std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& px, unsigned m,
                                          bool literalEnd = false) {
  Table t(m);
  Packer p;
  std::size_t i = 0;
  p.Put(t.clear, t.width);
  unsigned prev = px[i++];
  p.Put(prev, t.width);
  while (i < px.size()) {
    unsigned k = px[i++];
    unsigned cur = k;
    t.Add(prev, k);
    while (i < px.size()) {
      int c = t.Find(cur, px[i]);
      if (c < 0) break;
      cur = unsigned(c);
      ++i;
    }
    p.Put(cur, t.width);
    prev = cur;
    if (t.full && i < px.size()) {
      p.Put(t.clear, t.width);
      t.Reset();
      prev = px[i++];
      p.Put(prev, t.width);
    }
  }
  unsigned w = t.width;
  if (!literalEnd && !t.full && t.nextFree == (1u << w) && w < 12) ++w;
  p.Put(t.end, w);
  if (p.bits > 0) p.out.push_back(std::uint8_t(p.acc));
  return p.out;
}

struct Converted {
  std::vector<std::uint32_t> colors;  // rounded up to a power of two
  std::vector<std::uint8_t> indices;  // row after row from the top
  unsigned bits = 0;
};

// Colour table and indices the literal way: every pixel's colour searched
// backwards among the colours collected so far.
inline Converted Convert(const platform::BmpFile& original) {
  const platform::BmpFile* bmp = &original;
  std::vector<platform::BmpFile> keep;
  if (!bmp->IsIndexed() || bmp->BitsPerPixel() > 8) {
    keep.push_back(platform::ReduceToHalftone(original));
    bmp = &keep.back();
  }
  Converted c;
  const bool eight = bmp->BitsPerPixel() == 8;
  std::uint32_t lastColor = 0;
  int lastIndex = -1;
  for (int y = 0; y < bmp->Height(); ++y)
    for (int x = 0; x < bmp->Width(); ++x) {
      const std::uint32_t color =
          eight ? bmp->PaletteColor(bmp->IndexAt(x, y)) : bmp->PixelAt(x, y);
      int index = -1;
      if (!eight && lastIndex >= 0 && color == lastColor) {
        index = lastIndex;
      } else {
        for (int i = int(c.colors.size()) - 1; i >= 0; --i)
          if (c.colors[std::size_t(i)] == color) {
            index = i;
            break;
          }
        if (index < 0) {
          c.colors.push_back(color);
          index = int(c.colors.size()) - 1;
        }
      }
      lastColor = color;
      lastIndex = index;
      c.indices.push_back(std::uint8_t(index));
    }
  std::size_t n = 2;
  c.bits = 1;
  while (n < c.colors.size()) n *= 2, ++c.bits;
  c.colors.resize(n, 0);
  return c;
}

inline void PutU16(std::vector<std::uint8_t>& f, unsigned v) {
  f.push_back(std::uint8_t(v & 255));
  f.push_back(std::uint8_t(v >> 8));
}

// The whole file for one bitmap.
inline std::vector<std::uint8_t> WriteGif(const platform::BmpFile& bmp, bool literalEnd = false) {
  const Converted c = Convert(bmp);
  const unsigned m = std::max(2u, c.bits);
  const std::vector<std::uint8_t> data = Compress(c.indices, m, literalEnd);
  std::vector<std::uint8_t> f = {'G', 'I', 'F', '8', '7', 'a'};
  PutU16(f, unsigned(bmp.Width()));
  PutU16(f, unsigned(bmp.Height()));
  f.push_back(std::uint8_t(0x80 + (c.bits - 1) * 16 + (c.bits - 1)));
  f.push_back(0);
  f.push_back(0);
  for (std::uint32_t col : c.colors) {
    f.push_back(std::uint8_t(col & 255));
    f.push_back(std::uint8_t((col >> 8) & 255));
    f.push_back(std::uint8_t((col >> 16) & 255));
  }
  f.push_back(0x2C);
  PutU16(f, 0);
  PutU16(f, 0);
  PutU16(f, unsigned(bmp.Width()));
  PutU16(f, unsigned(bmp.Height()));
  f.push_back(0);
  f.push_back(std::uint8_t(m));
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - at);
    f.push_back(std::uint8_t(n));
    f.insert(f.end(), data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + n));
  }
  f.push_back(0);
  f.push_back(0x3B);
  return f;
}

struct Decoded {
  std::vector<std::uint8_t> pixels;
  std::vector<std::pair<unsigned, unsigned>> codes;  // (code, width) as read
};

// A strict decoder: entries are added one code late, the width grows when the
// next free code reaches 2^width (up to 12), and a code that runs past the
// data, a code above the next free one or a missing end code is an error.
inline Decoded Decode(const std::vector<std::uint8_t>& data, unsigned m) {
  Decoded d;
  const unsigned clear = 1u << m, end = clear + 1;
  std::vector<unsigned> prefix(4096), first(4096), length(4096);
  std::vector<std::uint8_t> suffix(4096);
  for (unsigned i = 0; i < clear; ++i)
    prefix[i] = 0, suffix[i] = std::uint8_t(i), first[i] = i, length[i] = 1;
  unsigned width = m + 1, nextFree = clear + 2;
  int prev = -1;
  std::size_t bitPos = 0;
  const std::size_t totalBits = data.size() * 8;
  std::vector<std::uint8_t> tmp;
  for (;;) {
    if (bitPos + width > totalBits) throw std::runtime_error("code runs past the data");
    unsigned code = 0;
    for (unsigned b = 0; b < width; ++b, ++bitPos)
      code |= unsigned((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
    d.codes.push_back({code, width});
    if (code == clear) {
      width = m + 1;
      nextFree = clear + 2;
      prev = -1;
      continue;
    }
    if (code == end) break;
    if (prev < 0) {
      if (code >= clear) throw std::runtime_error("first code after clear is not a pixel");
      d.pixels.push_back(std::uint8_t(code));
      prev = int(code);
      continue;
    }
    if (code > nextFree || (code == nextFree && nextFree >= 4096))
      throw std::runtime_error("code not yet defined");
    const unsigned firstOf = code == nextFree ? first[unsigned(prev)] : first[code];
    if (nextFree < 4096) {
      prefix[nextFree] = unsigned(prev);
      suffix[nextFree] = std::uint8_t(firstOf);
      first[nextFree] = first[unsigned(prev)];
      length[nextFree] = length[unsigned(prev)] + 1;
      ++nextFree;
      if (nextFree == (1u << width) && width < 12) ++width;
    }
    tmp.clear();
    for (unsigned c = code;; c = prefix[c]) {
      tmp.push_back(suffix[c]);
      if (length[c] == 1) break;
    }
    d.pixels.insert(d.pixels.end(), tmp.rbegin(), tmp.rend());
    prev = int(code);
  }
  return d;
}

}  // namespace gifref
