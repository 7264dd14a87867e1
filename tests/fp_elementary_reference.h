// SPDX-License-Identifier: MIT
// The reference model of the exponentials, logarithms and powers: the exact value rounded to
// nearest, halves away from zero, as a raw value in int64_t (beyond the int32_t range when the
// function saturates). It shares nothing with the library. The C library gives a value within
// far less than 2^-21 raw units, and decides every input whose value lies farther than 2^-19 raw
// units from a tie: in long double for the exponentials (results up to 2^31 raw units, a few
// units of 2^-64 relative), in double for the logarithms (results below 2^18.1 raw units, within
// 2 units of 2^-53). MPFR, at 256 bits, decides the others. Without MPFR (cross builds), those are
// looked up among the hard cases, every input within 2^-20 raw units of a tie (all that the
// exhaustive scan finds), with their results, which the host checks against MPFR.
#ifndef FIXEDPOINT_TESTS_FP_ELEMENTARY_REFERENCE_H
#define FIXEDPOINT_TESTS_FP_ELEMENTARY_REFERENCE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#if FP_HAVE_MPFR
#include <mpfr.h>
#endif

namespace fp_elementary_reference {

enum class Function { kExp, kExp2, kLog, kLog2, kLog10 };

struct Named {
  Function function;
  std::string_view name;   // as in fp_<name>
  std::string_view label;  // as in Function::k<label>
};
inline constexpr Named kFunctions[] = {{Function::kExp, "exp", "Exp"},
                                       {Function::kExp2, "exp2", "Exp2"},
                                       {Function::kLog, "log", "Log"},
                                       {Function::kLog2, "log2", "Log2"},
                                       {Function::kLog10, "log10", "Log10"}};

inline constexpr int64_t kBeyond = int64_t{INT32_MAX} + 2;  // any magnitude beyond 2^31

// A raw value v (the function's value times 16384) rounded, and how far its fraction is from 1/2.
struct Rounded {
  int64_t value;
  long double distance;  // from the nearest tie, in raw units
};

inline Rounded RoundAway(long double v) {
  const long double magnitude = std::fabs(v);
  const long double whole = std::floor(magnitude);
  const long double fraction = magnitude - whole;
  long double r = fraction >= 0.5L ? whole + 1 : whole;
  r = std::min<long double>(r, static_cast<long double>(kBeyond));
  return {static_cast<int64_t>(v < 0 ? -r : r), std::fabs(fraction - 0.5L)};
}

// The results that need no evaluation: saturated, zero, and the logarithms' domain. e^12 and
// 2^17 raw units of 16384 are beyond 2^31; e^-11 and 2^-15 - ... are below half a raw unit.
inline std::optional<int64_t> Trivial(Function f, int32_t x) {
  switch (f) {
    case Function::kExp:
      if (x >= 12 * 16384) return kBeyond;
      if (x < -11 * 16384) return 0;
      return std::nullopt;
    case Function::kExp2:
      if (x >= 17 * 16384) return kBeyond;
      if (x < -15 * 16384) return 0;
      return std::nullopt;
    default:
      if (x <= 0) return -kBeyond;
      return std::nullopt;
  }
}

inline long double Libm(Function f, int32_t x) {
  const long double v = std::ldexp(static_cast<long double>(x), -14);
  const double d = std::ldexp(static_cast<double>(x), -14);
  switch (f) {
    case Function::kExp:
      return std::exp(v) * 16384;
    case Function::kExp2:
      return std::exp2(v) * 16384;
    case Function::kLog:
      return std::log(d) * 16384.0L;
    case Function::kLog2:
      return std::log2(d) * 16384.0L;
    case Function::kLog10:
      break;
  }
  return std::log10(d) * 16384.0L;
}

#if FP_HAVE_MPFR
// f(x / 16384) * 16384 at 256 bits, rounded away from zero at halves (an exact tie is exact).
inline Rounded Mpfr(Function f, int32_t x) {
  mpfr_t v;
  mpfr_init2(v, 256);
  mpfr_set_si(v, x, MPFR_RNDN);
  mpfr_div_2ui(v, v, 14, MPFR_RNDN);
  switch (f) {
    case Function::kExp:
      mpfr_exp(v, v, MPFR_RNDN);
      break;
    case Function::kExp2:
      mpfr_exp2(v, v, MPFR_RNDN);
      break;
    case Function::kLog:
      mpfr_log(v, v, MPFR_RNDN);
      break;
    case Function::kLog2:
      mpfr_log2(v, v, MPFR_RNDN);
      break;
    case Function::kLog10:
      mpfr_log10(v, v, MPFR_RNDN);
      break;
  }
  mpfr_mul_2ui(v, v, 14, MPFR_RNDN);
  mpfr_t whole, distance;
  mpfr_inits2(256, whole, distance, static_cast<mpfr_ptr>(nullptr));
  mpfr_abs(distance, v, MPFR_RNDN);
  mpfr_floor(whole, distance);
  mpfr_sub(distance, distance, whole, MPFR_RNDN);  // the fraction of |v|
  mpfr_sub_d(distance, distance, 0.5, MPFR_RNDN);
  mpfr_abs(distance, distance, MPFR_RNDN);
  mpfr_round(v, v);  // halves away from zero
  const int64_t value = mpfr_cmp_si(v, INT32_MAX) > 0   ? kBeyond
                        : mpfr_cmp_si(v, INT32_MIN) < 0 ? -kBeyond
                                                        : mpfr_get_si(v, MPFR_RNDN);
  const long double d = mpfr_get_ld(distance, MPFR_RNDN);
  mpfr_clears(v, whole, distance, static_cast<mpfr_ptr>(nullptr));
  return {value, d};
}
#endif

}  // namespace fp_elementary_reference

#endif
