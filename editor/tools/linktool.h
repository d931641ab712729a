#pragma once
// The create-link tool: a drag from near one object's outline to another's
// joins them with a new link.

#include "editor/tools/editortool.h"
#include "editor/tools/linkdrag.h"

class TLinkTool : public TEditorTool {
 public:
  explicit TLinkTool(TChildD& view) : TEditorTool(view), drag_(view) {}
  TTool Kind() const override { return TTool::CreateLink; }
  void MouseDown(const TMouseInput& in) override { drag_.BeginDrawing(in); }
  void IdleMove(const TMouseInput& in) override;
  void DragMove(const TMouseInput& in) override { drag_.Move(in); }
  void MouseUp(const TMouseInput& in) override { drag_.FinishDrawing(in, NewLinkType()); }
  void CancelDrag() override { drag_.Cancel(); }
  // The LinkType of new links, 0 to 3, from the picture of the tool's button.
  uint8_t NewLinkType() const;
  // The object where the link being drawn starts.
  TShemObj* LinkStart() const { return drag_.LinkStart(); }

 private:
  TLinkDrag drag_;
};
