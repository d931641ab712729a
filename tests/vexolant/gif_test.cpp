// GIF output of SaveTo (format 1): byte-exact against the literal writer of
// gifreference.h, structure of the edge cases, and decoding by independent
// decoders (the strict decoder of gifreference.h, giflib and giftext where
// installed, Qt's QImage where available).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "platform/bmpfile.h"
#include "platform/halftone.h"
#include "platform/testbmp.h"
#include "vexolant/gifreference.h"
#include "vexolant/vxtest.h"

#ifdef VX_TEST_HAVE_GIFLIB
#include <gif_lib.h>
#endif
#ifdef VX_TEST_HAVE_QT
#include <QImage>
#endif

using vxtest::Library;
using vxtest::ReadFile;
using vxtest::TempDir;
using vxtest::WriteFile;

namespace {

struct Gif {
  std::vector<std::uint8_t> bytes;
  unsigned width = 0, height = 0, flags = 0, colorCount = 0, minCode = 0;
  std::vector<std::uint32_t> colors;
  std::vector<std::size_t> blockLengths;
  std::vector<std::uint8_t> data;  // the image data, blocks joined
  unsigned imageLeft = 0, imageTop = 0, imageWidth = 0, imageHeight = 0, imageFlags = 0;
};

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return unsigned(b[at] | (b[at + 1] << 8));
}

// Parses the file layout this writer produces, checking every fixed byte.
Gif Parse(const std::vector<std::uint8_t>& b) {
  Gif g;
  g.bytes = b;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF87a");
  g.width = U16(b, 6);
  g.height = U16(b, 8);
  g.flags = b[10];
  EXPECT_EQ(b[11], 0);  // background index
  EXPECT_EQ(b[12], 0);  // aspect
  EXPECT_TRUE(g.flags & 0x80);
  g.colorCount = 2u << ((g.flags >> 4) & 7);
  EXPECT_EQ(g.colorCount, 2u << (g.flags & 7));
  std::size_t at = 13;
  for (unsigned i = 0; i < g.colorCount; ++i, at += 3)
    g.colors.push_back(testbmp::Rgb(b[at], b[at + 1], b[at + 2]));
  EXPECT_EQ(b[at++], 0x2C);
  g.imageLeft = U16(b, at);
  g.imageTop = U16(b, at + 2);
  g.imageWidth = U16(b, at + 4);
  g.imageHeight = U16(b, at + 6);
  g.imageFlags = b[at + 8];
  at += 9;
  g.minCode = b[at++];
  while (b.at(at) != 0) {
    const std::size_t n = b[at++];
    g.blockLengths.push_back(n);
    g.data.insert(g.data.end(), b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
    at += n;
  }
  ++at;
  EXPECT_EQ(b.at(at), 0x3B);
  EXPECT_EQ(at + 1, b.size());
  return g;
}

// Writes the bitmap, exports it as GIF through the library, returns the file.
std::vector<std::uint8_t> Export(const TempDir& dir, const std::vector<std::uint8_t>& bmp,
                                 const std::string& name = "img") {
  WriteFile(dir / (name + ".bmp"), bmp);
  EXPECT_EQ(Library::Get().SaveTo(1, (dir / (name + ".bmp")).c_str()), 1)
      << Library::Get().GetLastErrorText();
  return ReadFile(dir / (name + ".gif"));
}

platform::BmpFile Read(const std::vector<std::uint8_t>& bmp) {
  return platform::BmpFile::LoadFromMemory(bmp.data(), bmp.size());
}

// The colour each pixel must have in the GIF.
std::vector<std::uint32_t> ExpectedColors(const platform::BmpFile& b) {
  std::vector<std::uint32_t> out;
  const auto& pal = platform::HalftonePalette();
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const std::uint32_t c = b.PixelAt(x, y);
      out.push_back(b.IsIndexed() ? c
                                  : pal[platform::HalftoneIndex(c & 255, (c >> 8) & 255, c >> 16)]);
    }
  return out;
}

