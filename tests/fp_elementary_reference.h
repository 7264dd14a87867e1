// SPDX-License-Identifier: MIT
// The reference model of the exponentials, logarithms, powers and trigonometric functions: the
// exact value rounded to nearest, halves away from zero, as a raw value in int64_t (beyond the
// int32_t range when the function saturates). It shares nothing with the library. The C library
// gives a value and a bound on its error (a few units in its last place, relative, in double or
// long double as below), which decides every input whose value lies farther than the hard-case
// distance plus that bound from a tie. MPFR, at 256 bits, decides the others. Without MPFR
// (cross builds), those are looked up among the hard cases, every input within the hard-case
// distance of a tie (all that the exhaustive scan finds), with their results, which the host
// checks against MPFR; any other input lies farther than that from a tie, where the C library's
// value decides it if it is farther than its error bound.
#ifndef FIXEDPOINT_TESTS_FP_ELEMENTARY_REFERENCE_H
#define FIXEDPOINT_TESTS_FP_ELEMENTARY_REFERENCE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>

#if FP_HAVE_MPFR
#include <mpfr.h>
#endif

namespace fp_elementary_reference {

enum class Function {
  kExp,
  kExp2,
  kLog,
  kLog2,
  kLog10,
  kSin,
  kCos,
  kTan,
  kSinpi,
  kCospi,
  kAsin,
  kAcos,
  kAtan
};

struct Named {
  Function function;
  std::string_view name;   // as in fp_<name>
  std::string_view label;  // as in Function::k<label>
};
inline constexpr Named kFunctions[] = {
    {Function::kExp, "exp", "Exp"},       {Function::kExp2, "exp2", "Exp2"},
    {Function::kLog, "log", "Log"},       {Function::kLog2, "log2", "Log2"},
    {Function::kLog10, "log10", "Log10"}, {Function::kSin, "sin", "Sin"},
    {Function::kCos, "cos", "Cos"},       {Function::kTan, "tan", "Tan"},
    {Function::kSinpi, "sinpi", "Sinpi"}, {Function::kCospi, "cospi", "Cospi"},
    {Function::kAsin, "asin", "Asin"},    {Function::kAcos, "acos", "Acos"},
    {Function::kAtan, "atan", "Atan"}};

inline bool Trigonometric(Function f) { return f >= Function::kSin; }

// The hard cases: inputs within this many raw units of a tie, 2^-20 for the exponentials and
// logarithms and 2^-22 for the trigonometric functions, which have four times as many inputs
// with results in range (over the whole of int32_t).
inline long double HardDistance(Function f) { return Trigonometric(f) ? 0x1p-22L : 0x1p-20L; }

// -1 for the odd functions whose domain is every input (sin, tan, atan), 1 for the even one (cos),
// 0 for the others. Rounding halves away from zero keeps the symmetry: the reference at -x is the
// reference at x times this.
inline int Parity(Function f) {
  switch (f) {
    case Function::kSin:
    case Function::kTan:
    case Function::kAtan:
      return -1;
    case Function::kCos:
      return 1;
    default:
      return 0;
  }
}

// Where a function's input lies outside its domain: the logarithms of x <= 0, and |x| > 1 for
// asin and acos (which then give the value at the nearer end).
inline bool OutsideDomain(Function f, int32_t x) {
  switch (f) {
    case Function::kLog:
    case Function::kLog2:
    case Function::kLog10:
      return x <= 0;
    case Function::kAsin:
    case Function::kAcos:
      return x < -16384 || x > 16384;
    default:
      return false;
  }
}

// What a function is evaluated at: x, clamped to [-1, 1] for asin and acos, and modulo 2 (32768
// raw) for sinpi and cospi, whose period that is.
inline int32_t Argument(Function f, int32_t x) {
  switch (f) {
    case Function::kAsin:
    case Function::kAcos:
      return std::clamp(x, -16384, 16384);
    case Function::kSinpi:
    case Function::kCospi:
      return static_cast<int32_t>(static_cast<uint32_t>(x) & 0x7FFFu);
    default:
      return x;
  }
}

inline constexpr int64_t kBeyond = int64_t{INT32_MAX} + 2;  // any magnitude beyond 2^31

// A raw value v (the function's value times 16384) rounded, and how far its fraction is from 1/2.
struct Rounded {
  int64_t value;
  long double distance;  // from the nearest tie, in raw units
};

// Exact in the type of v: the fraction and its distance from 1/2 lose no bits.
template <typename Real>
Rounded RoundAway(Real v) {
  const Real magnitude = std::fabs(v);
  const Real whole = std::floor(magnitude);
  const Real fraction = magnitude - whole;
  Real r = fraction >= Real(0.5) ? whole + 1 : whole;
  r = std::min<Real>(r, static_cast<Real>(kBeyond));
  return {static_cast<int64_t>(v < 0 ? -r : r), std::fabs(fraction - Real(0.5))};
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
    case Function::kLog:
    case Function::kLog2:
    case Function::kLog10:
      if (x <= 0) return -kBeyond;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// f(x / 16384) * 16384 from the C library, rounded, and a bound on its error in raw units: four
// units in the last place, relative, plus 2^-40. Both x / 16384 and the product by 16384 are
// exact. The functions are computed in double (glibc's are within an ulp or two of the exact
// value); sin(pi x) and cos(pi x), evaluated once per residue, in long double, with the rounding
// of pi x added to the bound.
struct Approximation {
  Rounded rounded;
  long double error;
};

inline Approximation Libm(Function f, int32_t x) {
  if (f == Function::kSinpi || f == Function::kCospi) {
    const long double pi_x = 3.141592653589793238462643383279502884L * x / 16384;
    const long double r = (f == Function::kSinpi ? std::sin(pi_x) : std::cos(pi_x)) * 16384;
    // pi x is within 4 units of its last place of the exact angle (below 2 pi), which moves the
    // result by at most 8 pi units there, 16384 times that in raw units.
    const long double unit = std::numeric_limits<long double>::epsilon();
    return {RoundAway(r), (std::fabs(r) + 8 * 4 * 16384) * 8 * unit + 0x1p-40L};
  }
  const double v = x * 0x1p-14;
  double r = 0;
  switch (f) {
    case Function::kExp:
      r = std::exp(v);
      break;
    case Function::kExp2:
      r = std::exp2(v);
      break;
    case Function::kLog:
      r = std::log(v);
      break;
    case Function::kLog2:
      r = std::log2(v);
      break;
    case Function::kLog10:
      r = std::log10(v);
      break;
    case Function::kSin:
      r = std::sin(v);
      break;
    case Function::kCos:
      r = std::cos(v);
      break;
    case Function::kTan:
      r = std::tan(v);
      break;
    case Function::kAsin:
      r = std::asin(v);
      break;
    case Function::kAcos:
      r = std::acos(v);
      break;
    default:
      r = std::atan(v);
      break;
  }
  r *= 16384;
  return {RoundAway(r), std::fabs(r) * 0x1p-50 + 0x1p-40};
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
    case Function::kSin:
      mpfr_sin(v, v, MPFR_RNDN);
      break;
    case Function::kCos:
      mpfr_cos(v, v, MPFR_RNDN);
      break;
    case Function::kTan:
      mpfr_tan(v, v, MPFR_RNDN);
      break;
    case Function::kSinpi:
      mpfr_sinpi(v, v, MPFR_RNDN);
      break;
    case Function::kCospi:
      mpfr_cospi(v, v, MPFR_RNDN);
      break;
    case Function::kAsin:
      mpfr_asin(v, v, MPFR_RNDN);
      break;
    case Function::kAcos:
      mpfr_acos(v, v, MPFR_RNDN);
      break;
    case Function::kAtan:
      mpfr_atan(v, v, MPFR_RNDN);
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
