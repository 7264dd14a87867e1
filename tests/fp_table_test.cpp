// SPDX-License-Identifier: MIT
// Hand-picked cases for each function: the points where rounding, truncation or wrap-around
// change, both signs of every division, and the zero-divisor results.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <limits>

#include <fixedpoint/fp.h>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct UnaryCase {
  int32_t x;
  int32_t want;
};

struct BinaryCase {
  int32_t x;
  int32_t y;
  int32_t want;
};

void ExpectRows(int32_t (*f)(int32_t), std::initializer_list<UnaryCase> rows) {
  for (const UnaryCase& row : rows) {
    SCOPED_TRACE(testing::Message() << "x = " << row.x);
    EXPECT_EQ(f(row.x), row.want);
  }
}

void ExpectRows(int32_t (*f)(int32_t, int32_t), std::initializer_list<BinaryCase> rows) {
  for (const BinaryCase& row : rows) {
    SCOPED_TRACE(testing::Message() << "x = " << row.x << ", y = " << row.y);
    EXPECT_EQ(f(row.x, row.y), row.want);
  }
}

TEST(CvtIntFp, ScalesBy16384AndWrapsOutsideTheRange) {
  ExpectRows(cvt_int_fp, {{0, 0},
                          {1, 16384},
                          {60, 983040},
                          {-1, -16384},
                          {131071, 2147467264},
                          {-131072, kMin},
                          {131072, kMin},
                          {-131073, 2147467264},
                          {kMax, -16384}});
}

TEST(FpRound, TruncatesTowardZero) {
  ExpectRows(fp_round, {{16384, 1},
                        {24575, 1},
                        {28672, 1},  // 1.75
                        {8191, 0},
                        {-1, 0},
                        {-16384, -1},
                        {-16385, -1},
                        {-24576, -1},
                        {-28672, -1},  // -1.75
                        {kMax, 131071},
                        {kMin, -131072}});
}

TEST(FpToNearest, RoundsHalvesAwayFromZero) {
  ExpectRows(fp_to_nearest, {{0, 0},
                             {8191, 0},
                             {8192, 1},
                             {-8191, 0},
                             {-8192, -1},
                             {24575, 1},
                             {24576, 2},
                             {-24576, -2},
                             {2147475455, 131071},
                             {-2147475456, -131072}});
}

TEST(FpToNearest, StaysExactAtBothEndsOfTheRange) {
  ExpectRows(fp_to_nearest, {{2147475456, 131072},
                             {2147479551, 131072},
                             {kMax - 1, 131072},
                             {kMax, 131072},
                             {-2147475457, -131072},
                             {-2147479552, -131072},
                             {kMin + 1, -131072},
                             {kMin, -131072}});
}

TEST(FpAdd, AddsRawValuesAndWraps) {
  ExpectRows(fp_add, {{16384, 8192, 24576}, {-16384, 16384, 0}, {kMax, 1, kMin}, {kMin, -1, kMax}});
}

TEST(FpSub, SubtractsRawValuesAndWraps) {
  ExpectRows(fp_sub, {{24576, 8192, 16384}, {0, 16384, -16384}, {kMin, 1, kMax}, {0, kMin, kMin}});
}

TEST(FpMul, IsAPlainProductWithoutRescaling) {
  ExpectRows(fp_mul, {{273, 1, 273},
                      {16384, 16384, 268435456},
                      {65536, 65536, 0},
                      {-3, 7, -21},
                      {kMin, -1, kMin},
                      {kMax, kMax, 1}});
}

TEST(FpDiv, TruncatesTowardZero) {
  ExpectRows(fp_div, {{16384, 983040, 273},
                      {49152, 32768, 24576},
                      {-16384, 49152, -5461},
                      {16384, -49152, -5461},
                      {-16384, -49152, 5461},
                      {16384, -16384, -16384},
                      {-16384, -16384, 16384},
                      {1, kMax, 0},
                      {-1, kMax, 0}});
}

TEST(FpDiv, KeepsTheLow32BitsOfALargeQuotient) {
  ExpectRows(fp_div, {{1073741824, 1, 0}, {kMin, -1, 0}, {kMax, -1, 16384}, {131072, 1, kMin}});
}

TEST(FpDiv, ZeroDivisorGivesTheEndOfTheRangeOnTheDividendsSide) {
  ExpectRows(fp_div, {{1, 0, kMax}, {kMax, 0, kMax}, {-1, 0, kMin}, {kMin, 0, kMin}, {0, 0, 0}});
}

