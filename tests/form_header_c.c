/* SPDX-License-Identifier: MIT */
/* The header-only definitions compiled as C99. */
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_header_c, "header_c");
