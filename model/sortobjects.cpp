// TShem::SortObjects: all blocks before all links, and every link after the
// links it hangs on.
//
// The order is defined by a swap procedure: (1) while some link has a block
// after it, the first such link is exchanged with the first block after it;
// (2) from the first link on, passes that exchange a link with the furthest
// link it hangs on, restarting after every exchange. Both steps are reproduced
// exactly, without their quadratic restarts:
// - Step 1 only ever rotates the run of links that sits between the blocks
//   already moved forward and the next block: a block passing the run sends
//   the run's first link to its end. A queue replays that in one sweep.
// - In step 2 an exchange at position i never disturbs positions before i
//   (their ends all lie before them), so a restarted pass finds nothing to do
//   until i again; resuming at i gives the same exchanges in the same order.
#include <deque>

#include "model/shem.h"

void TShem::SortObjects() {
  Compact();
  const size_t n = slots_.size();

  // Step 1.
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

  // Step 2. m is the larger position of the link's ends that are links (0 if
  // neither is); the link at i is exchanged with the one at m while i < m.
  auto furthestLinkEnd = [this](const TShemObj* e) -> size_t {
    size_t m = 0;
    const Link& d = e->AsLink()->Data;
    for (const TShemObj* end : {d.Source.Get(), d.Target.Get()})
      if (end && end->IsLink() && end->owner_ == this && end->slot_ > m) m = end->slot_;
    return m;
  };
  for (size_t i = first; i < n; ++i) {
    // Without a cycle each exchange at i brings in a link not seen at i
    // before, so n exchanges bound the loop; a cycle stops there too.
    for (size_t guard = 0; guard < n; ++guard) {
      const size_t m = furthestLinkEnd(slots_[i]);
      if (m <= i) break;
      std::swap(slots_[i], slots_[m]);
      slots_[i]->slot_ = i;
      slots_[m]->slot_ = m;
    }
  }
}
