// SPDX-License-Identifier: MIT
// The exponentials, logarithms and powers in every form of the library against the reference
// model of fp_elementary_reference.h, one shard at a time:
//
//   fp_elementary_scan FUNCTION SHARD SHARDS STRIDE [--print-hard-cases]
//   fp_elementary_scan pow SHARD SHARDS PAIRS
//
// FUNCTION is exp, exp2, log, log2 or log10. --print-hard-cases prints the hard cases that the
// scan finds as rows of fp_elementary_hard_cases.inc, the table that tools/hard-cases makes.
// A unary function visits x = INT32_MIN + i * STRIDE for the SHARD-th of SHARDS equal runs of i
// (STRIDE 1 visits all 2^32 inputs over the shards). With a coarser stride, shard 0 also visits
// every input within 70000 raw units of the points where the function changes character. Shard 0
// always checks the table of hard cases, every input within 2^-20 raw units of a tie, and, with
// MPFR, the table's results; a scan of every input checks that the table holds exactly the hard
// cases of its range. pow checks PAIRS seeded random and structured pairs in all.
//
// Each input is checked in the library, header-only C++ and header-only C forms, plain and
// _ckd: the value, and the report exactly when the input lies outside the domain or the result
// saturated. (The fourth form, without SSE2, compiles the same code: none of these functions has
// an SSE2 path.) A form built to take the slow path
// on every call is checked too, on the hard cases, every 64th input of a strided scan and every
// 4096th of a full one, and every 16th pair. Prints a summary, with how often the header-only C
// form took its slow path, and the first failures; exits 1 if any.
#include <algorithm>
#include <array>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fp_elementary_reference.h"
#include "fp_forms.h"

namespace {

namespace ref = fp_elementary_reference;
using ref::Function;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
const long double kNear = std::ldexp(1.0L, -19);  // closer than this: MPFR decides
const long double kHard = std::ldexp(1.0L, -20);  // closer than this: a hard case

struct HardCase {
  Function function;
  int32_t x;
  int32_t value;
};
#define HARD(function, x, value) {Function::k##function, x, value},
constexpr HardCase kHardCases[] = {
#include "fp_elementary_hard_cases.inc"
};
#undef HARD

const std::array<const fp_form*, 3> kForms = {&fp_form_library, &fp_form_header_cpp,
                                              &fp_form_header_c};

int failures = 0;
void Fail(const std::string& what) {
  if (failures++ < 10) std::fprintf(stderr, "%s\n", what.c_str());
}

int32_t Saturate(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, kMin, kMax)); }

const HardCase* FindHardCase(Function f, int32_t x) {
  for (const HardCase& h : kHardCases) {
    if (h.function == f && h.x == x) return &h;
  }
  return nullptr;
}

// The counts one scan gathers.
struct Counts {
  uint64_t inputs = 0;
  uint64_t near = 0;  // decided by MPFR or the table
  uint64_t hard = 0;  // within 2^-20 raw units of a tie
  uint64_t undecided = 0;
};

// The reference result of f at x, noting whether it was near a tie and a hard case.
std::optional<int64_t> Reference(Function f, int32_t x, Counts& counts, bool* hard) {
  *hard = false;
  if (const auto trivial = ref::Trivial(f, x)) return *trivial;
  const ref::Rounded quick = ref::RoundAway(ref::Libm(f, x));
  if (quick.distance >= kNear) return quick.value;
  ++counts.near;
#if FP_HAVE_MPFR
  const ref::Rounded exact = ref::Mpfr(f, x);
  *hard = exact.distance < kHard;
  counts.hard += *hard ? 1 : 0;
  return exact.value;
#else
  if (const HardCase* h = FindHardCase(f, x)) {
    *hard = true;
    ++counts.hard;
    return h->value;
  }
  // Nearer than 2^-19 by this target's libm, but not a hard case: this libm's error is small
  // enough (well below 2^-21 raw units) that the value lies farther than 2^-20 from the tie, so
  // its rounding stands.
  if (quick.distance >= std::ldexp(1.0L, -21)) return quick.value;
  ++counts.undecided;
  return std::nullopt;
#endif
}

