// 17.14 fixed-point arithmetic. See fp.h for the contract of each function.
//
// Wrap-around modulo 2^32 is obtained from unsigned arithmetic: the raw bits are added,
// subtracted, multiplied or shifted as uint32_t, where overflow is defined, and converted back
// to int32_t, which C++20 defines as the two's-complement value with the same bits. No
// expression here can overflow a signed type, shift a negative value, or divide by zero.
#include "fp.h"

#include <cstdint>
#include <limits>

namespace {

constexpr int fp_shift = 14;
constexpr int32_t fp_one = int32_t{1} << fp_shift;           // 1.0, raw 16384
constexpr uint32_t fp_half = uint32_t{1} << (fp_shift - 1);  // 0.5, raw 8192

constexpr uint32_t bits(int32_t v) { return static_cast<uint32_t>(v); }
constexpr int32_t wrap(uint32_t u) { return static_cast<int32_t>(u); }
constexpr int32_t low32(int64_t v) { return wrap(static_cast<uint32_t>(v)); }

// n * 16384 modulo 2^32: the integer operand moved into the format before it is used.
constexpr uint32_t scaled(int32_t n) { return bits(n) << fp_shift; }

// What a division by zero gives: the end of the range on the dividend's side, or 0 for 0.
constexpr int32_t zero_divisor_result(int32_t x) {
  if (x > 0) return std::numeric_limits<int32_t>::max();
  if (x < 0) return std::numeric_limits<int32_t>::min();
  return 0;
}

}  // namespace

extern "C" {

int32_t cvt_int_fp(int32_t n) { return wrap(scaled(n)); }

// Integer division truncates toward zero, which is the rounding promised; the compiler turns
// it into the shift-and-bias sequence.
int32_t fp_round(int32_t x) { return x / fp_one; }

int32_t fp_to_nearest(int32_t x) {
  // Work on the magnitude so that halves go away from zero on both sides. In uint32_t,
  // |INT32_MIN| = 2^31 is representable and |x| + 8192 cannot wrap, so the result is exact over
  // the whole range, including the 8192 raw values at either end where x +/- 8192 would leave
  // int32_t. The quotient is at most 131072, so negating it is safe.
  const uint32_t magnitude = x < 0 ? 0u - bits(x) : bits(x);
  const auto rounded = static_cast<int32_t>((magnitude + fp_half) >> fp_shift);
  return x < 0 ? -rounded : rounded;
}

int32_t fp_add(int32_t x, int32_t y) { return wrap(bits(x) + bits(y)); }

int32_t fp_sub(int32_t x, int32_t y) { return wrap(bits(x) - bits(y)); }

int32_t fp_mul(int32_t x, int32_t y) { return wrap(bits(x) * bits(y)); }

int32_t fp_div(int32_t x, int32_t y) {
  if (y == 0) return zero_divisor_result(x);
  // x * 16384 needs up to 46 bits, hence 64-bit arithmetic. Its magnitude is at most 2^45, so
  // neither the product nor the quotient (not even for y == -1) can overflow int64_t; only the
  // cut to 32 bits wraps.
  return low32(int64_t{x} * fp_one / y);
}

int32_t fp_add_int(int32_t x, int32_t n) { return wrap(bits(x) + scaled(n)); }

int32_t fp_sub_int(int32_t x, int32_t n) { return wrap(bits(x) - scaled(n)); }

int32_t fp_mul_int(int32_t x, int32_t n) { return wrap(bits(x) * bits(n)); }

int32_t fp_div_int(int32_t x, int32_t n) {
  if (n == 0) return zero_divisor_result(x);
  // INT32_MIN / -1 is the one quotient that does not fit in int32_t (and traps on x86);
  // dividing by -1 is negation, which wraps INT32_MIN to itself.
  if (n == -1) return wrap(0u - bits(x));
  return x / n;
}

}  // extern "C"
