/* SPDX-License-Identifier: MIT */
/* fp_mul is a plain product that does not rescale; fp_mul_fp and fp_mul_fp_nearest multiply two
 * fixed-point values. */
#include <inttypes.h>
#include <stdio.h>

#include <fixedpoint/fp.h>

int main(void) {
  int32_t price = fp_div_int(cvt_int_fp(1999), 100); /* 19.99 */
  int32_t rate = fp_div_int(cvt_int_fp(3), 2);       /* 1.5 */
  int32_t wrong = fp_mul(price, rate);               /* raw product, 16384 times too large */
  int32_t total = fp_mul_fp(price, rate);            /* 29.984..., truncated toward zero */
  int32_t nearest = fp_mul_fp_nearest(price, rate);  /* the same product, rounded to nearest */
  char text[FP_FORMAT_MAX];
  fp_format(text, sizeof text, total, 5);
  /* prints "wrong -540901376, total 29.98499 (raw 491274), nearest 491274" */
  printf("wrong %" PRId32 ", total %s (raw %" PRId32 "), nearest %" PRId32 "\n", wrong, text, total,
         nearest);
  return 0;
}