// Checks that every decoder at hand reads the expected colours from the file.
void CheckDecoders(const std::string& path, const std::vector<std::uint8_t>& file, int w, int h,
                   const std::vector<std::uint32_t>& expected) {
  const Gif g = Parse(file);
  const gifref::Decoded d = gifref::Decode(g.data, g.minCode);
  ASSERT_EQ(d.pixels.size(), std::size_t(w) * std::size_t(h));
  for (std::size_t i = 0; i < d.pixels.size(); ++i)
    ASSERT_EQ(g.colors.at(d.pixels[i]), expected[i]) << "pixel " << i;

#ifdef VX_TEST_HAVE_GIFLIB
  int err = 0;
  GifFileType* gf = DGifOpenFileName(path.c_str(), &err);
  ASSERT_NE(gf, nullptr) << GifErrorString(err);
  ASSERT_EQ(DGifSlurp(gf), GIF_OK) << GifErrorString(gf->Error);
  ASSERT_EQ(gf->ImageCount, 1);
  ASSERT_EQ(gf->SWidth, w);
  ASSERT_EQ(gf->SHeight, h);
  const SavedImage& img = gf->SavedImages[0];
  const ColorMapObject* cmap = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gf->SColorMap;
  for (int i = 0; i < w * h; ++i) {
    const GifColorType c = cmap->Colors[img.RasterBits[i]];
    ASSERT_EQ(testbmp::Rgb(c.Red, c.Green, c.Blue), expected[std::size_t(i)])
        << "giflib pixel " << i;
  }
  DGifCloseFile(gf, &err);
#endif

#ifdef VX_TEST_HAVE_QT
  QImage q(QString::fromStdString(path));
  ASSERT_FALSE(q.isNull()) << "QImage cannot read " << path;
  ASSERT_EQ(q.width(), w);
  ASSERT_EQ(q.height(), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const QRgb c = q.pixel(x, y);
      ASSERT_EQ(testbmp::Rgb(qRed(c), qGreen(c), qBlue(c)), expected[std::size_t(y * w + x)])
          << "QImage " << x << "," << y;
    }
#endif
}

// giftext -z walks the whole code stream and fails on a code that runs past
// the data. Returns -1 when giftext is not installed.
int GiftextStatus(const std::string& path) {
  if (std::system("command -v giftext >/dev/null 2>&1") != 0) return -1;
  const std::string cmd = "giftext -z '" + path + "' >/dev/null 2>&1";
  return std::system(cmd.c_str());
}

testbmp::BmpDesc IndexedSpec(std::mt19937& rng, int bits, int w, int h, int usedColors, bool runs) {
  testbmp::BmpDesc s;
  s.bits = bits;
  s.width = w;
  s.height = h;
  s.topDown = rng() % 2;
  for (int i = 0; i < (1 << bits); ++i) s.palette.push_back(rng() & 0xFFFFFF);
  std::uint32_t v = 0;
  for (int i = 0; i < w * h; ++i) {
    if (!runs || rng() % 16 == 0) v = rng() % std::uint32_t(usedColors);
    s.pixels.push_back(v);
  }
  return s;
}

testbmp::BmpDesc TrueColorSpec(std::mt19937& rng, int bits, int w, int h, bool noise) {
  testbmp::BmpDesc s;
  s.bits = bits;
  s.width = w;
  s.height = h;
  if (bits != 24) {
    s.compression = 3;
    s.masks[0] = bits == 16 ? 0xF800 : 0xFF0000;
    s.masks[1] = bits == 16 ? 0x07E0 : 0xFF00;
    s.masks[2] = bits == 16 ? 0x001F : 0xFF;
  }
  const std::uint32_t mask = bits == 16 ? 0xFFFF : 0xFFFFFF;
  const std::uint32_t few[] = {0, mask, std::uint32_t(rng()) & mask, std::uint32_t(rng()) & mask};
  for (int i = 0; i < w * h; ++i)
    s.pixels.push_back(noise ? rng() & mask : few[rng() % 4 == 0 ? rng() % 4 : 1]);
  return s;
}

}  // namespace

TEST(GifOutput, TwoByTwoWhiteExample) {
  TempDir dir("white");
  testbmp::BmpDesc s;
  s.width = 2;
  s.height = 2;
  s.pixels.assign(4, testbmp::Raw24(255, 255, 255));
  const Gif g = Parse(Export(dir, testbmp::Build(s)));
  EXPECT_EQ(g.width, 2u);
  EXPECT_EQ(g.height, 2u);
  EXPECT_EQ(g.flags, 0x80u);
  EXPECT_EQ(g.colors, (std::vector<std::uint32_t>{testbmp::Rgb(255, 255, 255), 0}));
  EXPECT_EQ(g.minCode, 2u);
  // clear 4, 0, 6, 0, end 5: 100 000 110 000 101 packed from the low bit.
  const gifref::Decoded d = gifref::Decode(g.data, 2);
  EXPECT_EQ(d.codes,
            (std::vector<std::pair<unsigned, unsigned>>{{4, 3}, {0, 3}, {6, 3}, {0, 3}, {5, 4}}));
  EXPECT_EQ(g.data, (std::vector<std::uint8_t>{0x84, 0x51}));
  EXPECT_EQ(g.imageLeft, 0u);
  EXPECT_EQ(g.imageTop, 0u);
  EXPECT_EQ(g.imageWidth, 2u);
  EXPECT_EQ(g.imageHeight, 2u);
  EXPECT_EQ(g.imageFlags, 0u);
}

