#include "platform/halftone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "platform/testbmp.h"

using platform::BmpFile;
using platform::HalftoneIndex;
using platform::HalftonePalette;
using platform::MakeColor;

namespace {

// The plain 256-way search: smallest squared distance, lowest index on a tie.
int BruteNearest(int r, int g, int b) {
  const auto& pal = HalftonePalette();
  int best = 0, bestD = INT32_MAX;
  for (int i = 0; i < 256; ++i) {
    const int dr = int(pal[std::size_t(i)] & 255) - r;
    const int dg = int((pal[std::size_t(i)] >> 8) & 255) - g;
    const int db = int((pal[std::size_t(i)] >> 16) & 255) - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestD) bestD = d, best = i;
  }
  return best;
}

}  // namespace

TEST(Halftone, PaletteHoldsDistinctColoursForDiagrams) {
  const auto& pal = HalftonePalette();
  const std::set<platform::ColorValue> distinct(pal.begin(), pal.end());
  EXPECT_EQ(distinct.size(), 256u);
  // Black, white, the primaries, the dark standard colours, the usual greys.
  for (auto c :
       {MakeColor(0, 0, 0), MakeColor(255, 255, 255), MakeColor(255, 0, 0), MakeColor(0, 255, 0),
        MakeColor(0, 0, 255), MakeColor(255, 255, 0), MakeColor(128, 0, 0), MakeColor(0, 0, 128),
        MakeColor(0, 128, 128), MakeColor(128, 128, 128), MakeColor(192, 192, 192),
        MakeColor(240, 240, 240), MakeColor(248, 248, 248), MakeColor(8, 8, 8)})
    EXPECT_EQ(distinct.count(c), 1u) << std::hex << c;
}

TEST(Halftone, LookupEqualsFullSearch) {
  const auto& pal = HalftonePalette();
  for (int i = 0; i < 256; ++i)
    ASSERT_EQ(HalftoneIndex(pal[std::size_t(i)] & 255, (pal[std::size_t(i)] >> 8) & 255,
                            pal[std::size_t(i)] >> 16),
              i);
  for (int v = 0; v < 256; ++v)
    ASSERT_EQ(HalftoneIndex(std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)),
              BruteNearest(v, v, v));
  // Values at and around the lookup's cell borders, in every combination.
  const int edges[] = {0,  1,  6,  7,   8,   9,   25,  26,  50,  51,  52,  63,
                       64, 76, 77, 127, 128, 129, 191, 192, 247, 248, 254, 255};
  for (int r : edges)
    for (int g : edges)
      for (int b : edges)
        ASSERT_EQ(HalftoneIndex(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)),
                  BruteNearest(r, g, b));
  // Near the grey axis and around the system colours the cube's answer
  // competes with the further colours: every colour within 20 of a grey or
  // of one of them.
  for (int i = 216; i < 256; ++i)
    for (int d1 = -20; d1 <= 20; ++d1)
      for (int d2 = -20; d2 <= 20; ++d2)
        for (int d3 = -20; d3 <= 20; d3 += 4) {
          const int r = std::clamp(int(pal[std::size_t(i)] & 255) + d1, 0, 255);
          const int g = std::clamp(int((pal[std::size_t(i)] >> 8) & 255) + d2, 0, 255);
          const int b = std::clamp(int(pal[std::size_t(i)] >> 16) + d3, 0, 255);
          ASSERT_EQ(HalftoneIndex(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)),
                    BruteNearest(r, g, b))
              << r << "," << g << "," << b;
        }
  std::mt19937 rng(4);
  for (int i = 0; i < 300000; ++i) {
    const int r = int(rng() & 255), g = int(rng() & 255), b = int(rng() & 255);
    ASSERT_EQ(HalftoneIndex(std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)),
              BruteNearest(r, g, b))
        << r << "," << g << "," << b;
  }
}

