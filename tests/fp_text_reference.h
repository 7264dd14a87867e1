/* SPDX-License-Identifier: MIT */
// A reference model of fp_format and fp_strtofp, written the slow, obvious way and sharing no
// shortcut with the library: text is read by multiplying its whole digit string by 32768 digit
// by digit, and values are printed by schoolbook long division of the fraction by 16384, with
// exact 128-bit comparisons to pick among candidate texts. Used by the unit tests, the
// exhaustive round trip and the fuzz target.
#ifndef FIXEDPOINT_TESTS_FP_TEXT_REFERENCE_H
#define FIXEDPOINT_TESTS_FP_TEXT_REFERENCE_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace fp_text_reference {

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Uint128;
#else
// Where the compiler has no 128-bit integer (32-bit targets), the few operations the reference
// needs, on two 64-bit halves: products wrap modulo 2^128 like unsigned __int128's, and divisors
// must be below 2^32, as they all are here.
class Uint128 {
 public:
  constexpr Uint128(uint64_t low = 0) : high_(0), low_(low) {}
  // The low bits, as static_cast gives them from an unsigned __int128.
  template <typename Integer, typename = std::enable_if_t<std::is_integral_v<Integer> > >
  explicit constexpr operator Integer() const {
    return static_cast<Integer>(low_);
  }

  friend Uint128 operator*(Uint128 a, Uint128 b) {
    constexpr uint64_t kHalf = 0xffffffffu;
    const uint64_t a0 = a.low_ & kHalf, a1 = a.low_ >> 32, b0 = b.low_ & kHalf, b1 = b.low_ >> 32;
    const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const uint64_t middle = (p00 >> 32) + (p01 & kHalf) + (p10 & kHalf);
    Uint128 product;
    product.low_ = (middle << 32) | (p00 & kHalf);
    product.high_ =
        p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32) + a.high_ * b.low_ + a.low_ * b.high_;
    return product;
  }
  friend Uint128 operator-(Uint128 a, Uint128 b) {
    Uint128 difference;
    difference.low_ = a.low_ - b.low_;
    difference.high_ = a.high_ - b.high_ - (a.low_ < b.low_ ? 1 : 0);
    return difference;
  }
  friend Uint128 operator/(Uint128 a, Uint128 b) { return Divide(a, b).first; }
  friend Uint128 operator%(Uint128 a, Uint128 b) { return Divide(a, b).second; }
  Uint128& operator/=(Uint128 b) { return *this = *this / b; }

  friend bool operator==(Uint128 a, Uint128 b) { return a.high_ == b.high_ && a.low_ == b.low_; }
  friend bool operator!=(Uint128 a, Uint128 b) { return !(a == b); }
  friend bool operator<(Uint128 a, Uint128 b) {
    return a.high_ != b.high_ ? a.high_ < b.high_ : a.low_ < b.low_;
  }
  friend bool operator>(Uint128 a, Uint128 b) { return b < a; }

 private:
  // Schoolbook long division, 32 bits at a time.
  static std::pair<Uint128, Uint128> Divide(Uint128 a, Uint128 b) {
    if (b.high_ != 0 || b.low_ == 0 || b.low_ > 0xffffffffu) std::abort();
    const uint64_t limbs[4] = {a.high_ >> 32, a.high_ & 0xffffffffu, a.low_ >> 32,
                               a.low_ & 0xffffffffu};
    uint64_t quotient[4] = {};
    uint64_t remainder = 0;
    for (int i = 0; i < 4; ++i) {
      const uint64_t current = (remainder << 32) | limbs[i];
      quotient[i] = current / b.low_;
      remainder = current % b.low_;
    }
    Uint128 q;
    q.high_ = (quotient[0] << 32) | quotient[1];
    q.low_ = (quotient[2] << 32) | quotient[3];
    return {q, Uint128(remainder)};
  }

  uint64_t high_;
  uint64_t low_;
};
#endif

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Read {
  bool number = false;       // false: not a number (fp_strtofp sets EINVAL)
  std::size_t length = 0;    // characters that belong to the number, white space included
  int32_t value = 0;         // what fp_strtofp returns
  bool range_error = false;  // fp_strtofp sets ERANGE
};

