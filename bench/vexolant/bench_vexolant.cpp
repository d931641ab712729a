// Speed of the export library's parts on 4000 by 3000 pictures:
//  - the GIF code stream of an 8-bit image (a typical diagram: few colours,
//    long runs; and noise over 256 colours), against giflib's encoder on the
//    same indices when giflib is installed;
//  - the GIF file made from an 8-bit bitmap held in memory;
//  - the halftone reduction of a 24-bit picture and JPEG compression.
// The whole SaveTo job next to giflib and cjpeg is in bench_wholejob.cpp.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "pictures.h"
#include "platform/bmpfile.h"
#include "platform/halftone.h"
#include "vexolant/bytebuffer.h"
#include "vexolant/giffile.h"
#include "vexolant/jpegwriter.h"
#include "vexolant/lzwencoder.h"

#ifdef VX_BENCH_HAVE_GIFLIB
#include <gif_lib.h>
#endif

namespace {

using vxbench::DiagramIndices;
using vxbench::H;
using vxbench::NoiseIndices;
using vxbench::W;

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
  std::vector<platform::ColorValue> pal;
  for (std::uint32_t c : vxbench::Palette256())
    pal.push_back(
        platform::MakeColor(std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)));
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

// The reduction of a 24-bit picture to the halftone palette (first step of
// the GIF conversion).
void BM_HalftoneReduce(benchmark::State& state, const std::string& (*bitmap)()) {
  const platform::BmpFile bmp = platform::BmpFile::LoadFromFile(bitmap());
  for (auto _ : state) {
    platform::BmpFile reduced = platform::ReduceToHalftone(bmp);
    benchmark::DoNotOptimize(reduced.IndexRow(0));
  }
}
BENCHMARK_CAPTURE(BM_HalftoneReduce, diagram, vxbench::DiagramBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HalftoneReduce, noise, vxbench::NoiseBmp24)->Unit(benchmark::kMillisecond);

void BM_JpegCompress(benchmark::State& state) {
  const platform::BmpFile bmp = platform::BmpFile::LoadFromFile(vxbench::DiagramBmp24());
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = vexolant::CompressJpeg(bmp, 50).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["out_bytes"] = double(bytes);
}
BENCHMARK(BM_JpegCompress)->Unit(benchmark::kMillisecond);

}  // namespace
