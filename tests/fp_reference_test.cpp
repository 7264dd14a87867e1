// SPDX-License-Identifier: MIT
// Checks every function against a reference model written the slow, obvious way in 64-bit
// arithmetic: all 2^32 inputs of the unary functions, and seeded random plus corner operand
// pairs of the binary ones. Each check runs over every form of the library (libfp, and the
// header-only definitions compiled as C++ and as C). Failures print the raw operands so the bit
// pattern is visible.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fp_forms.h"
#include "operand_pairs.h"

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

int32_t RefFloor(int32_t x) {
  return Low32(x >= 0 ? x / kOne : -((-int64_t{x} + kOne - 1) / kOne));
}
int32_t RefCeil(int32_t x) { return Low32(x >= 0 ? (x + kOne - 1) / kOne : -(-int64_t{x} / kOne)); }

int32_t Clamp(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, kMin, kMax)); }
bool Fits(int64_t v) { return v >= kMin && v <= kMax; }

// round(sqrt(n)) for n = x * 16384 is the r with (2r - 1)^2 <= 4n < (2r + 1)^2: found by
// stepping from the floating-point estimate until both bounds hold.
int32_t RefSqrt(int32_t x) {
  if (x <= 0) return 0;
  const int64_t four_n = 4 * (x * kOne);
  auto r = static_cast<int64_t>(std::sqrt(static_cast<double>(x * kOne)));
  while ((2 * r - 1) * (2 * r - 1) > four_n) --r;
  while ((2 * r + 1) * (2 * r + 1) <= four_n) ++r;
  return Low32(r);
}

int32_t RefMulFpNearest(int32_t x, int32_t y) {
  const int64_t product = int64_t{x} * y;
  const int64_t quotient = product / kOne;
  const int64_t remainder = product % kOne;
  const bool away = 2 * (remainder < 0 ? -remainder : remainder) >= kOne;
  return Low32(away ? quotient + (product < 0 ? -1 : 1) : quotient);
}

// The nearest integer with ties to even, in double arithmetic: x / 16384 is exact, and
// nearbyint rounds ties to even in the default rounding mode.
int32_t RefRoundEven(int32_t x) { return static_cast<int32_t>(std::nearbyint(x / 16384.0)); }

// fmod is exact in IEEE arithmetic, and the raw values are exact doubles.
int32_t RefFmod(int32_t x, int32_t y) {
  return y == 0 ? 0 : static_cast<int32_t>(std::fmod(static_cast<double>(x), y));
}

// a + (b - a) * t / 16384, the rescaled product rounded to nearest by quotient and remainder.
int32_t RefLerp(int32_t a, int32_t b, int32_t t) {
  const int64_t product = (int64_t{b} - a) * t;
  const int64_t remainder = product % kOne;
  const bool away = 2 * (remainder < 0 ? -remainder : remainder) >= kOne;
  return Clamp(a + product / kOne + (away ? (product < 0 ? -1 : 1) : 0));
}

// v * 2^s in double arithmetic (exact: v has 31 bits, and 2^-100 ... 2^100 stays normal), rounded
// by std::round, which takes halves away from zero, then saturated.
int32_t RefScalePow2(int32_t v, int64_t s) {
  const double scaled =
      std::round(std::ldexp(v, static_cast<int>(std::clamp<int64_t>(s, -100, 100))));
  return scaled >= kMax ? kMax : (scaled <= kMin ? kMin : static_cast<int32_t>(scaled));
}

