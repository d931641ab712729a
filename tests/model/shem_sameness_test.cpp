// The diagram's fast operations against the plain list algorithms they must
// agree with: deletion cascades, NextLinkTo and SortObjects, on many generated
// diagrams.
#include <gtest/gtest.h>

#include <functional>
#include <unordered_map>

#include "testdiagrams.h"

namespace {
// The literal algorithms, on a plain list of object numbers.
struct RefList {
  std::vector<GenObject> objs;  // by object number
  std::vector<int> list;        // object numbers in list order

  bool IsLink(int o) const { return objs[size_t(o)].link; }
  int IndexOf(int o) const {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i] == o) return int(i);
    return -1;
  }
  int NextLinkTo(int after, int obj) const {
    const int start = after < 0 ? 0 : IndexOf(after) + 1;
    for (size_t i = size_t(start); i < list.size(); ++i) {
      const GenObject& g = objs[size_t(list[i])];
      if (g.link && (g.source == obj || g.target == obj)) return int(i);
    }
    return -1;
  }
  void DeleteObject(int o) {
    list.erase(list.begin() + IndexOf(o));
    for (int i; (i = NextLinkTo(-1, o)) >= 0;) DeleteObject(list[size_t(i)]);
    if (IsLink(o)) {
      for (int end : {objs[size_t(o)].source, objs[size_t(o)].target}) {
        if (!IsLink(end) && objs[size_t(end)].kind == bkPoint && IndexOf(end) >= 0)
          DeleteObject(end);
      }
    }
  }
  void Sort() {
    for (;;) {
      bool swapped = false;
      for (size_t i = 0; i < list.size() && !swapped; ++i) {
        if (!IsLink(list[i])) continue;
        for (size_t j = i + 1; j < list.size(); ++j) {
          if (!IsLink(list[j])) {
            std::swap(list[i], list[j]);
            swapped = true;
            break;
          }
        }
      }
      if (!swapped) break;
    }
    size_t first = 0;
    while (first < list.size() && !IsLink(list[first])) ++first;
    if (first == list.size()) return;
    for (bool again = true; again;) {
      again = false;
      for (size_t i = first; i < list.size(); ++i) {
        if (!IsLink(list[i])) continue;
        const GenObject& g = objs[size_t(list[i])];
        int m = 0;
        for (int end : {g.source, g.target})
          if (IsLink(end)) m = std::max(m, IndexOf(end));
        if (int(i) < m) {
          std::swap(list[i], list[size_t(m)]);
          again = true;
          break;
        }
      }
    }
  }
};

struct Pair {
  TShem shem;
  std::vector<TShemObj*> made;
  std::unordered_map<const TShemObj*, int> number;
  RefList ref;

  explicit Pair(const std::vector<GenObject>& objs) {
    made = BuildDiagram(shem, objs);
    for (size_t i = 0; i < made.size(); ++i) number[made[i]] = int(i);
    ref.objs = objs;
    for (size_t i = 0; i < objs.size(); ++i) ref.list.push_back(int(i));
  }
  std::vector<int> Order() const {
    std::vector<int> out;
    for (int i = 0; i < shem.Count(); ++i) out.push_back(number.at(shem.GetObj(i)));
    return out;
  }
};
}  // namespace

