// SPDX-License-Identifier: MIT
// The functions as a file that includes the header in header-only mode compiles them.
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include "harness.h"

void fpbench::RegisterHeaderForms() {
#define FORM "header"
#include "forms.inc"
#undef FORM
}
