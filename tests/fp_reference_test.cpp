// Checks every function against a reference model written the slow, obvious way in 64-bit
// arithmetic: all 2^32 inputs of the unary functions, and seeded random plus corner operand
// pairs of the binary ones. Each check runs over every form of the library (libfp, and the
// header-only definitions compiled as C++ and as C). Failures print the raw operands so the bit
// pattern is visible.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fp_forms.h"

#ifndef FP_EXHAUSTIVE_STRIDE
#define FP_EXHAUSTIVE_STRIDE 1
#endif

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int64_t kOne = 16384;

// The low 32 bits of v as a two's-complement value (C++20 defines the conversion that way).
int32_t Low32(int64_t v) { return static_cast<int32_t>(v); }

int32_t RefZeroDivisor(int32_t x) { return x > 0 ? kMax : (x < 0 ? kMin : 0); }

int32_t RefCvtIntFp(int32_t n) { return Low32(n * kOne); }

int32_t RefRound(int32_t x) { return Low32(x / kOne); }

int32_t RefToNearest(int32_t x) {
  const int64_t quotient = x / kOne;
  const int64_t remainder = x % kOne;  // same sign as x
  const int64_t twice = remainder < 0 ? -2 * remainder : 2 * remainder;
  return Low32(twice >= kOne ? quotient + (x < 0 ? -1 : 1) : quotient);
}

int32_t RefAdd(int32_t x, int32_t y) { return Low32(int64_t{x} + y); }
int32_t RefSub(int32_t x, int32_t y) { return Low32(int64_t{x} - y); }
int32_t RefMul(int32_t x, int32_t y) { return Low32(int64_t{x} * y); }
int32_t RefDiv(int32_t x, int32_t y) { return y == 0 ? RefZeroDivisor(x) : Low32(x * kOne / y); }
int32_t RefAddInt(int32_t x, int32_t n) { return Low32(x + int64_t{RefCvtIntFp(n)}); }
int32_t RefSubInt(int32_t x, int32_t n) { return Low32(x - int64_t{RefCvtIntFp(n)}); }
int32_t RefDivInt(int32_t x, int32_t n) {
  return n == 0 ? RefZeroDivisor(x) : Low32(int64_t{x} / n);
}

// Visits every input when the stride is 1. With a coarser stride (sanitizer builds) it still
// visits every input within 70000 raw units of each point where a result changes character.
template <typename Unit, typename Reference>
void CheckEveryInput(Unit unit, Reference reference) {
  uint64_t mismatches = 0;
  int32_t first = 0;
  auto check = [&](int64_t x) {
    const auto v = static_cast<int32_t>(x);
    if (unit(v) != reference(v) && mismatches++ == 0) first = v;
  };
  for (int64_t x = kMin; x <= kMax; x += FP_EXHAUSTIVE_STRIDE) check(x);
  if (FP_EXHAUSTIVE_STRIDE > 1) {
    for (const int64_t centre : {int64_t{kMin}, int64_t{-2147475456}, -kOne, int64_t{0}, kOne,
                                 int64_t{2147475456}, int64_t{kMax}}) {
      for (int64_t x = std::max<int64_t>(kMin, centre - 70000);
           x <= std::min<int64_t>(kMax, centre + 70000); ++x) {
        check(x);
      }
    }
  }
  EXPECT_EQ(mismatches, 0u) << "first mismatch at x = " << first << ": got " << unit(first)
                            << ", want " << reference(first);
}

class Exhaustive : public testing::TestWithParam<const fp_form*> {};

TEST_P(Exhaustive, CvtIntFpMatchesTheReference) {
  CheckEveryInput(GetParam()->cvt_int_fp, RefCvtIntFp);
}
TEST_P(Exhaustive, FpRoundMatchesTheReference) { CheckEveryInput(GetParam()->fp_round, RefRound); }
TEST_P(Exhaustive, FpToNearestMatchesTheReference) {
  CheckEveryInput(GetParam()->fp_to_nearest, RefToNearest);
}

// Operand pairs: every pair of corner values, then seeded random pairs drawn from the whole
// range, from small magnitudes, and with a zero second operand.
std::vector<std::pair<int32_t, int32_t>> OperandPairs() {
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
}

struct BinaryFunction {
  const char* name;
  int32_t (*unit)(int32_t, int32_t);
  int32_t (*reference)(int32_t, int32_t);
};

class Reference : public testing::TestWithParam<const fp_form*> {};

TEST_P(Reference, BinaryFunctionsMatchOnRandomAndCornerPairs) {
  static const auto pairs = OperandPairs();
  const fp_form& form = *GetParam();
  const BinaryFunction functions[] = {
      {"fp_add", form.fp_add, RefAdd},
      {"fp_sub", form.fp_sub, RefSub},
      {"fp_mul", form.fp_mul, RefMul},
      {"fp_div", form.fp_div, RefDiv},
      {"fp_add_int", form.fp_add_int, RefAddInt},
      {"fp_sub_int", form.fp_sub_int, RefSubInt},
      {"fp_mul_int", form.fp_mul_int, RefMul},
      {"fp_div_int", form.fp_div_int, RefDivInt},
  };
  for (const BinaryFunction& f : functions) {
    int failures = 0;
    for (const auto& [x, y] : pairs) {
      const int32_t got = f.unit(x, y);
      const int32_t want = f.reference(x, y);
      if (got != want && failures++ < 5) {
        ADD_FAILURE() << f.name << "(" << x << ", " << y << ") = " << got << ", want " << want;
      }
    }
    EXPECT_EQ(failures, 0) << f.name;
  }
}

const fp_form* const kForms[] = {&fp_form_library, &fp_form_header_cpp, &fp_form_header_c};
std::string FormName(const testing::TestParamInfo<const fp_form*>& info) {
  return info.param->name;
}
INSTANTIATE_TEST_SUITE_P(Forms, Exhaustive, testing::ValuesIn(kForms), FormName);
INSTANTIATE_TEST_SUITE_P(Forms, Reference, testing::ValuesIn(kForms), FormName);

}  // namespace
