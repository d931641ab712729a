// A Rhomb whose yes exit loops straight back into itself is its own repeat
// body: the repeat rule rewrites it and then deletes it with all its links.
#include <gtest/gtest.h>

#include "literalpasses.h"
#include "pascal/translation.h"
#include "pascaltest.h"

namespace {

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

TEST(PascalReview, RepeatWhoseBodyIsTheRhombItself) {
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
