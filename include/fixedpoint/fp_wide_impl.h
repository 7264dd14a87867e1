/* SPDX-License-Identifier: MIT */
/*
 * fixedpoint/fp_wide_impl.h - the wide integer arithmetic that the elementary functions share:
 * 64x64-bit products, a 128-bit unsigned type, and the rounding tests. Not a header to include
 * directly: it is included with fp_impl.h, under the same linkage macros and rules (valid C99 and
 * C++11, constant expressions in C++14, no include guard).
 *
 * Every operation is exact or truncates toward zero, and gives the same bits on every target:
 * with the compiler's unsigned __int128 where there is one, and from 32x32->64-bit products
 * elsewhere (each of them from four 16x16-bit products on Thumb-1). The only division here is the
 * divisions' own quotient routine, which on 32-bit targets divides 32-bit numbers at most.
 */

/* In front of the slow paths: kept out of line, so that the fast path around them needs no
 * more registers than it uses. */
#if defined(__cplusplus) && (defined(__GNUC__) || defined(__clang__))
#define FIXEDPOINT_COLD __attribute__((noinline, cold))
#elif defined(__GNUC__) || defined(__clang__)
#define FIXEDPOINT_COLD __attribute__((cold)) /* C compilers warn of noinline on inline */
#else
#define FIXEDPOINT_COLD
#endif

/* A 128-bit unsigned integer, hi * 2^64 + lo. */
typedef struct fp_impl_u128 {
  uint64_t hi;
  uint64_t lo;
} fp_impl_u128;

#if defined(__SIZEOF_INT128__) && !defined(FIXEDPOINT_MUL_HALVES)
__extension__ typedef unsigned __int128 fp_impl_uint128;
#define FIXEDPOINT_UINT128 1
#endif

FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_make(uint64_t hi, uint64_t lo) {
  fp_impl_u128 r = {hi, lo};
  return r;
}

/* The exact product a * b, from four 16x16-bit products: 25 Thumb-1 instructions, against
 * about 40 for the runtime's 64x64-bit multiply and its call. */
FIXEDPOINT_HELPER uint64_t fp_impl_mul_32x32_halves(uint32_t a, uint32_t b) {
  const uint32_t a0 = a & 0xFFFFu, a1 = a >> 16, b0 = b & 0xFFFFu, b1 = b >> 16;
  const uint32_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const uint32_t middle = p01 + p10; /* wraps past 2^32: the lost carry is worth 2^48 */
  const uint32_t lo = p00 + (middle << 16);
  const uint32_t hi = p11 + (middle >> 16) + (middle < p01 ? 0x10000u : 0u) + (lo < p00 ? 1u : 0u);
  return (FIXEDPOINT_CAST(uint64_t, hi) << 32) | lo;
}

/* The exact product a * b of two 32-bit numbers. */
FIXEDPOINT_HELPER uint64_t fp_impl_mul_32x32(uint32_t a, uint32_t b) {
#ifdef FIXEDPOINT_MUL_HALVES
  return fp_impl_mul_32x32_halves(a, b);
#else
  return FIXEDPOINT_CAST(uint64_t, a) * b;
#endif
}

/* The exact product a * b. */
FIXEDPOINT_HELPER fp_impl_u128 fp_impl_mul_64x64(uint64_t a, uint64_t b) {
#ifdef FIXEDPOINT_UINT128
  const fp_impl_uint128 p = FIXEDPOINT_CAST(fp_impl_uint128, a) * b;
  return fp_impl_u128_make(FIXEDPOINT_CAST(uint64_t, p >> 64), FIXEDPOINT_CAST(uint64_t, p));
#else
  const uint32_t a0 = FIXEDPOINT_CAST(uint32_t, a), a1 = FIXEDPOINT_CAST(uint32_t, a >> 32);
  const uint32_t b0 = FIXEDPOINT_CAST(uint32_t, b), b1 = FIXEDPOINT_CAST(uint32_t, b >> 32);
  const uint64_t p00 = fp_impl_mul_32x32(a0, b0), p01 = fp_impl_mul_32x32(a0, b1);
  const uint64_t p10 = fp_impl_mul_32x32(a1, b0), p11 = fp_impl_mul_32x32(a1, b1);
  const uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return fp_impl_u128_make(p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32),
                           (middle << 32) | (p00 & 0xFFFFFFFFu));
#endif
}

/* floor(a * b / 2^64): the product of two fractions in Q64 (or of a Qn value and a Q64 fraction,
 * which stays in Qn). */
