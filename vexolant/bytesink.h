// Where a writer puts the bytes of a file: written in order, with earlier
// bytes patched afterwards where a part (a colour table) is only complete at
// the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vexolant {

class TByteSink {
 public:
  virtual ~TByteSink() = default;
  // Appends n bytes.
  virtual void Write(const std::uint8_t* data, std::size_t n) = 0;
  // Replaces n bytes written before, starting at offset.
  virtual void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) = 0;
  // Number of bytes written so far.
  virtual std::uint64_t Position() const = 0;

  void Put(std::uint8_t b) { Write(&b, 1); }
};

// The bytes collected in memory.
class TMemorySink : public TByteSink {
 public:
  void Write(const std::uint8_t* data, std::size_t n) override {
    Bytes.insert(Bytes.end(), data, data + n);
  }
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) override {
    if (offset > Bytes.size() || n > Bytes.size() - offset)
      throw std::out_of_range("patch past the bytes written");
    if (n != 0) std::memcpy(Bytes.data() + offset, data, n);
  }
  std::uint64_t Position() const override { return Bytes.size(); }

  std::vector<std::uint8_t> Bytes;
};

}  // namespace vexolant
