#include "editor/tools/selecttool.h"

#include "editor/childd.h"

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
    view.setCursor(AppCursor(HandleCursor(handle)));
    return;
  }
  obj = diagram.ObjectAt(in.At);
  if (obj && obj->IsBlock() && view.Selection.Contains(obj)) {
    view.setCursor(AppCursor(TCursor::Move));
    return;
  }
  bool isSource = false;
  obj = nullptr;
  diagram.LinkEndAt(in.At, obj, isSource);
  if (obj && view.Selection.Contains(obj)) view.setCursor(AppCursor(TCursor::Link));
}
