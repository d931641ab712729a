#include "pascal/translation.h"

#include <stdexcept>

#include "model/geometry.h"

namespace pascalrules {
bool LeadsOut(const TShemObj* link, const TShemObj* x) {
  const Link& d = link->AsLink()->Data;
  return (d.Source.Get() == x && d.LinkType == 1) || (d.Target.Get() == x && d.LinkType == 2);
}

bool LeadsIn(const TShemObj* link, const TShemObj* x) {
  const Link& d = link->AsLink()->Data;
  return (d.Target.Get() == x && d.LinkType == 1) || (d.Source.Get() == x && d.LinkType == 2);
}

TShemObj* FarEnd(const TShemObj* link, const TShemObj* x) {
  const Link& d = link->AsLink()->Data;
  return d.Source.Get() == x ? d.Target.Get() : d.Source.Get();
}

uint8_t Swap12(uint8_t type) { return type == 1 ? 2 : type == 2 ? 1 : type; }

void CollapseBlankLines(std::string& t, size_t from) {
  // One left-to-right sweep: a CR LF is dropped whenever the text kept so far
  // already ends with CR LF. Runs of CR LF pairs are the only places where
  // the repeated replacement finds anything, and it leaves one pair of each.
  size_t w = from;
  for (size_t i = from; i < t.size();) {
    if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n' && w >= from + 2 && t[w - 2] == '\r' &&
        t[w - 1] == '\n') {
      i += 2;
      continue;
    }
    t[w++] = t[i++];
  }
  t.resize(w);
}
}  // namespace pascalrules

using namespace pascalrules;

namespace {
constexpr TPoint kCentre{32767, 32767};
constexpr TPoint kTopMiddle{32767, 0};
constexpr TPoint kBottomMiddle{32767, 65535};
const char* const kCrLf = "\r\n";

bool IsKind(const TShemObj* o, int kind) {
  return o && o->IsBlock() && o->AsBlock()->Data.Kind == kind;
}
bool IsBlockNotRhomb(const TShemObj* o) {
  return o && o->IsBlock() && o->AsBlock()->Data.Kind != bkRhomb;
}
}  // namespace

// ---- queue -------------------------------------------------------------------

void TTranslation::Queue::Push(TShemObj* o) {
  auto it = t_.keys_.find(o);
  if (it != t_.keys_.end()) heap_.push({it->second, o});
}

TShemObj* TTranslation::Queue::Top() {
  while (!heap_.empty()) {
    const Entry& e = heap_.top();
    auto it = t_.keys_.find(e.second);
    if (it != t_.keys_.end() && it->second == e.first) return e.second;
    heap_.pop();  // deleted, or a new object at a reused address
  }
  return nullptr;
}

// ---- bookkeeping -------------------------------------------------------------

TTranslation::TTranslation(TShem& d, std::vector<std::string>& messages)
    : d_(d), messages_(messages), links_(*this), points_(*this), squares_(*this), rhombs_(*this) {
  const int n = d_.Count();
  keys_.reserve(size_t(n) * 2);
  for (int i = 0; i < n; ++i) keys_[d_.GetObj(i)] = i;
  maxKey_ = n - 1;
}

void TTranslation::SetEnd(TShemObj* link, bool source, TShemObj* to) {
  const LinkEnd end = source ? LinkEnd::Source : LinkEnd::Target;
  if (TShemObj* old = link->AsLink()->Data.End(end).Get()) touched_.push_back(old);
  if (to) touched_.push_back(to);
  touched_.push_back(link);
  d_.SetLinkEnd(link, end, to);
}

void TTranslation::SetType(TShemObj* link, uint8_t type) {
  touched_.push_back(link);
  link->AsLink()->Data.LinkType = type;
}

void TTranslation::SetKind(TShemObj* block, uint8_t kind) {
  touched_.push_back(block);
  block->AsBlock()->Data.Kind = kind;
}

void TTranslation::SetText(TShemObj* block, std::string text) {
  if (labelsOn_ && IsYesLabel(block)) {
    labels_.Forget(block);
    labelsChanged_ = true;
  }
  clean_.erase(block);
  block->AsBlock()->Data.Text = std::move(text);
}

