/* SPDX-License-Identifier: MIT */
/*
 * fixedpoint/fp_impl.h - the definitions of the functions declared in fp.h. Not a header to
 * include directly: fp.h includes it in header-only mode, and the library's own source includes
 * it to compile the exported functions, so each body exists exactly once.
 *
 * The includer first includes <stdint.h> and defines five linkage macros:
 *   FIXEDPOINT_FN         in front of every public function that may be constexpr
 *   FIXEDPOINT_FN_RT      in front of every other public function
 *   FIXEDPOINT_HELPER     in front of every internal helper that may be constexpr
 *   FIXEDPOINT_HELPER_RT  in front of every other internal helper (helpers are never exported)
 *   FIXEDPOINT_DATA       in front of every internal table or constant (const, and constexpr in
 *                         C++), which fp_exp_impl.h holds
 * and undefines them afterwards. There is no include guard: a C++ file may include this a second
 * time inside a namespace, with other linkage. This file begins by including fp_wide_impl.h (wide
 * integer arithmetic, and the divisions' quotient on 32-bit targets) and ends by including
 * fp_exp_impl.h and fp_trig_impl.h, which hold the elementary functions, under the same rules.
 *
 * The bodies are valid C99 and C++11, and constant expressions in C++14. Wrap-around modulo
 * 2^32 comes from unsigned arithmetic on the raw bits, converted back to int32_t, which every
 * supported compiler (and C++20) defines as the two's-complement value with the same bits. No
 * expression here overflows a signed type, shifts a negative value or divides by zero.
 */

/* The wide integer arithmetic, which the divisions and the elementary functions share. */
#include "fp_wide_impl.h"

FIXEDPOINT_HELPER uint32_t fp_impl_bits(int32_t v) { return FIXEDPOINT_CAST(uint32_t, v); }

FIXEDPOINT_HELPER int32_t fp_impl_wrap(uint32_t u) { return FIXEDPOINT_CAST(int32_t, u); }

/* The low 32 bits of v, as a two's-complement value. */
FIXEDPOINT_HELPER int32_t fp_impl_low32(int64_t v) {
  return fp_impl_wrap(FIXEDPOINT_CAST(uint32_t, v));
}

/* |x| as an unsigned value: exact for every x, INT32_MIN included (2^31). With sign all ones
 * for a negative x, (bits ^ sign) - sign is its two's-complement negation: no select, which
 * vectorises in fewer instructions. */
FIXEDPOINT_HELPER uint32_t fp_impl_magnitude(int32_t x) {
  const uint32_t sign = 0u - (fp_impl_bits(x) >> 31);
  return (fp_impl_bits(x) ^ sign) - sign;
}

/* n * 16384 modulo 2^32: the integer operand moved into the format before it is used. */
FIXEDPOINT_HELPER uint32_t fp_impl_scaled(int32_t n) { return fp_impl_bits(n) << 14; }

/* What a division by zero gives: the end of the range on the dividend's side, or 0 for 0. */
FIXEDPOINT_HELPER int32_t fp_impl_zero_divisor(int32_t x) {
  return x > 0 ? INT32_MAX : (x < 0 ? INT32_MIN : 0);
}

/* The macro is the body, so that the two cannot differ. */
FIXEDPOINT_FN int32_t cvt_int_fp(int32_t n) { return FP_FROM_INT(n); }

/* Integer division truncates toward zero, which is the rounding promised; compilers turn it
 * into a shift with a bias for negative values. */
FIXEDPOINT_FN int32_t fp_round(int32_t x) { return x / 16384; }

