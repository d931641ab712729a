#pragma once
// The create-block tool: a rubber rectangle dragged on empty space becomes a
// new block of the chosen kind when it is larger than 10 by 5 diagram units;
// Shift makes it a square.

#include "editor/tools/editortool.h"

class TCreateBlockTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::CreateBlock; }
  void MouseDown(const TMouseInput& in) override;
  void DragMove(const TMouseInput& in) override;
  void MouseUp(const TMouseInput& in) override;
  void CancelDrag() override;
  // The kind that a new block gets (NewBlockKind of the shared state).
  uint8_t BlockKind() const;

 private:
  // DragCurrent := the pointer, squared with Shift.
  void Track(const TMouseInput& in);
};
