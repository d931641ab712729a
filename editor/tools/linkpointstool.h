#pragma once
// The link-points tool: in add mode a press on a link bends it through a new
// link point; in delete mode a press on a link point takes it out again.

#include "editor/tools/editortool.h"

class TShem;
class TShemObj;

// Splits link at the diagram point p: a new Point block at p (first in the
// list, drawn below everything) takes the link's source end, and a new link
// of the same type runs from the old source to it. Links hanging on the
// link move to the half they lie on, their positions rescaled along it.
// Returns the Point block.
TShemObj* SplitLinkAt(TShem& diagram, TShemObj* link, TPoint p);
// Joins the first two links at the Point block point into one plain link
// between their outer ends and removes the point. A point with fewer than
// two links through it is removed with what hangs on it; one whose outer
// ends hang on the two links themselves stays as it is.
void JoinLinksAt(TShem& diagram, TShemObj* point);

class TLinkPointsTool : public TEditorTool {
 public:
  using TEditorTool::TEditorTool;
  TTool Kind() const override { return TTool::LinkPoints; }
  void MouseDown(const TMouseInput& in) override;
  void IdleMove(const TMouseInput& in) override;
  // Add mode (picture 11 on the tool's button), else delete mode.
  bool AddsPoints() const;
};
