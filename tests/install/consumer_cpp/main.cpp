// SPDX-License-Identifier: MIT
#include <fixedpoint/fp.h>

#include <iostream>

int main() {
  const int32_t third = fp_div(cvt_int_fp(1), cvt_int_fp(3));
  std::cout << "c++ " << third << ' ' << fp_to_nearest(fp_mul_int(third, 3)) << ' '
            << fp_div_int(-2147483647 - 1, -1) << '\n';
}
