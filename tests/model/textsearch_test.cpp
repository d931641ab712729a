// The replacement guard and Replace All over a diagram's texts.
#include "model/textsearch.h"

#include <gtest/gtest.h>

#include "testdiagrams.h"

TEST(TextSearch, ReplacementContainingTheSearchTextIsRefused) {
  // Found again inside the replacement, in either case mode.
  EXPECT_TRUE(ReplacementWouldCycle("a", "ab", true));
  EXPECT_TRUE(ReplacementWouldCycle("a", "ab", false));
  // Without match case the letters are folded: "A" lies in "xa".
  EXPECT_TRUE(ReplacementWouldCycle("A", "xa", false));
  EXPECT_FALSE(ReplacementWouldCycle("A", "xa", true));
  // Only ASCII letters fold, as in the search: Cyrillic capital and small A differ.
  EXPECT_FALSE(ReplacementWouldCycle("\xC0", "x\xE0", false));
  // A replacement that merely overlaps the search text is fine.
  EXPECT_FALSE(ReplacementWouldCycle("ab", "a", false));
  EXPECT_FALSE(ReplacementWouldCycle("abc", "xab", false));
  EXPECT_FALSE(ReplacementWouldCycle("", "anything", false));
  EXPECT_TRUE(ReplacementWouldCycle("same", "same", true));
}

TEST(TextSearch, ReplaceAllChangesEveryBlockAfterTheStartOnly) {
  TShem d;
  TShemObj* before = AddBlock(d, bkSquare, {0, 0, 10, 10}, "cat");
  TShemObj* start = AddBlock(d, bkSquare, {0, 0, 10, 10}, "cat start");
  TShemObj* one = AddBlock(d, bkSquare, {0, 0, 10, 10}, "Cat and cat");
  AddLink(d, before, one);
  TShemObj* none = AddBlock(d, bkSquare, {0, 0, 10, 10}, "dog");
  TShemObj* last = AddBlock(d, bkText, {0, 0, 10, 10}, "concatenate");

  const int changed = ReplaceAllText(d, start, {"cat", "lion", false});
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(before->AsBlock()->Data.Text, "cat");
  EXPECT_EQ(start->AsBlock()->Data.Text, "cat start");
  EXPECT_EQ(one->AsBlock()->Data.Text, "lion and lion");
  EXPECT_EQ(none->AsBlock()->Data.Text, "dog");
  EXPECT_EQ(last->AsBlock()->Data.Text, "conlionenate");

  // From the start, with match case: only the exact spelling goes.
  TShem e;
  TShemObj* a = AddBlock(e, bkSquare, {0, 0, 10, 10}, "Cat cat");
  TShemObj* b = AddBlock(e, bkSquare, {0, 0, 10, 10}, "CAT");
  EXPECT_EQ(ReplaceAllText(e, nullptr, {"cat", "dog", true}), 1);
  EXPECT_EQ(a->AsBlock()->Data.Text, "Cat dog");
  EXPECT_EQ(b->AsBlock()->Data.Text, "CAT");
  // Nothing left to replace.
  EXPECT_EQ(ReplaceAllText(e, nullptr, {"cat", "dog", true}), 0);
}

TEST(TextSearch, ReplaceAllEndsEvenWhenTheReplacementHoldsTheSearchText) {
  // The dialog refuses such a replacement, but the operation must still end
  // and touch each block once.
  TShem d;
  for (int i = 0; i < 5; ++i) AddBlock(d, bkSquare, {0, 0, 10, 10}, "a-a");
  EXPECT_EQ(ReplaceAllText(d, nullptr, {"a", "aa", true}), 5);
  EXPECT_EQ(d.GetObj(4)->AsBlock()->Data.Text, "aa-aa");
}