TEST(DiagramSameness, SortObjectsMatchesTheSwapProcedure) {
  std::mt19937 rng(7);
  for (int round = 0; round < 600; ++round) {
    const int n = 2 + int(rng() % 60);
    const double linkShare = (round % 3 == 0) ? 0.8 : 0.5;
    const double onLinks = (round % 2 == 0) ? 0.6 : 0.1;
    Pair p(GenerateObjects(rng, n, linkShare, 0.2, onLinks));
    if (round % 5 == 0) {
      // Worst case for the first step: all links before all blocks.
      std::stable_partition(p.ref.list.begin(), p.ref.list.end(),
                            [&](int o) { return p.ref.IsLink(o); });
      TShem reordered;
      // Rebuild the diagram in that order.
      std::vector<GenObject> objs;
      std::vector<int> newPos(static_cast<size_t>(n));
      for (size_t i = 0; i < p.ref.list.size(); ++i) newPos[size_t(p.ref.list[i])] = int(i);
      for (int o : p.ref.list) {
        GenObject g = p.ref.objs[size_t(o)];
        if (g.link) {
          g.source = newPos[size_t(g.source)];
          g.target = newPos[size_t(g.target)];
        }
        objs.push_back(g);
      }
      Pair q(objs);
      q.shem.SortObjects();
      q.ref.Sort();
      ASSERT_EQ(q.Order(), q.ref.list) << "round " << round;
      continue;
    }
    p.shem.SortObjects();
    p.ref.Sort();
    ASSERT_EQ(p.Order(), p.ref.list) << "round " << round;
    ASSERT_TRUE(p.shem.CheckIntegrity());
  }
}

TEST(DiagramSameness, SortObjectsOnChainsOfLinksThroughLinks) {
  std::mt19937 rng(11);
  for (int round = 0; round < 100; ++round) {
    // Two blocks, then a chain of links each hanging on the one before.
    const int k = 1 + int(rng() % 40);
    std::vector<GenObject> made;
    made.push_back({false, bkSquare, -1, -1});
    made.push_back({false, bkSquare, -1, -1});
    for (int i = 0; i < k; ++i)
      made.push_back({true, 0, i == 0 ? 0 : int(made.size()) - 1, int(rng() % 2)});
    std::vector<int> perm(made.size());
    for (size_t i = 0; i < perm.size(); ++i) perm[i] = int(i);
    std::shuffle(perm.begin(), perm.end(), rng);
    std::vector<int> where(made.size());
    for (size_t i = 0; i < perm.size(); ++i) where[size_t(perm[i])] = int(i);
    std::vector<GenObject> objs(made.size());
    for (size_t i = 0; i < made.size(); ++i) {
      GenObject g = made[i];
      if (g.link) {
        g.source = where[size_t(g.source)];
        g.target = where[size_t(g.target)];
      }
      objs[size_t(where[i])] = g;
    }
    Pair p(objs);
    p.shem.SortObjects();
    p.ref.Sort();
    ASSERT_EQ(p.Order(), p.ref.list) << "round " << round;
  }
}

TEST(DiagramSameness, DeletionCascadesAndNextLinkToMatchTheListWalk) {
  std::mt19937 rng(3);
  for (int round = 0; round < 300; ++round) {
    const int n = 5 + int(rng() % 80);
    Pair p(GenerateObjects(rng, n, 0.55, 0.35, 0.25));
    for (int step = 0; step < 6 && p.shem.Count() > 0; ++step) {
      // NextLinkTo from the start and after every link, for a few objects.
      for (int probe = 0; probe < 4; ++probe) {
        const int obj = p.ref.list[rng() % p.ref.list.size()];
        int refAfter = -1;
        const TShemObj* after = nullptr;
        for (;;) {
          const int r = p.ref.NextLinkTo(refAfter, obj);
          const int f = p.shem.NextLinkTo(after, p.made[size_t(obj)]);
          ASSERT_EQ(f, r);
          if (r < 0) break;
          refAfter = p.ref.list[size_t(r)];
          after = p.shem.GetObj(f);
        }
      }
      const int victim = p.ref.list[rng() % p.ref.list.size()];
      p.ref.DeleteObject(victim);
      if (step % 2 == 0)
        p.shem.Remove(p.made[size_t(victim)]);
      else
        p.shem.Delete(p.shem.IndexOf(p.made[size_t(victim)]));
      ASSERT_EQ(p.Order(), p.ref.list) << "round " << round << " step " << step;
      ASSERT_TRUE(p.shem.CheckIntegrity());
    }
  }
}
