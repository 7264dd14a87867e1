/* SPDX-License-Identifier: MIT */
/*
 * fixedpoint/fp.h - exact 17.14 fixed-point arithmetic on plain int32_t.
 *
 * A fixed-point value is an int32_t r that stands for the real number r / 16384:
 * 1 sign bit, 17 integer bits, 14 fraction bits (two's complement).
 *
 *   resolution  1/16384 = 0.00006103515625 (one raw unit)
 *   range       -131072.0 (raw INT32_MIN) to 131071.99993896484375 (raw INT32_MAX)
 *   examples    1.0 is raw 16384, 0.5 is raw 8192, -1.0 is raw -16384
 *
 * There is no wrapper type: fixed-point values and ordinary integers are both int32_t, and
 * which is which follows from the function that receives them. A suffix "_int" marks a second
 * operand that is an ordinary integer.
 *
 * Every function is thread-safe, allocation-free and defined for every input, and pure except
 * that fp_strtofp sets errno on error and fp_format and fp_from_chars write through their
 * pointers. The plain functions wrap
 * results that leave the int32_t range modulo 2^32 (two's complement); the suffix "_sat" marks a
 * form that saturates instead, and "_ckd" one that reports overflow. Valid C (C99 and later) and
 * C++ (C++11 and later); the library's symbols carry their plain, unmangled names.
 *
 * Two ways to use it, per translation unit:
 *   - link the library (libfp): the functions are ordinary external functions;
 *   - define FIXEDPOINT_HEADER_ONLY before including this header: every function is defined
 *     in the including file as a static inline function (static inline constexpr in C++14 and
 *     later), with the same results, and nothing needs to be linked.
 */
#ifndef FIXEDPOINT_FP_H
#define FIXEDPOINT_FP_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

/* Internal: whether <errno.h> is used: in a hosted implementation, unless FIXEDPOINT_NO_ERRNO
 * is defined. Without it (a freestanding build with only the compiler's own headers) every
 * function but fp_strtofp is there; fp_from_chars reads text without errno. */
#if defined(FIXEDPOINT_NO_ERRNO) || (defined(__STDC_HOSTED__) && __STDC_HOSTED__ == 0)
#define FIXEDPOINT_HAS_ERRNO 0
#else
#define FIXEDPOINT_HAS_ERRNO 1
#include <errno.h>
#endif

#define FIXEDPOINT_VERSION_MAJOR 1
#define FIXEDPOINT_VERSION_MINOR 1
#define FIXEDPOINT_VERSION_PATCH 0

/* Marks the functions that a shared libfp exports. The attribute is applied only while that
 * shared library is being built, so that a program or shared object that links the static
 * library, or includes this header, does not re-export the functions. */
#ifndef FP_API
#if defined(FIXEDPOINT_BUILDING_SHARED) && (defined(__GNUC__) || defined(__clang__))
#define FP_API __attribute__((visibility("default")))
#else
#define FP_API
#endif
#endif

/* Internal: constexpr where the language allows loops and several statements in it. */
#if defined(__cplusplus) && __cplusplus >= 201402L
#define FIXEDPOINT_CONSTEXPR constexpr
#else
#define FIXEDPOINT_CONSTEXPR
#endif

/* Internal: whether the code is being evaluated at compile time, so that fp_sqrt can use the
 * hardware square root at run time and integer arithmetic in a constant expression. In C++14
 * without a way to tell, constant evaluation must stay possible, so the answer is always yes. */
#if defined(__cplusplus) && __cplusplus >= 201402L
#if defined(__has_builtin)
#if __has_builtin(__builtin_is_constant_evaluated)
#define FIXEDPOINT_IS_CONSTANT_EVALUATED() __builtin_is_constant_evaluated()
#endif
#elif defined(__GNUC__) && __GNUC__ >= 9
#define FIXEDPOINT_IS_CONSTANT_EVALUATED() __builtin_is_constant_evaluated()
#endif
#ifndef FIXEDPOINT_IS_CONSTANT_EVALUATED
#define FIXEDPOINT_IS_CONSTANT_EVALUATED() 1
#endif
#else
#define FIXEDPOINT_IS_CONSTANT_EVALUATED() 0
#endif

/* Internal: the compiler's overflow-checking arithmetic, which the checked forms of a plain
 * 32-bit sum, difference or product use where it exists (also in constant expressions). */
