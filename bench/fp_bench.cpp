// What the library costs over the same arithmetic written inline.
//
// Each function gets two benchmarks over the same 4096 random operand pairs: "<function>/library"
// calls the library, "<function>/inline" is the bare integer arithmetic a caller would write by
// hand, with no edge handling. One benchmark iteration is one pass over the 4096 elements;
// items_per_second counts elements, and library time / inline time is the library's overhead.
// Before anything is timed, both forms are run over the operands and must agree; the program exits
// 1 if they do not.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <fixedpoint/fp.h>

namespace {

constexpr std::size_t kElements = 4096;
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct Operands {
  std::vector<int32_t> x;
  std::vector<int32_t> y;
};

// Which operands a function may be given so that its inline form has defined behaviour: the
// hand-written forms check nothing, so the operands keep clear of what they cannot handle.
enum class Domain {
  kAny,           // every int32_t pair
  kNearestRange,  // x where x +/- 8192 stays within int32_t
  kDivisor,       // y != 0
  kIntDivisor,    // y != 0, and not INT32_MIN / -1
};

Operands MakeOperands(Domain domain, uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> any(kMin, kMax);
  std::uniform_int_distribution<int32_t> nearest(kMin + 8192, kMax - 8192);
  Operands ops;
  while (ops.x.size() < kElements) {
    const int32_t x = domain == Domain::kNearestRange ? nearest(rng) : any(rng);
    const int32_t y = any(rng);
    if ((domain == Domain::kDivisor || domain == Domain::kIntDivisor) && y == 0) continue;
    if (domain == Domain::kIntDivisor && x == kMin && y == -1) continue;
    ops.x.push_back(x);
    ops.y.push_back(y);
  }
  return ops;
}

// Where every benchmark keeps its operands and results while it runs: the same addresses for
// every benchmark, so that data alignment is identical between a library form and its inline
// form. The results start a page and the operands 1024 and 2048 bytes into one, so that a load
// does not share its low 12 address bits with a store still in flight (4K aliasing).
struct Workspace {
  alignas(4096) int32_t result[kElements];
  int32_t pad_x[256];
  int32_t x[kElements];
  int32_t pad_y[256];
  int32_t y[kElements];
};
Workspace workspace;

// One pass over the operands, with the results stored so that they must be computed. A library
// form and its inline form compile to the same instructions here; keeping the pass out of line
// and 64-byte aligned also puts their loops at the same offset within a cache line. Left to the
// linker, that offset decided whether a loop straddled a line boundary, which made identical
// loops differ by up to 1.7 times.
template <typename Op>
[[gnu::noinline, gnu::aligned(64)]] void Pass(Op op) {
  for (std::size_t i = 0; i < kElements; ++i)
    workspace.result[i] = op(workspace.x[i], workspace.y[i]);
  benchmark::DoNotOptimize(workspace.result);
  benchmark::ClobberMemory();
}

// The timed loop, shared by every benchmark: one iteration is one pass. (Counting elements as
// iterations instead would hit Google Benchmark's cap of 10^9 iterations within a tenth of a
// second for the cheapest functions, and make their timings noisy.)
template <typename Op>
void RunOver(benchmark::State& state, const Operands& ops, Op op) {
  std::copy(ops.x.begin(), ops.x.end(), workspace.x);
  std::copy(ops.y.begin(), ops.y.end(), workspace.y);
  for (auto _ : state) Pass(op);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kElements));
}

int mismatches = 0;

// Registers "<name>/library" and "<name>/inline" over one set of operands, after checking that
// the two forms agree on every pair.
template <typename Library, typename Inline>
void RegisterPair(const std::string& name, Domain domain, Library library, Inline hand_written) {
  static uint32_t seed = 20261208;
  const Operands ops = MakeOperands(domain, seed++);
  for (std::size_t i = 0; i < kElements; ++i) {
    const int32_t want = hand_written(ops.x[i], ops.y[i]);
    const int32_t got = library(ops.x[i], ops.y[i]);
    if (got != want && mismatches++ < 10) {
      std::fprintf(stderr, "%s(%d, %d): library %d, inline %d\n", name.c_str(), ops.x[i], ops.y[i],
                   got, want);
    }
  }
  benchmark::RegisterBenchmark((name + "/library").c_str(),
                               [ops, library](benchmark::State& s) { RunOver(s, ops, library); });
  benchmark::RegisterBenchmark(
      (name + "/inline").c_str(),
      [ops, hand_written](benchmark::State& s) { RunOver(s, ops, hand_written); });
}

// The hand-written forms keep to defined behaviour the way a careful author would, with
// wrapping done in unsigned arithmetic; that compiles to the same instructions as the signed
// operators.
uint32_t U(int32_t v) { return static_cast<uint32_t>(v); }
int32_t S(uint32_t v) { return static_cast<int32_t>(v); }

void RegisterAll() {
  RegisterPair(
      "cvt_int_fp", Domain::kAny, [](int32_t x, int32_t) { return cvt_int_fp(x); },
      [](int32_t x, int32_t) { return S(U(x) << 14); });
  RegisterPair(
      "fp_round", Domain::kAny, [](int32_t x, int32_t) { return fp_round(x); },
      [](int32_t x, int32_t) { return x / 16384; });
  RegisterPair(
      "fp_to_nearest", Domain::kNearestRange, [](int32_t x, int32_t) { return fp_to_nearest(x); },
      [](int32_t x, int32_t) { return x >= 0 ? (x + 8192) / 16384 : (x - 8192) / 16384; });
  RegisterPair(
      "fp_add", Domain::kAny, [](int32_t x, int32_t y) { return fp_add(x, y); },
      [](int32_t x, int32_t y) { return S(U(x) + U(y)); });
  RegisterPair(
      "fp_sub", Domain::kAny, [](int32_t x, int32_t y) { return fp_sub(x, y); },
      [](int32_t x, int32_t y) { return S(U(x) - U(y)); });
  RegisterPair(
      "fp_mul", Domain::kAny, [](int32_t x, int32_t y) { return fp_mul(x, y); },
      [](int32_t x, int32_t y) { return S(U(x) * U(y)); });
  RegisterPair(
      "fp_div", Domain::kDivisor, [](int32_t x, int32_t y) { return fp_div(x, y); },
      [](int32_t x, int32_t y) { return static_cast<int32_t>(int64_t{x} * 16384 / y); });
  RegisterPair(
      "fp_add_int", Domain::kAny, [](int32_t x, int32_t n) { return fp_add_int(x, n); },
      [](int32_t x, int32_t n) { return S(U(x) + (U(n) << 14)); });
  RegisterPair(
      "fp_sub_int", Domain::kAny, [](int32_t x, int32_t n) { return fp_sub_int(x, n); },
      [](int32_t x, int32_t n) { return S(U(x) - (U(n) << 14)); });
  RegisterPair(
      "fp_mul_int", Domain::kAny, [](int32_t x, int32_t n) { return fp_mul_int(x, n); },
      [](int32_t x, int32_t n) { return S(U(x) * U(n)); });
  RegisterPair(
      "fp_div_int", Domain::kIntDivisor, [](int32_t x, int32_t n) { return fp_div_int(x, n); },
      [](int32_t x, int32_t n) { return x / n; });
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  if (mismatches != 0) {
    std::fprintf(stderr, "fp_bench: %d results differ between library and inline forms\n",
                 mismatches);
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
