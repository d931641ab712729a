#include "platform/halftone.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace platform {

namespace {

std::array<ColorValue, 256> BuildPalette() {
  std::array<ColorValue, 256> pal{};
  int n = 0;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        pal[n++] = MakeColor(std::uint8_t(r * 51), std::uint8_t(g * 51), std::uint8_t(b * 51));
  const ColorValue extras[] = {
      MakeColor(128, 0, 0),     MakeColor(0, 128, 0),     MakeColor(128, 128, 0),
      MakeColor(0, 0, 128),     MakeColor(128, 0, 128),   MakeColor(0, 128, 128),
      MakeColor(128, 128, 128), MakeColor(192, 192, 192), MakeColor(192, 220, 192),
      MakeColor(166, 202, 240), MakeColor(255, 251, 240), MakeColor(160, 160, 164),
  };
  for (ColorValue c : extras) pal[n++] = c;
  for (int v = 8; v <= 248; v += 8) {
    if (v == 128 || v == 192 || v == 200) continue;
    pal[n++] = MakeColor(std::uint8_t(v), std::uint8_t(v), std::uint8_t(v));
  }
  return pal;
}

// Nearest-colour lookup. The 216 cube colours come first in the palette, and
// the nearest of them is found channel by channel: each channel rounds to its
// nearest level on its own (51 is odd, so there is never a tie), and the
// squared distance is the sum of the three channels' squared errors. One of
// the 40 further colours can only win where it lies closer than that. The
// colour space is cut into 32 x 32 x 32 cells of 8 x 8 x 8 colours; a cell
// lists the further colours whose smallest distance to the cell is within
// the cube's largest distance anywhere in the cell. Most cells list none (a
// bit per cell says so), and their pixels need three table reads; the others
// compare the cube's answer with their short list, in palette order. Since
// the cube's colours have the smaller indices and a later colour must be
// strictly closer to win, ties go to the lowest index, as in a full search.
class NearestTable {
 public:
  NearestTable() : pal_(BuildPalette()) {
    for (int i = 0; i < 256; ++i) {
      r_[i] = RedOf(pal_[std::size_t(i)]);
      g_[i] = GreenOf(pal_[std::size_t(i)]);
      b_[i] = BlueOf(pal_[std::size_t(i)]);
    }
    for (int v = 0; v < 256; ++v) {
      const int level = (2 * v + CubeStep) / (2 * CubeStep);
      const int e = v - level * CubeStep;
      red_[v] = std::uint32_t(36 * level) | std::uint32_t(v >> 3) << 18;
      green_[v] = std::uint32_t(6 * level) | std::uint32_t(v >> 3) << 13;
      blue_[v] = std::uint32_t(level) | std::uint32_t(v >> 3) << 8;
      error_[v] = std::uint16_t(e * e);
    }
    // gain[x * 32 + c]: the largest e(v)^2 - (v - x)^2 over the values v of
    // cell column c, for a channel value x of a further colour.
    std::vector<int> gain(256 * 32);
    for (int x = 0; x < 256; ++x)
      for (int c = 0; c < 32; ++c) {
        int best = INT_MIN;
        for (int v = c * 8; v < c * 8 + 8; ++v)
          best = std::max(best, error_[v] - (v - x) * (v - x));
        gain[std::size_t(x * 32 + c)] = best;
      }
    info_.resize(CellCount);
    flagged_.assign(CellCount / 64, 0);
    for (int cell = 0; cell < CellCount; ++cell) {
      const int cr = cell >> 10, cg = (cell >> 5) & 31, cb = cell & 31;
      const std::size_t start = extras_.size();
      for (int i = CubeSize; i < 256; ++i) {
        const int most = gain[std::size_t(r_[i] * 32 + cr)] + gain[std::size_t(g_[i] * 32 + cg)] +
                         gain[std::size_t(b_[i] * 32 + cb)];
        if (most > 0) extras_.push_back(std::uint8_t(i));
      }
      const std::size_t count = extras_.size() - start;
      info_[std::size_t(cell)] = std::uint32_t(start) | (std::uint32_t(count) << 24);
      if (count > 0) flagged_[std::size_t(cell) >> 6] |= std::uint64_t(1) << (cell & 63);
    }
    if (extras_.size() >= (1u << 24)) throw std::logic_error("halftone lookup table overflow");
  }

  const std::array<ColorValue, 256>& Palette() const { return pal_; }

  std::uint8_t Nearest(int r, int g, int b) const {
    // The three shares add up without carries: the cube index below 216 in
    // the low byte, the cell number above it.
    const std::uint32_t sum = red_[r] + green_[g] + blue_[b];
    const int cube = int(sum & 0xFF);
    const unsigned cell = sum >> 8;
    if (!((flagged_[cell >> 6] >> (cell & 63)) & 1)) return std::uint8_t(cube);
    const std::uint32_t info = info_[std::size_t(cell)];
    const std::uint8_t* p = extras_.data() + (info & 0xFFFFFF);
    const std::uint8_t* const e = p + (info >> 24);
    int best = cube;
    int bestD = error_[r] + error_[g] + error_[b];
    for (; p != e; ++p) {
      const int dr = r_[*p] - r, dg = g_[*p] - g, db = b_[*p] - b;
      const int d = dr * dr + dg * dg + db * db;
      if (d < bestD) {
        bestD = d;
        best = *p;
      }
    }
    return std::uint8_t(best);
  }