TEST(FpAddInt, AddsTheScaledIntegerAndWraps) {
  ExpectRows(fp_add_int, {{0, -1, -16384},
                          {8192, 2, 40960},
                          {kMax, 1, -2147467265},
                          {0, 131072, kMin},
                          {16384, 131072, -2147467264}});
}

TEST(FpSubInt, SubtractsTheScaledIntegerAndWraps) {
  ExpectRows(fp_sub_int,
             {{16384, 1, 0}, {8192, 1, -8192}, {kMin, 1, 2147467264}, {0, 131072, kMin}});
}

TEST(FpMulInt, MultipliesByTheIntegerAndWraps) {
  ExpectRows(fp_mul_int,
             {{273, 10000, 2730000}, {-8192, 3, -24576}, {kMin, -1, kMin}, {65536, 65536, 0}});
}

TEST(FpDivInt, TruncatesTowardZero) {
  ExpectRows(
      fp_div_int,
      {{-7, 2, -3}, {7, -2, -3}, {-7, -2, 3}, {7, 2, 3}, {24576, 2, 12288}, {kMax, kMax, 1}});
}

TEST(FpDivInt, HandlesTheQuotientsThatDoNotFitOrDoNotExist) {
  ExpectRows(fp_div_int, {{kMin, -1, kMin},
                          {kMax, -1, -kMax},
                          {1, 0, kMax},
                          {-1, 0, kMin},
                          {kMin, 0, kMin},
                          {0, 0, 0}});
}

TEST(FpMulFp, RescalesAndTruncatesTowardZero) {
  ExpectRows(fp_mul_fp, {{16384, 16384, 16384},
                         {-1, 1, 0},
                         {1, -1, 0},
                         {24576, 24576, 36864},  // 1.5 * 1.5 = 2.25
                         {-24576, 24576, -36864},
                         {3, 5461, 0},
                         {kMax, 16384, kMax},
                         {kMin, 16384, kMin},
                         {kMin, -16384, kMin},  // 131072.0 wraps
                         {kMax, kMax, -262144}});
}

TEST(FpMulFpNearest, RoundsHalvesAwayFromZero) {
  ExpectRows(fp_mul_fp_nearest, {{1, 8192, 1},
                                 {-1, 8192, -1},
                                 {1, 8191, 0},
                                 {-1, 8191, 0},
                                 {3, 8192, 2},  // 1.5 units
                                 {-3, 8192, -2},
                                 {16384, 16384, 16384},
                                 {kMin, -16384, kMin}});
}

TEST(FpFloorAndCeil, RoundDownAndUp) {
  ExpectRows(fp_floor, {{-1, -1},
                        {0, 0},
                        {16383, 0},
                        {16384, 1},
                        {-16384, -1},
                        {-16385, -2},
                        {kMin, -131072},
                        {kMax, 131071}});
  ExpectRows(fp_ceil, {{1, 1},
                       {0, 0},
                       {16384, 1},
                       {16385, 2},
                       {-1, 0},
                       {-16385, -1},
                       {kMin, -131072},
                       {kMax, 131072}});
}

TEST(FpSqrt, IsCorrectlyRoundedAndZeroForNegatives) {
  ExpectRows(fp_sqrt, {{16384, 16384},
                       {65536, 32768},
                       {kMax, 5931642},
                       {0, 0},
                       {1, 128},
                       {3, 222},  // sqrt(3 * 16384) = 221.70
                       {-1, 0},
                       {kMin, 0}});
}

