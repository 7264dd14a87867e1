// SPDX-License-Identifier: MIT
// The operand pairs that the tests check binary operations on.
#ifndef FIXEDPOINT_TESTS_OPERAND_PAIRS_H
#define FIXEDPOINT_TESTS_OPERAND_PAIRS_H

#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace fptest {

// Operand pairs: every pair of corner values, then seeded random pairs drawn from the whole
// range, from small magnitudes, and with a zero second operand, then pairs aimed at the
// divisions.
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
    // Quotients that a division through double would truncate wrongly were it not exact: x * 2^14
    // / y and x / y just above and just below an integer (x * 2^14 = 1 or -1 modulo y, by the
    // inverse of 2^14 modulo an odd y; x = 1 or -1 modulo y), and the largest dividends.
    const auto inverse_of_2_14 = [](int64_t m) {  // modulo an odd m > 1, by Euclid
      int64_t r0 = m, r1 = 16384 % m, t0 = 0, t1 = 1;
      while (r1 != 0) {
        const int64_t q = r0 / r1;
        std::tie(r0, r1) = std::make_pair(r1, r0 - q * r1);
        std::tie(t0, t1) = std::make_pair(t1, t0 - q * t1);
      }
      return (t0 % m + m) % m;
    };
    const auto in_range = [&](int64_t v) { return v >= kMin && v <= kMax; };
    for (int i = 0; i < 1 << 14; ++i) {
      const int64_t m = (any(rng) >> (i % 31)) | 1;  // odd, of every magnitude
      const int64_t y = m < 0 ? -m : m;
      if (y < 3) continue;
      const int64_t step = y * (any(rng) >> (i % 24));
      for (const int64_t residue : {int64_t{1}, y - 1}) {
        const int64_t scaled = residue * inverse_of_2_14(y) % y;  // x * 2^14 = residue (mod y)
        for (const int64_t x : {scaled + step, scaled - y, residue + step, -residue - step}) {
          if (in_range(x)) pairs.emplace_back(static_cast<int32_t>(x), static_cast<int32_t>(m));
        }
      }
      pairs.emplace_back(i % 2 ? kMin : kMax, static_cast<int32_t>(m));
      pairs.emplace_back(i % 2 ? kMin + 1 : kMax - 1, static_cast<int32_t>(m >> (i % 31)));
    }
    return pairs;
  }();
  return all;
}

}  // namespace fptest

#endif
