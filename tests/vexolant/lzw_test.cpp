// The writer's parts inside the library: the hashed string table against the
// linear-search writer of gifreference.h, the block layout, the arrays and
// the failure messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

#include "vexolant/bigbytearray.h"
#include "vexolant/bytebuffer.h"
#include "vexolant/giffile.h"
#include "vexolant/gifreference.h"
#include "vexolant/lzwencoder.h"

using namespace vexolant;

namespace {

std::vector<std::uint8_t> Hashed(const std::vector<std::uint8_t>& px, unsigned m) {
  TByteBuffer out;
  CompressLzw(px.data(), px.size(), m, out);
  EXPECT_TRUE(out.Closed());
  return out.Bytes();
}

}  // namespace

TEST(LzwEncoder, HashedTableGivesTheLinearSearchBytes) {
  std::mt19937 rng(11);
  int tableFills = 0;
  for (int round = 0; round < 400; ++round) {
    const unsigned bits = 1 + rng() % 8;
    const unsigned m = std::max(2u, bits);
    const std::uint32_t colors = 1u + rng() % (1u << bits);
    // Sizes from a pixel to several table fills; runs of varying length.
    const std::size_t n = round < 100 ? 1 + rng() % 64 : 1 + rng() % 60000;
    const unsigned runChance = rng() % 4 == 0 ? 1 : 1 + rng() % 32;
    std::vector<std::uint8_t> px(n);
    std::uint8_t v = 0;
    for (auto& p : px) {
      if (rng() % runChance == 0) v = std::uint8_t(rng() % colors);
      p = v;
    }
    // Now and then a repeated pattern, which builds long strings.
    if (round % 7 == 0)
      for (std::size_t i = 0; i < n; ++i) px[i] = std::uint8_t((i % 13) % colors);
    const auto expected = gifref::Compress(px, m);
    ASSERT_EQ(Hashed(px, m), expected) << "round " << round << ", " << n << " pixels, m " << m;
    const auto d = gifref::Decode(expected, m);
    ASSERT_EQ(d.pixels, px);
    for (auto& c : d.codes) tableFills += c.first == (1u << m) && &c != &d.codes.front();
  }
  EXPECT_GT(tableFills, 20);  // the clear code after a full table was exercised
}

// The encoder fed in pieces, through a colour map, gives the stream of the
// mapped sequence in one go, in blocks of 255 bytes but the last.
TEST(LzwEncoder, PiecesThroughAColourMapGiveTheWholeStream) {
  struct Blocks : TBlockOutput {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> lengths;
    void PutBlock(const std::uint8_t* data, std::size_t n) override {
      bytes.insert(bytes.end(), data, data + n);
      lengths.push_back(n);
    }
  };
  std::mt19937 rng(31);
  for (int round = 0; round < 150; ++round) {
    const unsigned m = 2 + rng() % 7;
    const std::size_t n = 1 + rng() % (round < 50 ? 300 : 40000);
    // Bytes of any value, mapped onto the indices below 2^m; long runs now
    // and then, and two byte values with the same index.
    std::array<std::uint8_t, 256> map;
    for (auto& v : map) v = std::uint8_t(rng() % (1u << m));
    std::vector<std::uint8_t> bytes(n), mapped(n);
    std::uint8_t b = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (rng() % (round % 3 == 0 ? 40 : 2) == 0) b = std::uint8_t(rng());
      bytes[i] = b;
      mapped[i] = map[b];
    }
    Blocks out;
    TLzwEncoder encoder(m, out);
    for (std::size_t at = 0; at < n;) {
      const std::size_t piece = std::min<std::size_t>(n - at, rng() % 4 == 0 ? 1 : rng() % 700);
      encoder.Feed(bytes.data() + at, piece, map.data());
      at += piece;
    }
    encoder.Finish();
    ASSERT_EQ(out.bytes, gifref::Compress(mapped, m)) << "round " << round;
    for (std::size_t i = 0; i < out.lengths.size(); ++i)
      ASSERT_TRUE(out.lengths[i] == 255 || (i + 1 == out.lengths.size() && out.lengths[i] > 0));
  }
  struct Nothing : TBlockOutput {
    void PutBlock(const std::uint8_t*, std::size_t) override {}
  } nothing;
  TLzwEncoder empty(2, nothing);
  empty.Feed(nullptr, 0);
  EXPECT_THROW(empty.Finish(), std::invalid_argument);
}

TEST(LzwEncoder, LastPixelThatCannotExtendIsItsOwnCode) {
  // 0 0 0 1: clear, 0, 6 (0 0), then 1 on its own, end.
  const std::vector<std::uint8_t> px = {0, 0, 0, 1};
  const auto d = gifref::Decode(Hashed(px, 2), 2);
  ASSERT_EQ(d.codes.size(), 5u);
  EXPECT_EQ(d.codes[2].first, 6u);
  EXPECT_EQ(d.codes[3].first, 1u);
  EXPECT_EQ(d.codes[4].first, 5u);
  EXPECT_EQ(d.pixels, px);
}

