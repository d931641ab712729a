#include "editor/selectionops.h"

#include <algorithm>
#include <array>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "model/linkorder.h"
#include "model/shem.h"

namespace {
// A new link of d with the type and end positions of shape, joining s and t.
TShemObj* AddLinkLike(TShem& d, const Link& shape, TShemObj* s, TShemObj* t) {
  auto l = std::make_unique<TLink>();
  l->Data.LinkType = shape.LinkType;
  l->Data.SourcePos = shape.SourcePos;
  l->Data.TargetPos = shape.TargetPos;
  l->Data.Source = s;
  l->Data.Target = t;
  return d.GetObj(d.Add(std::move(l)));
}

// Attaches the source (or target) end of link to obj, at the same position.
void MoveLinkEnd(TShemObj* link, bool source, TShemObj* obj) {
  Link& l = link->AsLink()->Data;
  if (source)
    l.Source = obj;
  else
    l.Target = obj;
}

int32_t Clamp1(int32_t want, int64_t lo, int64_t hi) {
  if (lo > hi) return 0;  // wider than the range: stay where it is
  return int32_t(std::clamp<int64_t>(want, lo, hi));
}
}  // namespace

TRect BlockBounds(const std::vector<TShemObj*>& objs) {
  TRect r{DiagramMax, DiagramMax, 0, 0};
  for (const TShemObj* o : objs) {
    if (!o->IsBlock()) continue;
    const Block& b = o->AsBlock()->Data;
    r.Left = Min(r.Left, b.TopLeft.X);
    r.Top = Min(r.Top, b.TopLeft.Y);
    r.Right = Max(r.Right, b.BottomRight.X);
    r.Bottom = Max(r.Bottom, b.BottomRight.Y);
  }
  return r;
}

TPoint ClampShift(const TRect& bounds, TPoint want, int scale) {
  if (bounds.Left > bounds.Right || bounds.Top > bounds.Bottom) return want;
  // A group already partly outside the range may still move back into it.
  const int64_t s = scale;
  auto axis = [s](int32_t want, int32_t lo, int32_t hi) {
    const int64_t min = std::min<int64_t>(-s * lo, 0),
                  max = std::max<int64_t>(s * (DiagramMax - hi), 0);
    return Clamp1(want, min, max);
  };
  return {axis(want.X, bounds.Left, bounds.Right), axis(want.Y, bounds.Top, bounds.Bottom)};
}

void PruneForCopy(const TShem& d, std::vector<TShemObj*>& sel) {
  std::unordered_set<const TShemObj*> in(sel.begin(), sel.end());
  auto dropPoint = [&in](const TShemObj* o) {
    if (o && o->IsPointBlock()) in.erase(o);
  };
  bool linkRemoved = true;
  while (linkRemoved) {
    linkRemoved = false;
    for (TShemObj* o : sel) {
      if (!in.count(o)) continue;
      if (const TLink* l = o->AsLink()) {
        const TShemObj* s = l->Data.Source;
        const TShemObj* t = l->Data.Target;
        if (!in.count(s)) {
          in.erase(o);
          dropPoint(t);
          linkRemoved = true;
        } else if (!in.count(t)) {
          in.erase(o);
          dropPoint(s);
          linkRemoved = true;
        }
      } else if (o->IsPointBlock()) {
        // The first two links of the Point, in list order; a missing one
        // counts as not selected.
        const TShemObj* first = d.NextLinkObjTo(nullptr, o);
        const TShemObj* second = first ? d.NextLinkObjTo(first, o) : nullptr;
        if (!in.count(first) || !in.count(second)) in.erase(o);
      }
    }
    std::erase_if(sel, [&in](const TShemObj* o) { return !in.count(o); });
  }
}

void OrderForCopy(std::vector<TShemObj*>& sel) {
  // Blocks first. Exchanging the first link that has a block after it with
  // the first block after it, over and over, keeps the blocks in order and
  // rotates the run of links each block passes: the run's first link goes to
  // its end.
  std::vector<TShemObj*> order;
  order.reserve(sel.size());
  std::deque<TShemObj*> run;
  for (TShemObj* o : sel) {
    if (o->IsLink()) {
      run.push_back(o);
    } else {
      order.push_back(o);
      if (!run.empty()) {
        run.push_back(run.front());
        run.pop_front();
      }
    }
  }
  const size_t first = order.size();
  order.insert(order.end(), run.begin(), run.end());
  sel = std::move(order);
  if (first == sel.size()) return;

  // Then every link after the selected links it hangs on.
  const size_t links = sel.size() - first;
  std::unordered_map<const TShemObj*, int32_t> number;
  for (size_t k = 0; k < links; ++k) number[sel[first + k]] = int32_t(k);
  std::vector<std::array<int32_t, 2>> ends(links, {-1, -1});
  for (size_t k = 0; k < links; ++k) {
    const Link& l = sel[first + k]->AsLink()->Data;
    const TShemObj* e[2] = {l.Source, l.Target};
    for (int j = 0; j < 2; ++j)
      if (auto it = number.find(e[j]); it != number.end()) ends[k][size_t(j)] = it->second;
  }
  const std::vector<uint32_t> at = OrderLinksAfterLinks(ends);
  const std::vector<TShemObj*> linkObjs(sel.begin() + long(first), sel.end());
  for (size_t i = 0; i < links; ++i) sel[first + i] = linkObjs[at[i]];
}

