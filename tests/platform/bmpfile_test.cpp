#include "platform/bmpfile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "platform/testbmp.h"

using platform::BmpError;
using platform::BmpFile;
using testbmp::Rgb;

namespace {

BmpFile Load(const std::vector<std::uint8_t>& bytes) {
  return BmpFile::LoadFromMemory(bytes.data(), bytes.size());
}

// Channel value v of a field of n bits scaled to 0..255, rounded to nearest.
int Scale(std::uint32_t v, int n) {
  const std::uint32_t max = (1u << n) - 1;
  return int((v * 255 + max / 2) / max);
}

testbmp::BmpDesc RandomIndexed(std::mt19937& rng, int bits, int w, int h, bool topDown,
                               int paletteSize) {
  testbmp::BmpDesc s;
  s.width = w;
  s.height = h;
  s.bits = bits;
  s.topDown = topDown;
  for (int i = 0; i < paletteSize; ++i) s.palette.push_back(rng() & 0xFFFFFF);
  s.clrUsed = paletteSize == (1 << bits) ? 0 : std::uint32_t(paletteSize);
  for (int i = 0; i < w * h; ++i) s.pixels.push_back(rng() % std::uint32_t(paletteSize));
  return s;
}

}  // namespace

TEST(BmpFile, IndexedDepthsReadBackPixelByPixel) {
  std::mt19937 rng(1);
  for (int bits : {1, 4, 8})
    for (bool topDown : {false, true})
      for (int w : {1, 2, 3, 7, 8, 9, 31, 33})
        for (int paletteSize : {1 << bits, bits == 1 ? 1 : 3}) {
          SCOPED_TRACE(testing::Message()
                       << bits << " bits, width " << w << (topDown ? " top-down" : ""));
          const int h = 5;
          testbmp::BmpDesc s = RandomIndexed(rng, bits, w, h, topDown, paletteSize);
          BmpFile b = Load(testbmp::Build(s));
          ASSERT_EQ(b.Width(), w);
          ASSERT_EQ(b.Height(), h);
          ASSERT_EQ(b.BitsPerPixel(), bits);
          ASSERT_TRUE(b.IsIndexed());
          ASSERT_EQ(b.Palette(), s.palette);
          std::vector<std::uint8_t> row(std::size_t(w) * 3);
          for (int y = 0; y < h; ++y) {
            b.ReadRgbRow(y, row.data());
            for (int x = 0; x < w; ++x) {
              const std::uint32_t v = s.pixels[std::size_t(y * w + x)];
              ASSERT_EQ(b.IndexAt(x, y), v);
              ASSERT_EQ(b.PixelAt(x, y), s.palette[v]);
              ASSERT_EQ(row[std::size_t(x) * 3], s.palette[v] & 0xFF);
              ASSERT_EQ(row[std::size_t(x) * 3 + 2], s.palette[v] >> 16);
            }
          }
        }
}

TEST(BmpFile, IndexPastShortPaletteReadsBlack) {
  testbmp::BmpDesc s;
  s.width = 2;
  s.bits = 4;
  s.palette = {Rgb(10, 20, 30), Rgb(200, 100, 50)};
  s.clrUsed = 2;
  s.pixels = {1, 9};
  BmpFile b = Load(testbmp::Build(s));
  EXPECT_EQ(b.PixelAt(0, 0), Rgb(200, 100, 50));
  EXPECT_EQ(b.IndexAt(1, 0), 9);
  EXPECT_EQ(b.PixelAt(1, 0), 0u);
}

