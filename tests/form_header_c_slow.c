/* SPDX-License-Identifier: MIT */
/* The header-only definitions compiled as C99 with every rounding test of the elementary
 * functions failing, so that each call takes its slow path: the tests check the slow paths on
 * their own with it. */
#define FIXEDPOINT_TEST_SLOW_PATHS
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_header_c_slow, "header_c_slow");
