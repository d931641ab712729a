#pragma once
// The move-document tool: the document follows the mouse while the button is
// held, one diagram unit per pixel whatever the scale.

#include "editor/tools/editortool.h"

class TMoveDocumentTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::MoveDocument; }
  void IdleMove(const TMouseInput& in) override;
};
