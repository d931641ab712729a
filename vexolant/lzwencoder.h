// Variable-width LZW compression of a GIF image's pixel indices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "vexolant/bytebuffer.h"
#include "vexolant/encodedbytes.h"

namespace vexolant {

class TCodeTable;

// Compresses a sequence of pixel indices handed over in pieces (a row at a
// time, say): the code stream is the same however the sequence is cut.
class TLzwEncoder {
 public:
  // Indices must be below 2^minCodeSize; minCodeSize is 2..8.
  TLzwEncoder(unsigned minCodeSize, TBlockOutput& out);
  ~TLzwEncoder();

  // The next n indices: map[pixels[i]] for i from 0 to n - 1 (map has 256
  // entries; without one the pixels are the indices).
  void Feed(const std::uint8_t* pixels, std::size_t n, const std::uint8_t* map = nullptr);
  // Ends the stream (end code, last bits); at least one index must have
  // been fed.
  void Finish();

 private:
  std::unique_ptr<TCodeTable> table_;
  TEncodedBytes bits_;
  bool started_ = false;   // the clear code and the first index are written
  bool inString_ = false;  // current_ holds a string still being extended
  unsigned prev_ = 0;      // the code written last
  unsigned current_ = 0;
  unsigned last_ = 0;  // the last index fed
};

// Compresses count pixel indices (each below 2^minCodeSize, minCodeSize 2..8)
// into out, which is closed at the end. count must be at least 1.
void CompressLzw(const std::uint8_t* pixels, std::size_t count, unsigned minCodeSize,
                 TByteBuffer& out);

}  // namespace vexolant
