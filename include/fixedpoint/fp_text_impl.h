/*
 * fixedpoint/fp_text_impl.h - the definitions of the functions declared in fp_text.h. Not a
 * header to include directly: it is included right after fp_impl.h, under the same four linkage
 * macros and with the same lack of include guard (see fp_impl.h). The includer also provides
 * <stddef.h> and <errno.h>, and fp_text.h's macros.
 *
 * The bodies are valid C99 and C++11. All arithmetic is on integers, except in the two double
 * conversions, whose every floating-point operation is exact. Nothing here reads the locale or
 * the rounding mode, calls libm, allocates or keeps state.
 *
 * Two facts about the format carry the decimal conversions:
 *   - |x| / 16384 = |x| * 5^14 / 10^14, and |x| * 5^14 <= 2^31 * 5^14 < 1.4e19 fits in uint64_t:
 *     every value is exactly a 64-bit integer count of units of 10^-14.
 *   - Every point where rounding to 17.14 changes, j / 32768, is j * 5^15 / 10^15, a decimal
 *     with at most 15 digits after the point. So floor(f * 32768) for a fraction f depends only
 *     on f's first 15 digits F: it is floor(F / 5^15). Later digits cannot move f across such a
 *     point; they only matter to the syntax.
 */

/* 5^14: one raw unit, 1/16384, is 5^14 units of 10^-14. */
#define FIXEDPOINT_TEXT_UNIT UINT64_C(6103515625)

/* 10^n, for 0 <= n <= 19. */
FIXEDPOINT_HELPER_RT uint64_t fp_impl_pow10(int n) {
  uint64_t p = 1;
  for (; n > 0; --n) p *= 10u;
  return p;
}

FIXEDPOINT_HELPER_RT uint32_t fp_impl_magnitude(int32_t x) {
  return x < 0 ? 0u - fp_impl_bits(x) : fp_impl_bits(x);
}

FIXEDPOINT_FN_RT double fp_to_double(int32_t x) {
  /* Both steps are exact: int32_t converts to double without loss, and dividing by 2^14 only
   * changes the exponent. */
  return FIXEDPOINT_CAST(double, x) / 16384.0;
}

FIXEDPOINT_FN_RT int32_t fp_from_double(double d) {
  /* The limits are INT32_MAX + 0.5 and INT32_MIN - 0.5 raw units: exact doubles, so the
   * comparisons decide exactly. NaN fails every comparison, hence the first test. */
  if (d != d) return 0;
  if (d >= 131071.999969482421875) return INT32_MAX;
  if (d <= -131072.000030517578125) return INT32_MIN;
  {
    /* Multiplying by 2^14 only changes the exponent, and within these limits the product is
     * below 2^31 + 0.5 in magnitude: exact. The conversion truncates toward zero under every
     * rounding mode and lands within int32_t; the difference is the product's fraction, which
     * has no more significant bits than the product: exact too. */
    const double scaled = d * 16384.0;
    const int32_t truncated = FIXEDPOINT_CAST(int32_t, scaled);
    const double rest = scaled - FIXEDPOINT_CAST(double, truncated);
    /* truncated + 1 needs rest >= 0.5, so scaled >= truncated + 0.5 and truncated is below
     * INT32_MAX; likewise for truncated - 1. */
    if (rest >= 0.5) return truncated + 1;
    if (rest <= -0.5) return truncated - 1;
    return truncated;
  }
}

/* Writes value / 10^fraction_digits at out: its integer part without leading zeros (at least
 * "0") and, when fraction_digits > 0, '.' and exactly fraction_digits digits. Returns the number
 * of characters written, at most 20 digits plus the point. */
FIXEDPOINT_HELPER_RT int fp_impl_put_decimal(char* out, uint64_t value, int fraction_digits) {
  char digits[20]; /* least significant first; UINT64_MAX has 20 digits */
  int count = 0;
  int length = 0;
  do {
    digits[count++] = FIXEDPOINT_CAST(char, '0' + value % 10u);
    value /= 10u;
  } while (value != 0 || count <= fraction_digits);
  while (count > 0) {
    if (count == fraction_digits) out[length++] = '.';
    out[length++] = digits[--count];
  }
  return length;
}

FIXEDPOINT_FN_RT int fp_format(char* buf, size_t size, int32_t x, int digits) {
  char text[FP_FORMAT_MAX];
  const uint64_t exact = fp_impl_magnitude(x) * FIXEDPOINT_TEXT_UNIT; /* |x| in 10^-14 units */
  uint64_t value;                                                     /* what is printed ... */
  int fraction_digits;                                                /* ... / 10^this */
  int length = 0;
  if (digits < -1 || digits > 14) return -1;
  if (digits >= 0) {
    /* unit / 2 is exact (unit is 1 or even) and exact + unit / 2 stays below 1.5e19. */
    const uint64_t unit = fp_impl_pow10(14 - digits);
    value = (exact + unit / 2) / unit;
    fraction_digits = digits;
  } else {
    /* The texts that read back as x are those within half a raw unit (5^14 / 2) of exact, and
     * never exactly that far: 2 * exact and 2 * a text's value are even, 5^14 is odd. Only the
     * text nearest to exact at a given number of fraction digits can fit, so try 0, 1, 2, ...
     * digits and keep the first nearest text that fits. Texts with the same number of fraction
     * digits all have the same length here (none reaches an integer, or the integer itself
     * would have fit). With 5 digits, steps of 10^-5 are below a raw unit, so one always fits,
     * and its last digit is not 0, or it would have fit with fewer. */
    for (fraction_digits = 0;; ++fraction_digits) {
      const uint64_t step = fp_impl_pow10(14 - fraction_digits);
      const uint64_t below = exact / step;
      const uint64_t gap = exact - below * step;
      const int up = 2 * gap > step || (2 * gap == step && (below & 1u) != 0);
      const uint64_t distance = up ? step - gap : gap;
      value = up ? below + 1 : below;
      if (2 * distance < FIXEDPOINT_TEXT_UNIT) break;
    }
  }
  if (x < 0 && value != 0) text[length++] = '-';
  length += fp_impl_put_decimal(text + length, value, fraction_digits);
  if (size > 0) {
    const size_t kept =
        FIXEDPOINT_CAST(size_t, length) < size ? FIXEDPOINT_CAST(size_t, length) : size - 1;
    size_t i;
    for (i = 0; i < kept; ++i) buf[i] = text[i];
    buf[kept] = '\0';
  }
  return length;
}

