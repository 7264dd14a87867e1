// SPDX-License-Identifier: MIT
// Code that uses fixed.hpp the way a consumer would. The build compiles it with the strictest
// warnings a consumer is likely to use, as errors, as C++17 and C++20, with and without
// FIXEDPOINT_HEADER_ONLY. With one of the FIXED_REJECT_* macros defined it holds a literal or an
// operand that must not compile; ctest builds those and expects the message of each, and builds
// the file as C++14 expecting the #error that names C++17.
#include <fixedpoint/fixed.hpp>

#include <sstream>
#include <string>

using fixedpoint::fixed;
using namespace fixedpoint::literals;

int32_t strict_fixed_consumer_uses_everything(int32_t a, int32_t b, const char* text);

int32_t strict_fixed_consumer_uses_everything(int32_t a, int32_t b, const char* text) {
  const fixed x = fixed::from_raw(a);
  const fixed y = fixed(b);
  fixed r = -x + y - x * y / y + 2 * x + x * 3 - x / 4 + 5 + x - 6;
  r += x;
  r -= y;
  r *= x;
  r /= y;
  r += 1;
  r -= short{2};
  r *= 3;
  r /= 4;
  r = r + add_sat(x, y) + sub_sat(x, 1) + mul_sat(x, y) + div_sat(x, 2) + sqrt(x);
  r = r + fixedpoint::from_int_sat(b) + mul_nearest(x, y) + add_sat(x, 1) + sub_sat(x, y);
  r = r + mul_sat(x, 2) + div_sat(x, y);
  r = r + add_checked(x, y).value_or(1.5_fx) + sub_checked(x, 2).value_or(fixed());
  r = r + mul_checked(x, y).value_or(x) + div_checked(x, 3).value_or(y);
  r = r + fixedpoint::from_int_checked(a).value_or(x) + sqrt_checked(y).value_or(x);
  r = r + fixed::from_double(static_cast<double>(x) / 3);
  r = r + exp(x) + exp2(y) + log(x) + log2(y) + log10(x) + pow(x, y);
  r = r + exp_checked(x).value_or(y) + exp2_checked(x).value_or(y) + log_checked(x).value_or(y);
  r = r + log2_checked(x).value_or(y) + log10_checked(x).value_or(y);
  r = r + pow_checked(x, y).value_or(x);
  r = r + sin(x) + cos(y) + tan(x) + sinpi(y) + cospi(x) + asin(x) + acos(y) + atan(x);
  r = r + atan2(x, y) + hypot(x, y) + tan_checked(x).value_or(y) + asin_checked(x).value_or(y);
  r = r + acos_checked(y).value_or(x) + hypot_checked(x, y).value_or(x) + fixedpoint::numbers::pi;
  r = r + abs(x) + abs_sat(y) + abs_checked(x).value_or(y) + min(x, y) + max(x, y);
  r = r + clamp(r, x, y) + lerp(x, y, r) + fmod(x, y) + fixed(round_even(x));
  char chars[FP_FORMAT_MAX];
  const std::to_chars_result written = to_chars(chars, chars + sizeof chars, r, 3);
  std::istringstream in(text);
  std::ostringstream out;
  in >> r;
  out << r << fixedpoint::to_string(x);
  const bool ordered = x < y || x <= y || x > y || x >= y || x == y || x != y;
  return r.raw() + r.to_int() + r.round() + r.floor() + r.ceil() + (ordered ? 1 : 0) +
         static_cast<int32_t>(out.str().size()) + static_cast<int32_t>(std::hash<fixed>{}(r)&1u) +
         (written.ptr == chars ? 0 : 1);
}

static_assert((1.5_fx * 2.5_fx).raw() == 61440, "constexpr operators and literal");
static_assert(std::numeric_limits<fixed>::max().raw() == INT32_MAX, "numeric_limits");

#if defined(FIXED_REJECT_OUT_OF_RANGE)
fixed strict_fixed_consumer_rejected() { return 131071.99996948242188_fx; }
#elif defined(FIXED_REJECT_NOT_DECIMAL)
fixed strict_fixed_consumer_rejected() { return 0x10_fx; }
#elif defined(FIXED_REJECT_OCTAL)
fixed strict_fixed_consumer_rejected() { return 010_fx; }
#elif defined(FIXED_REJECT_DOUBLE_OPERAND)
fixed strict_fixed_consumer_rejected() { return fixed(1) * 1.5; }
#elif defined(FIXED_REJECT_WIDE_INTEGER)
fixed strict_fixed_consumer_rejected() { return fixed(1) * int64_t{2}; }
#elif defined(FIXED_REJECT_BOOL)
fixed strict_fixed_consumer_rejected() { return fixed(true); }
#endif
