#include "vexolant/bigbytearray.h"

#include <limits>

namespace vexolant {

TBigByteArray::TBigByteArray(std::size_t n) : size_(n)
{
    // malloc(0) may return null legitimately; ask for one byte then.
    data_.reset(static_cast<std::uint8_t*>(std::malloc(n == 0 ? 1 : n)));
    if (!data_) throw ENotEnoughMemory(n);
}

std::size_t TByteArray2D::Product(std::size_t width, std::size_t height)
{
    if (height != 0 && width > std::numeric_limits<std::size_t>::max() / height)
        throw ENotEnoughMemory(std::numeric_limits<std::size_t>::max());
    return width * height;
}

TByteArray2D::TByteArray2D(std::size_t width, std::size_t height)
    : width_(width), height_(height), bytes_(Product(width, height))
{
}

} // namespace vexolant
