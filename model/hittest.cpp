// The diagram's hit tests: each walks the object list from the start and
// reports the first object that passes, so an earlier object wins over one
// drawn above it.
//
// There is no spatial index: the editing code moves blocks and re-attaches link
// ends by writing their records directly, which no index could follow. Instead
// the walk is kept tight: it runs over the slot array itself, prefetches the
// link ends it is about to read (where it resolves link ends; on diagrams whose
// links join objects far apart in memory this saves about a third of the
// walk), rejects a block by a box of a few integer
// comparisons before its exact test, and works out a link's end points
// without the diagram's general resolver: directly for links on blocks, and
// for links on links by a short recursion or, along long chains, a memo that
// lives for one walk. Nothing is kept between walks, so every answer comes
// from the records as they are.

#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

#include "model/hittest_shapes.h"
#include "model/shapes.h"
#include "model/shem.h"

namespace {

// Links hanging on links are followed this many steps at most before the
// general resolver (which also copes with cycles) takes over.
constexpr int kChainBudget = 64;

TPoint BlockEnd(TPoint pos, const TShemObj* o) {
  return o ? PositionOnRect(pos, o->AsBlock()->Data.Rect()) : TPoint{0, 0};
}

// Prefetch distances, in entries, for the objects that link ends hang on,
// then the records of those objects. A block costs only a few
// nanoseconds, so the distances are long enough to cover a memory access.
constexpr size_t kAheadEnds = 32, kAheadEndRecords = 16;

// A prefetch the compiler keeps: GCC removed __builtin_prefetch from these
// walks (an address loaded from memory), an asm statement stays.
inline void Touch(const void* p) {
  if (!p) return;
#if defined(__x86_64__) || defined(__i386__)
  asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#else
  __builtin_prefetch(p);
#endif
}

// Objects allocated together (a diagram read from a file, blocks and the links
// drawn between them) lie close in memory and come into the cache with the
// walk itself; only ends farther away than this are worth a prefetch.
constexpr uintptr_t kNearBytes = uintptr_t(1) << 16;

bool Far(const void* from, const void* to) {
  const uintptr_t a = reinterpret_cast<uintptr_t>(from), b = reinterpret_cast<uintptr_t>(to);
  return (a > b ? a - b : b - a) > kNearBytes;
}

// Touches, ahead of a walk, the memory that the walk is about to read for the
// links whose ends hang on objects far away in memory: first those objects,
// then their records. Without this every such link costs several cache
// misses one after the other.
void PrefetchAhead(const std::vector<TShemObj*>& slots, size_t s) {
  const size_t n = slots.size();
  if (s + kAheadEnds < n) {
    if (const TShemObj* e = slots[s + kAheadEnds]) {
      if (const TLink* l = e->AsLink()) {
        for (const TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()})
          if (Far(l, end)) Touch(end);
      }
    }
  }
  if (s + kAheadEndRecords < n) {
    if (const TShemObj* e = slots[s + kAheadEndRecords]) {
      if (const TLink* l = e->AsLink()) {
        for (const TShemObj* end : {l->Data.Source.Get(), l->Data.Target.Get()}) {
          if (!end || !Far(l, end)) continue;
          if (const TBlock* b = end->AsBlock()) {
            Touch(&b->Data.TopLeft);
          } else {
            // A link on a link: its own ends come next.
            const TLink* under = end->AsLink();
            Touch(under->Data.Source.Get());
            Touch(under->Data.Target.Get());
          }
        }
      }
    }
  }
}

// Both end points of a link by plain recursion. False when the budget runs
// out: a very deep or branching chain, or links attached in a cycle.
bool ChainEnds(const TShemObj* link, TPoint& a, TPoint& b, int& budget) {
  if (--budget < 0) return false;
  const Link& d = link->AsLink()->Data;
  auto end = [&budget](TPoint pos, const TShemObj* o, TPoint& out) {
    if (!o || o->IsBlock()) {
      out = BlockEnd(pos, o);
      return true;
    }
    TPoint sa, sb;
    if (!ChainEnds(o, sa, sb, budget)) return false;
    out = PositionOnSegment(pos, sa, sb);
    return true;
  };
  return end(d.SourcePos, d.Source, a) && end(d.TargetPos, d.Target, b);
}

// End points of links hanging on long chains of links, remembered for the
// rest of one walk so that a chain is followed once, not once per link on it.
// Entries are kept by list index, which indexOf(o) gives for the objects of
// the diagram (-1 for others). Only chains of links of this diagram and
// without a cycle are resolved here.
template <class IndexOf>
class ChainMemo {
 public:
  static constexpr size_t npos = size_t(-1);
  ChainMemo(IndexOf indexOf, int count)
      : indexOf_(indexOf), ends_(size_t(count)), state_(size_t(count), kUnknown) {}

