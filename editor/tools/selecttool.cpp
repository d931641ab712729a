#include "editor/tools/selecttool.h"

#include <QScrollBar>

#include "editor/childd.h"
#include "editor/selectionops.h"

namespace {
bool HasShift(const TMouseInput& in) { return in.Shift.testFlag(Qt::ShiftModifier); }
}  // namespace

TSelectTool::TSelectTool(TChildD& view)
    : TEditorTool(view), resized_(view.Diagram), linkDrag_(view) {}

TCursor TSelectTool::HandleCursor(int handle) {
  static const TCursor kByHandle[4] = {TCursor::SizeNS, TCursor::SizeNESW, TCursor::SizeWE,
                                       TCursor::SizeNWSE};
  return handle >= 1 && handle <= 8 ? kByHandle[(handle - 1) % 4] : TCursor::Default;
}

void TSelectTool::IdleMove(const TMouseInput& in) {
  TChildD& view = View();
  const TShem& diagram = view.Diagram;
  TShemObj* obj = nullptr;
  int handle = 0;
  diagram.HandleAt(in.At, obj, handle);
  if (obj && view.Selection.Contains(obj)) {
    view.ShowCursor(HandleCursor(handle));
    return;
  }
  obj = diagram.ObjectAt(in.At);
  if (obj && obj->IsBlock() && view.Selection.Contains(obj)) {
    view.ShowCursor(TCursor::Move);
    return;
  }
  bool isSource = false;
  obj = nullptr;
  diagram.LinkEndAt(in.At, obj, isSource);
  if (obj && view.Selection.Contains(obj)) view.ShowCursor(TCursor::Link);
}

TMouseState TSelectTool::Press(const TMouseInput& in) {
  TChildD& v = View();
  TShem& d = v.Diagram;
  TShemObj* obj = nullptr;
  int handle = 0;
  d.HandleAt(in.At, obj, handle);
  if (obj && v.Selection.Contains(obj)) {
    resized_.Set(obj);
    handle_ = handle;
    return TMouseState::Resizing;
  }
  bool isSource = false;
  obj = nullptr;
  d.LinkEndAt(in.At, obj, isSource);
  if (obj && v.Selection.Contains(obj)) {
    grabbedLink_ = obj;
    grabbedSource_ = isSource;
    return TMouseState::MovingLinkEnd;
  }
  if (TShemObj* o = d.ObjectAt(in.At)) {
    if (!v.Selection.Contains(o)) {
      if (!HasShift(in)) v.Selection.Clear();
      v.Selection.Add(o);
    } else if (HasShift(in)) {
      v.Selection.Remove(o);
    }
    // Without Shift a press on a selected object keeps the selection: all of
    // it is about to be dragged. Links alone do not move.
    const TMouseState next =
        v.SelectedBlockCount() > 0 ? TMouseState::MovingSelection : TMouseState::Idle;
    v.Redraw();
    return next;
  }
  if (!HasShift(in)) {
    v.Selection.Clear();
    v.Redraw();
  }
  return TMouseState::RubberBand;
}

void TSelectTool::MouseDown(const TMouseInput& in) {
  TChildD& v = View();
  v.MouseState = Press(in);
  switch (v.MouseState) {
    case TMouseState::RubberBand:
      v.DragStart = v.DragCurrent = in.Pixel;
      v.ShowStatus(0, v.ScreenToDiagram(v.DragStart));
      break;
    case TMouseState::MovingSelection:
      v.DragStart = v.DragCurrent = in.Pixel;
      movedBounds_ = v.SelectionBounds();
      ShowMoveFeedback();
      break;
    case TMouseState::Resizing: {
      v.SaveUndo();
      v.ShowCursor(HandleCursor(handle_));
      v.DragStart = v.DragCurrent = in.Pixel;
      const Block& b = resized_.Get()->AsBlock()->Data;
      resizedFrom_ = b.Rect();
      ShowRectFeedback(v.DiagramToScreen(b.TopLeft), v.DiagramToScreen(b.BottomRight));
      break;
    }
    case TMouseState::MovingLinkEnd:
      linkDrag_.BeginMoving(grabbedLink_, grabbedSource_, in);
      grabbedLink_ = nullptr;
      break;
    default:
      break;
  }
}

void TSelectTool::DragMove(const TMouseInput& in) {
  TChildD& v = View();
  switch (v.MouseState) {
    case TMouseState::RubberBand:
      v.DragCurrent = in.Pixel;
      ScrollAtEdges(in);
      ShowRectFeedback(v.DragStart, v.DragCurrent);
      v.ShowStatus(1, PointSub(v.DragCurrent, v.DragStart));
      break;
    case TMouseState::MovingSelection:
      v.DragCurrent = in.Pixel;
      ShowMoveFeedback();
      break;
    case TMouseState::Resizing:
      Resize(in.At);
      v.DragStart = in.Pixel;
      break;
    case TMouseState::MovingLinkEnd:
      linkDrag_.Move(in);
      break;
    default:
      break;
  }
}