TShemObj* TTranslation::Append(std::unique_ptr<TLink> link, TShemObj* source, TShemObj* target) {
  TShemObj* o = d_.GetObj(d_.AddLink(std::move(link), source, target));
  keys_[o] = ++maxKey_;
  touched_.push_back(o);
  return o;
}

TShemObj* TTranslation::InsertFirst(std::unique_ptr<TBlock> block) {
  d_.Insert(0, std::move(block));
  TShemObj* o = d_.GetObj(0);
  keys_[o] = --minKey_;
  touched_.push_back(o);
  return o;
}

void TTranslation::Delete(TShemObj* obj) {
  // The diagram deletes every link attached to a deleted object and the Point
  // blocks at the ends of a deleted link; gather the same set first so that
  // nothing here keeps a reference into it.
  std::vector<TShemObj*> doomed{obj};
  std::unordered_set<const TShemObj*> marked{obj};
  for (size_t k = 0; k < doomed.size(); ++k) {
    TShemObj* x = doomed[k];
    for (TShemObj* l : d_.LinksOf(x))
      if (marked.insert(l).second) doomed.push_back(l);
    if (const TLink* l = x->AsLink())
      for (TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()})
        if (end && end->IsPointBlock() && Alive(end) && marked.insert(end).second)
          doomed.push_back(end);
  }
  for (TShemObj* x : doomed) {
    if (const TLink* l = x->AsLink())
      for (TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()})
        if (end && !marked.count(end)) touched_.push_back(end);
    if (labelsOn_ && IsYesLabel(x)) {
      labels_.Forget(x);
      labelsChanged_ = true;
    }
  }
  for (TShemObj* x : doomed) {
    keys_.erase(x);
    marks_.erase(x);
    clean_.erase(x);
  }
  const int before = d_.Count();
  d_.Remove(obj);
  if (d_.Count() != before - int(doomed.size()))
    throw std::logic_error("translation lost track of deleted objects");
}

void TTranslation::Offer(TShemObj* o) {
  if (!Alive(o)) return;
  if (o->IsLink()) {
    if (linksOn_) links_.Push(o);
    return;
  }
  switch (o->AsBlock()->Data.Kind) {
    case bkPoint:
      if (pointsOn_) points_.Push(o);
      break;
    case bkSquare:
      if (squaresOn_) squares_.Push(o);
      break;
    case bkRhomb:
      if (rhombsOn_) rhombs_.Push(o);
      break;
    default:
      break;
  }
}

void TTranslation::Flush() {
  // A rule looks at most two steps from the object it is tried on (a Rhomb,
  // its branch block, the branch block's next block), so everything within
  // reach of a changed object is offered again: the changed objects, the
  // ends of changed links, and around each of these its links and their ends.
  std::vector<TShemObj*> around;
  around.reserve(touched_.size() * 2);
  for (TShemObj* t : touched_) {
    if (!Alive(t)) continue;
    around.push_back(t);
    if (const TLink* l = t->AsLink()) {
      if (Alive(l->Data.Source)) around.push_back(l->Data.Source);
      if (Alive(l->Data.Target)) around.push_back(l->Data.Target);
    }
  }
  touched_.clear();
  std::unordered_set<const TShemObj*> seen;
  for (TShemObj* x : around) {
    if (!seen.insert(x).second) continue;
    Offer(x);
    if (const TLink* l = x->AsLink()) {
      Offer(l->Data.Source);
      Offer(l->Data.Target);
    }
    for (TShemObj* l : d_.LinksOf(x)) {
      Offer(l);
      Offer(l->AsLink()->Data.Source);
      Offer(l->AsLink()->Data.Target);
    }
  }
  if (labelsChanged_) {
    // Every Rhomb measures its exits against all labels.
    labelsChanged_ = false;
    if (rhombsOn_)
      for (const Entry& e : allRhombs_) rhombs_.PushEntry(e);
  }
}

