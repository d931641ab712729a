// Speed of the export library on 4000 by 3000 pictures:
//  - the GIF code stream of an 8-bit image (a typical diagram: few colours,
//    long runs; and noise over 256 colours), against giflib's encoder on the
//    same indices when giflib is installed;
//  - JPEG compression, and the whole SaveTo of a 24-bit bitmap file for
//    either format, against `cjpeg -quality 50 -baseline` on the same file
//    (compare BM_SaveTo's CPU column with BM_Cjpeg's time, the child's
//    processor time).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/bmpfile.h"
#include "platform/halftone.h"
#include "vexolant/bytebuffer.h"
#include "vexolant/giffile.h"
#include "vexolant/jpegwriter.h"
#include "vexolant/lzwencoder.h"
#include "vexolant/vexolant.h"

#ifdef VX_BENCH_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

constexpr int W = 4000;
constexpr int H = 3000;

// Colours of a drawn diagram: white page, black lines and text, grey
// anti-aliasing, light block fills.
const std::uint32_t DiagramColors[] = {
    0xFFFFFF, 0x000000, 0x808080, 0xC0C0C0, 0x404040, 0xE0E0E0, 0xFFFFC0, 0xC0FFC0,
    0xFFE0C0, 0xC0E0FF, 0x0000FF, 0xFF0000, 0x008000, 0xA0A0A0, 0x202020, 0xF0F0F0,
};

// Palette indices of a diagram-like page.
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

void BM_GifLzw(benchmark::State& state, const std::vector<std::uint8_t>& (*pixels)(), unsigned m) {
  const auto& px = pixels();
  std::size_t bytes = 0;
  for (auto _ : state) {
    vexolant::TByteBuffer out;
    vexolant::CompressLzw(px.data(), px.size(), m, out);
    bytes = out.Size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["out_bytes"] = double(bytes);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(px.size()));
}
BENCHMARK_CAPTURE(BM_GifLzw, diagram, DiagramIndices, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GifLzw, noise, NoiseIndices, 8)->Unit(benchmark::kMillisecond);

// The whole GIF file (colour collection, compression, layout) from an 8-bit bitmap.
void BM_GifFile8Bit(benchmark::State& state, const std::vector<std::uint8_t>& (*pixels)()) {
  std::vector<platform::ColorValue> pal(256);
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t c = i < 16 ? DiagramColors[i] : std::uint32_t(i * 0x010203);
    pal[std::size_t(i)] =
        platform::MakeColor(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c));
  }
  const auto& px = pixels();
  for (auto _ : state) {
    vexolant::TGifFile gif;
    gif.AddBitmap(
        std::make_unique<platform::BmpFile>(platform::BmpFile::MakeIndexed(W, H, 8, pal, px)));
    auto bytes = gif.SaveToMemory();
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK_CAPTURE(BM_GifFile8Bit, diagram, DiagramIndices)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GifFile8Bit, noise, NoiseIndices)->Unit(benchmark::kMillisecond);

#ifdef VX_BENCH_HAVE_GIFLIB
int CollectGif(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

void BM_Giflib(benchmark::State& state, const std::vector<std::uint8_t>& (*pixels)(), int colors) {
  std::vector<GifPixelType> px(pixels().begin(), pixels().end());
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::vector<std::uint8_t> out;
    out.reserve(px.size() / 2);
    int err = 0;
    GifFileType* gif = EGifOpen(&out, CollectGif, &err);
    ColorMapObject* map = GifMakeMapObject(colors, nullptr);
    EGifPutScreenDesc(gif, W, H, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, W, H, false, nullptr);
    if (EGifPutLine(gif, px.data(), W * H) != GIF_OK) state.SkipWithError("giflib failed");
    EGifCloseFile(gif, &err);
    GifFreeMapObject(map);
    bytes = out.size();
  }
  state.counters["out_bytes"] = double(bytes);
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(px.size()));
}
BENCHMARK_CAPTURE(BM_Giflib, diagram, DiagramIndices, 16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Giflib, noise, NoiseIndices, 256)->Unit(benchmark::kMillisecond);
#endif

