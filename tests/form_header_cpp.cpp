// SPDX-License-Identifier: MIT
// The header-only definitions compiled as C++, and what they give at compile time: each
// static_assert below is evaluated by the compiler, so a wrong constant result fails the build.
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_header_cpp, "header_cpp");

namespace {

constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;

static_assert(fp_div(cvt_int_fp(1), cvt_int_fp(60)) == 273, "1 / 60");
static_assert(fp_mul_int(fp_mul(273, 1), 10000) == 2730000, "the demo's product");

// Wrap-around is the same at compile time as at run time.
static_assert(cvt_int_fp(131072) == kMin, "cvt_int_fp wraps");
static_assert(fp_add(kMax, 1) == kMin && fp_sub(kMin, 1) == kMax, "add and sub wrap");
static_assert(fp_mul(65536, 65536) == 0 && fp_mul_int(kMin, -1) == kMin, "products wrap");
static_assert(fp_div(1073741824, 1) == 0 && fp_div(kMin, -1) == 0, "fp_div keeps the low bits");
static_assert(fp_add_int(0, 131072) == kMin && fp_sub_int(kMin, 1) == 2147467264, "_int wraps");

// Zero divisors and the quotient that does not fit.
static_assert(fp_div(1, 0) == kMax && fp_div(-1, 0) == kMin && fp_div(0, 0) == 0, "fp_div by 0");
static_assert(fp_div_int(5, 0) == kMax && fp_div_int(kMin, 0) == kMin && fp_div_int(0, 0) == 0,
              "fp_div_int by 0");
static_assert(fp_div_int(kMin, -1) == kMin && fp_div_int(-7, 2) == -3, "fp_div_int edges");

// Rounding, including the ends of the range where x +/- 8192 leaves int32_t.
static_assert(fp_round(-28672) == -1 && fp_round(kMin) == -131072, "fp_round");
static_assert(fp_to_nearest(8192) == 1 && fp_to_nearest(-8192) == -1, "halves away from zero");
static_assert(fp_to_nearest(kMax) == 131072 && fp_to_nearest(kMin) == -131072, "range ends");
static_assert(fp_to_nearest(2147475455) == 131071 && fp_to_nearest(-2147475457) == -131072,
              "just inside the ends");

// The rescaling products, floor and ceiling, and the square root.
static_assert(fp_mul_fp(16384, 16384) == 16384 && fp_mul_fp(-1, 1) == 0, "fp_mul_fp");
static_assert(fp_mul_fp(kMin, -16384) == kMin, "fp_mul_fp wraps");
static_assert(fp_mul_fp_nearest(1, 8192) == 1 && fp_mul_fp_nearest(-1, 8192) == -1 &&
                  fp_mul_fp_nearest(1, 8191) == 0,
              "fp_mul_fp_nearest");
static_assert(fp_floor(-1) == -1 && fp_floor(kMin) == -131072, "fp_floor");
static_assert(fp_ceil(1) == 1 && fp_ceil(kMax) == 131072, "fp_ceil");
static_assert(fp_sqrt(16384) == 16384 && fp_sqrt(kMax) == 5931642 && fp_sqrt(-1) == 0, "fp_sqrt");

// Saturating forms at the ends of the range and for the divisions without an exact result.
static_assert(cvt_int_fp_sat(131072) == kMax && cvt_int_fp_sat(-131073) == kMin, "cvt saturates");
static_assert(fp_add_sat(kMax, 1) == kMax && fp_sub_sat(kMin, 1) == kMin, "add/sub saturate");
static_assert(fp_mul_fp_sat(kMin, -16384) == kMax && fp_mul_int_sat(kMin, -1) == kMax,
              "products saturate");
static_assert(fp_div_sat(1, 0) == kMax && fp_div_int_sat(kMin, -1) == kMax &&
                  fp_div_int_sat(-1, 0) == kMin,
              "divisions saturate");
static_assert(fp_add_int_sat(-1, 131072) == kMax && fp_sub_int_sat(0, 131073) == kMin,
              "_int forms saturate without wrapping n first");

// The exponentials, logarithms and powers at their exact points and the ends of their domains.
static_assert(fp_exp(0) == 16384 && fp_exp(-20 * 16384) == 0 && fp_exp(193061) == kMax &&
                  fp_exp(193060) < kMax && fp_exp(-170347) == 1 && fp_exp(-170348) == 0,
              "fp_exp");
static_assert(fp_exp2(0) == 16384 && fp_exp2(16384) == 32768 && fp_exp2(16 * 16384) == 1 << 30 &&
                  fp_exp2(-14 * 16384) == 1 && fp_exp2(-15 * 16384) == 1 &&
                  fp_exp2(-15 * 16384 - 1) == 0 && fp_exp2(17 * 16384) == kMax,
              "fp_exp2");
static_assert(fp_log(16384) == 0 && fp_log(0) == kMin && fp_log(kMin) == kMin &&
                  fp_log2(1) == -14 * 16384 && fp_log2(1 << 30) == 16 * 16384 &&
                  fp_log2(16384) == 0,
              "the logarithms");
static_assert(fp_log10(163840) == 16384 && fp_log10(1638400) == 32768 && fp_log10(16384) == 0,
              "fp_log10 of powers of ten");
static_assert(fp_pow(12345, 16384) == 12345 && fp_pow(-1, 0) == 16384 && fp_pow(0, 0) == 16384 &&
                  fp_pow(0, 1) == 0 && fp_pow(0, -1) == kMax &&
                  fp_pow(-16384, 3 * 16384) == -16384 && fp_pow(-16384, 8192) == 0 &&
                  fp_pow(kMin, 16384) == kMin,
              "fp_pow");

// The everyday functions at their documented edges.
static_assert(FP_FROM_INT(1) == 16384 && FP_FROM_INT(131072) == kMin, "FP_FROM_INT");
static_assert(fp_abs(kMin) == kMin && fp_abs_sat(kMin) == kMax && fp_clamp(9, 5, 1) == 5,
              "abs and clamp");
static_assert(fp_lerp(kMin, kMax, 16384) == kMax && fp_lerp(0, 1, 8192) == 1 &&
                  fp_fmod(-90112, 32768) == -24576 && fp_fmod(kMin, -1) == 0 &&
                  fp_round_even(40960) == 2 && fp_round_even(-8192) == 0,
              "lerp, fmod and rounding to even");
static_assert(fp_from_q(-1, 15) == -1 && fp_from_q(131072, 0) == kMax &&
                  fp_to_q(-16384, 31) == kMin && fp_to_q(16384, 31) == kMax,
              "the Q formats");

// Trigonometry at its exact points and the ends of its domains.
static_assert(fp_sin(0) == 0 && fp_cos(0) == 16384 && fp_tan(0) == 0 && fp_atan(0) == 0,
              "the trigonometric functions at 0");
static_assert(fp_sinpi(16384) == 0 && fp_cospi(16384) == -16384 && fp_sinpi(8192) == 16384 &&
                  fp_cospi(8192) == 0 && fp_sinpi(-8192) == -16384 &&
                  fp_sinpi(32768 + 8192) == 16384,
              "sinpi and cospi reduce exactly");
static_assert(fp_asin(16384) == 25736 && fp_asin(2 * 16384) == 25736 && fp_asin(-16384) == -25736 &&
                  fp_acos(16384) == 0 && fp_acos(-16384) == 51472 && fp_asin(0) == 0,
              "asin and acos at the ends of their domain and beyond");
static_assert(fp_atan2(0, 0) == 0 && fp_atan2(0, 1) == 0 && fp_atan2(0, -1) == 51472 &&
                  fp_atan2(5, 0) == 25736 && fp_atan2(-5, 0) == -25736 && fp_atan2(1, 1) == 12868,
              "atan2's conventions");
static_assert(fp_hypot(3 * 16384, 4 * 16384) == 5 * 16384 && fp_hypot(kMax, kMax) == kMax &&
                  fp_hypot(kMin, 0) == kMax && fp_hypot(0, 0) == 0,
              "hypot");

// Checked forms: the stored value and the verdict.
struct Checked {
  int32_t value;
  bool overflow;
};
constexpr Checked AddCkd(int32_t x, int32_t y) {
  int32_t r = 0;
  const bool overflow = fp_add_ckd(&r, x, y);
  return {r, overflow};
}
constexpr Checked DivIntCkd(int32_t x, int32_t n) {
  int32_t r = 0;
  const bool overflow = fp_div_int_ckd(&r, x, n);
  return {r, overflow};
}
constexpr Checked SqrtCkd(int32_t x) {
  int32_t r = 1;
  const bool overflow = fp_sqrt_ckd(&r, x);
  return {r, overflow};
}
static_assert(AddCkd(kMax, 1).value == kMin && AddCkd(kMax, 1).overflow, "fp_add_ckd overflows");
static_assert(AddCkd(kMax - 1, 1).value == kMax && !AddCkd(kMax - 1, 1).overflow, "fits");
static_assert(DivIntCkd(kMin, -1).value == kMin && DivIntCkd(kMin, -1).overflow, "MIN / -1");
static_assert(DivIntCkd(5, 0).value == kMax && DivIntCkd(5, 0).overflow, "zero divisor");
static_assert(SqrtCkd(-1).value == 0 && SqrtCkd(-1).overflow && !SqrtCkd(0).overflow, "sqrt");
constexpr Checked LogCkd(int32_t x) {
  int32_t r = 1;
  const bool overflow = fp_log_ckd(&r, x);
  return {r, overflow};
}
constexpr Checked PowCkd(int32_t x, int32_t y) {
  int32_t r = 1;
  const bool overflow = fp_pow_ckd(&r, x, y);
  return {r, overflow};
}
static_assert(LogCkd(0).value == kMin && LogCkd(0).overflow && !LogCkd(1).overflow, "log domain");
static_assert(PowCkd(-16384, 8192).value == 0 && PowCkd(-16384, 8192).overflow &&
                  PowCkd(0, -1).value == kMax && PowCkd(0, -1).overflow &&
                  !PowCkd(kMin, 16384).overflow && PowCkd(kMin, 32768).overflow,
              "pow: outside the domain, saturated, and exactly INT32_MIN");

}  // namespace
