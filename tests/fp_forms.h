/* SPDX-License-Identifier: MIT */
/* One "form" of the library: a table of pointers to every function, as one translation unit
 * sees them. The tests check each form against the same reference model: the library itself,
 * and the header-only definitions compiled as C++ and as C. Valid C and C++. */
#ifndef FIXEDPOINT_TESTS_FP_FORMS_H
#define FIXEDPOINT_TESTS_FP_FORMS_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

/* clang-format 14 breaks the lists below differently on every run, so it leaves them be. */
/* clang-format off */
/* The functions, grouped by signature. */
#define FP_FORMS_UNARY(X) \
  X(cvt_int_fp) X(fp_round) X(fp_to_nearest) X(fp_floor) X(fp_ceil) X(cvt_int_fp_sat) X(fp_sqrt)
#define FP_FORMS_BINARY(X)                                                                 \
  X(fp_add)                                                                                \
  X(fp_sub)                                                                                \
  X(fp_mul) X(fp_div) X(fp_add_int) X(fp_sub_int) X(fp_mul_int) X(fp_div_int) X(fp_mul_fp) \
      X(fp_mul_fp_nearest) X(fp_add_sat) X(fp_sub_sat) X(fp_mul_fp_sat) X(fp_div_sat)      \
          X(fp_add_int_sat) X(fp_sub_int_sat) X(fp_mul_int_sat) X(fp_div_int_sat)
#define FP_FORMS_UNARY_CKD(X) X(cvt_int_fp_ckd) X(fp_sqrt_ckd)
#define FP_FORMS_BINARY_CKD(X)                                                         \
  X(fp_add_ckd)                                                                        \
  X(fp_sub_ckd)                                                                        \
  X(fp_mul_fp_ckd) X(fp_div_ckd) X(fp_add_int_ckd) X(fp_sub_int_ckd) X(fp_mul_int_ckd) \
      X(fp_div_int_ckd)
/* The exponentials, logarithms and powers. */
#define FP_FORMS_ELEMENTARY(X)                                                               \
  X(fp_exp) X(fp_exp2) X(fp_log) X(fp_log2) X(fp_log10) X(fp_sin) X(fp_cos) X(fp_tan) X(fp_sinpi) \
      X(fp_cospi) X(fp_asin) X(fp_acos) X(fp_atan)
#define FP_FORMS_ELEMENTARY_CKD(X)                                                           \
  X(fp_exp_ckd) X(fp_exp2_ckd) X(fp_log_ckd) X(fp_log2_ckd) X(fp_log10_ckd) X(fp_tan_ckd) \
      X(fp_asin_ckd) X(fp_acos_ckd)
/* Absolute value, minimum, maximum, clamping, interpolation, remainder, rounding to even, and
 * the other Q formats, grouped by signature as above. */
#define FP_FORMS_EVERYDAY_UNARY(X) X(fp_abs) X(fp_abs_sat) X(fp_round_even)
#define FP_FORMS_EVERYDAY_BINARY(X) X(fp_min) X(fp_max) X(fp_fmod)
#define FP_FORMS_TERNARY(X) X(fp_clamp) X(fp_lerp)
#define FP_FORMS_Q(X) X(fp_from_q) X(fp_to_q)
#define FP_FORMS_ALL(X)                                                                   \
  FP_FORMS_UNARY(X) FP_FORMS_BINARY(X) FP_FORMS_UNARY_CKD(X) FP_FORMS_BINARY_CKD(X)     \
      FP_FORMS_ELEMENTARY(X) FP_FORMS_ELEMENTARY_CKD(X) X(fp_pow) X(fp_pow_ckd) X(fp_atan2)   \
          X(fp_hypot) X(fp_hypot_ckd)           \
      FP_FORMS_EVERYDAY_UNARY(X) FP_FORMS_EVERYDAY_BINARY(X) X(fp_abs_ckd)                \
      FP_FORMS_TERNARY(X) FP_FORMS_Q(X)

/* The conversions to and from double and text: (return type, name, parameter list). */
#define FP_FORMS_TEXT(X)                           \
  X(double, fp_to_double, (int32_t))               \
  X(int32_t, fp_from_double, (double))             \
  X(int, fp_format, (char*, size_t, int32_t, int)) \
  X(int32_t, fp_strtofp, (const char*, char**))   \
  X(int, fp_from_chars, (const char*, const char*, int32_t*, const char**))
