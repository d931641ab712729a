// The document window: defaults, scroll ranges, the grid, hints and the close question.
#include "editor/childd.h"

#include <QScrollBar>
#include <QTextEdit>

#include "editor/diagramtext.h"
#include "editor/documenthost.h"
#include "guitestenv.h"

namespace {
// Documents take the shared background colour when they are made.
struct TBlueHost : TTestHost {
  TBlueHost() { state.BackgroundColor = QColor(10, 120, 200); }
};

struct Window {
  TBlueHost host;
  TChildD doc{&host};
  Window() {
    doc.resize(420, 300);
    doc.FormResize();
  }
};

TShemObj* AddSquare(TShem& d, TRect r, std::string text = "") {
  auto b = std::make_unique<TBlock>();
  b->Data.SetRect(r);
  b->Data.Text = std::move(text);
  return d.GetObj(d.Add(std::move(b)));
}
}  // namespace

TEST(ChildD, NewWindowStartsAtScaleTwoAtTheOriginWithoutGridInTheBackgroundColour) {
  Window w;
  EXPECT_EQ(w.doc.Scale, 2);
  EXPECT_EQ(w.doc.Origin, (TPoint{0, 0}));
  EXPECT_FALSE(w.doc.ShowGrid);
  EXPECT_FALSE(w.doc.Modified);
  EXPECT_FALSE(w.doc.CanUndo());
  EXPECT_TRUE(w.doc.FileName.isEmpty());
  EXPECT_EQ(w.doc.Color(), QColor(10, 120, 200));
  EXPECT_EQ(QColor(w.doc.View().pixel(5, 5)), QColor(10, 120, 200));
  EXPECT_EQ(w.doc.CanvasFont().pointSize(), 8);
  EXPECT_FALSE(w.doc.Memo1->isVisible());
  EXPECT_EQ(w.doc.ScrollBar1->pageStep(), 10);
  EXPECT_EQ(w.doc.ScrollBar2->singleStep(), 1);
}

TEST(ChildD, ScrollMaximaAndFontSizeFollowTheScale) {
  Window w;
  const int viewW = w.doc.ScrollBar2->x(), viewH = w.doc.ScrollBar1->y();
  EXPECT_EQ(w.doc.ViewBottomRight, (TPoint{viewW, viewH}));
  ASSERT_GT(viewW, 300);
  const std::pair<int, int> fonts[] = {{1, 5}, {2, 8}, {4, 20}, {8, 40}};
  for (auto [scale, points] : fonts) {
    w.doc.Scale = uint8_t(scale);
    w.doc.UpdateScrollRanges();
    EXPECT_EQ(w.doc.ScrollBar1->maximum(), 65535 - Round(double(viewW) / scale)) << scale;
    EXPECT_EQ(w.doc.ScrollBar2->maximum(), 65535 - Round(double(viewH) / scale)) << scale;
    EXPECT_EQ(w.doc.CanvasFont().pointSize(), points);
  }
  w.doc.Scale = 1;
  w.doc.UpdateScrollRanges();
  EXPECT_EQ(w.doc.ScrollBar1->maximum(), 65535 - viewW);
  // Scrolling moves the origin, and with it the mapping.
  w.doc.ScrollBar1->setValue(300);
  w.doc.ScrollBar2->setValue(40);
  EXPECT_EQ(w.doc.Origin, (TPoint{300, 40}));
  EXPECT_EQ(w.doc.ScreenToDiagram({0, 0}), (TPoint{300, 40}));
  EXPECT_EQ(w.doc.DiagramToScreen({310, 41}), (TPoint{10, 1}));
}

TEST(ChildD, GridDotsAreAnchoredToTheWindow) {
  Window w;
  w.doc.ShowGrid = true;
  for (int scale : {2, 8}) {
    SCOPED_TRACE(scale);
    w.doc.Scale = uint8_t(scale);
    w.doc.UpdateScrollRanges();
    const int step = 5 * scale;
    for (int scroll : {0, 3, 17}) {
      w.doc.ScrollBar1->setValue(scroll);
      w.doc.ScrollBar2->setValue(scroll);
      w.doc.Redraw();
      const QImage& v = w.doc.View();
      EXPECT_TRUE(IsBlack(v, 0, 0));
      EXPECT_TRUE(IsBlack(v, step, 0));
      EXPECT_TRUE(IsBlack(v, step, 2 * step));
      EXPECT_FALSE(IsBlack(v, step / 2, 0));
      EXPECT_FALSE(IsBlack(v, step + 1, step));
      EXPECT_FALSE(IsBlack(v, step, step - 1));
    }
  }
  w.doc.DocumentDragging = true;
  w.doc.Redraw();
  EXPECT_FALSE(IsBlack(w.doc.View(), 0, 0));
  EXPECT_FALSE(IsBlack(w.doc.View(), 40, 40));
  w.doc.DocumentDragging = false;
  w.doc.ShowGrid = false;
  w.doc.Redraw();
  EXPECT_FALSE(IsBlack(w.doc.View(), 40, 40));
}

