// The colours of an image in order of first appearance, and its rows as
// indices into them: the conversion of a bitmap into a GIF colour table and
// pixel indices, a row at a time, with no copy of the whole image.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/bmpfile.h"
#include "vexolant/colortable.h"

namespace vexolant {

// The rows of a bitmap as bytes that each select a colour: an indexed
// bitmap's own rows and palette; a true-colour bitmap's rows reduced to the
// halftone palette, one row at a time.
class TPixelRows {
 public:
  explicit TPixelRows(const platform::BmpFile& bitmap);

  int Width() const { return bitmap_.Width(); }
  int Height() const { return bitmap_.Height(); }
  // Row y (0 = top), Width() bytes; valid until the next call.
  const std::uint8_t* Row(int y);
  // The colour each byte value selects (black past the end of a palette).
  const std::array<std::uint32_t, 256>& ColorOfByte() const { return colorOfByte_; }

 private:
  const platform::BmpFile& bitmap_;
  std::array<std::uint32_t, 256> colorOfByte_{};
  std::vector<std::uint8_t> rgb_;      // true colour: room for a decoded row
  std::vector<std::uint8_t> reduced_;  // true colour: the row's halftone indices
};

// Gives every colour its index in order of first appearance: a colour is
// looked up among those collected so far, from the most recent back to the
// first, and appended when it is new. A byte value that has been seen before
// reuses its earlier result, which the search would find again. The bytes
// collected are then turned into indices through ByteMap.
class TColorCollector {
 public:
  explicit TColorCollector(const std::array<std::uint32_t, 256>& colorOfByte);

  // Collects the colours of n bytes without mapping them.
  void Collect(const std::uint8_t* row, std::size_t n) {
    std::size_t x = 0;
    while (x < n) {
      const std::uint8_t b = row[x++];
      if (indexOfByte_[b] < 0) Assign(b);
      x = RunEnd(row, x, n, b);
    }
  }
  // The colour index of every byte value collected so far (the entries of
  // other byte values are meaningless).
  const std::uint8_t* ByteMap() const { return byteMap_.data(); }
  // True when every byte value that can still come is collected: all 256
  // are, or MarkComplete was called after the whole image was collected.
  bool Complete() const { return complete_; }
  void MarkComplete() { complete_ = true; }
  // The number of distinct colours so far.
  int Count() const { return colors_.Count; }
  // The colours so far, rounded up to a power of two (at least 2) with black
  // entries, with their RGB triples filled.
  TColorTable RoundedTable() const;

 private:
  int Assign(std::uint8_t b);
  // The end of the run of b that continues at x: eight bytes at a time
  // while they all are b, then byte by byte.
  static std::size_t RunEnd(const std::uint8_t* row, std::size_t x, std::size_t n, std::uint8_t b) {
    if (x >= n || row[x] != b) return x;  // no run: the usual case in noise
    const std::uint64_t all = 0x0101010101010101u * b;
    for (std::uint64_t w; x + 8 <= n; x += 8) {
      std::memcpy(&w, row + x, 8);
      if (w != all) break;
    }
    while (x < n && row[x] == b) ++x;
    return x;
  }

  std::array<std::uint32_t, 256> colorOfByte_;
  std::array<std::int16_t, 256> indexOfByte_;
  std::array<std::uint8_t, 256> byteMap_{};
  int bytesSeen_ = 0;
  bool complete_ = false;
  TColorTable colors_;
};

}  // namespace vexolant
