// The diagram's hit tests against plain walks that take the list index by
// index, resolve every link end through SourcePoint/TargetPoint and test every
// object without any early rejection: the answers must be identical on many
// generated diagrams, with odd blocks, links on links, cycles and holes left by
// deletions. Also checks that the reject boxes never hide a hit.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "model/hittest_shapes.h"
#include "model/userblocklist.h"
#include "testdiagrams.h"

namespace {

TShemObj* RefObjectAt(const TShem& d, TPoint p) {
  for (int i = 0; i < d.Count(); ++i) {
    TShemObj* e = d.GetObj(i);
    if (e->IsBlock() ? BlockUnderPoint(e->AsBlock()->Data, p, d.UserBlocks)
                     : LinkUnderPoint(d.SourcePoint(e), d.TargetPoint(e), p))
      return e;
  }
  return nullptr;
}

TShemObj* RefNextInRect(const TShem& d, const TShemObj* after, const TRect& r) {
  for (int i = d.IndexOf(after) + 1; i < d.Count(); ++i) {
    TShemObj* e = d.GetObj(i);
    if (e->IsBlock() ? BlockTouchesRect(e->AsBlock()->Data, r, d.UserBlocks)
                     : LinkTouchesRect(d.SourcePoint(e), d.TargetPoint(e), r))
      return e;
  }
  return nullptr;
}

std::pair<TShemObj*, TPoint> RefBorderPointAt(const TShem& d, TPoint p) {
  for (int i = 0; i < d.Count(); ++i) {
    TShemObj* e = d.GetObj(i);
    TPoint q;
    if (e->IsBlock() ? BlockBorderPoint(e->AsBlock()->Data, p, d.UserBlocks, q)
                     : LinkBorderPoint(d.SourcePoint(e), d.TargetPoint(e), p, q))
      return {e, q};
  }
  return {nullptr, p};
}

std::pair<TShemObj*, int> RefHandleAt(const TShem& d, TPoint p) {
  for (int i = 0; i < d.Count(); ++i) {
    TShemObj* e = d.GetObj(i);
    if (!e->IsBlock()) continue;
    if (const int h = BlockHandleAt(e->AsBlock()->Data, p, d.UserBlocks)) return {e, h};
  }
  return {nullptr, 0};
}

std::pair<TShemObj*, bool> RefLinkEndAt(const TShem& d, TPoint p) {
  for (int i = 0; i < d.Count(); ++i) {
    TShemObj* e = d.GetObj(i);
    if (!e->IsLink()) continue;
    int taken = 0;
    if (PointDistance(p, d.SourcePoint(e)) <= 1) taken = 1;
    if (PointDistance(p, d.TargetPoint(e)) <= 1) taken = 2;
    if (!taken) continue;
    const TShemObj* end =
        taken == 1 ? e->AsLink()->Data.Source.Get() : e->AsLink()->Data.Target.Get();
    if (end && end->IsPointBlock()) continue;
    return {e, taken == 1};
  }
  return {nullptr, true};
}

void FillUserBlocks(TUserBlockList& list) {
  auto add = [&list](uint32_t id, std::initializer_list<TPercentPoint> pts) {
    auto ub = std::make_unique<TUserBlock>();
    ub->Id1 = id;
    for (TPercentPoint p : pts) ub->AddPoint(p);
    list.Add(std::move(ub));
  };
  add(1, {{0, 0}, {30, 0}, {30, 70}, {70, 70}, {70, 0}, {100, 0}, {100, 100}, {0, 100}});
  add(2, {{50, 0}, {79, 90}, {5, 35}, {95, 35}, {21, 90}});
  add(3, {{0, 0}, {255, 10}, {120, 255}, {40, 3}});  // far beyond the rectangle, steep edges
  add(4, {});
}

// A block of any kind and size: ordinary, thin, flat, tiny, reversed.
Block RandomBlock(std::mt19937& rng, int32_t x, int32_t y) {
  Block b;
  const int k = int(rng() % 22);
  b.Kind =
      uint8_t(k < 10 ? k : (k < 15 ? k : 15 + (k - 15) % 6));  // up to 20: kinds 19, 20 are missing
  auto extent = [&rng]() -> int32_t {
    switch (rng() % 6) {
      case 0:
        return int32_t(rng() % 4);
      case 1:
        return int32_t(rng() % 12);
      case 2:
        return int32_t(rng() % 400);
      default:
        return int32_t(20 + rng() % 100);
    }
  };
  int32_t w = extent(), h = extent();
  if (rng() % 8 == 0) w = -w;
  if (rng() % 8 == 0) h = -h;
  if (b.Kind == bkPoint) w = h = 2;
  b.SetRect({x, y, x + w, y + h});
  return b;
}

// A diagram of n generated objects whose blocks are reshaped at random, with
// odd attachment positions, a few link cycles and some deletions.
void BuildOddDiagram(std::mt19937& rng, TShem& d, int n) {
  const std::vector<TShemObj*> made = BuildDiagram(d, GenerateObjects(rng, n, 0.5, 0.2, 0.2));
  std::vector<TShemObj*> links;
  for (TShemObj* o : made) {
    if (TBlock* b = o->AsBlock()) {
      if (b->Data.Kind == bkPoint || rng() % 3 == 0) continue;
      b->Data = RandomBlock(rng, b->Data.TopLeft.X, b->Data.TopLeft.Y);
    } else {
      links.push_back(o);
      Link& l = o->AsLink()->Data;
      if (rng() % 2) l.SourcePos = {int32_t(rng() % 65536), int32_t(rng() % 65536)};
      if (rng() % 2) l.TargetPos = {int32_t(rng() % 65536), int32_t(rng() % 65536)};
      if (rng() % 40 == 0) l.TargetPos = {70000, -300};
    }
  }
  // Links re-attached to other links, as the link tools do; the diagram
  // refuses the ones that would hang links on each other in a cycle.
  for (int i = 0; i < 3 && links.size() > 2; ++i) {
    TShemObj* a = links[rng() % links.size()];
    TShemObj* b = links[rng() % links.size()];
    if (a == b || !d.Contains(a) || !d.Contains(b)) continue;
    if (d.SetLinkEnd(a, LinkEnd::Target, b)) {
      EXPECT_FALSE(d.SetLinkEnd(b, LinkEnd::Source, a));
    }
  }
  for (int i = 0; i < n / 40 && d.Count() > 0; ++i) d.Delete(int(rng() % uint32_t(d.Count())));
}

// A query point near a random object, or anywhere.
TPoint NearSomething(std::mt19937& rng, const TShem& d) {
  auto jitter = [&rng](int32_t v, int spread) {
    return v + int32_t(rng() % uint32_t(2 * spread + 1)) - spread;
  };
  if (d.Count() == 0 || rng() % 5 == 0)
    return {int32_t(rng() % 50100) - 50, int32_t(rng() % 1000) - 50};
  const TShemObj* o = d.GetObj(int(rng() % uint32_t(d.Count())));
  if (const TBlock* b = o->AsBlock()) {
    const TRect r = b->Data.Rect();
    const TPoint c = rng() % 2 ? r.TopLeft() : r.BottomRight();
    return {jitter(c.X, 40), jitter(c.Y, 40)};
  }
  const TPoint a = rng() % 2 ? d.SourcePoint(o) : d.TargetPoint(o);
  return {jitter(a.X, 4), jitter(a.Y, 4)};
}

}  // namespace

