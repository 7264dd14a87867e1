/* SPDX-License-Identifier: MIT */
#include <fixedpoint/fp.h>
#include <inttypes.h>
#include <stdio.h>

int main(void) {
  const int32_t third = fp_div(cvt_int_fp(1), cvt_int_fp(3));
  printf("c %" PRId32 " %" PRId32 " %" PRId32 "\n", third, fp_to_nearest(fp_mul_int(third, 3)),
         fp_div(cvt_int_fp(1), 0));
  return 0;
}
