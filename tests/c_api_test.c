/* SPDX-License-Identifier: MIT */
/* Compiled as C: fails to build if fp.h stops being valid C, and fails to run if a C caller
 * gets different results or cannot link the plain symbol names. */
#include <stdint.h>
#include <stdio.h>

#include <fp.h> /* the include path that code written for 1.0 uses */

static int failures = 0;

/* FP_FROM_INT is an integer constant expression in C. */
static const int32_t one = FP_FROM_INT(1);
static const int32_t table[] = {FP_FROM_INT(-1), FP_FROM_INT(131072)};

static void expect(const char* call, int32_t got, int32_t want) {
  if (got != want) {
    fprintf(stderr, "%s = %ld, want %ld\n", call, (long)got, (long)want);
    ++failures;
  }
}

int main(void) {
  expect("cvt_int_fp(60)", cvt_int_fp(60), 983040);
  expect("fp_round(-24576)", fp_round(-24576), -1);
  expect("fp_to_nearest(-24576)", fp_to_nearest(-24576), -2);
  expect("fp_add(16384, 8192)", fp_add(16384, 8192), 24576);
  expect("fp_sub(16384, 8192)", fp_sub(16384, 8192), 8192);
  expect("fp_mul(16384, 16384)", fp_mul(16384, 16384), 268435456);
  expect("fp_div(16384, 983040)", fp_div(16384, 983040), 273);
  expect("fp_add_int(0, -1)", fp_add_int(0, -1), -16384);
  expect("fp_sub_int(16384, 1)", fp_sub_int(16384, 1), 0);
  expect("fp_mul_int(273, 10000)", fp_mul_int(273, 10000), 2730000);
  expect("fp_div_int(7, -2)", fp_div_int(7, -2), -3);
  expect("FP_FROM_INT(1)", one, 16384);
  expect("FP_FROM_INT(-1)", table[0], cvt_int_fp(-1));
  expect("FP_FROM_INT(131072)", table[1], cvt_int_fp(131072));
  expect("fp_abs_sat(INT32_MIN)", fp_abs_sat(INT32_MIN), INT32_MAX);
  expect("fp_clamp(9, 5, 1)", fp_clamp(9, 5, 1), 5);
  expect("fp_lerp(0, 16384, 8192)", fp_lerp(0, 16384, 8192), 8192);
  expect("fp_fmod(-90112, 32768)", fp_fmod(-90112, 32768), -24576);
  expect("fp_round_even(40960)", fp_round_even(40960), 2);
  expect("fp_from_q(1, 15)", fp_from_q(1, 15), 1);
  expect("fp_to_q(8192, 31)", fp_to_q(8192, 31), 1 << 30);
  return failures == 0 ? 0 : 1;
}
