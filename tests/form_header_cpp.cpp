// The header-only definitions compiled as C++, and what they give at compile time: each
// static_assert below is evaluated by the compiler, so a wrong constant result fails the build.
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_header_cpp, "header_cpp");

namespace {

constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;

static_assert(fp_div(cvt_int_fp(1), cvt_int_fp(60)) == 273, "1 / 60");
static_assert(fp_mul_int(fp_mul(273, 1), 10000) == 2730000, "the demo's product");

// Wrap-around is the same at compile time as at run time.
static_assert(cvt_int_fp(131072) == kMin, "cvt_int_fp wraps");
static_assert(fp_add(kMax, 1) == kMin && fp_sub(kMin, 1) == kMax, "add and sub wrap");
static_assert(fp_mul(65536, 65536) == 0 && fp_mul_int(kMin, -1) == kMin, "products wrap");
static_assert(fp_div(1073741824, 1) == 0 && fp_div(kMin, -1) == 0, "fp_div keeps the low bits");
static_assert(fp_add_int(0, 131072) == kMin && fp_sub_int(kMin, 1) == 2147467264, "_int wraps");

// Zero divisors and the quotient that does not fit.
static_assert(fp_div(1, 0) == kMax && fp_div(-1, 0) == kMin && fp_div(0, 0) == 0, "fp_div by 0");
static_assert(fp_div_int(5, 0) == kMax && fp_div_int(kMin, 0) == kMin && fp_div_int(0, 0) == 0,
              "fp_div_int by 0");
static_assert(fp_div_int(kMin, -1) == kMin && fp_div_int(-7, 2) == -3, "fp_div_int edges");

// Rounding, including the ends of the range where x +/- 8192 leaves int32_t.
static_assert(fp_round(-28672) == -1 && fp_round(kMin) == -131072, "fp_round");
static_assert(fp_to_nearest(8192) == 1 && fp_to_nearest(-8192) == -1, "halves away from zero");
static_assert(fp_to_nearest(kMax) == 131072 && fp_to_nearest(kMin) == -131072, "range ends");
static_assert(fp_to_nearest(2147475455) == 131071 && fp_to_nearest(-2147475457) == -131072,
              "just inside the ends");

}  // namespace
