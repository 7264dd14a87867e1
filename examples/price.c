/* SPDX-License-Identifier: MIT */
/* Reads a price, triples it and prints the result: text in and out with fp_strtofp and
 * fp_format. Prints "59.97 (raw 982548)". */
#include <errno.h>
#include <inttypes.h>
#include <stdio.h>

#include <fixedpoint/fp.h>

int main(void) {
  const char* input = "19.99";
  char* end;
  char text[FP_FORMAT_MAX];
  errno = 0;
  const int32_t price = fp_strtofp(input, &end); /* 327516, the nearest to 19.99 * 16384 */
  if (end == input || *end != '\0' || errno != 0) {
    fprintf(stderr, "not a price: %s\n", input);
    return 1;
  }
  const int32_t total = fp_mul_int(price, 3);
  fp_format(text, sizeof text, total, 2);
  printf("%s (raw %" PRId32 ")\n", text, total); /* prints "59.97 (raw 982548)" */
  return 0;
}
