// The translator's smaller rules: indenting, line splitting, blank-line
// collapsing, the label search, and single passes on hand-made diagrams.
#include <gtest/gtest.h>

#include <random>

#include "literalpasses.h"
#include "pascal/translation.h"
#include "pascal/yeslabelindex.h"
#include "pascaltest.h"

namespace {
using Lines = std::vector<std::string>;

TEST(PascalRules, IndentFollowsTheFirstWord) {
  Lines l{"begin",   "\t \x01",  "a",     "End; x", "end.", "repeat", " end",
          "b",       "until x;", "end",   "end",    "c",    "begin",  "d",
          "BEGIN;x", "e",        "begin", "f",      ""};
  IndentLines(l);
  EXPECT_EQ(l, (Lines{"begin", "  a", "End; x", "end.", "repeat", "   end", "  b", "until x;",
                      "end", "end", "c", "begin", "d", "BEGIN;x", "e", "begin", "  f"}));
  // Lines indented before are indented again, their own blanks included:
  // the view re-indents the lines it keeps when a translation emits nothing.
  Lines kept{"begin", "  x", "end;"};
  IndentLines(kept);
  EXPECT_EQ(kept, (Lines{"begin", "    x", "end;"}));
}

TEST(PascalRules, TextSplitsAtEveryKindOfLineBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\n"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

std::string ReplaceUntilNone(std::string t) {
  for (size_t at; (at = t.find("\r\n\r\n")) != std::string::npos;) t.replace(at, 4, "\r\n");
  return t;
}

TEST(PascalRules, BlankLineCollapseEqualsRepeatedReplacement) {
  std::mt19937 rng(7);
  const char alphabet[] = {'\r', '\n', '\r', '\n', 'a', ';'};
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    for (int n = int(rng() % 24); n > 0; --n) t += alphabet[rng() % 6];
    std::string fast = t;
    pascalrules::CollapseBlankLines(fast);
    ASSERT_EQ(fast, ReplaceUntilNone(t)) << i;
    // After a clean prefix that ends with ";", only the rest needs a look.
    const std::string prefix = ReplaceUntilNone(t) + ";";
    std::string joined = prefix + "\r\n" + t;
    pascalrules::CollapseBlankLines(joined, prefix.size());
    ASSERT_EQ(joined, ReplaceUntilNone(prefix + "\r\n" + t)) << i;
  }
}

TEST(PascalRules, LabelIndexFindsWhatAFullSearchFinds) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    TYesLabelIndex index;
    struct L {
      TPoint c;
      int64_t order;
      bool live;
    };
    std::vector<L> all;
    const int n = 1 + int(rng() % 60);
    const int spread = round % 3 == 0 ? 200 : 65536;  // clustered or spread out
    std::vector<TShem> owners(1);
    std::vector<std::unique_ptr<int>> ids;  // distinct addresses standing for labels
    for (int i = 0; i < n; ++i) {
      TPoint c{int32_t(rng() % uint32_t(spread)), int32_t(rng() % uint32_t(spread))};
      if (i > 0 && rng() % 4 == 0) c = all[rng() % all.size()].c;  // same place, later label
      ids.push_back(std::make_unique<int>(i));
      all.push_back({c, int64_t(i) * 3 - 50, true});
      index.Add(reinterpret_cast<const TShemObj*>(ids.back().get()), c, all.back().order);
    }
    for (int q = 0; q < 40; ++q) {
      if (rng() % 5 == 0) {
        const size_t k = rng() % all.size();
        all[k].live = false;
        index.Forget(reinterpret_cast<const TShemObj*>(ids[k].get()));
      }
      const TPoint p{int32_t(rng() % 70000) - 2000, int32_t(rng() % 70000) - 2000};
      std::optional<TYesLabelIndex::Hit> want;
      for (const L& l : all) {
        if (!l.live) continue;
        const int32_t dist = PointDistance(l.c, p);
        if (!want || dist < want->Distance || (dist == want->Distance && l.order < want->Order))
          want = {dist, l.order};
      }
      const auto got = index.Nearest(p);
      ASSERT_EQ(got.has_value(), want.has_value());
      if (want) {
        ASSERT_EQ(got->Distance, want->Distance) << round << " " << q;
        ASSERT_EQ(got->Order, want->Order) << round << " " << q;
      }
    }
  }
}

TEST(PascalRules, MergedBlockKeepsTheAbsorbedTextAsItWas) {
  TShem d;
  TShemObj* r = Box(d, bkSquare, 0, "p\r\n");
  TShemObj* b = Box(d, bkSquare, 1, "q\r\n\r\nr\r\n");
  TShemObj* end = Box(d, bkEllipse, 2, "end");
  Flow(d, r, b);
  Flow(d, b, end);
  std::vector<std::string> rep;
  TTranslation t(d, rep);
  t.MergeSequences();
  EXPECT_TRUE(rep.empty());
  ASSERT_EQ(d.Count(), 3);
  EXPECT_EQ(r->AsBlock()->Data.Text, "p;\r\nq\r\n\r\nr\r\n");
  // The merged block took over the way out.
  ASSERT_EQ(d.LinksOf(r).size(), 1u);
  EXPECT_EQ(d.LinksOf(r)[0]->AsLink()->Data.Target.Get(), end);
}

