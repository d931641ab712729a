// The code view with the Pascal of a very large diagram: showing 100,000
// lines, scrolling by a page, painting at different text lengths, and a
// typed character, which repaints only its line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

#include "bench/offscreenapp.h"
#include "model/codepage.h"
#include "pascal/gui/customedit.h"
#include "pascal/gui/expform.h"

namespace {
QApplication& App() { return OffscreenBenchApp(); }

// Translator output of n lines: nested loops and statements, indented.
std::vector<std::string> PascalLines(int n) {
  std::vector<std::string> out;
  out.reserve(size_t(n));
  out.push_back("begin");
  for (int i = 1; out.size() + 1 < size_t(n); ++i) {
    const std::string pad(2 + 2 * (i % 5), ' ');
    switch (i % 4) {
      case 0:
        out.push_back(pad + "while a" + std::to_string(i) + " < 10 do");
        break;
      case 1:
        out.push_back(pad + "begin");
        break;
      case 2:
        out.push_back(pad + "a" + std::to_string(i) + " := a" + std::to_string(i) + " + 1;");
        break;
      default:
        out.push_back(pad + "end;");
        break;
    }
  }
  out.push_back("end;");
  return out;
}

QString Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& l : lines) all += l + "\r\n";
  return QString::fromLatin1(all);
}

std::unique_ptr<TmCustomEdit> ShownView(const QString& text) {
  App();
  auto e = std::make_unique<TmCustomEdit>();
  e->resize(800, 600);
  QFont f("Courier New");
  f.setPixelSize(13);
  e->setFont(f);
  e->SetWords(TExpForm::PascalWords());
  e->SetText(text);
  e->show();
  QApplication::processEvents();
  return e;
}

void Send(TmCustomEdit& e, int key, const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&e, &press);
}

// Setting the whole text and painting the first screen.
void BM_ShowText(benchmark::State& state) {
  const QString text = Joined(PascalLines(int(state.range(0))));
  auto e = ShownView(QString());
  for (auto _ : state) {
    e->SetText(text);
    e->viewport()->repaint();
  }
  state.counters["lines"] = double(e->LineCount());
}
BENCHMARK(BM_ShowText)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The window's path: translator lines (8-bit) converted and set as lines.
void BM_ShowTranslatorLines(benchmark::State& state) {
  const std::vector<std::string> lines = PascalLines(int(state.range(0)));
  auto e = ShownView(QString());
  for (auto _ : state) {
    QStringList converted;
    converted.reserve(qsizetype(lines.size()));
    for (const std::string& l : lines) {
      const std::u32string u = DecodeCodepage(l, DefaultCodePage);
      converted.append(QString::fromUcs4(u.data(), qsizetype(u.size())));
    }
    e->SetLines(std::move(converted));
    e->viewport()->repaint();
  }
}
BENCHMARK(BM_ShowTranslatorLines)->Arg(100000)->Unit(benchmark::kMillisecond);

// Page Down and Page Up in turn, each with its repaint.
void BM_ScrollPage(benchmark::State& state) {
  auto e = ShownView(Joined(PascalLines(int(state.range(0)))));
  e->SetTopLine(int(state.range(0)) / 2);
  e->SetCaretLine(int(state.range(0)) / 2);
  bool down = true;
  for (auto _ : state) {
    Send(*e, down ? Qt::Key_PageDown : Qt::Key_PageUp);
    e->viewport()->repaint();
    down = !down;
  }
}
BENCHMARK(BM_ScrollPage)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A full repaint: the cost must not depend on the number of lines.
void BM_Paint(benchmark::State& state) {
  auto e = ShownView(Joined(PascalLines(int(state.range(0)))));
  e->SetTopLine(int(state.range(0)) / 2);
  for (auto _ : state) e->viewport()->repaint();
}
BENCHMARK(BM_Paint)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Lines of 100,000 characters: only the columns on screen are drawn.
void BM_PaintLongLines(benchmark::State& state) {
  QStringList lines;
  for (int i = 0; i < 60; ++i)
    lines << QString("begin x := y; ").repeated(int(state.range(0)) / 14);
  auto e = ShownView(QString());
  e->SetLines(lines);
  e->SetLeftChar(500);
  for (auto _ : state) e->viewport()->repaint();
}
BENCHMARK(BM_PaintLongLines)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A typed character and Backspace in turn, each followed by the repaint of
// what it changed (one line).
void BM_TypeAndRepaint(benchmark::State& state) {
  auto e = ShownView(Joined(PascalLines(int(state.range(0)))));
  e->SetTopLine(int(state.range(0)) / 2);
  e->SetCaretLine(int(state.range(0)) / 2 + 3);
  e->SetCaretCol(5);
  bool type = true;
  for (auto _ : state) {
    if (type)
      Send(*e, Qt::Key_X, "x");
    else
      Send(*e, Qt::Key_Backspace);
    QApplication::processEvents();
    type = !type;
  }
}
BENCHMARK(BM_TypeAndRepaint)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// For comparison with the above: the same keys followed by a full repaint.
void BM_TypeAndFullRepaint(benchmark::State& state) {
  auto e = ShownView(Joined(PascalLines(int(state.range(0)))));
  e->SetTopLine(int(state.range(0)) / 2);
  e->SetCaretLine(int(state.range(0)) / 2 + 3);
  e->SetCaretCol(5);
  bool type = true;
  for (auto _ : state) {
    if (type)
      Send(*e, Qt::Key_X, "x");
    else
      Send(*e, Qt::Key_Backspace);
    e->viewport()->repaint();
    QApplication::processEvents();
    type = !type;
  }
}
BENCHMARK(BM_TypeAndFullRepaint)->Arg(100000)->Unit(benchmark::kMicrosecond);
}  // namespace
