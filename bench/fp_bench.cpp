// SPDX-License-Identifier: MIT
// What the library costs over the same arithmetic written inline: each function through libfp
// ("/library"), through the header-only definitions ("/header"), through fixed.hpp ("/cxx") and
// as the bare integer expression a careful caller would write by hand ("/inline"). See harness.h
// for the method. The program exits 1, before timing anything, if any form disagrees with the
// inline one.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <random>

#include "harness.h"

namespace fpbench {

Workspace workspace;

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

Operands MakeOperands(Domain domain) {
  std::mt19937 rng(20261208 + static_cast<uint32_t>(domain));
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> nearest(kMin + 8192, kMax - 8192);
  std::uniform_int_distribution<int32_t> exp_range(-170344, 193058);
  std::uniform_int_distribution<int32_t> exp2_range(-245760, 278527);
  std::uniform_int_distribution<int32_t> positive(1, kMax);
  std::uniform_int_distribution<int32_t> base(1, 256 * 16384);
  std::uniform_int_distribution<int32_t> exponent(-4 * 16384 + 1, 4 * 16384 - 1);
  std::uniform_int_distribution<int32_t> angle(-16 * 16384, 16 * 16384);
  std::uniform_int_distribution<int32_t> unit(-16384, 16384);
  std::uniform_int_distribution<int32_t> point(-256 * 16384, 256 * 16384);
  Operands ops;
  while (ops.x.size() < kElements) {
    int32_t x = 0;
    switch (domain) {
      case Domain::kNearestRange:
        x = nearest(rng);
        break;
      case Domain::kExpRange:
        x = exp_range(rng);
        break;
      case Domain::kExp2Range:
        x = exp2_range(rng);
        break;
      case Domain::kPositive:
        x = positive(rng);
        break;
      case Domain::kPowPairs:
        x = base(rng);
        break;
      case Domain::kAngle:
        x = angle(rng);
        break;
      case Domain::kUnit:
        x = unit(rng);
        break;
      case Domain::kPoints:
        x = point(rng);
        break;
      default:
        x = any(rng);
        break;
    }
    if (domain == Domain::kNonNegative && x < 0) x = static_cast<int32_t>(-int64_t{x} - 1);
    const int32_t y = domain == Domain::kPowPairs ? exponent(rng)
                      : domain == Domain::kPoints ? point(rng)
                                                  : any(rng);
    if ((domain == Domain::kDivisor || domain == Domain::kIntDivisor) && y == 0) continue;
    if (domain == Domain::kIntDivisor && x == kMin && y == -1) continue;
    ops.x.push_back(x);
    ops.y.push_back(y);
  }
  return ops;
}

std::map<std::string, std::vector<int32_t>> first_results;
int mismatches = 0;

// The hand-written forms keep to defined behaviour the way a careful author would, with
// wrapping done in unsigned arithmetic; that compiles to the same instructions as the signed
// operators.
uint32_t U(int32_t v) { return static_cast<uint32_t>(v); }
int32_t S(uint32_t v) { return static_cast<int32_t>(v); }

void RegisterInlineForms() {
  const char* const form = "inline";
  Register("cvt_int_fp", form, Domain::kAny, [](int32_t x, int32_t) { return S(U(x) << 14); });
  Register("fp_round", form, Domain::kAny, [](int32_t x, int32_t) { return x / 16384; });
  Register("fp_to_nearest", form, Domain::kNearestRange,
           [](int32_t x, int32_t) { return x >= 0 ? (x + 8192) / 16384 : (x - 8192) / 16384; });
  Register("fp_add", form, Domain::kAny, [](int32_t x, int32_t y) { return S(U(x) + U(y)); });
  Register("fp_sub", form, Domain::kAny, [](int32_t x, int32_t y) { return S(U(x) - U(y)); });
  Register("fp_mul", form, Domain::kAny, [](int32_t x, int32_t y) { return S(U(x) * U(y)); });
  Register("fp_div", form, Domain::kDivisor,
           [](int32_t x, int32_t y) { return static_cast<int32_t>(int64_t{x} * 16384 / y); });
  Register("fp_add_int", form, Domain::kAny,
           [](int32_t x, int32_t n) { return S(U(x) + (U(n) << 14)); });
  Register("fp_sub_int", form, Domain::kAny,
           [](int32_t x, int32_t n) { return S(U(x) - (U(n) << 14)); });
  Register("fp_mul_int", form, Domain::kAny, [](int32_t x, int32_t n) { return S(U(x) * U(n)); });
  Register("fp_div_int", form, Domain::kIntDivisor, [](int32_t x, int32_t n) { return x / n; });

  Register("fp_mul_fp", form, Domain::kAny,
           [](int32_t x, int32_t y) { return static_cast<int32_t>(int64_t{x} * y / 16384); });
  Register("fp_mul_fp_nearest", form, Domain::kAny, [](int32_t x, int32_t y) {
    const int64_t p = int64_t{x} * y;
    return static_cast<int32_t>((p + (p < 0 ? -8192 : 8192)) / 16384);
  });
  Register("fp_floor", form, Domain::kAny, [](int32_t x, int32_t) { return x >> 14; });
  Register("fp_ceil", form, Domain::kAny,
           [](int32_t x, int32_t) { return static_cast<int32_t>((int64_t{x} + 16383) >> 14); });
  Register("fp_sqrt", form, Domain::kNonNegative, [](int32_t x, int32_t) {
    return static_cast<int32_t>(std::sqrt(static_cast<double>(x) * 16384) + 0.5);
  });

  // Saturation: clamp the 64-bit result.
  const auto clamp = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, kMin, kMax));
  };
  Register("cvt_int_fp_sat", form, Domain::kAny,
           [clamp](int32_t n, int32_t) { return clamp(int64_t{n} * 16384); });
  Register("fp_add_sat", form, Domain::kAny,
           [clamp](int32_t x, int32_t y) { return clamp(int64_t{x} + y); });
  Register("fp_sub_sat", form, Domain::kAny,
           [clamp](int32_t x, int32_t y) { return clamp(int64_t{x} - y); });
  Register("fp_mul_fp_sat", form, Domain::kAny,
           [clamp](int32_t x, int32_t y) { return clamp(int64_t{x} * y / 16384); });
  Register("fp_div_sat", form, Domain::kDivisor,
           [clamp](int32_t x, int32_t y) { return clamp(int64_t{x} * 16384 / y); });
  Register("fp_add_int_sat", form, Domain::kAny,
           [clamp](int32_t x, int32_t n) { return clamp(x + int64_t{n} * 16384); });
  Register("fp_sub_int_sat", form, Domain::kAny,
           [clamp](int32_t x, int32_t n) { return clamp(x - int64_t{n} * 16384); });
  Register("fp_mul_int_sat", form, Domain::kAny,
           [clamp](int32_t x, int32_t n) { return clamp(int64_t{x} * n); });
  Register("fp_div_int_sat", form, Domain::kDivisor,
           [clamp](int32_t x, int32_t n) { return clamp(int64_t{x} / n); });

  // The everyday functions as a caller writes them with the standard library and 64-bit
  // intermediates.
  Register("fp_abs", form, Domain::kAny,
           [](int32_t x, int32_t) { return x < 0 ? S(0u - U(x)) : x; });
  Register("fp_abs_sat", form, Domain::kAny,
           [](int32_t x, int32_t) { return x == kMin ? kMax : (x < 0 ? -x : x); });
  Register("fp_min", form, Domain::kAny, [](int32_t x, int32_t y) { return std::min(x, y); });
  Register("fp_max", form, Domain::kAny, [](int32_t x, int32_t y) { return std::max(x, y); });
  Register("fp_clamp", form, Domain::kAny,
           [](int32_t x, int32_t) { return std::clamp(x, -(1 << 30), 1 << 30); });
  Register("fp_lerp", form, Domain::kAny, [clamp](int32_t a, int32_t b) {
    const int64_t p = (int64_t{b} - a) * (b & 0x3FFF);
    return clamp(a + (p + (p < 0 ? -8192 : 8192)) / 16384);
  });
  Register("fp_fmod", form, Domain::kIntDivisor, [](int32_t x, int32_t y) { return x % y; });
  Register("fp_round_even", form, Domain::kAny, [](int32_t x, int32_t) {
    const int32_t down = x >> 14;
    const int32_t fraction = x & 0x3FFF;
    return down + (fraction > 8192 || (fraction == 8192 && (down & 1) != 0) ? 1 : 0);
  });
  // Scaling by 2^(14 - n) or 2^(n - 14): a clamped left shift, or a right shift rounded half
  // away from zero.
  const auto scale = [clamp](int32_t v, int s) {
    if (s >= 0) return clamp(int64_t{v} << s);
    const int64_t half = int64_t{1} << (-s - 1);
    return static_cast<int32_t>((v + (v < 0 ? -half : half)) / (int64_t{1} << -s));
  };
  Register("fp_from_q", form, Domain::kAny,
           [scale](int32_t v, int32_t y) { return scale(v, 14 - (y & 31)); });
  Register("fp_to_q", form, Domain::kAny,
           [scale](int32_t x, int32_t y) { return scale(x, (y & 31) - 14); });

  // Checking: the low 32 bits of the 64-bit result, and whether they are all of it. The result
  // is complemented when overflow is reported so that both outputs are used.
  const auto checked = [](int64_t v) {
    const auto r = static_cast<int32_t>(v);
    return r != v ? ~r : r;
  };
  Register("cvt_int_fp_ckd", form, Domain::kAny,
           [checked](int32_t n, int32_t) { return checked(int64_t{n} * 16384); });
  Register("fp_add_ckd", form, Domain::kAny, [](int32_t x, int32_t y) {
    int32_t r = 0;
    return __builtin_add_overflow(x, y, &r) ? ~r : r;
  });
  Register("fp_sub_ckd", form, Domain::kAny, [](int32_t x, int32_t y) {
    int32_t r = 0;
    return __builtin_sub_overflow(x, y, &r) ? ~r : r;
  });
  Register("fp_mul_fp_ckd", form, Domain::kAny,
           [checked](int32_t x, int32_t y) { return checked(int64_t{x} * y / 16384); });
  Register("fp_div_ckd", form, Domain::kDivisor,
           [checked](int32_t x, int32_t y) { return checked(int64_t{x} * 16384 / y); });
  Register("fp_add_int_ckd", form, Domain::kAny,
           [checked](int32_t x, int32_t n) { return checked(x + int64_t{n} * 16384); });
  Register("fp_sub_int_ckd", form, Domain::kAny,
           [checked](int32_t x, int32_t n) { return checked(x - int64_t{n} * 16384); });
  Register("fp_mul_int_ckd", form, Domain::kAny, [](int32_t x, int32_t n) {
    int32_t r = 0;
    return __builtin_mul_overflow(x, n, &r) ? ~r : r;
  });
  Register("fp_div_int_ckd", form, Domain::kDivisor,
           [checked](int32_t x, int32_t n) { return checked(int64_t{x} / n); });
  Register("fp_abs_ckd", form, Domain::kAny,
           [](int32_t x, int32_t) { return x == kMin ? ~kMin : (x < 0 ? -x : x); });
  Register("fp_sqrt_ckd", form, Domain::kAny, [](int32_t x, int32_t) {
    if (x < 0) return ~0;
    return static_cast<int32_t>(std::sqrt(static_cast<double>(x) * 16384) + 0.5);
  });
}

}  // namespace

