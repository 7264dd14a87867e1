// SPDX-License-Identifier: MIT
// fixedpoint/fixed.hpp - fixedpoint::fixed, a 17.14 value as a C++ type (C++17 and later).
//
// A fixed holds one int32_t r that stands for r / 16384 (see fp.h for the format). Its operators
// and free functions are the functions of fp.h, each exactly one of them, with the same results
// bit for bit: wrap-around modulo 2^32, truncation toward zero, the zero-divisor results. They
// are constexpr and inline whether or not FIXEDPOINT_HEADER_ONLY is defined, and need nothing
// linked: this header compiles its own copy of the bodies in namespace fixedpoint::detail.
//
// In C++, `*` between two fixed values rescales (fp_mul_fp): 1.0 * 1.0 is 1.0. The C fp_mul
// does not; it has no operator here.
//
// Nothing converts implicitly to or from arithmetic types: fixed(3), fixed::from_raw(49152),
// fixed::from_double(3.0) and 3_fx make values; raw(), to_int() and static_cast<double> read them.
// An integer operand may be of any integer type whose every value is an int32_t; any other
// arithmetic operand (double, int64_t, unsigned, bool, char) stops the build with one
// static_assert that says what to write instead.
//
// The stream operators are templates on the stream's traits, declared with <iosfwd> only: code
// that streams a fixed includes <istream> or <ostream> (or <iostream>, <sstream>) as it would to
// stream an int. std::formatter<fixed> is defined where the standard library has <format>
// (__cpp_lib_format); <fixedpoint/fmt.hpp> gives {fmt}'s formatter.
#ifndef FIXEDPOINT_FIXED_HPP
#define FIXEDPOINT_FIXED_HPP

#if (defined(_MSVC_LANG) ? _MSVC_LANG : __cplusplus) < 201703L
#error "fixedpoint/fixed.hpp needs C++17 or later (-std=c++17); fp.h serves C and C++11"
#else

#include <stddef.h>
#include <stdint.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>

#if defined(__has_include)
#if __has_include(<version>)
#include <version>
#endif
#endif
#if defined(__cpp_lib_format)
#include <format>
#define FIXEDPOINT_STD_FORMAT 1
#endif

#include "fp.h"

#if defined(__cpp_impl_three_way_comparison) && __cpp_impl_three_way_comparison >= 201907L && \
    defined(__has_include)
#if __has_include(<compare>)
#include <compare>
#define FIXEDPOINT_THREE_WAY 1
#endif
#endif

#if defined(__cpp_consteval) && __cpp_consteval >= 201811L
#define FIXEDPOINT_CONSTEVAL consteval
#else
#define FIXEDPOINT_CONSTEVAL constexpr
#endif

// The C functions' bodies again, with C++ linkage and constexpr where the C ones may be, so that
// they inline into the operators in either mode of fp.h and never clash with its declarations.
// They are inline functions with external linkage, as the member functions that call them must
// be: every file of a program should see the same definitions, so FIXEDPOINT_NO_SSE2 (which
// changes how fp_sqrt computes, not what) is best set for the whole program or not at all.
namespace fixedpoint::detail {
#define FIXEDPOINT_FN inline constexpr
#define FIXEDPOINT_FN_RT inline
#define FIXEDPOINT_HELPER inline constexpr
#define FIXEDPOINT_HELPER_RT inline
#define FIXEDPOINT_DATA inline constexpr
#include "fp_impl.h"
#include "fp_text_impl.h"
#undef FIXEDPOINT_FN
#undef FIXEDPOINT_FN_RT
#undef FIXEDPOINT_HELPER
#undef FIXEDPOINT_HELPER_RT
#undef FIXEDPOINT_DATA
}  // namespace fixedpoint::detail

namespace fixedpoint {

namespace detail {

template <typename T>
inline constexpr bool is_character_v =
    std::is_same_v<T, char> || std::is_same_v<T, wchar_t> || std::is_same_v<T, char16_t> ||
#if defined(__cpp_char8_t)
    std::is_same_v<T, char8_t> ||
#endif
    std::is_same_v<T, char32_t>;

// The integer types an operator takes as an ordinary integer: those whose every value is an
// int32_t. bool and the character types are not numbers; int64_t and unsigned int need a cast
// that says what happens to the values that do not fit.
template <typename T>
inline constexpr bool is_int_operand_v =
    std::is_integral_v<T> && !std::is_same_v<T, bool> && !is_character_v<T> &&
    (sizeof(T) < sizeof(int32_t) || (sizeof(T) == sizeof(int32_t) && std::is_signed_v<T>));

// Every arithmetic type is admitted to the templates that take an integer operand, so that a
// misuse meets the one message of int_operand below rather than a failed overload resolution.
template <typename T>
using if_int_operand = std::enable_if_t<std::is_arithmetic_v<T>, int>;

// The integer operand n as the int32_t that the C functions take; stops the build with one
// message for an operand of any other arithmetic type.
template <typename T>
constexpr int32_t int_operand(T n) noexcept {
  static_assert(!std::is_floating_point_v<T>,
                "fixedpoint::fixed takes no floating-point operand: convert it with "
                "fixed::from_double(d), which rounds to nearest, or write a _fx literal");
  static_assert(!std::is_same_v<T, bool> && !is_character_v<T>,
                "fixedpoint::fixed takes no bool or character operand: cast it to int");
  static_assert(
      !std::is_integral_v<T> || std::is_same_v<T, bool> || is_character_v<T> || is_int_operand_v<T>,
      "fixedpoint::fixed takes integer operands whose every value is an int32_t (int, "
      "short, int32_t): cast this one to int32_t, deciding what happens to the values "
      "that do not fit");
  return static_cast<int32_t>(n);
}

}  // namespace detail

class fixed {
 public:
  // Zero.
  constexpr fixed() noexcept = default;

