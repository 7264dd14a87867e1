// SPDX-License-Identifier: MIT
// The library's functions, as a program that links libfp calls them.
#include <fixedpoint/fp.h>

#include "fp_forms.h"

FP_FORMS_DEFINE(fp_form_library, "library");
