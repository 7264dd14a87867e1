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

}  // namespace