#if defined(__has_builtin)
#if __has_builtin(__builtin_add_overflow) && __has_builtin(__builtin_mul_overflow)
#define FIXEDPOINT_OVERFLOW_BUILTINS 1
#endif
#elif defined(__GNUC__) && __GNUC__ >= 7
#define FIXEDPOINT_OVERFLOW_BUILTINS 1
#endif

/* Internal: x86's square root instruction, which fp_sqrt uses at run time; not in a freestanding
 * build, where GCC's <emmintrin.h> cannot be included (it includes <stdlib.h>). */
#if defined(__SSE2__) && !defined(FIXEDPOINT_NO_SSE2) && \
    !(defined(__STDC_HOSTED__) && __STDC_HOSTED__ == 0)
#include <emmintrin.h>
#define FIXEDPOINT_SSE2_SQRT 1
/* and on x86-64, its double division, which fp_div and fp_div_int use at run time */
#if defined(__x86_64__) || defined(_M_X64)
#define FIXEDPOINT_SSE2_DIV 1
#endif
#endif

/* Internal: the square root instruction of ARM's single-precision FPU (Cortex-M4F, armhf), which
 * fp_sqrt uses at run time. */
#if defined(__arm__) && defined(__ARM_FP) && (__ARM_FP & 4) && \
    (defined(__GNUC__) || defined(__clang__))
#define FIXEDPOINT_VFP_SQRT 1
#endif

/* Internal: how the divisions divide 64-bit integers. Where the target divides them in one
 * instruction, they are written as C's division; on 32-bit targets, by a routine that needs only
 * 32-bit division (a hardware instruction where there is one) or, on ARM cores without one, only
 * shifts and subtractions: never the C runtime's general 64-bit division (libgcc's __divdi3 or
 * __aeabi_ldivmod), which firmware and kernels often do not link. */
#if defined(__x86_64__) || defined(_M_X64) || defined(__aarch64__) || defined(_M_ARM64) || \
    (defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ >= 8)
#define FIXEDPOINT_DIV64 1
#elif !defined(__arm__) || defined(__ARM_FEATURE_IDIV)
#define FIXEDPOINT_DIV32 1
#endif

/* Internal: Thumb-1 (ARMv6-M's Cortex-M0 and M0+, among others) multiplies 32x32 bits to the low
 * 32 bits only, so a 64-bit product there would be the C runtime's general 64x64-bit multiply;
 * the wide arithmetic multiplies in 16-bit halves instead. FIXEDPOINT_TEST_MUL_HALVES takes the
 * same path on any target, so that the tests run it on their host. */
#if (defined(__thumb__) && !defined(__thumb2__)) || defined(FIXEDPOINT_TEST_MUL_HALVES)
#define FIXEDPOINT_MUL_HALVES 1
#endif

/* Internal: 32-bit ARM without a double-precision FPU (Cortex-M0+, M3, M4F) computes in double
 * through the C runtime's software floating point, some hundreds of instructions an operation;
 * there the double conversions assemble and take apart the IEEE-754 bits in integers instead.
 * FIXEDPOINT_TEST_DOUBLE_BITS takes the same path on any target, so that the tests run it on
 * their host. */
#if (defined(__GNUC__) || defined(__clang__)) &&                                              \
    ((defined(__arm__) && defined(__ARM_EABI__) && !(defined(__ARM_FP) && (__ARM_FP & 8))) || \
     defined(FIXEDPOINT_TEST_DOUBLE_BITS))
#define FIXEDPOINT_DOUBLE_BITS 1
#endif

/* Internal: an explicit conversion written so that C++ warnings about C casts stay quiet. */
#ifdef __cplusplus
#define FIXEDPOINT_CAST(type, value) static_cast<type>(value)
#else
#define FIXEDPOINT_CAST(type, value) ((type)(value))
#endif

/* Internal: how the functions below are declared: FIXEDPOINT_FN for those that C++ can evaluate
 * at compile time in header-only mode, FIXEDPOINT_FN_RT for the others. */
#ifdef FIXEDPOINT_HEADER_ONLY
#define FIXEDPOINT_FN static inline FIXEDPOINT_CONSTEXPR
#define FIXEDPOINT_FN_RT static inline
#else
#define FIXEDPOINT_FN FP_API
#define FIXEDPOINT_FN_RT FP_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Returns: the integer n as a fixed-point value, n * 16384.
 * Overflow: n outside -131072..131071 wraps modulo 2^32 (131072 gives INT32_MIN). */
