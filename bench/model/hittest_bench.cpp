// The diagram's hit tests on 100,000 objects: what the editor pays on every
// mouse move (ObjectAt, BorderPointAt, HandleAt, LinkEndAt on an empty spot,
// which walks the whole list) and on every paint (one NextInRect walk of a
// screen-sized rectangle). A plain walk through GetObj/SourcePoint/TargetPoint
// is measured beside them for comparison.
#include <benchmark/benchmark.h>

#include <random>

#include "model/hittest_shapes.h"
#include "testdiagrams.h"

namespace {
constexpr int kObjects = 100000;

// A flowchart-like diagram: blocks of every built-in kind in rows, links
// between neighbours, every fifth one bent through a Point block, and every
// tenth link hanging on the link before it.
TShem& GridDiagram() {
  static TShem* d = [] {
    auto* g = new TShem;
    std::vector<TShemObj*> blocks;
    std::vector<TShemObj*> links;
    int i = 0;
    while (g->Count() < kObjects) {
      const int32_t x = (i % 400) * 150, y = (i / 400) * 80;
      const int kind = i % 10 == 4 ? bkSquare : i % 10;
      TShemObj* b = AddBlock(*g, kind, {x, y, x + 80, y + 30}, "block");
      if (!blocks.empty() && g->Count() < kObjects) {
        TShemObj* prev = blocks.back();
        TShemObj* l;
        if (i % 5 == 0 && g->Count() + 2 < kObjects) {
          TShemObj* pt = AddPoint(*g, {x - 30, y + 50});
          AddLink(*g, prev, pt, {32767, 65535});
          l = AddLink(*g, pt, b, PosCentre, {0, 32767});
        } else if (i % 10 == 3 && !links.empty()) {
          l = AddLink(*g, links.back(), b, {20000, 0}, {32767, 0});
        } else {
          l = AddLink(*g, prev, b, {65535, 32767}, {0, 32767});
        }
        links.push_back(l);
      }
      blocks.push_back(b);
      ++i;
    }
    return g;
  }();
  return *d;
}

// The generated diagram of the tests: random kinds in a grid, links between
// random blocks across the whole diagram, 15 % of them hanging on links.
TShem& RandomDiagram() {
  static TShem* d = [] {
    auto* g = new TShem;
    std::mt19937 rng(12345);
    BuildDiagram(*g, GenerateObjects(rng, kObjects));
    return g;
  }();
  return *d;
}

// 100,000 links each hanging on the middle of the one before: a chain that the
// walk must follow once, not once per link.
TShem& ChainDiagram() {
  static TShem* d = [] {
    auto* g = new TShem;
    TShemObj* a = AddBlock(*g, bkSquare, {0, 0, 40, 20});
    TShemObj* b = AddBlock(*g, bkSquare, {60000, 9000, 60040, 9020});
    TShemObj* prev = AddLink(*g, a, b);
    while (g->Count() < kObjects) prev = AddLink(*g, prev, b, {32767, 0}, {0, 0});
    return g;
  }();
  return *d;
}

TShem& DiagramOf(const benchmark::State& state) {
  switch (state.range(0)) {
    case 0:
      return GridDiagram();
    case 1:
      return RandomDiagram();
    default:
      return ChainDiagram();
  }
}

// Beyond every object, so each test walks the whole list.
constexpr TPoint kEmpty{65000, 65000};

void BM_ObjectAtEmpty(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  for (auto _ : state) benchmark::DoNotOptimize(d.ObjectAt(kEmpty));
}

void BM_ObjectAtPlainWalk(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  for (auto _ : state) {
    TShemObj* found = nullptr;
    for (int i = 0; i < d.Count() && !found; ++i) {
      TShemObj* e = d.GetObj(i);
      if (e->IsBlock() ? BlockUnderPoint(e->AsBlock()->Data, kEmpty, d.UserBlocks)
                       : LinkUnderPoint(d.SourcePoint(e), d.TargetPoint(e), kEmpty))
        found = e;
    }
    benchmark::DoNotOptimize(found);
  }
}

void BM_BorderPointAtEmpty(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  for (auto _ : state) {
    TShemObj* obj;
    TPoint q;
    d.BorderPointAt(kEmpty, obj, q);
    benchmark::DoNotOptimize(obj);
  }
}

void BM_HandleAtEmpty(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  for (auto _ : state) {
    TShemObj* obj;
    int h;
    d.HandleAt(kEmpty, obj, h);
    benchmark::DoNotOptimize(obj);
  }
}

void BM_LinkEndAtEmpty(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  for (auto _ : state) {
    TShemObj* obj;
    bool src;
    d.LinkEndAt(kEmpty, obj, src);
    benchmark::DoNotOptimize(obj);
  }
}

// One paint: every object touching a 1280 x 800 view in the middle.
void BM_NextInRectScreen(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  const TRect view{24000, 3000, 25280, 3800};
  int64_t found = 0;
  for (auto _ : state) {
    int n = 0;
    for (const TShemObj* o = d.NextInRect(nullptr, view); o; o = d.NextInRect(o, view)) ++n;
    found = n;
    benchmark::DoNotOptimize(n);
  }
  state.counters["objects"] = double(found);
}

// Point under the mouse in the middle of a busy area: an early hit.
void BM_ObjectAtBusy(benchmark::State& state) {
  const TShem& d = DiagramOf(state);
  const TPoint p{24040, 3015};
  for (auto _ : state) benchmark::DoNotOptimize(d.ObjectAt(p));
}

}  // namespace

// Argument: 0 the flowchart-like grid, 1 the generated random diagram, 2 the
// chain of links on links.
#define HIT_BENCH(fn) \
  BENCHMARK(fn)->ArgName("diagram")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
HIT_BENCH(BM_ObjectAtEmpty);
HIT_BENCH(BM_ObjectAtPlainWalk);
HIT_BENCH(BM_BorderPointAtEmpty);
HIT_BENCH(BM_HandleAtEmpty);
HIT_BENCH(BM_LinkEndAtEmpty);
HIT_BENCH(BM_NextInRectScreen);
HIT_BENCH(BM_ObjectAtBusy);
BENCHMARK(BM_ObjectAtEmpty)->ArgName("diagram")->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextInRectScreen)->ArgName("diagram")->Arg(2)->Unit(benchmark::kMillisecond);