  // False when the chain closes a cycle or leaves the diagram; the diagram's
  // resolver decides then.
  bool Resolve(const TShemObj* link, TPoint& a, TPoint& b) {
    const size_t top = SlotOf(link);
    if (top == npos) return false;
    if (state_[top] != kDone) {
      stack_.assign(1, link);
      while (!stack_.empty()) {
        const TShemObj* l = stack_.back();
        const size_t ls = SlotOf(l);
        if (state_[ls] == kDone) {
          stack_.pop_back();
          continue;
        }
        const Link& d = l->AsLink()->Data;
        bool ready = true;
        for (const TShemObj* end : {d.Source.Get(), d.Target.Get()}) {
          if (!end || end->IsBlock()) continue;
          const size_t es = SlotOf(end);
          if (es == npos || state_[es] == kActive) return Abandon();
          if (state_[es] == kDone) continue;
          stack_.push_back(end);
          ready = false;
        }
        if (!ready) {
          if (state_[ls] == kUnknown) activated_.push_back(ls);
          state_[ls] = kActive;
          continue;
        }
        ends_[ls] = {EndOf(d.SourcePos, d.Source), EndOf(d.TargetPos, d.Target)};
        state_[ls] = kDone;
        stack_.pop_back();
      }
      activated_.clear();
    }
    std::tie(a, b) = ends_[top];
    return true;
  }

 private:
  enum : uint8_t { kUnknown, kActive, kDone };

  bool Abandon() {
    for (size_t s : activated_)
      if (state_[s] == kActive) state_[s] = kUnknown;
    activated_.clear();
    return false;
  }
  size_t SlotOf(const TShemObj* o) const {
    const int i = indexOf_(o);
    return i < 0 ? npos : size_t(i);
  }
  TPoint EndOf(TPoint pos, const TShemObj* o) const {
    if (!o || o->IsBlock()) return BlockEnd(pos, o);
    const auto& [sa, sb] = ends_[SlotOf(o)];
    return PositionOnSegment(pos, sa, sb);
  }

  IndexOf indexOf_;
  std::vector<std::pair<TPoint, TPoint>> ends_;
  std::vector<uint8_t> state_;
  // Work lists, kept between calls to spare their allocations.
  std::vector<const TShemObj*> stack_;
  std::vector<size_t> activated_;
};

// Both end points of links during one walk, exactly as SourcePoint and
// TargetPoint give them: directly for links on blocks, by a short recursion
// for short chains, through the memo for long ones, and through the
// diagram's own resolver (general) for links in a cycle.
template <class General, class IndexOf>
class TWalkEnds {
 public:
  TWalkEnds(General general, IndexOf indexOf, int count)
      : general_(general), indexOf_(indexOf), count_(count) {}
  void operator()(const TShemObj* link, TPoint& a, TPoint& b) {
    const Link& d = link->AsLink()->Data;
    const TShemObj* s = d.Source;
    const TShemObj* t = d.Target;
    if ((!s || s->IsBlock()) && (!t || t->IsBlock())) {
      a = BlockEnd(d.SourcePos, s);
      b = BlockEnd(d.TargetPos, t);
      return;
    }
    // Once a long chain has been met, the memo holds much of it: use it
    // rather than climbing the chain again.
    if (!memo_) {
      int budget = kChainBudget;
      if (ChainEnds(link, a, b, budget)) return;
      memo_ = std::make_unique<ChainMemo<IndexOf>>(indexOf_, count_);
    }
    if (!memo_->Resolve(link, a, b)) std::tie(a, b) = general_(link);
  }

 private:
  General general_;
  IndexOf indexOf_;
  int count_;
  std::unique_ptr<ChainMemo<IndexOf>> memo_;
};

// The walk the point and rectangle tests share: the entries from slot `start`
// on, in list order, a block's record to onBlock and a link's end points to
// onLink; the first entry for which one says yes is the answer.
template <class Ends, class OnBlock, class OnLink>
TShemObj* FirstInList(const std::vector<TShemObj*>& slots, size_t start, Ends& ends,
                      OnBlock onBlock, OnLink onLink) {
  for (size_t s = start; s < slots.size(); ++s) {
    PrefetchAhead(slots, s);
    TShemObj* e = slots[s];
    if (!e) continue;
    if (const TBlock* blk = e->AsBlock()) {
      if (onBlock(blk->Data)) return e;
    } else {
      TPoint a, b;
      ends(e, a, b);
      if (onLink(a, b)) return e;
    }
  }
  return nullptr;
}

}  // namespace

