// SPDX-License-Identifier: MIT
// The functions as C++ code that uses fixedpoint::fixed writes them: an operator, a member or a
// free function of fixed.hpp for each C function that has one ("/cxx"). The checked functions
// are left out: their std::optional holds no value on overflow, which the other forms return.
#include <fixedpoint/fixed.hpp>

#include "harness.h"

namespace {

using fixedpoint::fixed;

fixed F(int32_t raw) { return fixed::from_raw(raw); }

}  // namespace

void fpbench::RegisterCxxForms() {
  const char* const form = "cxx";
  Register("cvt_int_fp", form, Domain::kAny, [](int32_t n, int32_t) { return fixed(n).raw(); });
  Register("fp_round", form, Domain::kAny, [](int32_t x, int32_t) { return F(x).to_int(); });
  Register("fp_to_nearest", form, Domain::kNearestRange,
           [](int32_t x, int32_t) { return F(x).round(); });
  Register("fp_add", form, Domain::kAny, [](int32_t x, int32_t y) { return (F(x) + F(y)).raw(); });
  Register("fp_sub", form, Domain::kAny, [](int32_t x, int32_t y) { return (F(x) - F(y)).raw(); });
  Register("fp_div", form, Domain::kDivisor,
           [](int32_t x, int32_t y) { return (F(x) / F(y)).raw(); });
  Register("fp_add_int", form, Domain::kAny, [](int32_t x, int32_t n) { return (F(x) + n).raw(); });
  Register("fp_sub_int", form, Domain::kAny, [](int32_t x, int32_t n) { return (F(x) - n).raw(); });
  Register("fp_mul_int", form, Domain::kAny, [](int32_t x, int32_t n) { return (F(x) * n).raw(); });
  Register("fp_div_int", form, Domain::kIntDivisor,
           [](int32_t x, int32_t n) { return (F(x) / n).raw(); });

  Register("fp_mul_fp", form, Domain::kAny,
           [](int32_t x, int32_t y) { return (F(x) * F(y)).raw(); });
  Register("fp_mul_fp_nearest", form, Domain::kAny,
           [](int32_t x, int32_t y) { return mul_nearest(F(x), F(y)).raw(); });
  Register("fp_floor", form, Domain::kAny, [](int32_t x, int32_t) { return F(x).floor(); });
  Register("fp_ceil", form, Domain::kAny, [](int32_t x, int32_t) { return F(x).ceil(); });
  Register("fp_sqrt", form, Domain::kNonNegative,
           [](int32_t x, int32_t) { return sqrt(F(x)).raw(); });

  Register("cvt_int_fp_sat", form, Domain::kAny,
           [](int32_t n, int32_t) { return fixedpoint::from_int_sat(n).raw(); });
  Register("fp_add_sat", form, Domain::kAny,
           [](int32_t x, int32_t y) { return add_sat(F(x), F(y)).raw(); });
  Register("fp_sub_sat", form, Domain::kAny,
           [](int32_t x, int32_t y) { return sub_sat(F(x), F(y)).raw(); });
  Register("fp_mul_fp_sat", form, Domain::kAny,
           [](int32_t x, int32_t y) { return mul_sat(F(x), F(y)).raw(); });
  Register("fp_div_sat", form, Domain::kDivisor,
           [](int32_t x, int32_t y) { return div_sat(F(x), F(y)).raw(); });
  Register("fp_add_int_sat", form, Domain::kAny,
           [](int32_t x, int32_t n) { return add_sat(F(x), n).raw(); });
  Register("fp_sub_int_sat", form, Domain::kAny,
           [](int32_t x, int32_t n) { return sub_sat(F(x), n).raw(); });
  Register("fp_mul_int_sat", form, Domain::kAny,
           [](int32_t x, int32_t n) { return mul_sat(F(x), n).raw(); });
  Register("fp_div_int_sat", form, Domain::kDivisor,
           [](int32_t x, int32_t n) { return div_sat(F(x), n).raw(); });

  Register("fp_abs", form, Domain::kAny, [](int32_t x, int32_t) { return abs(F(x)).raw(); });
  Register("fp_abs_sat", form, Domain::kAny,
           [](int32_t x, int32_t) { return abs_sat(F(x)).raw(); });
  Register("fp_min", form, Domain::kAny,
           [](int32_t x, int32_t y) { return min(F(x), F(y)).raw(); });
  Register("fp_max", form, Domain::kAny,
           [](int32_t x, int32_t y) { return max(F(x), F(y)).raw(); });
  Register("fp_clamp", form, Domain::kAny,
           [](int32_t x, int32_t) { return clamp(F(x), F(-(1 << 30)), F(1 << 30)).raw(); });
  Register("fp_lerp", form, Domain::kAny,
           [](int32_t a, int32_t b) { return lerp(F(a), F(b), F(b & 0x3FFF)).raw(); });
  Register("fp_fmod", form, Domain::kIntDivisor,
           [](int32_t x, int32_t y) { return fmod(F(x), F(y)).raw(); });
  Register("fp_round_even", form, Domain::kAny,
           [](int32_t x, int32_t) { return round_even(F(x)); });

  Register("fp_exp", form, Domain::kExpRange, [](int32_t x, int32_t) { return exp(F(x)).raw(); });
  Register("fp_exp2", form, Domain::kExp2Range,
           [](int32_t x, int32_t) { return exp2(F(x)).raw(); });
  Register("fp_log", form, Domain::kPositive, [](int32_t x, int32_t) { return log(F(x)).raw(); });
  Register("fp_log2", form, Domain::kPositive, [](int32_t x, int32_t) { return log2(F(x)).raw(); });
  Register("fp_log10", form, Domain::kPositive,
           [](int32_t x, int32_t) { return log10(F(x)).raw(); });
  Register("fp_pow", form, Domain::kPowPairs,
           [](int32_t x, int32_t y) { return pow(F(x), F(y)).raw(); });
  Register("fp_sin", form, Domain::kAngle, [](int32_t x, int32_t) { return sin(F(x)).raw(); });
  Register("fp_cos", form, Domain::kAngle, [](int32_t x, int32_t) { return cos(F(x)).raw(); });
  Register("fp_tan", form, Domain::kAngle, [](int32_t x, int32_t) { return tan(F(x)).raw(); });
  Register("fp_sinpi", form, Domain::kAngle, [](int32_t x, int32_t) { return sinpi(F(x)).raw(); });
  Register("fp_cospi", form, Domain::kAngle, [](int32_t x, int32_t) { return cospi(F(x)).raw(); });
  Register("fp_asin", form, Domain::kUnit, [](int32_t x, int32_t) { return asin(F(x)).raw(); });
  Register("fp_acos", form, Domain::kUnit, [](int32_t x, int32_t) { return acos(F(x)).raw(); });
  Register("fp_atan", form, Domain::kAngle, [](int32_t x, int32_t) { return atan(F(x)).raw(); });
  Register("fp_atan2", form, Domain::kPoints,
           [](int32_t y, int32_t x) { return atan2(F(y), F(x)).raw(); });
  Register("fp_hypot", form, Domain::kPoints,
           [](int32_t x, int32_t y) { return hypot(F(x), F(y)).raw(); });
}
