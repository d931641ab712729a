// The translator's passes against their literal fixed-point definition, pass
// by pass, on thousands of generated diagrams: structured flowcharts drawn in
// many ways with stray objects, and wholly random object soups.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "flowgen.h"
#include "literalpasses.h"
#include "pascal/translation.h"
#include "pascaltest.h"

namespace {

std::vector<uint8_t> Bytes(const TShem& d) {
  TMemoryStream s;
  EXPECT_TRUE(d.SaveToStream(s));
  return s.Bytes();
}

// Runs both implementations over the diagram in `input`; returns false (after
// reporting) at the first pass whose diagram, marks or messages differ.
bool SameAllTheWay(const std::vector<uint8_t>& input, const std::string& what) {
  TShem a, b;
  TMemoryStream sa(input), sb(input);
  if (!a.LoadFromStream(sa) || !b.LoadFromStream(sb)) {
    ADD_FAILURE() << what << ": generated diagram does not load";
    return false;
  }
  LiteralPasses lit(a);
  std::vector<std::string> rep;
  TTranslation fast(b, rep);
  const std::vector<std::tuple<const char*, std::function<void()>, std::function<void()>>> passes{
      {"JoinAdjacentPoints", [&] { lit.JoinAdjacentPoints(); }, [&] { fast.JoinAdjacentPoints(); }},
      {"DissolveBendPoints", [&] { lit.DissolveBendPoints(); }, [&] { fast.DissolveBendPoints(); }},
      {"MakeJunctionPoints", [&] { lit.MakeJunctionPoints(); }, [&] { fast.MakeJunctionPoints(); }},
      {"ForwardJunctionPoints", [&] { lit.ForwardJunctionPoints(); },
       [&] { fast.ForwardJunctionPoints(); }},
      {"MergeSequences", [&] { lit.MergeSequences(); }, [&] { fast.MergeSequences(); }},
      {"ReduceDecisions", [&] { lit.ReduceDecisions(); }, [&] { fast.ReduceDecisions(); }},
  };
  for (const auto& [name, literal, quick] : passes) {
    literal();
    quick();
    if (!b.CheckIntegrity()) {
      ADD_FAILURE() << what << ": diagram inconsistent after " << name;
      return false;
    }
    if (Bytes(a) != Bytes(b) || lit.Messages != rep) {
      ADD_FAILURE() << what << ": differs after " << name << " (" << a.Count() << " vs "
                    << b.Count() << " objects, " << lit.Messages.size() << " vs " << rep.size()
                    << " messages)";
      return false;
    }
    for (int i = 0; i < a.Count(); ++i)
      if (lit.Marks.count(a.GetObj(i)) != size_t(fast.HasJunctionMark(b.GetObj(i)))) {
        ADD_FAILURE() << what << ": junction mark of object " << i << " differs after " << name;
        return false;
      }
  }
  std::vector<std::string> la, lb, ra, rb;
  const bool ea = EmitRoutine(a, la, ra), eb = EmitRoutine(b, lb, rb);
  EXPECT_EQ(ea, eb) << what;
  EXPECT_EQ(la, lb) << what;
  EXPECT_EQ(ra, rb) << what;
  return ea == eb && la == lb;
}

TEST(PascalSameness, GeneratedFlowchartsDrawnEveryWay) {
  std::mt19937 pick(2024);
  int collapsed = 0, withMessages = 0;
  for (uint32_t seed = 1; seed <= 2500; ++seed) {
    FlowStyle st;
    st.maxDepth = 2 + int(pick() % 6);
    st.bendShare = std::vector<double>{0, 0.2, 0.7, 1}[pick() % 4];
    st.junctionShare = std::vector<double>{0, 0.3, 1}[pick() % 3];
    st.reversedShare = std::vector<double>{0, 0.3}[pick() % 2];
    st.noiseShare = std::vector<double>{0, 0, 0.05, 0.2}[pick() % 4];
    st.messyTextShare = std::vector<double>{0, 0.4}[pick() % 2];
    st.strays = std::vector<int>{0, 0, 1, 3}[pick() % 4];
    st.shuffle = pick() % 2 == 0;
    TShem d;
    FlowGen g(seed, st);
    g.Build(d, 2 + int(pick() % 45));
    TMemoryStream s;
    ASSERT_TRUE(d.SaveToStream(s));
    ASSERT_TRUE(SameAllTheWay(s.Bytes(), "flowchart " + std::to_string(seed)));
    const auto r = Translate(d);
    collapsed += r.Emitted && r.Messages.empty();
    withMessages += !r.Messages.empty();
  }
  // The mix must exercise both clean collapses and the message paths.
  EXPECT_GT(collapsed, 300);
  EXPECT_GT(withMessages, 300);
}

TEST(PascalSameness, RandomObjectSoups) {
  std::mt19937 rng(99);
  const std::vector<std::string> squareTexts{"",           "x",        "x;",    "x\r\n",
                                             "a\r\n\r\nb", "\r\n\r\n", "y := 1"};
  for (int round = 0; round < 1500; ++round) {
    TShem d;
    const auto objs = GenerateObjects(rng, 4 + int(rng() % 60), 0.55, 0.35, 0.25);
    const auto made = BuildDiagram(d, objs);
    for (TShemObj* o : made) {
      if (TLink* l = o->AsLink()) {
        l->Data.LinkType = uint8_t(std::vector<int>{0, 1, 1, 1, 2, 2, 3, 5}[rng() % 8]);
        l->Data.SourcePos = {int32_t(rng() % 65536), int32_t(rng() % 65536)};
        l->Data.TargetPos = {int32_t(rng() % 65536), int32_t(rng() % 65536)};
        continue;
      }
      Block& b = o->AsBlock()->Data;
      if (b.Kind == bkSquare) b.Text = squareTexts[rng() % squareTexts.size()];
      if (b.Kind == bkText && rng() % 2) b.Text = "yes";
      if (b.Kind == bkEllipse && rng() % 2) b.Text = "begin";
    }
    TMemoryStream s;
    ASSERT_TRUE(d.SaveToStream(s));
    ASSERT_TRUE(SameAllTheWay(s.Bytes(), "soup " + std::to_string(round)));
  }
}
}  // namespace

