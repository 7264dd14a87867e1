// SPDX-License-Identifier: MIT
// The exponentials, logarithms, powers and trigonometric functions in every form of the library
// against the reference model of fp_elementary_reference.h, one shard at a time:
//
//   fp_elementary_scan FUNCTION SHARD SHARDS STRIDE [--print-hard-cases]
//   fp_elementary_scan PAIRED SHARD SHARDS PAIRS
//
// FUNCTION is a unary function (exp, exp2, log, log2, log10, sin, cos, tan, sinpi, cospi, asin,
// acos or atan); it visits x = INT32_MIN + i * STRIDE for the SHARD-th of SHARDS equal runs of i
// (STRIDE 1 visits all 2^32 inputs over the shards). The odd and even functions (sin, cos, tan,
// atan) visit magnitudes m = i * STRIDE from 0 to 2^31 instead, each as m and -m, which share one
// reference value. With a coarser stride, shard 0 also visits
// every input within 70000 raw units of the points where the function changes character. sinpi
// and cospi depend only on x modulo 2 (32768 raw): their reference comes from that residue, so
// a full period is exhaustive for them and every other input checks the reduction. Shard 0 always
// checks the table of hard cases (every input within the hard-case distance of a tie, with its
// result) and, with MPFR, the table's results; a scan of every input checks that the table holds
// exactly the hard cases of its range. --print-hard-cases prints the hard cases found as rows of
// fp_elementary_hard_cases.inc.
//
// PAIRED is pow, atan2 or hypot: PAIRS seeded random and structured pairs in all.
//
// Each input is checked in the library, header-only C++ and header-only C forms, plain and _ckd
// (where there is one): the value, and the report exactly when the input lies outside the domain
// or the result saturated. Two more forms are checked on the hard cases, every 64th input of a
// strided scan and every 4096th of a full one, and every 16th pair: one built to take the slow
// path on every call, and the C form without SSE2 and with Thumb-1's 16x16-bit products (on this
// host several times slower than the native products). Prints a summary, with how often the
// header-only C form took its slow path, and the first failures; exits 1 if any.
#include <algorithm>
#include <array>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
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

const std::array<const fp_form*, 3> kForms = {&fp_form_library, &fp_form_header_cpp,
                                              &fp_form_header_c};

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

// What a scan gathered.
struct Counts {
  uint64_t inputs = 0;
  uint64_t near = 0;       // decided by MPFR or the table
  uint64_t hard = 0;       // within the hard-case distance of a tie
  uint64_t undecided = 0;  // left to the host's MPFR
};

// The checks of one input: every form, plain and checked, and the sampled ones when asked. The call
// is described (for the failure message) only when one fails.
template <typename Describe, typename Plain, typename Checked>
void CheckForms(Describe describe, int64_t want, bool outside, bool slow, Plain plain,
                Checked checked) {
  const int32_t want_value = Saturate(want);
  const bool want_report = want != want_value || outside;
  auto check = [&](const fp_form* form) {
    const int32_t got = plain(*form);
    int32_t stored = ~want_value;  // a _ckd that did not store would show
    const std::optional<bool> reported = checked(*form, &stored);
    if (got != want_value || (reported && (stored != want_value || *reported != want_report))) {
      Fail(std::string(form->name) + " " + describe() + " = " + std::to_string(got) +
           (reported ? ", _ckd stored " + std::to_string(stored) + " and returned " +
                           std::to_string(*reported)
                     : "") +
           "; want " + std::to_string(want_value) + (want_report ? ", reported" : ""));
    }
  };
  for (const fp_form* form : kForms) check(form);
  if (slow) {
    check(&fp_form_header_c_slow);
    check(&fp_form_header_c_no_sse2);
  }
}

// ---- Unary functions -------------------------------------------------------------------------

