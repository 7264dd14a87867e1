/* SPDX-License-Identifier: MIT */
/* A first C program: a truncating division, the two roundings, and a checked sum. */
#include <inttypes.h>
#include <stdio.h>

#include <fixedpoint/fp.h>

int main(void) {
  int32_t third = fp_div(cvt_int_fp(1), cvt_int_fp(3));               /* 5461, about 0.33331 */
  int32_t x = fp_mul_int(third, 3);                                   /* 16383, just under 1.0 */
  printf("%" PRId32 " %" PRId32 "\n", fp_round(x), fp_to_nearest(x)); /* prints "0 1" */

  int32_t sum;
  if (fp_add_ckd(&sum, INT32_MAX, 1)) puts("overflow"); /* prints "overflow" */
  return 0;
}
