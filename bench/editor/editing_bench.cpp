// Editing a large diagram with the mouse and the selection commands: a rubber
// band over a 20,000-object diagram, moving 5,000 selected blocks, Select All
// with Delete, Undo, one step of a drag, and the undo snapshot of a
// 100,000-object diagram. Every operation includes the repaint of the window
// (a 1600 by 1000 view at scale 1) and the refill of a 10,000-row listing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <memory>

#include "bench/offscreenapp.h"
#include "editor/childd.h"
#include "editor/documenthost.h"
#include "model/listview.h"
#include "model/shem.h"

namespace {
QApplication& App() { return OffscreenBenchApp(); }

// A listing panel like the main window's: one row per block.
class TBenchListing : public QTreeWidget, public ListView {
 public:
  TBenchListing() { setColumnCount(3); }
  void BeginUpdate() override { setUpdatesEnabled(false); }
  void EndUpdate() override { setUpdatesEnabled(true); }
  void Clear() override { clear(); }
  void Append(const std::string& caption, int, const std::string& position, const std::string& size,
              TShemObj* obj) override {
    auto* item =
        new QTreeWidgetItem({QString::fromStdString(caption), QString::fromStdString(position),
                             QString::fromStdString(size)});
    item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(obj)));
    addTopLevelItem(item);
  }
  bool Visible() const override { return true; }
};

class THost : public TDocumentHost {
 public:
  TEditorState state;
  TBenchListing listing;
  TEditorState& State() override { return state; }
  ListView* ListingView() override { return &listing; }
  bool ListingShows(const TShem*) const override { return true; }
  QString FontFace() const override { return QString(); }
  bool SaveDocument(TChildD*) override { return false; }
  void SetStatusPanel(int, const QString&) override {}
};

// `rows` rows of 100 blocks, 120 by 60 units apart from (50, 50) on, each
// joined to its right-hand neighbour: 200 objects per row.
void Fill(TShem& d, int rows) {
  const int kinds[] = {bkSquare,  bkEllipse,  bkRhomb,   bkParallelogram, bkText,
                       bkComment, bkDocument, bkProcess, bkPage};
  std::vector<TShemObj*> blocks;
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < 100; ++col) {
      auto b = std::make_unique<TBlock>();
      b->Data.Kind = uint8_t(kinds[(row + col) % 9]);
      b->Data.SetRect({50 + col * 120, 50 + row * 60, 130 + col * 120, 80 + row * 60});
      b->Data.Text = "Block " + std::to_string(row * 100 + col) + "\r\nsecond line";
      blocks.push_back(d.GetObj(d.Add(std::move(b))));
    }
  for (size_t i = 0; i < blocks.size(); ++i) {
    d.AddLink(std::make_unique<TLink>(uint8_t(i % 8), TPoint{65535, 32767}, TPoint{0, 32767}),
              blocks[i], blocks[(i + 1) % blocks.size()]);
  }
}

// A shown document window of 1600 by 1000 at scale 1 holding `rows` rows.
struct TBenchDocument {
  bool app = (App(), true);  // before the first widget
  THost host;
  std::unique_ptr<TChildD> doc;
  explicit TBenchDocument(int rows) {
    App();
    doc = std::make_unique<TChildD>(&host);
    doc->resize(1600, 1000);
    doc->show();
    doc->Scale = 1;
    doc->UpdateScrollRanges();
    Fill(doc->Diagram, rows);
    doc->FillListView();
    Flush();
  }
  void Flush() {
    doc->Redraw();
    QCoreApplication::processEvents();
  }
  void Press(int x, int y) { doc->FormMouseDown(Qt::LeftButton, Qt::NoModifier, x, y); }
  void Move(int x, int y) { doc->FormMouseMove(Qt::LeftButton, Qt::NoModifier, x, y); }
  void Release(int x, int y) {
    doc->FormMouseUp(Qt::LeftButton, Qt::NoModifier, x, y);
    QCoreApplication::processEvents();  // the repaint
  }
};

// A band from the empty top-left corner to beyond the diagram's far corner
// (the mouse left the window): every one of the 20,000 objects is selected.
void BM_RubberBandOverEverything(benchmark::State& state) {
  TBenchDocument t(100);
  for (auto _ : state) {
    t.Press(10, 10);
    t.Move(800, 500);
    t.Move(13000, 7000);
    t.Release(13000, 7000);
  }
  if (t.doc->Selection.Count() != 20000) state.SkipWithError("not everything selected");
  state.counters["selected"] = t.doc->Selection.Count();
}
BENCHMARK(BM_RubberBandOverEverything)->Unit(benchmark::kMillisecond);

