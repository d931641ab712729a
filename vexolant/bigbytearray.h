// A block of n bytes addressed 1..n, and a two-dimensional byte array on top
// of it (the pixel indices of an image, one contiguous block).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "vexolant/gifexceptions.h"

namespace vexolant {

class TBigByteArray {
 public:
  // Obtains n bytes (uninitialised); throws ENotEnoughMemory when it cannot.
  explicit TBigByteArray(std::size_t n);

  std::size_t Size() const { return size_; }
  // Byte i, 1 <= i <= Size(); throws EIndexOutOfBounds outside.
  std::uint8_t Get(std::size_t i) const {
    if (i < 1 || i > size_) throw EIndexOutOfBounds();
    return data_[i - 1];
  }
  void Set(std::size_t i, std::uint8_t v) {
    if (i < 1 || i > size_) throw EIndexOutOfBounds();
    data_[i - 1] = v;
  }
  // The block itself, for loops that stay inside it by construction.
  std::uint8_t* Data() { return data_.get(); }
  const std::uint8_t* Data() const { return data_.get(); }

 private:
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::size_t size_;
  std::unique_ptr<std::uint8_t[], Free> data_;
};

// Width by height bytes; element (x, y), both 1-based, lies at position
// x + (y - 1) * width, so rows follow one another, top row first.
class TByteArray2D {
 public:
  TByteArray2D(std::size_t width, std::size_t height);

  std::size_t Width() const { return width_; }
  std::size_t Height() const { return height_; }
  std::uint8_t Get(std::size_t x, std::size_t y) const {
    if (x < 1 || x > width_ || y < 1 || y > height_) throw EIndexOutOfBounds();
    return bytes_.Get(x + (y - 1) * width_);
  }
  void Set(std::size_t x, std::size_t y, std::uint8_t v) {
    if (x < 1 || x > width_ || y < 1 || y > height_) throw EIndexOutOfBounds();
    bytes_.Set(x + (y - 1) * width_, v);
  }
  // Row y (1-based) as a pointer to Width() bytes.
  std::uint8_t* Row(std::size_t y) {
    if (y < 1 || y > height_) throw EIndexOutOfBounds();
    return bytes_.Data() + (y - 1) * width_;
  }
  const std::uint8_t* Data() const { return bytes_.Data(); }
  std::size_t Size() const { return bytes_.Size(); }

 private:
  static std::size_t Product(std::size_t width, std::size_t height);
  std::size_t width_;
  std::size_t height_;
  TBigByteArray bytes_;
};

}  // namespace vexolant