void TTranslation::PushAll(Queue& q, const std::function<bool(const TShemObj*)>& wanted) {
  q.Clear();
  for (int i = 0, n = d_.Count(); i < n; ++i) {
    TShemObj* o = d_.GetObj(i);
    if (wanted(o)) q.Push(o);
  }
}

bool TTranslation::IsYesLabel(const TShemObj* o) const {
  return IsKind(o, bkText) && o->AsBlock()->Data.Text == "yes";
}

TShemObj* TTranslation::Next(const TShemObj* x) const {
  if (!x) return nullptr;
  for (TShemObj* l : d_.LinksOf(x))
    if (LeadsOut(l, x)) return FarEnd(l, x);
  return nullptr;
}

// ---- JoinAdjacentPoints --------------------------------------------------------

namespace {
bool JoinsTwoPoints(const TShemObj* o) {
  if (!o->IsLink()) return false;
  const Link& d = o->AsLink()->Data;
  return d.Source.Get() && d.Target.Get() && d.Source->IsPointBlock() && d.Target->IsPointBlock();
}
}  // namespace

void TTranslation::JoinAdjacentPoints() {
  PushAll(links_, JoinsTwoPoints);
  linksOn_ = true;
  while (TShemObj* k = links_.Top()) {
    links_.Pop();
    if (!JoinsTwoPoints(k)) continue;
    JoinAt(k);
    Flush();
  }
  linksOn_ = false;
}

void TTranslation::JoinAt(TShemObj* k) {
  TShemObj* p1 = k->AsLink()->Data.Source;
  TShemObj* p2 = k->AsLink()->Data.Target;
  const std::vector<TShemObj*> hanging = d_.LinksOf(k);
  if (!hanging.empty()) marks_.insert(p1);
  for (TShemObj* h : hanging) {
    if (h->AsLink()->Data.Source.Get() == k) SetEnd(h, true, p1);
    if (h->AsLink()->Data.Target.Get() == k) SetEnd(h, false, p1);
  }
  if (p2 != p1) {
    for (TShemObj* l : d_.LinksOf(p2)) {
      if (l->AsLink()->Data.Source.Get() == p2) SetEnd(l, true, p1);
      if (l->AsLink()->Data.Target.Get() == p2) SetEnd(l, false, p1);
    }
  }
  if (marks_.count(p2)) marks_.insert(p1);
  SetEnd(k, true, nullptr);
  SetEnd(k, false, nullptr);
  Delete(k);
  Delete(p2);
}

// ---- DissolveBendPoints --------------------------------------------------------

void TTranslation::DissolveBendPoints() {
  auto unmarkedPoint = [this](const TShemObj* o) { return o->IsPointBlock() && !marks_.count(o); };
  PushAll(points_, unmarkedPoint);
  pointsOn_ = true;
  while (TShemObj* p = points_.Top()) {
    points_.Pop();
    if (!unmarkedPoint(p)) continue;
    const std::vector<TShemObj*> links = d_.LinksOf(p);
    if (links.empty()) {
      Delete(p);  // a lone point goes; nothing else changes
      touched_.clear();
      continue;
    }
    // A point with a single link cannot come from the editor; it is left for
    // the later passes, which report it if it leads nowhere.
    if (links.size() < 2) continue;
    DissolveAt(p, links[0], links[1]);
    Flush();
  }
  pointsOn_ = false;
}

