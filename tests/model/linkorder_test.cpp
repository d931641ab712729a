// Link ordering against the exchange procedure done literally: restart the
// pass from the first link after every exchange.
#include "model/linkorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {
std::vector<uint32_t> LiteralOrder(const std::vector<std::array<int32_t, 2>>& ends) {
  std::vector<uint32_t> list(ends.size());
  for (size_t k = 0; k < list.size(); ++k) list[k] = uint32_t(k);
  auto position = [&](int32_t link) {
    return int64_t(std::find(list.begin(), list.end(), uint32_t(link)) - list.begin());
  };
  for (bool again = true; again;) {
    again = false;
    for (size_t i = 0; i < list.size(); ++i) {
      int64_t m = 0;
      for (int32_t e : ends[list[i]])
        if (e >= 0) m = std::max(m, position(e));
      if (int64_t(i) < m) {
        std::swap(list[i], list[size_t(m)]);
        again = true;
        break;
      }
    }
  }
  return list;
}

// A random forest: link k hangs on at most one link made before it in a
// hidden creation order; then the list order is shuffled.
std::vector<std::array<int32_t, 2>> RandomForest(std::mt19937& rng, int n, double hangShare,
                                                 int chainBias) {
  std::vector<int32_t> up(static_cast<size_t>(n), -1);
  std::uniform_real_distribution<double> u(0, 1);
  for (int k = 1; k < n; ++k) {
    if (u(rng) >= hangShare) continue;
    // chainBias > 0 favours hanging on a recent link, making deep chains.
    const int back =
        chainBias > 0 ? 1 + int(rng() % unsigned(chainBias)) : 1 + int(rng() % unsigned(k));
    up[size_t(k)] = std::max(0, k - back);
  }
  std::vector<int32_t> perm(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) perm[size_t(k)] = k;
  std::shuffle(perm.begin(), perm.end(), rng);
  std::vector<std::array<int32_t, 2>> ends(static_cast<size_t>(n), {-1, -1});
  for (int k = 0; k < n; ++k) {
    if (up[size_t(k)] < 0) continue;
    // The link end may be the source or the target end.
    ends[size_t(perm[size_t(k)])][rng() % 2] = perm[size_t(up[size_t(k)])];
  }
  return ends;
}
}  // namespace

TEST(LinkOrder, ForestMethodMatchesTheExchanges) {
  std::mt19937 rng(17);
  for (int round = 0; round < 1500; ++round) {
    const int n = 1 + int(rng() % 70);
    const auto ends =
        RandomForest(rng, n, round % 4 == 0 ? 1.0 : 0.7, round % 3 == 0 ? 0 : 1 + round % 5);
    ASSERT_EQ(OrderLinksAfterLinks(ends, 0), LiteralOrder(ends)) << "round " << round;
    ASSERT_EQ(OrderLinksAfterLinks(ends), LiteralOrder(ends)) << "round " << round;
  }
}

TEST(LinkOrder, ChainsInEveryOrder) {
  // Reversed chain: each link hangs on the next one in the list.
  for (int n : {1, 2, 3, 10, 100, 500}) {
    std::vector<std::array<int32_t, 2>> ends(static_cast<size_t>(n), {-1, -1});
    for (int k = 0; k + 1 < n; ++k) ends[size_t(k)][1] = k + 1;
    std::vector<uint32_t> reversed(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) reversed[size_t(k)] = uint32_t(n - 1 - k);
    EXPECT_EQ(OrderLinksAfterLinks(ends, 0), reversed);
    EXPECT_EQ(OrderLinksAfterLinks(ends), reversed);
  }
}

TEST(LinkOrder, LinksWithTwoLinkEndsAndCycles) {
  std::mt19937 rng(23);
  for (int round = 0; round < 500; ++round) {
    const int n = 2 + int(rng() % 40);
    // A DAG in creation order with up to two link ends each, then shuffled.
    std::vector<int32_t> perm(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) perm[size_t(k)] = k;
    std::shuffle(perm.begin(), perm.end(), rng);
    std::vector<std::array<int32_t, 2>> ends(static_cast<size_t>(n), {-1, -1});
    for (int k = 1; k < n; ++k)
      for (int e = 0; e < 2; ++e)
        if (rng() % 3 == 0) ends[size_t(perm[size_t(k)])][size_t(e)] = perm[rng() % unsigned(k)];
    ASSERT_EQ(OrderLinksAfterLinks(ends, 0), LiteralOrder(ends)) << "round " << round;
  }
  // Links hanging on each other in a cycle: no endless loop, every link once.
  std::vector<std::array<int32_t, 2>> cycle = {{1, -1}, {2, -1}, {0, -1}, {-1, -1}};
  auto order = OrderLinksAfterLinks(cycle, 0);
  std::sort(order.begin(), order.end());
  EXPECT_EQ(order, (std::vector<uint32_t>{0, 1, 2, 3}));
  std::vector<std::array<int32_t, 2>> self = {{0, 0}, {-1, -1}};
  EXPECT_EQ(OrderLinksAfterLinks(self, 0).size(), 2u);
}

TEST(LinkOrder, LongChainsStayFast) {
  // 200,000 links in one reversed chain would need 2*10^10 exchanges done
  // literally; the forest method must finish (ctest's timeout guards it).
  const int n = 200000;
  std::vector<std::array<int32_t, 2>> ends(static_cast<size_t>(n), {-1, -1});
  for (int k = 0; k + 1 < n; ++k) ends[size_t(k)][0] = k + 1;
  const auto order = OrderLinksAfterLinks(ends);
  ASSERT_EQ(order.size(), size_t(n));
  EXPECT_EQ(order.front(), uint32_t(n - 1));
  EXPECT_EQ(order.back(), 0u);
}
