// SPDX-License-Identifier: MIT
// The baseline of the exponentials, logarithms and powers ("/double"): what a caller writes
// without them. The conversions are the header-only ones, inlined as a caller's would be.
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include <cmath>
#include <cstdint>

#include "harness.h"

// Without the elementary functions, a caller converts to double, calls the C library and
// converts back to the nearest value (saturating), with the edges handled as fp.h does.
void fpbench::RegisterDoubleForms() {
  const char* const form = "double";
  const auto unary = [](double (*f)(double)) {
    return [f](int32_t x, int32_t) { return fp_from_double(f(fp_to_double(x))); };
  };
  const auto logarithm = [](double (*f)(double)) {
    return
        [f](int32_t x, int32_t) { return x <= 0 ? INT32_MIN : fp_from_double(f(fp_to_double(x))); };
  };
  Register("fp_exp", form, Domain::kExpRange, unary(std::exp));
  Register("fp_exp2", form, Domain::kExp2Range, unary(std::exp2));
  Register("fp_log", form, Domain::kPositive, logarithm(std::log));
  Register("fp_log2", form, Domain::kPositive, logarithm(std::log2));
  Register("fp_log10", form, Domain::kPositive, logarithm(std::log10));
  Register("fp_pow", form, Domain::kPowPairs, [](int32_t x, int32_t y) {
    if (y == 0) return int32_t{16384};
    if (x == 0) return y > 0 ? 0 : INT32_MAX;
    if (x < 0 && (y & 0x3FFF) != 0) return 0;
    return fp_from_double(std::pow(fp_to_double(x), fp_to_double(y)));
  });
  Register("fp_sin", form, Domain::kAngle, unary(std::sin));
  Register("fp_cos", form, Domain::kAngle, unary(std::cos));
  Register("fp_tan", form, Domain::kAngle, unary(std::tan));
  const double pi = 3.14159265358979323846;
  Register("fp_sinpi", form, Domain::kAngle,
           [pi](int32_t x, int32_t) { return fp_from_double(std::sin(pi * fp_to_double(x))); });
  Register("fp_cospi", form, Domain::kAngle,
           [pi](int32_t x, int32_t) { return fp_from_double(std::cos(pi * fp_to_double(x))); });
  Register("fp_asin", form, Domain::kUnit, unary(std::asin));
  Register("fp_acos", form, Domain::kUnit, unary(std::acos));
  Register("fp_atan", form, Domain::kAngle, unary(std::atan));
  Register("fp_atan2", form, Domain::kPoints, [](int32_t y, int32_t x) {
    return fp_from_double(std::atan2(fp_to_double(y), fp_to_double(x)));
  });
  Register("fp_hypot", form, Domain::kPoints, [](int32_t x, int32_t y) {
    return fp_from_double(std::hypot(fp_to_double(x), fp_to_double(y)));
  });
}
