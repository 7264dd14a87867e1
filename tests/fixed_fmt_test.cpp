// SPDX-License-Identifier: MIT
// {fmt}'s formatter for fixedpoint::fixed against fp_format on the same values, its padding, and
// the format options it refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <fixedpoint/fp.h>
#include <fixedpoint/fmt.hpp>

#include "operand_pairs.h"

namespace {

using fixedpoint::fixed;
using namespace fixedpoint::literals;

std::string Format(int32_t v, int digits) {
  char text[FP_FORMAT_MAX];
  fp_format(text, sizeof text, v, digits);
  return text;
}

TEST(FixedFmt, WritesWhatFpFormatWrites) {
  EXPECT_EQ(fmt::format("{:.3f}", 1.5_fx), "1.500");
  int failures = 0;
  const auto& pairs = fptest::OperandPairs();
  for (std::size_t i = 0; i < pairs.size(); i += 10) {
    const int32_t v = pairs[i].first;
    bool right = fmt::format("{}", fixed::from_raw(v)) == Format(v, -1) &&
                 fmt::format("{:f}", fixed::from_raw(v)) == Format(v, 6);
    for (int digits = 0; digits <= 14; ++digits) {
      right = right && fmt::format(fmt::runtime("{:." + std::to_string(digits) + "f}"),
                                   fixed::from_raw(v)) == Format(v, digits);
    }
    if (!right && failures++ < 5) ADD_FAILURE() << "raw " << v;
  }
  EXPECT_EQ(failures, 0);
}

TEST(FixedFmt, PadsWithTheFillAndAlignment) {
  const struct {
    const char* format;
    fixed x;
    const char* want;
  } rows[] = {
      {"[{:6}]", 1.5_fx, "[   1.5]"},          {"[{:<6}]", 1.5_fx, "[1.5   ]"},
      {"[{:*^9.2f}]", -1.5_fx, "[**-1.50**]"}, {"[{:*^8}]", 1.5_fx, "[**1.5***]"},
      {"[{:0>8.1f}]", 1.5_fx, "[000001.5]"},   {"[{:2}]", 131.5_fx, "[131.5]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.format);
    EXPECT_EQ(fmt::format(fmt::runtime(row.format), row.x), row.want);
  }
}

TEST(FixedFmt, RefusesWhatItCannotWrite) {
  for (const char* format :
       {"{:.3}", "{:.15f}", "{:.f}", "{:08}", "{:+}", "{:e}", "{:1000}", "{:=5}", "{:f }"}) {
    SCOPED_TRACE(format);
    EXPECT_THROW(static_cast<void>(fmt::format(fmt::runtime(format), 1.5_fx)), fmt::format_error);
  }
}

}  // namespace