FIXEDPOINT_HELPER uint64_t fp_impl_mulhi(uint64_t a, uint64_t b) {
#ifdef FIXEDPOINT_UINT128
  return fp_impl_mul_64x64(a, b).hi;
#else
  /* The high half alone: a0 * b0 matters only through its carry into the middle word. */
  const uint32_t a0 = FIXEDPOINT_CAST(uint32_t, a), a1 = FIXEDPOINT_CAST(uint32_t, a >> 32);
  const uint32_t b0 = FIXEDPOINT_CAST(uint32_t, b), b1 = FIXEDPOINT_CAST(uint32_t, b >> 32);
  const uint64_t p01 = fp_impl_mul_32x32(a0, b1), p10 = fp_impl_mul_32x32(a1, b0);
  const uint64_t middle =
      (fp_impl_mul_32x32(a0, b0) >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return fp_impl_mul_32x32(a1, b1) + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
#endif
}

FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_add(fp_impl_u128 a, fp_impl_u128 b) {
  const uint64_t lo = a.lo + b.lo;
  return fp_impl_u128_make(a.hi + b.hi + (lo < a.lo ? 1u : 0u), lo);
}

FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_sub(fp_impl_u128 a, fp_impl_u128 b) {
  return fp_impl_u128_make(a.hi - b.hi - (a.lo < b.lo ? 1u : 0u), a.lo - b.lo);
}

FIXEDPOINT_HELPER bool fp_impl_u128_less(fp_impl_u128 a, fp_impl_u128 b) {
  return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo);
}

/* a / 2^s, truncated, for s from 0 to 127. */
FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_shr(fp_impl_u128 a, int s) {
  return s == 0   ? a
         : s < 64 ? fp_impl_u128_make(a.hi >> s, (a.lo >> s) | (a.hi << (64 - s)))
                  : fp_impl_u128_make(0, a.hi >> (s - 64));
}

/* a * 2^s modulo 2^128, for s from 0 to 127. */
FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_shl(fp_impl_u128 a, int s) {
  return s == 0   ? a
         : s < 64 ? fp_impl_u128_make((a.hi << s) | (a.lo >> (64 - s)), a.lo << s)
                  : fp_impl_u128_make(a.lo << (s - 64), 0);
}

/* floor(a * b / 2^128) less at most 3: the three partial products that reach the upper half, with
 * the low half of the two cross products dropped. For fractions in Q128 (or a Qn value times a
 * Q128 fraction, which stays in Qn) the result is low by less than 3 units of 2^-128. */
FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_mulhi(fp_impl_u128 a, fp_impl_u128 b) {
  const fp_impl_u128 high = fp_impl_mul_64x64(a.hi, b.hi);
  const fp_impl_u128 cross = fp_impl_u128_add(fp_impl_u128_make(0, fp_impl_mulhi(a.hi, b.lo)),
                                              fp_impl_u128_make(0, fp_impl_mulhi(a.lo, b.hi)));
  return fp_impl_u128_add(high, cross);
}

/* a * m for a 32-bit m, divided by 2^s (0 <= s < 64) and truncated; *overflow is set when the
 * quotient does not fit in 128 bits. */
FIXEDPOINT_HELPER fp_impl_u128 fp_impl_u128_mul_u32_shr(fp_impl_u128 a, uint32_t m, int s,
                                                        bool* overflow) {
  const fp_impl_u128 low = fp_impl_mul_64x64(a.lo, m);
  const fp_impl_u128 high = fp_impl_mul_64x64(a.hi, m);
  /* The 192-bit product is top * 2^128 + middle * 2^64 + low.lo. */
  const uint64_t middle = high.lo + low.hi;
  const uint64_t top = high.hi + (middle < high.lo ? 1u : 0u);
  const fp_impl_u128 product = fp_impl_u128_make(middle, low.lo);
  *overflow = s == 0 ? top != 0 : (top >> s) != 0;
  return s == 0 ? product
                : fp_impl_u128_make((middle >> s) | (top << (64 - s)),
                                    (low.lo >> s) | (middle << (64 - s)));
}

/* The number of leading zero bits of v, which is not 0. */
FIXEDPOINT_HELPER int fp_impl_clz32(uint32_t v) {
#if (defined(__GNUC__) || defined(__clang__)) && !defined(__ARM_ARCH_6M__)
  return __builtin_clz(v); /* one instruction; ARMv6-M would call the C runtime instead */
#else
  int n = 0;
  if (v < 0x10000u) n += 16, v <<= 16;
  if (v < 0x1000000u) n += 8, v <<= 8;
  if (v < 0x10000000u) n += 4, v <<= 4;
  if (v < 0x40000000u) n += 2, v <<= 2;
  if (v < 0x80000000u) n += 1;
  return n;
#endif
}

/* An estimate of floor(n / d) for a constant d, where 32-bit targets would call the C runtime's
 * 64-bit division: floor(floor(n / 2^s) * m / 2^32) with m = floor(2^(32 + s) / d), for n with
 * floor(n / 2^s) < 2^32. It is never above the quotient (each step rounds down), and below it by
 * less than 2^s / d + floor(n / 2^s) * (2^(32 + s) / d - m) / 2^32 + 1; the caller adds 1 while
 * the remainder is still at least d. */
FIXEDPOINT_HELPER uint32_t fp_impl_div_estimate(uint64_t n, int s, uint32_t m) {
  return FIXEDPOINT_CAST(uint32_t,
                         (FIXEDPOINT_CAST(uint64_t, FIXEDPOINT_CAST(uint32_t, n >> s)) * m) >> 32);
}

