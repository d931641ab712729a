// The document window hands the mouse and the keys to the tool object of the
// current tool; a drag stays with the tool that started it. The tools choose
// the cursor over what lies under the idle mouse.
#include <QTest>

#include "editor/childd.h"
#include "editor/cursors.h"
#include "editor/documenthost.h"
#include "editor/tools/linkpointstool.h"
#include "editor/tools/linktool.h"
#include "editor/tools/selecttool.h"
#include "guitestenv.h"
#include "model/testdiagrams.h"

namespace {

// Records what reaches it; a press starts a drag when Drags is set.
class TRecordingTool : public TEditorTool {
 public:
  TRecordingTool(TChildD& view, TTool kind, std::vector<std::string>& log)
      : TEditorTool(view), kind_(kind), log_(log) {}
  TTool Kind() const override { return kind_; }
  bool Drags = false;
  void MouseDown(const TMouseInput& in) override {
    Log("down", in);
    if (Drags) View().MouseState = TMouseState::RubberBand;
  }
  void IdleMove(const TMouseInput& in) override { Log("idle", in); }
  void DragMove(const TMouseInput& in) override { Log("drag", in); }
  void MouseUp(const TMouseInput& in) override { Log("up", in); }
  void CancelDrag() override { log_.push_back(Name() + " cancel"); }
  bool KeyDown(int key, Qt::KeyboardModifiers) override {
    log_.push_back(Name() + " key " + std::to_string(key));
    return key == Qt::Key_Escape;
  }

 private:
  std::string Name() const { return kind_ == TTool::Select ? "select" : "other"; }
  void Log(const char* what, const TMouseInput& in) {
    log_.push_back(Name() + " " + what + " " + PointToStr(in.At));
  }
  TTool kind_;
  std::vector<std::string>& log_;
};

struct Window {
  TTestHost host;
  TChildD doc{&host};
  std::vector<std::string> log;
  TRecordingTool* select;
  TRecordingTool* other;
  Window() {
    doc.resize(420, 300);
    doc.FormResize();
  }
  void Record() {
    auto s = std::make_unique<TRecordingTool>(doc, TTool::Select, log);
    auto o = std::make_unique<TRecordingTool>(doc, TTool::MoveDocument, log);
    select = s.get();
    other = o.get();
    doc.SetTool(std::move(s));
    doc.SetTool(std::move(o));
  }
  // The cursor shows the table's cursor c.
  bool Shows(TCursor c) const {
    const QCursor& want = AppCursor(c);
    return doc.cursor().shape() == want.shape() &&
           doc.cursor().pixmap().toImage() == want.pixmap().toImage();
  }
};
}  // namespace

TEST(ToolForwarding, PressMoveAndReleaseReachTheCurrentToolInDiagramUnits) {
  Window w;
  w.Record();
  w.doc.FormMouseMove(Qt::NoButton, Qt::NoModifier, 10, 6);
  w.doc.FormMouseDown(Qt::LeftButton, Qt::NoModifier, 20, 8);
  w.doc.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 20, 8);
  w.host.state.CurrentTool = TTool::MoveDocument;
  w.doc.FormMouseMove(Qt::NoButton, Qt::NoModifier, 4, 4);
  // No drag was started: a release reaches no tool.
  EXPECT_EQ(w.log, (std::vector<std::string>{"select idle (5, 3)", "select down (10, 4)",
                                             "other idle (2, 2)"}));
  EXPECT_EQ(w.host.Panels[0], "(2, 2)");
  EXPECT_EQ(w.doc.MouseState, TMouseState::Idle);
}

TEST(ToolForwarding, ADragStaysWithItsToolUntilTheRelease) {
  Window w;
  w.Record();
  w.select->Drags = true;
  w.doc.FormMouseDown(Qt::LeftButton, Qt::NoModifier, 20, 20);
  EXPECT_EQ(w.doc.MouseState, TMouseState::RubberBand);
  w.host.Panels[1] = "(3, 3)";
  // The tool changes during the drag: the drag still belongs to select.
  w.host.state.CurrentTool = TTool::MoveDocument;
  w.doc.FormMouseMove(Qt::LeftButton, Qt::NoModifier, 40, 30);
  w.doc.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 40, 30);
  EXPECT_EQ(w.log, (std::vector<std::string>{"select down (10, 10)", "select drag (20, 15)",
                                             "select up (20, 15)"}));
  EXPECT_EQ(w.doc.MouseState, TMouseState::Idle);
  EXPECT_TRUE(w.host.Panels[1].isEmpty());  // every release clears panel 1
}

TEST(ToolForwarding, AnotherButtonDuringADragCancelsItWithoutTheReleaseWork) {
  Window w;
  w.Record();
  w.select->Drags = true;
  w.doc.FormMouseDown(Qt::LeftButton, Qt::NoModifier, 20, 20);
  w.doc.FormMouseDown(Qt::RightButton, Qt::NoModifier, 22, 22);
  EXPECT_EQ(w.doc.MouseState, TMouseState::Idle);
  w.doc.FormMouseUp(Qt::RightButton, Qt::NoModifier, 22, 22);
  w.doc.FormMouseUp(Qt::LeftButton, Qt::NoModifier, 22, 22);
  EXPECT_EQ(w.log, (std::vector<std::string>{"select down (10, 10)", "select cancel"}));
}

