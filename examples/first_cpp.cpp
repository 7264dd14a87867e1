// SPDX-License-Identifier: MIT
// The C functions from C++: the same header and the same symbols.
#include <cinttypes>
#include <cstdio>

#include <fixedpoint/fp.h>

int main() {
  const int32_t price = fp_add(cvt_int_fp(19), fp_div_int(cvt_int_fp(99), 100));  // about 19.99
  const int32_t total = fp_mul_int(price, 3);                                     // about 59.97
  std::printf("%" PRId32 "\n", fp_to_nearest(total));                             // prints "60"
}