using Unary = int32_t (*)(int32_t);
using UnaryCkd = bool (*)(int32_t*, int32_t);
struct UnaryForms {
  Unary fp_form::*plain;
  UnaryCkd fp_form::*checked;
};

UnaryForms FormsOf(Function f) {
  switch (f) {
    case Function::kExp:
      return {&fp_form::fp_exp, &fp_form::fp_exp_ckd};
    case Function::kExp2:
      return {&fp_form::fp_exp2, &fp_form::fp_exp2_ckd};
    case Function::kLog:
      return {&fp_form::fp_log, &fp_form::fp_log_ckd};
    case Function::kLog2:
      return {&fp_form::fp_log2, &fp_form::fp_log2_ckd};
    case Function::kLog10:
      break;
  }
  return {&fp_form::fp_log10, &fp_form::fp_log10_ckd};
}

// Compares the forms of f at x with the reference value: every form, and the one that always
// takes the slow path when asked.
void CheckUnary(Function f, std::string_view name, int32_t x, int64_t want, bool slow = false) {
  const UnaryForms forms = FormsOf(f);
  const int32_t want_value = Saturate(want);
  const bool want_report = want != want_value;
  std::vector<const fp_form*> checked(kForms.begin(), kForms.end());
  if (slow) checked.push_back(&fp_form_header_c_slow);
  for (const fp_form* form : checked) {
    const int32_t got = (form->*forms.plain)(x);
    int32_t stored = 12345;
    const bool reported = (form->*forms.checked)(&stored, x);
    if (got != want_value || stored != want_value || reported != want_report) {
      Fail(std::string(form->name) + " fp_" + std::string(name) + "(" + std::to_string(x) +
           ") = " + std::to_string(got) + ", _ckd stored " + std::to_string(stored) +
           " and returned " + std::to_string(reported) + "; want " + std::to_string(want_value) +
           (want_report ? ", reported" : ""));
    }
  }
}

