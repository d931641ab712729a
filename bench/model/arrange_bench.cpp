// Arranging many selected blocks at once.
#include <benchmark/benchmark.h>

#include <random>

#include "model/arrange.h"
#include "testdiagrams.h"

namespace {
// n blocks 10 wide scattered over the range in both directions.
std::vector<Block> Scattered(int n) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int32_t> at(0, 65000);
  std::vector<Block> blocks;
  for (int i = 0; i < n; ++i) {
    const int32_t x = at(rng), y = at(rng);
    blocks.push_back(MakeBlock(bkSquare, {x, y, x + 10, y + 10}));
  }
  return blocks;
}

void BM_SpaceEqually(benchmark::State& state) {
  const std::vector<Block> start = Scattered(int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Block> blocks = start;
    std::vector<Block*> p;
    for (Block& b : blocks) p.push_back(&b);
    state.ResumeTiming();
    AlignBlocks(p, TAlignMode::SpaceEqually, TAlignMode::SpaceEqually);
    benchmark::DoNotOptimize(blocks.data());
  }
}
BENCHMARK(BM_SpaceEqually)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_AlignCentresAndGrid(benchmark::State& state) {
  std::vector<Block> blocks = Scattered(int(state.range(0)));
  std::vector<Block*> p;
  for (Block& b : blocks) p.push_back(&b);
  for (auto _ : state) {
    AlignBlocks(p, TAlignMode::Centers, TAlignMode::Centers);
    AlignBlocksToGrid(p);
    benchmark::DoNotOptimize(blocks.data());
  }
}
BENCHMARK(BM_AlignCentresAndGrid)->Arg(5000)->Unit(benchmark::kMillisecond);
}  // namespace
