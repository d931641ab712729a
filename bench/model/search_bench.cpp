// Find Next and Replace All over large diagrams.
#include <benchmark/benchmark.h>

#include "model/textsearch.h"
#include "testdiagrams.h"

namespace {
// n objects: blocks with short texts, every other one followed by a link.
void BuildTexts(TShem& d, int n, const std::string& word) {
  TShemObj* prev = nullptr;
  for (int i = 0; i < n;) {
    TShemObj* b = AddBlock(d, bkSquare, {(i * 7) % 60000, 0, (i * 7) % 60000 + 80, 20},
                           "Block number " + std::to_string(i) + " with " + word + " text");
    ++i;
    if (prev && i < n && i % 2 == 1) {
      AddLink(d, prev, b);
      ++i;
    }
    prev = b;
  }
}

// Find Next that finds nothing walks the whole diagram; with and without match case.
void BM_FindNextNoMatch(benchmark::State& state) {
  TShem d;
  BuildTexts(d, int(state.range(0)), "some");
  const bool matchCase = state.range(1) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(d.FindText(nullptr, "absent words", matchCase));
}
BENCHMARK(BM_FindNextNoMatch)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

// Replace All of a word that every block holds, over 20,000 blocks.
void BM_ReplaceAllFrequent(benchmark::State& state) {
  const int blocks = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TShem d;
    for (int i = 0; i < blocks; ++i)
      AddBlock(d, bkSquare, {0, 0, 80, 20}, "if the value of the counter is the limit");
    state.ResumeTiming();
    benchmark::DoNotOptimize(ReplaceAllText(d, nullptr, {"the", "a", false}));
  }
}
BENCHMARK(BM_ReplaceAllFrequent)->Arg(20000)->Unit(benchmark::kMillisecond);
}  // namespace