void TTranslation::DissolveAt(TShemObj* p, TShemObj* la, TShemObj* lb) {
  auto l0 = std::make_unique<TLink>();
  Link& n = l0->Data;
  const Link& a = la->AsLink()->Data;
  const Link& b = lb->AsLink()->Data;
  const bool aFromP = a.Source.Get() == p;
  TShemObj* source;
  TShemObj* target;
  if (aFromP) {
    source = a.Target;
    n.SourcePos = a.TargetPos;
    n.LinkType = Swap12(a.LinkType);
  } else {
    source = a.Source;
    n.SourcePos = a.SourcePos;
    n.LinkType = a.LinkType;
  }
  const bool bFromP = b.Source.Get() == p;
  if (bFromP) {
    target = b.Target;
    n.TargetPos = b.TargetPos;
    if (n.LinkType == 0 || n.LinkType == 3) n.LinkType = b.LinkType;
  } else {
    target = b.Source;
    n.TargetPos = b.SourcePos;
    if (n.LinkType == 0 || n.LinkType == 3) n.LinkType = Swap12(b.LinkType);
  }
  TShemObj* l0obj = Append(std::move(l0), source, target);
  SetEnd(la, !aFromP, nullptr);
  SetEnd(lb, !bFromP, nullptr);

  for (TShemObj* h : d_.LinksOf(la)) {
    Link& hd = h->AsLink()->Data;
    if (hd.Source.Get() == la) {
      SetEnd(h, true, l0obj);
      hd.SourcePos = ScalePoint(hd.SourcePos, 0.5);
    }
    if (hd.Target.Get() == la) {
      SetEnd(h, false, l0obj);
      hd.TargetPos = ScalePoint(hd.TargetPos, 0.5);
    }
  }
  for (TShemObj* h : d_.LinksOf(lb)) {
    Link& hd = h->AsLink()->Data;
    if (hd.Source.Get() == lb) {
      SetEnd(h, true, l0obj);
      hd.SourcePos = PointAdd({32766, 32766}, ScalePoint(hd.SourcePos, 0.5));
    }
    if (hd.Target.Get() == lb) {
      SetEnd(h, false, l0obj);
      hd.TargetPos = PointAdd({32766, 32766}, ScalePoint(hd.TargetPos, 0.5));
    }
  }
  Delete(p);
}

// ---- MakeJunctionPoints --------------------------------------------------------

void TTranslation::MakeJunctionPoints() {
  PushAll(links_, [](const TShemObj* o) { return o->IsLink(); });
  linksOn_ = true;
  while (TShemObj* k = links_.Top()) {
    links_.Pop();
    if (!k->IsLink() || d_.LinksOf(k).empty()) continue;
    SplitAt(k);
    Flush();
  }
  linksOn_ = false;
}

void TTranslation::SplitAt(TShemObj* k) {
  const TPoint mid = d_.LinkEndPoint(kCentre, k);
  auto point = std::make_unique<TBlock>();
  point->Data.Kind = bkPoint;
  point->Data.TopLeft = mid;
  point->Data.BottomRight = PointAdd(mid, {2, 2});
  TShemObj* np = InsertFirst(std::move(point));

  Link& kd = k->AsLink()->Data;
  Append(std::make_unique<TLink>(kd.LinkType, kd.SourcePos, kCentre), kd.Source, np);
  SetEnd(k, true, np);
  kd.SourcePos = kCentre;
  for (TShemObj* h : d_.LinksOf(k)) {
    Link& hd = h->AsLink()->Data;
    if (hd.Source.Get() == k) {
      SetEnd(h, true, np);
      hd.SourcePos = kCentre;
    }
    if (hd.Target.Get() == k) {
      SetEnd(h, false, np);
      hd.TargetPos = kCentre;
    }
  }
}

// ---- ForwardJunctionPoints -----------------------------------------------------

void TTranslation::ForwardJunctionPoints() {
  PushAll(points_, [](const TShemObj* o) { return o->IsPointBlock(); });
  pointsOn_ = true;
  while (TShemObj* p = points_.Top()) {
    if (!p->IsPointBlock()) {
      points_.Pop();
      continue;
    }
    const std::vector<TShemObj*> links = d_.LinksOf(p);
    TShemObj* o = nullptr;
    for (TShemObj* l : links)
      if (LeadsOut(l, p)) {
        o = l;
        break;
      }
    if (!o) {
      messages_.push_back("No outgoing link");
      break;
    }
    points_.Pop();
    if (!d_.LinksOf(o).empty()) continue;  // skipped until something changes near it
    TShemObj* t = FarEnd(o, p);
    for (TShemObj* l : links) {
      if (l == o) continue;
      Link& ld = l->AsLink()->Data;
      if (ld.Source.Get() == p) {
        SetEnd(l, true, t);
        ld.SourcePos = kTopMiddle;
        SetType(l, 2);
      }
      if (ld.Target.Get() == p) {
        SetEnd(l, false, t);
        ld.TargetPos = kTopMiddle;
        SetType(l, 1);
      }
    }
    SetEnd(o, true, nullptr);
    SetEnd(o, false, nullptr);
    Delete(o);
    if (Alive(p)) Delete(p);
    Flush();
  }
  pointsOn_ = false;
}

