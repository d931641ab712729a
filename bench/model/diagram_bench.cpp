// Building, sorting, deleting from, saving and loading large diagrams.
#include <benchmark/benchmark.h>

#include "model/stream.h"
#include "testdiagrams.h"

namespace {
// Half blocks in rows, half links between neighbours.
void BuildGrid(TShem& d, int n) {
  std::vector<TShemObj*> blocks;
  for (int i = 0; i < n / 2; ++i) {
    const int32_t x = (i % 300) * 120, y = (i / 300) * 60;
    blocks.push_back(AddBlock(d, i % 10 == 4 ? 0 : i % 10,
                              {x % 65000, y % 65000, x % 65000 + 80, y % 65000 + 20},
                              "block " + std::to_string(i)));
  }
  for (int i = 0; i < n / 2; ++i)
    AddLink(d, blocks[size_t(i)], blocks[size_t((i + 1) % blocks.size())], {32767, 65535},
            {32767, 0});
}

// All links first, then all blocks; every tenth link hangs on the link
// before it, so links also chain through links. With `chained`, every link
// hangs on the link after it: one chain through all links, in reverse order.
void BuildWorstOrder(TShem& d, int n, bool chained = false) {
  const int links = n / 2, blocks = n - links;
  std::vector<TShemObj*> raw;
  for (int i = 0; i < links; ++i) raw.push_back(d.GetObj(d.Add(std::make_unique<TLink>())));
  std::vector<TShemObj*> bs;
  for (int i = 0; i < blocks; ++i) bs.push_back(AddBlock(d, 0, {i % 60000, 0, i % 60000 + 10, 10}));
  for (int i = 0; i < links; ++i) {
    d.SetLinkEnd(raw[size_t(i)], LinkEnd::Source, bs[size_t(i) % bs.size()]);
    TShemObj* target;
    if (chained)
      target = i + 1 < links ? d.GetObj(i + 1) : bs[0];
    else
      target = (i % 10 == 9) ? d.GetObj(i - 1) : bs[size_t(i + 1) % bs.size()];
    d.SetLinkEnd(raw[size_t(i)], LinkEnd::Target, target);
  }
}

void BM_BuildDiagram(benchmark::State& state) {
  for (auto _ : state) {
    TShem d;
    BuildGrid(d, int(state.range(0)));
    benchmark::DoNotOptimize(d.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildDiagram)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_SortWorstOrder(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TShem d;
    BuildWorstOrder(d, int(state.range(0)), state.range(1) != 0);
    state.ResumeTiming();
    d.SortObjects();
    benchmark::DoNotOptimize(d.GetObj(0));
    state.PauseTiming();
    d.Clear();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortWorstOrder)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_SortShuffled(benchmark::State& state) {
  std::mt19937 rng(1);
  const auto objs = GenerateObjects(rng, int(state.range(0)), 0.5, 0.2, 0.1);
  for (auto _ : state) {
    state.PauseTiming();
    TShem d;
    BuildDiagram(d, objs);
    state.ResumeTiming();
    d.SortObjects();
    state.PauseTiming();
    d.Clear();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SortShuffled)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Deletes a tenth of the blocks one by one, each with its links: by the
// object (Remove), or through its index (Delete(IndexOf(x))) when range(1) is 1.
void BM_DeleteBlocksOneByOne(benchmark::State& state) {
  const int n = int(state.range(0));
  const bool byIndex = state.range(1) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    TShem d;
    BuildGrid(d, n);
    std::vector<TShemObj*> victims;
    for (int i = 0; i < n / 2; i += 5) victims.push_back(d.GetObj(i));
    state.ResumeTiming();
    for (TShemObj* v : victims) {
      if (byIndex)
        d.Delete(d.IndexOf(v));
      else
        d.Remove(v);
    }
    benchmark::DoNotOptimize(d.Count());
    state.PauseTiming();
    d.Clear();
    state.ResumeTiming();
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_DeleteBlocksOneByOne)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({1000000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  TShem d;
  BuildGrid(d, int(state.range(0)));
  for (auto _ : state) {
    TMemoryStream s;
    d.SaveToStream(s);
    benchmark::DoNotOptimize(s.Size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Save)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_Load(benchmark::State& state) {
  // Some forward references: a few links are written before their ends.
  TShem d;
  BuildGrid(d, int(state.range(0)));
  for (int i = 0; i < 100; ++i) {
    TShemObj* source = d.GetObj(i);
    TShemObj* target = d.GetObj(i + 1);
    d.Insert(0, std::make_unique<TLink>());
    d.SetLinkEnd(d.GetObj(0), LinkEnd::Source, source);
    d.SetLinkEnd(d.GetObj(0), LinkEnd::Target, target);
  }
  TMemoryStream s;
  d.SaveToStream(s);
  for (auto _ : state) {
    TShem back;
    s.Seek(0);
    benchmark::DoNotOptimize(back.LoadFromStream(s));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Load)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
}  // namespace

namespace {
// A chain of links each hanging on the link after it in the list: replayed
// literally, every position would walk the rest of the chain again.
void BM_SortReversedLinkChain(benchmark::State& state) {
  const int k = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TShem d;
    TShemObj* a = AddBlock(d, 0, {0, 0, 10, 10});
    std::vector<TShemObj*> raw;
    for (int i = 0; i < k; ++i) raw.push_back(d.GetObj(d.Add(std::make_unique<TLink>())));
    for (int i = 0; i < k; ++i) {
      d.SetLinkEnd(raw[size_t(i)], LinkEnd::Source, a);
      d.SetLinkEnd(raw[size_t(i)], LinkEnd::Target, i + 1 < k ? d.GetObj(i + 2) : a);
    }
    state.ResumeTiming();
    d.SortObjects();
    state.PauseTiming();
    d.Clear();
    state.ResumeTiming();
  }
  state.SetComplexityN(k);
}
BENCHMARK(BM_SortReversedLinkChain)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
}  // namespace