FIXEDPOINT_FN int32_t cvt_int_fp(int32_t n);

/* cvt_int_fp(n) as an integer constant expression, for static initialisers, case labels and
 * array sizes, in C as in C++: static const int32_t one = FP_FROM_INT(1); gives 16384.
 * The same value as cvt_int_fp(n) for every n (n is converted as the function's parameter
 * would be), wrap-around included: FP_FROM_INT(131072) is INT32_MIN. cvt_int_fp is this macro. */
#define FP_FROM_INT(n) FIXEDPOINT_CAST(int32_t, FIXEDPOINT_CAST(uint32_t, n) << 14)

/* Returns: the fixed-point x as an integer, x / 16384.
 * Rounding: toward zero, not to nearest: 1.75 gives 1, -1.75 gives -1.
 * Edges: INT32_MIN gives -131072, INT32_MAX gives 131071. */
FIXEDPOINT_FN int32_t fp_round(int32_t x);

/* Returns: the fixed-point x rounded to the nearest integer.
 * Rounding: halves away from zero: 0.5 gives 1, -0.5 gives -1, 1.5 gives 2, -1.5 gives -2.
 * Edges: exact over the whole range; every x from 2147475456 to INT32_MAX gives 131072, and
 * INT32_MIN through -2147475457 give -131072. */
FIXEDPOINT_FN int32_t fp_to_nearest(int32_t x);

/* Returns: x + y. Overflow: wraps modulo 2^32. */
FIXEDPOINT_FN int32_t fp_add(int32_t x, int32_t y);

/* Returns: x - y. Overflow: wraps modulo 2^32. */
FIXEDPOINT_FN int32_t fp_sub(int32_t x, int32_t y);

/* Returns: the plain 32-bit product x * y, NOT RESCALED.
 * This is not the fixed-point product of two fixed-point values: 1.0 * 1.0 (16384 * 16384)
 * gives 268435456, not 16384. It is the right fixed-point result only when y is an ordinary
 * integer, exactly like fp_mul_int; fp_mul(x, 1) returns x unchanged.
 * Overflow: wraps modulo 2^32 (65536 * 65536 gives 0). */
FIXEDPOINT_FN int32_t fp_mul(int32_t x, int32_t y);

/* Returns: the fixed-point quotient x / y, computed as (x * 16384) / y in 64 bits.
 * Rounding: toward zero (1.0 / 60.0 gives 273, the exact 273.0666... truncated).
 * Overflow: a quotient of magnitude 131072.0 or more keeps only its low 32 bits
 * (1073741824 / 1 gives 0, the low bits of 2^44).
 * Zero divisor: returns INT32_MAX for x > 0, INT32_MIN for x < 0, and 0 for x == 0. */
FIXEDPOINT_FN int32_t fp_div(int32_t x, int32_t y);

/* Returns: x + n * 16384, the fixed-point x plus the integer n.
 * Overflow: n * 16384 wraps before the addition, and the sum wraps, modulo 2^32. */
FIXEDPOINT_FN int32_t fp_add_int(int32_t x, int32_t n);

/* Returns: x - n * 16384, the fixed-point x minus the integer n.
 * Overflow: n * 16384 wraps before the subtraction, and the difference wraps, modulo 2^32. */
FIXEDPOINT_FN int32_t fp_sub_int(int32_t x, int32_t n);

/* Returns: x * n, the fixed-point x times the integer n. Overflow: wraps modulo 2^32. */
FIXEDPOINT_FN int32_t fp_mul_int(int32_t x, int32_t n);

/* Returns: x / n, the fixed-point x divided by the integer n.
 * Rounding: toward zero; the remainder is discarded (-7 / 2 and 7 / -2 both give -3).
 * Edges: INT32_MIN / -1 wraps to INT32_MIN.
 * Zero divisor: returns INT32_MAX for x > 0, INT32_MIN for x < 0, and 0 for x == 0. */
FIXEDPOINT_FN int32_t fp_div_int(int32_t x, int32_t n);

/* ---- Rescaling multiplication, floor and ceiling ------------------------------------------ */

/* Returns: the fixed-point product of two fixed-point values, (x * y) / 16384, computed in 64
 * bits: fp_mul_fp(16384, 16384) (1.0 * 1.0) is 16384.
 * Rounding: toward zero (fp_mul_fp(-1, 1) is 0).
 * Overflow: a product of magnitude 131072.0 or more keeps only its low 32 bits. */
