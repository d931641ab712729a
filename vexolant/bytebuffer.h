// A byte sequence cut into blocks of at most 255 bytes, the unit in which a
// GIF image's compressed data is written.
//
// Every closed block but the last holds exactly 255 bytes, and no block is
// empty unless nothing at all was appended. The bytes are kept in one
// contiguous run; the blocks are its consecutive 255-byte pieces, which is
// the same cut that moving a full current block to a list would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexolant {

class TByteBuffer {
 public:
  static constexpr std::size_t BlockSize = 255;

  void Reserve(std::size_t n) { bytes_.reserve(n); }
  void Append(std::uint8_t b) { bytes_.push_back(b); }
  void Append(const std::uint8_t* data, std::size_t n) {
    bytes_.insert(bytes_.end(), data, data + n);
  }
  // Removes the last byte appended; nothing happens on an empty buffer.
  void RemoveLast() {
    if (!bytes_.empty()) bytes_.pop_back();
  }
  // Ends the sequence: the current block joins the list of blocks.
  void Close() { closed_ = true; }
  bool Closed() const { return closed_; }

  std::size_t Size() const { return bytes_.size(); }
  // Number of blocks: full ones plus a shorter last one.
  std::size_t BlockCount() const { return (bytes_.size() + BlockSize - 1) / BlockSize; }
  const std::uint8_t* BlockData(std::size_t i) const { return bytes_.data() + i * BlockSize; }
  std::size_t BlockLength(std::size_t i) const {
    std::size_t rest = bytes_.size() - i * BlockSize;
    return rest < BlockSize ? rest : BlockSize;
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  bool closed_ = false;
};

}  // namespace vexolant
