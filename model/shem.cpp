#include "model/shem.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "model/listview.h"
#include "model/shapes.h"
#include "model/shemobserver.h"

EListIndexError::EListIndexError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

TShem::TShem(ListView* listView) : listView_(listView) {}

TShem::~TShem() { Clear(); }

void TShem::AddObserver(TShemObserver* o) {
  if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end())
    observers_.push_back(o);
}

void TShem::RemoveObserver(TShemObserver* o) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), o), observers_.end());
}

void TShem::NotifyAllDeleted() {
  if (Count() == 0) return;
  for (TShemObserver* o : observers_) o->AllObjectsDeleted();
}

void TShem::Clear() {
  NotifyAllDeleted();
  for (TShemObj* e : slots_) delete e;
  slots_.clear();
  live_.Clear();
  dead_ = 0;
  deadTree_.clear();
  lookups_ = 0;
  if (listView_) listView_->Clear();
}

// ---- slot bookkeeping ------------------------------------------------------

void TShem::Compact() const {
  if (dead_ == 0) return;
  size_t w = 0;
  for (TShemObj* e : slots_) {
    if (!e) continue;
    e->slot_ = w;
    slots_[w++] = e;
  }
  slots_.resize(w);
  dead_ = 0;
  deadTree_.clear();
  lookups_ = 0;
}

void TShem::MarkDead(size_t slot) {
  if (dead_ == 0) deadTree_.assign(slots_.size() + 1, 0);
  slots_[slot] = nullptr;
  ++dead_;
  for (size_t i = slot + 1; i < deadTree_.size(); i += i & (~i + 1)) ++deadTree_[i];
}

size_t TShem::DeadBefore(size_t slot) const {
  size_t sum = 0;
  for (size_t i = slot; i > 0; i -= i & (~i + 1)) sum += deadTree_[i];
  return sum;
}

size_t TShem::SlotOfIndex(int index) const {
  if (dead_ == 0) return size_t(index);
  if (++lookups_ > size_t(Count()) / 8 + 64) {
    Compact();
    return size_t(index);
  }
  // Find the slot holding the (index+1)-th live entry.
  size_t pos = 0, rem = size_t(index) + 1, step = 1;
  const size_t n = deadTree_.size() - 1;
  while (step * 2 <= n) step *= 2;
  for (; step > 0; step /= 2) {
    if (pos + step <= n) {
      const size_t live = step - deadTree_[pos + step];
      if (live < rem) {
        pos += step;
        rem -= live;
      }
    }
  }
  return pos;
}

TShemObj* TShem::GetObj(int index) const {
  if (index < 0 || index >= Count()) throw EListIndexError(index);
  return slots_[SlotOfIndex(index)];
}

int TShem::IndexOf(const TShemObj* obj) const { return Contains(obj) ? IndexOfLive(obj) : -1; }

int TShem::IndexOfLive(const TShemObj* obj) const {
  if (obj->owner_ != this) return -1;
  if (dead_ == 0) return int(obj->slot_);
  return int(obj->slot_ - DeadBefore(obj->slot_));
}

void TShem::Register(TShemObj* e) {
  e->owner_ = this;
  live_.Insert(e);
  if (TLink* l = e->AsLink()) {
    l->Entry = e;
    if (TShemObj* s = l->Data.Source) s->referrers_.push_back(e);
    if (TShemObj* t = l->Data.Target) t->referrers_.push_back(e);
  }
}

void TShem::RelinkEnd(TShemObj* linkEntry, TShemObj* oldEnd, TShemObj* newEnd) {
  if (oldEnd) {
    auto& r = oldEnd->referrers_;
    auto it = std::find(r.begin(), r.end(), linkEntry);
    if (it != r.end()) r.erase(it);
  }
  if (newEnd) newEnd->referrers_.push_back(linkEntry);
}

int TShem::AddEntry(TShemObj* e) {
  e->slot_ = slots_.size();
  slots_.push_back(e);
  if (dead_ > 0) {
    // Extend the Fenwick tree by one node covering (j - lowbit(j), j].
    const size_t j = slots_.size();
    const size_t low = j & (~j + 1);
    deadTree_.push_back(uint32_t(DeadBefore(j - 1) - DeadBefore(j - low)));
  }
  Register(e);
  AddListItem(e);
  return IndexOfLive(e);
}

void TShem::InsertEntry(int index, TShemObj* e) {
  if (index < 0 || index > Count()) {
    delete e;
    throw EListIndexError(index);
  }
  Compact();
  slots_.insert(slots_.begin() + index, e);
  for (size_t i = size_t(index); i < slots_.size(); ++i) slots_[i]->slot_ = i;
  Register(e);
  AddListItem(e);
}