FIXEDPOINT_FN int32_t fp_mul_fp(int32_t x, int32_t y);

/* Returns: the fixed-point product (x * y) / 16384, like fp_mul_fp.
 * Rounding: to nearest, halves away from zero: fp_mul_fp_nearest(1, 8192) is 1,
 * fp_mul_fp_nearest(-1, 8192) is -1, fp_mul_fp_nearest(1, 8191) is 0.
 * Overflow: keeps the low 32 bits of the rounded product. */
FIXEDPOINT_FN int32_t fp_mul_fp_nearest(int32_t x, int32_t y);

/* Returns: the largest integer not above x: fp_floor(-1) is -1, fp_floor(INT32_MIN) is -131072.
 * Defined for every x; the result always fits. */
FIXEDPOINT_FN int32_t fp_floor(int32_t x);

/* Returns: the smallest integer not below x: fp_ceil(1) is 1, fp_ceil(INT32_MAX) is 131072.
 * Defined for every x; the result always fits. */
FIXEDPOINT_FN int32_t fp_ceil(int32_t x);

/* ---- Saturating forms ----------------------------------------------------------------------
 * Returns: the exact result of the wrapping function of the same name without "_sat", clamped to
 * INT32_MIN ... INT32_MAX. "Exact" means computed with unbounded integers before any wrap, with
 * the same truncation toward zero for the divisions and fp_mul_fp; for fp_add_int_sat and
 * fp_sub_int_sat it is x +/- n * 16384 with n not wrapped first.
 * Zero divisor: the same as the wrapping forms, INT32_MAX for x > 0, INT32_MIN for x < 0, and 0
 * for x == 0. fp_div_int_sat(INT32_MIN, -1) is INT32_MAX. */
FIXEDPOINT_FN int32_t cvt_int_fp_sat(int32_t n);
FIXEDPOINT_FN int32_t fp_add_sat(int32_t x, int32_t y);
FIXEDPOINT_FN int32_t fp_sub_sat(int32_t x, int32_t y);
FIXEDPOINT_FN int32_t fp_mul_fp_sat(int32_t x, int32_t y);
FIXEDPOINT_FN int32_t fp_div_sat(int32_t x, int32_t y);
FIXEDPOINT_FN int32_t fp_add_int_sat(int32_t x, int32_t n);
FIXEDPOINT_FN int32_t fp_sub_int_sat(int32_t x, int32_t n);
FIXEDPOINT_FN int32_t fp_mul_int_sat(int32_t x, int32_t n);
FIXEDPOINT_FN int32_t fp_div_int_sat(int32_t x, int32_t n);

/* ---- Checked forms -------------------------------------------------------------------------
 * Like C23's ckd_add: each stores in *result exactly what the wrapping function of the same name
 * without "_ckd" returns for the same operands (cvt_int_fp, fp_add, fp_sub, fp_mul_fp, fp_div,
 * fp_add_int, fp_sub_int, fp_mul_int, fp_div_int), and returns true exactly when the exact
 * result (as for the saturating forms) does not fit in int32_t or the divisor is zero; false
 * otherwise. result must point to an int32_t; it is always written. */
FIXEDPOINT_FN bool cvt_int_fp_ckd(int32_t* result, int32_t n);
FIXEDPOINT_FN bool fp_add_ckd(int32_t* result, int32_t x, int32_t y);
FIXEDPOINT_FN bool fp_sub_ckd(int32_t* result, int32_t x, int32_t y);
FIXEDPOINT_FN bool fp_mul_fp_ckd(int32_t* result, int32_t x, int32_t y);
FIXEDPOINT_FN bool fp_div_ckd(int32_t* result, int32_t x, int32_t y);
FIXEDPOINT_FN bool fp_add_int_ckd(int32_t* result, int32_t x, int32_t n);
FIXEDPOINT_FN bool fp_sub_int_ckd(int32_t* result, int32_t x, int32_t n);
FIXEDPOINT_FN bool fp_mul_int_ckd(int32_t* result, int32_t x, int32_t n);
FIXEDPOINT_FN bool fp_div_int_ckd(int32_t* result, int32_t x, int32_t n);

/* ---- Square root ---------------------------------------------------------------------------- */

