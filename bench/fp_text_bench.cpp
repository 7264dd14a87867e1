// SPDX-License-Identifier: MIT
// What the text and double conversions cost against the C library doing the same job.
//
// Over the same 4096 random values, each case registers "<case>/library" and "<case>/libc":
//   format_shortest  fp_format(x, -1)        against snprintf("%.17g", fp_to_double(x))
//   format_14        fp_format(x, 14)        against the same snprintf
//   read_shortest    fp_strtofp of the texts fp_format(x, -1) gave, against strtod and then
//                    fp_from_double of the same texts
//   read_14          the same over the texts of fp_format(x, 14)
// One iteration is one pass over the 4096 values; items_per_second counts values. Before
// anything is timed, every form must give back x, or the program exits 1.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <fixedpoint/fp.h>

namespace {

constexpr std::size_t kValues = 4096;

std::vector<int32_t> Values() {
  std::mt19937 rng(20261209);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
  std::vector<int32_t> values(kValues);
  for (int32_t& x : values) x = any(rng);
  return values;
}

int mismatches = 0;

void Expect(bool ok, const char* what, int32_t x) {
  if (!ok && mismatches++ < 10)
    std::fprintf(stderr, "%s: wrong for x = %ld\n", what, static_cast<long>(x));
}

// Formats every value into its own slot; the slots are kept so that the work cannot be dropped.
template <typename Format>
void RunFormat(benchmark::State& state, const std::vector<int32_t>& values, Format format) {
  std::vector<char> out(kValues * 32);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kValues; ++i) format(&out[i * 32], 32, values[i]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kValues));
}

template <typename Read>
void RunRead(benchmark::State& state, const std::vector<std::string>& texts, Read read) {
  std::vector<int32_t> out(kValues);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kValues; ++i) out[i] = read(texts[i].c_str());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kValues));
}

void RegisterAll() {
  static const std::vector<int32_t> values = Values();
  const auto libc_format = [](char* buf, std::size_t size, int32_t x) {
    std::snprintf(buf, size, "%.17g", fp_to_double(x));
  };
  const auto libc_read = [](const char* text) {
    return fp_from_double(std::strtod(text, nullptr));
  };
  const auto library_read = [](const char* text) { return fp_strtofp(text, nullptr); };
  for (const int digits : {-1, 14}) {
    const std::string suffix = digits < 0 ? "shortest" : "14";
    const auto library_format = [digits](char* buf, std::size_t size, int32_t x) {
      fp_format(buf, size, x, digits);
    };
    std::vector<std::string> texts;
    for (const int32_t x : values) {
      char text[32];
      library_format(text, sizeof text, x);
      texts.emplace_back(text);
      Expect(library_read(text) == x, "fp_strtofp", x);
      Expect(libc_read(text) == x, "strtod and fp_from_double", x);
      libc_format(text, sizeof text, x);
      Expect(fp_strtofp(text, nullptr) == x, "snprintf", x);
    }
    benchmark::RegisterBenchmark(
        ("format_" + suffix + "/library").c_str(),
        [library_format](benchmark::State& s) { RunFormat(s, values, library_format); });
    benchmark::RegisterBenchmark(
        ("format_" + suffix + "/libc").c_str(),
        [libc_format](benchmark::State& s) { RunFormat(s, values, libc_format); });
    benchmark::RegisterBenchmark(
        ("read_" + suffix + "/library").c_str(),
        [texts, library_read](benchmark::State& s) { RunRead(s, texts, library_read); });
    benchmark::RegisterBenchmark(
        ("read_" + suffix + "/libc").c_str(),
        [texts, libc_read](benchmark::State& s) { RunRead(s, texts, libc_read); });
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  if (mismatches != 0) {
    std::fprintf(stderr, "fp_text_bench: %d conversions did not give the value back\n", mismatches);
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
