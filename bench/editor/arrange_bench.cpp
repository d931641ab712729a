// Space equally over 5,000 selected blocks in a document window, as the
// Align palette runs it: the undo snapshot, the new positions and the repaint
// of a 1600 by 1000 view at scale 1.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "bench/editor/benchhost.h"
#include "bench/offscreenapp.h"
#include "editor/childd.h"
#include "model/arrange.h"

namespace {
void BM_SpaceEquallyInWindow(benchmark::State& state) {
  OffscreenBenchApp();
  TBenchHost host;
  TChildD view(&host);
  view.resize(1600, 1000);
  view.Scale = 1;
  view.show();
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> at(0, 3000);
  std::vector<TShemObj*> all;
  for (int i = 0; i < int(state.range(0)); ++i) {
    auto b = std::make_unique<TBlock>();
    const int32_t x = at(rng) * 20, y = at(rng) * 20;
    b->Data.SetRect({x, y, x + 8, y + 8});
    all.push_back(view.Diagram.GetObj(view.Diagram.Add(std::move(b))));
  }
  view.Selection.Assign(all);
  std::vector<Block*> blocks;
  for (TShemObj* o : all) blocks.push_back(&o->AsBlock()->Data);
  for (auto _ : state) {
    view.SaveUndo();
    AlignBlocks(blocks, TAlignMode::SpaceEqually, TAlignMode::SpaceEqually);
    view.Redraw();
  }
}
BENCHMARK(BM_SpaceEquallyInWindow)->Arg(5000)->Unit(benchmark::kMillisecond);
}  // namespace