FIXEDPOINT_FN int32_t fp_to_nearest(int32_t x) {
  /* Work on the magnitude so that halves go away from zero on both sides. In uint32_t,
   * |INT32_MIN| = 2^31 is representable and |x| + 8192 cannot wrap, so the result is exact over
   * the whole range, including the 8192 raw values at either end where x +/- 8192 would leave
   * int32_t. The quotient is at most 131072, so negating it is safe. */
  const uint32_t magnitude = x < 0 ? 0u - fp_impl_bits(x) : fp_impl_bits(x);
  const int32_t rounded = FIXEDPOINT_CAST(int32_t, (magnitude + 8192u) >> 14);
  return x < 0 ? -rounded : rounded;
}

FIXEDPOINT_FN int32_t fp_add(int32_t x, int32_t y) {
  return fp_impl_wrap(fp_impl_bits(x) + fp_impl_bits(y));
}

FIXEDPOINT_FN int32_t fp_sub(int32_t x, int32_t y) {
  return fp_impl_wrap(fp_impl_bits(x) - fp_impl_bits(y));
}

FIXEDPOINT_FN int32_t fp_mul(int32_t x, int32_t y) {
  return fp_impl_wrap(fp_impl_bits(x) * fp_impl_bits(y));
}

/* ---- Quotients ------------------------------------------------------------------------------
 * x * 16384 / y, truncated toward zero, for y != 0. x * 16384 needs up to 46 bits, hence 64-bit
 * arithmetic; its magnitude is at most 2^45, so the quotient (even for y == -1) is exact in
 * int64_t. Where 64-bit division is one instruction it is C's; elsewhere the magnitudes are
 * divided by fp_impl_udiv_scaled, which needs at most 32-bit division. */
FIXEDPOINT_HELPER int64_t fp_impl_quotient(int32_t x, int32_t y) {
#if defined(FIXEDPOINT_DIV64)
  return FIXEDPOINT_CAST(int64_t, x) * 16384 / y;
#else
  const int64_t q =
      FIXEDPOINT_CAST(int64_t, fp_impl_udiv_scaled(fp_impl_magnitude(x), fp_impl_magnitude(y)));
  return (x < 0) != (y < 0) ? -q : q;
#endif
}

/* x / n, truncated toward zero, for n other than 0 and -1 (so the quotient fits in int32_t). */
FIXEDPOINT_HELPER int32_t fp_impl_quotient_int(int32_t x, int32_t n) { return x / n; }

/* The same quotients through x86-64's double division, which is faster than its integer
 * division and vectorises. Both operands are exact in a double (|x * 16384| <= 2^45), and the
 * IEEE quotient is correctly rounded: within a relative 2^-53 of the true one, so within
 * 2^45 * 2^-53 / |y| = 2^-8 / |y| of it (2^-22 / |n| for fp_div_int). A quotient that is not an
 * integer is p / |y| for an integer p not divisible by |y|, at least 1 / |y| from every integer;
 * so the computed double lies strictly between the same two integers, and truncating it gives
 * exactly the integer quotient; an integer quotient (at most 2^45) is exact. The margin of 2^8
 * ulps also covers a quotient formed as x * (1 / y), as -freciprocal-math may compile it. */
FIXEDPOINT_HELPER_RT int64_t fp_impl_quotient_fast(int32_t x, int32_t y) {
#if defined(FIXEDPOINT_SSE2_DIV)
  return FIXEDPOINT_CAST(int64_t,
                         FIXEDPOINT_CAST(double, x) * 16384.0 / FIXEDPOINT_CAST(double, y));
#else
  return fp_impl_quotient(x, y);
#endif
}

FIXEDPOINT_HELPER_RT int32_t fp_impl_quotient_int_fast(int32_t x, int32_t n) {
#if defined(FIXEDPOINT_SSE2_DIV)
  return FIXEDPOINT_CAST(int32_t, FIXEDPOINT_CAST(double, x) / FIXEDPOINT_CAST(double, n));
#else
  return fp_impl_quotient_int(x, n);
#endif
}

/* Integer arithmetic in a constant expression, the fast route otherwise. */
FIXEDPOINT_HELPER int64_t fp_impl_quotient_any(int32_t x, int32_t y) {
  return FIXEDPOINT_IS_CONSTANT_EVALUATED() ? fp_impl_quotient(x, y) : fp_impl_quotient_fast(x, y);
}

