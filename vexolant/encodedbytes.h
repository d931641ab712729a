// The bit packer of the GIF writer: codes go in least significant bit first,
// and the packed bytes leave in blocks of 255 (the last block shorter, none
// empty), the unit in which a GIF image's data is written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexolant {

// Receives the packed bytes, one block of 1..255 bytes at a time.
class TBlockOutput {
 public:
  virtual ~TBlockOutput() = default;
  virtual void PutBlock(const std::uint8_t* data, std::size_t n) = 0;
};

class TEncodedBytes {
 public:
  static constexpr std::size_t BlockSize = 255;

  explicit TEncodedBytes(TBlockOutput& out) : out_(out) {}

  // Adds a code of the given width (at most 12 bits) above the bits held.
  void Put(unsigned code, unsigned width) {
    accumulator_ |= std::uint32_t(code) << bitCount_;
    bitCount_ += width;
    while (bitCount_ >= 8) {
      block_[used_++] = std::uint8_t(accumulator_);
      if (used_ == BlockSize) EndBlock();
      accumulator_ >>= 8;
      bitCount_ -= 8;
    }
  }
  // Writes the bits still held as one last byte, the unused high bits zero,
  // and hands over the last block.
  void Flush() {
    if (bitCount_ > 0) {
      block_[used_++] = std::uint8_t(accumulator_);
      accumulator_ = 0;
      bitCount_ = 0;
    }
    if (used_ > 0) EndBlock();
  }

 private:
  void EndBlock() {
    out_.PutBlock(block_, used_);
    used_ = 0;
  }

  std::uint32_t accumulator_ = 0;
  unsigned bitCount_ = 0;
  std::size_t used_ = 0;
  std::uint8_t block_[BlockSize];
  TBlockOutput& out_;
};

}  // namespace vexolant