int TShem::Add(uint8_t objType, std::unique_ptr<TBlock> block) {
  (void)objType;
  return AddEntry(new TShemObj(std::move(block)));
}
int TShem::Add(std::unique_ptr<TLink> link) { return AddEntry(new TShemObj(std::move(link))); }
void TShem::Insert(int index, std::unique_ptr<TBlock> block) {
  InsertEntry(index, new TShemObj(std::move(block)));
}
void TShem::Insert(int index, std::unique_ptr<TLink> link) {
  InsertEntry(index, new TShemObj(std::move(link)));
}

// ---- deletion ----------------------------------------------------------------

void TShem::Delete(int index) { DeleteEntry(GetObj(index)); }

void TShem::Remove(TShemObj* obj) {
  if (!Contains(obj)) throw EListIndexError(-1);
  DeleteEntry(obj);
}

void TShem::DeleteEntry(TShemObj* e) {
  // Everything that goes with e: every link attached to a deleted object, and
  // the Point blocks at the ends of a deleted link. The set does not depend on
  // the order in which a recursive deletion would visit it, so it is gathered
  // with a work list (no recursion depth limit on long polylines).
  std::vector<TShemObj*> doomed{e};
  e->doomed_ = true;
  auto mark = [&doomed](TShemObj* o) {
    if (o->doomed_) return;
    o->doomed_ = true;
    doomed.push_back(o);
  };
  for (size_t k = 0; k < doomed.size(); ++k) {
    TShemObj* d = doomed[k];
    for (TShemObj* r : d->referrers_) mark(r);
    if (TLink* l = d->AsLink()) {
      for (TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()})
        if (end && end->IsPointBlock() && end->owner_ == this) mark(end);
    }
  }
  for (TShemObj* d : doomed) {
    if (TLink* l = d->AsLink()) {
      for (TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()}) {
        if (!end || end->doomed_) continue;
        auto& r = end->referrers_;
        auto it = std::find(r.begin(), r.end(), d);
        if (it != r.end()) r.erase(it);
      }
      l->Entry = nullptr;
    }
    MarkDead(d->slot_);
    d->owner_ = nullptr;
    live_.Erase(d);
  }
  for (TShemObserver* o : observers_) o->ObjectsDeleted(doomed);
  for (TShemObj* d : doomed) delete d;
  if (dead_ > slots_.size() / 2) Compact();
}

// ---- links -------------------------------------------------------------------

TShemObj* TShem::NextLinkObjTo(const TShemObj* after, const TShemObj* obj) const {
  const bool fromStart = !Contains(after);
  const size_t afterSlot = fromStart ? 0 : after->slot_;
  if (!obj) {
    // Only half-read links have empty ends; walk the list literally.
    for (size_t s = fromStart ? 0 : afterSlot + 1; s < slots_.size(); ++s) {
      TShemObj* e = slots_[s];
      if (e && e->IsLink() && (!e->AsLink()->Data.Source || !e->AsLink()->Data.Target)) return e;
    }
    return nullptr;
  }
  TShemObj* best = nullptr;
  for (TShemObj* r : obj->referrers_) {
    if (r->owner_ != this) continue;
    if (!fromStart && r->slot_ <= afterSlot) continue;
    if (!best || r->slot_ < best->slot_) best = r;
  }
  return best;
}

int TShem::NextLinkTo(const TShemObj* after, const TShemObj* obj) const {
  const TShemObj* l = NextLinkObjTo(after, obj);
  return l ? IndexOfLive(l) : -1;
}