// The saturating forms at one raw unit either side of each end of the range, zero divisors and
// INT32_MIN / -1.
TEST(Saturating, ClampsAtBothEndsOfTheRange) {
  ExpectRows(cvt_int_fp_sat, {{131071, 2147467264},
                              {131072, kMax},
                              {-131072, kMin},
                              {-131073, kMin},
                              {kMax, kMax},
                              {kMin, kMin}});
  ExpectRows(fp_add_sat, {{kMax - 1, 1, kMax},
                          {kMax, 1, kMax},
                          {kMin + 1, -1, kMin},
                          {kMin, -1, kMin},
                          {kMax, kMin, -1}});
  ExpectRows(fp_sub_sat, {{kMax - 1, -1, kMax},
                          {kMax, -1, kMax},
                          {kMin + 1, 1, kMin},
                          {kMin, 1, kMin},
                          {0, kMin, kMax},
                          {-1, kMin, kMax}});
  ExpectRows(fp_mul_fp_sat, {{kMax, 16384, kMax},
                             {kMax, 16385, kMax},
                             {kMin, 16384, kMin},
                             {kMin, -16384, kMax},
                             {kMin, 16385, kMin},
                             {-1, 1, 0}});
  ExpectRows(fp_div_sat, {{kMax, 16384, kMax},
                          {kMax, 16383, kMax},
                          {kMin, 16384, kMin},
                          {kMin, -16384, kMax},
                          {1, 0, kMax},
                          {-1, 0, kMin},
                          {0, 0, 0}});
  ExpectRows(fp_add_int_sat, {{kMax - 16384, 1, kMax},
                              {kMax - 16383, 1, kMax},
                              {0, 131072, kMax},
                              {kMin, -1, kMin},
                              {kMax, kMin, kMin},
                              {-1, 131072, kMax}});
  ExpectRows(fp_sub_int_sat, {{kMin + 16384, 1, kMin},
                              {kMin + 16383, 1, kMin},
                              {-1, 131072, kMin},
                              {0, 131072, kMin},
                              {kMin, kMin, kMax}});
  ExpectRows(fp_mul_int_sat, {{kMax, 1, kMax},
                              {kMax, 2, kMax},
                              {kMin, -1, kMax},
                              {kMin, 1, kMin},
                              {-65536, 32768, kMin},
                              {-65536, 32769, kMin}});
  ExpectRows(
      fp_div_int_sat,
      {{kMin, -1, kMax}, {kMax, -1, -kMax}, {1, 0, kMax}, {-1, 0, kMin}, {0, 0, 0}, {-7, 2, -3}});
}

struct CheckedCase {
  int32_t x;
  int32_t y;
  int32_t want;
  bool overflow;
};

void ExpectChecked(bool (*f)(int32_t*, int32_t, int32_t), std::initializer_list<CheckedCase> rows) {
  for (const CheckedCase& row : rows) {
    SCOPED_TRACE(testing::Message() << "x = " << row.x << ", y = " << row.y);
    int32_t result = 12345;
    EXPECT_EQ(f(&result, row.x, row.y), row.overflow);
    EXPECT_EQ(result, row.want);
  }
}

// The checked forms store the wrapped result and report exactly the results that do not fit.
TEST(Checked, StoreTheWrappedResultAndReportOverflow) {
  ExpectChecked(fp_add_ckd, {{kMax - 1, 1, kMax, false},
                             {kMax, 1, kMin, true},
                             {kMin, -1, kMax, true},
                             {kMin + 1, -1, kMin, false}});
  ExpectChecked(fp_sub_ckd,
                {{0, kMin, kMin, true}, {-1, kMin, kMax, false}, {kMin, 1, kMax, true}});
  ExpectChecked(fp_mul_fp_ckd, {{kMax, 16384, kMax, false},
                                {kMin, -16384, kMin, true},
                                {kMax, 16385, -2147352578, true},
                                {-1, 1, 0, false}});
  ExpectChecked(fp_div_ckd, {{16384, 983040, 273, false},
                             {1073741824, 1, 0, true},
                             {1, 0, kMax, true},
                             {-1, 0, kMin, true},
                             {0, 0, 0, true},
                             {kMax, -1, 16384, true}});
  ExpectChecked(fp_add_int_ckd, {{0, 131071, 2147467264, false},
                                 {0, 131072, kMin, true},
                                 {-16384, 131072, 2147467264, false},
                                 {kMax, 1, -2147467265, true}});
  ExpectChecked(fp_sub_int_ckd,
                {{0, -131072, kMin, true}, {0, 131072, kMin, false}, {kMin, 1, 2147467264, true}});
  ExpectChecked(fp_mul_int_ckd, {{273, 10000, 2730000, false},
                                 {kMin, -1, kMin, true},
                                 {65536, 65536, 0, true},
                                 {kMin, 1, kMin, false}});
  ExpectChecked(fp_div_int_ckd, {{kMin, -1, kMin, true},
                                 {kMax, -1, -kMax, false},
                                 {5, 0, kMax, true},
                                 {0, 0, 0, true},
                                 {-7, 2, -3, false}});
}

