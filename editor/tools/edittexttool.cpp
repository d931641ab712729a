#include "editor/tools/edittexttool.h"

#include "editor/childd.h"

void TEditTextTool::IdleMove(const TMouseInput& in) {
  const TShemObj* obj = View().Diagram.ObjectAt(in.At);
  if (obj && obj->IsBlock()) View().setCursor(Qt::IBeamCursor);
}