// The reference result of f at x, noting whether it was a hard case.
std::optional<int64_t> Reference(Function f, int32_t x, Counts& counts, bool* hard) {
  *hard = false;
  if (const auto trivial = ref::Trivial(f, x)) return *trivial;
  const int32_t argument = ref::Argument(f, x);
  const ref::Approximation libm = ref::Libm(f, argument);
  const ref::Rounded quick = libm.rounded;
  const long double hard_distance = ref::HardDistance(f);
  if (quick.distance > hard_distance + libm.error) return quick.value;
  ++counts.near;
#if FP_HAVE_MPFR
  const ref::Rounded exact = ref::Mpfr(f, argument);
  *hard = exact.distance < hard_distance;
  counts.hard += *hard ? 1 : 0;
  return exact.value;
#else
  if (const HardCase* h = FindHardCase(f, argument)) {
    *hard = true;
    ++counts.hard;
    return h->value;
  }
  // Not a hard case, so farther than the hard-case distance from the tie: the C library's value
  // decides it when it is farther than its own error.
  if (quick.distance > libm.error) return quick.value;
  ++counts.undecided;
  return std::nullopt;
#endif
}

using Unary = int32_t (*)(int32_t);
using UnaryCkd = bool (*)(int32_t*, int32_t);
struct UnaryForms {
  Unary fp_form::*plain;
  UnaryCkd fp_form::*checked;  // nullptr where there is no checked form
};

UnaryForms FormsOf(Function f) {
  // In the order of ref::Function.
  static constexpr UnaryForms kUnaryForms[] = {{&fp_form::fp_exp, &fp_form::fp_exp_ckd},
                                               {&fp_form::fp_exp2, &fp_form::fp_exp2_ckd},
                                               {&fp_form::fp_log, &fp_form::fp_log_ckd},
                                               {&fp_form::fp_log2, &fp_form::fp_log2_ckd},
                                               {&fp_form::fp_log10, &fp_form::fp_log10_ckd},
                                               {&fp_form::fp_sin, nullptr},
                                               {&fp_form::fp_cos, nullptr},
                                               {&fp_form::fp_tan, &fp_form::fp_tan_ckd},
                                               {&fp_form::fp_sinpi, nullptr},
                                               {&fp_form::fp_cospi, nullptr},
                                               {&fp_form::fp_asin, &fp_form::fp_asin_ckd},
                                               {&fp_form::fp_acos, &fp_form::fp_acos_ckd},
                                               {&fp_form::fp_atan, nullptr}};
  return kUnaryForms[static_cast<std::size_t>(f)];
}

void CheckUnary(Function f, std::string_view name, int32_t x, int64_t want, bool slow) {
  const UnaryForms forms = FormsOf(f);
  CheckForms([&] { return "fp_" + std::string(name) + "(" + std::to_string(x) + ")"; }, want,
             ref::OutsideDomain(f, x), slow,
             [&](const fp_form& form) { return (form.*forms.plain)(x); },
             [&](const fp_form& form, int32_t* stored) -> std::optional<bool> {
               if (forms.checked == nullptr) return std::nullopt;
               return (form.*forms.checked)(stored, x);
             });
}

// The points where each function changes character, whose neighbourhoods a strided scan visits.
std::vector<int64_t> Centres(Function f) {
  std::vector<int64_t> centres = {kMin, -16384, 0, 16384, kMax};
  switch (f) {
    case Function::kExp:
      centres.insert(centres.end(), {193059, -170344});
      break;
    case Function::kExp2:
      centres.insert(centres.end(), {278528, -245760});
      break;
    case Function::kTan:
      centres.insert(centres.end(), {25736, -25736, 77208});
      break;
    default:
      break;
  }
  std::sort(centres.begin(), centres.end());
  return centres;
}

