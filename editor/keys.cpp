// TChildD: the window's keys, the keys of the in-place editor and the double
// click.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextEdit>

#include "editor/childd.h"
#include "editor/documenthost.h"
#include "editor/selectionops.h"

namespace {
constexpr int PageStep = 20;

TPoint ArrowStep(int key) {
  switch (key) {
    case Qt::Key_Left:
      return {-1, 0};
    case Qt::Key_Up:
      return {0, -1};
    case Qt::Key_Right:
      return {1, 0};
    case Qt::Key_Down:
      return {0, 1};
    default:
      return {0, 0};
  }
}

bool InRange(TPoint p) { return p.X >= 0 && p.X <= DiagramMax && p.Y >= 0 && p.Y <= DiagramMax; }

// The diagram point of the far end of link, the end that is not at point.
TPoint FarEnd(const TShem& d, const TShemObj* link, const TShemObj* point) {
  return link->AsLink()->Data.Source.Get() == point ? d.TargetPoint(link) : d.SourcePoint(link);
}
}  // namespace

bool TChildD::Memo1KeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key == Qt::Key_Escape) {
    // There is no cancel: what was typed goes into the block.
    Memo1Exit();
    return true;
  }
  if (key == Qt::Key_C && shift.testFlag(Qt::ControlModifier)) {
    const QString sel = Memo1->textCursor().selectedText();
    // The editor marks its line breaks as paragraph separators.
    QString text = sel;
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    QApplication::clipboard()->setText(text);
    return true;
  }
  return false;
}

bool TChildD::PageKey(int key) {
  if (key == Qt::Key_PageUp) {
    if (ScrollBar2->value() < PageStep) return true;
    ScrollBar2->setValue(ScrollBar2->value() - PageStep);
  } else {
    if (ScrollBar2->value() > DiagramMax - PageStep) return true;
    ScrollBar2->setValue(ScrollBar2->value() + PageStep);  // the bar keeps its maximum
  }
  Origin.Y = ScrollBar2->value();
  Memo1Exit();
  Redraw();
  return true;
}

void TChildD::NudgeSelection(TPoint step, Qt::KeyboardModifiers shift) {
  setFocus(Qt::OtherFocusReason);
  bool changed = false;
  for (TShemObj* o : Selection) {
    TBlock* block = o->AsBlock();
    if (!block) continue;
    Block& b = block->Data;
    if (shift.testFlag(Qt::ShiftModifier) && b.Kind != bkPoint) {
      // The block keeps more than 20 by 10 units and its corner the range.
      const TPoint br = PointAdd(b.BottomRight, step);
      if (br.X - b.TopLeft.X > 20 && br.Y - b.TopLeft.Y > 10 && InRange(br)) {
        b.BottomRight = br;
        changed = true;
      }
    } else if (shift.testFlag(Qt::ControlModifier)) {
      const TPoint tl = PointAdd(b.TopLeft, step), br = PointAdd(b.BottomRight, step);
      if (InRange(tl) && InRange(br)) {
        b.TopLeft = tl;
        b.BottomRight = br;
        changed = true;
      }
    }
  }
  if (changed) {
    Modified = true;
    FillListView();
  }
  Redraw();
}

bool TChildD::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) return PageKey(key);
  const TPoint step = ArrowStep(key);
  if (step != TPoint{0, 0} && SelectedBlockCount() > 0 && !EditorShown()) {
    NudgeSelection(step, shift);
    return true;
  }
  if (key == Qt::Key_F2 && SelectedBlockCount() == 1 && !EditorShown()) {
    for (TShemObj* o : Selection)
      if (o->IsBlock()) {
        BeginTextEdit(o);
        return true;
      }
  }
  return Tool(State().CurrentTool).KeyDown(key, shift);
}

void TChildD::FormDblClick() {
  const TPoint p = ScreenToDiagram(DragStart);
  TShemObj* obj = Diagram.ObjectAt(p);
  if (!obj) return;
  if (TLink* link = obj->AsLink()) {
    // The two arrowhead bits count 0, 1, 2, 3 and round again; the rest stays.
    uint8_t& t = link->Data.LinkType;
    t = uint8_t((t & ~3) | ((t + 1) & 3));
    Redraw();
    return;
  }
  Block& b = obj->AsBlock()->Data;
  if (b.Kind == bkPoint) {
    const TShemObj* first = Diagram.NextLinkObjTo(nullptr, obj);
    const TShemObj* second = first ? Diagram.NextLinkObjTo(first, obj) : nullptr;
    if (!second) return;
    const TPoint m{Round((b.TopLeft.X + b.BottomRight.X) / 2.0),
                   Round((b.TopLeft.Y + b.BottomRight.Y) / 2.0)};
    const TPoint e1 = FarEnd(Diagram, first, obj), e2 = FarEnd(Diagram, second, obj);
    TPoint c = e1.X == m.X && e2.Y == m.Y ? TPoint{e2.X, e1.Y} : TPoint{e1.X, e2.Y};
    // The point's 2 by 2 rectangle stays inside the diagram's range.
    c = {Max(1, Min(c.X, DiagramMax - 1)), Max(1, Min(c.Y, DiagramMax - 1))};
    b.TopLeft = {c.X - 1, c.Y - 1};
    b.BottomRight = {c.X + 1, c.Y + 1};
    Redraw();
    return;
  }
  // The press that follows the double click opens the editor on the block.
  State().CurrentTool = TTool::EditText;
  if (host_) host_->ToolChanged();
}
