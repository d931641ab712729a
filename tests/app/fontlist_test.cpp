// The font box's families: each once, without foundry suffixes.
#include "app/fontlist.h"

#include <gtest/gtest.h>

TEST(FontFamiliesOnce, FoundriesAreDroppedAndEachFamilyComesOnceInFirstOrder) {
  const QStringList reported = {
      "DejaVu Sans", "Nimbus Sans [urw]", "Courier", "Nimbus Sans [UKWN]", "Nimbus Sans [URW ]",
      "DejaVu Sans", "Bracket]",          "[Odd]",   "Mono [x] [y]"};
  EXPECT_EQ(FontFamiliesOnce(reported), (QStringList{"DejaVu Sans", "Nimbus Sans", "Courier",
                                                     "Bracket]", "[Odd]", "Mono [x]"}));
  EXPECT_TRUE(FontFamiliesOnce({}).isEmpty());
}
