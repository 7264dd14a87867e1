// SPDX-License-Identifier: MIT
// Header-only mode: every arithmetic function is constexpr in C++14 and later, with the results
// it has at run time. Prints "273 5931642".
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>

#include <cinttypes>
#include <cstdio>

constexpr int32_t sixtieth = fp_div(cvt_int_fp(1), cvt_int_fp(60));
static_assert(sixtieth == 273);
static_assert(fp_sqrt(INT32_MAX) == 5931642);

int main() { std::printf("%" PRId32 " %" PRId32 "\n", sixtieth, fp_sqrt(INT32_MAX)); }
