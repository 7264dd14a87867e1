// SPDX-License-Identifier: MIT
// The round trip through text for every 17.14 value, one shard at a time:
//
//   fp_text_round_trip SHARD SHARDS STRIDE
//
// visits x = INT32_MIN + i * STRIDE for the SHARD-th of SHARDS equal runs of i (STRIDE 1 visits
// all 2^32 values over the shards) and checks, for each x:
//   - fp_strtofp reads fp_format(x, -1) and fp_format(x, 14) back as x, to the end of the text,
//     without touching errno;
//   - the shortest form is shortest: no text with one fraction digit fewer reads back as x
//     (a shorter text would give one, padded with zeros);
//   - it is the nearest of its length: a neighbour one unit away in its last digit that also
//     reads back is farther from x, or as far with an odd last digit.
// "Reads back" is decided exactly, in integers: c / 10^k reads as x when it lies within half a
// raw unit of |x| / 16384, the lower edge included (halves go away from zero).
// Prints the first failures and exits 1 if there are any.
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fixedpoint/fp.h>

namespace {

constexpr uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000};
uint64_t Pow10(int n) { return kPow10[n]; }

// Whether c / 10^k (c < 10^12, k <= 5) rounds to the magnitude m: (m - 1/2) * 10^k <= c *
// 16384 < (m + 1/2) * 10^k, doubled to stay in integers.
bool ReadsBackAs(uint64_t c, int k, uint64_t m) {
  const uint64_t twice = 2 * c * 16384;
  return (2 * m - 1) * Pow10(k) <= twice && twice < (2 * m + 1) * Pow10(k);
}

uint64_t Distance(uint64_t c, int k, uint64_t m) {
  const uint64_t a = c * 16384;
  const uint64_t b = m * Pow10(k);
  return a > b ? a - b : b - a;
}

int failures = 0;

void Fail(int32_t x, const char* text, const char* what) {
  if (failures++ < 10) std::fprintf(stderr, "x = %" PRId32 ", text \"%s\": %s\n", x, text, what);
}

void CheckReadsBack(int32_t x, const char* text, int length) {
  char* end = nullptr;
  errno = 0;
  if (fp_strtofp(text, &end) != x) Fail(x, text, "reads back as another value");
  if (errno != 0) Fail(x, text, "reading back sets errno");
  if (end != text + length) Fail(x, text, "reading back stops before the end");
}

void Check(int32_t x) {
  char text[FP_FORMAT_MAX];
  const uint64_t m = static_cast<uint64_t>(x < 0 ? -int64_t{x} : int64_t{x});

  const int length = fp_format(text, sizeof text, x, -1);
  CheckReadsBack(x, text, length);
  uint64_t c = 0;  // the text is c / 10^k
  int k = -1;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '.') {
      k = 0;
    } else if (*p != '-') {
      c = c * 10 + static_cast<uint64_t>(*p - '0');
      if (k >= 0) ++k;
    }
  }
  k = k < 0 ? 0 : k;
  if (k > 5) {
    Fail(x, text, "more than 5 fraction digits");
    return;
  }
  if (k > 0) {
    // One digit fewer: a text that reads back lies within a raw unit (< 10^-4) of this one, so
    // it is one of the two multiples of 10^-(k-1) around it.
    for (const uint64_t shorter : {c / 10, c / 10 + 1}) {
      if (ReadsBackAs(shorter, k - 1, m)) Fail(x, text, "a shorter text reads back");
    }
  }
  for (const uint64_t neighbour : {c - 1, c + 1}) {
    if (c == 0 || !ReadsBackAs(neighbour, k, m)) continue;
    const uint64_t mine = Distance(c, k, m);
    const uint64_t theirs = Distance(neighbour, k, m);
    if (theirs < mine || (theirs == mine && c % 2 != 0)) Fail(x, text, "a nearer text reads back");
  }

  const int exact_length = fp_format(text, sizeof text, x, 14);
  CheckReadsBack(x, text, exact_length);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SHARD SHARDS STRIDE\n", argv[0]);
    return 2;
  }
  const uint64_t shard = std::strtoull(argv[1], nullptr, 10);
  const uint64_t shards = std::strtoull(argv[2], nullptr, 10);
  const uint64_t stride = std::strtoull(argv[3], nullptr, 10);
  if (shards == 0 || shard >= shards || stride == 0) {
    std::fprintf(stderr, "need SHARD < SHARDS and STRIDE > 0\n");
    return 2;
  }
  const uint64_t count = ((uint64_t{1} << 32) + stride - 1) / stride;
  const uint64_t first = count * shard / shards;
  const uint64_t last = count * (shard + 1) / shards;
  for (uint64_t i = first; i < last; ++i) {
    Check(static_cast<int32_t>(INT32_MIN + static_cast<int64_t>(i * stride)));
  }
  std::printf("shard %" PRIu64 "/%" PRIu64 ": %" PRIu64 " values, %d failures\n", shard, shards,
              last - first, failures);
  return failures == 0 ? 0 : 1;
}
