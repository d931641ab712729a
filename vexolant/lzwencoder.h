// Variable-width LZW compression of a GIF image's pixel indices.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vexolant/bytebuffer.h"

namespace vexolant {

// Compresses count pixel indices (each below 2^minCodeSize, minCodeSize 2..8)
// into out, which is closed at the end. count must be at least 1.
void CompressLzw(const std::uint8_t* pixels, std::size_t count, unsigned minCodeSize,
                 TByteBuffer& out);

}  // namespace vexolant