/* ---- The divisions' quotient on 32-bit targets ----------------------------------------------
 * floor(a * 2^14 / d) for a <= 2^31 and 1 <= d <= 2^31, the magnitude of every quotient that
 * fp_div and its forms compute, without the C runtime's general 64-bit division: the quotient's
 * upper bits are a / d, and its low 14 bits those of the remainder r = a mod d scaled by 2^14. */
#if !defined(FIXEDPOINT_DIV64)

/* floor(r * 2^14 / d) for r < d <= 2^31, which is below 2^14. */
FIXEDPOINT_HELPER uint32_t fp_impl_udiv_low14(uint32_t r, uint32_t d) {
#if defined(FIXEDPOINT_DIV32)
  /* Two 32-bit divisions at most. If r * 2^14 fits in 32 bits, it is one. Otherwise
   * d > r >= 2^18, and with d normalised to n = d * 2^z (top bit set, z its leading zeros) and r
   * to m = r * 2^z < n, the estimate q = floor(floor(m / 4) / h), h = floor(n / 2^16) + 1, is at
   * most Q = floor(r * 2^14 / d) = floor(m * 2^14 / n), since h * 2^16 > n. It is below
   * m * 2^14 / n by less than (m / 4) * (2^16 / n - 1 / h) + 3 / (4h) + 1, where
   * 2^16 / n - 1 / h = (h * 2^16 - n) / (n h) <= 2^16 / (n h), so the first term is below
   * 2^14 / h < 1/2 (m < n, h > 2^15): q is Q or Q - 1. The remainder r * 2^14 - q d is then in
   * [0, 2d), below 2^32, so it is exact in 32-bit arithmetic modulo 2^32, and one comparison
   * with d corrects q. */
  if (r < (1u << 18)) return (r << 14) / d;
  {
    const int z = fp_impl_clz32(d);
    const uint32_t q = ((r << z) >> 2) / (((d << z) >> 16) + 1u);
    return q + ((r << 14) - q * d >= d ? 1u : 0u);
  }
#else
  /* Without a divide instruction: one quotient bit per step, by shifting and subtracting. The
   * remainder stays below d <= 2^31, so doubling it cannot carry out of 32 bits. */
  uint32_t q = 0;
  for (int i = 0; i < 14; ++i) {
    r <<= 1;
    q <<= 1;
    if (r >= d) {
      r -= d;
      q |= 1u;
    }
  }
  return q;
#endif
}

FIXEDPOINT_HELPER uint64_t fp_impl_udiv_scaled(uint32_t a, uint32_t d) {
  const uint32_t high = a / d;
  return (FIXEDPOINT_CAST(uint64_t, high) << 14) | fp_impl_udiv_low14(a - high * d, d);
}

#endif

/* ---- Rounding tests ------------------------------------------------------------------------
 * An approximation a of a non-negative real v * 2^s, known to lie within e of it, rounds to the
 * same integer as v (to nearest, halves away from zero) when the fraction of a lies farther than
 * e from one half: then v and a sit on the same side of the half. Each test stores that integer
 * in *r and returns true, or returns false and leaves *r alone when a is too close to a half to
 * tell, and the caller must compute v more precisely. They also serve the last, most precise
 * step, with e = 0: then the nearest integer to a, halves up. */

/* For a 64-bit a and s from 1 to 64. The library's own tests build one form with
 * FIXEDPOINT_TEST_SLOW_PATHS, where no approximation decides, so that every input takes the slow
 * path there. */
FIXEDPOINT_HELPER bool fp_impl_round_test(uint64_t a, int s, uint64_t e, uint64_t* r) {
  const uint64_t half = FIXEDPOINT_CAST(uint64_t, 1) << (s - 1);
  const uint64_t fraction = a & ((half << 1) - 1); /* (half << 1) - 1 is all ones for s = 64 */
  const uint64_t distance = fraction >= half ? fraction - half : half - fraction;
#ifdef FIXEDPOINT_TEST_SLOW_PATHS
  if (e != 0) return false;
#endif
  if (e != 0 && distance <= e) return false;
  *r = ((a >> (s - 1)) >> 1) + (fraction >= half ? 1u : 0u);
  return true;
}

/* For a 128-bit a and s from 65 to 128 (only the result's low 64 bits are stored). */
FIXEDPOINT_HELPER bool fp_impl_round_test128(fp_impl_u128 a, int s, uint64_t e, uint64_t* r) {
  const uint64_t half = FIXEDPOINT_CAST(uint64_t, 1) << (s - 65);
  const uint64_t high = a.hi & ((half << 1) - 1); /* the fraction's upper 64 bits */
  const bool up = high >= half;
  /* The distance from the half exceeds e (a 64-bit number) unless the upper 64 bits of the
   * fraction are the half's, or one below it with a low word of at least 2^64 - e. */
  const bool near = high == half ? a.lo <= e : (high + 1 == half && a.lo >= 0u - e && e != 0);
  if (e != 0 && near) return false;
  *r = ((a.hi >> (s - 65)) >> 1) + (up ? 1u : 0u);
  return true;
}

#undef FIXEDPOINT_UINT128