  // Returns: the integer n as a fixed value (cvt_int_fp). Overflow: n outside -131072..131071
  // wraps modulo 2^32; from_int_sat and from_int_checked do not. A double does not compile: it
  // would be truncated to an integer on the way (use from_double).
  template <typename Int, detail::if_int_operand<Int> = 0>
  explicit constexpr fixed(Int n) noexcept : raw_(detail::cvt_int_fp(detail::int_operand(n))) {}

  // Returns: the value whose raw representation is r, r / 16384.
  static constexpr fixed from_raw(int32_t r) noexcept {
    fixed f;
    f.raw_ = r;
    return f;
  }

  // Returns: the raw representation, 16384 times the value.
  constexpr int32_t raw() const noexcept { return raw_; }

  // Returns: the integer part, rounded toward zero (fp_round): 1.75 gives 1, -1.75 gives -1.
  constexpr int32_t to_int() const noexcept { return detail::fp_round(raw_); }

  // Returns: the nearest integer, halves away from zero (fp_to_nearest): -0.5 gives -1.
  constexpr int32_t round() const noexcept { return detail::fp_to_nearest(raw_); }

  // Returns: the largest integer not above the value (fp_floor): -0.25 gives -1.
  constexpr int32_t floor() const noexcept { return detail::fp_floor(raw_); }

  // Returns: the smallest integer not below the value (fp_ceil): 0.25 gives 1.
  constexpr int32_t ceil() const noexcept { return detail::fp_ceil(raw_); }

  // Returns: the value nearest to d, halves away from zero (fp_from_double); beyond the range
  // the end of the range on d's side, and 0 for NaN.
  static fixed from_double(double d) noexcept { return from_raw(detail::fp_from_double(d)); }

  // Returns: the value as a double (fp_to_double), exactly.
  explicit operator double() const noexcept { return detail::fp_to_double(raw_); }

  // Arithmetic. Each operator is one function of fp.h, named after it; all wrap modulo 2^32
  // (fixed::from_raw(INT32_MAX) + fixed::from_raw(1) is the lowest value), and the divisions
  // give the end of the range on the dividend's side (0 for 0) for a zero divisor.

  // fp_sub(0, x): the negation of the lowest value is itself.
  friend constexpr fixed operator-(fixed x) noexcept { return from_raw(detail::fp_sub(0, x.raw_)); }
  friend constexpr fixed operator+(fixed x) noexcept { return x; }

  friend constexpr fixed operator+(fixed x, fixed y) noexcept {
    return from_raw(detail::fp_add(x.raw_, y.raw_));
  }
  friend constexpr fixed operator-(fixed x, fixed y) noexcept {
    return from_raw(detail::fp_sub(x.raw_, y.raw_));
  }
  // fp_mul_fp: the rescaled product (x * y) / 16384 computed in 64 bits, truncated toward zero.
  friend constexpr fixed operator*(fixed x, fixed y) noexcept {
    return from_raw(detail::fp_mul_fp(x.raw_, y.raw_));
  }
  // fp_div: (x * 16384) / y computed in 64 bits, truncated toward zero.
  friend constexpr fixed operator/(fixed x, fixed y) noexcept {
    return from_raw(detail::fp_div(x.raw_, y.raw_));
  }

