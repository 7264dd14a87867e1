/* SPDX-License-Identifier: MIT */
/*
 * fixedpoint/fp_text_impl.h - the definitions of the functions declared in fp_text.h. Not a
 * header to include directly: it is included right after fp_impl.h, under the same four linkage
 * macros and with the same lack of include guard (see fp_impl.h). The includer also provides
 * <stddef.h>, <errno.h> where FIXEDPOINT_HAS_ERRNO, and fp_text.h's macros.
 *
 * The bodies are valid C99 and C++11. All arithmetic is on integers, except in the two double
 * conversions, whose every floating-point operation is exact. Nothing here reads the locale or
 * the rounding mode, calls libm, allocates or keeps state.
 *
 * Two facts about the format carry the decimal conversions:
 *   - A value is its integer part |x| >> 14 plus a fraction part / 16384 with part < 2^14, and
 *     part * 10^k fits in 64 bits for every k <= 14 (in 32 bits for k <= 5): every decimal
 *     digit of the fraction, and every rounding of it, comes from an integer product and shift.
 *   - Every point where rounding to 17.14 changes, j / 32768, is j * 5^15 / 10^15, a decimal
 *     with at most 15 digits after the point. So floor(f * 32768) for a fraction f depends only
 *     on f's first 15 digits F: it is floor(F / 5^15). Later digits cannot move f across such a
 *     point; they only matter to the syntax.
 */

/* 10^n, for 0 <= n <= 19. */
FIXEDPOINT_HELPER_RT uint64_t fp_impl_pow10(int n) {
  uint64_t p = 1;
  for (; n > 0; --n) p *= 10u;
  return p;
}

FIXEDPOINT_FN_RT double fp_to_double(int32_t x) {
#ifdef FIXEDPOINT_DOUBLE_BITS
  /* The bits of the same double: the sign, the exponent of |x|'s leading bit less 14, and the
   * bits below that one, at most 31 of the significand's 52. */
  const uint32_t magnitude = x < 0 ? 0u - fp_impl_bits(x) : fp_impl_bits(x);
  uint64_t bits = 0; /* +0 for 0 */
  double d;
  if (magnitude != 0) {
    const int z = fp_impl_clz32(magnitude);
    const uint32_t below = (magnitude << z) << 1; /* two shifts: z + 1 may be 32 */
    const uint32_t high = (x < 0 ? 0x80000000u : 0u) |
                          (FIXEDPOINT_CAST(uint32_t, 1023 + 17 - z) << 20) | (below >> 12);
    bits = (FIXEDPOINT_CAST(uint64_t, high) << 32) | (below << 20);
  }
  __builtin_memcpy(&d, &bits, sizeof d);
  return d;
#else
  /* Both steps are exact: int32_t converts to double without loss, and dividing by 2^14 only
   * changes the exponent. */
  return FIXEDPOINT_CAST(double, x) / 16384.0;
#endif
}

FIXEDPOINT_FN_RT int32_t fp_from_double(double d) {
#ifdef FIXEDPOINT_DOUBLE_BITS
  /* From the bits: |d| * 2^14 = m * 2^-s, m being the significand (53 bits, fewer if d is
   * subnormal), which rounds half away from zero to floor((m + 2^(s-1)) / 2^s). For s <= 21 the
   * product is at least 2^52 * 2^-21 = 2^31, beyond both limits (infinity too); for s >= 54 it
   * is below 2^53 * 2^-54 = 1/2 and rounds to 0. */
  uint64_t bits;
  __builtin_memcpy(&bits, &d, sizeof bits);
  {
    const int negative = (bits >> 63) != 0;
    const int biased = FIXEDPOINT_CAST(int, (bits >> 52) & 0x7FFu);
    const uint64_t fraction = bits & ((UINT64_C(1) << 52) - 1);
    const uint64_t m = biased != 0 ? fraction | (UINT64_C(1) << 52) : fraction;
    const int s = biased != 0 ? 1061 - biased : 1060; /* d = m * 2^(biased - 1075), or 2^-1074 */
    uint64_t r;
    if (biased == 0x7FF && fraction != 0) return 0; /* NaN */
    if (s <= 21) return negative ? INT32_MIN : INT32_MAX;
    r = s >= 54 ? 0 : (m + (UINT64_C(1) << (s - 1))) >> s; /* below 2^32 */
    if (negative)
      return r >= 0x80000000u ? INT32_MIN : fp_impl_wrap(0u - FIXEDPOINT_CAST(uint32_t, r));
    return r > 0x7FFFFFFFu ? INT32_MAX : FIXEDPOINT_CAST(int32_t, r);
  }
#else
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
#endif
}