TEST(PascalRules, BendPointBecomesOneLinkCarryingTheHangers) {
  TShem d;
  TShemObj* a = Box(d, bkSquare, 0, "a");
  TShemObj* b = Box(d, bkSquare, 2, "b");
  TShemObj* c = Box(d, bkSquare, 1, "c", 1);
  TShemObj* p = AddPoint(d, {130, 60});
  TShemObj* la = AddLink(d, p, b, PosCentre, {100, 200}, ltArrowTarget);  // first in the list
  TShemObj* lb = AddLink(d, a, p, {300, 400}, PosCentre, 0);              // no arrow
  TShemObj* h1 = AddLink(d, c, la, kLeft, {1001, 0}, ltArrowTarget);
  TShemObj* h2 = AddLink(d, c, lb, kRight, {3, 0}, ltArrowTarget);
  std::vector<std::string> rep;
  TTranslation t(d, rep);
  t.DissolveBendPoints();
  ASSERT_TRUE(d.CheckIntegrity());
  ASSERT_EQ(d.IndexOf(p), -1);
  ASSERT_EQ(d.Count(), 6);  // a, b, c, h1, h2 and the new link
  TShemObj* l0 = d.GetObj(5);
  const Link& n = l0->AsLink()->Data;
  // Built from the point's first link backwards: it runs from b to a with the
  // arrow at b, which still leads from a into b.
  EXPECT_EQ(n.Source.Get(), b);
  EXPECT_EQ(n.Target.Get(), a);
  EXPECT_EQ(n.SourcePos, (TPoint{100, 200}));
  EXPECT_EQ(n.TargetPos, (TPoint{300, 400}));
  EXPECT_EQ(n.LinkType, 2);
  EXPECT_EQ(h1->AsLink()->Data.Target.Get(), l0);
  EXPECT_EQ(h1->AsLink()->Data.TargetPos, (TPoint{500, 0}));  // 500.5 rounds to even
  EXPECT_EQ(h2->AsLink()->Data.Target.Get(), l0);
  EXPECT_EQ(h2->AsLink()->Data.TargetPos, (TPoint{32768, 32766}));  // 32766 + round(1.5)
}

TEST(PascalRules, JoinedPointsKeepTheJunctionMark) {
  TShem d;
  TShemObj* a = Box(d, bkSquare, 0, "a");
  TShemObj* b = Box(d, bkSquare, 2, "b");
  TShemObj* c = Box(d, bkSquare, 1, "c", 1);
  TShemObj* p1 = AddPoint(d, {130, 40});
  TShemObj* p2 = AddPoint(d, {130, 60});
  TShemObj* p3 = AddPoint(d, {130, 70});
  Flow(d, a, p1);
  TShemObj* k = Flow(d, p1, p2);
  Flow(d, p2, p3);
  Flow(d, p3, b);
  Flow(d, c, k, kLeft, {20000, 0});
  std::vector<std::string> rep;
  TTranslation t(d, rep);
  t.JoinAdjacentPoints();
  EXPECT_EQ(d.IndexOf(p2), -1);
  EXPECT_EQ(d.IndexOf(p3), -1);
  EXPECT_TRUE(t.HasJunctionMark(p1));
  EXPECT_EQ(d.LinksOf(p1).size(), 3u);  // from a, from c, on to b
  t.DissolveBendPoints();
  EXPECT_NE(d.IndexOf(p1), -1);  // a junction is not a bend
  t.MakeJunctionPoints();
  t.ForwardJunctionPoints();
  EXPECT_EQ(d.IndexOf(p1), -1);
  EXPECT_TRUE(rep.empty());
  for (TShemObj* from : {a, c}) {
    const auto links = d.LinksOf(from);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(pascalrules::FarEnd(links[0], from), b);
    EXPECT_TRUE(pascalrules::LeadsIn(links[0], b));
  }
}
struct SelfLoop {
  TShem d;
  TShemObj* r;
  SelfLoop() {
    // Blocks first, so that loading keeps the links in this order.
    TShemObj* begin = Box(d, bkEllipse, 0, "begin");
    r = Box(d, bkRhomb, 1, "c");
    TShemObj* end = Box(d, bkEllipse, 2, "end");
    YesAt(d, {168, 54});  // beside the right exit (160, 60)
    Flow(d, begin, r);
    Flow(d, r, r, kRight, kTop);  // first way out, back into r: the yes exit
    Flow(d, r, end);
  }
};

// A Rhomb whose yes exit loops straight back into itself is its own repeat
// body: the repeat rule rewrites it and then deletes it with all its links.
TEST(PascalRules, RepeatWhoseBodyIsTheRhombItself) {
  SelfLoop s;
  const auto res = Translate(s.d);
  // Nothing is left on begin's way out once the Rhomb has gone.
  EXPECT_FALSE(res.Emitted);
  EXPECT_EQ(res.Messages, (std::vector<std::string>{"\"begin\" have not outgoing links"}));
  EXPECT_TRUE(res.Lines.empty());

  SelfLoop a, b;
  LiteralPasses lit(a.d);
  lit.ReduceDecisions();
  std::vector<std::string> rep;
  TTranslation fast(b.d, rep);
  fast.ReduceDecisions();
  EXPECT_EQ(a.d.IndexOf(a.r), -1);
  EXPECT_EQ(b.d.IndexOf(b.r), -1);
  EXPECT_EQ(a.d.Count(), 3);  // begin, end and the label
  EXPECT_EQ(b.d.Count(), 3);
  EXPECT_TRUE(b.d.CheckIntegrity());
}
}  // namespace
