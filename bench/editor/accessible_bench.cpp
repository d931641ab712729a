// The document view for assistive technology on large diagrams: the report
// after a change (done on every repaint while assistive technology looks at
// the view) and a screen reader's walk over all children.
#include <benchmark/benchmark.h>

#include <QAccessible>
#include <memory>

#include "bench/editor/benchhost.h"
#include "bench/offscreenapp.h"
#include "editor/childd.h"
#include "editor/diagramaccessible.h"

namespace {
void Ignore(QAccessibleEvent*) {}

// n blocks with text in rows of 100, each joined to its right-hand neighbour.
struct TBigView {
  TBenchHost host;
  std::unique_ptr<TChildD> view;
  TDiagramAccessible* iface = nullptr;
  explicit TBigView(int n) {
    OffscreenBenchApp();
    view = std::make_unique<TChildD>(&host);
    view->resize(1600, 1000);
    TShemObj* prev = nullptr;
    for (int i = 0; i < n; ++i) {
      auto b = std::make_unique<TBlock>();
      b->Data.SetRect(
          {50 + 120 * (i % 100), 50 + 60 * (i / 100), 130 + 120 * (i % 100), 80 + 60 * (i / 100)});
      b->Data.Text = "x := x + " + std::to_string(i);
      TShemObj* o = view->Diagram.GetObj(view->Diagram.Add(std::move(b)));
      if (prev && i % 100 != 0)
        view->Diagram.AddLink(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre), prev,
                              o);
      prev = o;
    }
    SetAccessibleEventSink(Ignore);
    iface = static_cast<TDiagramAccessible*>(QAccessible::queryAccessibleInterface(view.get()));
  }
  ~TBigView() { SetAccessibleEventSink(nullptr); }
};

void BM_UpdateAfterOneChange(benchmark::State& state) {
  TBigView v(int(state.range(0)));
  v.iface->Update();
  TBlock* first = v.view->Diagram.GetObj(0)->AsBlock();
  int step = 0;
  for (auto _ : state) {
    first->Data.Text = "changed " + std::to_string(++step);
    v.iface->Update();
  }
  state.SetItemsProcessed(state.iterations() * v.view->Diagram.Count());
}
BENCHMARK(BM_UpdateAfterOneChange)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_ReadAllChildren(benchmark::State& state) {
  TBigView v(int(state.range(0)));
  for (auto _ : state) {
    const int n = v.iface->childCount();
    qsizetype chars = 0;
    for (int i = 0; i < n; ++i) chars += v.iface->child(i)->text(QAccessible::Name).size();
    benchmark::DoNotOptimize(chars);
  }
}
BENCHMARK(BM_ReadAllChildren)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
}  // namespace
