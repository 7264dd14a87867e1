/* SPDX-License-Identifier: MIT */
/* The header-only definitions compiled as C99 without the SSE2 paths, with the wide products
 * built from 16x16-bit ones as on Thumb-1, and with the double conversions in integers as on
 * ARM without a double-precision FPU: the integer arithmetic that other targets run, tested on
 * x86-64 too. */
#define FIXEDPOINT_HEADER_ONLY
#define FIXEDPOINT_NO_SSE2
#define FIXEDPOINT_TEST_MUL_HALVES
#define FIXEDPOINT_TEST_DOUBLE_BITS
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_header_c_no_sse2, "header_c_no_sse2");
