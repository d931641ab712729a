#include "platform/halftone.h"

#include <algorithm>
#include <climits>
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

// Nearest-colour lookup: the colour space is cut into 32 x 32 x 32 cells of
// 8 x 8 x 8 colours, and each cell lists, in palette order, the few entries
// that can be nearest to some colour inside it (an entry whose smallest
// distance to the cell exceeds another entry's largest distance to the cell
// can never win there). A pixel then compares itself with a handful of
// entries instead of all 256, and the result is exactly the full search's.
class NearestTable {
 public:
  NearestTable() : pal_(BuildPalette()) {
    for (int i = 0; i < 256; ++i) {
      r_[i] = RedOf(pal_[std::size_t(i)]);
      g_[i] = GreenOf(pal_[std::size_t(i)]);
      b_[i] = BlueOf(pal_[std::size_t(i)]);
    }
    info_.resize(CellCount);
    four_.resize(CellCount);
    many_.assign(CellCount / 64, 0);
    std::vector<int> lo(256), hi(256);
    for (int cell = 0; cell < CellCount; ++cell) {
      const int r0 = (cell >> 10) * 8, g0 = ((cell >> 5) & 31) * 8, b0 = (cell & 31) * 8;
      int bestMax = INT_MAX;
      for (int i = 0; i < 256; ++i) {
        int minD = 0, maxD = 0;
        const int ch[3] = {RedOf(pal_[i]), GreenOf(pal_[i]), BlueOf(pal_[i])};
        const int base[3] = {r0, g0, b0};
        for (int k = 0; k < 3; ++k) {
          int a = base[k], z = base[k] + 7, v = ch[k];
          int dmin = v < a ? a - v : (v > z ? v - z : 0);
          int dmax = std::max(v - a, z - v);
          minD += dmin * dmin;
          maxD += dmax * dmax;
        }
        lo[i] = minD;
        hi[i] = maxD;
        bestMax = std::min(bestMax, maxD);
      }
      // One word per cell: the first candidate, the number of further
      // ones and where they start in rest_.
      int first = -1, more = 0;
      const std::size_t start = rest_.size();
      for (int i = 0; i < 256; ++i) {
        if (lo[i] > bestMax) continue;
        if (first < 0) {
          first = i;
        } else {
          rest_.push_back(std::uint8_t(i));
          ++more;
        }
      }
      info_[std::size_t(cell)] =
          std::uint32_t(first) | (std::uint32_t(more) << 8) | (std::uint32_t(start) << 16);
      // The common case, at most four candidates, packed in one word and
      // padded with the first one (a repeat never wins a tie).
      std::uint32_t four = 0;
      for (int k = 0; k < 4; ++k) {
        const int c = k == 0 ? first : (k - 1 < more ? rest_[start + std::size_t(k - 1)] : first);
        four |= std::uint32_t(c) << (8 * k);
      }
      four_[std::size_t(cell)] = four;
      if (more > 3) many_[std::size_t(cell) >> 6] |= std::uint64_t(1) << (cell & 63);
    }
    if (rest_.size() > 0xFFFF) throw std::logic_error("halftone lookup table overflow");
  }

  const std::array<ColorValue, 256>& Palette() const { return pal_; }

  std::uint8_t Nearest(int r, int g, int b) const {
    const int cell = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    if (!((many_[std::size_t(cell) >> 6] >> (cell & 63)) & 1)) {
      // Four comparisons without branches on their outcome.
      const std::uint32_t four = four_[std::size_t(cell)];
      int best = int(four & 0xFF);
      int bestD = Dist2(best, r, g, b);
      for (int k = 1; k < 4; ++k) {
        const int c = int((four >> (8 * k)) & 0xFF);
        const int d = Dist2(c, r, g, b);
        best = d < bestD ? c : best;
        bestD = d < bestD ? d : bestD;
      }
      return std::uint8_t(best);
    }
    const std::uint32_t info = info_[std::size_t(cell)];
    std::uint8_t best = std::uint8_t(info);
    const unsigned more = (info >> 8) & 0xFF;
    if (more == 0) return best;  // most cells have a single candidate
    const std::uint8_t* p = rest_.data() + (info >> 16);
    const std::uint8_t* e = p + more;
    int bestD = Dist2(best, r, g, b);
    for (; p != e; ++p) {
      const int d = Dist2(*p, r, g, b);
      if (d < bestD) {
        bestD = d;
        best = *p;
      }
    }
    return best;
  }

 private:
  static constexpr int CellCount = 32 * 32 * 32;

  int Dist2(int i, int r, int g, int b) const {
    const int dr = r_[i] - r, dg = g_[i] - g, db = b_[i] - b;
    return dr * dr + dg * dg + db * db;
  }

  std::array<ColorValue, 256> pal_;
  int r_[256], g_[256], b_[256];
  std::vector<std::uint32_t> info_;
  std::vector<std::uint8_t> rest_;
  std::vector<std::uint32_t> four_;
  std::vector<std::uint64_t> many_;  // one bit per cell with more than four
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

void HalftoneRow(const std::uint8_t* rgb, std::size_t n, std::uint8_t* out) {
  const NearestTable& table = Table();
  int pr = -1, pg = -1, pb = -1;
  std::uint8_t last = 0;
  for (std::size_t x = 0; x < n; ++x, rgb += 3) {
    if (rgb[0] != pr || rgb[1] != pg || rgb[2] != pb) {
      pr = rgb[0];
      pg = rgb[1];
      pb = rgb[2];
      last = table.Nearest(pr, pg, pb);
    }
    out[x] = last;
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
    std::vector<std::uint8_t> row(w * 3);
    for (std::size_t y = 0; y < h; ++y) {
      source.ReadRgbRow(int(y), row.data());
      HalftoneRow(row.data(), w, indices.data() + y * w);
    }
  }
  const auto& pal = table.Palette();
  return BmpFile::MakeIndexed(int(w), int(h), 8, std::vector<ColorValue>(pal.begin(), pal.end()),
                              std::move(indices));
}

}  // namespace platform
