// Painting a large diagram in the document window: the first paint of a
// 1600 by 1000 view at scale 1, scrolling, and opening the file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <memory>

#include "bench/editor/benchhost.h"
#include "bench/offscreenapp.h"
#include "editor/childd.h"
#include "model/shem.h"

namespace {
QApplication& App() { return OffscreenBenchApp(); }

// 10,000 blocks of every standard kind in a 100 by 100 grid (120 by 60 units
// apart, so a 1600 by 1000 view shows about 230 of them), each joined to its
// right-hand neighbour: 20,000 objects.
void Fill(TShem& d) {
  const int kinds[] = {bkSquare,  bkEllipse,  bkRhomb,   bkParallelogram, bkText,
                       bkComment, bkDocument, bkProcess, bkPage};
  std::vector<TShemObj*> blocks;
  for (int row = 0; row < 100; ++row)
    for (int col = 0; col < 100; ++col) {
      auto b = std::make_unique<TBlock>();
      b->Data.Kind = uint8_t(kinds[(row + col) % 9]);
      b->Data.SetRect({col * 120, row * 60, col * 120 + 80, row * 60 + 30});
      b->Data.Text = "Block " + std::to_string(row * 100 + col) + "\r\nsecond line";
      blocks.push_back(d.GetObj(d.Add(std::move(b))));
    }
  for (size_t i = 0; i < blocks.size(); ++i) {
    d.AddLink(std::make_unique<TLink>(uint8_t(i % 8), TPoint{65535, 32767}, TPoint{0, 32767}),
              blocks[i], blocks[(i + 1) % blocks.size()]);
  }
}

struct View {
  TBenchHost host;
  TChildD doc{&host};
  View() {
    // The view proper is 1600 by 1000 pixels; the scroll bars come on top.
    const int sb = doc.ScrollBar2->sizeHint().width(), sh = doc.ScrollBar1->sizeHint().height();
    doc.resize(1600 + sb, 1000 + sh);
    doc.Scale = 1;
    doc.FormResize();
  }
};

void BM_FirstPaint(benchmark::State& state) {
  App();
  View v;
  Fill(v.doc.Diagram);
  for (auto _ : state) {
    v.doc.Redraw();
    benchmark::DoNotOptimize(v.doc.View().constBits());
  }
  state.counters["objects"] = v.doc.Diagram.Count();
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond);

// One scroll step of `units` (the page step is 10, a screenful 1600), back and
// forth in the middle of the diagram.
void BM_Scroll(benchmark::State& state) {
  App();
  View v;
  Fill(v.doc.Diagram);
  const int units = int(state.range(0));
  v.doc.ScrollBar1->setValue(4000);
  v.doc.ScrollBar2->setValue(2000);
  int dir = 1;
  for (auto _ : state) {
    v.doc.ScrollBar1->setValue(v.doc.ScrollBar1->value() + dir * units);
    dir = -dir;
  }
}
BENCHMARK(BM_Scroll)->Arg(10)->Arg(1600)->Unit(benchmark::kMillisecond);

// Opening: reading the 20,000 objects from a file and painting them once.
void BM_OpenAndPaint(benchmark::State& state) {
  App();
  const std::string file = QDir::tempPath().toStdString() + "/qv_bench_20000.fgd";
  {
    TShem d;
    Fill(d);
    d.SaveToFile(file);
  }
  for (auto _ : state) {
    View v;
    v.doc.Diagram.LoadFromFile(file);
    v.doc.Redraw();
  }
  std::remove(file.c_str());
}
BENCHMARK(BM_OpenAndPaint)->Unit(benchmark::kMillisecond);
}  // namespace