TEST(HitTestSameness, FastWalksAgreeWithPlainWalks) {
  TUserBlockList list;
  FillUserBlocks(list);
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    TShem d;
    d.UserBlocks = seed % 4 == 0 ? nullptr : &list;
    BuildOddDiagram(rng, d, 400 + int(seed) * 20);
    ASSERT_TRUE(d.CheckIntegrity());
    for (int k = 0; k < 300; ++k) {
      const TPoint p = NearSomething(rng, d);
      ASSERT_EQ(d.ObjectAt(p), RefObjectAt(d, p)) << p.X << "," << p.Y;

      TShemObj* obj = nullptr;
      TPoint q{};
      d.BorderPointAt(p, obj, q);
      const auto [refObj, refQ] = RefBorderPointAt(d, p);
      ASSERT_EQ(obj, refObj) << p.X << "," << p.Y;
      if (obj) {
        ASSERT_EQ(q, refQ) << p.X << "," << p.Y;
      }

      int handle = -1;
      d.HandleAt(p, obj, handle);
      ASSERT_EQ(std::make_pair(obj, handle), RefHandleAt(d, p)) << p.X << "," << p.Y;

      bool isSource = false;
      d.LinkEndAt(p, obj, isSource);
      ASSERT_EQ(std::make_pair(obj, isSource), RefLinkEndAt(d, p)) << p.X << "," << p.Y;
    }
    for (int k = 0; k < 12; ++k) {
      const TPoint a = NearSomething(rng, d);
      const int32_t w = int32_t(rng() % (k % 3 == 0 ? 3000 : 120)), h = int32_t(rng() % 200);
      const TRect r{a.X, a.Y, a.X + w, a.Y + h};
      const TShemObj* fast = nullptr;
      const TShemObj* ref = nullptr;
      int steps = 0;
      do {
        fast = d.NextInRect(fast, r);
        ref = RefNextInRect(d, ref, r);
        ASSERT_EQ(fast, ref) << "step " << steps;
        ++steps;
      } while (fast);
    }
  }
}