TEST(GifOutput, ColourTablesOfOneThreeAndAllColours) {
  TempDir dir("tables");
  // One colour: that colour, then black; minimum code size 2.
  testbmp::BmpDesc one;
  one.bits = 8;
  one.width = 5;
  one.height = 3;
  one.palette = {testbmp::Rgb(1, 2, 3), testbmp::Rgb(200, 10, 10)};
  one.pixels.assign(15, 1);
  Gif g = Parse(Export(dir, testbmp::Build(one), "one"));
  EXPECT_EQ(g.colors, (std::vector<std::uint32_t>{testbmp::Rgb(200, 10, 10), 0}));
  EXPECT_EQ(g.minCode, 2u);
  EXPECT_EQ(g.flags, 0x80u);

  // Three colours in order of first appearance, a black fourth.
  testbmp::BmpDesc three = one;
  three.palette = {testbmp::Rgb(9, 9, 9), testbmp::Rgb(50, 60, 70), testbmp::Rgb(250, 240, 230)};
  three.pixels = {2, 2, 0, 2, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1};
  g = Parse(Export(dir, testbmp::Build(three), "three"));
  EXPECT_EQ(g.colors,
            (std::vector<std::uint32_t>{three.palette[2], three.palette[0], three.palette[1], 0}));
  EXPECT_EQ(g.minCode, 2u);
  EXPECT_EQ(g.flags, 0x91u);

  // 256 distinct colours: full table, flags 0xF7, minimum code size 8.
  testbmp::BmpDesc all;
  all.bits = 8;
  all.width = 16;
  all.height = 16;
  for (int i = 0; i < 256; ++i) all.palette.push_back(testbmp::Rgb(i, 255 - i, (i * 7) & 255));
  for (int i = 0; i < 256; ++i) all.pixels.push_back(std::uint32_t((i * 37 + 11) & 255));
  g = Parse(Export(dir, testbmp::Build(all), "all"));
  EXPECT_EQ(g.flags, 0xF7u);
  EXPECT_EQ(g.minCode, 8u);
  ASSERT_EQ(g.colors.size(), 256u);
  EXPECT_EQ(g.colors[0], all.palette[all.pixels[0]]);

  // Duplicate palette entries are one colour.
  testbmp::BmpDesc dup = one;
  dup.bits = 1;
  dup.palette = {testbmp::Rgb(7, 7, 7), testbmp::Rgb(7, 7, 7)};
  dup.pixels = {0, 1, 0, 1, 1, 0, 0, 0, 1, 1, 1, 0, 1, 0, 1};
  g = Parse(Export(dir, testbmp::Build(dup), "dup"));
  EXPECT_EQ(g.colors, (std::vector<std::uint32_t>{testbmp::Rgb(7, 7, 7), 0}));
}

// Every depth, many sizes: the bytes equal the literal writer's, and every
// decoder reads the right colours back.
TEST(GifOutput, MatchesLiteralWriterAndDecodesForEveryDepth) {
  TempDir dir("depths");
  std::mt19937 rng(7);
  int files = 0;
  for (int bits : {1, 4, 8, 16, 24, 32})
    for (int w : {1, 2, 3, 4, 5, 7, 13, 64})
      for (int h : {1, 2, 3, 9}) {
        for (int variant = 0; variant < 2; ++variant) {
          SCOPED_TRACE(testing::Message()
                       << bits << " bits " << w << "x" << h << " variant " << variant);
          testbmp::BmpDesc s =
              bits <= 8 ? IndexedSpec(rng, bits, w, h,
                                      variant ? (1 << bits) : std::min(3, 1 << bits), variant == 0)
                        : TrueColorSpec(rng, bits, w, h, variant == 1);
          const auto bmpBytes = testbmp::Build(s);
          const auto file = Export(dir, bmpBytes);
          const platform::BmpFile bmp = Read(bmpBytes);
          ASSERT_EQ(file, gifref::WriteGif(bmp));
          CheckDecoders(dir / "img.gif", file, w, h, ExpectedColors(bmp));
          if (files++ % 16 == 0) {
            const int status = GiftextStatus(dir / "img.gif");
            if (status >= 0) {
              ASSERT_EQ(status, 0);
            }
          }
        }
      }
}