int ScanUnary(Function f, std::string_view name, std::string_view label, uint64_t shard,
              uint64_t shards, uint64_t stride, bool print_hard_cases) {
  Counts counts;
  std::vector<int32_t> hard_found;
  const long long slow_before = fp_form_header_c_slow_paths;
  auto visit = [&](int32_t x) {
    ++counts.inputs;
    bool hard = false;
    const std::optional<int64_t> want = Reference(f, x, counts, &hard);
    if (hard) {
      hard_found.push_back(x);
      if (print_hard_cases) {
        std::printf("HARD(%s, %" PRId32 ", %" PRId64 ")\n", std::string(label).c_str(), x, *want);
      }
    }
    if (want) CheckUnary(f, name, x, *want, counts.inputs % (stride == 1 ? 4096 : 64) == 0);
  };
  const uint64_t count = ((uint64_t{1} << 32) + stride - 1) / stride;
  const uint64_t first = count * shard / shards;
  const uint64_t last = count * (shard + 1) / shards;
  for (uint64_t i = first; i < last; ++i) {
    visit(static_cast<int32_t>(kMin + static_cast<int64_t>(i * stride)));
  }
  if (stride > 1 && shard == 0) {
    std::vector<int64_t> centres = {kMin, -16384, 0, 16384, kMax};
    if (f == Function::kExp) centres.insert(centres.end(), {193059, -170344});
    if (f == Function::kExp2) centres.insert(centres.end(), {278528, -245760});
    std::sort(centres.begin(), centres.end());
    int64_t next = kMin;  // windows that overlap are visited once
    for (const int64_t centre : centres) {
      for (int64_t x = std::max(next, centre - 70000); x <= std::min<int64_t>(kMax, centre + 70000);
           ++x) {
        if ((x - kMin) % static_cast<int64_t>(stride) != 0) visit(static_cast<int32_t>(x));
        next = x + 1;
      }
    }
  }
  // The table of hard cases: their stored results, and with MPFR, those results themselves.
  uint64_t table = 0;
  if (shard == 0) {
    for (const HardCase& h : kHardCases) {
      if (h.function != f) continue;
      ++table;
      CheckUnary(f, name, h.x, h.value, true);
#if FP_HAVE_MPFR
      const ref::Rounded exact = ref::Mpfr(f, h.x);
      if (exact.value != h.value || exact.distance >= kHard) {
        Fail("hard case fp_" + std::string(name) + "(" + std::to_string(h.x) +
             "): the table says " + std::to_string(h.value) + ", MPFR " +
             std::to_string(exact.value));
      }
#endif
    }
  }
  // Every input of a range: the hard cases found there are exactly the table's.
  if (stride == 1 && FP_HAVE_MPFR) {
    const int64_t low = kMin + static_cast<int64_t>(first);
    const int64_t high = kMin + static_cast<int64_t>(last);  // exclusive
    uint64_t in_table = 0;
    for (const HardCase& h : kHardCases) in_table += h.function == f && h.x >= low && h.x < high;
    for (const int32_t x : hard_found) {
      if (FindHardCase(f, x) == nullptr) {
        Fail("fp_" + std::string(name) + "(" + std::to_string(x) +
             ") lies within 2^-20 raw units of a tie but is not in the table of hard cases");
      }
    }
    if (in_table != hard_found.size()) {
      Fail("the table holds " + std::to_string(in_table) + " hard cases of fp_" +
           std::string(name) + " in this range, the scan found " +
           std::to_string(hard_found.size()));
    }
  }
  if (counts.undecided != 0) {
    Fail(std::to_string(counts.undecided) + " inputs near a tie that this target cannot decide");
  }
  std::printf("%s shard %" PRIu64 "/%" PRIu64 ": %" PRIu64 " inputs, %" PRIu64
              " near a tie (%" PRIu64 " within 2^-20), %" PRIu64
              " hard cases from the table, slow path %lld times in header_c; %d failures\n",
              std::string(name).c_str(), shard, shards, counts.inputs, counts.near, counts.hard,
              table, fp_form_header_c_slow_paths - slow_before, failures);
  return failures == 0 ? 0 : 1;
}

// ---- Powers ------------------------------------------------------------------------------------

