#include "platform/halftone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

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