// ---- MergeSequences ------------------------------------------------------------

void TTranslation::MergeSequences() {
  if (!squaresOn_) {
    PushAll(squares_, [](const TShemObj* o) { return IsKind(o, bkSquare); });
    squaresOn_ = true;  // kept up to date from now on, for ReduceDecisions' runs
  }
  RunMerge();
}

bool TTranslation::RunMerge() {
  while (TShemObj* r = squares_.Top()) {
    if (!IsKind(r, bkSquare)) {
      squares_.Pop();
      continue;
    }
    TShemObj* o = nullptr;
    for (TShemObj* l : d_.LinksOf(r))
      if (LeadsOut(l, r)) {
        o = l;
        break;
      }
    if (!o) {
      messages_.push_back("No outgoing link");  // r stays queued: the next run stops here again
      return false;
    }
    squares_.Pop();
    TShemObj* b = FarEnd(o, r);
    if (!IsKind(b, bkSquare) || !d_.LinksOf(o).empty()) continue;
    int into = 0;
    for (TShemObj* l : d_.LinksOf(b))
      if (LeadsIn(l, b)) ++into;
    if (into != 1) continue;
    MergeAt(r, o, b);
    Flush();
  }
  return true;
}

void TTranslation::MergeAt(TShemObj* r, TShemObj* o, TShemObj* b) {
  std::string& t = r->AsBlock()->Data.Text;
  auto c = clean_.find(r);
  const size_t from = c == clean_.end() ? 0 : std::min(c->second, t.size());
  CollapseBlankLines(t, from);
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, kCrLf) == 0) t.resize(t.size() - 2);
  if (t.empty() || t.back() != ';') t += ';';
  const size_t cleanLength = t.size();
  if (b == r) {
    const std::string copy = t;
    t += kCrLf;
    t += copy;
  } else {
    t += kCrLf;
    t += b->AsBlock()->Data.Text;
  }
  clean_[r] = cleanLength;

  for (TShemObj* l : d_.LinksOf(b)) {
    if (l == o) continue;
    if (l->AsLink()->Data.Source.Get() == b) SetEnd(l, true, r);
    if (l->AsLink()->Data.Target.Get() == b) SetEnd(l, false, r);
  }
  Delete(b);
}

// ---- ReduceDecisions -----------------------------------------------------------

