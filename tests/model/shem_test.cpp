#include <gtest/gtest.h>

#include <type_traits>

#include "model/listview.h"
#include "testdiagrams.h"

namespace {
struct RecordingListView : ListView {
  struct Entry {
    std::string caption;
    int image;
    std::string pos, size;
    TShemObj* obj;
  };
  std::vector<Entry> entries;
  int brackets = 0;
  bool visible = true;
  void BeginUpdate() override { ++brackets; }
  void EndUpdate() override { --brackets; }
  void Clear() override { entries.clear(); }
  void Append(const std::string& c, int i, const std::string& p, const std::string& s,
              TShemObj* o) override {
    entries.push_back({c, i, p, s, o});
  }
  bool Visible() const override { return visible; }
};
}  // namespace

TEST(Diagram, DeletingCascadesThroughLinksAndPointChains) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20});
  TShemObj* b = AddBlock(d, bkSquare, {0, 100, 80, 120});
  TShemObj* c = AddBlock(d, bkSquare, {200, 100, 280, 120});
  TShemObj* p1 = AddPoint(d, {40, 60});
  TShemObj* p2 = AddPoint(d, {240, 60});
  AddLink(d, a, b);   // direct link
  AddLink(d, a, p1);  // polyline a - p1 - p2 - c
  AddLink(d, p1, p2);
  AddLink(d, p2, c);
  d.Remove(a);
  ASSERT_EQ(d.Count(), 2);
  EXPECT_EQ(d.GetObj(0), b);
  EXPECT_EQ(d.GetObj(1), c);
  EXPECT_TRUE(d.CheckIntegrity());

  // One segment of a three-segment polyline takes the whole chain with it.
  TShemObj* x = AddBlock(d, bkSquare, {0, 200, 80, 220});
  TShemObj* q1 = AddPoint(d, {10, 300});
  TShemObj* q2 = AddPoint(d, {20, 300});
  AddLink(d, x, q1);
  TShemObj* mid = AddLink(d, q1, q2);
  AddLink(d, q2, b);
  d.Remove(mid);
  EXPECT_EQ(d.Count(), 3);
  EXPECT_EQ(d.IndexOf(x), 2);
  EXPECT_EQ(d.IndexOf(q1), -1);

  // A link that is the target of another link takes that link along.
  TShem e;
  TShemObj* e1 = AddBlock(e, bkSquare, {0, 0, 10, 10});
  TShemObj* e2 = AddBlock(e, bkSquare, {20, 0, 30, 10});
  TShemObj* base = AddLink(e, e1, e2);
  AddLink(e, e1, base);
  e.Remove(base);
  EXPECT_EQ(e.Count(), 2);
  EXPECT_THROW(e.Delete(2), EListIndexError);
  EXPECT_THROW(e.Delete(-1), EListIndexError);
}

TEST(Diagram, NextLinkToWalksAttachedLinksInListOrder) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20});
  TShemObj* b = AddBlock(d, bkSquare, {0, 100, 80, 120});
  TShemObj* l1 = AddLink(d, a, b);
  AddLink(d, b, b);
  TShemObj* l3 = AddLink(d, b, a);
  EXPECT_EQ(d.NextLinkTo(nullptr, a), 2);
  EXPECT_EQ(d.NextLinkTo(l1, a), 4);
  EXPECT_EQ(d.NextLinkTo(l3, a), -1);
  EXPECT_EQ(d.NextLinkTo(nullptr, l1), -1);
  EXPECT_EQ(d.LinksOf(b).size(), 3u);
  // Reattaching an end through the diagram keeps the walk right.
  EXPECT_TRUE(d.SetLinkEnd(l1, LinkEnd::Target, a));
  EXPECT_EQ(d.LinksOf(b).size(), 2u);
  EXPECT_EQ(d.LinksOf(a).size(), 2u);
  EXPECT_TRUE(d.CheckIntegrity());
}

TEST(Diagram, LinkEndPointsFollowBlocksAndLinks) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 0, 0});
  TShemObj* b = AddBlock(d, bkSquare, {100, 0, 100, 0});
  TShemObj* ab = AddLink(d, a, b, {0, 0}, {0, 0});
  TShemObj* c = AddBlock(d, bkSquare, {40, 40, 60, 60});
  TShemObj* hang = AddLink(d, c, ab, {32767, 0}, {32767, 12345});
  EXPECT_EQ(d.TargetPoint(hang), (TPoint{50, 0}));
  b->AsBlock()->Data.SetRect({200, 0, 200, 0});
  EXPECT_EQ(d.TargetPoint(hang), (TPoint{100, 0}));
  EXPECT_EQ(d.SourcePoint(hang), (TPoint{50, 40}));
  EXPECT_EQ(d.LinkEndPoint({65535, 0}, hang), (TPoint{100, 0}));

  // A deep chain of links hanging on links needs no recursion.
  TShemObj* prev = ab;
  for (int i = 0; i < 200000; ++i) prev = AddLink(d, a, prev, {0, 0}, {65535, 0});
  EXPECT_EQ(d.TargetPoint(prev), (TPoint{200, 0}));
}