FIXEDPOINT_HELPER int32_t fp_impl_quotient_int_any(int32_t x, int32_t n) {
  return FIXEDPOINT_IS_CONSTANT_EVALUATED() ? fp_impl_quotient_int(x, n)
                                            : fp_impl_quotient_int_fast(x, n);
}

/* Only the cut to 32 bits wraps. */
FIXEDPOINT_HELPER int32_t fp_impl_div(int32_t x, int32_t y) {
  return y == 0 ? fp_impl_zero_divisor(x) : fp_impl_low32(fp_impl_quotient(x, y));
}

/* The same through x86-64's double division, without a branch, so that a caller's loop over it
 * vectorises (compilers keep a select between a floating-point result and anything else as a
 * branch, and SSE2 converts doubles only to 32-bit integers): a zero divisor divides as 1 and a
 * mask then chooses the zero-divisor result. With q the double quotient (|q| <= 2^45) and
 * high = trunc(q / 2^16), trunc(q) = high * 2^16 + trunc(q - high * 2^16): both conversions are
 * within int32_t, and the subtraction is exact (its result is a multiple of q's ulp, no larger
 * than |q|) with q's sign. */
FIXEDPOINT_HELPER_RT int32_t fp_impl_div_fast(int32_t x, int32_t y) {
#if defined(FIXEDPOINT_SSE2_DIV)
  const uint32_t zero = 0u - (y == 0 ? 1u : 0u);
  const double q = FIXEDPOINT_CAST(double, x) * 16384.0 /
                   FIXEDPOINT_CAST(double, fp_impl_wrap(fp_impl_bits(y) | (zero & 1u)));
  const int32_t high = FIXEDPOINT_CAST(int32_t, q * (1.0 / 65536.0));
  const int32_t low = FIXEDPOINT_CAST(int32_t, q - FIXEDPOINT_CAST(double, high) * 65536.0);
  const uint32_t wrapped = (fp_impl_bits(high) << 16) + fp_impl_bits(low);
  return fp_impl_wrap((wrapped & ~zero) | (fp_impl_bits(fp_impl_zero_divisor(x)) & zero));
#else
  return fp_impl_div(x, y);
#endif
}

FIXEDPOINT_FN int32_t fp_div(int32_t x, int32_t y) {
  return FIXEDPOINT_IS_CONSTANT_EVALUATED() ? fp_impl_div(x, y) : fp_impl_div_fast(x, y);
}

FIXEDPOINT_FN int32_t fp_add_int(int32_t x, int32_t n) {
  return fp_impl_wrap(fp_impl_bits(x) + fp_impl_scaled(n));
}

FIXEDPOINT_FN int32_t fp_sub_int(int32_t x, int32_t n) {
  return fp_impl_wrap(fp_impl_bits(x) - fp_impl_scaled(n));
}

FIXEDPOINT_FN int32_t fp_mul_int(int32_t x, int32_t n) {
  return fp_impl_wrap(fp_impl_bits(x) * fp_impl_bits(n));
}

/* INT32_MIN / -1 is the one quotient that does not fit in int32_t (and traps on x86); dividing by
 * -1 is negation, which wraps INT32_MIN to itself. */
FIXEDPOINT_HELPER int32_t fp_impl_div_int(int32_t x, int32_t n) {
  return n == 0 ? fp_impl_zero_divisor(x)
                : (n == -1 ? fp_impl_wrap(0u - fp_impl_bits(x)) : fp_impl_quotient_int(x, n));
}

/* The same through x86-64's double division, without a branch, so that a caller's loop over it
 * vectorises (compilers keep a select between a floating-point result and anything else as a
 * branch): the divisors 0 and -1 divide as 1, and masks then choose the zero-divisor result or
 * negate. */
