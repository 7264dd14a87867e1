// SPDX-License-Identifier: MIT
// fp_to_double, fp_from_double, fp_format and fp_strtofp in every form of the library (libfp,
// and the header-only definitions compiled as C++ and as C), checked against documented
// results and against the reference model of fp_text_reference.h on seeded generated inputs.
// The exhaustive round trip over all 2^32 values is fp_text_round_trip.cpp.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <fixedpoint/fp.h>

#include "fp_forms.h"
#include "fp_text_reference.h"

namespace {

namespace ref = fp_text_reference;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

class Text : public testing::TestWithParam<const fp_form*> {};

std::string Format(const fp_form& form, int32_t x, int digits) {
  char buf[FP_FORMAT_MAX];
  const int length = form.fp_format(buf, sizeof buf, x, digits);
  EXPECT_EQ(length, static_cast<int>(std::strlen(buf))) << "x = " << x << ", digits " << digits;
  return buf;
}

// What fp_strtofp did with one text: the value, errno (42 if untouched) and where *end points.
struct Outcome {
  int32_t value;
  int error;
  std::size_t length;
};
Outcome Read(const fp_form& form, const std::string& text) {
  char* end = nullptr;
  errno = 42;
  const int32_t value = form.fp_strtofp(text.c_str(), &end);
  const int error = errno;
  return {value, error, static_cast<std::size_t>(end - text.c_str())};
}

// Every x within 300 raw units of the points where texts change shape, and seeded random ones.
std::vector<int32_t> Values() {
  std::vector<int32_t> values;
  for (int64_t centre : {int64_t{kMin}, int64_t{-163840}, int64_t{-16384}, int64_t{0},
                         int64_t{16384}, int64_t{163840}, int64_t{1638400}, int64_t{kMax}}) {
    for (int64_t x = std::max<int64_t>(kMin, centre - 300);
         x <= std::min<int64_t>(kMax, centre + 300); ++x) {
      values.push_back(static_cast<int32_t>(x));
    }
  }
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> small(-(1 << 16), 1 << 16);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(any(rng));
    values.push_back(small(rng));
  }
  return values;
}

TEST_P(Text, FormatGivesTheDocumentedTexts) {
  const struct {
    int32_t x;
    int digits;
    const char* want;
  } rows[] = {
      {273, -1, "0.01666"},
      {2730000, -1, "166.626"},
      {16384, -1, "1"},
      {-8192, -1, "-0.5"},
      {1, -1, "0.00006"},
      {kMax, -1, "131071.99994"},
      {kMin, -1, "-131072"},
      {0, -1, "0"},
      {273, 14, "0.01666259765625"},
      {16384, 2, "1.00"},
      {kMin, 0, "-131072"},
      {kMin, 14, "-131072.00000000000000"},
      {kMax, 14, "131071.99993896484375"},
      {kMax, 0, "131072"},
      {-1, 2, "0.00"},       // rounds to zero: no "-"
      {-1, 4, "-0.0001"},    // 0.000061 rounds away from zero
      {-8192, 0, "-1"},      // -0.5: halves away from zero
      {8191, 0, "0"},        // 0.49994
      {-24576, 0, "-2"},     // -1.5
      {1, 5, "0.00006"},     // 0.0000610...
      {16383, 4, "0.9999"},  // 0.99993896...
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "x = " << row.x << ", digits " << row.digits);
    EXPECT_EQ(Format(*GetParam(), row.x, row.digits), row.want);
  }
}