TEST(Checked, UnaryFormsReportOverflowAndNegativeRoots) {
  const struct {
    bool (*f)(int32_t*, int32_t);
    int32_t x;
    int32_t want;
    bool overflow;
  } rows[] = {{cvt_int_fp_ckd, 131071, 2147467264, false},
              {cvt_int_fp_ckd, 131072, kMin, true},
              {cvt_int_fp_ckd, -131072, kMin, false},
              {cvt_int_fp_ckd, -131073, 2147467264, true},
              {fp_sqrt_ckd, 16384, 16384, false},
              {fp_sqrt_ckd, 0, 0, false},
              {fp_sqrt_ckd, -1, 0, true},
              {fp_sqrt_ckd, kMin, 0, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "x = " << row.x);
    int32_t result = 12345;
    EXPECT_EQ(row.f(&result, row.x), row.overflow);
    EXPECT_EQ(result, row.want);
  }
}

// The documented edges of the absolute value, clamping, interpolation, remainder, rounding to
// even and the Q formats (their references check every other input).
TEST(FpAbs, WrapsSaturatesOrReportsTheLowestValue) {
  ExpectRows(fp_abs, {{kMin, kMin}, {kMin + 1, kMax}, {-1, 1}});
  ExpectRows(fp_abs_sat, {{kMin, kMax}, {kMin + 1, kMax}});
  int32_t result = 0;
  EXPECT_TRUE(fp_abs_ckd(&result, kMin));
  EXPECT_EQ(result, kMin);
  EXPECT_FALSE(fp_abs_ckd(&result, kMin + 1));
  EXPECT_EQ(result, kMax);
}

struct TernaryCase {
  int32_t x;
  int32_t y;
  int32_t z;
  int32_t want;
};

void ExpectRows(int32_t (*f)(int32_t, int32_t, int32_t), std::initializer_list<TernaryCase> rows) {
  for (const TernaryCase& row : rows) {
    SCOPED_TRACE(testing::Message() << "x = " << row.x << ", y = " << row.y << ", z = " << row.z);
    EXPECT_EQ(f(row.x, row.y, row.z), row.want);
  }
}

TEST(FpClamp, TakesBoundsInTheWrongOrderInOrder) {
  ExpectRows(fp_clamp, {{0, 5, 1, 1}, {3, 5, 1, 3}, {9, 5, 1, 5}, {kMin, kMax, kMin, kMin}});
}

TEST(FpLerp, IsExactAtBothEndsRoundsHalvesAwayAndSaturates) {
  ExpectRows(fp_lerp, {{kMin, kMax, 0, kMin},
                       {kMin, kMax, 16384, kMax},
                       {kMax, kMin, 16384, kMin},
                       {0, 1, 8192, 1},  // half a raw unit
                       {0, -1, 8192, -1},
                       {0, 1, 8191, 0},
                       {0, kMax, 32768, kMax},
                       {0, kMin, 32768, kMin},
                       {kMax, kMin, kMin, kMax}});
}

TEST(FpFmod, HasTheSignOfXAndIsZeroForAZeroDivisor) {
  ExpectRows(fp_fmod, {{90112, 32768, 24576},  // 5.5 and 2.0 give 1.5
                       {-90112, 32768, -24576},
                       {90112, -32768, 24576},
                       {7, 0, 0},
                       {kMin, -1, 0},
                       {kMin, kMax, -1}});
}

TEST(FpRoundEven, RoundsTiesToEven) {
  ExpectRows(fp_round_even, {{8192, 0},
                             {24576, 2},
                             {40960, 2},
                             {-8192, 0},
                             {-24576, -2},
                             {kMax, 131072},
                             {kMin, -131072}});
}

TEST(FpQFormats, RoundHalvesAwayAndSaturateForEveryFracBits) {
  const struct {
    int32_t (*f)(int32_t, int);
    int32_t v;
    int frac_bits;
    int32_t want;
  } rows[] = {{fp_from_q, 1 << 15, 15, 16384},
              {fp_from_q, 1, 15, 1},
              {fp_from_q, -1, 15, -1},
              {fp_from_q, 131072, 0, kMax},
              {fp_from_q, -1, std::numeric_limits<int>::min(), kMin},
              {fp_from_q, kMin, std::numeric_limits<int>::max(), 0},
              {fp_to_q, 8192, 0, 1},
              {fp_to_q, 8192, 31, 1 << 30},
              {fp_to_q, 16384, 31, kMax},
              {fp_to_q, -16384, 31, kMin},
              {fp_to_q, 1, std::numeric_limits<int>::max(), kMax},
              {fp_to_q, kMax, std::numeric_limits<int>::min(), 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << (row.f == fp_from_q ? "fp_from_q(" : "fp_to_q(") << row.v
                                    << ", " << row.frac_bits << ")");
    EXPECT_EQ(row.f(row.v, row.frac_bits), row.want);
  }
}

}  // namespace
