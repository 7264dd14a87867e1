/* Code that uses every function the way a consumer would. The build compiles it with the
 * strictest warnings a consumer is likely to use, as errors: as C99 and as C++11, 14, 17 and 20,
 * each with and without FIXEDPOINT_HEADER_ONLY. A warning inside the header fails the build. */
#include <fixedpoint/fp.h>

int32_t strict_consumer_uses_everything(int32_t a, int32_t b);

int32_t strict_consumer_uses_everything(int32_t a, int32_t b) {
  int32_t r = cvt_int_fp(a);
  r = fp_add(r, fp_round(b));
  r = fp_add(r, fp_to_nearest(b));
  r = fp_sub(r, fp_mul(a, b));
  r = fp_add(r, fp_div(a, b));
  r = fp_add_int(r, b);
  r = fp_sub_int(r, a);
  r = fp_mul_int(r, b);
  return fp_div_int(r, a);
}

#if defined(FIXEDPOINT_HEADER_ONLY) && defined(__cplusplus) && __cplusplus >= 201402L
static_assert(fp_div(cvt_int_fp(1), cvt_int_fp(60)) == 273, "constexpr in C++14 and later");
#endif