TShemObj* TShem::ObjectAt(TPoint p) const {
  TWalkEnds ends([this](const TShemObj* x) { return LinkEnds(x); },
                 [this](const TShemObj* x) { return IndexOfLive(x); }, Count());
  return FirstInList(
      slots_, 0, ends,
      [&](const Block& b) {
        return PointReach(b).Contains(p) && BlockUnderPoint(b, p, UserBlocks);
      },
      [&](TPoint a, TPoint b) { return LinkUnderPoint(a, b, p); });
}

TShemObj* TShem::NextInRect(const TShemObj* after, const TRect& rect) const {
  TRect r = rect;
  NormalizeRect(r);
  TWalkEnds ends([this](const TShemObj* x) { return LinkEnds(x); },
                 [this](const TShemObj* x) { return IndexOfLive(x); }, Count());
  // An entry that is not (or no longer) in the list starts the walk afresh.
  const size_t start = Contains(after) ? after->slot_ + 1 : 0;
  return FirstInList(
      slots_, start, ends,
      [&](const Block& b) { return TouchReach(b).Meets(r) && BlockTouchesRect(b, r, UserBlocks); },
      [&](TPoint a, TPoint b) {
        // A link whose box misses the rectangle cannot touch it.
        if (Max(a.X, b.X) < r.Left || Min(a.X, b.X) > r.Right || Max(a.Y, b.Y) < r.Top ||
            Min(a.Y, b.Y) > r.Bottom)
          return false;
        return LinkTouchesRect(a, b, r);
      });
}

void TShem::BorderPointAt(TPoint p, TShemObj*& obj, TPoint& q) const {
  TWalkEnds ends([this](const TShemObj* x) { return LinkEnds(x); },
                 [this](const TShemObj* x) { return IndexOfLive(x); }, Count());
  obj = FirstInList(
      slots_, 0, ends,
      [&](const Block& b) {
        return BorderReach(b).Contains(p) && BlockBorderPoint(b, p, UserBlocks, q);
      },
      [&](TPoint a, TPoint b) { return LinkBorderPoint(a, b, p, q); });
  if (!obj) q = p;
}

void TShem::HandleAt(TPoint p, TShemObj*& obj, int& handle) const {
  // Only blocks have handles, so no link end is read and nothing is worth
  // prefetching: measured, the prefetch made this walk slower.
  for (size_t s = 0; s < slots_.size(); ++s) {
    TShemObj* e = slots_[s];
    if (!e) continue;
    const TBlock* blk = e->AsBlock();
    if (!blk || !HandleReach(blk->Data).Contains(p)) continue;
    if (const int h = BlockHandleAt(blk->Data, p, UserBlocks)) {
      obj = e;
      handle = h;
      return;
    }
  }
  obj = nullptr;
  handle = 0;
}

namespace {
// PointDistance(p, q) <= 1 happens only within one unit on each axis.
bool WithinOne(TPoint p, TPoint q) {
  const int64_t dx = int64_t(p.X) - q.X, dy = int64_t(p.Y) - q.Y;
  if (dx < -1 || dx > 1 || dy < -1 || dy > 1) return false;
  return PointDistance(p, q) <= 1;
}
}  // namespace

void TShem::LinkEndAt(TPoint p, TShemObj*& obj, bool& isSource) const {
  TWalkEnds ends([this](const TShemObj* x) { return LinkEnds(x); },
                 [this](const TShemObj* x) { return IndexOfLive(x); }, Count());
  for (size_t s = 0; s < slots_.size(); ++s) {
    PrefetchAhead(slots_, s);
    TShemObj* e = slots_[s];
    if (!e || !e->IsLink()) continue;
    TPoint a, b;
    ends(e, a, b);
    // The source end first; a target end just as close takes its place.
    int taken = 0;
    if (WithinOne(p, a)) taken = 1;
    if (WithinOne(p, b)) taken = 2;
    if (!taken) continue;
    const Link& d = e->AsLink()->Data;
    const TShemObj* end = taken == 1 ? d.Source.Get() : d.Target.Get();
    // Ends at link points belong to a polyline and are moved with the point.
    if (end && end->IsPointBlock()) continue;
    obj = e;
    isSource = taken == 1;
    return;
  }
  obj = nullptr;
  isSource = true;
}