TEST(Halftone, ReduceToHalftoneMapsEveryPixel) {
  std::mt19937 rng(5);
  const int w = 37, h = 11;
  std::vector<std::uint8_t> rgb(std::size_t(w * h) * 3);
  for (auto& v : rgb) v = std::uint8_t(rng() % 4 == 0 ? 255 : rng());
  const BmpFile source = BmpFile::MakeTrueColor(w, h, 24, rgb);
  const BmpFile reduced = platform::ReduceToHalftone(source);
  ASSERT_EQ(reduced.BitsPerPixel(), 8);
  ASSERT_EQ(reduced.Width(), w);
  ASSERT_EQ(reduced.Height(), h);
  ASSERT_TRUE(
      std::equal(reduced.Palette().begin(), reduced.Palette().end(), HalftonePalette().begin()));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &rgb[std::size_t(y * w + x) * 3];
      ASSERT_EQ(reduced.IndexAt(x, y), BruteNearest(p[0], p[1], p[2]));
    }

  // An indexed bitmap maps through its palette.
  const BmpFile indexed =
      BmpFile::MakeIndexed(3, 1, 4, {MakeColor(250, 250, 250), MakeColor(1, 2, 130)}, {0, 1, 7});
  const BmpFile r2 = platform::ReduceToHalftone(indexed);
  EXPECT_EQ(r2.IndexAt(0, 0), BruteNearest(250, 250, 250));
  EXPECT_EQ(r2.IndexAt(1, 0), BruteNearest(1, 2, 130));
  EXPECT_EQ(r2.IndexAt(2, 0), BruteNearest(0, 0, 0));
}

// Rows read where they lie, in every stored layout, with runs of every
// length (the fast path skips four equal pixels at a time) and 32-bit
// pixels of one colour whose unused fourth byte differs.
TEST(Halftone, BitmapRowsOfEveryLayoutMapEveryPixel) {
  std::mt19937 rng(6);
  for (int bits : {16, 24, 32}) {
    SCOPED_TRACE(bits);
    testbmp::BmpDesc s;
    s.bits = bits;
    s.width = 53;
    s.height = 7;
    s.topDown = bits == 32;
    if (bits == 16) {
      s.compression = 3;
      s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
    }
    std::uint32_t v = 0;
    for (int i = 0; i < s.width * s.height; ++i) {
      if (rng() % (1 + i % 9) == 0) v = rng() & (bits == 16 ? 0xFFFF : 0xFFFFFF);
      s.pixels.push_back(bits == 32 ? v | (rng() % 3 == 0 ? 0xFF000000u : 0) : v);
    }
    const auto bytes = testbmp::Build(s);
    const BmpFile bmp = BmpFile::LoadFromMemory(bytes.data(), bytes.size());
    std::vector<std::uint8_t> out(std::size_t(s.width)), scratch(std::size_t(s.width) * 3);
    for (int y = 0; y < s.height; ++y) {
      platform::HalftoneBitmapRow(bmp, y, out.data(), scratch.data());
      for (int x = 0; x < s.width; ++x) {
        const platform::ColorValue c = bmp.PixelAt(x, y);
        ASSERT_EQ(out[std::size_t(x)], BruteNearest(c & 255, (c >> 8) & 255, c >> 16))
            << x << "," << y;
      }
    }
  }
  // Red, green, blue rows of a bitmap made in memory.
  std::vector<std::uint8_t> rgb(9 * 3, 40);
  rgb[20] = 200;
  const BmpFile made = BmpFile::MakeTrueColor(9, 1, 24, rgb);
  std::vector<std::uint8_t> out(9), scratch(27);
  platform::HalftoneBitmapRow(made, 0, out.data(), scratch.data());
  for (int x = 0; x < 9; ++x)
    EXPECT_EQ(out[std::size_t(x)], x == 6 ? BruteNearest(40, 40, 200) : BruteNearest(40, 40, 40));
}
