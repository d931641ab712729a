// A GIF colour table: colours collected as 32-bit values (red in the low
// byte, then green, then blue, then a fourth byte) and written as RGB triples.
#pragma once

#include <array>
#include <cstdint>

namespace vexolant {

class TColorTable {
 public:
  int Count = 0;                                // entries in use, up to 256
  std::array<std::uint8_t, 256 * 3> Triples{};  // red, green, blue per entry
  std::array<std::uint32_t, 256> Colors{};

  // Index of colour c, searching from the most recent entry back to the
  // first; -1 when it is not there.
  int Find(std::uint32_t c) const {
    for (int i = Count - 1; i >= 0; --i)
      if (Colors[std::size_t(i)] == c) return i;
    return -1;
  }
  // Appends c (the table must have room) and returns its index.
  int Append(std::uint32_t c) {
    Colors[std::size_t(Count)] = c;
    return Count++;
  }
  // Rounds the count up to a power of two (at least 2) with black entries.
  void RoundUpToPowerOfTwo() {
    int n = 2;
    while (n < Count) n *= 2;
    for (int i = Count; i < n; ++i) Colors[std::size_t(i)] = 0;
    Count = n;
  }
  // Fills the RGB triples from the colour values.
  void FillTriples() {
    for (int i = 0; i < Count; ++i) {
      const std::uint32_t c = Colors[std::size_t(i)];
      Triples[std::size_t(i) * 3 + 0] = std::uint8_t(c);
      Triples[std::size_t(i) * 3 + 1] = std::uint8_t(c >> 8);
      Triples[std::size_t(i) * 3 + 2] = std::uint8_t(c >> 16);
    }
  }
};

// The exponent k of a colour count 2^k from 2 to 256, or 0 for any other count.
inline int ColorCountExponent(int count) {
  for (int k = 1; k <= 8; ++k)
    if (count == (1 << k)) return k;
  return 0;
}

}  // namespace vexolant
