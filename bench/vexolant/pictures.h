// Test pictures of 4000 by 3000 pixels for the export benchmarks: a
// diagram-like page (white, black lines and text, grey edges, light fills)
// and noise, as palette indices and as bitmap files of 8 and 24 bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxbench {

constexpr int W = 4000;
constexpr int H = 3000;

// Colours 0xRRGGBB of the diagram page; index 0 is the white page.
extern const std::uint32_t DiagramColors[16];

// Palette indices of the diagram page (0..15), top row first.
const std::vector<std::uint8_t>& DiagramIndices();
// Random palette indices (0..255), top row first.
const std::vector<std::uint8_t>& NoiseIndices();
// The 256-entry palette of the 8-bit files: the diagram colours, then a ramp.
const std::vector<std::uint32_t>& Palette256();

// A scratch folder removed when the process ends.
const std::string& BenchDir();

// Bitmap files (bottom-up, 40-byte header), written once per process.
const std::string& DiagramBmp8();
const std::string& DiagramBmp24();
const std::string& NoiseBmp8();
const std::string& NoiseBmp24();  // every pixel a random 24-bit colour

}  // namespace vxbench