TEST(Diagram, FindAndReplaceText) {
  TShem d;
  AddBlock(d, bkSquare, {0, 0, 10, 10}, "nothing");
  TShemObj* b = AddBlock(d, bkSquare, {0, 0, 10, 10}, "xABCx");
  TShemObj* c =
      AddBlock(d, bkSquare, {0, 0, 10, 10}, "\xC0\xE0 abc");  // Cyrillic capital and small A
  EXPECT_EQ(d.FindText(nullptr, "abc", false), b);
  EXPECT_EQ(d.FindText(nullptr, "abc", true), c);
  EXPECT_EQ(d.FindText(b, "abc", false), c);
  EXPECT_EQ(d.FindText(c, "abc", false), nullptr);
  EXPECT_EQ(d.FindText(nullptr, "", false), nullptr);
  EXPECT_EQ(d.FindText(nullptr, "\xE0\xE0", false), nullptr);  // no folding outside A..Z
  EXPECT_EQ(d.FindText(nullptr, "\xC0\xE0", false), c);

  EXPECT_EQ(d.ReplaceText(nullptr, "b", false, "bb"), b);
  EXPECT_EQ(b->AsBlock()->Data.Text, "xAbbCx");
  TShemObj* e = AddBlock(d, bkSquare, {0, 0, 10, 10}, "aXa-xax");
  EXPECT_EQ(d.ReplaceText(c, "x", false, "[x]"), e);
  EXPECT_EQ(e->AsBlock()->Data.Text, "a[x]a-[x]a[x]");
  EXPECT_EQ(d.ReplaceText(e, "x", false, "y"), nullptr);
}

TEST(Diagram, BoundsAndListView) {
  RecordingListView lv;
  TShem d(&lv);
  EXPECT_EQ(d.Bounds(), (TRect{65535, 65535, 0, 0}));
  TShemObj* a = AddBlock(d, bkRhomb, {10, 20, 90, 45}, "first\r\nsecond");
  TShemObj* p = AddPoint(d, {300, 400});
  AddLink(d, a, p);
  EXPECT_EQ(d.Bounds(), (TRect{10, 20, 301, 401}));
  ASSERT_EQ(lv.entries.size(), 1u);
  EXPECT_EQ(lv.entries[0].caption, "first");
  EXPECT_EQ(lv.entries[0].image, bkRhomb);
  EXPECT_EQ(lv.entries[0].pos, "(10, 20)");
  EXPECT_EQ(lv.entries[0].size, "(80, 25)");
  EXPECT_EQ(lv.entries[0].obj, a);
  AddBlock(d, bkText, {0, 0, 1, 1}, "t");
  lv.entries.clear();
  d.FillListView();
  EXPECT_EQ(lv.entries.size(), 2u);
  EXPECT_EQ(lv.brackets, 0);
  lv.visible = false;
  lv.entries.clear();
  d.FillListView();
  EXPECT_TRUE(lv.entries.empty());
  d.Clear();
  EXPECT_EQ(d.Count(), 0);
}

TEST(Diagram, InsertCopiesKeepsLinksBetweenCopiedObjects) {
  TShem clip;
  TShemObj* a = AddBlock(clip, bkSquare, {0, 0, 10, 10}, "a");
  TShemObj* b = AddBlock(clip, bkEllipse, {20, 0, 30, 10}, "b");
  AddLink(clip, a, b, {1, 2}, {3, 4}, 5);
  TShem d;
  TShemObj* old = AddBlock(d, bkSquare, {0, 0, 10, 10});
  std::vector<TShemObj*> fresh{old};
  d.InsertCopies(clip, {5, 7}, &fresh);
  ASSERT_EQ(fresh.size(), 3u);
  EXPECT_EQ(d.Count(), 4);
  EXPECT_EQ(fresh[0]->AsBlock()->Data.Rect(), (TRect{5, 7, 15, 17}));
  const Link& l = fresh[2]->AsLink()->Data;
  EXPECT_EQ(l.Source.Get(), fresh[0]);
  EXPECT_EQ(l.Target.Get(), fresh[1]);
  EXPECT_EQ(l.SourcePos, (TPoint{1, 2}));
  EXPECT_EQ(l.LinkType, 5);
  EXPECT_TRUE(d.CheckIntegrity());

  // A link whose end was not copied (it precedes its end) is dropped; copying a
  // diagram into itself copies what was there before.
  TShem self;
  TShemObj* s1 = AddBlock(self, bkSquare, {0, 0, 10, 10});
  TShemObj* s2 = AddBlock(self, bkSquare, {0, 0, 10, 10});
  AddLink(self, s1, s2);
  self.InsertCopies(self, {0, 0}, nullptr);
  EXPECT_EQ(self.Count(), 6);
}

