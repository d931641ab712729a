#include "editor/tools/linkdrag.h"

#include "editor/childd.h"
#include "model/shapes.h"

namespace {
bool HasCtrl(const TMouseInput& in) { return in.Shift.testFlag(Qt::ControlModifier); }
int32_t ClampPos(int32_t v) { return Max(0, Min(v, PosMax)); }
}  // namespace

TPoint AttachPositionOn(const TShem& diagram, const TShemObj* obj, TPoint a) {
  const TPoint from = diagram.LinkEndPoint({0, 0}, obj);
  const TPoint to = diagram.LinkEndPoint({PosMax, PosMax}, obj);
  // A point just outside a block's outline, or beyond a link's end, would
  // land outside the range that attachment positions use.
  const TPoint pos = AttachmentPosition(a, from, to, obj->IsLink());
  return {ClampPos(pos.X), ClampPos(pos.Y)};
}

TLinkDrag::TLinkDrag(TChildD& view) : view_(view), start_(view.Diagram), moved_(view.Diagram) {}

TShemObj* TLinkDrag::Target(const TMouseInput& in, TPoint& a) const {
  TShemObj* obj = nullptr;
  view_.Diagram.BorderPointAt(in.At, obj, a);
  if (obj && obj->IsBlock() && HasCtrl(in)) a = NearestConnectionPoint(obj->AsBlock()->Data, a);
  return obj;
}

bool TLinkDrag::BeginDrawing(const TMouseInput& in) {
  TPoint a;
  TShemObj* obj = Target(in, a);
  if (!obj) return false;
  start_.Set(obj);
  moved_.Set(nullptr);
  view_.MouseState = TMouseState::DrawingLink;
  view_.DragStart = view_.DragCurrent = view_.DiagramToScreen(a);
  view_.ShowStatus(0, a);
  return true;
}

void TLinkDrag::BeginMoving(TShemObj* link, bool sourceEnd, const TMouseInput& in) {
  const Link& l = link->AsLink()->Data;
  moved_.Set(link);
  movedSource_ = sourceEnd;
  start_.Set(sourceEnd ? l.Target.Get() : l.Source.Get());
  view_.MouseState = TMouseState::MovingLinkEnd;
  view_.ShowCursor(TCursor::Link);
  const TPoint stays =
      sourceEnd ? view_.Diagram.TargetPoint(link) : view_.Diagram.SourcePoint(link);
  view_.DragStart = view_.DiagramToScreen(stays);
  view_.DragCurrent = in.Pixel;
  ShowLine();
}

void TLinkDrag::ShowLine() {
  TDragFeedback f;
  f.AddLine(view_.DragStart, view_.DragCurrent);
  view_.SetFeedback(std::move(f));
}

void TLinkDrag::Move(const TMouseInput& in) {
  view_.DragCurrent = in.Pixel;
  ShowLine();
  view_.ShowStatus(1, PointSub(view_.DragCurrent, view_.DragStart));
  TShemObj* obj = nullptr;
  TPoint a;
  view_.Diagram.BorderPointAt(in.At, obj, a);
  view_.ShowCursor(obj && obj != start_.Get() ? TCursor::BlockLink : TCursor::Link);
}

void TLinkDrag::FinishDrawing(const TMouseInput& in, uint8_t linkType) {
  view_.ShowCursor(TCursor::Default);
  view_.ClearFeedback();
  TShemObj* from = start_.Get();
  start_.Set(nullptr);
  TPoint a;
  TShemObj* to = Target(in, a);
  // The start object may have gone while the button was down.
  if (!to || !from || to == from) return;
  view_.Modified = true;
  view_.SaveUndo();
  TShem& d = view_.Diagram;
  auto link = std::make_unique<TLink>();
  link->Data.LinkType = linkType;
  link->Data.SourcePos = AttachPositionOn(d, from, view_.ScreenToDiagram(view_.DragStart));
  link->Data.TargetPos = AttachPositionOn(d, to, a);
  link->Data.Source = from;
  link->Data.Target = to;
  TShemObj* added = d.GetObj(d.Add(std::move(link)));
  view_.Selection.Assign({added});
  view_.Redraw();
}

void TLinkDrag::FinishMoving(const TMouseInput& in) {
  view_.ShowCursor(TCursor::Default);
  view_.ClearFeedback();
  TShemObj* link = moved_.Get();
  TShemObj* stays = start_.Get();
  moved_.Set(nullptr);
  start_.Set(nullptr);
  TPoint a;
  TShemObj* to = Target(in, a);
  // A link may not end on the object at its other end, on itself, or on a
  // link that hangs on it (that would attach it to itself).
  if (link && to && to != stays && to != link && !view_.Diagram.WouldCycle(link, to)) {
    view_.Modified = true;
    view_.SaveUndo();
    Link& l = link->AsLink()->Data;
    const TPoint pos = AttachPositionOn(view_.Diagram, to, a);
    if (movedSource_) {
      l.Source = to;
      l.SourcePos = pos;
    } else {
      l.Target = to;
      l.TargetPos = pos;
    }
  }
  view_.Redraw();
}

void TLinkDrag::Cancel() {
  view_.ClearFeedback();
  start_.Set(nullptr);
  moved_.Set(nullptr);
}