TEST_P(Text, FormatMatchesTheReference) {
  static const std::vector<int32_t> values = Values();
  int failures = 0;
  for (int32_t x : values) {
    for (int digits = -1; digits <= 14; ++digits) {
      const std::string want = digits < 0 ? ref::Shortest(x) : ref::Format(x, digits);
      const std::string got = Format(*GetParam(), x, digits);
      if (got != want && failures++ < 5) {
        ADD_FAILURE() << "fp_format(" << x << ", " << digits << ") = " << got << ", want " << want;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

TEST_P(Text, FormatCutsShortAndRejectsLikeSnprintf) {
  const fp_form& form = *GetParam();
  EXPECT_EQ(form.fp_format(nullptr, 0, kMin, 14), 22);
  for (const int digits : {-2, 15, std::numeric_limits<int>::min()}) {
    char buf[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(form.fp_format(buf, sizeof buf, 1, digits), -1);
    EXPECT_EQ(std::string(buf, 4), "####") << "digits " << digits;
  }
  const std::string full = "-131071.99993896484375";
  for (std::size_t size = 1; size <= full.size() + 2; ++size) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    std::string buf(full.size() + 3, '#');
    EXPECT_EQ(form.fp_format(buf.data(), size, -kMax, 14), static_cast<int>(full.size()));
    const std::size_t kept = std::min(size - 1, full.size());
    EXPECT_EQ(buf.substr(0, kept), full.substr(0, kept));
    EXPECT_EQ(buf[kept], '\0');
    EXPECT_EQ(buf.substr(kept + 1), std::string(buf.size() - kept - 1, '#'));
  }
}

TEST_P(Text, StrtofpGivesTheDocumentedResults) {
  const std::string digits300(300, '3');
  const struct {
    std::string text;
    int32_t want;
    int error;  // 42: errno untouched
    std::size_t length;
  } rows[] = {
      {"1", 16384, 42, 1},
      {" \t\n\v\f\r-0.5x", -8192, 42, 10},
      {"+.5", 8192, 42, 3},
      {"1.", 16384, 42, 2},
      {"1e", 16384, 42, 1},
      {"1.5e+", 24576, 42, 3},
      {"1E-", 16384, 42, 1},
      {"2e1", 327680, 42, 3},
      {"-0", 0, 42, 2},
      {"00x10", 0, 42, 2},
      {"1e-400", 0, 42, 6},
      {"0.000030517578125", 1, 42, 17},   // half a raw unit: away from zero
      {"0.0000305175781249", 0, 42, 18},  // just below it
      {"-0.000030517578125", -1, 42, 18},
      {"131071.99993896484375", kMax, 42, 21},
      {"131071.999969482421874", kMax, 42, 22},
      {"131071.99997", kMax, ERANGE, 12},  // rounds to 2^31 raw units
      {"-131072.0000305175781249", kMin, 42, 24},
      {"-131072.000030517578125", kMin, ERANGE, 23},
      {"1e+99999999999", kMax, ERANGE, 14},
      {"-1e99999999999999999999999", kMin, ERANGE, 26},
      {"1000000e-1", 1638400000, 42, 10},
      {"0." + std::string(400, '0') + "1e400", 1638, 42, 407},              // 0.1
      {"1" + std::string(1000000, '0') + "e-1000000", 16384, 42, 1000010},  // exponent far out
      {digits300 + "e-299", 54613, 42, 305},                                // 3.33...
      {"1,5", 16384, 42, 1},  // the point is '.' in every locale
      {"", 0, EINVAL, 0},
      {"abc", 0, EINVAL, 0},
      {".", 0, EINVAL, 0},
      {"-", 0, EINVAL, 0},
      {"+.e1", 0, EINVAL, 0},
      {"e5", 0, EINVAL, 0},
      {"  inf", 0, EINVAL, 0},
      {"nan", 0, EINVAL, 0},
      {"0x10", 0, EINVAL, 0},
      {"-0X1", 0, EINVAL, 0},
      {"0x", 0, EINVAL, 0},
      {" +0x1p3", 0, EINVAL, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("text \"" + row.text + "\"");
    const Outcome got = Read(*GetParam(), row.text);
    EXPECT_EQ(got.value, row.want);
    EXPECT_EQ(got.error, row.error);
    EXPECT_EQ(got.length, row.length);
  }
  EXPECT_EQ(GetParam()->fp_strtofp("2.5", nullptr), 40960);
}

// Texts that sit on, just below and just above the points where the result changes, written in
// many ways: the halves (2m + 1) / 32768 with up to 15 digits, moved by one unit in the 16th to
// the 400th digit, with leading and trailing zeros and exponents; plus random digit strings.
std::vector<std::string> Texts() {
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<uint32_t> any_half(0, 0xFFFFFFFFu);
  std::uniform_int_distribution<int> small(0, 40);
  std::vector<std::string> texts;
  auto add = [&](std::string digits, int64_t point, bool negative) {
    // digits with the point after `point` of them (0 <= point <= size), written in one of
    // several equivalent ways.
    const std::string sign = negative ? "-" : (small(rng) % 4 == 0 ? "+" : "");
    const std::size_t p = static_cast<std::size_t>(point);
    texts.push_back(sign + digits.substr(0, p) + "." + digits.substr(p));
    const int zeros = small(rng);
    texts.push_back(sign + "0." + std::string(static_cast<std::size_t>(zeros), '0') + digits + "e" +
                    std::to_string(point + zeros));
    texts.push_back(sign + digits + std::string(static_cast<std::size_t>(zeros), '0') + "E-" +
                    std::to_string(static_cast<int64_t>(digits.size()) + zeros - point));
  };
  for (int i = 0; i < 4000; ++i) {
    // (2m + 1) / 32768 = (2m + 1) * 5^15 / 10^15 exactly; the largest are beyond the range.
    const uint64_t odd = 2 * uint64_t{any_half(rng) >> (i % 2 == 0 ? 0 : 16)} + 1;
    std::string digits;
    for (ref::Uint128 exact = ref::Uint128{odd} * 30517578125u; exact != 0; exact /= 10) {
      digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(exact % 10)));
    }
    digits = std::string(16 - std::min<std::size_t>(16, digits.size()), '0') + digits;
    const int64_t point = static_cast<int64_t>(digits.size()) - 15;
    const bool negative = i % 3 == 0;
    add(digits, point, negative);
    const std::size_t zeros = static_cast<std::size_t>(small(rng)) * 10;  // up to 400
    add(digits + std::string(zeros, '0') + "1", point, negative);
    std::string below = digits;
    --below.back();  // a half's last digit is 5
    add(below + std::string(zeros + 1, '9'), point, negative);
  }
  std::uniform_int_distribution<int> digit(0, 9);
  for (int i = 0; i < 4000; ++i) {
    std::string digits;
    const int length = 1 + small(rng) * (i % 10 == 0 ? 10 : 1);
    for (int k = 0; k < length; ++k) digits += static_cast<char>('0' + digit(rng));
    add(digits, std::uniform_int_distribution<int64_t>(0, length)(rng), i % 2 == 0);
  }
  return texts;
}

TEST_P(Text, StrtofpMatchesTheReference) {
  static const std::vector<std::string> texts = Texts();
  int failures = 0;
  for (const std::string& text : texts) {
    const ref::Read want = ref::Parse(text);
    const Outcome got = Read(*GetParam(), text);
    const int want_error = !want.number ? EINVAL : (want.range_error ? ERANGE : 42);
    const std::size_t want_length = want.number ? want.length : 0;
    if ((got.value != want.value || got.error != want_error || got.length != want_length) &&
        failures++ < 5) {
      ADD_FAILURE() << "fp_strtofp(\"" << text << "\") = " << got.value << " errno " << got.error
                    << " length " << got.length << ", want " << want.value << " errno "
                    << want_error << " length " << want_length;
    }
  }
  EXPECT_EQ(failures, 0);
}

// fp_from_chars on the same texts, each in a buffer of exactly its size (so that AddressSanitizer
// sees any read past the end) and cut short at a seeded random length, where reading on would
// see more digits. The reference reads the range as fp_strtofp reads it, but with no white space
// skipped: text that begins with white space is not a number.
static_assert(FP_ERANGE == ERANGE && FP_EINVAL == EINVAL);

TEST_P(Text, FromCharsMatchesTheReference) {
  static const std::vector<std::string> texts = Texts();
  std::mt19937 rng(20261212);
  int failures = 0;
  auto check = [&](const std::string& text) {
    const std::vector<char> range(text.begin(), text.end());
    const char* const first = range.data();
    ref::Read want = text.empty() || ref::IsSpace(text[0]) ? ref::Read{} : ref::Parse(text);
    int32_t value = 42;
    const char* end = nullptr;
    const int status = GetParam()->fp_from_chars(first, first + range.size(), &value, &end);
    const int want_status = !want.number ? FP_EINVAL : (want.range_error ? FP_ERANGE : 0);
    const int32_t want_value = want.number ? want.value : 42;  // untouched when not a number
    const std::size_t want_length = want.number ? want.length : 0;
    if ((status != want_status || value != want_value ||
         static_cast<std::size_t>(end - first) != want_length) &&
        failures++ < 5) {
      ADD_FAILURE() << "fp_from_chars(\"" << text << "\") = " << status << " value " << value
                    << " length " << end - first << ", want " << want_status << " value "
                    << want_value << " length " << want_length;
    }
  };
  for (const std::string& text : texts) {
    check(text);
    check(text.substr(0, std::uniform_int_distribution<std::size_t>(0, text.size())(rng)));
  }
  for (const char* text : {"", " 1", "\t2", "+", "-", ".", "e5", "1e", "1.5e+", "0x10", "-0X1",
                           "inf", "131071.99997", "-131072", "-131072.00004"}) {
    check(text);
  }
  const std::string nul(
      "7\0"
      "8",
      3);  // a NUL inside the range ends the number
  check(nul);
  int32_t value = 42;
  const char* end = nullptr;
  EXPECT_EQ(GetParam()->fp_from_chars(nullptr, nullptr, &value, &end), FP_EINVAL);
  EXPECT_EQ(end, nullptr);
  EXPECT_EQ(GetParam()->fp_from_chars(nul.data(), nul.data() + 3, &value, nullptr), 0);
  EXPECT_EQ(failures, 0);
}

// The exact decimal expansion of d, as glibc's printf writes it, read by the reference model.
int32_t RefFromDouble(double d) {
  if (std::isnan(d)) return 0;
  if (std::isinf(d)) return d > 0 ? kMax : kMin;
  std::vector<char> text(1500);
  std::snprintf(text.data(), text.size(), "%.1100f", d);
  return ref::Parse(text.data()).value;
}

// Doubles on, just beside and between the points where the result changes, beyond the range,
// and random bit patterns, each with the result the reference gives it.
std::vector<std::pair<double, int32_t>> Doubles() {
  std::mt19937_64 rng(20261211);
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::vector<double> doubles = {0.0,
                                 -0.0,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::denorm_min(),
                                 -std::numeric_limits<double>::max(),
                                 1e300,
                                 131071.999969482421875,
                                 -131072.000030517578125};
  for (int i = 0; i < 5000; ++i) {
    const int32_t x = any(rng);
    const double half = (2.0 * x + 1) / 32768;  // exact: a 33-bit numerator
    const double scale = std::ldexp(1.0, -static_cast<int>(rng() % 60));
    doubles.insert(doubles.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9),
                                   -half, x / 16384.0 + scale, static_cast<double>(x) * scale,
                                   std::bit_cast<double>(rng())});
  }
  std::vector<std::pair<double, int32_t>> pairs;
  for (double d : doubles) pairs.emplace_back(d, RefFromDouble(d));
  return pairs;
}

TEST_P(Text, DoubleConversionsAreExactUnderEveryRoundingMode) {
  static const std::vector<std::pair<double, int32_t>> doubles = Doubles();
  const fp_form& form = *GetParam();
  for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    int failures = 0;
    for (const auto& [d, want] : doubles) {
      std::fesetround(mode);
      const int32_t got = form.fp_from_double(d);
      std::fesetround(FE_TONEAREST);
      if (got != want && failures++ < 5) {
        ADD_FAILURE() << "mode " << mode << ": fp_from_double(" << std::hexfloat << d
                      << std::defaultfloat << ") = " << got << ", want " << want;
      }
    }
    EXPECT_EQ(failures, 0) << "mode " << mode;
  }
  std::mt19937 rng(20261212);
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  constexpr int32_t kEdges[] = {kMin, kMax, 0, 1, -1, 3, -16384, kMin + 1};
  for (int i = 0; i < 5000; ++i) {
    const int32_t x = i < std::ssize(kEdges) ? kEdges[i] : any(rng);
    // strtod reads an exact decimal that a double can hold without rounding; the bits are
    // compared, so that 0 must be +0.
    EXPECT_EQ(std::bit_cast<uint64_t>(form.fp_to_double(x)),
              std::bit_cast<uint64_t>(std::strtod(ref::Format(x, 14).c_str(), nullptr)))
        << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, Text, testing::ValuesIn(kFpForms), FpFormName());

}  // namespace