// 5,000 selected blocks (the top 50 rows) dragged 37 by 21 units.
void BM_MoveFiveThousandBlocks(benchmark::State& state) {
  TBenchDocument t(100);
  std::vector<TShemObj*> sel;
  for (int i = 0; i < 5000; ++i) sel.push_back(t.doc->Diagram.GetObj(i));
  t.doc->Selection.Assign(sel);
  // On the first block, there and back on alternate runs.
  TPoint from{90, 65}, to{127, 86};
  for (auto _ : state) {
    t.Press(from.X, from.Y);
    t.Move((from.X + to.X) / 2, (from.Y + to.Y) / 2);
    t.Move(to.X, to.Y);
    t.Release(to.X, to.Y);
    std::swap(from, to);
  }
  if (t.doc->Diagram.GetObj(0)->AsBlock()->Data.TopLeft.X % 37 != 50 % 37)
    state.SkipWithError("the blocks did not move by whole steps");
  state.counters["moved"] = double(t.doc->SelectedBlockCount());
}
BENCHMARK(BM_MoveFiveThousandBlocks)->Unit(benchmark::kMillisecond);

void BM_SelectAllDelete(benchmark::State& state) {
  TBenchDocument t(100);
  for (auto _ : state) {
    t.doc->SelectAll();
    t.doc->DeleteSelection();
    QCoreApplication::processEvents();
    state.PauseTiming();
    t.doc->SwapUndo();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SelectAllDelete)->Unit(benchmark::kMillisecond);

// Undo after Select All + Delete: 20,000 objects come back (and the listing).
void BM_UndoAfterDelete(benchmark::State& state) {
  TBenchDocument t(100);
  for (auto _ : state) {
    state.PauseTiming();
    t.doc->SelectAll();
    t.doc->DeleteSelection();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    t.doc->SwapUndo();
    QCoreApplication::processEvents();
  }
  if (t.doc->Diagram.Count() != 20000) state.SkipWithError("undo lost objects");
}
BENCHMARK(BM_UndoAfterDelete)->Unit(benchmark::kMillisecond);

// One mouse move while 5,000 selected blocks are dragged: the feedback frame
// moves and only its pixels are repainted.
void BM_DragStep(benchmark::State& state) {
  TBenchDocument t(100);
  std::vector<TShemObj*> sel;
  for (int i = 0; i < 5000; ++i) sel.push_back(t.doc->Diagram.GetObj(i));
  t.doc->Selection.Assign(sel);
  t.Press(90, 65);
  QCoreApplication::processEvents();
  int i = 0;
  for (auto _ : state) {
    ++i;
    t.Move(90 + i % 50, 65 + i % 30);
    QCoreApplication::processEvents();
  }
  t.Release(90, 65);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

// One mouse move while a new link is drawn with the create-link tool, over
// the empty gap between two rows: the border hit test walks all 20,000
// objects, then the line moves and the cursor is chosen.
void BM_DrawLinkStep(benchmark::State& state) {
  TBenchDocument t(100);
  t.host.state.CurrentTool = TTool::CreateLink;
  t.Press(130, 65);  // the first block's right side
  if (t.doc->MouseState != TMouseState::DrawingLink) state.SkipWithError("no link drawn");
  QCoreApplication::processEvents();
  int i = 0;
  for (auto _ : state) {
    ++i;
    t.Move(140 + i % 20, 93 + i % 5);
    QCoreApplication::processEvents();
  }
  t.Release(140, 95);
}
BENCHMARK(BM_DrawLinkStep)->Unit(benchmark::kMicrosecond);

// The same for moving the end of a selected link with the select tool.
void BM_MoveLinkEndStep(benchmark::State& state) {
  TBenchDocument t(100);
  t.doc->Selection.Assign({t.doc->Diagram.GetObj(10000)});  // (130, 65) to (170, 65)
  t.Press(170, 65);
  if (t.doc->MouseState != TMouseState::MovingLinkEnd) state.SkipWithError("no end grabbed");
  QCoreApplication::processEvents();
  int i = 0;
  for (auto _ : state) {
    ++i;
    t.Move(140 + i % 20, 93 + i % 5);
    QCoreApplication::processEvents();
  }
  t.Release(140, 95);
}
BENCHMARK(BM_MoveLinkEndStep)->Unit(benchmark::kMicrosecond);

// For comparison: rendering the view again and showing it.
void BM_FullRedraw(benchmark::State& state) {
  TBenchDocument t(100);
  for (auto _ : state) t.Flush();
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

// The undo snapshot of 100,000 objects (50,000 blocks and their links).
void BM_SaveUndo100k(benchmark::State& state) {
  TBenchDocument t(500);
  for (auto _ : state) t.doc->SaveUndo();
  state.counters["snapshot_bytes"] = double(t.doc->Undo.Size());
  state.counters["objects"] = t.doc->Diagram.Count();
}
BENCHMARK(BM_SaveUndo100k)->Unit(benchmark::kMillisecond);

void BM_SwapUndo100k(benchmark::State& state) {
  TBenchDocument t(500);
  t.doc->SaveUndo();
  for (auto _ : state) {
    t.doc->SwapUndo();
    QCoreApplication::processEvents();
  }
  state.counters["snapshot_bytes"] = double(t.doc->Undo.Size());
}
BENCHMARK(BM_SwapUndo100k)->Unit(benchmark::kMillisecond);
}  // namespace
