/* SPDX-License-Identifier: MIT */
/*
 * fixedpoint/fp_text.h - conversions between 17.14 values and double, and between 17.14 values
 * and decimal text. Included by fp.h (inside its extern "C" block); include fp.h, not this file.
 *
 * Every conversion is exact integer arithmetic on the value or on the decimal digits: nothing
 * depends on the locale, on the floating-point rounding mode or on libm, and nothing is
 * allocated. Every rounding is to nearest, halves away from zero, unless a contract says
 * otherwise.
 */
#ifndef FIXEDPOINT_FP_TEXT_H
#define FIXEDPOINT_FP_TEXT_H

/* A buffer size that holds every text fp_format writes, with its terminating NUL: the longest
 * is 22 characters, such as "-131072.00000000000000". */
#define FP_FORMAT_MAX 23

/* What fp_from_chars returns for a number beyond the range and for text that is not a number:
 * ERANGE and EINVAL where <errno.h> is used, and otherwise their values on Linux, the BSDs,
 * macOS, Windows and newlib alike. */
#if FIXEDPOINT_HAS_ERRNO
#define FP_ERANGE ERANGE
#define FP_EINVAL EINVAL
#else
#define FP_ERANGE 34
#define FP_EINVAL 22
#endif

/* Internal: removes const from a pointer, as strtod's char **end requires. */
#ifdef __cplusplus
#define FIXEDPOINT_CONST_CAST(type, value) const_cast<type>(value)
#else
#define FIXEDPOINT_CONST_CAST(type, value) ((type)(value))
#endif

/* Returns: x as a double, x / 16384. Exact for every x. */
FIXEDPOINT_FN_RT double fp_to_double(int32_t x);

/* Returns: the 17.14 value nearest to d.
 * Rounding: halves away from zero (raw 0.5 gives 1, raw -0.5 gives -1), the same on every
 * platform and under every floating-point rounding mode.
 * Edges: d >= 131071.999969482421875 (INT32_MAX plus half a raw unit, infinity included) gives
 * INT32_MAX; d <= -131072.000030517578125 gives INT32_MIN; NaN gives 0. */
FIXEDPOINT_FN_RT int32_t fp_from_double(double d);

/* Returns: the length of the decimal text of x, without the terminating NUL, like snprintf:
 * at most size bytes are written, the last of them a NUL whenever size > 0, so a result of
 * size or more means the text was cut short. buf may be NULL when size is 0. digits outside
 * -1..14 returns -1 and writes nothing.
 * digits == -1: the shortest text that fp_strtofp reads back as x; among texts of that length,
 *   the nearest to x, and on a tie the one whose last digit is even. 16384 gives "1", 273 gives
 *   "0.01666", 1 gives "0.00006", INT32_MAX gives "131071.99994".
 * 0 <= digits <= 14: exactly that many digits after the point, rounded to nearest, halves away
 *   from zero; 14 digits are the exact value. 273 with 14 gives "0.01666259765625", 16384 with
 *   2 gives "1.00", INT32_MIN with 0 gives "-131072".
 * Form: plain decimal in the C locale: "-" only before a nonzero result (-1 with 2 digits gives
 * "0.00", never "-0.00"), "0." before fractions below one, no "+", exponent, spaces or grouping.
 * The longest text, with its NUL, fits in FP_FORMAT_MAX bytes. */
FIXEDPOINT_FN_RT int fp_format(char* buf, size_t size, int32_t x, int digits);

/* Reads the decimal number at first, in the text [first, last), like std::from_chars: no white
 * space is skipped, no NUL is needed, and nothing at or past last is read (a NUL inside the range
 * ends the number like any other character that cannot continue it). The syntax ('+' included),
 * the rounding and the range are fp_strtofp's.
 * Returns: 0, storing the value in *value; FP_ERANGE for a number whose nearest value is beyond
 *   INT32_MAX or INT32_MIN, storing that saturated value; *end is then just past the number.
 *   FP_EINVAL for text that is not a number (an empty range, a leading space, "abc", "0x10"),
 *   storing nothing in *value and first in *end.
 * end may be NULL; value may not. first == last (both NULL too) is an empty range. */
FIXEDPOINT_FN_RT int fp_from_chars(const char* first, const char* last, int32_t* value,
                                   const char** end);

#if FIXEDPOINT_HAS_ERRNO
/* Returns: the 17.14 value nearest to the decimal number at the start of str, with strtod's
 * contract, in the C locale whatever the current one.
 * Syntax: leading white space (space, \t, \n, \v, \f, \r) is skipped; then an optional sign,
 *   decimal digits with an optional '.' (at least one digit in all), and an optional exponent:
 *   'e' or 'E', an optional sign and at least one digit. An 'e' without digits after it is not
 *   part of the number: "1e" and "1.5e+" end at the 'e'; "1." ends after the point.
 * Rounding: exact, to nearest, halves away from zero, for any number of digits and any
 *   exponent ("1e-400" gives 0, "0.000030517578125" (half a raw unit) gives 1). Time is linear
 *   in the length of the number; nothing is read past the NUL.
 * On success: *end points just past the number; errno is left alone.
 * Range: a number whose nearest value is beyond INT32_MAX or INT32_MIN ("131071.99997",
 *   "1e+99999999999") returns INT32_MAX or INT32_MIN and sets errno to ERANGE; *end is still
 *   set past the number. A nonzero number that rounds to 0 is not an error.
 * Not a number: no digits ("", "abc", ".", "-", "e5", "inf", "nan"), or a hexadecimal form
 *   ("0x10", "-0X1", "0x": "0x" or "0X" after the optional sign) returns 0, sets errno to
 *   EINVAL and stores str in *end.
 * end may be NULL. fp_from_chars with white space, errno and the NUL; not declared where
 * <errno.h> is not used. */
FIXEDPOINT_FN_RT int32_t fp_strtofp(const char* str, char** end);
#endif

#endif /* FIXEDPOINT_FP_TEXT_H */