TEST(GifFile, DataOfAMultipleOf255BytesEndsWithAFullBlock) {
  std::mt19937 rng(12);
  int found = 0;
  for (int tries = 0; tries < 20000 && found < 3; ++tries) {
    const int w = 20 + int(rng() % 200), h = 1 + int(rng() % 20);
    std::vector<std::uint8_t> idx(std::size_t(w * h));
    for (auto& v : idx) v = std::uint8_t(rng() % 64);
    TByteBuffer probe;
    // Indices already in first-appearance order give the same data as the file.
    std::vector<int> order(256, -1);
    int next = 0;
    for (auto& v : idx) {
      if (order[v] < 0) order[v] = next++;
      v = std::uint8_t(order[v]);
    }
    CompressLzw(idx.data(), idx.size(), 6, probe);
    if (next != 64 || probe.Size() % 255 != 0) continue;
    ++found;
    std::vector<platform::ColorValue> pal;
    for (int i = 0; i < 64; ++i) pal.push_back(platform::MakeColor(std::uint8_t(i * 4), 0, 0));
    TGifFile gif;
    gif.AddBitmap(
        std::make_unique<platform::BmpFile>(platform::BmpFile::MakeIndexed(w, h, 8, pal, idx)));
    const auto bytes = gif.SaveToMemory();
    ASSERT_EQ(bytes.back(), 0x3B);
    ASSERT_EQ(bytes[bytes.size() - 2], 0);  // terminator
    // Walk the blocks: all 255 long, none empty.
    std::size_t at = 13 + 64 * 3 + 10;
    ASSERT_EQ(bytes[at++], 6);
    std::size_t blocks = 0;
    while (bytes[at] != 0) {
      ASSERT_EQ(bytes[at], 255);
      at += 256;
      ++blocks;
    }
    EXPECT_EQ(blocks * 255, probe.Size());
    EXPECT_EQ(at + 2, bytes.size());
  }
  EXPECT_EQ(found, 3);
}

TEST(ByteBuffer, BlocksOf255AndRemovingTheLastByte) {
  TByteBuffer b;
  EXPECT_EQ(b.BlockCount(), 0u);
  for (int i = 0; i < 255; ++i) b.Append(std::uint8_t(i));
  EXPECT_EQ(b.BlockCount(), 1u);
  b.Append(1);
  EXPECT_EQ(b.BlockCount(), 2u);
  EXPECT_EQ(b.BlockLength(1), 1u);
  b.RemoveLast();
  b.Close();
  EXPECT_EQ(b.BlockCount(), 1u);
  EXPECT_EQ(b.BlockLength(0), 255u);
  EXPECT_EQ(b.BlockData(0)[254], 254);
}

TEST(GifFile, ArraysAndCountsFailWithTheirMessages) {
  TBigByteArray a(3);
  a.Set(1, 7);
  a.Set(3, 9);
  EXPECT_EQ(a.Get(1), 7);
  EXPECT_EQ(a.Get(3), 9);
  for (std::size_t bad : {std::size_t(0), std::size_t(4)}) {
    try {
      a.Get(bad);
      ADD_FAILURE() << "read at " << bad;
    } catch (const EIndexOutOfBounds& e) {
      EXPECT_STREQ(e.what(), "Dynamic array index out of bounds");
    }
  }
  TByteArray2D grid(3, 2);
  grid.Set(3, 2, 42);
  EXPECT_EQ(grid.Get(3, 2), 42);
  EXPECT_EQ(grid.Data()[5], 42);  // (x, y) at x + (y - 1) * width
  EXPECT_THROW(grid.Get(4, 1), EIndexOutOfBounds);
  EXPECT_THROW(grid.Get(1, 3), EIndexOutOfBounds);

  try {
    TBigByteArray huge(std::size_t(1) << 62);
    ADD_FAILURE() << "an impossible block was obtained";
  } catch (const ENotEnoughMemory& e) {
    EXPECT_STREQ(e.what(),
                 "error in TBigByteArray.create: Not enough contiguous memory available\r\n"
                 " requested memory block: 4611686018427387904 bytes");
  }

  for (int count : {0, 1, 3, 300}) {
    try {
      TGifSubImage image(nullptr, count, 1, 1);
      ADD_FAILURE() << "count " << count;
    } catch (const EGifException& e) {
      EXPECT_EQ(std::string(e.what()),
                "Number of colors (" + std::to_string(count) + ") wrong; must be a power of 2");
    }
  }
  TGifFile gif;
  gif.GlobalTable.Count = 12;
  try {
    gif.ScreenFlags();
    ADD_FAILURE();
  } catch (const EGifException& e) {
    EXPECT_STREQ(e.what(), "unexpected number of colors");
  }
}
