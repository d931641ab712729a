// The translation end to end: diagrams built through the model, written to
// the diagram stream and translated as the export window does.
#include <gtest/gtest.h>

#include "flowgen.h"
#include "pascaltest.h"

namespace {
using Lines = std::vector<std::string>;

TEST(PascalTranslator, WhileExampleLineForLine) {
  TShem d;
  TShemObj* begin = Box(d, bkEllipse, 0, "begin");
  TShemObj* s1 = Box(d, bkSquare, 1, "a := 1");
  TShemObj* r = Box(d, bkRhomb, 2, "a < 10");
  TShemObj* body = Box(d, bkSquare, 3, "a := a + 1", 1);
  TShemObj* end = Box(d, bkEllipse, 4, "end");
  Flow(d, begin, s1);
  Flow(d, s1, r);
  Flow(d, r, body, kRight, kTop);
  Flow(d, r, end);
  Flow(d, body, r, kLeft, kRight);
  YesAt(d, {168, 104});  // beside the right exit (160, 100)
  const auto res = Translate(d);
  EXPECT_TRUE(res.Emitted);
  EXPECT_TRUE(res.Messages.empty());
  EXPECT_EQ(res.Lines, (Lines{"begin", "  a := 1;", "  while a < 10 do", "  begin",
                              "    a := a + 1", "  end;", "end;"}));
}

TEST(PascalTranslator, RepeatExampleLineForLine) {
  TShem d;
  TShemObj* begin = Box(d, bkEllipse, 0, "begin");
  TShemObj* s = Box(d, bkSquare, 1, "x := x + 1");
  TShemObj* r = Box(d, bkRhomb, 2, "x < 5");
  TShemObj* end = Box(d, bkEllipse, 3, "end");
  Flow(d, begin, s);
  Flow(d, s, r);
  Flow(d, r, s, kRight, kRight);
  Flow(d, r, end);
  YesAt(d, {168, 104});
  const auto res = Translate(d);
  EXPECT_TRUE(res.Emitted);
  EXPECT_TRUE(res.Messages.empty());
  EXPECT_EQ(res.Lines,
            (Lines{"begin", "  repeat", "    x := x + 1", "  until not(x < 5);", "end;"}));
}

// begin -> R; R's first outgoing link goes to `first`, its second to
// `second`; first -> second; second -> end. With the second link as the yes
// link nothing fits; with the first one it is an if-then.
struct Fork {
  TShem d;
  TShemObj *r, *first, *second;
  TPoint e1{130, 70}, e2{160, 60};  // bottom and right exits of R (row 1)
  Fork() {
    TShemObj* begin = Box(d, bkEllipse, 0, "begin");
    r = Box(d, bkRhomb, 1, "c");
    first = Box(d, bkSquare, 2, "t");
    second = Box(d, bkSquare, 3, "j");
    TShemObj* end = Box(d, bkEllipse, 4, "end");
    Flow(d, begin, r);
    Flow(d, r, first, kBottom, kTop);
    Flow(d, r, second, kRight, kRight);
    Flow(d, first, second);
    Flow(d, second, end);
  }
};
const Lines kIfThen{"begin", "  if c", "  then", "  begin", "    t", "  end;", "  j", "end;"};
const Lines kUnreduced{"begin", "  c", "end;"};

TEST(PascalTranslator, YesLinkFollowsTheNearestLabel) {
  {
    Fork f;  // no label at all: the second outgoing link is the yes link
    EXPECT_EQ(Translate(f.d).Lines, kUnreduced);
  }
  {
    Fork f;
    YesAt(f.d, {f.e1.X + 6, f.e1.Y + 8});
    EXPECT_EQ(Translate(f.d).Lines, kIfThen);
  }
  {
    Fork f;
    YesAt(f.d, {f.e2.X + 6, f.e2.Y - 8});
    EXPECT_EQ(Translate(f.d).Lines, kUnreduced);
  }
  {
    Fork f;  // the nearer of two labels decides, wherever it is in the list
    YesAt(f.d, {f.e2.X + 30, f.e2.Y});
    YesAt(f.d, {f.e1.X, f.e1.Y + 20});
    EXPECT_EQ(Translate(f.d).Lines, kIfThen);
  }
}

TEST(PascalTranslator, YesLabelTiesGoToTheEarlierLabelAndTheFirstExit) {
  {
    Fork f;  // both labels 10 away from "their" exit: the earlier one decides
    YesAt(f.d, {f.e1.X, f.e1.Y + 10});
    YesAt(f.d, {f.e2.X + 10, f.e2.Y});
    EXPECT_EQ(Translate(f.d).Lines, kIfThen);
  }
  {
    Fork f;
    YesAt(f.d, {f.e2.X + 10, f.e2.Y});
    YesAt(f.d, {f.e1.X, f.e1.Y + 10});
    EXPECT_EQ(Translate(f.d).Lines, kUnreduced);
  }
  {
    Fork f;  // one label as near to both exits: the first link is the yes link
    YesAt(f.d, {150, 80});
    ASSERT_EQ(PointDistance({150, 80}, f.e1), PointDistance({150, 80}, f.e2));
    EXPECT_EQ(Translate(f.d).Lines, kIfThen);
  }
}

TEST(PascalTranslator, SequencesJoinWithSemicolonsAndLoseBlankLines) {
  TShem d;
  const std::vector<std::string> texts{"", "a;", "b\r\n", "x\r\n\r\n\r\ny", "c"};
  TShemObj* prev = Box(d, bkEllipse, 0, "begin");
  for (size_t i = 0; i < texts.size(); ++i) {
    TShemObj* s = Box(d, bkSquare, int(i) + 1, texts[i]);
    Flow(d, prev, s);
    prev = s;
  }
  Flow(d, prev, Box(d, bkEllipse, 9, "end"));
  const auto res = Translate(d);
  EXPECT_TRUE(res.Messages.empty());
  EXPECT_EQ(res.Lines, (Lines{"begin", "  ;", "  a;", "  b;", "  x", "  y;", "  c", "end;"}));
}

TEST(PascalTranslator, ParallelogramEndsTheSequence) {
  TShem d;
  TShemObj* b = Box(d, bkEllipse, 0, "begin");
  TShemObj* s1 = Box(d, bkSquare, 1, "s1");
  TShemObj* p = Box(d, bkParallelogram, 2, "read(x)");
  TShemObj* s2 = Box(d, bkSquare, 3, "s2");
  Flow(d, b, s1);
  Flow(d, s1, p);
  Flow(d, p, s2);
  Flow(d, s2, Box(d, bkEllipse, 4, "end"));
  EXPECT_EQ(Translate(d).Lines, (Lines{"begin", "  s1", "end;"}));
}

TEST(PascalTranslator, IfThenElseWithoutCommonSuccessorStays) {
  TShem d;
  TShemObj* b = Box(d, bkEllipse, 0, "begin");
  TShemObj* r = Box(d, bkRhomb, 1, "c");
  TShemObj* y = Box(d, bkSquare, 2, "y");
  TShemObj* n = Box(d, bkSquare, 2, "n", 1);
  Flow(d, b, r);
  Flow(d, r, y);
  Flow(d, r, n, kRight);
  Flow(d, y, Box(d, bkEllipse, 3, "end"));
  Flow(d, n, Box(d, bkEllipse, 3, "end", 1));
  YesAt(d, {138, 76});
  const auto res = Translate(d);
  EXPECT_TRUE(res.Emitted);
  EXPECT_TRUE(res.Messages.empty());
  EXPECT_EQ(res.Lines, (Lines{"begin", "  c", "end;"}));
}

TEST(PascalTranslator, IfThenElseJoinsItsBranches) {
  TShem d;
  TShemObj* b = Box(d, bkEllipse, 0, "begin");
  TShemObj* r = Box(d, bkRhomb, 1, "c");
  TShemObj* y = Box(d, bkSquare, 2, "y");
  TShemObj* n = Box(d, bkSquare, 2, "n", 1);
  TShemObj* j = Box(d, bkSquare, 3, "j");
  Flow(d, b, r);
  Flow(d, r, n, kRight);
  Flow(d, r, y);
  Flow(d, y, j);
  Flow(d, n, j);
  Flow(d, j, Box(d, bkEllipse, 4, "end"));
  YesAt(d, {138, 76});
  EXPECT_EQ(Translate(d).Lines, (Lines{"begin", "  if c", "  then", "  begin", "    y", "  end",
                                       "  else", "  begin", "    n", "  end;", "  j", "end;"}));
}

TEST(PascalTranslator, BeginIsTheFirstEllipseReadingBeginInAnyCase) {
  TShem d;
  Box(d, bkSquare, 0, "begin");  // not an Ellipse
  TShemObj* b1 = Box(d, bkEllipse, 1, "BEGIN");
  TShemObj* b2 = Box(d, bkEllipse, 2, "begin");
  Flow(d, b1, Box(d, bkSquare, 3, "first"));
  Flow(d, b2, Box(d, bkSquare, 4, "second"));
  const auto res = Translate(d);
  EXPECT_EQ(res.Lines, (Lines{"begin", "  first", "end;"}));
  EXPECT_EQ(res.Messages, (Lines{"No outgoing link"}));  // the two Squares lead nowhere
}

TEST(PascalTranslator, EmitMessagesLeaveNoLines) {
  {
    TShem none;
    Box(none, bkEllipse, 0, "end");
    const auto res = Translate(none);
    EXPECT_FALSE(res.Emitted);
    EXPECT_EQ(res.Messages, (Lines{"Can not find \"begin\""}));
    EXPECT_TRUE(res.Lines.empty());
  }
  struct Case {
    const char* message;
    void (*draw)(TShem&, TShemObj* begin);
  };
  const Case cases[] = {
      {"\"begin\" have not outgoing links", [](TShem&, TShemObj*) {}},
      {"\"begin\" have more than 1 outgoing link",
       [](TShem& d, TShemObj* b) {
         Flow(d, b, Box(d, bkEllipse, 1, "x"));
         AddLink(d, Box(d, bkEllipse, 2, "y"), b, kBottom, kTop, 0);
       }},
      {"\"begin\" have incoming link",
       [](TShem& d, TShemObj* b) { Flow(d, Box(d, bkEllipse, 1, "x"), b); }},
      {"\"begin\" have incoming link",
       [](TShem& d, TShemObj* b) {
         AddLink(d, b, Box(d, bkEllipse, 1, "x"), kBottom, kTop, ltArrowSource);
       }},
  };
  for (const Case& c : cases) {
    TShem d;
    c.draw(d, Box(d, bkEllipse, 0, "Begin"));
    const auto res = Translate(d);
    EXPECT_FALSE(res.Emitted) << c.message;
    EXPECT_EQ(res.Messages, Lines{c.message});
    EXPECT_TRUE(res.Lines.empty()) << c.message;
  }
  // The junction passes leave no link ending on a link, so the last message
  // is met by the emitting step alone; the lines it was given stay.
  {
    TShem d;
    TShemObj* b = Box(d, bkEllipse, 0, "begin");
    TShemObj* l =
        AddLink(d, Box(d, bkEllipse, 1, "x"), Box(d, bkEllipse, 2, "y"), kBottom, kTop, 0);
    AddLink(d, b, l, kBottom, {20000, 0}, 0);
    Lines shown{"kept"}, messages;
    EXPECT_FALSE(EmitRoutine(d, shown, messages));
    EXPECT_EQ(messages, Lines{"Link instead of block"});
    EXPECT_EQ(shown, Lines{"kept"});
  }
  // A link of no direction counts as leading out of begin.
  TShem neutral;
  AddLink(neutral, Box(neutral, bkEllipse, 0, "begin"), Box(neutral, bkSquare, 1, "z"), kBottom,
          kTop, 0);
  const auto res = Translate(neutral);
  EXPECT_TRUE(res.Emitted);
  EXPECT_EQ(res.Lines, (Lines{"begin", "  z", "end;"}));
}

TEST(PascalTranslator, DecisionMessagesEndTheReductions) {
  {
    TShem d;  // the earlier Rhomb has one way out; the later would be a while
    TShemObj* b = Box(d, bkEllipse, 0, "begin");
    TShemObj* odd = Box(d, bkRhomb, 5, "odd", 2);
    TShemObj* r = Box(d, bkRhomb, 1, "w");
    TShemObj* body = Box(d, bkSquare, 2, "x", 1);
    Flow(d, odd, Box(d, bkEllipse, 6, "end", 2));
    Flow(d, b, r);
    Flow(d, r, body, kRight);
    Flow(d, body, r, kLeft, kRight);
    Flow(d, r, Box(d, bkEllipse, 3, "end"));
    YesAt(d, {168, 64});
    const auto res = Translate(d);
    EXPECT_EQ(res.Messages, (Lines{"Have only 1 incoming link"}));
    EXPECT_EQ(res.Lines, (Lines{"begin", "  w", "end;"}));
  }
  {
    TShem d;
    TShemObj* b = Box(d, bkEllipse, 0, "begin");
    TShemObj* r = Box(d, bkRhomb, 1, "c");
    Flow(d, b, r);
    for (int i = 0; i < 3; ++i) Flow(d, r, Box(d, bkEllipse, 2, "end", i));
    EXPECT_EQ(Translate(d).Messages, (Lines{"More then 2 outgoing links"}));
  }
}

TEST(PascalTranslator, StraySquareStopsMergingEveryTime) {
  TShem d;
  Box(d, bkSquare, 9, "stray", 2);  // first Square in the list, leads nowhere
  TShemObj* b = Box(d, bkEllipse, 0, "begin");
  TShemObj* s1 = Box(d, bkSquare, 1, "s1");
  TShemObj* r = Box(d, bkRhomb, 2, "c");
  TShemObj* t = Box(d, bkSquare, 3, "t", 1);
  TShemObj* s2 = Box(d, bkSquare, 4, "s2");
  Flow(d, b, s1);
  Flow(d, s1, r);
  Flow(d, r, t, kRight);
  Flow(d, r, s2);
  Flow(d, t, s2);
  Flow(d, s2, Box(d, bkEllipse, 5, "end"));
  YesAt(d, {168, 104});
  const auto res = Translate(d);
  // Once from the merging pass, once more after the if-then was reduced.
  EXPECT_EQ(res.Messages, (Lines{"No outgoing link", "No outgoing link"}));
  EXPECT_EQ(res.Lines, (Lines{"begin", "  s1", "end;"}));
}

TEST(PascalTranslator, PolylineEndingInTheAirIsReported) {
  // A point with a single link leading into it is left by the bend pass and
  // reported by the junction pass.
  TShem d;
  TShemObj* b = Box(d, bkEllipse, 0, "begin");
  TShemObj* s = Box(d, bkSquare, 1, "s");
  TShemObj* p = AddPoint(d, {300, 300});
  Flow(d, b, s);
  Flow(d, s, p);
  const auto res = Translate(d);
  EXPECT_EQ(res.Messages, (Lines{"No outgoing link"}));
  EXPECT_EQ(res.Lines, (Lines{"begin", "  s", "end;"}));
}

TEST(PascalTranslator, GeneratedProgramsCollapseToTheirText) {
  // The rules look at list order (a Rhomb's first outgoing link is its
  // "next"), so a drawing that reorders a Rhomb's exits can collapse
  // differently: a while whose body is a still unreduced if-then matches when
  // that Rhomb's first link is the one leading back. Bends are therefore kept
  // off Rhomb exits here (dissolving one appends the new link at the end),
  // and the order is not shuffled; everything else varies.
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    TShem plain, drawn;
    FlowGen g1(seed, FlowStyle{});
    g1.Build(plain, 5 + int(seed % 40));
    FlowStyle st;
    st.bendShare = 0.4;
    st.bendDecisionExits = false;
    st.junctionShare = 0.5;
    st.reversedShare = 0.3;
    FlowGen g2(seed, st);
    g2.Build(drawn, 5 + int(seed % 40));
    ASSERT_EQ(g1.Expected, g2.Expected);
    Lines expected = SplitLines(g1.Expected);
    IndentLines(expected);
    const auto a = Translate(plain), b = Translate(drawn);
    EXPECT_TRUE(a.Messages.empty()) << seed;
    EXPECT_EQ(a.Lines, expected) << seed;
    EXPECT_TRUE(b.Messages.empty()) << seed;
    EXPECT_EQ(b.Lines, expected) << seed;
  }
}
}  // namespace
