#include "editor/tools/createblocktool.h"

#include <cstdlib>

#include "editor/childd.h"
#include "editor/selectionops.h"

uint8_t TCreateBlockTool::BlockKind() const { return View().State().NewBlockKind; }

void TCreateBlockTool::MouseDown(const TMouseInput& in) {
  TChildD& v = View();
  if (v.Diagram.ObjectAt(in.At)) return;
  v.MouseState = TMouseState::CreatingBlock;
  v.DragStart = v.DragCurrent = in.Pixel;
  v.ShowStatus(0, v.ScreenToDiagram(v.DragStart));
}

void TCreateBlockTool::Track(const TMouseInput& in) {
  TChildD& v = View();
  v.DragCurrent = in.Pixel;
  if (in.Shift.testFlag(Qt::ShiftModifier)) {
    // Both sides take the smaller of the two signed extents.
    const int32_t m = Min(in.Pixel.X - v.DragStart.X, in.Pixel.Y - v.DragStart.Y);
    v.DragCurrent = PointAdd(v.DragStart, {m, m});
  }
}

void TCreateBlockTool::DragMove(const TMouseInput& in) {
  TChildD& v = View();
  Track(in);
  TDragFeedback f;
  f.AddRect(v.DragStart, v.DragCurrent);
  v.SetFeedback(std::move(f));
  v.ShowStatus(1, PointSub(v.DragCurrent, v.DragStart));
}

void TCreateBlockTool::MouseUp(const TMouseInput& in) {
  TChildD& v = View();
  v.Modified = true;
  v.ClearFeedback();
  Track(in);
  // More than 10 by 5 diagram units; equal does not count.
  if (std::abs(v.DragCurrent.X - v.DragStart.X) <= 10 * v.Scale ||
      std::abs(v.DragCurrent.Y - v.DragStart.Y) <= 5 * v.Scale)
    return;
  v.SaveUndo();
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = BlockKind();
  TRect r = v.ScreenRectToDiagram(v.DragStart, v.DragCurrent);
  // A drag that runs past the window's edge may reach beyond the diagram's range.
  r = {Max(r.Left, 0), Max(r.Top, 0), Min(r.Right, DiagramMax), Min(r.Bottom, DiagramMax)};
  b->Data.SetRect(r);
  TShemObj* block = v.Diagram.GetObj(v.Diagram.Add(std::move(b)));
  v.Selection.Assign({block});
  v.EditedBlock = block;
  v.Redraw();
  v.BeginTextEdit(block);
  v.SwitchToSelect();
}

void TCreateBlockTool::CancelDrag() { View().ClearFeedback(); }