/* Writes whole and, when fraction_digits > 0, '.' and fraction as exactly fraction_digits digits
 * (fraction < 10^fraction_digits) at out. Returns the number of characters written. */
FIXEDPOINT_HELPER_RT int fp_impl_put_decimal(char* out, uint32_t whole, uint64_t fraction,
                                             int fraction_digits) {
  char digits[6]; /* whole <= 131072: at most 6 digits, least significant first */
  int count = 0;
  int length = 0;
  int i;
  do {
    digits[count++] = FIXEDPOINT_CAST(char, '0' + whole % 10u);
    whole /= 10u;
  } while (whole != 0);
  while (count > 0) out[length++] = digits[--count];
  if (fraction_digits > 0) {
    /* The fraction as 14 zero-padded digits, of which the last fraction_digits are written:
     * made as two independent runs of 7 (shorter chains of dependent divisions), each only as
     * far as needed. */
    char padded[14];
    /* fraction / 10^7 for fraction < 10^14 < 2^47: fraction / 2^15 < 2^32, and the estimate is
     * below the quotient by less than 2^15 / 10^7 + 1 + 1, so the remainder is below 3 * 10^7:
     * exact in 32-bit arithmetic modulo 2^32. */
    uint32_t high = fp_impl_div_estimate(fraction, 15, 14073748u);
    uint32_t low = FIXEDPOINT_CAST(uint32_t, fraction) - high * 10000000u;
    while (low >= 10000000u) low -= 10000000u, ++high;
    for (i = 6; i >= 0 && i + 7 >= 14 - fraction_digits; --i) {
      padded[i] = FIXEDPOINT_CAST(char, '0' + high % 10u);
      padded[i + 7] = FIXEDPOINT_CAST(char, '0' + low % 10u);
      high /= 10u;
      low /= 10u;
    }
    out[length++] = '.';
    for (i = 14 - fraction_digits; i < 14; ++i) out[length++] = padded[i];
  }
  return length;
}

