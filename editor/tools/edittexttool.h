#pragma once
// The edit-text tool: a press on a block opens its text in the in-place
// editor.

#include "editor/tools/editortool.h"

class TEditTextTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::EditText; }
  void IdleMove(const TMouseInput& in) override;
};
