#pragma once
// Small builders for diagrams in tests and benchmarks.

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/shem.h"

// A block record (not in any diagram) of the given kind over r.
inline Block MakeBlock(int kind, TRect r) {
  Block b;
  b.Kind = uint8_t(kind);
  b.SetRect(r);
  return b;
}

inline TShemObj* AddBlock(TShem& d, int kind, TRect r, const std::string& text = "") {
  auto b = std::make_unique<TBlock>();
  b->Data.Kind = uint8_t(kind);
  b->Data.Text = text;
  b->Data.SetRect(r);
  return d.GetObj(d.Add(std::move(b)));
}

inline TShemObj* AddPoint(TShem& d, TPoint p) { return d.GetObj(d.Add(TBlock::NewPoint(p))); }

inline TShemObj* AddLink(TShem& d, TShemObj* from, TShemObj* to, TPoint sp = PosCentre,
                         TPoint tp = PosCentre, uint8_t type = ltArrowTarget) {
  return d.GetObj(d.AddLink(std::make_unique<TLink>(type, sp, tp), from, to));
}

// A random diagram description: objects in list order, links naming their ends
// by list position. Links hang on blocks, Point blocks and (without cycles)
// other links; polylines run through chains of Point blocks.
struct GenObject {
  bool link = false;
  int kind = 0;     // blocks
  int source = -1;  // links
  int target = -1;
};

inline std::vector<GenObject> GenerateObjects(std::mt19937& rng, int n, double linkShare = 0.5,
                                              double pointShare = 0.2,
                                              double linkOnLinkShare = 0.15) {
  std::uniform_real_distribution<double> u(0, 1);
  // Build in creation order (ends always created earlier, so no cycles), then
  // shuffle the list order.
  std::vector<GenObject> made;
  std::vector<int> blocks, links;
  for (int i = 0; i < n; ++i) {
    GenObject g;
    if (blocks.size() >= 2 && u(rng) < linkShare) {
      g.link = true;
      auto pick = [&]() {
        if (!links.empty() && u(rng) < linkOnLinkShare) return links[rng() % links.size()];
        return blocks[rng() % blocks.size()];
      };
      g.source = pick();
      g.target = pick();
      links.push_back(i);
    } else {
      g.kind = u(rng) < pointShare ? bkPoint : int(rng() % 10 == 4 ? 0 : rng() % 10);
      blocks.push_back(i);
    }
    made.push_back(g);
  }
  std::vector<int> perm(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) perm[size_t(i)] = i;
  std::shuffle(perm.begin(), perm.end(), rng);
  std::vector<int> where(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) where[size_t(perm[size_t(i)])] = i;
  std::vector<GenObject> out(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    GenObject g = made[size_t(i)];
    if (g.link) {
      g.source = where[size_t(g.source)];
      g.target = where[size_t(g.target)];
    }
    out[size_t(where[size_t(i)])] = g;
  }
  return out;
}

// Materialises a description into a diagram; returns the objects by position.
inline std::vector<TShemObj*> BuildDiagram(TShem& d, const std::vector<GenObject>& objs) {
  std::vector<TShemObj*> made(objs.size(), nullptr);
  std::vector<std::unique_ptr<TLink>> pendingLinks(objs.size());
  // Add in list order; link ends are set once all objects exist.
  for (size_t i = 0; i < objs.size(); ++i) {
    if (objs[i].link) {
      made[i] = d.GetObj(d.Add(std::make_unique<TLink>(ltArrowTarget, PosCentre, PosCentre)));
    } else {
      const int32_t x = int32_t(i % 500) * 100, y = int32_t(i / 500) * 40;
      auto b =
          objs[i].kind == bkPoint ? TBlock::NewPoint({x + 40, y + 10}) : std::make_unique<TBlock>();
      if (objs[i].kind != bkPoint) {
        b->Data.Kind = uint8_t(objs[i].kind);
        b->Data.Text = "b" + std::to_string(i);
        b->Data.SetRect({x, y, x + 80, y + 20});
      }
      made[i] = d.GetObj(d.Add(std::move(b)));
    }
  }
  for (size_t i = 0; i < objs.size(); ++i) {
    if (!objs[i].link) continue;
    d.SetLinkEnd(made[i], LinkEnd::Source, made[size_t(objs[i].source)]);
    d.SetLinkEnd(made[i], LinkEnd::Target, made[size_t(objs[i].target)]);
  }
  return made;
}