/* Returns: the square root of x as a fixed-point value, sqrt(x / 16384) * 16384.
 * Rounding: correctly rounded to nearest over the whole range (a tie cannot occur):
 * fp_sqrt(16384) is 16384, fp_sqrt(INT32_MAX) is 5931642.
 * Edges: x < 0 gives 0. */
FIXEDPOINT_FN int32_t fp_sqrt(int32_t x);

/* Stores fp_sqrt(x) in *result and returns true exactly when x < 0 (no real square root). */
FIXEDPOINT_FN bool fp_sqrt_ckd(int32_t* result, int32_t x);

/* ---- Exponentials, logarithms and powers ---------------------------------------------------
 * Each result is the exact value of the function at the input's real value, rounded to the
 * nearest 17.14 value with halves away from zero: correctly rounded for every input, within half
 * a raw unit. A rounded value outside INT32_MIN ... INT32_MAX saturates to the nearer end (a
 * rounded value of exactly INT32_MIN is in range). A result that rounds to 0 is 0, not an error.
 * Integer arithmetic only, so the results are the same on every target; in header-only mode they
 * are constexpr in C++14 and later.
 * Each "_ckd" form stores exactly what the plain function returns, and returns true exactly when
 * the input lies outside the function's domain or the result saturated. */

/* Returns: e^x. fp_exp(0) is 16384, and fp_exp(16384) is 44536 (e).
 * Edges: x from 193061 (11.78350...) upward saturates to INT32_MAX; every x below -170347
 * (-10.39715...) gives 0, which is not an error. */
FIXEDPOINT_FN int32_t fp_exp(int32_t x);
FIXEDPOINT_FN bool fp_exp_ckd(int32_t* result, int32_t x);

/* Returns: 2^x. Exact at every integer x from -14 to 16: fp_exp2(0) is 16384, fp_exp2(16384) is
 * 32768, and fp_exp2(-15 * 16384) is 1 (2^-15 is half a raw unit, which rounds away from zero).
 * Edges: x from 278528 (17.0) upward saturates to INT32_MAX; every x below -245760 (-15.0) gives
 * 0. */
FIXEDPOINT_FN int32_t fp_exp2(int32_t x);
FIXEDPOINT_FN bool fp_exp2_ckd(int32_t* result, int32_t x);

/* Returns: the natural logarithm of x. fp_log(16384) is 0.
 * Domain: x > 0; x <= 0 gives INT32_MIN, the limit as x falls to 0 (and _ckd reports it). */
FIXEDPOINT_FN int32_t fp_log(int32_t x);
FIXEDPOINT_FN bool fp_log_ckd(int32_t* result, int32_t x);

/* Returns: the base-2 logarithm of x; exactly n * 16384 at x = 2^n (fp_log2(1) is -229376, -14.0).
 * Domain: x > 0; x <= 0 gives INT32_MIN (and _ckd reports it). */
FIXEDPOINT_FN int32_t fp_log2(int32_t x);
FIXEDPOINT_FN bool fp_log2_ckd(int32_t* result, int32_t x);

/* Returns: the base-10 logarithm of x; exactly n * 16384 at x = 10^n (fp_log10(163840) is 16384).
 * Domain: x > 0; x <= 0 gives INT32_MIN (and _ckd reports it). */
FIXEDPOINT_FN int32_t fp_log10(int32_t x);
FIXEDPOINT_FN bool fp_log10_ckd(int32_t* result, int32_t x);

/* Returns: x^y. fp_pow(x, 16384) is x, and fp_pow(x, 0) is 16384 (1.0) for every x, 0 included.
 * Domain: fp_pow(0, y) is 0 for y > 0 and INT32_MAX for y < 0 (reported). A negative x has a
 * power only for an integer y (a multiple of 16384): its sign is that of (-1)^y
 * (fp_pow(-16384, 3 * 16384) is -16384). For a negative x and any other y the result is 0
 * (reported). */
FIXEDPOINT_FN int32_t fp_pow(int32_t x, int32_t y);
FIXEDPOINT_FN bool fp_pow_ckd(int32_t* result, int32_t x, int32_t y);

/* ---- Trigonometry and hypot ------------------------------------------------------------------
 * Correctly rounded for every input, as the exponentials are, and constexpr in C++14 header-only
 * mode. Angles are in radians, except for fp_sinpi and fp_cospi, whose angles are in half turns
 * (fp_sinpi(x) is sin(pi x)). */