  // With an ordinary integer n: fp_add_int, fp_sub_int (n * 16384 wraps first), fp_mul_int and
  // fp_div_int (truncated toward zero).
  template <typename Int, detail::if_int_operand<Int> = 0>
  friend constexpr fixed operator+(fixed x, Int n) noexcept {
    return from_raw(detail::fp_add_int(x.raw_, detail::int_operand(n)));
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  friend constexpr fixed operator+(Int n, fixed x) noexcept {
    return from_raw(detail::fp_add_int(x.raw_, detail::int_operand(n)));
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  friend constexpr fixed operator-(fixed x, Int n) noexcept {
    return from_raw(detail::fp_sub_int(x.raw_, detail::int_operand(n)));
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  friend constexpr fixed operator*(fixed x, Int n) noexcept {
    return from_raw(detail::fp_mul_int(x.raw_, detail::int_operand(n)));
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  friend constexpr fixed operator*(Int n, fixed x) noexcept {
    return from_raw(detail::fp_mul_int(x.raw_, detail::int_operand(n)));
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  friend constexpr fixed operator/(fixed x, Int n) noexcept {
    return from_raw(detail::fp_div_int(x.raw_, detail::int_operand(n)));
  }

  constexpr fixed& operator+=(fixed y) noexcept { return *this = *this + y; }
  constexpr fixed& operator-=(fixed y) noexcept { return *this = *this - y; }
  constexpr fixed& operator*=(fixed y) noexcept { return *this = *this * y; }
  constexpr fixed& operator/=(fixed y) noexcept { return *this = *this / y; }
  template <typename Int, detail::if_int_operand<Int> = 0>
  constexpr fixed& operator+=(Int n) noexcept {
    return *this = *this + n;
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  constexpr fixed& operator-=(Int n) noexcept {
    return *this = *this - n;
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  constexpr fixed& operator*=(Int n) noexcept {
    return *this = *this * n;
  }
  template <typename Int, detail::if_int_operand<Int> = 0>
  constexpr fixed& operator/=(Int n) noexcept {
    return *this = *this / n;
  }

  // Comparisons order the values, which is the order of the raw representations.
  friend constexpr bool operator==(fixed x, fixed y) noexcept { return x.raw_ == y.raw_; }
  friend constexpr bool operator!=(fixed x, fixed y) noexcept { return x.raw_ != y.raw_; }
  friend constexpr bool operator<(fixed x, fixed y) noexcept { return x.raw_ < y.raw_; }
  friend constexpr bool operator<=(fixed x, fixed y) noexcept { return x.raw_ <= y.raw_; }
  friend constexpr bool operator>(fixed x, fixed y) noexcept { return x.raw_ > y.raw_; }
  friend constexpr bool operator>=(fixed x, fixed y) noexcept { return x.raw_ >= y.raw_; }
#ifdef FIXEDPOINT_THREE_WAY
  friend constexpr std::strong_ordering operator<=>(fixed x, fixed y) noexcept {
    return x.raw_ <=> y.raw_;
  }
#endif

 private:
  int32_t raw_ = 0;
};

// ---- Saturating forms: the exact result clamped to the range ----------------------------------
// As the fp_*_sat functions: a zero divisor gives the end of the range on the dividend's side
// (0 for 0), and the _int forms use n * 16384 without wrapping it first.

// cvt_int_fp_sat
constexpr fixed from_int_sat(int32_t n) noexcept {
  return fixed::from_raw(detail::cvt_int_fp_sat(n));
}
// fp_add_sat, fp_sub_sat
constexpr fixed add_sat(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_add_sat(x.raw(), y.raw()));
}
constexpr fixed sub_sat(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_sub_sat(x.raw(), y.raw()));
}
// fp_mul_fp_sat: the rescaled product, truncated toward zero, then clamped.
constexpr fixed mul_sat(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_mul_fp_sat(x.raw(), y.raw()));
}
// fp_div_sat
constexpr fixed div_sat(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_div_sat(x.raw(), y.raw()));
}
// fp_add_int_sat, fp_sub_int_sat, fp_mul_int_sat, fp_div_int_sat (the lowest value divided by
// -1 gives the highest).
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr fixed add_sat(fixed x, Int n) noexcept {
  return fixed::from_raw(detail::fp_add_int_sat(x.raw(), detail::int_operand(n)));
}
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr fixed sub_sat(fixed x, Int n) noexcept {
  return fixed::from_raw(detail::fp_sub_int_sat(x.raw(), detail::int_operand(n)));
}
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr fixed mul_sat(fixed x, Int n) noexcept {
  return fixed::from_raw(detail::fp_mul_int_sat(x.raw(), detail::int_operand(n)));
}
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr fixed div_sat(fixed x, Int n) noexcept {
  return fixed::from_raw(detail::fp_div_int_sat(x.raw(), detail::int_operand(n)));
}

// ---- Checked forms: the exact result, or nullopt when it does not fit or the divisor is 0 -----

namespace detail {
// Calls a checked C function and gives its result, or nothing when it reports overflow.
template <typename... Args>
constexpr std::optional<fixed> checked(bool (*ckd)(int32_t*, Args...), Args... args) noexcept {
  int32_t result = 0;
  const bool overflow = ckd(&result, args...);
  return overflow ? std::nullopt : std::optional<fixed>(fixed::from_raw(result));
}
}  // namespace detail

// cvt_int_fp_ckd
constexpr std::optional<fixed> from_int_checked(int32_t n) noexcept {
  return detail::checked(detail::cvt_int_fp_ckd, n);
}
// fp_add_ckd, fp_sub_ckd, fp_mul_fp_ckd, fp_div_ckd
constexpr std::optional<fixed> add_checked(fixed x, fixed y) noexcept {
  return detail::checked(detail::fp_add_ckd, x.raw(), y.raw());
}
constexpr std::optional<fixed> sub_checked(fixed x, fixed y) noexcept {
  return detail::checked(detail::fp_sub_ckd, x.raw(), y.raw());
}
constexpr std::optional<fixed> mul_checked(fixed x, fixed y) noexcept {
  return detail::checked(detail::fp_mul_fp_ckd, x.raw(), y.raw());
}
constexpr std::optional<fixed> div_checked(fixed x, fixed y) noexcept {
  return detail::checked(detail::fp_div_ckd, x.raw(), y.raw());
}
// fp_add_int_ckd, fp_sub_int_ckd, fp_mul_int_ckd, fp_div_int_ckd
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr std::optional<fixed> add_checked(fixed x, Int n) noexcept {
  return detail::checked(detail::fp_add_int_ckd, x.raw(), detail::int_operand(n));
}
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr std::optional<fixed> sub_checked(fixed x, Int n) noexcept {
  return detail::checked(detail::fp_sub_int_ckd, x.raw(), detail::int_operand(n));
}
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr std::optional<fixed> mul_checked(fixed x, Int n) noexcept {
  return detail::checked(detail::fp_mul_int_ckd, x.raw(), detail::int_operand(n));
}
template <typename Int, detail::if_int_operand<Int> = 0>
constexpr std::optional<fixed> div_checked(fixed x, Int n) noexcept {
  return detail::checked(detail::fp_div_int_ckd, x.raw(), detail::int_operand(n));
}

// ---- Other functions ----------------------------------------------------------------------------

// fp_sqrt: the square root, correctly rounded to nearest; 0 for a negative x.
constexpr fixed sqrt(fixed x) noexcept { return fixed::from_raw(detail::fp_sqrt(x.raw())); }

// fp_sqrt_ckd: the square root, or nullopt for a negative x.
constexpr std::optional<fixed> sqrt_checked(fixed x) noexcept {
  return detail::checked(detail::fp_sqrt_ckd, x.raw());
}

// fp_mul_fp_nearest: the rescaled product rounded to nearest, halves away from zero.
constexpr fixed mul_nearest(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_mul_fp_nearest(x.raw(), y.raw()));
}

// ---- Absolute value, minimum, maximum, clamping, interpolation, remainder, rounding -----------
// Like every function here, these are found by argument-dependent lookup: abs(x), min(x, y) and
// fmod(x, y) work unqualified for a fixed x, and generic code that writes `using std::abs;
// abs(v);` gets this abs for a fixed and std::abs for an int or a double. std::abs(x),
// std::sqrt(x) and the like cannot be made to work: a program may not add overloads to
// namespace std (it may only specialise the standard's class templates, such as std::hash).

// fp_abs: |x|; abs(lowest()) wraps to lowest(). abs_sat gives max() there, and abs_checked
// nullopt.
constexpr fixed abs(fixed x) noexcept { return fixed::from_raw(detail::fp_abs(x.raw())); }
constexpr fixed abs_sat(fixed x) noexcept { return fixed::from_raw(detail::fp_abs_sat(x.raw())); }
constexpr std::optional<fixed> abs_checked(fixed x) noexcept {
  return detail::checked(detail::fp_abs_ckd, x.raw());
}

// fp_min, fp_max
constexpr fixed min(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_min(x.raw(), y.raw()));
}
constexpr fixed max(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_max(x.raw(), y.raw()));
}

// fp_clamp: x clamped to [lo, hi]; bounds in the wrong order are taken in order (std::clamp
// requires lo <= hi).
constexpr fixed clamp(fixed x, fixed lo, fixed hi) noexcept {
  return fixed::from_raw(detail::fp_clamp(x.raw(), lo.raw(), hi.raw()));
}

// fp_lerp: a + (b - a) * t, the product rounded to nearest (halves away from zero), saturated;
// exactly a at t = 0 and b at t = 1.
constexpr fixed lerp(fixed a, fixed b, fixed t) noexcept {
  return fixed::from_raw(detail::fp_lerp(a.raw(), b.raw(), t.raw()));
}

// fp_fmod: the remainder with the quotient truncated toward zero, exact, with the sign of x; 0 for
// a zero y.
constexpr fixed fmod(fixed x, fixed y) noexcept {
  return fixed::from_raw(detail::fp_fmod(x.raw(), y.raw()));
}

// fp_round_even: the nearest integer, ties to even (2.5 gives 2), as an integer like x.round().
constexpr int32_t round_even(fixed x) noexcept { return detail::fp_round_even(x.raw()); }

// ---- Exponentials, logarithms, powers and trigonometry: correctly rounded (see fp.h) --------
// Each name(x) is fp_name, saturating at the ends of the range; name_checked(x) is fp_name_ckd,
// the value or nullopt when x lies outside the domain or the result saturated. Angles are in
// radians (sinpi and cospi: half turns).
#define FIXEDPOINT_UNARY(name) \
  constexpr fixed name(fixed x) noexcept { return fixed::from_raw(detail::fp_##name(x.raw())); }
#define FIXEDPOINT_UNARY_CHECKED(name)                              \
  FIXEDPOINT_UNARY(name)                                            \
  constexpr std::optional<fixed> name##_checked(fixed x) noexcept { \
    return detail::checked(detail::fp_##name##_ckd, x.raw());       \
  }
#define FIXEDPOINT_BINARY_CHECKED(name)                                      \
  constexpr fixed name(fixed x, fixed y) noexcept {                          \
    return fixed::from_raw(detail::fp_##name(x.raw(), y.raw()));             \
  }                                                                          \
  constexpr std::optional<fixed> name##_checked(fixed x, fixed y) noexcept { \
    return detail::checked(detail::fp_##name##_ckd, x.raw(), y.raw());       \
  }
FIXEDPOINT_UNARY_CHECKED(exp)
FIXEDPOINT_UNARY_CHECKED(exp2)
FIXEDPOINT_UNARY_CHECKED(log)
FIXEDPOINT_UNARY_CHECKED(log2)
FIXEDPOINT_UNARY_CHECKED(log10)
// pow(x, fixed(0)) is 1 for every x; pow_checked is nullopt for 0 to a negative power, a negative
// x to a power that is not an integer, or a result beyond the range.
FIXEDPOINT_BINARY_CHECKED(pow)
FIXEDPOINT_UNARY(sin)
FIXEDPOINT_UNARY(cos)
FIXEDPOINT_UNARY_CHECKED(tan)
FIXEDPOINT_UNARY(sinpi)
FIXEDPOINT_UNARY(cospi)
// asin and acos clamp x to [-1, 1]; their _checked forms are nullopt beyond.
FIXEDPOINT_UNARY_CHECKED(asin)
FIXEDPOINT_UNARY_CHECKED(acos)
FIXEDPOINT_UNARY(atan)
// atan2(y, x): the angle of the point (x, y), in [-pi, pi].
constexpr fixed atan2(fixed y, fixed x) noexcept {
  return fixed::from_raw(detail::fp_atan2(y.raw(), x.raw()));
}
FIXEDPOINT_BINARY_CHECKED(hypot)
#undef FIXEDPOINT_UNARY
#undef FIXEDPOINT_UNARY_CHECKED
#undef FIXEDPOINT_BINARY_CHECKED

// The nearest 17.14 values to mathematical constants, in the spirit of <numbers>.
namespace numbers {
inline constexpr fixed pi = fixed::from_raw(51472);   // 3.14160 (pi * 16384 is 51471.85...)
inline constexpr fixed e = fixed::from_raw(44536);    // 2.71826 (e * 16384 is 44536.13...)
inline constexpr fixed ln2 = fixed::from_raw(11357);  // 0.69318 (ln 2 * 16384 is 11356.53...)
}  // namespace numbers

// ---- Text ---------------------------------------------------------------------------------------

// Returns: the shortest decimal text that reads back as x (fp_format with digits -1):
// "1", "-0.5", "0.01666", "131071.99994".
inline std::string to_string(fixed x) {
  char text[FP_FORMAT_MAX];
  detail::fp_format(text, sizeof text, x.raw(), -1);
  return text;
}

// Writes the text of x into [first, last), without a terminating NUL, as fp_format with digits
// writes it: -1 (the default) for the shortest text that reads back, 0..14 for exactly that many
// fraction digits. Returns {end of the text, errc()}; {last, errc::value_too_large} when the text
// does not fit (the range then holds nothing of use); {first, errc::invalid_argument} for digits
// outside -1..14. Never allocates or throws.
inline std::to_chars_result to_chars(char* first, char* last, fixed x, int digits = -1) noexcept {
  char text[FP_FORMAT_MAX];
  const int length = detail::fp_format(text, sizeof text, x.raw(), digits);
  if (length < 0) return {first, std::errc::invalid_argument};
  if (last - first < length) return {last, std::errc::value_too_large};
  for (int i = 0; i < length; ++i) first[i] = text[i];
  return {first + length, std::errc()};
}

// Reads one decimal number from [first, last) as std::from_chars reads a double: no white space
// is skipped and a leading '+' is not accepted; otherwise with fp_from_chars's grammar and
// rounding (an optional '-', digits with an optional '.', an optional exponent; hexadecimal is
// refused), to the nearest value, halves away from zero. Returns {just past the number, errc()}
// and stores the value in x; {just past the number, errc::result_out_of_range} for a number
// beyond the range, and {first, errc::invalid_argument} for text that does not begin with a
// number, leaving x unchanged in both cases. Never reads outside the range, allocates or throws.
inline std::from_chars_result from_chars(const char* first, const char* last, fixed& x) noexcept {
  if (first != last && *first == '+') return {first, std::errc::invalid_argument};
  int32_t value = 0;
  const char* end = first;
  const int status = detail::fp_from_chars(first, last, &value, &end);
  if (status == FP_EINVAL) return {first, std::errc::invalid_argument};
  if (status == FP_ERANGE) return {end, std::errc::result_out_of_range};
  x = fixed::from_raw(value);
  return {end, std::errc()};
}

// Writes x as to_string does; with std::ios::fixed set in the stream's floatfield, with exactly
// precision() fraction digits instead (clamped to 0..14, rounded to nearest, halves away from
// zero). The stream's width, fill and left/right adjustment apply to the whole text (internal
// adjustment pads on the left); showpos, uppercase and the locale do not.
template <typename Traits>
std::basic_ostream<char, Traits>& operator<<(std::basic_ostream<char, Traits>& out, fixed x) {
  using ios = std::basic_ios<char, Traits>;
  int digits = -1;
  if ((out.flags() & ios::floatfield) == ios::fixed) {
    const auto precision = out.precision();
    digits = precision < 0 ? 0 : precision > 14 ? 14 : static_cast<int>(precision);
  }
  char text[FP_FORMAT_MAX];
  detail::fp_format(text, sizeof text, x.raw(), digits);
  return out << static_cast<const char*>(text);
}

// Reads one whitespace-delimited token (skipping white space as >> does for strings) and
// parses it with fp_from_chars (fp_strtofp's grammar, '+' included). Sets failbit and leaves x
// unchanged when the token is not one decimal number in full ("1.5x", "0x10", "abc") or lies
// beyond the range; errno is left alone.
template <typename Traits>
std::basic_istream<char, Traits>& operator>>(std::basic_istream<char, Traits>& in, fixed& x) {
  std::basic_string<char, Traits> token;
  if (!(in >> token)) return in;
  const char* const last = token.data() + token.size();
  int32_t r = 0;
  const char* end = nullptr;
  if (detail::fp_from_chars(token.data(), last, &r, &end) == 0 && end == last) {
    x = fixed::from_raw(r);
  } else {
    in.setstate(std::basic_ios<char, Traits>::failbit);
  }
  return in;
}

// ---- Format options, for std::format and {fmt} --------------------------------------------------

namespace detail {

// Parsed format options: [[fill]align][width][.precision]f, where fill is one character
// other than '{' and '}', align is '<', '>' (the default) or '^', width at most 999, and the
// precision 0..14 fraction digits (f alone means 6, as for a double). Without f the text is the
// shortest that reads back. error is nullptr, or what is wrong with the options.
struct format_spec {
  char fill = ' ';
  char align = '>';
  int width = 0;
  int digits = -1;
  const char* error = nullptr;
};

constexpr bool is_align(char c) noexcept { return c == '<' || c == '>' || c == '^'; }

// Parses format options from first up to the '}' that ends them (or last); returns where it
// stopped, at that '}' when the options are valid. It is an iterator over char of the
// format string, as format contexts give.
template <typename It>
constexpr It parse_format_spec(It first, It last, format_spec& options) noexcept {
  It p = first;
  const auto fail = [&options, &p](const char* message) {
    options.error = message;
    return p;
  };
  if (p != last && p + 1 != last && is_align(p[1]) && *p != '{' && *p != '}') {
    options.fill = *p;
    options.align = p[1];
    p += 2;
  } else if (p != last && is_align(*p)) {
    options.align = *p++;
  }
  if (p != last && *p == '0')
    return fail("fixed: no 0 flag; use a fill and an alignment, as in 0>8");
  for (; p != last && *p >= '0' && *p <= '9'; ++p) {
    options.width = options.width * 10 + (*p - '0');
    if (options.width > 999) return fail("fixed: a width of at most 999");
  }
  int precision = -1;
  if (p != last && *p == '.') {
    precision = 0;
    if (++p == last || *p < '0' || *p > '9') return fail("fixed: digits after the '.'");
    for (; p != last && *p >= '0' && *p <= '9'; ++p) {
      precision = precision * 10 + (*p - '0');
      if (precision > 14) return fail("fixed: a precision of at most 14 (the exact value)");
    }
  }
  if (p != last && *p == 'f') {
    options.digits = precision < 0 ? 6 : precision;
    ++p;
  } else if (precision >= 0) {
    return fail("fixed: a precision needs the f type, as in .3f");
  }
  if (p != last && *p != '}') {
    return fail("fixed: the format is [[fill]align][width][.precision]f, with align < > or ^");
  }
  return p;
}

// Writes the text of x, padded as the options say, at out; returns where it ended.
template <typename Out>
Out write_formatted(Out out, const format_spec& options, fixed x) {
  char text[FP_FORMAT_MAX];
  const int length = fp_format(text, sizeof text, x.raw(), options.digits);
  const int padding = options.width > length ? options.width - length : 0;
  const int before = options.align == '<' ? 0 : (options.align == '^' ? padding / 2 : padding);
  for (int i = 0; i < before; ++i) *out++ = options.fill;
  for (int i = 0; i < length; ++i) *out++ = text[i];
  for (int i = before; i < padding; ++i) *out++ = options.fill;
  return out;
}

}  // namespace detail

// ---- The literal --------------------------------------------------------------------------------

namespace detail {

struct literal_value {
  int32_t raw;
  enum { kOk, kNotDecimal, kOutOfRange } status;
};

constexpr int digit_value(char c) noexcept { return c >= '0' && c <= '9' ? c - '0' : -1; }

// The value of the characters of a numeric literal (digit separators included, suffix not),
// rounded to nearest with halves away from zero, as fp_strtofp rounds the same text. Every point
// where that rounding changes, j / 32768, is j * 5^15 / 10^15: a decimal with at most 15
// fraction digits, so the digits after the 15th cannot move a value across one. Hexadecimal,
// binary and octal literals are not decimal text and are refused.
template <std::size_t N>
constexpr literal_value parse_literal(const char (&text)[N]) noexcept {
  int digits[N] = {};  // the literal's digits without the point: integer part, then fraction
  std::size_t count = 0;
  std::size_t integer_count = 0;
  bool point = false;
  std::size_t i = 0;
  if (N > 2 && text[0] == '0' &&
      (text[1] == 'x' || text[1] == 'X' || text[1] == 'b' || text[1] == 'B')) {
    return {0, literal_value::kNotDecimal};
  }
  for (; i + 1 < N; ++i) {
    if (text[i] == '\'') continue;
    if (text[i] == '.') {
      point = true;
    } else if (digit_value(text[i]) >= 0) {
      digits[count++] = digit_value(text[i]);
      if (!point) ++integer_count;
    } else {
      break;
    }
  }
  int64_t exponent = 0;
  const bool has_exponent = i + 1 < N && (text[i] == 'e' || text[i] == 'E');
  if (has_exponent) {
    bool negative = false;
    if (++i + 1 < N && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    for (; i + 1 < N && (text[i] == '\'' || digit_value(text[i]) >= 0); ++i) {
      // Beyond 10^9 no literal has digits enough for the exponent to matter: the value is out
      // of range or rounds to 0 all the same.
      if (text[i] != '\'' && exponent < 1000000000) exponent = exponent * 10 + digit_value(text[i]);
    }
    if (negative) exponent = -exponent;
  }
  if (i + 1 != N || count == 0) return {0, literal_value::kNotDecimal};
  if (!point && !has_exponent && count > 1 && digits[0] == 0) {
    return {0, literal_value::kNotDecimal};  // octal
  }

  // The value is 0.D * 10^(integer_count + exponent), D being all the digits.
  std::size_t first = 0;
  while (first < count && digits[first] == 0) ++first;
  if (first == count) return {0, literal_value::kOk};
  const int64_t scale = static_cast<int64_t>(integer_count) + exponent;
  const int64_t magnitude_digits = scale - static_cast<int64_t>(first);
  if (magnitude_digits > 6) return {0, literal_value::kOutOfRange};  // 10^6 or more
  if (magnitude_digits < -4) return {0, literal_value::kOk};         // below half a raw unit
  const auto digit_at = [&](int64_t k) -> uint64_t {
    return k >= 0 && k < static_cast<int64_t>(count)
               ? static_cast<uint64_t>(digits[static_cast<std::size_t>(k)])
               : 0u;
  };
  uint64_t whole = 0;
  for (int64_t k = static_cast<int64_t>(first); k < scale; ++k) whole = whole * 10u + digit_at(k);
  uint64_t fifteen = 0;  // the first 15 fraction digits
  for (int64_t k = scale; k < scale + 15; ++k) fifteen = fifteen * 10u + digit_at(k);
  // floor(f * 16384 + 1/2) = floor((floor(f * 32768) + 1) / 2), and floor(f * 32768) is
  // floor(fifteen / 5^15).
  const uint64_t raw = whole * 16384u + (fifteen / 30517578125u + 1u) / 2u;
  if (raw > static_cast<uint64_t>(INT32_MAX)) return {0, literal_value::kOutOfRange};
  return {static_cast<int32_t>(raw), literal_value::kOk};
}

template <char... C>
struct literal_text {
  static constexpr char chars[] = {C..., '\0'};
};

}  // namespace detail

namespace literals {

// 1.5_fx, 3_fx, 2.5e-3_fx: the value nearest to the decimal literal, halves away from zero (as
// fp_strtofp reads the same text), computed at compile time. A literal beyond the range (131072
// or more; -131072.0 is -131071_fx - 1) or not in decimal does not compile. A minus sign is not
// part of a literal: -1.5_fx negates 1.5_fx.
template <char... C>
FIXEDPOINT_CONSTEVAL fixed operator""_fx() noexcept {
  constexpr detail::literal_value value = detail::parse_literal(detail::literal_text<C...>::chars);
  static_assert(value.status != detail::literal_value::kNotDecimal,
                "a _fx literal must be a decimal integer or decimal floating literal");
  static_assert(value.status != detail::literal_value::kOutOfRange,
                "a _fx literal must round to at most 131071.99993896484375");
  return fixed::from_raw(value.raw);
}

}  // namespace literals

}  // namespace fixedpoint

// The limits of fixed. Its values are the 2^32 multiples of 1/16384 from -131072 to
// 131071.99993896484375, spaced evenly; epsilon() is that spacing, one raw unit, as it is for
// every value (there is no relative precision). digits and digits10 count the raw
// representation's 31 magnitude bits, as for int32_t. round_error() is measured in units in the
// last place, like float's 0.5: the default * and / truncate toward zero, so their error is below
// one unit, and round_error() is 1.0, the value ISO 10967 gives truncation. min() is the lowest
// value, as for the integer types. +, - and * with an integer wrap modulo 2^32 (is_modulo).
template <>
class std::numeric_limits<fixedpoint::fixed> {
 public:
  static constexpr bool is_specialized = true;
  static constexpr bool is_signed = true;
  static constexpr bool is_integer = false;
  static constexpr bool is_exact = true;
  static constexpr bool has_infinity = false;
  static constexpr bool has_quiet_NaN = false;
  static constexpr bool has_signaling_NaN = false;
  static constexpr std::float_denorm_style has_denorm = std::denorm_absent;
  static constexpr bool has_denorm_loss = false;
  static constexpr std::float_round_style round_style = std::round_toward_zero;
  static constexpr bool is_iec559 = false;
  static constexpr bool is_bounded = true;
  static constexpr bool is_modulo = true;
  static constexpr int radix = 2;
  static constexpr int digits = 31;
  static constexpr int digits10 = 9;  // floor(31 * log10(2))
  // Every value reads back from its shortest text, which has at most 6 integer and 5 fraction
  // digits: 11 significant digits.
  static constexpr int max_digits10 = 11;
  static constexpr int min_exponent = 0;
  static constexpr int min_exponent10 = 0;
  static constexpr int max_exponent = 0;
  static constexpr int max_exponent10 = 0;
  static constexpr bool traps = false;
  static constexpr bool tinyness_before = false;

  static constexpr fixedpoint::fixed min() noexcept {
    return fixedpoint::fixed::from_raw(INT32_MIN);
  }
  static constexpr fixedpoint::fixed lowest() noexcept {
    return fixedpoint::fixed::from_raw(INT32_MIN);
  }
  static constexpr fixedpoint::fixed max() noexcept {
    return fixedpoint::fixed::from_raw(INT32_MAX);
  }
  static constexpr fixedpoint::fixed epsilon() noexcept { return fixedpoint::fixed::from_raw(1); }
  static constexpr fixedpoint::fixed round_error() noexcept {
    return fixedpoint::fixed::from_raw(16384);
  }
  static constexpr fixedpoint::fixed infinity() noexcept { return fixedpoint::fixed(); }
  static constexpr fixedpoint::fixed quiet_NaN() noexcept { return fixedpoint::fixed(); }
  static constexpr fixedpoint::fixed signaling_NaN() noexcept { return fixedpoint::fixed(); }
  static constexpr fixedpoint::fixed denorm_min() noexcept { return fixedpoint::fixed(); }
};

// Hashes the raw representation, as std::hash<int32_t> does.
template <>
struct std::hash<fixedpoint::fixed> {
  std::size_t operator()(fixedpoint::fixed x) const noexcept {
    return std::hash<int32_t>{}(x.raw());
  }
};

#ifdef FIXEDPOINT_STD_FORMAT
// std::format("{}", x) writes to_string(x); "{:.3f}" exactly 3 fraction digits, as fp_format;
// width, fill and alignment as for a number ("{:*^9.2f}"). See detail::format_spec for the
// grammar; anything else is a std::format_error (at compile time for a constant format string).
template <>
struct std::formatter<fixedpoint::fixed, char> {
  constexpr auto parse(std::format_parse_context& context) {
    const auto end = fixedpoint::detail::parse_format_spec(context.begin(), context.end(), spec_);
    if (spec_.error != nullptr) throw std::format_error(spec_.error);
    return end;
  }
  template <typename Context>
  auto format(fixedpoint::fixed x, Context& context) const {
    return fixedpoint::detail::write_formatted(context.out(), spec_, x);
  }

 private:
  fixedpoint::detail::format_spec spec_;
};
#endif

#endif  // C++17
#endif  // FIXEDPOINT_FIXED_HPP