TEST(ToolForwarding, KeysGoToTheCurrentToolAndRealEventsTakeTheSamePath) {
  Window w;
  w.Record();
  EXPECT_TRUE(w.doc.FormKeyDown(Qt::Key_Escape, Qt::NoModifier));
  EXPECT_FALSE(w.doc.FormKeyDown(Qt::Key_A, Qt::NoModifier));
  w.host.state.CurrentTool = TTool::MoveDocument;
  w.doc.show();
  QTest::keyClick(&w.doc, Qt::Key_B);
  QTest::mousePress(&w.doc, Qt::LeftButton, Qt::NoModifier, QPoint(30, 14));
  QTest::mouseRelease(&w.doc, Qt::LeftButton, Qt::NoModifier, QPoint(30, 14));
  EXPECT_EQ(w.log, (std::vector<std::string>{"select key " + std::to_string(Qt::Key_Escape),
                                             "select key " + std::to_string(Qt::Key_A),
                                             "other key " + std::to_string(Qt::Key_B),
                                             "other down (15, 7)"}));
}

TEST(ToolCursors, EachToolShowsItsCursorOverWhatItCanUse) {
  Window w;
  TShem& d = w.doc.Diagram;
  TShemObj* a = AddBlock(d, bkSquare, {10, 10, 90, 30});
  TShemObj* b = AddBlock(d, bkSquare, {10, 100, 90, 120});
  TShemObj* ab = AddLink(d, a, b, {32767, 65535}, {32767, 0});  // (50, 30) to (50, 100)
  AddPoint(d, {150, 80});
  auto idle = [&w](int x, int y) { w.doc.FormMouseMove(Qt::NoButton, Qt::NoModifier, x, y); };
  TEditorState& s = w.host.state;

  // Select: nothing selected, nothing to show; then a selected block's handle,
  // its inside, and a selected link's end.
  idle(100, 40);
  EXPECT_TRUE(w.Shows(TCursor::Default));
  w.doc.Selection.Add(a);
  w.doc.Selection.Add(ab);
  idle(180, 60);  // bottom-right handle at (90, 30)
  EXPECT_TRUE(w.Shows(TCursor::SizeNWSE));
  idle(60, 40);
  EXPECT_TRUE(w.Shows(TCursor::Move));
  idle(100, 198);  // the link's target end at (50, 100)
  EXPECT_TRUE(w.Shows(TCursor::Link));
  idle(300, 240);
  EXPECT_TRUE(w.Shows(TCursor::Default));

  s.CurrentTool = TTool::EditText;
  idle(60, 220);
  EXPECT_EQ(w.doc.cursor().shape(), Qt::IBeamCursor);
  idle(300, 240);
  EXPECT_EQ(w.doc.cursor().shape(), Qt::ArrowCursor);

  s.CurrentTool = TTool::CreateLink;
  idle(60, 20);  // on a's top edge
  EXPECT_TRUE(w.Shows(TCursor::Link));

  s.CurrentTool = TTool::LinkPoints;
  idle(100, 130);  // on the link
  EXPECT_TRUE(w.Shows(TCursor::CornerPlus));
  idle(300, 160);  // on the Point: add mode does nothing with it
  EXPECT_TRUE(w.Shows(TCursor::Default));
  s.LinkPointsPicture = 12;
  idle(300, 160);
  EXPECT_TRUE(w.Shows(TCursor::CornerMinus));
  EXPECT_FALSE(static_cast<TLinkPointsTool&>(w.doc.Tool(TTool::LinkPoints)).AddsPoints());

  s.CurrentTool = TTool::MoveDocument;
  idle(300, 240);
  EXPECT_TRUE(w.Shows(TCursor::Hand));
  idle(500, 100);  // outside the window: the arrow
  EXPECT_TRUE(w.Shows(TCursor::Default));

  s.CurrentTool = TTool::CreateBlock;
  idle(60, 40);
  EXPECT_TRUE(w.Shows(TCursor::Default));
}

TEST(ToolCursors, HandlesClockwiseFromTheTopAlternateFourSizingCursors) {
  const TCursor expected[] = {TCursor::SizeNS,   TCursor::SizeNESW, TCursor::SizeWE,
                              TCursor::SizeNWSE, TCursor::SizeNS,   TCursor::SizeNESW,
                              TCursor::SizeWE,   TCursor::SizeNWSE};
  for (int h = 1; h <= 8; ++h) EXPECT_EQ(TSelectTool::HandleCursor(h), expected[h - 1]) << h;
  EXPECT_EQ(TSelectTool::HandleCursor(0), TCursor::Default);
}

TEST(ToolChoice, ButtonTagsChooseToolAndKind) {
  TEditorState s;
  EXPECT_EQ(s.CurrentTool, TTool::Select);
  s.ChooseToolByTag(3);
  EXPECT_EQ(s.CurrentTool, TTool::CreateLink);
  EXPECT_EQ(s.NewBlockKind, 0);
  s.ChooseToolByTag(12);  // "Create document"
  EXPECT_EQ(s.CurrentTool, TTool::CreateBlock);
  EXPECT_EQ(s.NewBlockKind, 7);
  s.ChooseToolByTag(4);  // the kind stays for the next create-block tool
  EXPECT_EQ(s.CurrentTool, TTool::MoveDocument);
  EXPECT_EQ(s.NewBlockKind, 7);
  s.ChooseToolByTag(22);  // the third user block
  EXPECT_EQ(s.CurrentTool, TTool::CreateBlock);
  EXPECT_EQ(s.NewBlockKind, 17);
  s.ChooseToolByTag(-1);
  EXPECT_EQ(s.CurrentTool, TTool::CreateBlock);

  s.LinkToolPicture = 10;
  TTestHost host;
  TChildD doc(&host);
  host.state.LinkToolPicture = 10;
  EXPECT_EQ(static_cast<TLinkTool&>(doc.Tool(TTool::CreateLink)).NewLinkType(), 3);
}
