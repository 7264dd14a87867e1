/* SPDX-License-Identifier: MIT */
/* Code that uses every function the way a consumer would. The build compiles it with the
 * strictest warnings a consumer is likely to use, as errors: as C99 and as C++11, 14, 17 and 20,
 * each with and without FIXEDPOINT_HEADER_ONLY. A warning inside the header fails the build. */
#include <fixedpoint/fp.h>

int32_t strict_consumer_uses_everything(int32_t a, int32_t b);

static const int32_t strict_consumer_limits[] = {FP_FROM_INT(-3), FP_FROM_INT(3)};

int32_t strict_consumer_uses_everything(int32_t a, int32_t b) {
  int32_t r = cvt_int_fp(a);
  r = fp_add(r, fp_round(b));
  r = fp_add(r, fp_to_nearest(b));
  r = fp_sub(r, fp_mul(a, b));
  r = fp_add(r, fp_div(a, b));
  r = fp_add_int(r, b);
  r = fp_sub_int(r, a);
  r = fp_mul_int(r, b);
  r = fp_div_int(r, a);
  r = fp_add(r, fp_mul_fp(a, b));
  r = fp_add(r, fp_mul_fp_nearest(a, b));
  r = fp_add(r, fp_floor(a) + fp_ceil(b));
  r = fp_add_sat(r, cvt_int_fp_sat(a));
  r = fp_sub_sat(r, fp_mul_fp_sat(a, b));
  r = fp_add_sat(r, fp_div_sat(a, b));
  r = fp_add_int_sat(r, fp_sub_int_sat(a, b));
  r = fp_mul_int_sat(r, fp_div_int_sat(a, b));
  r = fp_add(r, fp_sqrt(a));
  r = fp_add_sat(r, fp_exp(a) + fp_exp2(b) + fp_log(a) + fp_log2(b) + fp_log10(a));
  r = fp_add_sat(r, fp_pow(a, b));
  r = fp_add_sat(r, fp_sin(a) + fp_cos(b) + fp_tan(a) + fp_sinpi(b) + fp_cospi(a));
  r = fp_add_sat(r, fp_asin(a) + fp_acos(b) + fp_atan(a) + fp_atan2(a, b));
  r = fp_add_sat(r, fp_hypot(a, b));
  r = fp_add(r, fp_abs(a) + fp_abs_sat(b) + fp_min(a, b) + fp_max(a, b));
  r = fp_clamp(r, strict_consumer_limits[0], strict_consumer_limits[1]);
  r = fp_add(r, fp_lerp(a, b, r) + fp_fmod(a, b) + fp_round_even(a));
  r = fp_add(r, fp_from_q(a, 15) + fp_to_q(b, 31));
  {
    int32_t checked = 0;
    int overflows = 0;
    overflows += cvt_int_fp_ckd(&checked, a) ? 1 : 0;
    overflows += fp_add_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_sub_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_mul_fp_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_div_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_add_int_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_sub_int_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_mul_int_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_div_int_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_sqrt_ckd(&checked, a) ? 1 : 0;
    overflows += fp_exp_ckd(&checked, a) ? 1 : 0;
    overflows += fp_exp2_ckd(&checked, a) ? 1 : 0;
    overflows += fp_log_ckd(&checked, a) ? 1 : 0;
    overflows += fp_log2_ckd(&checked, a) ? 1 : 0;
    overflows += fp_log10_ckd(&checked, a) ? 1 : 0;
    overflows += fp_pow_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_tan_ckd(&checked, a) ? 1 : 0;
    overflows += fp_asin_ckd(&checked, a) ? 1 : 0;
    overflows += fp_acos_ckd(&checked, a) ? 1 : 0;
    overflows += fp_hypot_ckd(&checked, a, b) ? 1 : 0;
    overflows += fp_abs_ckd(&checked, a) ? 1 : 0;
    r = fp_add(r, fp_add(checked, overflows));
  }
  return r;
}

int strict_consumer_uses_text(char* buf, size_t size, const char* text);

int strict_consumer_uses_text(char* buf, size_t size, const char* text) {
  char* end = NULL;
  const int32_t x = fp_strtofp(text, &end);
  const int32_t twice = fp_from_double(fp_to_double(x) * 2.0);
  return fp_format(buf, size, twice, end == text ? 14 : -1);
}

#if defined(FIXEDPOINT_HEADER_ONLY) && defined(__cplusplus) && __cplusplus >= 201402L
static_assert(fp_div(cvt_int_fp(1), cvt_int_fp(60)) == 273, "constexpr in C++14 and later");
static_assert(fp_sqrt(INT32_MAX) == 5931642, "the integer square root at compile time");
static_assert(fp_exp2(16384) == 32768, "the exponentials at compile time");
static_assert(fp_exp2(-15 * 16384) == 1 && fp_pow(144, 24576) == 14, "and their slow paths");
static_assert(fp_cos(0) == 16384, "the trigonometric functions at compile time");
static_assert(fp_hypot(49152, 65536) == 81920, "hypot at compile time");
static_assert(FP_FROM_INT(2) == 32768 && fp_lerp(0, FP_FROM_INT(2), 8192) == 16384 &&
                  fp_to_q(fp_abs(-8192), 15) == 16384 &&
                  fp_round_even(fp_fmod(40960, 65536)) == 2 &&
                  fp_clamp(fp_from_q(1, 0), fp_min(0, 1), fp_max(0, 1)) == 1,
              "the everyday functions in C++14");
#endif
#if defined(__cplusplus) && __cplusplus >= 201103L
static_assert(FP_FROM_INT(-1) == -16384, "FP_FROM_INT is a constant expression in C++11");
#endif