FIXEDPOINT_HELPER_RT int32_t fp_impl_div_int_fast(int32_t x, int32_t n) {
#if defined(FIXEDPOINT_SSE2_DIV)
  const uint32_t zero = 0u - (n == 0 ? 1u : 0u);
  const uint32_t minus = 0u - (n == -1 ? 1u : 0u);
  const uint32_t special = zero | minus;
  const uint32_t q = fp_impl_bits(
      fp_impl_quotient_int_fast(x, fp_impl_wrap((fp_impl_bits(n) & ~special) | (special & 1u))));
  return fp_impl_wrap((((q ^ minus) - minus) & ~zero) |
                      (fp_impl_bits(fp_impl_zero_divisor(x)) & zero));
#else
  return fp_impl_div_int(x, n);
#endif
}

FIXEDPOINT_FN int32_t fp_div_int(int32_t x, int32_t n) {
  return FIXEDPOINT_IS_CONSTANT_EVALUATED() ? fp_impl_div_int(x, n) : fp_impl_div_int_fast(x, n);
}

/* ---- Exact results, and what the wrapping, saturating and checked forms make of them -------
 * Every operation with such a family computes its exact result once, in int64_t, where it always
 * fits (at most 2^62 in magnitude). A zero divisor has no exact result; its stand-in is the
 * zero-divisor result of the wrapping forms, which fits in int32_t, so wrapping and saturating
 * both give it unchanged, and the checked forms add the divisor test. */

FIXEDPOINT_HELPER int32_t fp_impl_saturate(int64_t exact) {
  return exact > INT32_MAX ? INT32_MAX : (exact < INT32_MIN ? INT32_MIN : fp_impl_low32(exact));
}

