/* SPDX-License-Identifier: MIT */
/* The header-only definitions compiled as C99, counting the slow paths they take. */
long long fp_form_header_c_slow_paths;
#define FIXEDPOINT_SLOW_PATH_HOOK() ((void)++fp_form_header_c_slow_paths)
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_header_c, "header_c");
