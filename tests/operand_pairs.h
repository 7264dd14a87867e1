// SPDX-License-Identifier: MIT
// The operand pairs that the tests check binary operations on.
#ifndef FIXEDPOINT_TESTS_OPERAND_PAIRS_H
#define FIXEDPOINT_TESTS_OPERAND_PAIRS_H

#include <cstdint>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace fptest {

// Operand pairs: every pair of corner values, then seeded random pairs drawn from the whole
// range, from small magnitudes, and with a zero second operand.
inline const std::vector<std::pair<int32_t, int32_t>>& OperandPairs() {
  static const std::vector<std::pair<int32_t, int32_t>> all = [] {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const std::vector<int32_t> corners = {
        kMin,   kMin + 1,   -2147475457, -2147475456, -2147467264, -983040, -65536, -16385, -16384,
        -16383, -8193,      -8192,       -8191,       -2,          -1,      0,      1,      2,
        8191,   8192,       8193,        16383,       16384,       16385,   65536,  131071, 131072,
        983040, 2147467264, 2147475455,  2147475456,  kMax - 1,    kMax};
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (int32_t x : corners) {
      for (int32_t y : corners) pairs.emplace_back(x, y);
    }
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int32_t> any(kMin, kMax);
    std::uniform_int_distribution<int32_t> small(-(1 << 18), 1 << 18);
    for (int i = 0; i < 1 << 18; ++i) {
      pairs.emplace_back(any(rng), any(rng));
      pairs.emplace_back(any(rng), small(rng));
      pairs.emplace_back(small(rng), small(rng));
      pairs.emplace_back(any(rng), 0);
    }
    return pairs;
  }();
  return all;
}

}  // namespace fptest

#endif
