// The bit packer of the GIF writer: codes go in least significant bit first.
#pragma once

#include <cstdint>

#include "vexolant/bytebuffer.h"

namespace vexolant {

class TEncodedBytes {
 public:
  explicit TEncodedBytes(TByteBuffer& out) : out_(out) {}

  // Adds a code of the given width (at most 12 bits) above the bits held.
  void Put(unsigned code, unsigned width) {
    accumulator_ |= std::uint32_t(code) << bitCount_;
    bitCount_ += width;
    while (bitCount_ >= 8) {
      out_.Append(std::uint8_t(accumulator_));
      accumulator_ >>= 8;
      bitCount_ -= 8;
    }
  }
  // Writes the bits still held as one last byte, the unused high bits zero.
  void Flush() {
    if (bitCount_ > 0) {
      out_.Append(std::uint8_t(accumulator_));
      accumulator_ = 0;
      bitCount_ = 0;
    }
  }

 private:
  std::uint32_t accumulator_ = 0;
  unsigned bitCount_ = 0;
  TByteBuffer& out_;
};

}  // namespace vexolant
