// Graphic export and printing of a large diagram: 20,000 objects (10,000
// blocks with text on a 100 by 100 grid, 10,000 links) whose picture at
// scale 1 is about 4000 by 3000 pixels. Each export measures the whole job:
// render, bitmap file, library (GIF, JPEG) or image writer (PNG).
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <memory>

#include "app/exportbinding.h"
#include "app/pictureexport.h"
#include "app/printing.h"
#include "bench/offscreenapp.h"
#include "editor/diagrampicture.h"
#include "model/shem.h"
#include "model/userblocklist.h"

namespace {
struct LargeDiagram {
  TUserBlockList list;
  TShem d;
  LargeDiagram() {
    d.UserBlocks = &list;
    std::vector<TShemObj*> grid;
    for (int row = 0; row < 100; ++row)
      for (int col = 0; col < 100; ++col) {
        auto b = std::make_unique<TBlock>();
        b->Data.Kind = uint8_t((row + col) % 4);  // square, ellipse, rhomb, parallelogram
        b->Data.SetRect({col * 40, row * 30, col * 40 + 30, row * 30 + 20});
        b->Data.Text = "b" + std::to_string(row * 100 + col);
        grid.push_back(d.GetObj(d.Add(std::move(b))));
      }
    for (int row = 0; row < 100; ++row)
      for (int col = 0; col + 1 < 100; ++col)
        d.AddLink(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre),
                  grid[size_t(row * 100 + col)], grid[size_t(row * 100 + col + 1)]);
    for (int row = 0; row + 1 < 100; ++row)
      d.AddLink(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre),
                grid[size_t(row * 100)], grid[size_t((row + 1) * 100)]);
    d.AddLink(std::make_unique<TLink>(0, PosCentre, PosCentre), grid[0], grid[99]);
  }
};

LargeDiagram& Diagram() {
  OffscreenBenchApp();
  static LargeDiagram large;
  return large;
}

const TExportBinding& Binding() {
  static TExportBinding binding = [] {
    TExportBinding b;
    b.Load(QFileInfo(VEXOLANT_LIBRARY_PATH).absolutePath().toStdString());
    return b;
  }();
  return binding;
}

void Export(benchmark::State& state, TPictureKind kind, int format, const char* ext) {
  LargeDiagram& large = Diagram();
  QTemporaryDir dir;
  TPictureJob job;
  job.Diagram = &large.d;
  job.Scale = 1;
  job.Kind = kind;
  job.LibraryFormat = format;
  job.FileName = dir.path() + "/large." + ext;
  if (kind == TPictureKind::Library && !Binding().Bound()) {
    state.SkipWithError("libvexolant.so not found");
    return;
  }
  for (auto _ : state) {
    const TExportResult r = ExportPicture(job, &Binding());
    if (!r.Ok) state.SkipWithError(r.Message.toStdString().c_str());
  }
  const TPictureFrame f = PictureFrame(large.d, 1);
  state.counters["objects"] = double(large.d.Count());
  state.counters["width"] = double(f.Width);
  state.counters["height"] = double(f.Height);
  state.counters["bytes"] = double(QFileInfo(job.FileName).size());
}

void BM_ExportGif(benchmark::State& s) { Export(s, TPictureKind::Library, 1, "gif"); }
void BM_ExportJpeg(benchmark::State& s) { Export(s, TPictureKind::Library, 2, "jpg"); }
void BM_ExportPng(benchmark::State& s) { Export(s, TPictureKind::Png, 0, "png"); }
void BM_ExportBmp(benchmark::State& s) { Export(s, TPictureKind::Bmp, 0, "bmp"); }

// The drawing alone, the part every raster export shares.
void BM_RenderPicture(benchmark::State& state) {
  LargeDiagram& large = Diagram();
  const TPictureFrame f = PictureFrame(large.d, 1);
  for (auto _ : state) {
    QImage image = RenderPicture(large.d, f, Qt::white, QString());
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_PrintPdf(benchmark::State& state) {
  LargeDiagram& large = Diagram();
  QTemporaryDir dir;
  TPrintJob job;
  job.Diagram = &large.d;
  job.Scale = 1;
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.path() + "/large.pdf");
    if (!PrintDiagram(printer, job)) state.SkipWithError("printing failed");
  }
  state.counters["bytes"] = double(QFileInfo(dir.path() + "/large.pdf").size());
}

BENCHMARK(BM_RenderPicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportGif)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintPdf)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
