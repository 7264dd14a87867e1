// SPDX-License-Identifier: MIT
// The functions as a program that links libfp calls them.
#include <fixedpoint/fp.h>

#include "harness.h"

void fpbench::RegisterLibraryForms() {
#define FORM "library"
#include "forms.inc"
#undef FORM
}
