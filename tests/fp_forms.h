/* One "form" of the library: a table of pointers to every function, as one translation unit
 * sees them. The tests check each form against the same reference model: the library itself,
 * and the header-only definitions compiled as C++ and as C. Valid C and C++. */
#ifndef FIXEDPOINT_TESTS_FP_FORMS_H
#define FIXEDPOINT_TESTS_FP_FORMS_H

#include <stdint.h>

/* The functions, grouped by signature. */
#define FP_FORMS_UNARY(X) X(cvt_int_fp) X(fp_round) X(fp_to_nearest)
#define FP_FORMS_BINARY(X) \
  X(fp_add) X(fp_sub) X(fp_mul) X(fp_div) X(fp_add_int) X(fp_sub_int) X(fp_mul_int) X(fp_div_int)

#define FP_FORMS_UNARY_MEMBER(f) int32_t (*f)(int32_t);
#define FP_FORMS_BINARY_MEMBER(f) int32_t (*f)(int32_t, int32_t);
#define FP_FORMS_ENTRY(f) f,

struct fp_form {
  const char* name;
  FP_FORMS_UNARY(FP_FORMS_UNARY_MEMBER)
  FP_FORMS_BINARY(FP_FORMS_BINARY_MEMBER)
};

/* Defines the form `variable` from the functions visible where it is used. */
#define FP_FORMS_DEFINE(variable, label)  \
  const struct fp_form variable = {label, \
                                   FP_FORMS_UNARY(FP_FORMS_ENTRY) FP_FORMS_BINARY(FP_FORMS_ENTRY)}

#ifdef __cplusplus
extern "C" {
#endif
extern const struct fp_form fp_form_library;    /* libfp */
extern const struct fp_form fp_form_header_cpp; /* header-only, compiled as C++ */
extern const struct fp_form fp_form_header_c;   /* header-only, compiled as C */
#ifdef __cplusplus
}
#endif

#endif