std::optional<int64_t> PowReference(int32_t x, int32_t y, Counts& counts) {
  if (y == 0) return 16384;
  if (x == 0) return y > 0 ? 0 : ref::kBeyond;
  if (x < 0 && (y & 0x3FFF) != 0) return 0;
  const long double X = std::ldexp(static_cast<long double>(x), -14);
  const long double Y = std::ldexp(static_cast<long double>(y), -14);
  const ref::Rounded quick = ref::RoundAway(std::pow(X, Y) * 16384);
  if (quick.distance >= kNear) return quick.value;
  ++counts.near;
#if FP_HAVE_MPFR
  mpfr_t a, b, v;
  mpfr_inits2(512, a, b, v, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_si(a, x, MPFR_RNDN);
  mpfr_div_2ui(a, a, 14, MPFR_RNDN);
  mpfr_set_si(b, y, MPFR_RNDN);
  mpfr_div_2ui(b, b, 14, MPFR_RNDN);
  mpfr_pow(v, a, b, MPFR_RNDN);
  mpfr_mul_2ui(v, v, 14, MPFR_RNDN);
  mpfr_round(v, v);
  const int64_t value = mpfr_cmp_si(v, INT32_MAX) > 0   ? ref::kBeyond
                        : mpfr_cmp_si(v, INT32_MIN) < 0 ? -ref::kBeyond
                                                        : mpfr_get_si(v, MPFR_RNDN);
  mpfr_clears(a, b, v, static_cast<mpfr_ptr>(nullptr));
  return value;
#else
  ++counts.undecided;  // decided on the host, with MPFR
  return std::nullopt;
#endif
}

// Pairs of nine kinds, in turn: integer exponents; halves and simple fractions; bases that are
// powers of two; results near 1, near 0 and near the top of the range; negative bases; the
// exact ties (v^q 2^e)^(p/q); results that lie near a tie; and any bits at all.
std::vector<std::pair<int32_t, int32_t>> Pairs(uint64_t shard, uint64_t count) {
  std::mt19937_64 rng(20261209 + shard);
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> base(1, kMax);
  std::uniform_int_distribution<int32_t> small(-40, 40);
  auto pick = [&](uint64_t n) { return static_cast<std::size_t>(rng() % n); };
  auto log_uniform = [&](int bits) {  // 1 .. 2^bits - 1, spread over the magnitudes
    const int b = 1 + static_cast<int>(rng() % static_cast<uint64_t>(bits));
    return static_cast<int32_t>(1 + rng() % ((uint64_t{1} << b) - 1));
  };
  // y for which (x / 16384)^(y / 16384) is near 2^target.
  auto exponent_for = [](int32_t x, long double target) {
    const long double l = std::log2(std::ldexp(static_cast<long double>(x), -14));
    const long double y = l == 0 ? 0 : std::round(target / l * 16384);
    return static_cast<int32_t>(std::clamp<long double>(y, kMin, kMax));
  };
  std::vector<std::pair<int32_t, int32_t>> pairs;
  pairs.reserve(static_cast<std::size_t>(count));
  while (pairs.size() < count) {
    const int32_t x = log_uniform(31);
    switch (pairs.size() % 9) {
      case 0:
        pairs.emplace_back(x, small(rng) * 16384);
        break;
      case 1: {
        const int32_t q = std::array<int32_t, 7>{2, 3, 4, 5, 8, 10, 16}[pick(7)];
        pairs.emplace_back(x, small(rng) * 16384 / q);
        break;
      }
      case 2:
        pairs.emplace_back(int32_t{1} << (rng() % 31),
                           static_cast<int32_t>(any(rng) >> (rng() % 28)));
        break;
      case 3: {
        const int32_t near_one = 16384 + static_cast<int32_t>(rng() % 4001) - 2000;
        const long double target = std::array<long double, 4>{0, 16.999, -15.001, 1e-3}[pick(4)];
        const int32_t y = exponent_for(near_one, target) + static_cast<int32_t>(rng() % 5) - 2;
        pairs.emplace_back(near_one != 16384 ? near_one : 16385, y);
        break;
      }
      case 4: {
        const long double target = std::array<long double, 3>{16.9999, -15.0001, 0.5}[pick(3)];
        pairs.emplace_back(x, exponent_for(x, target) + static_cast<int32_t>(rng() % 65) - 32);
        break;
      }
      case 5:
        pairs.emplace_back(-x, small(rng) * 16384);
        break;
      case 6: {
        // (v^q 2^e)^(p/q) = v^p 2^(e p / q) is a tie when e p / q = -15 (p divides 15), and
        // (2^a)^(-15/a) is one too; beside each, a pair one raw unit away.
        constexpr int32_t kShapes[][2] = {{1, 1}, {1, 3},  {1, 5}, {1, 15}, {2, 3},
                                          {2, 5}, {2, 15}, {4, 5}, {4, 15}, {8, 15}};
        const int32_t* shape = kShapes[pick(10)];
        const int32_t q = shape[0], p = shape[1];
        const int32_t e = -15 * q / p;
        const uint64_t v = 1 + 2 * (rng() % 8);
        uint64_t vq = 1, vp = 1;
        for (int32_t i = 0; i < q; ++i) vq *= v;
        for (int32_t i = 0; i < p; ++i) vp = std::min<uint64_t>(vp * v, uint64_t{1} << 40);
        const int32_t nudge = static_cast<int32_t>(rng() % 3) - 1;
        if (15 * q % p == 0 && e + 14 >= 0 && vp < (uint64_t{1} << 32) &&
            (vq << (e + 14)) <= static_cast<uint64_t>(kMax)) {
          pairs.emplace_back(static_cast<int32_t>(vq << (e + 14)), p * 16384 / q + nudge);
        } else {
          const int32_t a = std::array<int32_t, 4>{1, 3, 5, 15}[pick(4)];
          pairs.emplace_back(int32_t{16384} << a, -15 * 16384 / a + nudge);
        }
        break;
      }
      case 7: {
        const long double target =
            std::log2((2 * static_cast<long double>(rng() % 100000) + 1) / 32768);
        pairs.emplace_back(x, exponent_for(x, target));
        break;
      }
      default:
        pairs.emplace_back(any(rng), any(rng));
        break;
    }
  }
  return pairs;
}

int ScanPow(uint64_t shard, uint64_t shards, uint64_t total) {
  Counts counts;
  const long long slow_before = fp_form_header_c_slow_paths;
  const uint64_t count = total * (shard + 1) / shards - total * shard / shards;
  for (const auto& [x, y] : Pairs(shard, count)) {
    ++counts.inputs;
    const std::optional<int64_t> want = PowReference(x, y, counts);
    if (!want) continue;
    const int32_t want_value = Saturate(*want);
    const bool want_report = *want != want_value || (x < 0 && (y & 0x3FFF) != 0);
    std::vector<const fp_form*> checked(kForms.begin(), kForms.end());
    if (counts.inputs % 16 == 0) checked.push_back(&fp_form_header_c_slow);
    for (const fp_form* form : checked) {
      const int32_t got = form->fp_pow(x, y);
      int32_t stored = 12345;
      const bool reported = form->fp_pow_ckd(&stored, x, y);
      if (got != want_value || stored != want_value || reported != want_report) {
        Fail(std::string(form->name) + " fp_pow(" + std::to_string(x) + ", " + std::to_string(y) +
             ") = " + std::to_string(got) + ", _ckd stored " + std::to_string(stored) +
             " and returned " + std::to_string(reported) + "; want " + std::to_string(want_value) +
             (want_report ? ", reported" : ""));
      }
    }
  }
  std::printf("pow shard %" PRIu64 "/%" PRIu64 ": %" PRIu64 " pairs, %" PRIu64
              " near a tie (%" PRIu64
              " left to the host's MPFR), slow path %lld times in "
              "header_c; %d failures\n",
              shard, shards, counts.inputs, counts.near, counts.undecided,
              fp_form_header_c_slow_paths - slow_before, failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool print_hard_cases = argc == 6 && std::string_view(argv[5]) == "--print-hard-cases";
  if (argc != 5 && !print_hard_cases) {
    std::fprintf(stderr, "usage: %s FUNCTION SHARD SHARDS STRIDE|PAIRS [--print-hard-cases]\n",
                 argv[0]);
    return 2;
  }
  const std::string_view name = argv[1];
  const uint64_t shard = std::strtoull(argv[2], nullptr, 10);
  const uint64_t shards = std::strtoull(argv[3], nullptr, 10);
  const uint64_t n = std::strtoull(argv[4], nullptr, 10);
  if (shards == 0 || shard >= shards || n == 0) {
    std::fprintf(stderr, "need SHARD < SHARDS and a positive STRIDE or PAIRS\n");
    return 2;
  }
  if (name == "pow") return ScanPow(shard, shards, n);
  for (const ref::Named& f : ref::kFunctions) {
    if (f.name == name) {
      return ScanUnary(f.function, f.name, f.label, shard, shards, n, print_hard_cases);
    }
  }
  std::fprintf(stderr, "unknown function '%s'\n", argv[1]);
  return 2;
}