/* Returns: sin x and cos x. fp_sin(0) is 0 and fp_cos(0) is 16384. Defined for every x. */
FIXEDPOINT_FN int32_t fp_sin(int32_t x);
FIXEDPOINT_FN int32_t fp_cos(int32_t x);

/* Returns: sin(pi x) and cos(pi x), as C23's sinpi and cospi. The reduction is exact:
 * fp_sinpi(16384) is 0, fp_cospi(16384) is -16384 and fp_sinpi(8192) is 16384. */
FIXEDPOINT_FN int32_t fp_sinpi(int32_t x);
FIXEDPOINT_FN int32_t fp_cospi(int32_t x);

/* Returns: tan x. Beyond the range near the poles it saturates, and fp_tan_ckd reports it. */
FIXEDPOINT_FN int32_t fp_tan(int32_t x);
FIXEDPOINT_FN bool fp_tan_ckd(int32_t* result, int32_t x);

/* Returns: asin x and acos x, in [-pi/2, pi/2] and [0, pi]: fp_asin(16384) is 25736
 * (round(pi/2 * 16384)), fp_asin(0) and fp_acos(16384) are 0.
 * Domain: [-16384, 16384]; an x beyond gives the value at the nearer end (fp_asin(2 * 16384) is
 * fp_asin(16384)), and the _ckd form reports it. */
FIXEDPOINT_FN int32_t fp_asin(int32_t x);
FIXEDPOINT_FN int32_t fp_acos(int32_t x);
FIXEDPOINT_FN bool fp_asin_ckd(int32_t* result, int32_t x);
FIXEDPOINT_FN bool fp_acos_ckd(int32_t* result, int32_t x);

/* Returns: atan x, in (-pi/2, pi/2); fp_atan(0) is 0. */
FIXEDPOINT_FN int32_t fp_atan(int32_t x);

/* Returns: the angle of the point (x, y), in [-pi, pi], with C's atan2 conventions but no
 * negative zero: fp_atan2(0, 0) is 0, fp_atan2(0, x) for x < 0 is 51472 (+pi rounded), and
 * fp_atan2(y, 0) is +-25736 (+-pi/2) by the sign of y. */
FIXEDPOINT_FN int32_t fp_atan2(int32_t y, int32_t x);

/* Returns: sqrt(x^2 + y^2), exactly rounded in integers: the rounded square root of the 64-bit
 * sum of the raw squares. fp_hypot(3 * 16384, 4 * 16384) is 5 * 16384. Beyond the range it
 * saturates (fp_hypot(INT32_MAX, INT32_MAX)), and fp_hypot_ckd reports it. */
FIXEDPOINT_FN int32_t fp_hypot(int32_t x, int32_t y);
FIXEDPOINT_FN bool fp_hypot_ckd(int32_t* result, int32_t x, int32_t y);

/* ---- Absolute value, minimum, maximum, clamping and interpolation ------------------------- */

/* Returns: |x|, the magnitude of x.
 * Overflow: |INT32_MIN| is 131072.0, which does not fit: fp_abs wraps it to INT32_MIN (the one
 * negative result), fp_abs_sat gives INT32_MAX, and fp_abs_ckd stores INT32_MIN and returns true.
 * fp_abs_ckd returns true for INT32_MIN only, as the other checked forms do for their overflows. */
FIXEDPOINT_FN int32_t fp_abs(int32_t x);
FIXEDPOINT_FN int32_t fp_abs_sat(int32_t x);
FIXEDPOINT_FN bool fp_abs_ckd(int32_t* result, int32_t x);

/* Returns: the smaller (fp_min) or the larger (fp_max) of x and y. */
FIXEDPOINT_FN int32_t fp_min(int32_t x, int32_t y);
FIXEDPOINT_FN int32_t fp_max(int32_t x, int32_t y);

/* Returns: x clamped to [lo, hi]: lo when x < lo, hi when x > hi, and x otherwise.
 * Edges: bounds given in the wrong order (lo > hi) are taken in order, so the result is x clamped
 * to [hi, lo]. Whatever the order, the result lies between the two bounds, and it is x whenever x
 * does: fp_clamp(x, 5, 1) is fp_clamp(x, 1, 5). (C++'s std::clamp requires lo <= hi.) */
FIXEDPOINT_FN int32_t fp_clamp(int32_t x, int32_t lo, int32_t hi);