std::vector<TShemObj*> CopyObjects(TShem& to, const std::vector<TShemObj*>& objs, TPoint offset,
                                   bool blocksFirst) {
  std::vector<TShemObj*> copies(objs.size(), nullptr);
  std::unordered_map<const TShemObj*, TShemObj*> copyOf;
  auto copyBlock = [&](size_t i) {
    auto b = std::make_unique<TBlock>(objs[i]->AsBlock()->Data);
    b->Data.TopLeft = PointAdd(b->Data.TopLeft, offset);
    b->Data.BottomRight = PointAdd(b->Data.BottomRight, offset);
    copies[i] = to.GetObj(to.Add(std::move(b)));
    copyOf[objs[i]] = copies[i];
  };
  auto copyLink = [&](size_t i) {
    const Link& l = objs[i]->AsLink()->Data;
    const auto s = copyOf.find(l.Source), t = copyOf.find(l.Target);
    if (s == copyOf.end() || t == copyOf.end()) return;
    copies[i] = AddLinkLike(to, l, s->second, t->second);
    copyOf[objs[i]] = copies[i];
  };
  for (size_t i = 0; i < objs.size(); ++i) {
    if (objs[i]->IsBlock())
      copyBlock(i);
    else if (!blocksFirst)
      copyLink(i);
  }
  if (blocksFirst)
    for (size_t i = 0; i < objs.size(); ++i)
      if (objs[i]->IsLink()) copyLink(i);
  return copies;
}

namespace {
bool IsSquare(const TShemObj* o) {
  return o && o->IsBlock() && o->AsBlock()->Data.Kind == bkSquare;
}

// A single arrow leaving o: from o with the arrowhead at the target, or to o
// with the arrowhead at the source.
bool Leaves(const Link& l, const TShemObj* o) {
  return (l.Source.Get() == o && l.LinkType == ltArrowTarget) ||
         (l.Target.Get() == o && l.LinkType == ltArrowSource);
}
bool Arrives(const Link& l, const TShemObj* o) {
  return (l.Target.Get() == o && l.LinkType == ltArrowTarget) ||
         (l.Source.Get() == o && l.LinkType == ltArrowSource);
}

// Merges the rectangle after s into s when the chain allows it.
bool JoinNext(TShem& d, TShemObj* s) {
  TShemObj* q = nullptr;
  for (TShemObj* l : d.LinksOf(s))
    if (Leaves(l->AsLink()->Data, s)) {
      q = l;
      break;
    }
  if (!q) return false;
  const Link& ql = q->AsLink()->Data;
  TShemObj* next = ql.Source.Get() == s ? ql.Target.Get() : ql.Source.Get();
  // A rectangle whose arrow comes back to itself has nothing to merge: merging
  // it into itself would delete it.
  if (!IsSquare(next) || next == s) return false;
  const std::vector<TShemObj*> nextLinks = d.LinksOf(next);
  const auto arriving = std::count_if(nextLinks.begin(), nextLinks.end(), [next](TShemObj* l) {
    return Arrives(l->AsLink()->Data, next);
  });
  if (arriving != 1 || d.NextLinkObjTo(nullptr, q)) return false;

  std::string& text = s->AsBlock()->Data.Text;
  if (text.empty() || text.back() != ';') text += ';';
  text += "\r\n" + next->AsBlock()->Data.Text;
  for (TShemObj* l : nextLinks) {
    if (l == q) continue;
    const Link& ld = l->AsLink()->Data;
    if (ld.Source.Get() == next) MoveLinkEnd(l, true, s);
    if (ld.Target.Get() == next) MoveLinkEnd(l, false, s);
  }
  d.Remove(next);  // takes q with it
  return true;
}
}  // namespace

int JoinSquareChains(TShem& d) {
  // Each merge restarts the scan from the top of the list. Blocks before the
  // merged one cannot have become mergeable (the merge only moves the links of
  // a rectangle with a single arriving arrow onto its predecessor, whose own
  // arriving arrows stay as they were), so the scan resumes at that block.
  int merged = 0;
  for (int i = 0; i < d.Count(); ++i) {
    TShemObj* s = d.GetObj(i);
    if (!IsSquare(s)) continue;
    if (JoinNext(d, s)) {
      ++merged;
      i = d.IndexOf(s) - 1;
    }
  }
  return merged;
}
