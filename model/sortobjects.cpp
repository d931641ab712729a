// TShem::SortObjects: all blocks before all links, and every link after the
// links it hangs on.
//
// The order is defined by a swap procedure in two phases. Blocks first: while
// some link has a block after it, the first such link is exchanged with the
// first block after it. Then links after links: from the first link on, passes
// exchange a link with the furthest link it hangs on, restarting after every
// exchange. Both phases are reproduced exactly, without their quadratic
// restarts:
// - The blocks-first phase only ever rotates the run of links that sits
//   between the blocks already moved forward and the next block: a block
//   passing the run sends the run's first link to its end. A queue replays
//   that in one sweep.
// - In the links phase an exchange at position i never disturbs positions before i
//   (their ends all lie before them), so a restarted pass finds nothing to do
//   until i again; resuming at i gives the same exchanges in the same order
//   (model/linkorder.cpp, which also avoids replaying long chains).
#include <array>
#include <deque>

#include "model/linkorder.h"
#include "model/shem.h"

void TShem::SortObjects() {
  Compact();
  const size_t n = slots_.size();

  // Blocks first.
  std::vector<TShemObj*> order;
  order.reserve(n);
  std::deque<TShemObj*> run;
  for (TShemObj* e : slots_) {
    if (e->IsLink()) {
      run.push_back(e);
    } else {
      order.push_back(e);
      if (!run.empty()) {
        run.push_back(run.front());
        run.pop_front();
      }
    }
  }
  const size_t first = order.size();
  order.insert(order.end(), run.begin(), run.end());
  slots_ = std::move(order);
  for (size_t i = 0; i < n; ++i) slots_[i]->slot_ = i;
  if (first == n) return;

  // Links after the links they hang on, worked on link numbers (their
  // positions now) and the numbers of their ends that are links.
  const size_t links = n - first;
  std::vector<std::array<int32_t, 2>> ends(links, {-1, -1});
  // The ends lie anywhere in memory: gather them first, then read them with
  // the next ones already on their way into the cache.
  std::vector<const TShemObj*> endObjs(2 * links);
  for (size_t k = 0; k < links; ++k) {
    const Link& d = slots_[first + k]->AsLink()->Data;
    endObjs[2 * k] = d.Source.Get();
    endObjs[2 * k + 1] = d.Target.Get();
  }
  constexpr size_t kAhead = 16;
  for (size_t e = 0; e < endObjs.size(); ++e) {
    if (e + kAhead < endObjs.size() && endObjs[e + kAhead]) __builtin_prefetch(endObjs[e + kAhead]);
    const TShemObj* end = endObjs[e];
    if (end && end->IsLink() && end->owner_ == this)
      ends[e / 2][e % 2] = int32_t(end->slot_ - first);
  }
  const std::vector<uint32_t> at = OrderLinksAfterLinks(ends);
  std::vector<TShemObj*> linkObjs(slots_.begin() + long(first), slots_.end());
  for (size_t i = 0; i < links; ++i) {
    slots_[first + i] = linkObjs[at[i]];
    slots_[first + i]->slot_ = first + i;
  }
}