/* clang-format on */

#define FP_FORMS_UNARY_MEMBER(f) int32_t (*f)(int32_t);
#define FP_FORMS_BINARY_MEMBER(f) int32_t (*f)(int32_t, int32_t);
#define FP_FORMS_UNARY_CKD_MEMBER(f) bool (*f)(int32_t*, int32_t);
#define FP_FORMS_BINARY_CKD_MEMBER(f) bool (*f)(int32_t*, int32_t, int32_t);
#define FP_FORMS_TERNARY_MEMBER(f) int32_t (*f)(int32_t, int32_t, int32_t);
#define FP_FORMS_Q_MEMBER(f) int32_t (*f)(int32_t, int);
#define FP_FORMS_ENTRY(f) f,
#define FP_FORMS_TEXT_MEMBER(type, f, parameters) type(*f) parameters;
#define FP_FORMS_TEXT_ENTRY(type, f, parameters) f,

struct fp_form {
  const char* name;
  FP_FORMS_UNARY(FP_FORMS_UNARY_MEMBER)
  FP_FORMS_BINARY(FP_FORMS_BINARY_MEMBER)
  FP_FORMS_UNARY_CKD(FP_FORMS_UNARY_CKD_MEMBER)
  FP_FORMS_BINARY_CKD(FP_FORMS_BINARY_CKD_MEMBER)
  FP_FORMS_ELEMENTARY(FP_FORMS_UNARY_MEMBER)
  FP_FORMS_ELEMENTARY_CKD(FP_FORMS_UNARY_CKD_MEMBER)
  FP_FORMS_BINARY_MEMBER(fp_pow)
  FP_FORMS_BINARY_CKD_MEMBER(fp_pow_ckd)
  FP_FORMS_BINARY_MEMBER(fp_atan2)
  FP_FORMS_BINARY_MEMBER(fp_hypot)
  FP_FORMS_BINARY_CKD_MEMBER(fp_hypot_ckd)
  FP_FORMS_EVERYDAY_UNARY(FP_FORMS_UNARY_MEMBER)
  FP_FORMS_EVERYDAY_BINARY(FP_FORMS_BINARY_MEMBER)
  FP_FORMS_UNARY_CKD_MEMBER(fp_abs_ckd)
  FP_FORMS_TERNARY(FP_FORMS_TERNARY_MEMBER)
  FP_FORMS_Q(FP_FORMS_Q_MEMBER)
  FP_FORMS_TEXT(FP_FORMS_TEXT_MEMBER)
};

/* Defines the form `variable` from the functions visible where it is used. */
#define FP_FORMS_DEFINE(variable, label) \
  const struct fp_form variable = {      \
      label, FP_FORMS_ALL(FP_FORMS_ENTRY) FP_FORMS_TEXT(FP_FORMS_TEXT_ENTRY)}

#ifdef __cplusplus
extern "C" {
#endif
extern const struct fp_form fp_form_library;          /* libfp */
extern const struct fp_form fp_form_header_cpp;       /* header-only, compiled as C++ */
extern const struct fp_form fp_form_header_c;         /* header-only, compiled as C */
extern const struct fp_form fp_form_header_c_no_sse2; /* without SSE2, as on Cortex-M */
/* How often the elementary functions of fp_form_header_c took their slow path. */
extern long long fp_form_header_c_slow_paths;
/* Header-only, compiled as C, with every elementary function always taking its slow path. */
extern const struct fp_form fp_form_header_c_slow;
#ifdef __cplusplus
}

#include <string>

/* Every form, for INSTANTIATE_TEST_SUITE_P(Forms, Suite, testing::ValuesIn(kFpForms),
 * FpFormName()): each test is named after its form. */
inline const fp_form* const kFpForms[] = {&fp_form_library, &fp_form_header_cpp, &fp_form_header_c,
                                          &fp_form_header_c_no_sse2};
struct FpFormName {
  template <typename TestParamInfo>
  std::string operator()(const TestParamInfo& info) const {
    return info.param->name;
  }
};
#endif

#endif