// The result of a checked form: what it stored and what it returned.
struct Checked {
  int32_t value;
  bool overflow;
  bool operator==(const Checked&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Checked& c) {
  return out << "{" << c.value << ", " << (c.overflow ? "true" : "false") << "}";
}

// A checked form called as a function of its operands alone.
auto Call(bool (*checked)(int32_t*, int32_t)) {
  return [checked](int32_t x) {
    Checked c{};
    c.overflow = checked(&c.value, x);
    return c;
  };
}
auto Call(bool (*checked)(int32_t*, int32_t, int32_t)) {
  return [checked](int32_t x, int32_t y) {
    Checked c{};
    c.overflow = checked(&c.value, x, y);
    return c;
  };
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
TEST_P(Exhaustive, FpFloorMatchesTheReference) { CheckEveryInput(GetParam()->fp_floor, RefFloor); }
TEST_P(Exhaustive, FpCeilMatchesTheReference) { CheckEveryInput(GetParam()->fp_ceil, RefCeil); }
TEST_P(Exhaustive, FpSqrtMatchesTheReference) { CheckEveryInput(GetParam()->fp_sqrt, RefSqrt); }
TEST_P(Exhaustive, CvtIntFpSatMatchesTheReference) {
  CheckEveryInput(GetParam()->cvt_int_fp_sat, [](int32_t n) { return Clamp(n * kOne); });
}
TEST_P(Exhaustive, CvtIntFpCkdStoresTheWrappedResultAndReportsOverflow) {
  CheckEveryInput(Call(GetParam()->cvt_int_fp_ckd), [](int32_t n) {
    return Checked{RefCvtIntFp(n), !Fits(n * kOne)};
  });
}
TEST_P(Exhaustive, FpAbsMatchesTheReference) {
  CheckEveryInput(GetParam()->fp_abs, [](int32_t x) { return Low32(std::abs(int64_t{x})); });
}
TEST_P(Exhaustive, FpAbsSatMatchesTheReference) {
  CheckEveryInput(GetParam()->fp_abs_sat, [](int32_t x) { return Clamp(std::abs(int64_t{x})); });
}
TEST_P(Exhaustive, FpAbsCkdStoresTheWrappedResultAndReportsOverflow) {
  CheckEveryInput(Call(GetParam()->fp_abs_ckd), [](int32_t x) {
    return Checked{Low32(std::abs(int64_t{x})), !Fits(std::abs(int64_t{x}))};
  });
}
TEST_P(Exhaustive, FpRoundEvenMatchesTheReference) {
  CheckEveryInput(GetParam()->fp_round_even, RefRoundEven);
}
TEST_P(Exhaustive, FpSqrtCkdStoresTheRootAndReportsNegatives) {
  CheckEveryInput(Call(GetParam()->fp_sqrt_ckd), [](int32_t x) {
    return Checked{RefSqrt(x), x < 0};
  });
}

using fptest::OperandPairs;

struct BinaryFunction {
  const char* name;
  int32_t (*unit)(int32_t, int32_t);
  int32_t (*reference)(int32_t, int32_t);
};

class Reference : public testing::TestWithParam<const fp_form*> {};

TEST_P(Reference, BinaryFunctionsMatchOnRandomAndCornerPairs) {
  const auto& pairs = OperandPairs();
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
      {"fp_mul_fp", form.fp_mul_fp,
       [](int32_t x, int32_t y) { return Low32(x * int64_t{y} / kOne); }},
      {"fp_mul_fp_nearest", form.fp_mul_fp_nearest, RefMulFpNearest},
      {"fp_min", form.fp_min, [](int32_t x, int32_t y) { return std::min(x, y); }},
      {"fp_max", form.fp_max, [](int32_t x, int32_t y) { return std::max(x, y); }},
      {"fp_fmod", form.fp_fmod, RefFmod},
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

// A family: one operation's exact result (none for a zero divisor), the reference of its
// wrapping form, and its saturating and checked forms in a form of the library.
using Binary = int32_t (*)(int32_t, int32_t);
using BinaryCkd = bool (*)(int32_t*, int32_t, int32_t);
struct Family {
  const char* name;
  std::optional<int64_t> (*exact)(int32_t, int32_t);
  Binary wrapping_reference;
  Binary fp_form::*saturating;
  BinaryCkd fp_form::*checked;
};

std::optional<int64_t> ExactDivision(int64_t dividend, int32_t divisor) {
  if (divisor == 0) return std::nullopt;
  return dividend / divisor;
}

TEST_P(Reference, SaturatingAndCheckedFormsMatchOnRandomAndCornerPairs) {
  const auto& pairs = OperandPairs();
  const fp_form& form = *GetParam();
  const Family families[] = {
      {"add", [](int32_t x, int32_t y) -> std::optional<int64_t> { return int64_t{x} + y; }, RefAdd,
       &fp_form::fp_add_sat, &fp_form::fp_add_ckd},
      {"sub", [](int32_t x, int32_t y) -> std::optional<int64_t> { return int64_t{x} - y; }, RefSub,
       &fp_form::fp_sub_sat, &fp_form::fp_sub_ckd},
      {"mul_fp",
       [](int32_t x, int32_t y) -> std::optional<int64_t> { return x * int64_t{y} / kOne; },
       [](int32_t x, int32_t y) { return Low32(x * int64_t{y} / kOne); }, &fp_form::fp_mul_fp_sat,
       &fp_form::fp_mul_fp_ckd},
      {"div", [](int32_t x, int32_t y) { return ExactDivision(x * kOne, y); }, RefDiv,
       &fp_form::fp_div_sat, &fp_form::fp_div_ckd},
      {"add_int", [](int32_t x, int32_t n) -> std::optional<int64_t> { return x + n * kOne; },
       RefAddInt, &fp_form::fp_add_int_sat, &fp_form::fp_add_int_ckd},
      {"sub_int", [](int32_t x, int32_t n) -> std::optional<int64_t> { return x - n * kOne; },
       RefSubInt, &fp_form::fp_sub_int_sat, &fp_form::fp_sub_int_ckd},
      {"mul_int", [](int32_t x, int32_t n) -> std::optional<int64_t> { return int64_t{x} * n; },
       RefMul, &fp_form::fp_mul_int_sat, &fp_form::fp_mul_int_ckd},
      {"div_int", [](int32_t x, int32_t n) { return ExactDivision(x, n); }, RefDivInt,
       &fp_form::fp_div_int_sat, &fp_form::fp_div_int_ckd},
  };
  for (const Family& f : families) {
    int failures = 0;
    for (const auto& [x, y] : pairs) {
      const std::optional<int64_t> exact = f.exact(x, y);
      const int32_t want_sat = exact ? Clamp(*exact) : RefZeroDivisor(x);
      const Checked want_ckd{f.wrapping_reference(x, y), !exact || !Fits(*exact)};
      const int32_t got_sat = (form.*f.saturating)(x, y);
      const Checked got_ckd = Call(form.*f.checked)(x, y);
      if ((got_sat != want_sat || got_ckd != want_ckd) && failures++ < 5) {
        ADD_FAILURE() << f.name << "(" << x << ", " << y << "): _sat " << got_sat << ", want "
                      << want_sat << "; _ckd " << got_ckd << ", want " << want_ckd;
      }
    }
    EXPECT_EQ(failures, 0) << f.name;
  }
}

// The three-operand functions take as third operand the first of the pair half the list away,
// so that corner pairs meet random thirds and random pairs corner ones. The Q conversions take
// frac_bits from the second operand, spread over -60 ... 60.
TEST_P(Reference, ClampLerpAndQFormatsMatchOnRandomAndCornerOperands) {
  const auto& pairs = OperandPairs();
  const fp_form& form = *GetParam();
  int failures = 0;
  const auto expect = [&failures](const char* name, int32_t x, int32_t y, int32_t z, int32_t got,
                                  int32_t want) {
    if (got != want && failures++ < 5) {
      ADD_FAILURE() << name << "(" << x << ", " << y << ", " << z << ") = " << got << ", want "
                    << want;
    }
  };
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const auto [x, y] = pairs[i];
    const int32_t z = pairs[(i + pairs.size() / 2) % pairs.size()].first;
    expect("fp_clamp", x, y, z, form.fp_clamp(x, y, z),
           std::clamp(x, std::min(y, z), std::max(y, z)));
    expect("fp_lerp", x, y, z, form.fp_lerp(x, y, z), RefLerp(x, y, z));
    const int frac_bits = static_cast<int>(y % 61);
    expect("fp_from_q", x, frac_bits, 0, form.fp_from_q(x, frac_bits),
           RefScalePow2(x, 14 - frac_bits));
    expect("fp_to_q", x, frac_bits, 0, form.fp_to_q(x, frac_bits), RefScalePow2(x, frac_bits - 14));
  }
  EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Forms, Exhaustive, testing::ValuesIn(kFpForms), FpFormName());
INSTANTIATE_TEST_SUITE_P(Forms, Reference, testing::ValuesIn(kFpForms), FpFormName());

}  // namespace
