#pragma once
// The select tool: selecting objects (by press, Shift-press and rubber band,
// the band scrolling the view at the window's edges), moving the selected
// blocks, resizing a selected block by its handles, and moving the end of a
// selected link to another object.

#include "editor/cursors.h"
#include "editor/objectwatch.h"
#include "editor/tools/editortool.h"
#include "editor/tools/linkdrag.h"

class TSelectTool : public TEditorTool {
 public:
  explicit TSelectTool(TChildD& view);
  TTool Kind() const override { return TTool::Select; }
  void MouseDown(const TMouseInput& in) override;
  void IdleMove(const TMouseInput& in) override;
  void DragMove(const TMouseInput& in) override;
  void MouseUp(const TMouseInput& in) override;
  void CancelDrag() override;

  // The cursor of a resize handle 1 (top) to 8 (top-left), clockwise.
  static TCursor HandleCursor(int handle);
  // The block whose handle is dragged, and the handle (1..8).
  TShemObj* ResizedBlock() const { return resized_.Get(); }
  int ResizeHandle() const { return handle_; }
  // The link whose end is being moved, and whether it is the source end.
  TShemObj* MovedLink() const { return linkDrag_.MovedLink(); }
  bool MovedLinkEnd() const { return linkDrag_.MovedLinkEnd(); }

 private:
  // The state a press on p leads to; updates the selection on the way.
  TMouseState Press(const TMouseInput& in);
  void ScrollAtEdges(const TMouseInput& in);
  // The outline of the selected blocks shifted by the drag so far, in pixels.
  void ShowMoveFeedback();
  void ShowRectFeedback(TPoint a, TPoint b);
  void Resize(TPoint p);
  void SelectInBand(const TMouseInput& in);
  void MoveSelection(const TMouseInput& in);

  TWatchedObject resized_;
  int handle_ = 0;
  TRect resizedFrom_;  // the block's rectangle at the press
  TRect movedBounds_;  // the selected blocks' bounds at the press
  TLinkDrag linkDrag_;
  TShemObj* grabbedLink_ = nullptr;  // from Press to MouseDown only
  bool grabbedSource_ = false;
};
