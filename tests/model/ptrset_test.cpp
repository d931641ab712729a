#include "model/ptrset.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_set>

// Random inserts and erases against a standard set, with addresses packed
// closely so that probe clusters form and erasing has to shift entries back.
TEST(PtrSet, AgreesWithAStandardSet) {
  std::vector<char> arena(4096);
  std::mt19937 rng(8);
  TPtrSet set;
  std::unordered_set<const void*> ref;
  for (int step = 0; step < 200000; ++step) {
    const void* p = &arena[rng() % arena.size()];
    switch (rng() % 3) {
      case 0:
      case 1:
        set.Insert(p);
        ref.insert(p);
        break;
      default:
        set.Erase(p);
        ref.erase(p);
    }
    if (step % 997 == 0) {
      for (size_t i = 0; i < arena.size(); ++i)
        ASSERT_EQ(set.Contains(&arena[i]), ref.count(&arena[i]) != 0);
      ASSERT_EQ(set.Size(), ref.size());
    }
  }
  EXPECT_FALSE(set.Contains(nullptr));
  set.Clear();
  EXPECT_FALSE(set.Contains(&arena[0]));
  EXPECT_EQ(set.Size(), 0u);
}