 private:
  static constexpr int CellCount = 32 * 32 * 32;
  static constexpr int CubeSize = 216;
  static constexpr int CubeStep = 51;

  std::array<ColorValue, 256> pal_;
  int r_[256], g_[256], b_[256];
  // Per channel value: its cube level's share of the palette index (low
  // byte) and its share of the cell number (above it); the squared distance
  // to that level.
  std::uint32_t red_[256], green_[256], blue_[256];
  std::uint16_t error_[256];
  std::vector<std::uint64_t> flagged_;  // one bit per cell that lists further colours
  std::vector<std::uint32_t> info_;     // per cell: start in extras_ | count << 24
  std::vector<std::uint8_t> extras_;
};

const NearestTable& Table() {
  static const NearestTable table;
  return table;
}

}  // namespace

const std::array<ColorValue, 256>& HalftonePalette() { return Table().Palette(); }

std::uint8_t HalftoneIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Table().Nearest(r, g, b);
}

namespace {

// The row mapping for pixels of Step bytes with red, green and blue at
// offsets R, G and B. Four pixels whose bytes equal those of the pixels one
// step before them (an overlapping compare) all have the colour of the pixel
// before them; so does a single pixel whose three colour bytes do.
template <std::size_t Step, int R, int G, int B>
void MapRow(const std::uint8_t* src, std::size_t n, std::uint8_t* out) {
  if (n == 0) return;
  const NearestTable& table = Table();
  std::uint8_t last = table.Nearest(src[R], src[G], src[B]);
  out[0] = last;
  std::size_t x = 1;
  while (x < n) {
    const std::uint8_t* p = src + x * Step;
    if (p[R] != p[R - int(Step)] || p[G] != p[G - int(Step)] || p[B] != p[B - int(Step)]) {
      last = table.Nearest(p[R], p[G], p[B]);
      out[x++] = last;
      continue;
    }
    out[x++] = last;
    for (; x + 4 <= n && std::memcmp(src + x * Step, src + (x - 1) * Step, 4 * Step) == 0; x += 4)
      out[x] = out[x + 1] = out[x + 2] = out[x + 3] = last;
  }
}

}  // namespace

void HalftoneRow(const std::uint8_t* rgb, std::size_t n, std::uint8_t* out) {
  MapRow<3, 0, 1, 2>(rgb, n, out);
}

void HalftoneBitmapRow(const BmpFile& bitmap, int y, std::uint8_t* out, std::uint8_t* scratch) {
  const std::size_t n = std::size_t(bitmap.Width());
  switch (bitmap.RowLayout()) {
    case BmpFile::Layout::Rgb24:
      return MapRow<3, 0, 1, 2>(bitmap.StoredRow(y), n, out);
    case BmpFile::Layout::Bgr24:
      return MapRow<3, 2, 1, 0>(bitmap.StoredRow(y), n, out);
    case BmpFile::Layout::Bgrx32:
      return MapRow<4, 2, 1, 0>(bitmap.StoredRow(y), n, out);
    default:
      bitmap.ReadRgbRow(y, scratch);
      return MapRow<3, 0, 1, 2>(scratch, n, out);
  }
}

BmpFile ReduceToHalftone(const BmpFile& source) {
  const NearestTable& table = Table();
  const std::size_t w = std::size_t(source.Width());
  const std::size_t h = std::size_t(source.Height());
  std::vector<std::uint8_t> indices(w * h);

  if (source.IsIndexed()) {
    // Map each palette entry once.
    std::array<std::uint8_t, 256> map{};
    for (unsigned i = 0; i < 256; ++i) {
      ColorValue c = source.PaletteColor(i);
      map[i] = table.Nearest(RedOf(c), GreenOf(c), BlueOf(c));
    }
    for (std::size_t y = 0; y < h; ++y) {
      const std::uint8_t* src = source.IndexRow(int(y));
      std::uint8_t* dst = indices.data() + y * w;
      for (std::size_t x = 0; x < w; ++x) dst[x] = map[src[x]];
    }
  } else {
    std::vector<std::uint8_t> scratch(w * 3);
    for (std::size_t y = 0; y < h; ++y)
      HalftoneBitmapRow(source, int(y), indices.data() + y * w, scratch.data());
  }
  const auto& pal = table.Palette();
  return BmpFile::MakeIndexed(int(w), int(h), 8, std::vector<ColorValue>(pal.begin(), pal.end()),
                              std::move(indices));
}

}  // namespace platform
