/*
 * fixedpoint/fp_impl.h - the definitions of the functions declared in fp.h. Not a header to
 * include directly: fp.h includes it in header-only mode, and the library's own source includes
 * it to compile the exported functions, so each body exists exactly once.
 *
 * The includer first includes <stdint.h> and defines four linkage macros:
 *   FIXEDPOINT_FN         in front of every public function that may be constexpr
 *   FIXEDPOINT_FN_RT      in front of every other public function
 *   FIXEDPOINT_HELPER     in front of every internal helper that may be constexpr
 *   FIXEDPOINT_HELPER_RT  in front of every other internal helper (helpers are never exported)
 * and undefines them afterwards. There is no include guard: a C++ file may include this a
 * second time inside a namespace, with other linkage.
 *
 * The bodies are valid C99 and C++11, and constant expressions in C++14. Wrap-around modulo
 * 2^32 comes from unsigned arithmetic on the raw bits, converted back to int32_t, which every
 * supported compiler (and C++20) defines as the two's-complement value with the same bits. No
 * expression here overflows a signed type, shifts a negative value or divides by zero.
 */

FIXEDPOINT_HELPER uint32_t fp_impl_bits(int32_t v) { return FIXEDPOINT_CAST(uint32_t, v); }

FIXEDPOINT_HELPER int32_t fp_impl_wrap(uint32_t u) { return FIXEDPOINT_CAST(int32_t, u); }

/* The low 32 bits of v, as a two's-complement value. */
FIXEDPOINT_HELPER int32_t fp_impl_low32(int64_t v) {
  return fp_impl_wrap(FIXEDPOINT_CAST(uint32_t, v));
}

/* n * 16384 modulo 2^32: the integer operand moved into the format before it is used. */
FIXEDPOINT_HELPER uint32_t fp_impl_scaled(int32_t n) { return fp_impl_bits(n) << 14; }

/* What a division by zero gives: the end of the range on the dividend's side, or 0 for 0. */
FIXEDPOINT_HELPER int32_t fp_impl_zero_divisor(int32_t x) {
  return x > 0 ? INT32_MAX : (x < 0 ? INT32_MIN : 0);
}

FIXEDPOINT_FN int32_t cvt_int_fp(int32_t n) { return fp_impl_wrap(fp_impl_scaled(n)); }

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

FIXEDPOINT_FN int32_t fp_div(int32_t x, int32_t y) {
  /* x * 16384 needs up to 46 bits, hence 64-bit arithmetic. Its magnitude is at most 2^45, so
   * neither the product nor the quotient (not even for y == -1) can overflow int64_t; only the
   * cut to 32 bits wraps. */
  return y == 0 ? fp_impl_zero_divisor(x) : fp_impl_low32(FIXEDPOINT_CAST(int64_t, x) * 16384 / y);
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

FIXEDPOINT_FN int32_t fp_div_int(int32_t x, int32_t n) {
  /* INT32_MIN / -1 is the one quotient that does not fit in int32_t (and traps on x86);
   * dividing by -1 is negation, which wraps INT32_MIN to itself. */
  return n == 0 ? fp_impl_zero_divisor(x) : (n == -1 ? fp_impl_wrap(0u - fp_impl_bits(x)) : x / n);
}
