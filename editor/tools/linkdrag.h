#pragma once
// The line dragged from one object to another: drawing a new link with the
// create-link tool and moving one end of a selected link with the select
// tool share the press, the moves with their inverting line and cursor, and
// where a dropped end attaches.

#include "editor/objectwatch.h"
#include "editor/tools/editortool.h"

// Attachment position of the diagram point a on obj: across a block's
// rectangle, or the fraction along a link in X. Kept inside 0..65535; an
// object of no extent in a direction gives 0 there.
TPoint AttachPositionOn(const TShem& diagram, const TShemObj* obj, TPoint a);

class TLinkDrag {
 public:
  explicit TLinkDrag(TChildD& view);

  // The create-link tool's press: true when p lies near an object's outline.
  bool BeginDrawing(const TMouseInput& in);
  // The select tool's press on an end of the selected link.
  void BeginMoving(TShemObj* link, bool sourceEnd, const TMouseInput& in);
  void Move(const TMouseInput& in);
  // The releases; both ignore a drop on nothing or on a refused object.
  void FinishDrawing(const TMouseInput& in, uint8_t linkType);
  void FinishMoving(const TMouseInput& in);
  void Cancel();

  // Where the link starts (DrawingLink) or the object at the end that stays
  // (MovingLinkEnd); the link whose end moves, and whether it is the source.
  TShemObj* LinkStart() const { return start_.Get(); }
  TShemObj* MovedLink() const { return moved_.Get(); }
  bool MovedLinkEnd() const { return movedSource_; }

 private:
  // The object near p's outline and the point there; Ctrl takes a block's
  // nearest connection point instead.
  TShemObj* Target(const TMouseInput& in, TPoint& a) const;
  void ShowLine();

  TChildD& view_;
  TWatchedObject start_;
  TWatchedObject moved_;
  bool movedSource_ = false;
};