FIXEDPOINT_HELPER_RT int fp_impl_is_digit(char c) { return c >= '0' && c <= '9'; }

/* The C locale's white space: space, \t, \n, \v, \f, \r. */
FIXEDPOINT_HELPER_RT int fp_impl_is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

/* Digit i of the digits written before the point (integer, integer_count of them) followed by
 * those after it (fraction, fraction_count), as one sequence; 0 outside the sequence. */
FIXEDPOINT_HELPER_RT uint64_t fp_impl_digit_at(const char* integer, int64_t integer_count,
                                               const char* fraction, int64_t fraction_count,
                                               int64_t i) {
  if (i < 0) return 0;
  if (i < integer_count) return FIXEDPOINT_CAST(uint64_t, integer[i] - '0');
  i -= integer_count;
  return i < fraction_count ? FIXEDPOINT_CAST(uint64_t, fraction[i] - '0') : 0;
}

/* The end of fp_strtofp for a value beyond the range. */
FIXEDPOINT_HELPER_RT int32_t fp_impl_range_error(int negative) {
  errno = ERANGE;
  return negative ? INT32_MIN : INT32_MAX;
}

FIXEDPOINT_FN_RT int32_t fp_strtofp(const char* str, char** end) {
  const char* p = str;
  const char* integer;
  const char* fraction;
  int64_t integer_count;
  int64_t fraction_count = 0;
  int64_t exponent = 0;
  int64_t first; /* the first nonzero digit, counted in both parts */
  int64_t point; /* the value is 0.D * 10^point, D being both parts' digits */
  int64_t magnitude_digits;
  uint64_t whole = 0;
  uint64_t fifteen = 0; /* the first 15 digits after the point */
  uint64_t magnitude;
  int negative = 0;
  int hexadecimal;
  int64_t i;

  while (fp_impl_is_space(*p)) ++p;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  /* strtod would read "0x..." as hexadecimal; rather than read its "0" alone, reject it. p[1]
   * is only read when p[0] is '0', so never past the NUL. */
  hexadecimal = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
  integer = p;
  while (fp_impl_is_digit(*p)) ++p;
  integer_count = p - integer;
  fraction = p;
  if (*p == '.') {
    fraction = ++p;
    while (fp_impl_is_digit(*p)) ++p;
    fraction_count = p - fraction;
  }
  if (hexadecimal || integer_count + fraction_count == 0) {
    if (end != NULL) *end = FIXEDPOINT_CONST_CAST(char*, str);
    errno = EINVAL;
    return 0;
  }
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    int exponent_negative = 0;
    if (*q == '+' || *q == '-') exponent_negative = *q++ == '-';
    if (fp_impl_is_digit(*q)) {
      /* Beyond 10^17 the exponent stops growing: no string has that many digits for it to
       * offset, so the value is out of range or rounds to 0 all the same. */
      for (; fp_impl_is_digit(*q); ++q) {
        if (exponent < INT64_C(100000000000000000)) exponent = exponent * 10 + (*q - '0');
      }
      if (exponent_negative) exponent = -exponent;
      p = q;
    }
  }
  if (end != NULL) *end = FIXEDPOINT_CONST_CAST(char*, p);

  for (first = 0; first < integer_count + fraction_count; ++first) {
    if (fp_impl_digit_at(integer, integer_count, fraction, fraction_count, first) != 0) break;
  }
  if (first == integer_count + fraction_count) return 0;
  point = integer_count + exponent;
  /* 10^(magnitude_digits - 1) <= value < 10^magnitude_digits. */
  magnitude_digits = point - first;
  if (magnitude_digits > 6) return fp_impl_range_error(negative); /* >= 10^6 */
  if (magnitude_digits < -4) return 0; /* below 10^-5, less than half a raw unit */
  for (i = first; i < point; ++i) {
    whole = whole * 10u + fp_impl_digit_at(integer, integer_count, fraction, fraction_count, i);
  }
  for (i = point; i < point + 15; ++i) {
    fifteen = fifteen * 10u + fp_impl_digit_at(integer, integer_count, fraction, fraction_count, i);
  }
  /* Round half away on the magnitude: floor(f * 16384 + 1/2) = floor((floor(f * 32768) + 1) / 2),
   * and floor(f * 32768) = floor(fifteen / 5^15). */
  magnitude = whole * 16384u + (fifteen / UINT64_C(30517578125) + 1) / 2;
  if (magnitude > (negative ? UINT64_C(2147483648) : UINT64_C(2147483647))) {
    return fp_impl_range_error(negative);
  }
  return negative ? fp_impl_wrap(0u - FIXEDPOINT_CAST(uint32_t, magnitude))
                  : FIXEDPOINT_CAST(int32_t, magnitude);
}

#undef FIXEDPOINT_TEXT_UNIT
