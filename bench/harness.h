/* SPDX-License-Identifier: MIT */
// The benchmark harness shared by every form of the library that fp_bench times.
//
// A function is timed in several forms over the same 4096 operand pairs: "<function>/library"
// calls libfp, "<function>/header" uses the header-only definitions, "<function>/cxx" the
// operators and functions of fixed.hpp, and "<function>/inline" is the bare integer arithmetic a
// caller would write by hand. For the exponentials, logarithms and powers the baseline is
// "<function>/double" instead: the route through double and the C library that a caller would
// take without them, with the same results at the edges. One benchmark iteration is one pass
// over the 4096 elements; items_per_second counts elements, and a form's time divided by the
// inline time is its overhead. Every form is run over the operands when it is registered and
// must give the results of the first form registered for that function (the inline one).
#ifndef FIXEDPOINT_BENCH_HARNESS_H
#define FIXEDPOINT_BENCH_HARNESS_H

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fpbench {

constexpr std::size_t kElements = 4096;

// Which operands a function may be given so that its inline form has defined behaviour: the
// hand-written forms check nothing, so the operands keep clear of what they cannot handle.
enum class Domain {
  kAny,           // every int32_t pair
  kNearestRange,  // x where x +/- 8192 stays within int32_t
  kDivisor,       // y != 0
  kIntDivisor,    // y != 0, and not INT32_MIN / -1
  kNonNegative,   // x >= 0
  // The elementary functions take inputs where their results are neither saturated nor 0:
  kExpRange,   // x in [-170344, 193058], where fp_exp's result is in range and not 0
  kExp2Range,  // x in [-245760, 278527]
  kPositive,   // x > 0, every positive value (the logarithms)
  kPowPairs,   // x in (0, 256], y in (-4, 4)
  kAngle,      // x in [-16, 16]: radians (and half turns, and the tangents of atan)
  kUnit,       // x in [-1, 1], the domain of asin and acos
  kPoints,     // x and y in [-256, 256]
};

struct Operands {
  std::vector<int32_t> x;
  std::vector<int32_t> y;
};

// The operands of a domain: the same pairs every time it is asked.
const Operands& OperandsFor(Domain domain);

// Where every benchmark keeps its operands and results while it runs: the same addresses for
// every benchmark, so that data alignment is identical between the forms of a function. The
// results start a page and the operands 1024 and 2048 bytes into one, so that a load does not
// share its low 12 address bits with a store still in flight (4K aliasing).
struct Workspace {
  alignas(4096) int32_t result[kElements];
  int32_t pad_x[256];
  int32_t x[kElements];
  int32_t pad_y[256];
  int32_t y[kElements];
};
extern Workspace workspace;

// One pass over the operands, with the results stored so that they must be computed. The forms
// of a function compile to the same instructions here when they cost the same; keeping the pass
// out of line and 64-byte aligned also puts their loops at the same offset within a cache line.
// Left to the linker, that offset decided whether a loop straddled a line boundary, which made
// identical loops differ by up to 1.7 times.
template <typename Op>
[[gnu::noinline, gnu::aligned(64)]] void Pass(Op op) {
  for (std::size_t i = 0; i < kElements; ++i)
    workspace.result[i] = op(workspace.x[i], workspace.y[i]);
  benchmark::DoNotOptimize(workspace.result);
  benchmark::ClobberMemory();
}

// Loads the operands into the workspace before a benchmark's timed loop.
void LoadOperands(const Operands& ops);

// Checks a form's results against the first form of the same function; false if they differ.
bool CheckResults(const std::string& function, const char* form, const Operands& ops,
                  const std::vector<int32_t>& results);

// Registers "<function>/<form>": one iteration is one pass. (Counting elements as iterations
// instead would hit Google Benchmark's cap of 10^9 iterations within a tenth of a second for
// the cheapest functions, and make their timings noisy.)
template <typename Op>
void Register(const std::string& function, const char* form, Domain domain, Op op) {
  const Operands& ops = OperandsFor(domain);
  std::vector<int32_t> results(kElements);
  for (std::size_t i = 0; i < kElements; ++i) results[i] = op(ops.x[i], ops.y[i]);
  if (!CheckResults(function, form, ops, results)) return;
  benchmark::RegisterBenchmark((function + "/" + form).c_str(), [&ops, op](benchmark::State& s) {
    LoadOperands(ops);
    for (auto _ : s) Pass(op);
    s.SetItemsProcessed(s.iterations() * static_cast<int64_t>(kElements));
  });
}

// The library's functions as libfp and as header-only definitions, registered from forms.inc,
// and as fixed.hpp's operators and functions; and the double route (fp_bench.cpp).
void RegisterDoubleForms();
void RegisterLibraryForms();
void RegisterHeaderForms();
void RegisterCxxForms();

}  // namespace fpbench

#endif