TEST(ChildD, PaintsTheObjectsInViewAtTheScrolledPosition) {
  Window w;
  AddSquare(w.doc.Diagram, {10, 10, 50, 30});
  AddSquare(w.doc.Diagram, {1000, 1000, 1040, 1020});
  w.doc.Redraw();
  EXPECT_TRUE(IsBlack(w.doc.View(), 20, 20));  // scale 2
  EXPECT_TRUE(IsBlack(w.doc.View(), 100, 40));
  EXPECT_FALSE(IsBlack(w.doc.View(), 200, 200));
  w.doc.ScrollBar1->setValue(900);
  w.doc.ScrollBar2->setValue(950);
  // (1000, 1000) now lies at ((1000 - 900) * 2, (1000 - 950) * 2).
  EXPECT_FALSE(IsBlack(w.doc.View(), 20, 20));
  EXPECT_TRUE(IsBlack(w.doc.View(), 200, 100));
  EXPECT_TRUE(IsBlack(w.doc.View(), 280, 140));
  w.doc.Selection.Add(w.doc.Diagram.GetObj(1));
  w.doc.Redraw();
  for (int dy = -2; dy < 2; ++dy)
    for (int dx = -2; dx < 2; ++dx)
      EXPECT_TRUE(IsBlack(w.doc.View(), 280 + dx, 120 + dy));  // right-middle handle
}

TEST(ChildD, HintShowsTheTextOfTheBlockUnderTheMouse) {
  Window w;
  AddSquare(w.doc.Diagram, {10, 10, 50, 30}, "\xcf\xf0\xe8\xe2\xe5\xf2");  // "Привет" in 1251
  w.doc.UpdateHint({20, 20});
  EXPECT_EQ(w.doc.toolTip(), QString::fromUtf8("Привет"));
  w.doc.UpdateHint({200, 200});
  EXPECT_TRUE(w.doc.toolTip().isEmpty());
  w.doc.FormMouseMove(Qt::NoButton, Qt::NoModifier, 41, 20);
  EXPECT_EQ(w.host.Panels[0], "(20, 10)");  // 41 / 2 = 20.5 rounds to 20
}

TEST(ChildD, CloseQuestionAnswers) {
  TScriptedQuestions& q = TGuiEnvironment::Questions;
  Window w;
  w.doc.setWindowTitle("/tmp/x.fgd");
  q.Log.clear();
  EXPECT_TRUE(w.doc.FormCloseQuery());  // unmodified: no question
  EXPECT_TRUE(q.Log.empty());

  w.doc.Modified = true;
  q.Answers = {QMessageBox::Cancel};
  EXPECT_FALSE(w.doc.FormCloseQuery());
  ASSERT_EQ(q.Log.size(), 1u);
  EXPECT_EQ(q.Log[0].Text, "Save changes into /tmp/x.fgd?");
  EXPECT_EQ(q.Log[0].Caption, "Block-diagram editor.");
  EXPECT_EQ(q.Log[0].Icon, QMessageBox::Question);
  EXPECT_EQ(q.Log[0].Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(w.host.Saves, 0);

  q.Answers = {QMessageBox::No};
  EXPECT_TRUE(w.doc.FormCloseQuery());
  EXPECT_EQ(w.host.Saves, 0);
  EXPECT_TRUE(w.doc.Modified);

  w.host.SaveSucceeds = false;
  q.Answers = {QMessageBox::Yes};
  EXPECT_FALSE(w.doc.FormCloseQuery());  // the save failed: stays open
  EXPECT_EQ(w.host.Saves, 1);

  w.host.SaveSucceeds = true;
  q.Answers = {QMessageBox::Yes};
  EXPECT_TRUE(w.doc.FormCloseQuery());
  EXPECT_EQ(w.host.Saves, 2);
  EXPECT_FALSE(w.doc.Modified);
  EXPECT_TRUE(q.Answers.empty());
}

TEST(DiagramText, RoundTripsThroughTheCodePage) {
  ASSERT_EQ(DiagramCodePage(), 1251);
  const std::string bytes = "A \xcf\xf0\xe8\xe2\xe5\xf2\r\n1";
  EXPECT_EQ(DiagramToQString(bytes), QString::fromUtf8("A Привет\r\n1"));
  EXPECT_EQ(QStringToDiagram(QString::fromUtf8("A Привет\r\n1")), bytes);
  EXPECT_EQ(QStringToDiagram(QString::fromUtf8("\u4e2d")), "?");
  EXPECT_FALSE(SetDiagramCodePage(437));
  ASSERT_TRUE(SetDiagramCodePage(1252));
  EXPECT_EQ(DiagramToQString("\xe9"), QString::fromUtf8("é"));
  SetDiagramCodePage(1251);
}
