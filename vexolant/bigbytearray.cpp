#include "vexolant/bigbytearray.h"

#include <limits>

namespace vexolant {

namespace {
// Larger requests are refused without asking the allocator: no machine this
// runs on has a terabyte, and a pixel array never needs one (65535 squared
// is about 4 GiB).
constexpr std::size_t MaxBlock = std::size_t(1) << 40;
}  // namespace

TBigByteArray::TBigByteArray(std::size_t n) : size_(n) {
  if (n > MaxBlock) throw ENotEnoughMemory(n);
  // malloc(0) may return null legitimately; ask for one byte then.
  data_.reset(static_cast<std::uint8_t*>(std::malloc(n == 0 ? 1 : n)));
  if (!data_) throw ENotEnoughMemory(n);
}

std::size_t TByteArray2D::Product(std::size_t width, std::size_t height) {
  if (height != 0 && width > std::numeric_limits<std::size_t>::max() / height)
    throw ENotEnoughMemory(std::numeric_limits<std::size_t>::max());
  return width * height;
}

TByteArray2D::TByteArray2D(std::size_t width, std::size_t height)
    : width_(width), height_(height), bytes_(Product(width, height)) {}

}  // namespace vexolant
