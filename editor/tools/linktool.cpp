#include "editor/tools/linktool.h"

#include "editor/childd.h"
#include "editor/cursors.h"

void TLinkTool::IdleMove(const TMouseInput& in) {
  TShemObj* obj = nullptr;
  TPoint q;
  View().Diagram.BorderPointAt(in.At, obj, q);
  if (obj) View().setCursor(AppCursor(TCursor::Link));
}

uint8_t TLinkTool::NewLinkType() const { return uint8_t((View().State().LinkToolPicture - 7) & 3); }