TEST(HitTestSameness, RejectBoxesNeverHideAHit) {
  TUserBlockList list;
  FillUserBlocks(list);
  std::mt19937 rng(77);
  for (int n = 0; n < 3000; ++n) {
    const Block b = RandomBlock(rng, int32_t(rng() % 200), int32_t(rng() % 200));
    const THitBox point = PointReach(b), border = BorderReach(b), handle = HandleReach(b),
                  touch = TouchReach(b);
    const TRect r = b.Rect();
    const int32_t x0 = Min(r.Left, r.Right), y0 = Min(r.Top, r.Bottom);
    const int32_t x1 = Max(r.Left, r.Right), y1 = Max(r.Top, r.Bottom);
    for (int k = 0; k < 200; ++k) {
      // Mostly around the block; steep extrapolated edges reach far on Y.
      const int32_t x = x0 - 12 + int32_t(rng() % uint32_t(3 * (x1 - x0) + 30));
      const int32_t y = y0 - 3 * (y1 - y0) - 20 + int32_t(rng() % uint32_t(7 * (y1 - y0) + 40));
      const TPoint p{x, y};
      TPoint q;
      if (!point.Contains(p)) {
        ASSERT_FALSE(BlockUnderPoint(b, p, &list)) << int(b.Kind) << " " << x << "," << y;
      }
      if (!border.Contains(p)) {
        ASSERT_FALSE(BlockBorderPoint(b, p, &list, q)) << int(b.Kind) << " " << x << "," << y;
      }
      if (!handle.Contains(p)) {
        ASSERT_EQ(BlockHandleAt(b, p, &list), 0) << int(b.Kind);
      }
      const TRect rr{x, y, x + int32_t(rng() % 30), y + int32_t(rng() % 30)};
      if (!touch.Meets(rr)) {
        ASSERT_FALSE(BlockTouchesRect(b, rr, &list)) << int(b.Kind);
      }
    }
  }
}

TEST(HitTestSameness, LongChainsOfLinksOnLinks) {
  // Each link starts at the middle of the one before it; a second chain
  // hangs on two links that hang on each other.
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 40, 20});
  TShemObj* b = AddBlock(d, bkSquare, {3000, 2000, 3040, 2020});
  TShemObj* prev = AddLink(d, a, b, {65535, 65535}, {0, 0});
  std::vector<TShemObj*> chain{prev};
  for (int i = 0; i < 250; ++i) {
    prev = AddLink(d, prev, b, {40000 + (i * 7919) % 20000, 0}, {i % 2 ? 0 : 65535, 32767});
    chain.push_back(prev);
  }
  TShemObj* c1 = AddLink(d, a, b);
  TShemObj* c2 = AddLink(d, c1, a);
  EXPECT_FALSE(d.SetLinkEnd(c1, LinkEnd::Target, c2));  // would close a cycle
  prev = c2;
  for (int i = 0; i < 100; ++i) prev = AddLink(d, prev, a, {20000, 0}, {65535, 0});

  std::mt19937 rng(5);
  for (int k = 0; k < 60; ++k) {
    const TShemObj* o = chain[rng() % chain.size()];
    const TPoint s = d.SourcePoint(o);
    const TPoint p{s.X + int32_t(rng() % 7) - 3, s.Y + int32_t(rng() % 7) - 3};
    ASSERT_EQ(d.ObjectAt(p), RefObjectAt(d, p));
    TShemObj* obj = nullptr;
    TPoint q{};
    d.BorderPointAt(p, obj, q);
    const auto [refObj, refQ] = RefBorderPointAt(d, p);
    ASSERT_EQ(obj, refObj);
    bool isSource = false;
    d.LinkEndAt(p, obj, isSource);
    ASSERT_EQ(std::make_pair(obj, isSource), RefLinkEndAt(d, p));
  }
  for (const TRect& r :
       {TRect{0, 0, 3100, 2100}, TRect{1000, 500, 1400, 800}, TRect{-5, -5, 5, 5}}) {
    const TShemObj* fast = nullptr;
    const TShemObj* ref = nullptr;
    do {
      fast = d.NextInRect(fast, r);
      ref = RefNextInRect(d, ref, r);
      ASSERT_EQ(fast, ref);
    } while (fast);
  }
}
