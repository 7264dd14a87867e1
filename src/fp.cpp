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

// Clang 14 leaves the conversions of the operands to double depending on the registers' previous
// contents, which in an out-of-line function are the previous call's: every call of fp_div then
// waits for the last one's division (measured 10 ns a call against 2.7 for the integer
// division). Its copies here divide in integers; inlined copies, which it compiles well, keep
// the double division. The results are the same.
#if defined(__clang__)
#undef FIXEDPOINT_SSE2_DIV
#endif

extern "C" {
#include "fixedpoint/fp_impl.h"
#include "fixedpoint/fp_text_impl.h"
}
