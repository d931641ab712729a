// The whole export job, side by side with the reference tools, on the 4000 by
// 3000 diagram and noise pictures of 8 and 24 bits:
//  - GIF: SaveTo(1) through dlopen against giflib reading the same bitmap file
//    and writing it with EGifPutLine (giflibjob.cpp), in this process;
//  - JPEG: SaveTo(2) against `cjpeg -quality 50 -baseline` on the same file;
//  - peak memory of SaveTo, from the vexolant_peak driver.
// The two sides of a comparison run alternately and each is timed by the
// processor time it uses (this process's, or the cjpeg child's), so other
// load on the machine hardly moves the figures; each counter is the fastest
// of the iterations. speedup = reference time / our time (goal: >= 1).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>

#include "giflibjob.h"
#include "pictures.h"
#include "vexolant/vexolant.h"

extern char** environ;

namespace {

using vxbench::BenchDir;

VexolantSaveToFn SaveTo() {
  static VexolantSaveToFn fn = [] {
    void* lib = dlopen(VEXOLANT_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    return lib ? reinterpret_cast<VexolantSaveToFn>(dlsym(lib, "SaveTo")) : nullptr;
  }();
  return fn;
}

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; }

// Runs a program and returns the processor time (user + system) of that
// child alone, or a negative value when it could not be run or failed.
double ChildSeconds(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  rusage use{};
  if (wait4(pid, &status, 0, &use) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1;
  return Seconds(use.ru_utime) + Seconds(use.ru_stime);
}

std::string Stem(const std::string& path) {
  return path.substr(0, path.size() - 4);  // without ".bmp"
}

void Report(benchmark::State& state, double ours, double reference, const std::string& outPath) {
  state.counters["ours_ms"] = ours * 1e3;
  state.counters["ref_ms"] = reference * 1e3;
  state.counters["speedup"] = reference / ours;
  state.counters["out_KiB"] = double(std::filesystem::file_size(outPath)) / 1024.0;
}

void BM_GifJob(benchmark::State& state, const std::string& (*bitmap)()) {
  if (!vxbench::HaveGiflib()) {
    state.SkipWithError("built without giflib");
    return;
  }
  if (!SaveTo()) {
    state.SkipWithError("cannot load libvexolant.so");
    return;
  }
  const std::string& path = bitmap();
  const std::string giflibOut = Stem(path) + ".giflib.gif";
  double ours = std::numeric_limits<double>::max(), reference = ours;
  for (auto _ : state) {
    const double t0 = ProcessSeconds();
    if (SaveTo()(1, path.c_str()) != 1) state.SkipWithError("SaveTo failed");
    const double t1 = ProcessSeconds();
    if (!vxbench::GiflibSave(path, giflibOut)) state.SkipWithError("giflib failed");
    const double t2 = ProcessSeconds();
    ours = std::min(ours, t1 - t0);
    reference = std::min(reference, t2 - t1);
  }
  Report(state, ours, reference, Stem(path) + ".gif");
  state.counters["giflib_KiB"] = double(std::filesystem::file_size(giflibOut)) / 1024.0;
}
BENCHMARK_CAPTURE(BM_GifJob, diagram8, vxbench::DiagramBmp8)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GifJob, diagram24, vxbench::DiagramBmp24)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GifJob, noise8, vxbench::NoiseBmp8)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GifJob, noise24, vxbench::NoiseBmp24)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

void BM_JpegJob(benchmark::State& state, const std::string& (*bitmap)()) {
  if (!SaveTo()) {
    state.SkipWithError("cannot load libvexolant.so");
    return;
  }
  const std::string& path = bitmap();
  const std::string cjpegOut = Stem(path) + ".cjpeg.jpg";
  if (ChildSeconds({"cjpeg", "-quality", "50", "-baseline", "-outfile", cjpegOut, path}) < 0) {
    state.SkipWithError("cjpeg is not installed or failed");
    return;
  }
  double ours = std::numeric_limits<double>::max(), reference = ours;
  for (auto _ : state) {
    const double t0 = ProcessSeconds();
    if (SaveTo()(2, path.c_str()) != 1) state.SkipWithError("SaveTo failed");
    const double t1 = ProcessSeconds();
    const double child =
        ChildSeconds({"cjpeg", "-quality", "50", "-baseline", "-outfile", cjpegOut, path});
    if (child < 0) state.SkipWithError("cjpeg failed");
    ours = std::min(ours, t1 - t0);
    reference = std::min(reference, child);
  }
  Report(state, ours, reference, Stem(path) + ".jpg");
  state.counters["cjpeg_KiB"] = double(std::filesystem::file_size(cjpegOut)) / 1024.0;
}
BENCHMARK_CAPTURE(BM_JpegJob, diagram24, vxbench::DiagramBmp24)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JpegJob, noise24, vxbench::NoiseBmp24)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_JpegJob, diagram8, vxbench::DiagramBmp8)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

