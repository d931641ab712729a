#pragma once
// The edit-text tool: a press on a block opens its text in the in-place
// editor; a press on anything else goes back to the select tool.

#include "editor/tools/editortool.h"

class TEditTextTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::EditText; }
  void MouseDown(const TMouseInput& in) override;
  void IdleMove(const TMouseInput& in) override;
};
