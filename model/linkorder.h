#pragma once
// The second step of sorting a diagram: ordering the links so that every link
// comes after the links it hangs on, by the exchange procedure the file order
// is defined with. Works on link numbers only, so it can be tested alone.

#include <array>
#include <cstdint>
#include <vector>

// ends[k] holds the numbers of link k's ends that are links (-1 for an end
// that is not). The links stand in the order 0..n-1. Returns the order the
// exchange procedure ends with: result[i] is the link at position i.
//
// `deepChains` picks the method for forests of links (each link hanging on at
// most one other link) whose chains are deeper than it: there the exchanges
// are replayed in O(n log^2 n) instead of walking every chain again at every
// position. Tests pass 0 to force that method wherever it applies.
std::vector<uint32_t> OrderLinksAfterLinks(const std::vector<std::array<int32_t, 2>>& ends,
                                           int deepChains = 48);