TEST(Diagram, ChangeKindMovesLinkEndsOntoTheNewOutline) {
  TShem d;
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 80, 20});
  TShemObj* b = AddBlock(d, bkSquare, {0, 100, 80, 120});
  TShemObj* l = AddLink(d, a, b, {20000, 20000}, {5000, 20000});
  TShemObj* self = AddLink(d, b, b, {5000, 20000}, {5000, 20000});
  d.ChangeKind(a, bkEllipse);
  EXPECT_EQ(l->AsLink()->Data.SourcePos, (TPoint{20000, 2589}));
  EXPECT_EQ(a->AsBlock()->Data.Kind, bkEllipse);
  d.ChangeKind(b, bkParallelogram);
  EXPECT_EQ(l->AsLink()->Data.TargetPos, (TPoint{5000, 35535}));
  // Both ends on the block: only the source end moves.
  EXPECT_EQ(self->AsLink()->Data.SourcePos, (TPoint{5000, 35535}));
  EXPECT_EQ(self->AsLink()->Data.TargetPos, (TPoint{5000, 20000}));

  // Points never change kind, nothing becomes a Point, links are ignored.
  TShemObj* p = AddPoint(d, {500, 500});
  d.ChangeKind(p, bkSquare);
  EXPECT_EQ(p->AsBlock()->Data.Kind, bkPoint);
  d.ChangeKind(a, bkPoint);
  EXPECT_EQ(a->AsBlock()->Data.Kind, bkEllipse);
  d.ChangeKind(l, bkSquare);

  // Text keeps no links: the link goes, and a Point chain hanging on it.
  TShemObj* c = AddBlock(d, bkSquare, {300, 0, 380, 20});
  AddLink(d, a, p);
  AddLink(d, p, c);
  d.ChangeKind(a, bkText);
  EXPECT_EQ(a->AsBlock()->Data.Kind, bkText);
  EXPECT_EQ(d.LinksOf(a).size(), 0u);
  EXPECT_EQ(d.IndexOf(p), -1);
  EXPECT_EQ(d.Count(), 4);  // a, b, the self link of b, c
  EXPECT_TRUE(d.CheckIntegrity());
}

TEST(Diagram, SortObjectsExchangesAsDocumented) {
  TShem d;
  // Build L1, A, B with L1 joining A and B.
  TShemObj* l1 = d.GetObj(d.Add(std::make_unique<TLink>()));
  TShemObj* a = AddBlock(d, bkSquare, {0, 0, 10, 10});
  TShemObj* b = AddBlock(d, bkSquare, {0, 0, 10, 10});
  ASSERT_TRUE(d.SetLinkEnd(l1, LinkEnd::Source, a));
  ASSERT_TRUE(d.SetLinkEnd(l1, LinkEnd::Target, b));
  d.SortObjects();
  EXPECT_EQ(d.GetObj(0), a);
  EXPECT_EQ(d.GetObj(1), b);
  EXPECT_TRUE(d.GetObj(2)->IsLink());
  EXPECT_TRUE(d.CheckIntegrity());
}