namespace {
// A "yes" label that is itself the body of a repeat stops being a label when
// its text is rewritten; a Rhomb visited earlier and skipped must then be
// measured again against the remaining labels.
TEST(PascalSameness, LabelRewrittenAsARepeatBodyMovesAnotherDecision) {
  TShem d;
  TShemObj* r2 = Box(d, bkRhomb, 4, "c2");
  TShemObj* a = Box(d, bkSquare, 5, "a");
  TShemObj* b = Box(d, bkSquare, 6, "b", 1);
  TShemObj* begin = Box(d, bkEllipse, 0, "begin");
  TShemObj* r = Box(d, bkRhomb, 2, "c");
  TShemObj* t = AddBlock(d, bkText, {163, 95, 173, 105}, "yes");  // beside r's right exit
  YesAt(d, {130, 290});
  Flow(d, r2, a, kBottom, kTop);
  Flow(d, r2, b, kRight, kTop);
  Flow(d, a, b);
  Flow(d, b, Box(d, bkEllipse, 7, "end", 1));
  Flow(d, begin, t);
  Flow(d, r, t, kRight, kRight);
  Flow(d, t, r);
  Flow(d, r, Box(d, bkEllipse, 3, "end"));
  TMemoryStream s;
  ASSERT_TRUE(d.SaveToStream(s));
  ASSERT_TRUE(SameAllTheWay(s.Bytes(), "label as body"));

  TShem w;
  TMemoryStream in(s.Bytes());
  ASSERT_TRUE(w.LoadFromStream(in));
  std::vector<std::string> rep;
  TTranslation tr(w, rep);
  tr.MergeSequences();
  tr.ReduceDecisions();
  bool ifThen = false, repeat = false;
  for (int i = 0; i < w.Count(); ++i) {
    if (!w.GetObj(i)->IsBlock()) continue;
    const std::string& text = w.GetObj(i)->AsBlock()->Data.Text;
    ifThen |= text.rfind("if c2\r\nthen\r\nbegin\r\na\r\nend;", 0) == 0;
    repeat |= text == "repeat\r\nyes\r\nuntil not(c);";
  }
  EXPECT_TRUE(ifThen);
  EXPECT_TRUE(repeat);
}
}  // namespace