const Operands& OperandsFor(Domain domain) {
  static std::map<Domain, Operands> cache;
  auto it = cache.find(domain);
  if (it == cache.end()) it = cache.emplace(domain, MakeOperands(domain)).first;
  return it->second;
}

void LoadOperands(const Operands& ops) {
  std::copy(ops.x.begin(), ops.x.end(), workspace.x);
  std::copy(ops.y.begin(), ops.y.end(), workspace.y);
}

bool CheckResults(const std::string& function, const char* form, const Operands& ops,
                  const std::vector<int32_t>& results) {
  const auto [first, inserted] = first_results.emplace(function, results);
  if (inserted) return true;
  bool same = true;
  for (std::size_t i = 0; i < kElements; ++i) {
    if (results[i] == first->second[i]) continue;
    same = false;
    if (mismatches++ < 10) {
      std::fprintf(stderr, "%s(%d, %d): %s %d, inline %d\n", function.c_str(), ops.x[i], ops.y[i],
                   form, results[i], first->second[i]);
    }
  }
  return same;
}

}  // namespace fpbench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  fpbench::RegisterInlineForms();
  fpbench::RegisterDoubleForms();
  fpbench::RegisterLibraryForms();
  fpbench::RegisterHeaderForms();
  fpbench::RegisterCxxForms();
  if (fpbench::mismatches != 0) {
    std::fprintf(stderr, "fp_bench: %d results differ from the inline forms\n",
                 fpbench::mismatches);
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