TEST(Diagram, ManyDeletionsKeepIndicesRight) {
  TShem d;
  std::vector<TShemObj*> blocks;
  for (int i = 0; i < 3000; ++i) blocks.push_back(AddBlock(d, bkSquare, {i, 0, i + 10, 10}));
  for (int i = 0; i + 1 < 3000; i += 2) AddLink(d, blocks[size_t(i)], blocks[size_t(i) + 1]);
  for (int i = 0; i < 3000; i += 3) d.Remove(blocks[size_t(i)]);
  // Block i survives when i % 3 != 0; its link survives when neither end went.
  int expectBlocks = 0, expectLinks = 0;
  for (int i = 0; i < 3000; ++i) expectBlocks += i % 3 != 0;
  for (int i = 0; i + 1 < 3000; i += 2) expectLinks += (i % 3 != 0 && (i + 1) % 3 != 0);
  EXPECT_EQ(d.Count(), expectBlocks + expectLinks);
  int seen = 0;
  for (int i = 0; i < 3000; ++i) {
    if (i % 3 == 0) continue;
    EXPECT_EQ(d.IndexOf(blocks[size_t(i)]), seen);
    EXPECT_EQ(d.GetObj(seen), blocks[size_t(i)]);
    ++seen;
  }
  // Appending while holes are still there.
  ASSERT_TRUE(d.CheckIntegrity());
  for (int i = 0; i < 100; ++i) {
    TShemObj* b = AddBlock(d, bkText, {0, 0, 1, 1});
    EXPECT_EQ(d.IndexOf(b), d.Count() - 1);
    EXPECT_EQ(d.GetObj(d.Count() - 1), b);
    if (i % 7 == 0) d.Remove(blocks[size_t(3 * i + 1)]);
  }
  ASSERT_TRUE(d.CheckIntegrity());
  d.Insert(0, TBlock::NewPoint({5, 5}));
  EXPECT_EQ(d.GetObj(1), blocks[2]);
  EXPECT_TRUE(d.GetObj(0)->IsPointBlock());
  EXPECT_TRUE(d.CheckIntegrity());
}

// A link record cannot be copied with its ends: a copy from one diagram could
// otherwise carry references into it that the other diagram knows nothing of.
static_assert(!std::is_copy_constructible_v<Link> && !std::is_copy_assignable_v<Link>);

TEST(Diagram, LinkEndsAreSetOnlyToLiveObjectsOfTheSameDiagram) {
  TShem a, b;
  TShemObj* x = AddBlock(a, bkSquare, {0, 0, 10, 10});
  TShemObj* y = AddBlock(a, bkSquare, {0, 20, 10, 30});
  TShemObj* l = AddLink(a, x, y);
  TShemObj* foreign = AddBlock(b, bkSquare, {0, 0, 10, 10});

  // An end on a block of another diagram is refused, so deleting that block
  // there cannot leave this link reading freed memory.
  std::string error;
  EXPECT_FALSE(a.SetLinkEnd(l, LinkEnd::Target, foreign, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(a.AddLink(std::make_unique<TLink>(), x, foreign), -1);
  EXPECT_FALSE(b.SetLinkEnd(l, LinkEnd::Source, foreign));  // l is no link of b
  b.Remove(foreign);
  EXPECT_EQ(l->AsLink()->Data.Target.Get(), y);
  EXPECT_EQ(a.Count(), 3);
  EXPECT_TRUE(a.CheckIntegrity());
  EXPECT_TRUE(b.CheckIntegrity());

  // A deleted object, a block in the role of the link, and cycles of links.
  TShemObj* gone = AddBlock(a, bkSquare, {50, 0, 60, 10});
  a.Remove(gone);
  EXPECT_FALSE(a.SetLinkEnd(l, LinkEnd::Source, gone));
  EXPECT_FALSE(a.SetLinkEnd(x, LinkEnd::Source, y));
  EXPECT_FALSE(a.SetLinkEnd(l, LinkEnd::Source, l));
  TShemObj* hang = AddLink(a, x, l);
  TShemObj* hang2 = AddLink(a, hang, y);
  EXPECT_FALSE(a.SetLinkEnd(l, LinkEnd::Target, hang2));
  EXPECT_EQ(l->AsLink()->Data.Target.Get(), y);
  // Detaching and re-attaching within the diagram is fine.
  EXPECT_TRUE(a.SetLinkEnd(hang2, LinkEnd::Target, nullptr));
  EXPECT_EQ(a.NextLinkTo(nullptr, y), a.IndexOf(l));
  EXPECT_TRUE(a.SetLinkEnd(hang2, LinkEnd::Target, x));
  EXPECT_EQ(a.LinksOf(x).size(), 3u);
  EXPECT_TRUE(a.CheckIntegrity());

  // Copies into another diagram join the copies, never the originals.
  std::vector<TShemObj*> copies;
  b.InsertCopies(a, {5, 5}, &copies);
  ASSERT_EQ(copies.size(), size_t(a.Count()));
  for (TShemObj* c : copies) {
    if (!c->IsLink()) continue;
    EXPECT_TRUE(b.Contains(c->AsLink()->Data.Source));
    EXPECT_TRUE(b.Contains(c->AsLink()->Data.Target));
  }
  a.Clear();
  EXPECT_TRUE(b.CheckIntegrity());
  EXPECT_EQ(b.Count(), int(copies.size()));
}