std::vector<TShemObj*> TShem::LinksOf(const TShemObj* obj) const {
  std::vector<TShemObj*> out;
  if (!obj) return out;
  for (TShemObj* r : obj->referrers_)
    if (r->owner_ == this) out.push_back(r);
  std::sort(out.begin(), out.end(),
            [](const TShemObj* a, const TShemObj* b) { return a->slot_ < b->slot_; });
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::pair<TPoint, TPoint> TShem::LinkEnds(const TShemObj* link) const {
  const Link& d = link->AsLink()->Data;
  auto blockPoint = [](TPoint pos, const TShemObj* o) {
    return o ? PositionOnRect(pos, o->AsBlock()->Data.Rect()) : TPoint{0, 0};
  };
  const TShemObj* s = d.Source;
  const TShemObj* t = d.Target;
  if ((!s || s->IsBlock()) && (!t || t->IsBlock()))
    return {blockPoint(d.SourcePos, s), blockPoint(d.TargetPos, t)};

  // Links hanging on links: resolve bottom-up with a memo, so shared ends are
  // computed once, deep chains need no recursion and a cycle cannot loop: an
  // end that leads back into the walk counts as a zero-length link at (0, 0).
  std::unordered_map<const TShemObj*, std::pair<TPoint, TPoint>> memo;
  std::unordered_set<const TShemObj*> active;
  std::vector<const TShemObj*> stack{link};
  auto endPoint = [&](TPoint pos, const TShemObj* o) -> TPoint {
    if (!o || o->IsBlock()) return blockPoint(pos, o);
    auto it = memo.find(o);
    if (it == memo.end()) return {0, 0};
    return PositionOnSegment(pos, it->second.first, it->second.second);
  };
  while (!stack.empty()) {
    const TShemObj* l = stack.back();
    if (memo.count(l)) {
      stack.pop_back();
      continue;
    }
    active.insert(l);
    const Link& ld = l->AsLink()->Data;
    bool ready = true;
    for (const TShemObj* end : {ld.Source.Get(), ld.Target.Get()}) {
      if (end && end->IsLink() && !memo.count(end) && !active.count(end)) {
        stack.push_back(end);
        ready = false;
      }
    }
    if (!ready) continue;
    memo[l] = {endPoint(ld.SourcePos, ld.Source), endPoint(ld.TargetPos, ld.Target)};
    active.erase(l);
    stack.pop_back();
  }
  return memo[link];
}

TPoint TShem::LinkEndPoint(TPoint pos, const TShemObj* obj) const {
  if (!obj) return {0, 0};
  if (obj->IsBlock()) return PositionOnRect(pos, obj->AsBlock()->Data.Rect());
  const auto [a, b] = LinkEnds(obj);
  return PositionOnSegment(pos, a, b);
}

TPoint TShem::SourcePoint(const TShemObj* link) const { return LinkEnds(link).first; }
TPoint TShem::TargetPoint(const TShemObj* link) const { return LinkEnds(link).second; }

bool TShem::WouldCycle(const TShemObj* link, const TShemObj* newEnd) const {
  // A cycle appears when newEnd is link itself or hangs, through links, on it.
  std::vector<const TShemObj*> todo{newEnd};
  std::unordered_set<const TShemObj*> seen;
  while (!todo.empty()) {
    const TShemObj* o = todo.back();
    todo.pop_back();
    if (!o || !o->IsLink() || !seen.insert(o).second) continue;
    if (o == link) return true;
    todo.push_back(o->AsLink()->Data.Source);
    todo.push_back(o->AsLink()->Data.Target);
  }
  return false;
}

// ---- text --------------------------------------------------------------------

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

size_t FindIn(const std::string& text, const std::string& what, bool caseSensitive, size_t from) {
  if (what.empty() || from > text.size()) return std::string::npos;
  if (caseSensitive) return text.find(what, from);
  auto it = std::search(text.begin() + long(from), text.end(), what.begin(), what.end(),
                        [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
  return it == text.end() ? std::string::npos : size_t(it - text.begin());
}
}  // namespace

TShemObj* TShem::FindText(const TShemObj* after, const std::string& what,
                          bool caseSensitive) const {
  if (what.empty()) return nullptr;
  const int start = IndexOf(after) + 1;
  Compact();
  for (size_t s = size_t(start); s < slots_.size(); ++s) {
    TShemObj* e = slots_[s];
    if (e->IsBlock() &&
        FindIn(e->AsBlock()->Data.Text, what, caseSensitive, 0) != std::string::npos)
      return e;
  }
  return nullptr;
}

TShemObj* TShem::ReplaceText(const TShemObj* after, const std::string& what, bool caseSensitive,
                             const std::string& with) {
  TShemObj* e = FindText(after, what, caseSensitive);
  if (!e) return nullptr;
  std::string& text = e->AsBlock()->Data.Text;
  // Resume after each inserted text, so a replacement that contains the
  // searched text cannot be found again.
  size_t pos = 0;
  while ((pos = FindIn(text, what, caseSensitive, pos)) != std::string::npos) {
    text.replace(pos, what.size(), with);
    pos += with.size();
  }
  return e;
}

// ---- whole-diagram operations ------------------------------------------------

TRect TShem::Bounds() const {
  TRect r{65535, 65535, 0, 0};
  for (TShemObj* e : slots_) {
    if (!e || !e->IsBlock()) continue;
    const Block& b = e->AsBlock()->Data;
    r.Left = Min(r.Left, b.TopLeft.X);
    r.Top = Min(r.Top, b.TopLeft.Y);
    r.Right = Max(r.Right, b.BottomRight.X);
    r.Bottom = Max(r.Bottom, b.BottomRight.Y);
  }
  return r;
}

namespace {
void AppendEntry(ListView& lv, TShemObj* e) {
  const Block& b = e->AsBlock()->Data;
  const size_t cr = b.Text.find('\r');
  lv.Append(cr == std::string::npos ? b.Text : b.Text.substr(0, cr), b.Kind, PointToStr(b.TopLeft),
            PointToStr(PointSub(b.BottomRight, b.TopLeft)), e);
}
}  // namespace

void TShem::FillListView() {
  if (!listView_ || !listView_->Visible()) return;
  listView_->BeginUpdate();
  listView_->Clear();
  for (TShemObj* e : slots_)
    if (e && e->IsBlock() && !e->IsPointBlock()) AppendEntry(*listView_, e);
  listView_->EndUpdate();
}

void TShem::AddListItem(TShemObj* obj) {
  if (listView_ && obj && obj->IsBlock() && !obj->IsPointBlock()) AppendEntry(*listView_, obj);
}

void TShem::InsertCopies(const TShem& from, TPoint offset, std::vector<TShemObj*>* newObjects) {
  if (newObjects) newObjects->clear();
  const int n = from.Count();
  from.Compact();
  std::vector<TShemObj*> originals(from.slots_.begin(), from.slots_.begin() + n);
  std::unordered_map<const TShemObj*, TShemObj*> copies;
  for (TShemObj* o : originals) {
    TShemObj* copy = nullptr;
    if (const TBlock* b = o->AsBlock()) {
      auto nb = std::make_unique<TBlock>(b->Data);
      nb->Data.TopLeft = PointAdd(nb->Data.TopLeft, offset);
      nb->Data.BottomRight = PointAdd(nb->Data.BottomRight, offset);
      copy = GetObj(Add(std::move(nb)));
    } else {
      const Link& d = o->AsLink()->Data;
      auto s = copies.find(d.Source), t = copies.find(d.Target);
      if (s != copies.end() && t != copies.end()) {
        auto nl = std::make_unique<TLink>(d);
        nl->Data.Source = s->second;
        nl->Data.Target = t->second;
        copy = GetObj(Add(std::move(nl)));
      }
    }
    if (copy) {
      copies[o] = copy;
      if (newObjects) newObjects->push_back(copy);
    }
  }
}

void TShem::ChangeKind(TShemObj* obj, int newKind) {
  if (!Contains(obj) || !obj->IsBlock() || obj->IsPointBlock() || newKind == bkPoint) return;
  TShemObj* after = nullptr;
  while (TShemObj* l = NextLinkObjTo(after, obj)) {
    Link& d = l->AsLink()->Data;
    if (newKind == bkText) {
      DeleteEntry(l);
      after = nullptr;
      continue;
    }
    TPoint& pos = d.Source.Get() == obj ? d.SourcePos : d.TargetPos;
    pos = PositionForKind(pos, newKind);
    after = l;
  }
  obj->AsBlock()->Data.Kind = uint8_t(newKind);
}

bool TShem::CheckIntegrity() const {
  size_t live = 0;
  for (size_t s = 0; s < slots_.size(); ++s) {
    TShemObj* e = slots_[s];
    if (!e) continue;
    ++live;
    if (e->owner_ != this || e->slot_ != s) return false;
    if (dead_ > 0 && DeadBefore(s) != s + 1 - live) return false;  // holes before s
    // Every referrer is a link of this diagram that really ends here, as often
    // as it ends here.
    for (TShemObj* r : e->referrers_) {
      if (r->owner_ != this || !r->IsLink()) return false;
      const Link& d = r->AsLink()->Data;
      const auto want = int(d.Source.Get() == e) + int(d.Target.Get() == e);
      if (std::count(e->referrers_.begin(), e->referrers_.end(), r) != want) return false;
    }
    if (const TLink* l = e->AsLink()) {
      if (l->Entry != e) return false;
      for (TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()})
        if (end &&
            std::find(end->referrers_.begin(), end->referrers_.end(), e) == end->referrers_.end())
          return false;
    }
  }
  return live == size_t(Count()) && live_.Size() == live;
}

void TShem::ReplaceContents(TShem& from) {
  NotifyAllDeleted();
  for (TShemObj* e : slots_) delete e;
  from.Compact();
  slots_ = std::move(from.slots_);
  from.slots_.clear();
  live_ = std::move(from.live_);
  from.live_.Clear();
  dead_ = 0;
  deadTree_.clear();
  lookups_ = 0;
  for (TShemObj* e : slots_) e->owner_ = this;
  if (listView_) listView_->Clear();
}
