#pragma once
// The link-points tool: in add mode a press on a link bends it through a new
// link point; in delete mode a press on a link point takes it out again.

#include "editor/tools/editortool.h"

class TLinkPointsTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::LinkPoints; }
  void IdleMove(const TMouseInput& in) override;
  // Add mode (picture 11 on the tool's button), else delete mode.
  bool AddsPoints() const;
};
