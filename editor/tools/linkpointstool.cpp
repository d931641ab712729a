#include "editor/tools/linkpointstool.h"

#include "editor/childd.h"
#include "editor/cursors.h"

bool TLinkPointsTool::AddsPoints() const { return View().State().LinkPointsPicture == 11; }

void TLinkPointsTool::IdleMove(const TMouseInput& in) {
  const TShemObj* obj = View().Diagram.ObjectAt(in.At);
  if (!obj) return;
  if (AddsPoints() && obj->IsLink())
    View().setCursor(AppCursor(TCursor::CornerPlus));
  else if (!AddsPoints() && obj->IsPointBlock())
    View().setCursor(AppCursor(TCursor::CornerMinus));
}
