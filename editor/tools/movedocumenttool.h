#pragma once
// The move-document tool: the document follows the mouse while the button is
// held, one diagram unit per pixel whatever the scale; the grid is hidden
// meanwhile.

#include "editor/tools/editortool.h"

class TMoveDocumentTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::MoveDocument; }
  void MouseDown(const TMouseInput& in) override;
  void IdleMove(const TMouseInput& in) override;
  void DragMove(const TMouseInput& in) override;
  void MouseUp(const TMouseInput& in) override;
  void CancelDrag() override;
};