FIXEDPOINT_FN_RT int fp_format(char* buf, size_t size, int32_t x, int digits) {
  char text[FP_FORMAT_MAX];
  char* out;
  const uint32_t magnitude = fp_impl_magnitude(x);
  uint32_t whole = magnitude >> 14;
  const uint32_t part = magnitude & 16383u; /* the fraction is part / 16384 */
  uint64_t fraction;                        /* what is printed after the point ... */
  int fraction_digits;                      /* ... with this many digits */
  int length = 0;
  if (digits < -1 || digits > 14) return -1;
  if (digits >= 0) {
    /* part * 10^digits / 16384, halves away from zero; part * 10^14 < 1.7e18 fits. A fraction
     * that rounds up to 10^digits carries into the integer part. */
    const uint64_t scale = fp_impl_pow10(digits);
    fraction = (part * scale + 8192u) >> 14;
    if (fraction == scale) {
      fraction = 0;
      ++whole;
    }
    fraction_digits = digits;
  } else {
    /* The texts that read back as x are those within half a raw unit of it, the lower edge
     * included. With k fraction digits the nearest text is c / 10^k, c = part * 10^k / 16384
     * rounded to nearest (a tie to even), at a distance of dist / (16384 * 10^k); it reads back
     * when 2 * dist < 10^k. (Never exactly half a unit away: c * 16384 - part * 10^k is a
     * multiple of 2^k, 10^k / 2 is not.) Only the nearest text can fit, so the first k whose
     * nearest fits gives the shortest text, and its last digit is not 0, or fewer digits would
     * have fitted. At k = 5 steps of 10^-5 are below a raw unit, so one always fits; part * 10^5
     * < 2^31. Texts with the same k have the same length: none reaches the next integer, since
     * only part == 0 is within half a raw unit of an integer. */
    uint32_t scale = 1;
    fraction = 0;
    for (fraction_digits = 0; part != 0 && fraction_digits < 5;) {
      uint32_t scaled;
      uint32_t c;
      uint32_t rest;
      uint32_t dist;
      ++fraction_digits;
      scale *= 10u;
      scaled = part * scale;
      c = scaled >> 14;
      rest = scaled & 16383u;
      if (rest > 8192u || (rest == 8192u && (c & 1u) != 0)) {
        ++c;
        dist = 16384u - rest;
      } else {
        dist = rest;
      }
      fraction = c;
      if (2 * dist < scale) break;
    }
  }
  /* Written straight into buf when it surely has room, else into text and cut to size. */
  out = size >= FP_FORMAT_MAX ? buf : text;
  if (x < 0 && (whole != 0 || fraction != 0)) out[length++] = '-';
  length += fp_impl_put_decimal(out + length, whole, fraction, fraction_digits);
  if (out == buf) {
    buf[length] = '\0';
  } else if (size > 0) {
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

/* The end of fp_from_chars for a value beyond the range: the saturated value. */
FIXEDPOINT_HELPER_RT int fp_impl_range_error(int negative, int32_t* value) {
  *value = negative ? INT32_MIN : INT32_MAX;
  return FP_ERANGE;
}

/* The character at p of a text that ends at last (bounded) or at its NUL (not bounded, last
 * unused): past the end it is '\0', which is part of no number. The parser moves one character
 * at a time and only past characters it has read, so p never passes last. */
/* The i-th significant digit, 0 outside the kept ones. */
FIXEDPOINT_HELPER_RT uint32_t fp_impl_digit_at(const int* significant, int kept, int i) {
  return FIXEDPOINT_CAST(uint32_t, i >= 0 && i < kept ? significant[i] : 0);
}

FIXEDPOINT_HELPER_RT char fp_impl_char_at(const char* p, const char* last, int bounded) {
  return !bounded || p != last ? *p : '\0';
}

/* fp_from_chars on [first, last), or, not bounded, on the text from first to its NUL. */
FIXEDPOINT_HELPER_RT int fp_impl_from_chars(const char* first, const char* last, int bounded,
                                            int32_t* value, const char** end) {
  /* Only 21 digits from the first nonzero one can matter: a value in range has at most 6
   * digits before the point, the next 15 decide the rounding, and a value whose first nonzero
   * digit is beyond the 5th after the point is below 10^-5 and rounds to 0. */
  int significant[21];
  int kept = 0;              /* digits in significant */
  int64_t leading_zeros = 0; /* before the first nonzero digit, on either side of the point */
  int64_t before_point = 0;  /* digits before the point */
  int64_t after_point = 0;   /* digits after the point */
  int64_t exponent = 0;
  int64_t point; /* the value is 0.S * 10^point, S being the significant digits */
  uint32_t whole = 0;
  uint32_t first_eight = 0, next_seven = 0;
  uint64_t fifteen; /* the first 15 digits after the point */
  uint64_t magnitude;
  uint32_t quotient; /* floor(fifteen / 5^15) */
  int negative = 0;
  int i;
  const char* p = first;
#define FIXEDPOINT_AT(q) fp_impl_char_at(q, last, bounded)

  if (FIXEDPOINT_AT(p) == '+' || FIXEDPOINT_AT(p) == '-') negative = *p++ == '-';
  /* strtod would read "0x..." as hexadecimal; rather than read its "0" alone, reject it. p[1]
   * is only read when p[0] is '0', so never past the end. */
  if (!(FIXEDPOINT_AT(p) == '0' && (FIXEDPOINT_AT(p + 1) == 'x' || FIXEDPOINT_AT(p + 1) == 'X'))) {
    for (; FIXEDPOINT_AT(p) == '0'; ++p) ++leading_zeros;
    for (; fp_impl_is_digit(FIXEDPOINT_AT(p)); ++p) {
      if (kept < 21) significant[kept++] = *p - '0';
      ++before_point;
    }
    before_point += leading_zeros;
    if (FIXEDPOINT_AT(p) == '.') {
      const char* fraction = ++p;
      if (kept == 0) {
        for (; FIXEDPOINT_AT(p) == '0'; ++p) ++leading_zeros;
      }
      for (; fp_impl_is_digit(FIXEDPOINT_AT(p)); ++p) {
        if (kept < 21) significant[kept++] = *p - '0';
      }
      after_point = p - fraction;
    }
  }
  if (before_point + after_point == 0) {
    if (end != NULL) *end = first;
    return FP_EINVAL;
  }
  if (FIXEDPOINT_AT(p) == 'e' || FIXEDPOINT_AT(p) == 'E') {
    const char* q = p + 1;
    int exponent_negative = 0;
    if (FIXEDPOINT_AT(q) == '+' || FIXEDPOINT_AT(q) == '-') exponent_negative = *q++ == '-';
    if (fp_impl_is_digit(FIXEDPOINT_AT(q))) {
      /* Beyond 10^17 the exponent stops growing: no text has that many digits for it to
       * offset, so the value is out of range or rounds to 0 all the same. */
      for (; fp_impl_is_digit(FIXEDPOINT_AT(q)); ++q) {
        if (exponent < INT64_C(100000000000000000)) exponent = exponent * 10 + (*q - '0');
      }
      if (exponent_negative) exponent = -exponent;
      p = q;
    }
  }
#undef FIXEDPOINT_AT
  if (end != NULL) *end = p;

  point = before_point + exponent - leading_zeros;
  if (kept == 0 || point < -4) { /* zero, or below 10^-5: less than half a raw unit */
    *value = 0;
    return 0;
  }
  if (point > 6) return fp_impl_range_error(negative, value); /* at least 10^6 */
  for (i = 0; i < point; ++i) whole = whole * 10u + fp_impl_digit_at(significant, kept, i);
  /* The fifteen digits as 8 and 7 in 32 bits, joined by one 32x32-bit product: 32-bit cores
   * multiply by 10 in one instruction, and 64-bit numbers only through the runtime. */
  for (i = FIXEDPOINT_CAST(int, point); i < point + 8; ++i) {
    first_eight = first_eight * 10u + fp_impl_digit_at(significant, kept, i);
  }
  for (; i < point + 15; ++i)
    next_seven = next_seven * 10u + fp_impl_digit_at(significant, kept, i);
  fifteen = fp_impl_mul_32x32(first_eight, 10000000u) + next_seven;
  /* Round half away on the magnitude: floor(f * 16384 + 1/2) = floor((floor(f * 32768) + 1) / 2),
   * and floor(f * 32768) = floor(fifteen / 5^15). */
  /* fifteen / 5^15 for fifteen < 10^15 < 2^50: fifteen / 2^18 < 2^32, and the estimate is below
   * the quotient by less than 2^18 / 5^15 + 1/2 + 1, so at most 1 correction. */
  quotient = fp_impl_div_estimate(fifteen, 18, 36893u);
  /* quotient * 5^15 modulo 2^64, 5^15 being 7 * 2^32 + 452807053 */
  if (fifteen - ((FIXEDPOINT_CAST(uint64_t, quotient * 7u) << 32) +
                 fp_impl_mul_32x32(quotient, 452807053u)) >=
      UINT64_C(30517578125)) {
    ++quotient;
  }
  magnitude = FIXEDPOINT_CAST(uint64_t, whole) * 16384u + (quotient + 1u) / 2u;
  if (magnitude > (negative ? UINT64_C(2147483648) : UINT64_C(2147483647))) {
    return fp_impl_range_error(negative, value);
  }
  *value = negative ? fp_impl_wrap(0u - FIXEDPOINT_CAST(uint32_t, magnitude))
                    : FIXEDPOINT_CAST(int32_t, magnitude);
  return 0;
}

FIXEDPOINT_FN_RT int fp_from_chars(const char* first, const char* last, int32_t* value,
                                   const char** end) {
  return fp_impl_from_chars(first, last, 1, value, end);
}

#if FIXEDPOINT_HAS_ERRNO
FIXEDPOINT_FN_RT int32_t fp_strtofp(const char* str, char** end) {
  int32_t value = 0;
  const char* stop;
  const char* p = str;
  int status;
  while (fp_impl_is_space(*p)) ++p;
  status = fp_impl_from_chars(p, p, 0, &value, &stop);
  if (status != 0) errno = status; /* FP_ERANGE and FP_EINVAL are ERANGE and EINVAL here */
  if (end != NULL) *end = FIXEDPOINT_CONST_CAST(char*, status == FP_EINVAL ? str : stop);
  return value;
}
#endif
