// The LZW string table of the GIF writer: up to 4096 entries, each a prefix
// code and a suffix byte.
//
// Entries are found through an open-addressing hash of 8192 slots holding
// (prefix << 8 | suffix) << 12 | code, probed linearly; a reset clears the
// slots with one fill. The table never holds the same prefix and suffix twice
// (an entry is only added for a string that just failed to extend), so the
// hash finds exactly the entry a scan of the table would find.
//
// Runs of one colour are the bulk of a drawn picture. Their strings extend
// a code by the pixel it already ends with, so for every code the table also
// keeps, in a plain array, the code of that string one pixel longer
// (SameNext), which the encoder reads without hashing.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "vexolant/gifexceptions.h"

namespace vexolant {

class TCodeTable {
 public:
  static constexpr unsigned MaxCodes = 4096;
  static constexpr int NotFound = -1;

  explicit TCodeTable(unsigned minCodeSize) : minCodeSize_(minCodeSize) { Reset(); }

  unsigned MinCodeSize() const { return minCodeSize_; }
  unsigned ClearCode() const { return 1u << minCodeSize_; }
  unsigned EndCode() const { return ClearCode() + 1; }
  unsigned Width() const { return width_; }
  bool Full() const { return full_; }
  unsigned FirstFree() const { return firstFree_; }
  unsigned NextFree() const { return nextFree_; }
  unsigned Prefix(unsigned code) const { return prefix_[code]; }
  std::uint8_t Suffix(unsigned code) const { return suffix_[code]; }

  // Empties the table: code width one more than the minimum code size.
  void Reset() {
    width_ = minCodeSize_ + 1;
    firstFree_ = ClearCode() + 2;
    nextFree_ = firstFree_;
    full_ = false;
    slots_.fill(Empty);
    sameNext_.fill(0);
    missKey_ = NoKey;
  }

  // Adds (prefix, suffix) at the next free code. At 4096 entries the table
  // is full and the width stays 12; otherwise the width grows as soon as
  // the next free code exceeds 2 to the width.
  void Add(unsigned prefix, std::uint8_t suffix) {
    const unsigned code = nextFree_;
    if (code >= MaxCodes)
      throw EGifException("LZW string table overflow");  // a full table is reset first
    prefix_[code] = std::uint16_t(prefix);
    suffix_[code] = suffix;
    const std::uint32_t key = (prefix << 8) | suffix;
    unsigned slot = missSlot_;
    if (key != missKey_) {
      slot = Hash(key);
      while (slots_[slot] != Empty) slot = (slot + 1) & (SlotCount - 1);
    }
    missKey_ = NoKey;
    slots_[slot] = (key << 12) | code;
    if (suffix == LastPixel(prefix)) sameNext_[prefix] = std::uint16_t(code);
    ++nextFree_;
    if (nextFree_ == MaxCodes)
      full_ = true;
    else if (nextFree_ > (1u << width_))
      ++width_;
  }

  // The code of the entry (code, the last pixel of code's string), or 0 when
  // there is none (0 is never an entry's code).
  unsigned SameNext(unsigned code) const { return sameNext_[code]; }

  // The code of the entry (prefix, suffix), or NotFound. The entry that
  // was not found is usually the next one added (the string that failed to
  // extend), so the free slot where the search ended is remembered for it.
  int Find(unsigned prefix, std::uint8_t suffix) {
    const std::uint32_t key = (prefix << 8) | suffix;
    unsigned slot = Hash(key);
    for (;;) {
      const std::uint32_t s = slots_[slot];
      if (s == Empty) {
        missKey_ = key;
        missSlot_ = slot;
        return NotFound;
      }
      if ((s >> 12) == key) return int(s & 0xFFF);
      slot = (slot + 1) & (SlotCount - 1);
    }
  }

 private:
  static constexpr unsigned SlotCount = 8192;
  // (4095 << 8 | 255) << 12 | 4095 cannot be an entry: a code is always
  // larger than its prefix.
  static constexpr std::uint32_t Empty = 0xFFFFFFFFu;
  static constexpr std::uint32_t NoKey = 0xFFFFFFFFu;  // keys have 20 bits

  static unsigned Hash(std::uint32_t key) { return (key * 0x9E3779B1u) >> 19; }
  // The last pixel of a code's string: a pixel's code is the pixel itself.
  unsigned LastPixel(unsigned code) const { return code < ClearCode() ? code : suffix_[code]; }

  unsigned minCodeSize_;
  unsigned width_ = 0;
  unsigned firstFree_ = 0;
  unsigned nextFree_ = 0;
  bool full_ = false;
  std::array<std::uint16_t, MaxCodes> prefix_{};
  std::array<std::uint8_t, MaxCodes> suffix_{};
  std::array<std::uint32_t, SlotCount> slots_{};
  std::array<std::uint16_t, MaxCodes> sameNext_{};
  std::uint32_t missKey_ = NoKey;  // the key of the last search that failed
  unsigned missSlot_ = 0;          // and the free slot where it ended
};

}  // namespace vexolant