void TSelectTool::MouseUp(const TMouseInput& in) {
  TChildD& v = View();
  switch (v.MouseState) {
    case TMouseState::RubberBand:
      v.ClearFeedback();
      SelectInBand(in);
      break;
    case TMouseState::MovingSelection:
      v.Modified = true;
      v.ClearFeedback();
      MoveSelection(in);
      break;
    case TMouseState::Resizing:
      // The block changed during the moves; the snapshot was taken at the press.
      v.Modified = true;
      v.ClearFeedback();
      resized_.Set(nullptr);
      v.FillListView();
      v.Redraw();
      break;
    case TMouseState::MovingLinkEnd:
      linkDrag_.FinishMoving(in);
      break;
    default:
      break;
  }
}

void TSelectTool::CancelDrag() {
  TChildD& v = View();
  v.ClearFeedback();
  // A resize that is broken off gives the block its rectangle back.
  if (TShemObj* o = resized_.Get()) {
    o->AsBlock()->Data.SetRect(resizedFrom_);
    resized_.Set(nullptr);
    v.Redraw();
  }
  linkDrag_.Cancel();
}

void TSelectTool::ScrollAtEdges(const TMouseInput& in) {
  // One diagram unit per move while the pointer is at an edge; the scroll bar
  // moves the origin and redraws the view. The band's start stays on the
  // same pixel of the diagram only at scale 1: it moves by one pixel.
  TChildD& v = View();
  QScrollBar* horz = v.ScrollBar1;
  QScrollBar* vert = v.ScrollBar2;
  const int x = in.Pixel.X, y = in.Pixel.Y;
  if (y < 1 && vert->value() > vert->minimum()) {
    vert->setValue(vert->value() - 1);
    v.DragStart.Y += 1;
  }
  if (y >= v.height() - 10 && vert->value() < vert->maximum()) {
    vert->setValue(vert->value() + 1);
    v.DragStart.Y -= 1;
  }
  if (x < 1 && horz->value() > horz->minimum()) {
    horz->setValue(horz->value() - 1);
    v.DragStart.X += 1;
  }
  if (x >= v.width() - 10 && horz->value() < horz->maximum()) {
    horz->setValue(horz->value() + 1);
    v.DragStart.X -= 1;
  }
}

void TSelectTool::ShowRectFeedback(TPoint a, TPoint b) {
  TDragFeedback f;
  f.AddRect(a, b);
  View().SetFeedback(std::move(f));
}

void TSelectTool::ShowMoveFeedback() {
  TChildD& v = View();
  // The outline stops where the blocks would leave the diagram's range.
  const TPoint shift = ClampShift(movedBounds_, PointSub(v.DragCurrent, v.DragStart), v.Scale);
  ShowRectFeedback(PointAdd(v.DiagramToScreen(movedBounds_.TopLeft()), shift),
                   PointAdd(v.DiagramToScreen(movedBounds_.BottomRight()), shift));
}

void TSelectTool::Resize(TPoint p) {
  TShemObj* o = resized_.Get();
  if (!o) return;
  Block& b = o->AsBlock()->Data;
  const int h = handle_;
  // The range clamps first and the minimum size of 20 by 10 wins; a block
  // already smaller than that near the range's end is kept inside the range.
  if (h == 1 || h == 2 || h == 8) {
    int32_t y = Max(p.Y, 0);
    if (b.BottomRight.Y - y < 10) y = b.BottomRight.Y - 10;
    b.TopLeft.Y = Max(y, 0);
  }
  if (h == 4 || h == 5 || h == 6) {
    int32_t y = Min(p.Y, DiagramMax);
    if (y - b.TopLeft.Y < 10) y = b.TopLeft.Y + 10;
    b.BottomRight.Y = Min(y, DiagramMax);
  }
  if (h == 2 || h == 3 || h == 4) {
    int32_t x = Min(p.X, DiagramMax);
    if (x - b.TopLeft.X < 20) x = b.TopLeft.X + 20;
    b.BottomRight.X = Min(x, DiagramMax);
  }
  if (h == 6 || h == 7 || h == 8) {
    int32_t x = Max(p.X, 0);
    if (b.BottomRight.X - x < 20) x = b.BottomRight.X - 20;
    b.TopLeft.X = Max(x, 0);
  }
  const TChildD& v = View();
  ShowRectFeedback(v.DiagramToScreen(b.TopLeft), v.DiagramToScreen(b.BottomRight));
}

void TSelectTool::SelectInBand(const TMouseInput& in) {
  TChildD& v = View();
  const TShem& d = v.Diagram;
  const TRect r = v.ScreenRectToDiagram(v.DragStart, v.DragCurrent);
  if (!HasShift(in)) v.Selection.Clear();
  // The selection takes each object once; those already selected keep their place.
  for (TShemObj* o = d.NextInRect(nullptr, r); o; o = d.NextInRect(o, r)) v.Selection.Add(o);
  v.Redraw();
}

void TSelectTool::MoveSelection(const TMouseInput& in) {
  TChildD& v = View();
  // The whole group stops where its first block would leave the range.
  const TPoint want = PointSub(v.ScreenToDiagram(in.Pixel), v.ScreenToDiagram(v.DragStart));
  const TPoint delta = ClampShift(v.SelectionBounds(), want);
  if (delta != TPoint{0, 0}) {
    v.SaveUndo();
    for (TShemObj* o : v.Selection) {
      if (TBlock* b = o->AsBlock()) {
        b->Data.TopLeft = PointAdd(b->Data.TopLeft, delta);
        b->Data.BottomRight = PointAdd(b->Data.BottomRight, delta);
      }
    }
    v.FillListView();
  }
  v.Redraw();
}
