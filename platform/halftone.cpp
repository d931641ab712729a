#include "platform/halftone.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace platform {

namespace {

std::array<ColorValue, 256> BuildPalette()
{
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

int Dist2(ColorValue c, int r, int g, int b)
{
    int dr = int(RedOf(c)) - r, dg = int(GreenOf(c)) - g, db = int(BlueOf(c)) - b;
    return dr * dr + dg * dg + db * db;
}

// Nearest-colour lookup: the colour space is cut into 32 x 32 x 32 cells of
// 8 x 8 x 8 colours, and each cell lists, in palette order, the few entries
// that can be nearest to some colour inside it (an entry whose smallest
// distance to the cell exceeds another entry's largest distance to the cell
// can never win there). A pixel then compares itself with a handful of
// entries instead of all 256, and the result is exactly the full search's.
class NearestTable {
public:
    NearestTable() : pal_(BuildPalette())
    {
        start_.resize(CellCount + 1);
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
            start_[cell] = std::uint32_t(cand_.size());
            for (int i = 0; i < 256; ++i)
                if (lo[i] <= bestMax) cand_.push_back(std::uint8_t(i));
        }
        start_[CellCount] = std::uint32_t(cand_.size());
    }

    const std::array<ColorValue, 256>& Palette() const { return pal_; }

    std::uint8_t Nearest(int r, int g, int b) const
    {
        const int cell = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        const std::uint8_t* p = cand_.data() + start_[cell];
        const std::uint8_t* e = cand_.data() + start_[cell + 1];
        std::uint8_t best = *p;
        int bestD = Dist2(pal_[best], r, g, b);
        for (++p; p != e; ++p) {
            int d = Dist2(pal_[*p], r, g, b);
            if (d < bestD) {
                bestD = d;
                best = *p;
            }
        }
        return best;
    }

private:
    static constexpr int CellCount = 32 * 32 * 32;
    std::array<ColorValue, 256> pal_;
    std::vector<std::uint32_t> start_;
    std::vector<std::uint8_t> cand_;
};

const NearestTable& Table()
{
    static const NearestTable table;
    return table;
}

} // namespace

const std::array<ColorValue, 256>& HalftonePalette() { return Table().Palette(); }

std::uint8_t HalftoneIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return Table().Nearest(r, g, b);
}

BmpFile ReduceToHalftone(const BmpFile& source)
{
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
        // Pictures repeat colours heavily (runs, few distinct colours), so a
        // small direct-mapped cache in front of the lookup saves most searches.
        constexpr std::size_t CacheSize = 4096;
        std::vector<std::uint32_t> keys(CacheSize, 0xFFFFFFFFu);
        std::vector<std::uint8_t> values(CacheSize);
        for (std::size_t y = 0; y < h; ++y) {
            const std::uint8_t* src = source.RgbRow(int(y));
            std::uint8_t* dst = indices.data() + y * w;
            for (std::size_t x = 0; x < w; ++x, src += 3) {
                const std::uint32_t key = std::uint32_t(src[0]) | (std::uint32_t(src[1]) << 8) |
                                          (std::uint32_t(src[2]) << 16);
                const std::size_t slot = ((key * 2654435761u) >> 20) & (CacheSize - 1);
                if (keys[slot] != key) {
                    keys[slot] = key;
                    values[slot] = table.Nearest(src[0], src[1], src[2]);
                }
                dst[x] = values[slot];
            }
        }
    }
    const auto& pal = table.Palette();
    return BmpFile::MakeIndexed(int(w), int(h), 8, std::vector<ColorValue>(pal.begin(), pal.end()),
                                std::move(indices));
}

} // namespace platform
