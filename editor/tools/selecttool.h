#pragma once
// The select tool: selecting objects, moving the selection, resizing a block
// by its handles and moving the end of a selected link.

#include "editor/cursors.h"
#include "editor/tools/editortool.h"

class TSelectTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::Select; }
  void IdleMove(const TMouseInput& in) override;

  // The cursor of a resize handle 1 (top) to 8 (top-left), clockwise.
  static TCursor HandleCursor(int handle);
};
