#pragma once
// The create-block tool: a rubber rectangle dragged on empty space becomes a
// new block of the chosen kind.

#include "editor/tools/editortool.h"

class TCreateBlockTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::CreateBlock; }
  // The kind that a new block gets (NewBlockKind of the shared state).
  uint8_t BlockKind() const;
};
