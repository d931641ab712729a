#include "editor/tools/linkpointstool.h"

#include "editor/childd.h"
#include "editor/cursors.h"
#include "model/shapes.h"

namespace {
int32_t ClampPos(int32_t v) { return Max(0, Min(v, PosMax)); }

// The ends of link that are attached to obj.
bool SourceAt(const TShemObj* link, const TShemObj* obj) {
  return link->AsLink()->Data.Source.Get() == obj;
}
bool TargetAt(const TShemObj* link, const TShemObj* obj) {
  return link->AsLink()->Data.Target.Get() == obj;
}

// Moves every end that hangs on from over to onto, its position along from
// (running away from the joint when `reversed`) mapped to half of onto.
void MoveHangingEnds(TShem& d, TShemObj* from, TShemObj* onto, bool reversed, int32_t offset) {
  const auto map = [&](TPoint q) -> TPoint {
    const int32_t x = reversed ? PosMax - ClampPos(q.X) : ClampPos(q.X);
    return {Round(x * 0.5) + offset, Round(q.Y * 0.5) + offset};
  };
  for (TShemObj* m : d.LinksOf(from)) {
    Link& l = m->AsLink()->Data;
    if (l.Source.Get() == from) {
      l.Source = onto;
      l.SourcePos = map(l.SourcePos);
    }
    if (l.Target.Get() == from) {
      l.Target = onto;
      l.TargetPos = map(l.TargetPos);
    }
  }
}
}  // namespace

TShemObj* SplitLinkAt(TShem& d, TShemObj* link, TPoint p) {
  Link& l = link->AsLink()->Data;
  const TPoint a = d.SourcePoint(link), b = d.TargetPoint(link);
  // How far along the link p lies. Only X counts on a link; a split at the
  // very end (or on a link of no length) is kept one step inside so that both
  // halves have room and the rescaling below never divides by zero.
  const int32_t f = Max(1, Min(AttachmentPosition(p, a, b, true).X, PosMax - 1));
  const std::vector<TShemObj*> hanging = d.LinksOf(link);

  d.Insert(0, TBlock::NewPoint(p));
  TShemObj* point = d.GetObj(0);
  auto first = std::make_unique<TLink>();
  first->Data.LinkType = l.LinkType;
  first->Data.Source = l.Source.Get();
  first->Data.SourcePos = l.SourcePos;
  first->Data.Target = point;
  first->Data.TargetPos = PosCentre;
  TShemObj* n = d.GetObj(d.Add(std::move(first)));
  l.Source = point;
  l.SourcePos = PosCentre;

  const auto rescale = [&](LinkEndRef& end, TPoint& q) {
    const int32_t x = ClampPos(q.X);
    if (x <= f) {
      end = n;
      q.X = Round(double(x) * PosMax / f);
    } else {
      q.X = Round(double(x - f) * PosMax / (PosMax - f));
    }
  };
  for (TShemObj* m : hanging) {
    Link& ml = m->AsLink()->Data;
    if (ml.Source.Get() == link) rescale(ml.Source, ml.SourcePos);
    if (ml.Target.Get() == link) rescale(ml.Target, ml.TargetPos);
  }
  return point;
}

void JoinLinksAt(TShem& d, TShemObj* point) {
  TShemObj* first = d.NextLinkObjTo(nullptr, point);
  TShemObj* second = first ? d.NextLinkObjTo(first, point) : nullptr;
  // Each of the two must leave the point through its other end.
  const auto through = [&](const TShemObj* k) {
    return k && SourceAt(k, point) != TargetAt(k, point);
  };
  if (!through(first) || !through(second) || first == second) {
    d.Remove(point);
    return;
  }
  Link& fl = first->AsLink()->Data;
  Link& sl = second->AsLink()->Data;
  const bool firstFromPoint = SourceAt(first, point);
  const bool secondFromPoint = SourceAt(second, point);
  TShemObj* from = firstFromPoint ? fl.Target.Get() : fl.Source.Get();
  TShemObj* to = secondFromPoint ? sl.Target.Get() : sl.Source.Get();
  // An outer end that hangs on one of the two links would end up hanging on
  // the joined link that ends on it: such a point stays.
  if (d.WouldCycle(first, to) || d.WouldCycle(second, to) || d.WouldCycle(first, from) ||
      d.WouldCycle(second, from))
    return;

  auto joined = std::make_unique<TLink>();
  joined->Data.SourcePos = firstFromPoint ? fl.TargetPos : fl.SourcePos;
  joined->Data.TargetPos = secondFromPoint ? sl.TargetPos : sl.SourcePos;
  joined->Data.Source = from;
  joined->Data.Target = to;
  TShemObj* n = d.GetObj(d.Add(std::move(joined)));
  if (firstFromPoint)
    fl.Target = nullptr;
  else
    fl.Source = nullptr;
  if (secondFromPoint)
    sl.Target = nullptr;
  else
    sl.Source = nullptr;
  // The first link becomes the joined link's first half, the second its
  // other half; positions along them are counted from their own sources.
  MoveHangingEnds(d, first, n, firstFromPoint, 0);
  MoveHangingEnds(d, second, n, !secondFromPoint, 32766);
  d.Remove(point);  // takes the two old links with it
}

bool TLinkPointsTool::AddsPoints() const { return View().State().LinkPointsPicture == 11; }

void TLinkPointsTool::MouseDown(const TMouseInput& in) {
  TChildD& v = View();
  TShemObj* obj = v.Diagram.ObjectAt(in.At);
  if (!obj) return;
  if (AddsPoints()) {
    if (!obj->IsLink()) return;
    v.SaveUndo();
    TShemObj* point = SplitLinkAt(v.Diagram, obj, in.At);
    v.Modified = true;
    v.Selection.Assign({point});
  } else {
    if (!obj->IsPointBlock()) return;
    // A lone point goes without a snapshot; joining links can be undone.
    if (v.Diagram.NextLinkObjTo(nullptr, obj)) v.SaveUndo();
    JoinLinksAt(v.Diagram, obj);
    v.Modified = true;
  }
  v.FillListView();
  v.Redraw();
}

void TLinkPointsTool::IdleMove(const TMouseInput& in) {
  const TShemObj* obj = View().Diagram.ObjectAt(in.At);
  if (!obj) return;
  if (AddsPoints() && obj->IsLink())
    View().setCursor(AppCursor(TCursor::CornerPlus));
  else if (!AddsPoints() && obj->IsPointBlock())
    View().setCursor(AppCursor(TCursor::CornerMinus));
}