// The literal coding writes the end code one bit too narrow whenever the next
// free code has just reached a power of two; strict decoders then read past
// the data. The library writes it at the decoder's width.
TEST(GifOutput, EndCodeHasTheWidthDecodersExpect) {
  TempDir dir("endcode");
  int literalRejected = 0;
  for (int n = 1; n <= 40; ++n) {
    testbmp::BmpDesc s;
    s.bits = 1;
    s.width = n;
    s.height = 1;
    s.palette = {testbmp::Rgb(0, 0, 0), testbmp::Rgb(255, 255, 255)};
    for (int i = 0; i < n; ++i) s.pixels.push_back(std::uint32_t((i / 2) % 2));
    const auto bmpBytes = testbmp::Build(s);
    const auto file = Export(dir, bmpBytes);
    const Gif g = Parse(file);
    ASSERT_NO_THROW(gifref::Decode(g.data, g.minCode)) << n;
    const int status = GiftextStatus(dir / "img.gif");
    if (status >= 0) {
      EXPECT_EQ(status, 0) << "giftext -z rejects width " << n;
    }

    const auto literal = gifref::WriteGif(Read(bmpBytes), true);
    if (literal != file) {
      const Gif lg = Parse(literal);
      EXPECT_THROW(gifref::Decode(lg.data, lg.minCode), std::runtime_error) << n;
      WriteFile(dir / "literal.gif", literal);
      const int ls = GiftextStatus(dir / "literal.gif");
      if (ls >= 0) {
        EXPECT_NE(ls, 0) << "giftext -z accepts the literal end code at width " << n;
      }
      ++literalRejected;
    }
  }
  // The 3 by 1 image (next free code 8 at the end) is one of them.
  EXPECT_GT(literalRejected, 0);
}

TEST(GifOutput, ClearCodeAfterTheTableFills) {
  TempDir dir("clear");
  std::mt19937 rng(8);
  testbmp::BmpDesc s = IndexedSpec(rng, 8, 200, 100, 256, false);
  const auto file = Export(dir, testbmp::Build(s));
  const Gif g = Parse(file);
  ASSERT_EQ(g.minCode, 8u);
  const gifref::Decoded d = gifref::Decode(g.data, g.minCode);
  int clears = 0;
  for (std::size_t i = 1; i + 1 < d.codes.size(); ++i)
    if (d.codes[i].first == 256) {
      ++clears;
      EXPECT_EQ(d.codes[i].second, 12u);
      EXPECT_EQ(d.codes[i + 1].second, 9u);
      EXPECT_LT(d.codes[i + 1].first, 256u);
      // Since the last clear: 4096 - 258 entries, so that many codes and one more.
      std::size_t prevClear = i - 1;
      while (d.codes[prevClear].first != 256) --prevClear;
      EXPECT_EQ(i - prevClear - 1, 4096u - 258u + 1u);
    }
  EXPECT_GE(clears, 3);
  CheckDecoders(dir / "img.gif", file, 200, 100, ExpectedColors(Read(testbmp::Build(s))));
}

// Bitmaps large enough to be mapped, whose colours keep coming after the
// table size is settled (more than 128 in the top rows, more further down),
// with palette entries that share a colour: the bytes are still the literal
// writer's, with the late colours in the table written before the data.
TEST(GifOutput, ColoursAfterTheTableSizeIsSettled) {
  TempDir dir("late");
  std::mt19937 rng(9);
  for (int bits : {8, 24}) {
    SCOPED_TRACE(bits);
    testbmp::BmpDesc s;
    s.bits = bits;
    s.width = 700;
    s.height = bits == 8 ? 400 : 130;
    for (int i = 0; i < 256 && bits == 8; ++i)
      s.palette.push_back(i % 50 == 7 ? testbmp::Rgb(1, 2, 3) : rng() & 0xFFFFFF);
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        std::uint32_t v;
        if (y < 2)  // the top rows: 150 colours, noise
          v = bits == 8 ? rng() % 150 : (rng() % 150) * 0x010101u;
        else if (y % 50 == 49 && x < 100)  // now and then a colour not seen yet
          v = bits == 8 ? 150 + (rng() % 106) : rng() & 0xFFFFFF;
        else  // the rest: runs
          v = bits == 8 ? std::uint32_t(x / 64) : std::uint32_t(x / 64) * 0x202020u;
        s.pixels.push_back(v);
      }
    const auto bmpBytes = testbmp::Build(s);
    ASSERT_GE(bmpBytes.size(), 256u * 1024u);
    const auto file = Export(dir, bmpBytes);
    const platform::BmpFile bmp = Read(bmpBytes);
    ASSERT_EQ(file, gifref::WriteGif(bmp));
    const Gif g = Parse(file);
    EXPECT_EQ(g.colorCount, 256u);
    CheckDecoders(dir / "img.gif", file, s.width, s.height, ExpectedColors(bmp));
  }
}