int ScanUnary(const ref::Named& named, uint64_t shard, uint64_t shards, uint64_t stride,
              bool print_hard_cases) {
  const Function f = named.function;
  const std::string name(named.name);
  const bool periodic = f == Function::kSinpi || f == Function::kCospi;
  Counts counts;
  std::vector<int32_t> hard_found;
  const long long slow_before = fp_form_header_c_slow_paths;
  // A function of a residue (sinpi, cospi: 0 to 32767) or of a clamped argument (asin and acos
  // beyond their domain: -16384 or 16384) is looked up once per argument, at argument + 16384.
  std::vector<std::optional<int64_t>> by_argument(49152);
  std::vector<bool> known(by_argument.size());
  // A hard case is recorded as the argument the reference was evaluated at.
  auto check = [&](int32_t x, int32_t argument, const std::optional<int64_t>& want, int sign,
                   bool hard, bool record) {
    ++counts.inputs;
    if (hard && record) {
      hard_found.push_back(argument);
      if (print_hard_cases) {
        std::printf("HARD(%s, %" PRId32 ", %" PRId64 ")\n", std::string(named.label).c_str(),
                    argument, sign * want.value_or(0));
      }
    }
    if (want) {
      CheckUnary(f, named.name, x, sign * *want, counts.inputs % (stride == 1 ? 4096 : 64) == 0);
    }
  };
  auto visit = [&](int32_t x, bool record) {
    bool hard = false;
    std::optional<int64_t> want;
    const int32_t argument = ref::Argument(f, x);
    if (periodic || argument != x) {
      const auto index = static_cast<std::size_t>(argument + 16384);
      if (!known[index]) {
        by_argument[index] = Reference(f, argument, counts, &hard);
        known[index] = true;
      }
      want = by_argument[index];
      hard = hard && periodic;
    } else {
      want = Reference(f, x, counts, &hard);
    }
    check(x, argument, want, 1, hard, record);
  };
  // An odd or even function runs over magnitudes m = 0 .. 2^31 instead, and checks x = m and
  // x = -m with the one reference value.
  const int parity = ref::Parity(f);
  auto visit_magnitude = [&](int64_t m) {
    if (m > kMax) return visit(kMin, true);
    bool hard = false;
    const uint64_t near_before = counts.near;
    const std::optional<int64_t> want = Reference(f, static_cast<int32_t>(m), counts, &hard);
    check(static_cast<int32_t>(m), static_cast<int32_t>(m), want, 1, hard, true);
    if (m == 0) return;
    counts.near += counts.near - near_before;
    counts.hard += hard ? 1 : 0;
    check(static_cast<int32_t>(-m), static_cast<int32_t>(-m), want, parity, hard, true);
  };
  const uint64_t span = parity != 0 ? (uint64_t{1} << 31) + 1 : uint64_t{1} << 32;
  const uint64_t count = (span + stride - 1) / stride;
  const uint64_t first = count * shard / shards;
  const uint64_t last = count * (shard + 1) / shards;
  // The period of sinpi and cospi, once, in shard 0; then every input through its residue.
  if (periodic && shard == 0) {
    for (int32_t r = 0; r < 32768; ++r) visit(r, true);
  }
  for (uint64_t i = first; i < last; ++i) {
    if (parity != 0) {
      visit_magnitude(static_cast<int64_t>(i * stride));
    } else {
      visit(static_cast<int32_t>(kMin + static_cast<int64_t>(i * stride)), !periodic);
    }
  }
  if (stride > 1 && shard == 0) {
    const auto strided = [&](int64_t x) {
      return (parity != 0 ? std::abs(x) : x - kMin) % static_cast<int64_t>(stride) == 0;
    };
    int64_t next = kMin;  // windows that overlap are visited once
    for (const int64_t centre : Centres(f)) {
      for (int64_t x = std::max(next, centre - 70000); x <= std::min<int64_t>(kMax, centre + 70000);
           ++x) {
        if (!strided(x)) visit(static_cast<int32_t>(x), false);
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
      CheckUnary(f, named.name, h.x, h.value, true);
#if FP_HAVE_MPFR
      const ref::Rounded exact = ref::Mpfr(f, h.x);
      if (exact.value != h.value || exact.distance >= ref::HardDistance(f)) {
        Fail("hard case fp_" + name + "(" + std::to_string(h.x) + "): the table says " +
             std::to_string(h.value) + ", MPFR " + std::to_string(exact.value));
      }
#endif
    }
  }
  // Every input of a range (or the whole period): its hard cases are exactly the table's.
  if (FP_HAVE_MPFR && (periodic ? shard == 0 : stride == 1)) {
    // Of x, or of |x| for an odd or even function.
    const int64_t low = periodic      ? 0
                        : parity != 0 ? static_cast<int64_t>(first)
                                      : kMin + static_cast<int64_t>(first);
    const int64_t high = periodic      ? 32768
                         : parity != 0 ? static_cast<int64_t>(last)
                                       : kMin + static_cast<int64_t>(last);  // exclusive
    uint64_t in_table = 0;
    for (const HardCase& h : kHardCases) {
      const int64_t key = parity != 0 ? std::abs(int64_t{h.x}) : h.x;
      in_table += h.function == f && key >= low && key < high;
    }
    for (const int32_t x : hard_found) {
      if (FindHardCase(f, x) == nullptr) {
        Fail("fp_" + name + "(" + std::to_string(x) +
             ") lies within the hard-case distance of a tie but is not in the table");
      }
    }
    if (in_table != hard_found.size()) {
      Fail("the table holds " + std::to_string(in_table) + " hard cases of fp_" + name +
           " in this range, the scan found " + std::to_string(hard_found.size()));
    }
  }
  if (counts.undecided != 0) {
    Fail(std::to_string(counts.undecided) + " inputs near a tie that this target cannot decide");
  }
  std::printf("%s shard %" PRIu64 "/%" PRIu64 ": %" PRIu64 " inputs, %" PRIu64
              " near a tie (%" PRIu64 " hard cases), %" PRIu64
              " hard cases from the table, slow path %lld times in header_c; %d failures\n",
              name.c_str(), shard, shards, counts.inputs, counts.near, counts.hard, table,
              fp_form_header_c_slow_paths - slow_before, failures);
  return failures == 0 ? 0 : 1;
}

// ---- Functions of two operands ----------------------------------------------------------------

#if FP_HAVE_MPFR
// op(x / 16384, y / 16384) * 16384 at 512 bits, rounded away from zero at halves.
int64_t MpfrPair(int (*op)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t), int32_t x, int32_t y) {
  mpfr_t a, b, v;
  mpfr_inits2(512, a, b, v, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_si(a, x, MPFR_RNDN);
  mpfr_div_2ui(a, a, 14, MPFR_RNDN);
  mpfr_set_si(b, y, MPFR_RNDN);
  mpfr_div_2ui(b, b, 14, MPFR_RNDN);
  op(v, a, b, MPFR_RNDN);
  mpfr_mul_2ui(v, v, 14, MPFR_RNDN);
  mpfr_round(v, v);
  const int64_t value = mpfr_cmp_si(v, INT32_MAX) > 0   ? ref::kBeyond
                        : mpfr_cmp_si(v, INT32_MIN) < 0 ? -ref::kBeyond
                                                        : mpfr_get_si(v, MPFR_RNDN);
  mpfr_clears(a, b, v, static_cast<mpfr_ptr>(nullptr));
  return value;
}
#endif

// A long double approximation decided, or the pair left to MPFR: within 2^-19 raw units of a
// tie plus the approximation's error (a few units in the last place).
std::optional<int64_t> Decide(long double approximation, Counts& counts,
                              std::optional<int64_t> (*exact)(int32_t, int32_t), int32_t x,
                              int32_t y) {
  const ref::Rounded quick = ref::RoundAway(approximation * 16384);
  const long double error = std::fabs(approximation * 16384) *
                                std::ldexp(1.0L, 3 - std::numeric_limits<long double>::digits) +
                            std::ldexp(1.0L, -40);
  if (quick.distance > std::ldexp(1.0L, -19) + error) return quick.value;
  ++counts.near;
  const std::optional<int64_t> value = exact(x, y);
  counts.undecided += value ? 0u : 1u;
  return value;
}

std::optional<int64_t> PowReference(int32_t x, int32_t y, Counts& counts) {
  if (y == 0) return 16384;
  if (x == 0) return y > 0 ? 0 : ref::kBeyond;
  if (x < 0 && (y & 0x3FFF) != 0) return 0;
  return Decide(
      std::pow(std::ldexp(static_cast<long double>(x), -14),
               std::ldexp(static_cast<long double>(y), -14)),
      counts,
      [](int32_t a, int32_t b) -> std::optional<int64_t> {
#if FP_HAVE_MPFR
        return MpfrPair(mpfr_pow, a, b);
#else
        (void)a, (void)b;
        return std::nullopt;  // decided on the host
#endif
      },
      x, y);
}

// atan2 of the operands (y, x) here is fp_atan2(x, y): the pair is (y, x).
std::optional<int64_t> Atan2Reference(int32_t y, int32_t x, Counts& counts) {
  if (x == 0 && y == 0) return 0;
  return Decide(
      std::atan2(static_cast<long double>(y), static_cast<long double>(x)), counts,
      [](int32_t a, int32_t b) -> std::optional<int64_t> {
#if FP_HAVE_MPFR
        return MpfrPair(mpfr_atan2, a, b);
#else
        (void)a, (void)b;
        return std::nullopt;
#endif
      },
      y, x);
}

// The exact integer model of hypot: the largest r with r^2 <= x^2 + y^2, by bisection, and r + 1
// when x^2 + y^2 - r^2 > r.
std::optional<int64_t> HypotReference(int32_t x, int32_t y, Counts&) {
  const uint64_t ax = static_cast<uint64_t>(x < 0 ? -int64_t{x} : int64_t{x});
  const uint64_t ay = static_cast<uint64_t>(y < 0 ? -int64_t{y} : int64_t{y});
  const uint64_t n = ax * ax + ay * ay;
  uint64_t low = 0, high = uint64_t{1} << 32;  // low^2 <= n < high^2
  while (high - low > 1) {
    const uint64_t middle = (low + high) / 2;
    (middle * middle <= n ? low : high) = middle;
  }
  const uint64_t r = n - low * low > low ? low + 1 : low;
  return r > static_cast<uint64_t>(kMax) ? ref::kBeyond : static_cast<int64_t>(r);
}

// Pairs for pow of nine kinds, in turn: integer exponents; halves and simple fractions; bases
// that are powers of two; results near 1, near 0 and near the top of the range; negative bases;
// the exact ties (v^q 2^e)^(p/q) and their neighbours; results that lie near a tie; and any bits.
std::vector<std::pair<int32_t, int32_t>> PowPairs(std::mt19937_64& rng, uint64_t count) {
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> small(-40, 40);
  auto pick = [&](uint64_t n) { return static_cast<std::size_t>(rng() % n); };
  auto log_uniform = [&](int bits) {  // 1 .. 2^bits - 1, spread over the magnitudes
    const int b = 1 + static_cast<int>(rng() % static_cast<uint64_t>(bits));
    return static_cast<int32_t>(1 + rng() % ((uint64_t{1} << b) - 1));
  };
  // y for which (x / 16384)^(y / 16384) is near 2^target, moved by offset raw units and kept
  // within the range (the offset is added before clamping, so it cannot overflow).
  auto exponent_for = [](int32_t x, long double target, int32_t offset = 0) {
    const long double l = std::log2(std::ldexp(static_cast<long double>(x), -14));
    const long double y = (l == 0 ? 0 : std::round(target / l * 16384)) + offset;
    return static_cast<int32_t>(std::clamp<long double>(y, kMin, kMax));
  };
  std::vector<std::pair<int32_t, int32_t>> pairs;
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
        const int32_t y = exponent_for(near_one, target, static_cast<int32_t>(rng() % 5) - 2);
        pairs.emplace_back(near_one != 16384 ? near_one : 16385, y);
        break;
      }
      case 4: {
        const long double target = std::array<long double, 3>{16.9999, -15.0001, 0.5}[pick(3)];
        pairs.emplace_back(x, exponent_for(x, target, static_cast<int32_t>(rng() % 65) - 32));
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
        if (e + 14 >= 0 && vp < (uint64_t{1} << 32) &&
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

// Pairs (y, x) for atan2 of six kinds, in all four quadrants: the axes and diagonals; y tiny
// against x huge, and the reverse; points whose angle lies near a tie (y = x tan(angle) for an
// angle of (2m + 1) / 32768 radians); small points; and any bits.
std::vector<std::pair<int32_t, int32_t>> Atan2Pairs(std::mt19937_64& rng, uint64_t count) {
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> tiny(-16, 16);
  std::uniform_int_distribution<int32_t> small(-100000, 100000);
  std::vector<std::pair<int32_t, int32_t>> pairs;
  while (pairs.size() < count) {
    const int32_t a = any(rng);
    switch (pairs.size() % 6) {
      case 0: {
        const int32_t shapes[][2] = {{0, a}, {a, 0}, {a, a}, {a, -a}, {0, 0}, {a, kMin}};
        const auto& shape = shapes[rng() % 6];
        pairs.emplace_back(shape[0], shape[1]);
        break;
      }
      case 1:
        pairs.emplace_back(tiny(rng), a);
        break;
      case 2:
        pairs.emplace_back(a, tiny(rng));
        break;
      case 3: {
        const int64_t m = static_cast<int64_t>(rng() % 102944) - 51472;  // angle m + 1/2 raw
        const long double angle = (2 * static_cast<long double>(m) + 1) / 32768;
        const long double r = static_cast<long double>(rng() % (uint64_t{1} << 30)) + 1;
        pairs.emplace_back(static_cast<int32_t>(std::round(r * std::sin(angle))),
                           static_cast<int32_t>(std::round(r * std::cos(angle))));
        break;
      }
      case 4:
        pairs.emplace_back(small(rng), small(rng));
        break;
      default:
        pairs.emplace_back(a, any(rng));
        break;
    }
  }
  return pairs;
}

// Pairs for hypot: any bits, small values, one operand small, and the ends of the range.
std::vector<std::pair<int32_t, int32_t>> HypotPairs(std::mt19937_64& rng, uint64_t count) {
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> small(-70000, 70000);
  const int32_t ends[] = {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax, 1518500249, 1518500250};
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (const int32_t x : ends) {
    for (const int32_t y : ends) pairs.emplace_back(x, y);
  }
  while (pairs.size() < count) {
    switch (pairs.size() % 4) {
      case 0:
        pairs.emplace_back(any(rng), any(rng));
        break;
      case 1:
        pairs.emplace_back(small(rng), small(rng));
        break;
      case 2:
        pairs.emplace_back(any(rng), small(rng));
        break;
      default:
        pairs.emplace_back(ends[rng() % 9], any(rng));
        break;
    }
  }
  return pairs;
}

using Binary = int32_t (*)(int32_t, int32_t);
using BinaryCkd = bool (*)(int32_t*, int32_t, int32_t);
struct PairFunction {
  std::string_view name;
  std::optional<int64_t> (*reference)(int32_t, int32_t, Counts&);
  bool (*outside)(int32_t, int32_t);
  Binary fp_form::*plain;
  BinaryCkd fp_form::*checked;
  std::vector<std::pair<int32_t, int32_t>> (*pairs)(std::mt19937_64&, uint64_t);
};

const PairFunction kPairFunctions[] = {
    {"pow", PowReference, [](int32_t x, int32_t y) { return x < 0 && (y & 0x3FFF) != 0; },
     &fp_form::fp_pow, &fp_form::fp_pow_ckd, PowPairs},
    {"atan2", Atan2Reference, [](int32_t, int32_t) { return false; }, &fp_form::fp_atan2, nullptr,
     Atan2Pairs},
    {"hypot", HypotReference, [](int32_t, int32_t) { return false; }, &fp_form::fp_hypot,
     &fp_form::fp_hypot_ckd, HypotPairs},
};

int ScanPairs(const PairFunction& f, uint64_t shard, uint64_t shards, uint64_t total) {
  Counts counts;
  const long long slow_before = fp_form_header_c_slow_paths;
  std::mt19937_64 rng(20261209 + shard);
  const uint64_t count = total * (shard + 1) / shards - total * shard / shards;
  for (const std::pair<int32_t, int32_t>& pair : f.pairs(rng, count)) {
    const int32_t x = pair.first, y = pair.second;  // named, not bound: the lambdas capture them
    ++counts.inputs;
    const std::optional<int64_t> want = f.reference(x, y, counts);
    if (!want) continue;
    CheckForms(
        [&] {
          return "fp_" + std::string(f.name) + "(" + std::to_string(x) + ", " + std::to_string(y) +
                 ")";
        },
        *want, f.outside(x, y), counts.inputs % 16 == 0,
        [&](const fp_form& form) { return (form.*f.plain)(x, y); },
        [&](const fp_form& form, int32_t* stored) -> std::optional<bool> {
          if (f.checked == nullptr) return std::nullopt;
          return (form.*f.checked)(stored, x, y);
        });
  }
  std::printf("%s shard %" PRIu64 "/%" PRIu64 ": %" PRIu64 " pairs, %" PRIu64
              " near a tie (%" PRIu64
              " left to the host's MPFR), slow path %lld times in "
              "header_c; %d failures\n",
              std::string(f.name).c_str(), shard, shards, counts.inputs, counts.near,
              counts.undecided, fp_form_header_c_slow_paths - slow_before, failures);
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
  for (const PairFunction& f : kPairFunctions) {
    if (f.name == name) return ScanPairs(f, shard, shards, n);
  }
  for (const ref::Named& f : ref::kFunctions) {
    if (f.name == name) return ScanUnary(f, shard, shards, n, print_hard_cases);
  }
  std::fprintf(stderr, "unknown function '%s'\n", argv[1]);
  return 2;
}