TEST(BmpFile, TrueColourDepthsAndMasks) {
  std::mt19937 rng(2);
  struct Case {
    int bits;
    std::uint32_t compression;
    std::uint32_t masks[3];
    int headerSize;
  };
  const Case cases[] = {
      {24, 0, {0, 0, 0}, 40},
      {24, 0, {0, 0, 0}, 12},
      {32, 0, {0, 0, 0}, 40},
      {16, 0, {0, 0, 0}, 40},                              // 5-5-5 by default
      {16, 3, {0xF800, 0x07E0, 0x001F}, 40},               // 5-6-5
      {16, 3, {0x0F00, 0x00F0, 0x000F}, 56},               // 4-4-4 in a V3 header
      {32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, 40},   // R, G, B, X in memory
      {32, 3, {0xFF000000, 0x00FF0000, 0x0000FF00}, 108},  // V4 header
      {32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}, 124},  // 10-10-10 in a V5 header
  };
  for (const Case& c : cases)
    for (bool topDown : {false, true}) {
      if (c.headerSize == 12 && topDown) continue;
      for (int w : {1, 2, 3, 5}) {
        SCOPED_TRACE(testing::Message()
                     << c.bits << " bits, header " << c.headerSize << ", width " << w);
        testbmp::BmpDesc s;
        s.width = w;
        s.height = 4;
        s.bits = c.bits;
        s.topDown = topDown;
        s.headerSize = c.headerSize;
        s.compression = c.compression;
        std::uint32_t masks[3];
        for (int i = 0; i < 3; ++i) masks[i] = s.masks[i] = c.masks[i];
        if (c.compression == 0 && c.bits == 16)
          masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        if (c.compression == 0 && c.bits == 32)
          masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        std::vector<std::uint32_t> expected;
        for (int i = 0; i < w * s.height; ++i) {
          std::uint32_t v = rng();
          if (c.bits == 16) v &= 0xFFFF;
          if (c.bits == 24) v &= 0xFFFFFF;
          s.pixels.push_back(v);
          if (c.bits == 24) {
            expected.push_back(Rgb(int(v >> 16) & 255, int(v >> 8) & 255, int(v) & 255));
            continue;
          }
          int ch[3];
          for (int k = 0; k < 3; ++k) {
            int shift = 0, n = 0;
            while (!((masks[k] >> shift) & 1)) ++shift;
            while ((std::uint64_t(masks[k]) >> (shift + n)) & 1) ++n;
            ch[k] = Scale((v & masks[k]) >> shift, n);
          }
          expected.push_back(Rgb(ch[0], ch[1], ch[2]));
        }
        BmpFile b = Load(testbmp::Build(s));
        ASSERT_EQ(b.BitsPerPixel(), c.bits);
        ASSERT_FALSE(b.IsIndexed());
        for (int y = 0; y < s.height; ++y)
          for (int x = 0; x < w; ++x) ASSERT_EQ(b.PixelAt(x, y), expected[std::size_t(y * w + x)]);
      }
    }
}

TEST(BmpFile, CoreHeaderPaletteAndMissingPaddingOfLastRow) {
  testbmp::BmpDesc s;
  s.headerSize = 12;
  s.bits = 8;
  s.width = 3;
  s.height = 2;
  for (int i = 0; i < 256; ++i) s.palette.push_back(Rgb(i, 255 - i, i / 2));
  s.pixels = {0, 1, 2, 253, 254, 255};
  s.padLastRow = false;
  BmpFile b = Load(testbmp::Build(s));
  EXPECT_EQ(b.PixelAt(2, 0), Rgb(2, 253, 1));
  EXPECT_EQ(b.PixelAt(0, 1), Rgb(253, 2, 126));
  EXPECT_EQ(b.Palette().size(), 256u);
}

TEST(BmpFile, LoadFromFileAndMissingFile) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("bmptest-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  testbmp::BmpDesc s;
  s.width = 2;
  s.pixels = {testbmp::Raw24(1, 2, 3), testbmp::Raw24(250, 251, 252)};
  const auto bytes = testbmp::Build(s);
  const std::string path = (dir / "a.bmp").string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  BmpFile b = BmpFile::LoadFromFile(path);
  EXPECT_EQ(b.PixelAt(1, 0), Rgb(250, 251, 252));
  try {
    BmpFile::LoadFromFile((dir / "none.bmp").string());
    ADD_FAILURE() << "a missing file was read";
  } catch (const BmpError& e) {
    EXPECT_NE(std::string(e.what()).find("none.bmp"), std::string::npos);
  }
  // A folder is no bitmap file either.
  std::filesystem::create_directories(dir / "folder.bmp");
  EXPECT_THROW(BmpFile::LoadFromFile((dir / "folder.bmp").string()), BmpError);
  std::filesystem::remove_all(dir);
}

