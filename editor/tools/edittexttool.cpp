#include "editor/tools/edittexttool.h"

#include "editor/childd.h"

void TEditTextTool::MouseDown(const TMouseInput& in) {
  TChildD& v = View();
  TShemObj* obj = v.Diagram.ObjectAt(in.At);
  if (obj && obj->IsBlock())
    v.BeginTextEdit(obj);
  else
    v.SwitchToSelect();
}

void TEditTextTool::IdleMove(const TMouseInput& in) {
  const TShemObj* obj = View().Diagram.ObjectAt(in.At);
  if (obj && obj->IsBlock()) View().ShowTextCursor();
}