std::string BenchDir() {
  static const std::string dir = [] {
    const auto d =
        std::filesystem::temp_directory_path() / ("vexolant-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] { std::filesystem::remove_all(BenchDir()); });
    return d.string();
  }();
  return dir;
}

// Writes a 24-bit bitmap file whose pixel (x, y) has the colour 0xRRGGBB
// that color(x, y) returns.
template <class Color>
std::string WriteBmp(const std::string& name, Color color) {
  const std::string p = BenchDir() + "/" + name;
  const std::size_t stride = std::size_t(W) * 3;  // 12000, a multiple of 4
  std::vector<std::uint8_t> f(54 + stride * H);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, std::uint32_t(f.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, W);
  put32(22, H);
  f[26] = 1, f[28] = 24;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const std::uint32_t c = color(x, y);
      std::uint8_t* d = &f[54 + std::size_t(H - 1 - y) * stride + std::size_t(x) * 3];
      d[0] = std::uint8_t(c), d[1] = std::uint8_t(c >> 8), d[2] = std::uint8_t(c >> 16);
    }
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
  return p;
}

// The diagram as a 24-bit bitmap file, written once per run.
const std::string& DiagramBmpPath() {
  static const std::string path = WriteBmp("diagram.bmp", [](int x, int y) {
    return DiagramColors[DiagramIndices()[std::size_t(y) * W + std::size_t(x)]];
  });
  return path;
}

// Noise over all 2^24 colours: the worst case for the halftone reduction.
const std::string& NoiseBmpPath() {
  static std::mt19937 rng(3);
  static const std::string path =
      WriteBmp("noise.bmp", [](int, int) { return std::uint32_t(rng()) & 0xFFFFFF; });
  return path;
}

// The reduction of a 24-bit picture to the halftone palette (first step of
// the GIF conversion).
void BM_HalftoneReduce(benchmark::State& state, const std::string& (*bitmap)()) {
  const platform::BmpFile bmp = platform::BmpFile::LoadFromFile(bitmap());
  for (auto _ : state) {
    platform::BmpFile reduced = platform::ReduceToHalftone(bmp);
    benchmark::DoNotOptimize(reduced.IndexRow(0));
  }
}
BENCHMARK_CAPTURE(BM_HalftoneReduce, diagram, DiagramBmpPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HalftoneReduce, noise, NoiseBmpPath)->Unit(benchmark::kMillisecond);

void BM_JpegCompress(benchmark::State& state) {
  const platform::BmpFile bmp = platform::BmpFile::LoadFromFile(DiagramBmpPath());
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = vexolant::CompressJpeg(bmp, 50).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["out_bytes"] = double(bytes);
}
BENCHMARK(BM_JpegCompress)->Unit(benchmark::kMillisecond);

void BM_SaveTo(benchmark::State& state, unsigned char format, const std::string& (*bitmap)()) {
  void* lib = dlopen(VEXOLANT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    state.SkipWithError("cannot load libvexolant.so");
    return;
  }
  auto saveTo = reinterpret_cast<VexolantSaveToFn>(dlsym(lib, "SaveTo"));
  const std::string& path = bitmap();
  for (auto _ : state)
    if (saveTo(format, path.c_str()) != 1) state.SkipWithError("SaveTo failed");
}
BENCHMARK_CAPTURE(BM_SaveTo, gif_diagram, 1, DiagramBmpPath)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SaveTo, jpeg_diagram, 2, DiagramBmpPath)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SaveTo, gif_noise, 1, NoiseBmpPath)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SaveTo, jpeg_noise, 2, NoiseBmpPath)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// cjpeg reading the same bitmap file and writing the JPEG file.
void BM_Cjpeg(benchmark::State& state, const std::string& (*bitmap)()) {
  if (std::system("command -v cjpeg >/dev/null 2>&1") != 0) {
    state.SkipWithError("cjpeg is not installed");
    return;
  }
  const std::string& path = bitmap();
  const std::string cmd =
      "cjpeg -quality 50 -baseline -outfile '" + path + ".cjpeg.jpg' '" + path + "'";
  // The time reported is the child's processor time (user + system), so it
  // compares with the CPU column of BM_SaveTo even on a busy machine.
  for (auto _ : state) {
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("cjpeg failed");
    getrusage(RUSAGE_CHILDREN, &after);
    auto secs = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    state.SetIterationTime(secs(after.ru_utime) + secs(after.ru_stime) - secs(before.ru_utime) -
                           secs(before.ru_stime));
  }
}
BENCHMARK_CAPTURE(BM_Cjpeg, diagram, DiagramBmpPath)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_Cjpeg, noise, NoiseBmpPath)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