/* Returns: a + (b - a) * t, the linear interpolation from a (at t = 0) to b (at t = 1.0, raw
 * 16384); a t outside [0, 1.0] extrapolates along the same line.
 * Rounding: b - a and its product with t are exact; the product's rescaling to 17.14,
 * (b - a) * t / 16384, is rounded to nearest with halves away from zero before a is added. So
 * t = 0 gives a and t = 1.0 gives b exactly, for every a and b.
 * Overflow: saturates: a result beyond the range gives INT32_MAX or INT32_MIN. */
FIXEDPOINT_FN int32_t fp_lerp(int32_t a, int32_t b, int32_t t);

/* Returns: the remainder of x / y with the quotient truncated toward zero, as C's fmod:
 * x - n * y for the integer n nearest to x / y in the direction of zero. Exact; it has the sign of
 * x (or is 0) and is smaller than |y| in magnitude: 5.5 and 2.0 give 1.5, -5.5 and 2.0 give -1.5,
 * 5.5 and -2.0 give 1.5.
 * Edges: y == 0 gives 0 (C's fmod gives NaN). fp_fmod(INT32_MIN, -1) is 0. */
FIXEDPOINT_FN int32_t fp_fmod(int32_t x, int32_t y);

/* Returns: x rounded to the nearest integer, as an integer (like fp_to_nearest).
 * Rounding: ties to even: 0.5 gives 0, 1.5 gives 2, 2.5 gives 2, -0.5 gives 0, -1.5 gives -2.
 * Edges: exact over the whole range; INT32_MAX gives 131072, INT32_MIN gives -131072. */
FIXEDPOINT_FN int32_t fp_round_even(int32_t x);

/* ---- Other Q formats -----------------------------------------------------------------------
 * A value with frac_bits fraction bits (Qn, n = frac_bits) is an int32_t v that stands for
 * v / 2^n: Q15 (n = 15) and Q31 (n = 31) hold [-1, 1), 16.16 is n = 16, and this library's own
 * format is n = 14. frac_bits is normally 0..31; any other int is accepted and means the same
 * scaling by a power of two (a negative n stands for v * 2^-n).
 * Rounding: exact where no bits are lost; otherwise to nearest, halves away from zero.
 * Overflow: saturates to INT32_MIN ... INT32_MAX. */

/* Returns: the Qn value v as a 17.14 value, v * 2^(14 - n): exact for n <= 14 when it fits;
 * fp_from_q(1 << 15, 15) (1.0 in Q15) is 16384, fp_from_q(1, 15) (half a raw unit) is 1 and
 * fp_from_q(-1, 15) is -1; fp_from_q(131072, 0) saturates to INT32_MAX. */
FIXEDPOINT_FN int32_t fp_from_q(int32_t v, int frac_bits);

/* Returns: the 17.14 value x as a Qn value, x * 2^(n - 14): exact for n >= 14 when it fits;
 * fp_to_q(x, 0) is fp_to_nearest(x), fp_to_q(8192, 31) (0.5) is 1 << 30, and
 * fp_to_q(16384, 31) (1.0, beyond Q31) saturates to INT32_MAX while fp_to_q(-16384, 31) is
 * exactly INT32_MIN. */
FIXEDPOINT_FN int32_t fp_to_q(int32_t x, int frac_bits);

#include "fp_text.h"

#ifdef __cplusplus
}
#endif

#undef FIXEDPOINT_FN
#undef FIXEDPOINT_FN_RT

/* Header-only mode: the definitions follow, with the linkage the declarations above gave. */
#ifdef FIXEDPOINT_HEADER_ONLY
#define FIXEDPOINT_FN static inline FIXEDPOINT_CONSTEXPR
#define FIXEDPOINT_FN_RT static inline
#define FIXEDPOINT_HELPER static inline FIXEDPOINT_CONSTEXPR
#define FIXEDPOINT_HELPER_RT static inline
#ifdef __cplusplus
#define FIXEDPOINT_DATA static constexpr
#else
#define FIXEDPOINT_DATA static const
#endif
#include "fp_impl.h"
#include "fp_text_impl.h"
#undef FIXEDPOINT_FN
#undef FIXEDPOINT_FN_RT
#undef FIXEDPOINT_HELPER
#undef FIXEDPOINT_HELPER_RT
#undef FIXEDPOINT_DATA
#endif

#endif /* FIXEDPOINT_FP_H */