// Peak memory of one SaveTo call in a fresh process (peak_KiB), against the
// bitmap file's size and the output file's size. over_bmp_KiB is what the
// call needs beside the bitmap file; warm_over_bmp_KiB the same after a
// first call on a small bitmap, so without the tables the library builds
// once, on first use. heap_KiB is the exact peak of the heap memory that
// the warm call takes (everything but the bitmap file's mapping).
void BM_PeakMemory(benchmark::State& state, int format, const std::string& (*bitmap)()) {
  const std::string& path = bitmap();
  const std::string small = BenchDir() + "/small.bmp";
  if (!std::filesystem::exists(small)) {
    // A 2 by 1 bitmap of the same depth, copied from the header of the big one.
    std::FILE* in = std::fopen(path.c_str(), "rb");
    std::vector<unsigned char> head(54 + 1024);
    const std::size_t n = std::fread(head.data(), 1, head.size(), in);
    std::fclose(in);
    const int bits = head[28];
    const std::size_t offBits = bits == 8 ? 54 + 1024 : 54;
    head.resize(std::min(n, offBits));
    head.resize(offBits + 8, 0);
    head[18] = 2, head[19] = head[20] = head[21] = 0;
    head[22] = 1, head[23] = head[24] = head[25] = 0;
    std::FILE* out = std::fopen(small.c_str(), "wb");
    std::fwrite(head.data(), 1, head.size(), out);
    std::fclose(out);
  }
  double heap = -1;
  auto run = [&](bool warm) -> double {
    std::string cmd = std::string(VEXOLANT_PEAK_PATH) + " " + std::to_string(format) + " '" + path +
                      "'" + (warm ? " '" + small + "'" : std::string());
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    long kib = -1, heapKib = -1;
    if (std::fscanf(p, "peak_kib %ld heap_kib %ld", &kib, &heapKib) != 2) kib = -1;
    if (warm) heap = double(heapKib);
    return pclose(p) == 0 ? double(kib) : -1;
  };
  double cold = -1, warm = -1;
  for (auto _ : state) {
    cold = run(false);
    warm = run(true);
  }
  if (cold < 0 || warm < 0) {
    state.SkipWithError("vexolant_peak failed");
    return;
  }
  const std::string out = Stem(path) + (format == 1 ? ".gif" : ".jpg");
  const double bmpKib = double(std::filesystem::file_size(path)) / 1024.0;
  const double outKib = double(std::filesystem::file_size(out)) / 1024.0;
  state.counters["peak_KiB"] = cold;
  state.counters["bmp_KiB"] = bmpKib;
  state.counters["out_KiB"] = outKib;
  state.counters["over_bmp_KiB"] = cold - bmpKib;
  state.counters["warm_over_bmp_KiB"] = warm - bmpKib;
  state.counters["heap_KiB"] = heap;
}
BENCHMARK_CAPTURE(BM_PeakMemory, gif_diagram24, 1, vxbench::DiagramBmp24)->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemory, gif_noise24, 1, vxbench::NoiseBmp24)->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemory, gif_diagram8, 1, vxbench::DiagramBmp8)->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemory, gif_noise8, 1, vxbench::NoiseBmp8)->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemory, jpeg_diagram24, 2, vxbench::DiagramBmp24)->Iterations(1);
BENCHMARK_CAPTURE(BM_PeakMemory, jpeg_noise24, 2, vxbench::NoiseBmp24)->Iterations(1);

}  // namespace