TEST(BmpFile, MalformedFilesAreRefused) {
  testbmp::BmpDesc base;
  base.width = 4;
  base.height = 3;
  base.bits = 8;
  base.palette = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
  base.clrUsed = 2;
  base.pixels.assign(12, 1);
  const std::vector<std::uint8_t> good = testbmp::Build(base);
  ASSERT_NO_THROW(Load(good));

  using Patch = std::function<void(std::vector<std::uint8_t>&)>;
  const std::pair<const char*, Patch> cases[] = {
      {"bad magic", [](auto& f) { f[0] = 'P'; }},
      {"header size 20", [](auto& f) { testbmp::Put32(f, 14, 20); }},
      {"two planes", [](auto& f) { testbmp::Put16(f, 26, 2); }},
      {"2 bits per pixel", [](auto& f) { testbmp::Put16(f, 28, 2); }},
      {"RLE8 compression", [](auto& f) { testbmp::Put32(f, 30, 1); }},
      {"bit fields at 8 bits", [](auto& f) { testbmp::Put32(f, 30, 3); }},
      {"width 0", [](auto& f) { testbmp::Put32(f, 18, 0); }},
      {"height 0", [](auto& f) { testbmp::Put32(f, 22, 0); }},
      {"negative width", [](auto& f) { testbmp::Put32(f, 18, std::uint32_t(-4)); }},
      {"absurd width", [](auto& f) { testbmp::Put32(f, 18, 1u << 30); }},
      {"absurd height", [](auto& f) { testbmp::Put32(f, 22, 70000); }},
      {"height INT_MIN", [](auto& f) { testbmp::Put32(f, 22, 0x80000000u); }},
      {"palette over 256", [](auto& f) { testbmp::Put32(f, 46, 300); }},
      {"palette past the file", [](auto& f) { testbmp::Put32(f, 46, 256); }},
      {"pixel offset past the file", [](auto& f) { testbmp::Put32(f, 10, 100000); }},
      {"pixel offset inside the header", [](auto& f) { testbmp::Put32(f, 10, 4); }},
      {"data one byte short", [](auto& f) { f.pop_back(); }},
      {"cut inside the header", [](auto& f) { f.resize(30); }},
      {"empty file", [](auto& f) { f.clear(); }},
  };
  for (const auto& [name, patch] : cases) {
    std::vector<std::uint8_t> f = good;
    patch(f);
    EXPECT_THROW(Load(f), BmpError) << name;
  }

  // Bit fields that cannot describe a channel.
  testbmp::BmpDesc s;
  s.bits = 32;
  s.compression = 3;
  s.pixels = {0};
  for (auto masks : {std::array<std::uint32_t, 3>{0, 0xFF00, 0xFF},
                     std::array<std::uint32_t, 3>{0xF0F0, 0xFF0000, 0xFF}}) {
    for (int i = 0; i < 3; ++i) s.masks[i] = masks[std::size_t(i)];
    EXPECT_THROW(Load(testbmp::Build(s)), BmpError);
  }
}