/* The exact result fits exactly when its low 32 bits, sign-extended, give it back. */
FIXEDPOINT_HELPER bool fp_impl_check(int32_t* result, int64_t exact) {
  *result = fp_impl_low32(exact);
  return *result != exact;
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_cvt(int32_t n) {
  return FIXEDPOINT_CAST(int64_t, n) * 16384;
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_add(int32_t x, int32_t y) {
  return FIXEDPOINT_CAST(int64_t, x) + y;
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_sub(int32_t x, int32_t y) {
  return FIXEDPOINT_CAST(int64_t, x) - y;
}

/* Division of a signed value truncates toward zero, as the contract asks. */
FIXEDPOINT_HELPER int64_t fp_impl_exact_mul_fp(int32_t x, int32_t y) {
  return FIXEDPOINT_CAST(int64_t, x) * y / 16384;
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_div(int32_t x, int32_t y) {
  return y == 0 ? fp_impl_zero_divisor(x) : fp_impl_quotient_any(x, y);
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_add_int(int32_t x, int32_t n) {
  return x + fp_impl_exact_cvt(n);
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_sub_int(int32_t x, int32_t n) {
  return x - fp_impl_exact_cvt(n);
}

FIXEDPOINT_HELPER int64_t fp_impl_exact_mul_int(int32_t x, int32_t n) {
  return FIXEDPOINT_CAST(int64_t, x) * n;
}

/* INT32_MIN / -1 is 2^31 here, the one exact quotient outside int32_t: dividing by -1 is
 * negation in int64_t. */
FIXEDPOINT_HELPER int64_t fp_impl_exact_div_int(int32_t x, int32_t n) {
  return n == 0    ? fp_impl_zero_divisor(x)
         : n == -1 ? -FIXEDPOINT_CAST(int64_t, x)
                   : fp_impl_quotient_int_any(x, n);
}

/* ---- Rescaling multiplication, floor and ceiling ------------------------------------------ */

FIXEDPOINT_FN int32_t fp_mul_fp(int32_t x, int32_t y) {
  return fp_impl_low32(fp_impl_exact_mul_fp(x, y));
}

FIXEDPOINT_FN int32_t fp_mul_fp_nearest(int32_t x, int32_t y) {
  /* Round the magnitude (at most 2^62, so adding half a unit cannot wrap), then restore the
   * sign; only the low 32 bits of the signed result are kept. */
  const int64_t product = FIXEDPOINT_CAST(int64_t, x) * y;
  const uint64_t magnitude = FIXEDPOINT_CAST(uint64_t, product < 0 ? -product : product);
  const uint64_t rounded = (magnitude + 8192u) >> 14;
  return fp_impl_wrap(FIXEDPOINT_CAST(uint32_t, product < 0 ? 0u - rounded : rounded));
}

/* For x < 0, floor(x / 16384) = -floor((-x - 1) / 16384) - 1, and -x - 1 = ~x >= 0: only
 * non-negative values are shifted. Compilers recognise the whole as one arithmetic shift. */
FIXEDPOINT_HELPER int32_t fp_impl_floor(int32_t x) { return x < 0 ? ~(~x >> 14) : x >> 14; }

FIXEDPOINT_FN int32_t fp_floor(int32_t x) { return fp_impl_floor(x); }

FIXEDPOINT_FN int32_t fp_ceil(int32_t x) {
  return fp_impl_floor(x) + ((fp_impl_bits(x) & 0x3FFFu) != 0 ? 1 : 0);
}

/* ---- Saturating forms --------------------------------------------------------------------- */

FIXEDPOINT_FN int32_t cvt_int_fp_sat(int32_t n) { return fp_impl_saturate(fp_impl_exact_cvt(n)); }

FIXEDPOINT_FN int32_t fp_add_sat(int32_t x, int32_t y) {
  return fp_impl_saturate(fp_impl_exact_add(x, y));
}

FIXEDPOINT_FN int32_t fp_sub_sat(int32_t x, int32_t y) {
  return fp_impl_saturate(fp_impl_exact_sub(x, y));
}

FIXEDPOINT_FN int32_t fp_mul_fp_sat(int32_t x, int32_t y) {
  return fp_impl_saturate(fp_impl_exact_mul_fp(x, y));
}

FIXEDPOINT_FN int32_t fp_div_sat(int32_t x, int32_t y) {
  return fp_impl_saturate(fp_impl_exact_div(x, y));
}

FIXEDPOINT_FN int32_t fp_add_int_sat(int32_t x, int32_t n) {
  return fp_impl_saturate(fp_impl_exact_add_int(x, n));
}

FIXEDPOINT_FN int32_t fp_sub_int_sat(int32_t x, int32_t n) {
  return fp_impl_saturate(fp_impl_exact_sub_int(x, n));
}

FIXEDPOINT_FN int32_t fp_mul_int_sat(int32_t x, int32_t n) {
  return fp_impl_saturate(fp_impl_exact_mul_int(x, n));
}

FIXEDPOINT_FN int32_t fp_div_int_sat(int32_t x, int32_t n) {
  return fp_impl_saturate(fp_impl_exact_div_int(x, n));
}

/* ---- Checked forms: the low 32 bits of the exact result are the wrapping result ----------- */

FIXEDPOINT_FN bool cvt_int_fp_ckd(int32_t* result, int32_t n) {
  return fp_impl_check(result, fp_impl_exact_cvt(n));
}

/* Where the compiler offers overflow-checking arithmetic, a 32-bit sum, difference or product
 * is checked with it: the same stored value and verdict as fp_impl_check gives for the exact
 * result, in fewer instructions. */
FIXEDPOINT_FN bool fp_add_ckd(int32_t* result, int32_t x, int32_t y) {
#ifdef FIXEDPOINT_OVERFLOW_BUILTINS
  return __builtin_add_overflow(x, y, result);
#else
  return fp_impl_check(result, fp_impl_exact_add(x, y));
#endif
}

FIXEDPOINT_FN bool fp_sub_ckd(int32_t* result, int32_t x, int32_t y) {
#ifdef FIXEDPOINT_OVERFLOW_BUILTINS
  return __builtin_sub_overflow(x, y, result);
#else
  return fp_impl_check(result, fp_impl_exact_sub(x, y));
#endif
}

FIXEDPOINT_FN bool fp_mul_fp_ckd(int32_t* result, int32_t x, int32_t y) {
  return fp_impl_check(result, fp_impl_exact_mul_fp(x, y));
}

FIXEDPOINT_FN bool fp_div_ckd(int32_t* result, int32_t x, int32_t y) {
  return fp_impl_check(result, fp_impl_exact_div(x, y)) || y == 0;
}

FIXEDPOINT_FN bool fp_add_int_ckd(int32_t* result, int32_t x, int32_t n) {
  return fp_impl_check(result, fp_impl_exact_add_int(x, n));
}

FIXEDPOINT_FN bool fp_sub_int_ckd(int32_t* result, int32_t x, int32_t n) {
  return fp_impl_check(result, fp_impl_exact_sub_int(x, n));
}

FIXEDPOINT_FN bool fp_mul_int_ckd(int32_t* result, int32_t x, int32_t n) {
#ifdef FIXEDPOINT_OVERFLOW_BUILTINS
  return __builtin_mul_overflow(x, n, result);
#else
  return fp_impl_check(result, fp_impl_exact_mul_int(x, n));
#endif
}

FIXEDPOINT_FN bool fp_div_int_ckd(int32_t* result, int32_t x, int32_t n) {
  return fp_impl_check(result, fp_impl_exact_div_int(x, n)) || n == 0;
}

/* ---- Square root ---------------------------------------------------------------------------- */

/* round(sqrt(x * 4^pairs)) for x < 2^32 and 0 <= pairs <= 7, in 32-bit integer arithmetic: the
 * digit-by-digit root, which takes two bits at a time (x's 16 pairs, then pairs of zeros) and
 * doubles root, adding 1 when the remainder r of the bits taken so far, less root^2, covers the
 * trial 4 root + 1 = (2 root + 1)^2 - (2 root)^2. r never exceeds 2 root and root stays below 2^23,
 * so r * 4 + 3, the trial and root all fit in 32 bits. At the end root = floor(sqrt(n)) and r =
 * n - root^2, and root is rounded up exactly when r exceeds root, i.e. when n >= (root + 1/2)^2.
 * Equality would need n = root^2 + root + 1/4, so a tie cannot occur. */
FIXEDPOINT_HELPER uint32_t fp_impl_sqrt_rounded(uint32_t x, int pairs) {
  uint32_t root = 0;
  uint32_t r = 0;
  for (int i = 0; i < 16 + pairs; ++i) {
    const uint32_t trial = (root << 2) | 1u;
    r = (r << 2) | (x >> 30);
    x <<= 2; /* 0 after x's 16 pairs, which brings in the zeros */
    root <<= 1;
    if (r >= trial) {
      r -= trial;
      root |= 1u;
    }
  }
  return r > root ? root + 1 : root;
}

/* round(sqrt(x * 2^14)) for 0 <= x < 2^31 through the hardware's square root where there is one.
 *
 * x86-64: n = x * 2^14 converts to double exactly and the IEEE square root is correctly rounded,
 * so the double s is within 2^-30 of sqrt(n) < 2^23, and s + 0.5 is computed within another
 * 2^-30. sqrt(n) itself stays at least 2^-26 away from every half-integer k + 1/2, since
 * |n - (k + 1/2)^2| >= 1/4 and sqrt(n) + k + 1/2 < 2^24. So truncating s + 0.5 gives exactly
 * round(sqrt(n)).
 *
 * ARM with a single-precision FPU (Cortex-M4F, armhf): x converts to float within a relative
 * 2^-24, the scaling by 2^14 is exact and the square root is correctly rounded, so the float s
 * is within sqrt(n) * (1.5 * 2^-24 + 2^-48) < 0.54 of sqrt(n), and g = trunc(s) within 1.54.
 * The remainder d = n - g^2 is then below 2^25 in magnitude, so it is exact modulo 2^32; at most
 * two steps move g to floor(sqrt(n)) (0 <= d <= 2g), and d > g rounds up, as above. */
FIXEDPOINT_HELPER_RT uint32_t fp_impl_sqrt_scaled_fast(uint32_t x) {
#if defined(FIXEDPOINT_SSE2_SQRT)
  const double root = _mm_cvtsd_f64(_mm_sqrt_sd(
      _mm_setzero_pd(), _mm_set_sd(FIXEDPOINT_CAST(double, FIXEDPOINT_CAST(uint64_t, x) << 14))));
  return FIXEDPOINT_CAST(uint32_t, FIXEDPOINT_CAST(int32_t, root + 0.5)); /* one instruction */
#elif defined(FIXEDPOINT_VFP_SQRT)
  float s = FIXEDPOINT_CAST(float, FIXEDPOINT_CAST(int32_t, x)) * 16384.0f;
  uint32_t g;
  int32_t d;
  __asm__("vsqrt.f32 %0, %0" : "+t"(s));
  g = FIXEDPOINT_CAST(uint32_t, s);
  d = fp_impl_wrap((x << 14) - g * g);
  while (d < 0) d += fp_impl_wrap(2u * g - 1u), --g;
  while (d > fp_impl_wrap(2u * g)) d -= fp_impl_wrap(2u * g + 1u), ++g;
  return d > fp_impl_wrap(g) ? g + 1u : g;
#else
  return fp_impl_sqrt_rounded(x, 7);
#endif
}

/* sqrt(x / 16384) * 16384 = sqrt(x * 16384): the rounded square root of a 45-bit integer; the
 * integer method in a constant expression, the fast one otherwise. */
FIXEDPOINT_FN int32_t fp_sqrt(int32_t x) {
  return x < 0 ? 0
               : fp_impl_wrap(FIXEDPOINT_IS_CONSTANT_EVALUATED()
                                  ? fp_impl_sqrt_rounded(fp_impl_bits(x), 7)
                                  : fp_impl_sqrt_scaled_fast(fp_impl_bits(x)));
}

FIXEDPOINT_FN bool fp_sqrt_ckd(int32_t* result, int32_t x) {
  *result = fp_sqrt(x);
  return x < 0;
}

/* ---- Absolute value, minimum, maximum, clamping and interpolation ------------------------- */

/* INT32_MIN is the one input whose magnitude does not fit, so the saturating and checked forms
 * test for it instead of computing the magnitude in 64 bits: the same results in 32-bit
 * arithmetic, which vectorises. */
FIXEDPOINT_FN int32_t fp_abs(int32_t x) { return fp_impl_wrap(fp_impl_magnitude(x)); }

FIXEDPOINT_FN int32_t fp_abs_sat(int32_t x) {
  return fp_impl_wrap(fp_impl_magnitude(x) - (x == INT32_MIN ? 1u : 0u));
}

FIXEDPOINT_FN bool fp_abs_ckd(int32_t* result, int32_t x) {
  *result = fp_abs(x);
  return x == INT32_MIN;
}

FIXEDPOINT_FN int32_t fp_min(int32_t x, int32_t y) { return x < y ? x : y; }

FIXEDPOINT_FN int32_t fp_max(int32_t x, int32_t y) { return x < y ? y : x; }

FIXEDPOINT_FN int32_t fp_clamp(int32_t x, int32_t lo, int32_t hi) {
  const int32_t low = fp_min(lo, hi);
  const int32_t high = fp_max(lo, hi);
  return x < low ? low : (x > high ? high : x);
}

/* v / 16384 rounded to nearest, halves away from zero, for |v| <= 2^63 - 2^14: half a unit is
 * added in the direction of v's sign, and the division truncates toward zero. */
FIXEDPOINT_HELPER int64_t fp_impl_rescale_nearest(int64_t v) {
  return (v < 0 ? v - 8192 : v + 8192) / 16384;
}

/* |b - a| < 2^32 and |t| <= 2^31, so the product is below 2^63 in magnitude: exact in int64_t.
 * Rescaled, it is below 2^49, and adding a cannot overflow either. */
FIXEDPOINT_FN int32_t fp_lerp(int32_t a, int32_t b, int32_t t) {
  return fp_impl_saturate(
      a + fp_impl_rescale_nearest((FIXEDPOINT_CAST(int64_t, b) - a) * FIXEDPOINT_CAST(int64_t, t)));
}

/* Both operands have the same scale, so the remainder of the raw values is the remainder of the
 * values, and C's % truncates the quotient toward zero as fmod does. INT32_MIN % -1 overflows
 * (and traps on x86); every remainder of a division by -1 is 0. */
FIXEDPOINT_FN int32_t fp_fmod(int32_t x, int32_t y) { return y == 0 || y == -1 ? 0 : x % y; }

/* floor(x), plus one when the fraction is above a half, or exactly a half with floor(x) odd:
 * fraction + 8191 + (1 if odd) reaches 16384 in exactly those cases, and stays below 32768. */
FIXEDPOINT_FN int32_t fp_round_even(int32_t x) {
  const int32_t down = fp_impl_floor(x);
  const uint32_t fraction = fp_impl_bits(x) & 0x3FFFu;
  return down + FIXEDPOINT_CAST(int32_t, (fraction + 8191u + (fp_impl_bits(down) & 1u)) >> 14);
}

/* ---- Other Q formats ------------------------------------------------------------------------ */

/* v * 2^s, rounded to nearest with halves away from zero, saturated, for -40 <= s <= 32. At
 * s = 32 every nonzero v saturates, and at s = -40 every v rounds to 0 (|v| <= 2^31 is far below
 * half of 2^40), as they do for every s beyond; the callers clamp s to this span. */
FIXEDPOINT_HELPER int32_t fp_impl_scale_pow2(int32_t v, int s) {
  /* Both ways are computed and one is chosen, which compiles without a branch; with a shift of
   * 0 either gives v. |v| * 2^32 <= 2^63: the product fits in int64_t. */
  const int left = s > 0 ? s : 0;
  const int right = s < 0 ? -s : 0;
  const int32_t scaled =
      fp_impl_saturate(FIXEDPOINT_CAST(int64_t, v) * (FIXEDPOINT_CAST(int64_t, 1) << left));
  /* The magnitude plus half of 2^right, shifted: at most (2^31 + 1) >> 1 for right >= 1, so the
   * rounded magnitude fits in int32_t and may be negated. */
  const uint64_t half = (FIXEDPOINT_CAST(uint64_t, 1) << right) >> 1;
  const int32_t magnitude = FIXEDPOINT_CAST(int32_t, (fp_impl_magnitude(v) + half) >> right);
  const int32_t rounded = right == 0 ? v : (v < 0 ? -magnitude : magnitude);
  return s >= 0 ? scaled : rounded;
}

/* The shifts are clamped before they are computed, so that no frac_bits overflows 14 - n. */
FIXEDPOINT_FN int32_t fp_from_q(int32_t v, int frac_bits) {
  return fp_impl_scale_pow2(v, frac_bits < -18 ? 32 : (frac_bits > 54 ? -40 : 14 - frac_bits));
}

FIXEDPOINT_FN int32_t fp_to_q(int32_t x, int frac_bits) {
  return fp_impl_scale_pow2(x, frac_bits > 46 ? 32 : (frac_bits < -26 ? -40 : frac_bits - 14));
}

/* ---- Exponentials, logarithms, powers and trigonometry, on wide integer arithmetic -------- */
#include "fp_exp_impl.h"
/* (the trigonometry uses the exponentials' rounding and constants) */
#include "fp_trig_impl.h"