void TTranslation::ReduceDecisions() {
  if (!squaresOn_) {
    PushAll(squares_, [](const TShemObj* o) { return IsKind(o, bkSquare); });
    squaresOn_ = true;
  }
  labels_ = TYesLabelIndex();
  allRhombs_.clear();
  rhombs_.Clear();
  for (int i = 0, n = d_.Count(); i < n; ++i) {
    TShemObj* o = d_.GetObj(i);
    if (IsYesLabel(o)) {
      const Block& b = o->AsBlock()->Data;
      labels_.Add(o, MidPoint(b.TopLeft, b.BottomRight), KeyOf(o));
    } else if (IsKind(o, bkRhomb)) {
      allRhombs_.push_back({KeyOf(o), o});
      rhombs_.PushEntry(allRhombs_.back());
    }
  }
  labelsOn_ = rhombsOn_ = true;

  while (TShemObj* r = rhombs_.Top()) {
    if (!IsKind(r, bkRhomb)) {
      rhombs_.Pop();
      continue;
    }
    TShemObj* outs[2] = {nullptr, nullptr};
    int outCount = 0, others = 0;
    bool haveI2 = false;
    for (TShemObj* l : d_.LinksOf(r)) {
      if (LeadsOut(l, r)) {
        if (outCount < 2) outs[outCount] = l;
        ++outCount;
      } else if (++others == 2) {
        haveI2 = true;
      }
    }
    if (outCount > 2) {
      messages_.push_back("More then 2 outgoing links");
      break;
    }
    if (outCount < 2) {
      messages_.push_back("Have only 1 incoming link");
      break;
    }
    rhombs_.Pop();

    // The yes link: the exit nearest to a "yes" label; the earlier label wins
    // ties, and so does the first exit for one label.
    auto exitPoint = [&](const TShemObj* l) {
      const Link& ld = l->AsLink()->Data;
      return d_.LinkEndPoint(ld.LinkType == 1 ? ld.SourcePos : ld.TargetPos, r);
    };
    const TPoint e1 = exitPoint(outs[0]), e2 = exitPoint(outs[1]);
    bool firstIsYes = false;
    if (!labels_.Empty()) {
      const auto h1 = labels_.Nearest(e1), h2 = labels_.Nearest(e2);
      const bool ok1 = h1 && h1->Distance < 65535, ok2 = h2 && h2->Distance < 65535;
      std::optional<TPoint> best;
      if (ok1 && (!ok2 || h1->Distance < h2->Distance ||
                  (h1->Distance == h2->Distance && h1->Order <= h2->Order)))
        best = e1;
      else if (ok2)
        best = e2;
      firstIsYes = best && PointsEqual(*best, e1);
    }
    TShemObj* yes = firstIsYes ? outs[0] : outs[1];
    TShemObj* no = firstIsYes ? outs[1] : outs[0];
    if (ReduceAt(r, yes, no, haveI2)) {
      Flush();
      RunMerge();
    }
  }
  labelsOn_ = rhombsOn_ = false;
}

bool TTranslation::ReduceAt(TShemObj* r, TShemObj* yes, TShemObj* no, bool haveI2) {
  TShemObj* by = FarEnd(yes, r);
  TShemObj* bn = FarEnd(no, r);
  TShemObj* jy = Next(by);
  TShemObj* jn = Next(bn);
  const std::string& cond = r->AsBlock()->Data.Text;

  if (bn && bn->IsBlock() && bn == jy && IsBlockNotRhomb(by)) {
    SetText(r, "if " + cond + "\r\nthen\r\nbegin\r\n" + by->AsBlock()->Data.Text + "\r\nend;");
    Delete(by);
    SetKind(r, bkSquare);
    return true;
  }
  // The joining block must outlive the branches: a Point would go with their
  // links, and a branch that is its own successor goes with itself.
  if (jy && jy == jn && jy->IsBlock() && IsBlockNotRhomb(bn) && IsBlockNotRhomb(by) &&
      !jy->IsPointBlock() && jy != by && jy != bn) {
    SetText(r, "if " + cond + "\r\nthen\r\nbegin\r\n" + by->AsBlock()->Data.Text +
                   "\r\nend\r\nelse\r\nbegin\r\n" + bn->AsBlock()->Data.Text + "\r\nend;");
    Delete(by);
    if (Alive(bn)) Delete(bn);
    SetKind(r, bkSquare);
    Append(std::make_unique<TLink>(1, kBottomMiddle, kTopMiddle), r, jy);
    return true;
  }
  if (jy != r || !by || !by->IsBlock()) return false;
  int k = 0;
  for (TShemObj* l : d_.LinksOf(by))
    if (LeadsIn(l, by)) ++k;
  // A while deletes its body and keeps R, so R cannot be its own body there;
  // a repeat deletes R, which may then take its own loop with it.
  if (haveI2 && k == 1 && by != r) {
    SetText(r, "while " + cond + " do\r\nbegin\r\n" + by->AsBlock()->Data.Text + "\r\nend;");
    Delete(by);
    SetKind(r, bkSquare);
    return true;
  }
  if (!haveI2 && k == 2) {
    SetText(by, "repeat\r\n" + by->AsBlock()->Data.Text + "\r\nuntil not(" + cond + ");");
    const bool viaSource = no->AsLink()->Data.LinkType == 1;
    SetEnd(no, viaSource, by);
    Delete(r);
    return true;
  }
  return false;
}
