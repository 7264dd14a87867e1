// SPDX-License-Identifier: MIT
// fixedpoint::fixed against the C functions of libfp: every operator and free function gives
// bit for bit what its C function gives, on a million seeded random and corner operand pairs;
// the same operators at compile time; printing, reading and the literal. Failures print raw
// values.
#include <gtest/gtest.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iomanip>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <unordered_set>
#include <utility>
#include <vector>

#include <fixedpoint/fp.h>
#include <fixedpoint/fixed.hpp>

#include "fixed_order.h"
#include "operand_pairs.h"

namespace {

using fixedpoint::fixed;
using namespace fixedpoint::literals;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

constexpr fixed F(int32_t raw) { return fixed::from_raw(raw); }

// ---- The type ---------------------------------------------------------------------------------

static_assert(sizeof(fixed) == 4 && std::is_trivially_copyable_v<fixed>);
static_assert(std::is_standard_layout_v<fixed>);
static_assert(!std::is_convertible_v<int, fixed> && !std::is_convertible_v<fixed, int>);
static_assert(!std::is_convertible_v<double, fixed> && !std::is_convertible_v<fixed, double>);
static_assert(!std::is_convertible_v<int32_t, fixed> && !std::is_convertible_v<fixed, int32_t>);
static_assert(std::is_constructible_v<fixed, int> && std::is_constructible_v<fixed, short>);
// A double, an int64_t, an unsigned, a bool or a char operand stops the build with a message of
// its own: ctest's fixed.rejects.* builds check those.

// abs, and every other function, by argument-dependent lookup, also after `using std::abs;`.
static_assert([] {
  using std::abs;
  return abs(fixed::from_raw(-1)) == fixed::from_raw(1);
}());

using Limits = std::numeric_limits<fixed>;
static_assert(Limits::is_specialized && Limits::is_signed && !Limits::is_integer);
static_assert(Limits::is_exact && Limits::is_bounded && Limits::is_modulo && !Limits::traps);
static_assert(!Limits::has_infinity && !Limits::has_quiet_NaN && !Limits::has_signaling_NaN);
static_assert(Limits::radix == 2 && Limits::digits == 31 && Limits::digits10 == 9);
static_assert(Limits::max_digits10 == 11);

// The constants are the nearest values, as fp_from_double gives them for the doubles nearest to
// pi, e and ln 2 (whose own rounding is far below half a raw unit).
TEST(FixedNumbers, AreTheNearestValues) {
  EXPECT_EQ(fixedpoint::numbers::pi.raw(), fp_from_double(3.14159265358979323846));
  EXPECT_EQ(fixedpoint::numbers::e.raw(), fp_from_double(2.71828182845904523536));
  EXPECT_EQ(fixedpoint::numbers::ln2.raw(), fp_from_double(0.69314718055994530942));
  EXPECT_EQ(fixedpoint::numbers::pi.raw(), fp_atan2(0, -1));
}
static_assert(Limits::round_style == std::round_toward_zero);
static_assert(Limits::min().raw() == kMin && Limits::lowest().raw() == kMin);
static_assert(Limits::max().raw() == kMax && Limits::epsilon().raw() == 1);
static_assert(Limits::round_error() == fixed(1));

// ---- Every operator at compile time -------------------------------------------------------------

struct ConstantRow {
  const char* expression;
  fixed got;
  int32_t want;
};

template <typename Op>
constexpr fixed Assigned(fixed x, Op op) {
  op(x);
  return x;
}
constexpr fixed Or(std::optional<fixed> r, int32_t otherwise) { return r.value_or(F(otherwise)); }
constexpr int32_t kNone = 12345;  // what a checked row holds for nullopt

constexpr ConstantRow kConstantRows[] = {
    {"-1.0", -fixed(1), -16384},
    {"-lowest wraps", -F(kMin), kMin},
    {"+2.0", +fixed(2), 32768},
    {"highest + 1 raw wraps", F(kMax) + F(1), kMin},
    {"1.0 * 1.0 rescales", fixed(1) * fixed(1), 16384},
    {"-1 raw * 1 raw truncates", F(-1) * F(1), 0},
    {"1 / 60", fixed(1) / fixed(60), 273},
    {"1 / 0", fixed(1) / fixed(0), kMax},
    {"0.5 + 2", F(8192) + 2, 40960},
    {"2 + 0.5", 2 + F(8192), 40960},
    {"0.5 - 1", F(8192) - 1, -8192},
    {"0.5 * 3", F(8192) * 3, 24576},
    {"-3 * 0.5", -3 * F(8192), -24576},
    {"-7 raw / 2", F(-7) / 2, -3},
    {"lowest / -1 wraps", F(kMin) / -1, kMin},
    {"x += y", Assigned(fixed(1), [](fixed& x) { x += fixed(2); }), 49152},
    {"x -= y", Assigned(fixed(1), [](fixed& x) { x -= fixed(2); }), -16384},
    {"x *= y", Assigned(fixed(3), [](fixed& x) { x *= F(8192); }), 24576},
    {"x /= y", Assigned(fixed(3), [](fixed& x) { x /= fixed(2); }), 24576},
    {"x += n", Assigned(fixed(1), [](fixed& x) { x += 2; }), 49152},
    {"x -= n", Assigned(fixed(1), [](fixed& x) { x -= 2; }), -16384},
    {"x *= n", Assigned(fixed(3), [](fixed& x) { x *= -2; }), -98304},
    {"x /= n", Assigned(fixed(3), [](fixed& x) { x /= 2; }), 24576},
    {"to_int(1.75)", F(F(28672).to_int()), 1},
    {"round(-0.5)", F(F(-8192).round()), -1},
    {"floor(-1 raw)", F(F(-1).floor()), -1},
    {"ceil(1 raw)", F(F(1).ceil()), 1},
    {"from_int_sat(131072)", fixedpoint::from_int_sat(131072), kMax},
    {"exp(1)", exp(fixed(1)), 44536},
    {"exp2(1)", exp2(fixed(1)), 32768},
    {"log(1)", log(fixed(1)), 0},
    {"log2(1/16384)", log2(F(1)), -14 * 16384},
    {"log10(10)", log10(fixed(10)), 16384},
    {"pow(-2, 3)", pow(fixed(-2), fixed(3)), -8 * 16384},
    {"exp_checked(12)", Or(exp_checked(fixed(12)), kNone), kNone},
    {"log_checked(0)", Or(log_checked(fixed(0)), kNone), kNone},
    {"pow_checked(-1, 0.5)", Or(pow_checked(fixed(-1), F(8192)), kNone), kNone},
    {"add_sat", fixedpoint::add_sat(F(kMax), F(1)), kMax},
    {"sub_sat", fixedpoint::sub_sat(F(kMin), F(1)), kMin},
    {"mul_sat", fixedpoint::mul_sat(F(kMin), fixed(-1)), kMax},
    {"div_sat by 0", fixedpoint::div_sat(fixed(1), fixed(0)), kMax},
    {"add_sat int", fixedpoint::add_sat(F(-1), 131072), kMax},
    {"sub_sat int", fixedpoint::sub_sat(fixed(0), 131073), kMin},
    {"mul_sat int", fixedpoint::mul_sat(F(kMin), -1), kMax},
    {"div_sat lowest / -1", fixedpoint::div_sat(F(kMin), -1), kMax},
    {"from_int_checked(131072)", Or(fixedpoint::from_int_checked(131072), kNone), kNone},
    {"add_checked overflows", Or(fixedpoint::add_checked(F(kMax), F(1)), kNone), kNone},
    {"sub_checked", Or(fixedpoint::sub_checked(F(kMin), F(1)), kNone), kNone},
    {"mul_checked", Or(fixedpoint::mul_checked(fixed(2), fixed(3)), kNone), 98304},
    {"div_checked by 0", Or(fixedpoint::div_checked(fixed(0), fixed(0)), kNone), kNone},
    {"add_checked int", Or(fixedpoint::add_checked(fixed(0), 131072), kNone), kNone},
    {"sub_checked int", Or(fixedpoint::sub_checked(fixed(0), 131072), kNone), kMin},
    {"mul_checked int", Or(fixedpoint::mul_checked(F(kMin), -1), kNone), kNone},
    {"div_checked int", Or(fixedpoint::div_checked(F(-7), 2), kNone), -3},
    {"sqrt(2)", fixedpoint::sqrt(fixed(2)), 23170},
    {"sqrt_checked(-1 raw)", Or(fixedpoint::sqrt_checked(F(-1)), kNone), kNone},
    {"mul_nearest(1 raw, 0.5)", fixedpoint::mul_nearest(F(1), F(8192)), 1},
    {"abs(lowest) wraps", abs(F(kMin)), kMin},
    {"abs_sat(lowest)", abs_sat(F(kMin)), kMax},
    {"abs_checked(lowest)", Or(abs_checked(F(kMin)), kNone), kNone},
    {"min", min(fixed(1), fixed(-2)), -32768},
    {"max", max(fixed(1), fixed(-2)), 16384},
    {"clamp, bounds in the wrong order", clamp(fixed(9), fixed(5), fixed(1)), 5 * 16384},
    {"lerp(1, 3, 0.5)", lerp(fixed(1), fixed(3), F(8192)), 2 * 16384},
    {"fmod(-5.5, 2)", fmod(F(-90112), fixed(2)), -24576},
    {"round_even(2.5)", F(round_even(F(40960))), 2},
    {"1.5_fx", 1.5_fx, 24576},
    {"3_fx", 3_fx, 49152},
};

constexpr int FirstWrongConstantRow() {
  for (int i = 0; i < static_cast<int>(std::size(kConstantRows)); ++i) {
    if (kConstantRows[i].got.raw() != kConstantRows[i].want) return i;
  }
  return -1;
}
static_assert(FirstWrongConstantRow() == -1, "a row of kConstantRows is wrong");
static_assert(F(1) < F(2) && F(2) > F(1) && F(1) <= F(1) && F(1) >= F(1) && F(1) != F(2));
static_assert(F(kMin) < F(kMax) && -fixed(1) == F(-16384));
#ifdef FIXEDPOINT_THREE_WAY
static_assert((F(kMin) <=> F(kMax)) == std::strong_ordering::less);
#endif

// The same rows at run time, so that a wrong one is named.
TEST(FixedConstexpr, RowsHoldAtCompileTime) {
  for (const ConstantRow& row : kConstantRows) {
    SCOPED_TRACE(row.expression);
    EXPECT_EQ(row.got.raw(), row.want);
  }
}

// ---- Every operator against its C function ------------------------------------------------------

const std::vector<std::pair<int32_t, int32_t>>& Pairs() { return fptest::OperandPairs(); }

struct BinaryRow {
  const char* name;
  int32_t (*cxx)(int32_t, int32_t);
  int32_t (*c)(int32_t, int32_t);
};

TEST(Fixed, OperatorsMatchTheirCFunctions) {
  const BinaryRow rows[] = {
      {"x + y", [](int32_t x, int32_t y) { return (F(x) + F(y)).raw(); }, fp_add},
      {"x - y", [](int32_t x, int32_t y) { return (F(x) - F(y)).raw(); }, fp_sub},
      {"x * y", [](int32_t x, int32_t y) { return (F(x) * F(y)).raw(); }, fp_mul_fp},
      {"x / y", [](int32_t x, int32_t y) { return (F(x) / F(y)).raw(); }, fp_div},
      {"x + n", [](int32_t x, int32_t n) { return (F(x) + n).raw(); }, fp_add_int},
      {"n + x", [](int32_t x, int32_t n) { return (n + F(x)).raw(); }, fp_add_int},
      {"x - n", [](int32_t x, int32_t n) { return (F(x) - n).raw(); }, fp_sub_int},
      {"x * n", [](int32_t x, int32_t n) { return (F(x) * n).raw(); }, fp_mul_int},
      {"n * x", [](int32_t x, int32_t n) { return (n * F(x)).raw(); }, fp_mul_int},
      {"x / n", [](int32_t x, int32_t n) { return (F(x) / n).raw(); }, fp_div_int},
      {"add_sat", [](int32_t x, int32_t y) { return add_sat(F(x), F(y)).raw(); }, fp_add_sat},
      {"sub_sat", [](int32_t x, int32_t y) { return sub_sat(F(x), F(y)).raw(); }, fp_sub_sat},
      {"mul_sat", [](int32_t x, int32_t y) { return mul_sat(F(x), F(y)).raw(); }, fp_mul_fp_sat},
      {"div_sat", [](int32_t x, int32_t y) { return div_sat(F(x), F(y)).raw(); }, fp_div_sat},
      {"add_sat int", [](int32_t x, int32_t n) { return add_sat(F(x), n).raw(); }, fp_add_int_sat},
      {"sub_sat int", [](int32_t x, int32_t n) { return sub_sat(F(x), n).raw(); }, fp_sub_int_sat},
      {"mul_sat int", [](int32_t x, int32_t n) { return mul_sat(F(x), n).raw(); }, fp_mul_int_sat},
      {"div_sat int", [](int32_t x, int32_t n) { return div_sat(F(x), n).raw(); }, fp_div_int_sat},
      {"mul_nearest", [](int32_t x, int32_t y) { return mul_nearest(F(x), F(y)).raw(); },
       fp_mul_fp_nearest},
      // The unary functions, on the first operand.
      {"-x", [](int32_t x, int32_t) { return (-F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_sub(0, x); }},
      {"fixed(n)", [](int32_t n, int32_t) { return fixed(n).raw(); },
       [](int32_t n, int32_t) { return cvt_int_fp(n); }},
      {"from_int_sat", [](int32_t n, int32_t) { return fixedpoint::from_int_sat(n).raw(); },
       [](int32_t n, int32_t) { return cvt_int_fp_sat(n); }},
      {"to_int", [](int32_t x, int32_t) { return F(x).to_int(); },
       [](int32_t x, int32_t) { return fp_round(x); }},
      {"round", [](int32_t x, int32_t) { return F(x).round(); },
       [](int32_t x, int32_t) { return fp_to_nearest(x); }},
      {"floor", [](int32_t x, int32_t) { return F(x).floor(); },
       [](int32_t x, int32_t) { return fp_floor(x); }},
      {"ceil", [](int32_t x, int32_t) { return F(x).ceil(); },
       [](int32_t x, int32_t) { return fp_ceil(x); }},
      {"sqrt", [](int32_t x, int32_t) { return sqrt(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_sqrt(x); }},
      {"exp", [](int32_t x, int32_t) { return exp(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_exp(x); }},
      {"exp2", [](int32_t x, int32_t) { return exp2(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_exp2(x); }},
      {"log", [](int32_t x, int32_t) { return log(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_log(x); }},
      {"log2", [](int32_t x, int32_t) { return log2(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_log2(x); }},
      {"log10", [](int32_t x, int32_t) { return log10(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_log10(x); }},
      {"pow", [](int32_t x, int32_t y) { return pow(F(x), F(y)).raw(); }, fp_pow},
      {"sin", [](int32_t x, int32_t) { return sin(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_sin(x); }},
      {"cos", [](int32_t x, int32_t) { return cos(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_cos(x); }},
      {"tan", [](int32_t x, int32_t) { return tan(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_tan(x); }},
      {"sinpi", [](int32_t x, int32_t) { return sinpi(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_sinpi(x); }},
      {"cospi", [](int32_t x, int32_t) { return cospi(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_cospi(x); }},
      {"asin", [](int32_t x, int32_t) { return asin(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_asin(x); }},
      {"acos", [](int32_t x, int32_t) { return acos(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_acos(x); }},
      {"atan", [](int32_t x, int32_t) { return atan(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_atan(x); }},
      {"atan2", [](int32_t y, int32_t x) { return atan2(F(y), F(x)).raw(); }, fp_atan2},
      {"hypot", [](int32_t x, int32_t y) { return hypot(F(x), F(y)).raw(); }, fp_hypot},
      {"abs", [](int32_t x, int32_t) { return abs(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_abs(x); }},
      {"abs_sat", [](int32_t x, int32_t) { return abs_sat(F(x)).raw(); },
       [](int32_t x, int32_t) { return fp_abs_sat(x); }},
      {"round_even", [](int32_t x, int32_t) { return round_even(F(x)); },
       [](int32_t x, int32_t) { return fp_round_even(x); }},
      {"min", [](int32_t x, int32_t y) { return min(F(x), F(y)).raw(); }, fp_min},
      {"max", [](int32_t x, int32_t y) { return max(F(x), F(y)).raw(); }, fp_max},
      {"fmod", [](int32_t x, int32_t y) { return fmod(F(x), F(y)).raw(); }, fp_fmod},
      // The three-operand functions, with a third operand made from the second.
      {"clamp", [](int32_t x, int32_t y) { return clamp(F(x), F(y), F(y >> 7)).raw(); },
       [](int32_t x, int32_t y) { return fp_clamp(x, y, y >> 7); }},
      {"lerp", [](int32_t x, int32_t y) { return lerp(F(x), F(y), F(y >> 16)).raw(); },
       [](int32_t x, int32_t y) { return fp_lerp(x, y, y >> 16); }},
  };
  for (const BinaryRow& row : rows) {
    int failures = 0;
    for (const auto& [x, y] : Pairs()) {
      const int32_t got = row.cxx(x, y);
      const int32_t want = row.c(x, y);
      if (got != want && failures++ < 5) {
        ADD_FAILURE() << row.name << " with x = " << x << ", y = " << y << ": " << got << ", want "
                      << want;
      }
    }
    EXPECT_EQ(failures, 0) << row.name;
  }
}

struct CheckedRow {
  const char* name;
  std::optional<fixed> (*cxx)(int32_t, int32_t);
  bool (*c)(int32_t*, int32_t, int32_t);
};

TEST(Fixed, CheckedFunctionsGiveTheValueExactlyWhenTheCFunctionReportsNoOverflow) {
  const CheckedRow rows[] = {
      {"add_checked", [](int32_t x, int32_t y) { return add_checked(F(x), F(y)); }, fp_add_ckd},
      {"sub_checked", [](int32_t x, int32_t y) { return sub_checked(F(x), F(y)); }, fp_sub_ckd},
      {"mul_checked", [](int32_t x, int32_t y) { return mul_checked(F(x), F(y)); }, fp_mul_fp_ckd},
      {"div_checked", [](int32_t x, int32_t y) { return div_checked(F(x), F(y)); }, fp_div_ckd},
      {"add_checked int", [](int32_t x, int32_t n) { return add_checked(F(x), n); },
       fp_add_int_ckd},
      {"sub_checked int", [](int32_t x, int32_t n) { return sub_checked(F(x), n); },
       fp_sub_int_ckd},
      {"mul_checked int", [](int32_t x, int32_t n) { return mul_checked(F(x), n); },
       fp_mul_int_ckd},
      {"div_checked int", [](int32_t x, int32_t n) { return div_checked(F(x), n); },
       fp_div_int_ckd},
      {"from_int_checked", [](int32_t n, int32_t) { return fixedpoint::from_int_checked(n); },
       [](int32_t* r, int32_t n, int32_t) { return cvt_int_fp_ckd(r, n); }},
      {"sqrt_checked", [](int32_t x, int32_t) { return sqrt_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_sqrt_ckd(r, x); }},
      {"exp_checked", [](int32_t x, int32_t) { return exp_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_exp_ckd(r, x); }},
      {"exp2_checked", [](int32_t x, int32_t) { return exp2_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_exp2_ckd(r, x); }},
      {"log_checked", [](int32_t x, int32_t) { return log_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_log_ckd(r, x); }},
      {"log2_checked", [](int32_t x, int32_t) { return log2_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_log2_ckd(r, x); }},
      {"log10_checked", [](int32_t x, int32_t) { return log10_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_log10_ckd(r, x); }},
      {"pow_checked", [](int32_t x, int32_t y) { return pow_checked(F(x), F(y)); }, fp_pow_ckd},
      {"tan_checked", [](int32_t x, int32_t) { return tan_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_tan_ckd(r, x); }},
      {"asin_checked", [](int32_t x, int32_t) { return asin_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_asin_ckd(r, x); }},
      {"acos_checked", [](int32_t x, int32_t) { return acos_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_acos_ckd(r, x); }},
      {"hypot_checked", [](int32_t x, int32_t y) { return hypot_checked(F(x), F(y)); },
       fp_hypot_ckd},
      {"abs_checked", [](int32_t x, int32_t) { return abs_checked(F(x)); },
       [](int32_t* r, int32_t x, int32_t) { return fp_abs_ckd(r, x); }},
  };
  for (const CheckedRow& row : rows) {
    int failures = 0;
    for (const auto& [x, y] : Pairs()) {
      const std::optional<fixed> got = row.cxx(x, y);
      int32_t value = 0;
      const bool overflow = row.c(&value, x, y);
      const std::string got_text = got ? std::to_string(got->raw()) : "nullopt";
      const std::string want_text = overflow ? "nullopt" : std::to_string(value);
      if (got_text != want_text && failures++ < 5) {
        ADD_FAILURE() << row.name << " with x = " << x << ", y = " << y << ": " << got_text
                      << ", want " << want_text;
      }
    }
    EXPECT_EQ(failures, 0) << row.name;
  }
}

TEST(Fixed, ComparisonsOrderTheRawValues) {
  int failures = 0;
  for (const auto& [x, y] : Pairs()) {
    const fixed a = F(x);
    const fixed b = F(y);
    const bool right = (a == b) == (x == y) && (a != b) == (x != y) && (a < b) == (x < y) &&
                       (a <= b) == (x <= y) && (a > b) == (x > y) && (a >= b) == (x >= y)
#ifdef FIXEDPOINT_THREE_WAY
                       && (a <=> b) == (x <=> y)
#endif
        ;
    if (!right && failures++ < 5) ADD_FAILURE() << "x = " << x << ", y = " << y;
  }
  EXPECT_EQ(failures, 0);
}

TEST(Fixed, HashIsTheHashOfTheRawValue) {
  std::unordered_set<fixed> seen;
  for (const int32_t r : {kMin, -1, 0, 1, 16384, kMax}) {
    SCOPED_TRACE(r);
    EXPECT_EQ(std::hash<fixed>{}(F(r)), std::hash<int32_t>{}(r));
    EXPECT_TRUE(seen.insert(F(r)).second);
  }
  EXPECT_EQ(seen.count(fixed(1)), 1u);
}

TEST(Fixed, EveryIncludeOrderAndModeGivesTheCResults) {
  FixedOrderResults (*const orders[])(int32_t, int32_t) = {FixedOrderCFirst, FixedOrderCxxFirst,
                                                           FixedOrderHeaderOnlyCFirst,
                                                           FixedOrderHeaderOnlyCxxFirst};
  for (std::size_t i = 0; i < std::size(orders); ++i) {
    SCOPED_TRACE(testing::Message() << "order " << i);
    for (const auto& [x, y] : {std::pair{16384, 16384}, {24576, -40960}, {kMin, -1}, {1, 0}}) {
      const FixedOrderResults r = orders[i](x, y);
      EXPECT_EQ(r.c_product, fp_mul_fp(x, y));
      EXPECT_EQ(r.cxx_product, fp_mul_fp(x, y));
      EXPECT_EQ(r.c_quotient, fp_div(x, y));
      EXPECT_EQ(r.cxx_quotient, fp_div(x, y));
    }
  }
}

// ---- Doubles, printing and reading --------------------------------------------------------------

TEST(Fixed, DoubleConversionsMatchTheirCFunctions) {
  std::mt19937 rng(20261209);
  std::uniform_real_distribution<double> near_range(-140000.0, 140000.0);
  int failures = 0;
  for (const auto& [x, y] : Pairs()) {
    const double d = near_range(rng) + y / 1e9;
    if ((fixed::from_double(d).raw() != fp_from_double(d) ||
         static_cast<double>(F(x)) != fp_to_double(x)) &&
        failures++ < 5) {
      ADD_FAILURE() << "x = " << x << ", d = " << std::hexfloat << d;
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST(FixedStream, RandomValuesAndTheEndsReadBackFromWhatIsWritten) {
  std::vector<int32_t> values = {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax};
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  for (int i = 0; i < 100000; ++i) values.push_back(any(rng));
  int failures = 0;
  for (const int32_t v : values) {
    std::stringstream shortest;
    std::stringstream exact;
    shortest << F(v) << ' ' << F(v);
    exact << std::fixed << std::setprecision(14) << F(v);
    fixed a = F(kNone);
    fixed b = F(kNone);
    fixed c = F(kNone);
    shortest >> a >> b;
    exact >> c;
    const bool right =
        !shortest.fail() && !exact.fail() && a == F(v) && b == F(v) && c == F(v) &&
        shortest.str() == fixedpoint::to_string(F(v)) + ' ' + fixedpoint::to_string(F(v));
    if (!right && failures++ < 5) {
      ADD_FAILURE() << v << " written as \"" << shortest.str() << "\" and \"" << exact.str()
                    << "\" read back as " << a.raw() << ", " << b.raw() << ", " << c.raw();
    }
  }
  EXPECT_EQ(failures, 0);
}

// to_chars writes what fp_format writes, without the NUL, in a range just large enough; one byte
// less is too small, and digits outside -1..14 are refused.
TEST(FixedToChars, WritesWhatFpFormatWritesOrReportsWhyNot) {
  int failures = 0;
  for (std::size_t i = 0; i < Pairs().size(); i += 10) {
    const int32_t v = Pairs()[i].first;
    for (int digits = -1; digits <= 14; ++digits) {
      char want[FP_FORMAT_MAX];
      const int length = fp_format(want, sizeof want, v, digits);
      char got[FP_FORMAT_MAX + 1] = {};
      const std::to_chars_result fits = to_chars(got, got + length, F(v), digits);
      const std::to_chars_result short_by_one = to_chars(got, got + length - 1, F(v), digits);
      const bool right = fits.ec == std::errc() && fits.ptr == got + length &&
                         std::string(got, fits.ptr) == want &&
                         short_by_one.ec == std::errc::value_too_large &&
                         short_by_one.ptr == got + length - 1;
      if (!right && failures++ < 5) ADD_FAILURE() << v << " with " << digits << " digits";
    }
  }
  EXPECT_EQ(failures, 0);
  char text[4];
  EXPECT_EQ(to_chars(text, text + 4, fixed(1)).ptr, text + 1);
  for (const int digits : {-2, 15}) {
    const std::to_chars_result r = to_chars(text, text + 4, fixed(1), digits);
    EXPECT_EQ(r.ec, std::errc::invalid_argument);
    EXPECT_EQ(r.ptr, text);
  }
}

// from_chars gives what fp_from_chars gives on the same text, but for the leading '+' that
// std::from_chars refuses too; x changes only on success. The texts are to_chars's, whole and
// cut short, and the edges of the grammar.
TEST(FixedFromChars, ReadsWhatFpFromCharsReads) {
  std::vector<std::string> texts = {
      "",     "+1",   " 1",     "-",       ".",    "1e",           "1.5e+",         "1.",
      "0x10", "-0X1", "131072", "-131072", "1.5x", "131071.99997", "-131072.00004", "1e-400",
      "inf"};
  for (std::size_t i = 0; i < Pairs().size(); i += 100) {
    for (const int digits : {-1, 3, 14}) {
      char text[FP_FORMAT_MAX];
      fp_format(text, sizeof text, Pairs()[i].first, digits);
      texts.emplace_back(text);
      texts.emplace_back(text, std::string(text).size() / 2);
    }
  }
  int failures = 0;
  for (const std::string& text : texts) {
    const char* const first = text.data();
    const char* const last = first + text.size();
    int32_t want_value = kNone;
    const char* want_end = nullptr;
    const int status = text.empty() || text[0] != '+'
                           ? fp_from_chars(first, last, &want_value, &want_end)
                           : FP_EINVAL;
    fixed got = F(kNone);
    const std::from_chars_result r = fixedpoint::from_chars(first, last, got);
    const bool right =
        status == 0 ? r.ec == std::errc() && r.ptr == want_end && got.raw() == want_value
        : status == FP_ERANGE
            ? r.ec == std::errc::result_out_of_range && r.ptr == want_end && got.raw() == kNone
            : r.ec == std::errc::invalid_argument && r.ptr == first && got.raw() == kNone;
    if (!right && failures++ < 5) ADD_FAILURE() << '"' << text << '"';
  }
  EXPECT_EQ(failures, 0);
}

struct PrintRow {
  int32_t raw;
  std::ios_base::fmtflags flags;
  std::streamsize precision;
  std::streamsize width;
  const char* want;
};

TEST(FixedStream, PrintsShortestOrFixedDigitsWithTheStreamsPadding) {
  const std::ios_base::fmtflags none{};
  const PrintRow rows[] = {
      {16384, none, 6, 0, "1|"},
      {-8192, none, 6, 0, "-0.5|"},
      {273, none, 6, 0, "0.01666|"},
      {kMax, none, 6, 0, "131071.99994|"},
      {kMin, none, 6, 0, "-131072|"},
      {16384, std::ios::fixed, 2, 0, "1.00|"},
      {273, std::ios::fixed, 30, 0, "0.01666259765625|"},
      {24576, std::ios::fixed, 0, 0, "2|"},
      {-1, std::ios::fixed, 2, 0, "0.00|"},
      {24576, std::ios::fixed | std::ios::scientific, 2, 0, "1.5|"},  // hexfloat: not fixed
      {24576, none, 6, 6, "***1.5|"},
      {24576, std::ios::left, 6, 6, "1.5***|"},
      {-24576, std::ios::fixed | std::ios::right, 2, 8, "***-1.50|"},
  };
  for (const PrintRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.raw << " with width " << row.width << ", precision "
                                    << row.precision << ", flags " << row.flags);
    std::ostringstream out;
    out.flags(row.flags);
    out.precision(row.precision);
    out << std::setfill('*') << std::setw(static_cast<int>(row.width)) << F(row.raw) << '|';
    EXPECT_EQ(out.str(), row.want);
  }
}

struct ReadRow {
  const char* text;
  std::optional<int32_t> want;  // nullopt: failbit, and the variable unchanged
};

TEST(FixedStream, ReadsOneWholeTokenOrFailsAndLeavesTheVariable) {
  const ReadRow rows[] = {
      {"1.5", 24576},           {" \n -0.5 tail", -8192},        {"1e2", 1638400},
      {"0.000030517578125", 1}, {"131071.99993896484375", kMax}, {"-131072", kMin},
      {"131072", std::nullopt}, {"-131072.00004", std::nullopt}, {"1.5x", std::nullopt},
      {"abc", std::nullopt},    {"0x10", std::nullopt},          {"", std::nullopt},
  };
  for (const ReadRow& row : rows) {
    SCOPED_TRACE(testing::Message() << '"' << row.text << '"');
    std::istringstream in(row.text);
    fixed x = F(kNone);
    errno = EDOM;
    in >> x;
    EXPECT_EQ(errno, EDOM);
    EXPECT_EQ(in.fail(), !row.want);
    EXPECT_EQ(x.raw(), row.want.value_or(kNone));
  }
}

// ---- The literal, against fp_strtofp ----------------------------------------------------------

struct LiteralRow {
  const char* text;
  fixed literal;
};
#define FIXED_TEST_LITERAL(token) \
  LiteralRow { #token, token##_fx }

TEST(FixedLiteral, RoundsAsFpStrtofpReadsTheSameText) {
  const LiteralRow rows[] = {
      FIXED_TEST_LITERAL(0),
      FIXED_TEST_LITERAL(3),
      FIXED_TEST_LITERAL(131071),
      FIXED_TEST_LITERAL(1.5),
      FIXED_TEST_LITERAL(.5),
      FIXED_TEST_LITERAL(0.1),
      FIXED_TEST_LITERAL(0.00006103515625),
      FIXED_TEST_LITERAL(0.000030517578125),        // half a raw unit: away from zero
      FIXED_TEST_LITERAL(0.000030517578124999999),  // just below
      FIXED_TEST_LITERAL(0.000091552734375),        // one and a half units
      FIXED_TEST_LITERAL(131071.99993896484375),
      FIXED_TEST_LITERAL(131071.999969482421874999),  // just below half a unit above the top
      FIXED_TEST_LITERAL(12345.678901234567890123456789),
      FIXED_TEST_LITERAL(1e3),
      FIXED_TEST_LITERAL(2.5e+2),
      FIXED_TEST_LITERAL(1310719999e-4),
      FIXED_TEST_LITERAL(1e-400),
      FIXED_TEST_LITERAL(0.00000000000000000000000000000000000000000000000001e46),
  };
  for (const LiteralRow& row : rows) {
    SCOPED_TRACE(row.text);
    char* end = nullptr;
    errno = 0;
    const int32_t want = fp_strtofp(row.text, &end);
    ASSERT_EQ(errno, 0);
    ASSERT_EQ(*end, '\0');
    EXPECT_EQ(row.literal.raw(), want);
  }
}

TEST(FixedLiteral, IgnoresDigitSeparators) {
  EXPECT_EQ((1'000.5_fx).raw(), 16392192);
  EXPECT_EQ((0.000'030'517'578'125_fx).raw(), 1);
  EXPECT_EQ((1'2e-0'1_fx).raw(), 19661);  // 1.2
}

}  // namespace
