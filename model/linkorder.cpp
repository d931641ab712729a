// Ordering links after the links they hang on.
//
// The exchange procedure: for each position i from the first link on, while
// the link at i has an end that is a link at a position m > i (m the largest
// such), exchange the links at i and m. Positions before i never change again.
//
// Seen from the positions, the link that ends up at i is found by a chase:
// from the link at i, follow its furthest link end, and from there the next,
// until a link whose link ends all lie before i; every link on the way moves
// into the position of the one it hangs on, and the last one lands at i.
//
// For a forest (every link hangs on at most one link) the chase always runs
// from a link up to the top of its tree, which then takes position i. Let
// every link hold its current position as a token: the top of the tree that
// holds token i is placed at i, and along the chase every link takes the
// token of the link above it. Tokens only move down the tree along such
// paths, so with the trees cut into heavy paths (each a sequence of tokens in
// depth order, kept in an implicit treap) a chase is a few treap operations
// per heavy path it crosses: remove one token at its lower end and push the
// one coming from above at its head. The top of every heavy path that has
// been placed already is simply cut off by a counter.
#include "model/linkorder.h"

#include <algorithm>
#include <random>

namespace {

// The literal chase, with its exchanges done one by one.
std::vector<uint32_t> ChaseOrder(const std::vector<std::array<int32_t, 2>>& ends) {
  const size_t n = ends.size();
  std::vector<uint32_t> at(n), pos(n);
  for (size_t k = 0; k < n; ++k) at[k] = pos[k] = uint32_t(k);
  for (size_t i = 0; i < n; ++i) {
    // Without a cycle each exchange at i brings in a link not seen at i
    // before, so n exchanges bound the loop; a cycle stops there too.
    for (size_t guard = 0; guard < n; ++guard) {
      int64_t m = -1;
      for (int32_t x : ends[at[i]])
        if (x >= 0 && int64_t(pos[size_t(x)]) > m) m = pos[size_t(x)];
      if (m <= int64_t(i)) break;
      std::swap(at[i], at[size_t(m)]);
      pos[at[i]] = uint32_t(i);
      pos[at[size_t(m)]] = uint32_t(m);
    }
  }
  return at;
}

// Implicit treaps over token numbers, all nodes in flat arrays.
struct Treaps {
  std::vector<int32_t> left, right, parent, size;
  std::vector<uint32_t> prio;

