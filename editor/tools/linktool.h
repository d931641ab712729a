#pragma once
// The create-link tool: a drag from near one object's outline to another's
// joins them with a new link.

#include "editor/tools/editortool.h"

class TLinkTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::CreateLink; }
  void IdleMove(const TMouseInput& in) override;
  // The LinkType of new links, 0 to 3, from the picture of the tool's button.
  uint8_t NewLinkType() const;
};