// Damaged files: every load either yields a consistent bitmap or a BmpError,
// never another failure (run under the address sanitizer, a read past the data
// shows up here).
TEST(BmpFile, DamagedFilesNeverCrash) {
  std::mt19937 rng(3);
  std::vector<std::vector<std::uint8_t>> seeds;
  for (int bits : {1, 4, 8})
    seeds.push_back(testbmp::Build(RandomIndexed(rng, bits, 5, 3, false, 1 << bits)));
  for (int bits : {16, 24, 32}) {
    testbmp::BmpDesc s;
    s.bits = bits;
    s.width = 3;
    s.height = 3;
    s.compression = bits == 24 ? 0 : 3;
    s.masks[0] = bits == 16 ? 0xF800 : 0xFF0000;
    s.masks[1] = bits == 16 ? 0x07E0 : 0xFF00;
    s.masks[2] = bits == 16 ? 0x001F : 0xFF;
    s.pixels.assign(9, 0x123456);
    seeds.push_back(testbmp::Build(s));
  }
  int loaded = 0, refused = 0;
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::uint8_t> f = seeds[rng() % seeds.size()];
    const int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      switch (rng() % 3) {
        case 0:
          f[rng() % f.size()] = std::uint8_t(rng());
          break;
        case 1:
          f[14 + rng() % 40] = std::uint8_t(rng());
          break;  // aim at the info header
        case 2:
          f.resize(rng() % (f.size() + 1));
          break;
      }
      if (f.empty()) break;
    }
    try {
      BmpFile b = BmpFile::LoadFromMemory(f.data(), f.size());
      ASSERT_GT(b.Width(), 0);
      ASSERT_GT(b.Height(), 0);
      std::vector<std::uint8_t> row(std::size_t(b.Width()) * 3);
      for (int y = 0; y < b.Height(); ++y) b.ReadRgbRow(y, row.data());
      ++loaded;
    } catch (const BmpError&) {
      ++refused;
    }
  }
  // Both outcomes occur, so the damage reaches both the refusals and the reads.
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);
}

// Files from a quarter megabyte up are mapped rather than read: they read
// back as the same bytes given in memory do, rows where they lie in the file,
// and stay readable when the bitmap is moved.
TEST(BmpFile, LargeFilesAreMappedAndReadAlike) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("bmpmap-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::mt19937 rng(21);
  for (int bits : {4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    testbmp::BmpDesc s;
    s.bits = bits;
    s.width = 701;  // rows padded
    s.height = bits == 4 ? 900 : 400;
    s.topDown = bits == 32;
    if (bits <= 8)
      for (int i = 0; i < (1 << bits); ++i) s.palette.push_back(rng() & 0xFFFFFF);
    for (int i = 0; i < s.width * s.height; ++i)
      s.pixels.push_back(bits <= 8 ? rng() % (1u << bits) : rng() & 0xFFFFFF);
    const auto bytes = testbmp::Build(s);
    ASSERT_GE(bytes.size(), 256u * 1024u);
    const std::string path = (dir / "big.bmp").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    BmpFile mapped = BmpFile::LoadFromFile(path);
    const BmpFile copy = Load(bytes);
    const BmpFile moved = std::move(mapped);
    ASSERT_EQ(moved.Width(), copy.Width());
    ASSERT_EQ(moved.Height(), copy.Height());
    std::vector<std::uint8_t> a(std::size_t(s.width) * 3), b(a.size());
    for (int y = 0; y < s.height; ++y) {
      moved.ReadRgbRow(y, a.data());
      copy.ReadRgbRow(y, b.data());
      ASSERT_EQ(a, b) << "row " << y;
      if (bits <= 8) {
        ASSERT_EQ(0, std::memcmp(moved.IndexRow(y), copy.IndexRow(y), std::size_t(s.width)));
      }
    }
    // Stored rows: blue, green, red for 24 bits; with a fourth byte for 32.
    const int y = 123, x = 77;
    const std::uint32_t raw = s.pixels[std::size_t(y * s.width + x)];
    if (bits == 24) {
      EXPECT_EQ(moved.RowLayout(), BmpFile::Layout::Bgr24);
      const std::uint8_t* p = moved.StoredRow(y) + 3 * x;
      EXPECT_EQ(std::uint32_t(p[0] | p[1] << 8 | p[2] << 16), raw);
    } else if (bits == 32) {
      EXPECT_EQ(moved.RowLayout(), BmpFile::Layout::Bgrx32);
      const std::uint8_t* p = moved.StoredRow(y) + 4 * x;
      EXPECT_EQ(std::uint32_t(p[0] | p[1] << 8 | p[2] << 16), raw);
    } else {
      EXPECT_EQ(moved.RowLayout(), BmpFile::Layout::Indexed);
      EXPECT_EQ(moved.StoredRow(y)[x], raw);
    }
  }
  std::filesystem::remove_all(dir);
}