  explicit Treaps(size_t n) : left(n, -1), right(n, -1), parent(n, -1), size(n, 1), prio(n) {
    std::mt19937 rng(12345);
    for (auto& p : prio) p = rng();
  }
  int32_t Size(int32_t x) const { return x < 0 ? 0 : size[size_t(x)]; }
  void Pull(int32_t x) {
    size[size_t(x)] = 1 + Size(left[size_t(x)]) + Size(right[size_t(x)]);
    if (left[size_t(x)] >= 0) parent[size_t(left[size_t(x)])] = x;
    if (right[size_t(x)] >= 0) parent[size_t(right[size_t(x)])] = x;
  }
  int32_t Merge(int32_t a, int32_t b) {
    if (a < 0) return b;
    if (b < 0) return a;
    if (prio[size_t(a)] > prio[size_t(b)]) {
      right[size_t(a)] = Merge(right[size_t(a)], b);
      Pull(a);
      return a;
    }
    left[size_t(b)] = Merge(a, left[size_t(b)]);
    Pull(b);
    return b;
  }
  // Splits t into its first k elements and the rest.
  void Split(int32_t t, int32_t k, int32_t& a, int32_t& b) {
    if (t < 0) {
      a = b = -1;
      return;
    }
    if (Size(left[size_t(t)]) < k) {
      Split(right[size_t(t)], k - Size(left[size_t(t)]) - 1, right[size_t(t)], b);
      Pull(t);
      a = t;
    } else {
      Split(left[size_t(t)], k, a, left[size_t(t)]);
      Pull(t);
      b = t;
    }
  }
  // Removes the element at index k of root, returns it as a lone node.
  int32_t TakeAt(int32_t& root, int32_t k) {
    int32_t a, b, m, c;
    Split(root, k, a, b);
    Split(b, 1, m, c);
    root = Merge(a, c);
    if (root >= 0) parent[size_t(root)] = -1;
    left[size_t(m)] = right[size_t(m)] = parent[size_t(m)] = -1;
    size[size_t(m)] = 1;
    return m;
  }
  void PushBack(int32_t& root, int32_t node) {
    root = Merge(root, node);
    parent[size_t(root)] = -1;
  }
  void PushFront(int32_t& root, int32_t node) {
    root = Merge(node, root);
    parent[size_t(root)] = -1;
  }
  // Index of x within its treap.
  int32_t IndexOf(int32_t x) const {
    int32_t idx = Size(left[size_t(x)]);
    for (int32_t p = parent[size_t(x)]; p >= 0; x = p, p = parent[size_t(p)])
      if (right[size_t(p)] == x) idx += Size(left[size_t(p)]) + 1;
    return idx;
  }
};

// Returns false when the links do not form a forest (a link with two link
// ends, or a cycle); order is then left alone.
bool ForestOrder(const std::vector<std::array<int32_t, 2>>& ends, int deepChains,
                 std::vector<uint32_t>& order) {
  const size_t n = ends.size();
  std::vector<int32_t> up(n, -1);
  for (size_t k = 0; k < n; ++k) {
    const auto& e = ends[k];
    if (e[0] >= 0 && e[1] >= 0 && e[0] != e[1]) return false;
    up[k] = e[0] >= 0 ? e[0] : e[1];
    if (up[k] == int32_t(k)) return false;
  }
  // Depths (and a cycle check): walk up from every link, memoising.
  std::vector<int32_t> depth(n, -1);
  std::vector<int32_t> trail;
  int32_t deepest = 0;
  for (size_t k = 0; k < n; ++k) {
    int32_t x = int32_t(k);
    trail.clear();
    while (x >= 0 && depth[size_t(x)] < 0) {
      if (trail.size() > n) return false;  // a cycle
      depth[size_t(x)] = -2;               // on the trail
      trail.push_back(x);
      x = up[size_t(x)];
      if (x >= 0 && depth[size_t(x)] == -2) return false;
    }
    int32_t d = x < 0 ? -1 : depth[size_t(x)];
    for (auto it = trail.rbegin(); it != trail.rend(); ++it) depth[size_t(*it)] = ++d;
    deepest = std::max(deepest, d);
  }
  if (deepest <= deepChains) return false;  // the plain chase is cheap there

  // Subtree sizes (children after parents in depth order), heavy children.
  std::vector<int32_t> byDepth(n);
  for (size_t k = 0; k < n; ++k) byDepth[k] = int32_t(k);
  std::stable_sort(byDepth.begin(), byDepth.end(),
                   [&](int32_t a, int32_t b) { return depth[size_t(a)] < depth[size_t(b)]; });
  std::vector<int32_t> sub(n, 1), heavy(n, -1);
  for (auto it = byDepth.rbegin(); it != byDepth.rend(); ++it) {
    const int32_t x = *it, p = up[size_t(x)];
    if (p < 0) continue;
    sub[size_t(p)] += sub[size_t(x)];
    if (heavy[size_t(p)] < 0 || sub[size_t(x)] > sub[size_t(heavy[size_t(p)])] ||
        (sub[size_t(x)] == sub[size_t(heavy[size_t(p)])] && x < heavy[size_t(p)]))
      heavy[size_t(p)] = x;
  }
  // Heavy paths, each listed from its head down.
  std::vector<int32_t> pathOf(n, -1), indexInPath(n, -1);
  std::vector<std::vector<int32_t>> paths;
  for (int32_t x : byDepth) {
    if (pathOf[size_t(x)] >= 0) continue;
    const int32_t id = int32_t(paths.size());
    paths.emplace_back();
    for (int32_t y = x; y >= 0; y = heavy[size_t(y)]) {
      pathOf[size_t(y)] = id;
      indexInPath[size_t(y)] = int32_t(paths.back().size());
      paths.back().push_back(y);
    }
  }
  // Token k starts on link k. Each path's treap holds the tokens of its
  // links that are not placed yet, in depth order; placed[p] counts the links
  // cut off its top.
  Treaps tr(n);
  std::vector<int32_t> root(paths.size(), -1), placed(paths.size(), 0), tokenPath(n);
  for (size_t p = 0; p < paths.size(); ++p)
    for (int32_t x : paths[p]) {
      tr.PushBack(root[p], x);
      tokenPath[size_t(x)] = int32_t(p);
    }

  order.assign(n, 0);
  struct Segment {
    int32_t path, last;
  };
  std::vector<Segment> segs;
  for (size_t t = 0; t < n; ++t) {
    // The link holding token t, then up to the top of its tree.
    int32_t p = tokenPath[t];
    int32_t idx = placed[size_t(p)] + tr.IndexOf(int32_t(t));
    segs.clear();
    int32_t top;
    for (;;) {
      segs.push_back({p, idx - placed[size_t(p)]});
      if (placed[size_t(p)] > 0) {
        top = paths[size_t(p)][size_t(placed[size_t(p)])];
        break;
      }
      const int32_t head = paths[size_t(p)][0], q = up[size_t(head)];
      if (q < 0 || placed[size_t(pathOf[size_t(q)])] > indexInPath[size_t(q)]) {
        top = head;
        break;
      }
      p = pathOf[size_t(q)];
      idx = indexInPath[size_t(q)];
    }
    order[t] = uint32_t(top);
    // Shift the tokens down the chase: the top segment loses its head link
    // (placed now); each segment gives its lowest token to the one below.
    int32_t moving = tr.TakeAt(root[size_t(segs.back().path)], segs.back().last);
    ++placed[size_t(segs.back().path)];
    for (size_t s = segs.size() - 1; s-- > 0;) {
      const int32_t out = tr.TakeAt(root[size_t(segs[s].path)], segs[s].last);
      tr.PushFront(root[size_t(segs[s].path)], moving);
      tokenPath[size_t(moving)] = segs[s].path;
      moving = out;
    }
    // `moving` is token t itself, which leaves with the placed link.
  }
  return true;
}
}  // namespace

std::vector<uint32_t> OrderLinksAfterLinks(const std::vector<std::array<int32_t, 2>>& ends,
                                           int deepChains) {
  std::vector<uint32_t> order;
  if (ForestOrder(ends, deepChains, order)) return order;
  return ChaseOrder(ends);
}
