#include "pictures.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace vxbench {

const std::uint32_t DiagramColors[16] = {
    0xFFFFFF, 0x000000, 0x808080, 0xC0C0C0, 0x404040, 0xE0E0E0, 0xFFFFC0, 0xC0FFC0,
    0xFFE0C0, 0xC0E0FF, 0x0000FF, 0xFF0000, 0x008000, 0xA0A0A0, 0x202020, 0xF0F0F0,
};

const std::vector<std::uint8_t>& DiagramIndices() {
  static const std::vector<std::uint8_t> px = [] {
    std::vector<std::uint8_t> p(std::size_t(W) * H, 0);
    std::mt19937 rng(1);
    auto at = [&](int x, int y) -> std::uint8_t& { return p[std::size_t(y) * W + std::size_t(x)]; };
    for (int b = 0; b < 300; ++b) {
      const int x0 = int(rng() % (W - 300)), y0 = int(rng() % (H - 200));
      const int w = 80 + int(rng() % 200), h = 40 + int(rng() % 150);
      const std::uint8_t fill = std::uint8_t(5 + rng() % 5);
      for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
          const bool edge = x - x0 < 2 || x0 + w - x <= 2 || y - y0 < 2 || y0 + h - y <= 2;
          at(x, y) = edge ? 1 : fill;
        }
      // A few lines of "text": glyph-sized specks with grey edges.
      for (int t = 0; t < 3 * (h / 40); ++t) {
        const int ty = y0 + 8 + t * 12;
        if (ty + 9 >= y0 + h - 4) break;
        for (int gx = x0 + 8; gx + 7 < x0 + w - 8; gx += 8)
          for (int k = 0; k < 12; ++k)
            at(gx + int(rng() % 6), ty + int(rng() % 9)) = rng() % 3 ? 1 : 2;
      }
      // A link down to the next row of blocks.
      const int lx = x0 + w / 2;
      for (int y = y0 + h; y < std::min(H, y0 + h + 60); ++y) {
        at(lx, y) = 1;
        at(lx - 1, y) = 3;
        at(lx + 1, y) = 3;
      }
    }
    return p;
  }();
  return px;
}

const std::vector<std::uint8_t>& NoiseIndices() {
  static const std::vector<std::uint8_t> px = [] {
    std::vector<std::uint8_t> p(std::size_t(W) * H);
    std::mt19937 rng(2);
    for (auto& v : p) v = std::uint8_t(rng());
    return p;
  }();
  return px;
}

const std::vector<std::uint32_t>& Palette256() {
  static const std::vector<std::uint32_t> pal = [] {
    std::vector<std::uint32_t> p(256);
    for (int i = 0; i < 256; ++i)
      p[std::size_t(i)] = i < 16 ? DiagramColors[i] : std::uint32_t(i * 0x010203) & 0xFFFFFF;
    return p;
  }();
  return pal;
}

const std::string& BenchDir() {
  static const std::string dir = [] {
    const auto d =
        std::filesystem::temp_directory_path() / ("vexolant-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] { std::filesystem::remove_all(BenchDir()); });
    return d.string();
  }();
  return dir;
}

namespace {

void Put32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// Writes a bottom-up bitmap file; pixel(x, y, out) stores one pixel's bytes.
template <class Pixel>
std::string WriteBmp(const std::string& name, int bits, Pixel pixel) {
  const std::string path = BenchDir() + "/" + name;
  const std::size_t stride = ((std::size_t(W) * std::size_t(bits) + 31) / 32) * 4;
  const std::size_t paletteBytes = bits == 8 ? 256 * 4 : 0;
  const std::size_t offBits = 54 + paletteBytes;
  std::vector<std::uint8_t> f(offBits + stride * H);
  f[0] = 'B', f[1] = 'M';
  Put32(f, 2, std::uint32_t(f.size()));
  Put32(f, 10, std::uint32_t(offBits));
  Put32(f, 14, 40);
  Put32(f, 18, W);
  Put32(f, 22, H);
  f[26] = 1, f[28] = std::uint8_t(bits);
  if (bits == 8)
    for (std::size_t i = 0; i < 256; ++i) {
      const std::uint32_t c = Palette256()[i];
      f[54 + i * 4] = std::uint8_t(c), f[55 + i * 4] = std::uint8_t(c >> 8),
                 f[56 + i * 4] = std::uint8_t(c >> 16);
    }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      pixel(x, y, &f[offBits + std::size_t(H - 1 - y) * stride + std::size_t(x) * (bits / 8)]);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
  return path;
}

void PutBgr(std::uint8_t* d, std::uint32_t c) {
  d[0] = std::uint8_t(c), d[1] = std::uint8_t(c >> 8), d[2] = std::uint8_t(c >> 16);
}

}  // namespace

const std::string& DiagramBmp8() {
  static const std::string path = WriteBmp("diagram8.bmp", 8, [](int x, int y, std::uint8_t* d) {
    *d = DiagramIndices()[std::size_t(y) * W + std::size_t(x)];
  });
  return path;
}

const std::string& DiagramBmp24() {
  static const std::string path = WriteBmp("diagram24.bmp", 24, [](int x, int y, std::uint8_t* d) {
    PutBgr(d, DiagramColors[DiagramIndices()[std::size_t(y) * W + std::size_t(x)]]);
  });
  return path;
}

const std::string& NoiseBmp8() {
  static const std::string path = WriteBmp("noise8.bmp", 8, [](int x, int y, std::uint8_t* d) {
    *d = NoiseIndices()[std::size_t(y) * W + std::size_t(x)];
  });
  return path;
}

const std::string& NoiseBmp24() {
  static const std::string path = [] {
    std::mt19937 rng(3);
    return WriteBmp("noise24.bmp", 24,
                    [&](int, int, std::uint8_t* d) { PutBgr(d, std::uint32_t(rng()) & 0xFFFFFF); });
  }();
  return path;
}

}  // namespace vxbench