// Reads the number at the start of text (which ends at its first NUL, if any).
inline Read Parse(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
  Read read;
  std::size_t i = 0;
  while (IsSpace(at(i))) ++i;
  bool negative = false;
  if (at(i) == '+' || at(i) == '-') negative = at(i++) == '-';
  if (at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X')) return read;
  std::string digits;  // every digit before and after the point
  int64_t before_point = 0;
  for (; IsDigit(at(i)); ++i, ++before_point) digits += at(i);
  if (at(i) == '.') {
    for (++i; IsDigit(at(i)); ++i) digits += at(i);
  }
  if (digits.empty()) return read;
  read.number = true;
  read.length = i;
  // The exponent saturates at 10^15: no test text has that many digits to offset it.
  int64_t exponent = 0;
  if (at(i) == 'e' || at(i) == 'E') {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (at(j) == '+' || at(j) == '-') exponent_negative = at(j++) == '-';
    if (IsDigit(at(j))) {
      for (; IsDigit(at(j)); ++j)
        exponent = std::min<int64_t>(exponent * 10 + (at(j) - '0'), INT64_C(1000000000000000));
      read.length = j;
      if (exponent_negative) exponent = -exponent;
    }
  }
  // digits * 32768, least significant digit first.
  std::string product;
  uint64_t carry = 0;
  for (auto d = digits.rbegin(); d != digits.rend(); ++d) {
    carry += static_cast<uint64_t>(*d - '0') * 32768;
    product += static_cast<char>('0' + carry % 10);
    carry /= 10;
  }
  for (; carry != 0; carry /= 10) product += static_cast<char>('0' + carry % 10);
  // The value times 32768 is product * 10^shift; its integer part decides the rounding.
  const int64_t shift = before_point + exponent - static_cast<int64_t>(digits.size());
  std::string whole;  // most significant first, no leading zeros
  for (int64_t k = static_cast<int64_t>(product.size()) - 1; k >= 0 && k >= -shift; --k) {
    if (!whole.empty() || product[static_cast<std::size_t>(k)] != '0') {
      whole += product[static_cast<std::size_t>(k)];
    }
  }
  uint64_t twice_units = 0;  // floor(value * 32768)
  if (!whole.empty()) {
    if (static_cast<int64_t>(whole.size()) + std::max<int64_t>(shift, 0) > 12) {
      twice_units = UINT64_MAX;  // at least 10^12: far beyond the range
    } else {
      for (char c : whole) twice_units = twice_units * 10 + static_cast<uint64_t>(c - '0');
      for (int64_t k = 0; k < shift; ++k) twice_units *= 10;
    }
  }
  // Halves away from zero: floor(value * 16384 + 1/2) = floor((floor(value * 32768) + 1) / 2).
  const uint64_t magnitude = twice_units == UINT64_MAX ? twice_units : (twice_units + 1) / 2;
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (magnitude > limit) {
    read.range_error = true;
    read.value = negative ? INT32_MIN : INT32_MAX;
  } else {
    read.value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                               : static_cast<int64_t>(magnitude));
  }
  return read;
}

inline uint64_t Pow10(int n) {
  uint64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

inline uint64_t Magnitude(int32_t x) {
  return x < 0 ? uint64_t{0} - static_cast<uint64_t>(int64_t{x}) : static_cast<uint64_t>(x);
}

// The text of whole + fraction / 10^digits, with a '-' when negative.
inline std::string Text(bool negative, uint64_t whole, uint64_t fraction, int digits) {
  std::string text = negative ? "-" : "";
  text += std::to_string(whole);
  if (digits > 0) {
    const std::string f = std::to_string(fraction);
    text += '.';
    text.append(static_cast<std::size_t>(digits) - f.size(), '0');
    text += f;
  }
  return text;
}

// x with exactly `digits` fraction digits, halves away from zero: the integer part, then the
// fraction (|x| mod 16384) / 16384 times 10^digits by long division, rounded by its remainder.
inline std::string Format(int32_t x, int digits) {
  const uint64_t m = Magnitude(x);
  uint64_t whole = m / 16384;
  const uint64_t scaled = (m % 16384) * Pow10(digits);
  uint64_t fraction = scaled / 16384;
  if (2 * (scaled % 16384) >= 16384) ++fraction;
  if (fraction == Pow10(digits)) {
    fraction = 0;
    ++whole;
  }
  return Text(x < 0 && (whole != 0 || fraction != 0), whole, fraction, digits);
}

// The shortest text that Parse reads back as x without a range error; among those, the one
// nearest to x, then the one with an even last digit. Candidates at each number of fraction
// digits k are the four multiples of 10^-k around x; the text's length decides first.
inline std::string Shortest(int32_t x) {
  const uint64_t m = Magnitude(x);
  std::string best;
  Uint128 best_distance = 0;
  uint64_t best_last = 0;
  for (int k = 0; k <= 14; ++k) {
    const Uint128 scale = Pow10(k);
    const Uint128 target = Uint128{m} * scale;  // x * 10^k * 16384
    const uint64_t below = static_cast<uint64_t>(target / 16384);
    for (uint64_t c = below == 0 ? 0 : below - 1; c <= below + 2; ++c) {
      const std::string text = Text(x < 0, c / Pow10(k), c % Pow10(k), k);
      if (!best.empty() && text.size() > best.size()) continue;
      const Read read = Parse(text);
      if (read.range_error || read.value != x) continue;
      const Uint128 product = Uint128{c} * 16384;
      const Uint128 distance = product > target ? product - target : target - product;
      // Compare distances at a common scale: this one is in units of 10^-k / 16384.
      const Uint128 mine = distance * Pow10(14 - k);
      const bool shorter = best.empty() || text.size() < best.size();
      const bool nearer =
          mine < best_distance || (mine == best_distance && c % 2 == 0 && best_last % 2 != 0);
      if (shorter || nearer) {
        best = text;
        best_distance = mine;
        best_last = c;
      }
    }
  }
  return best;
}

}  // namespace fp_text_reference

#endif
