// SPDX-License-Identifier: MIT
// The library: the functions of fixedpoint/fp.h compiled once as ordinary external functions
// with their plain C names. Their bodies are those that header-only mode uses.
#include "fixedpoint/fp.h"

#include <errno.h>

// Helpers become local to this file; the public functions keep fp.h's declarations.
#define FIXEDPOINT_FN FP_API
#define FIXEDPOINT_FN_RT FP_API
#define FIXEDPOINT_HELPER static inline constexpr
#define FIXEDPOINT_HELPER_RT static inline
#define FIXEDPOINT_DATA static constexpr

extern "C" {
#include "fixedpoint/fp_impl.h"
#include "fixedpoint/fp_text_impl.h"
}
