// SPDX-License-Identifier: MIT
// fixed with {fmt} (fixedpoint/fmt.hpp), to_chars, and the everyday functions found by
// argument-dependent lookup.
#include <fixedpoint/fmt.hpp>

#include <charconv>

using fixedpoint::fixed;
using namespace fixedpoint::literals;

int main() {
  const fixed x = -2.75_fx;
  fmt::print("{} {:.3f} [{:>8}] [{:*^9.1f}]\n", x, 1.5_fx, x,
             x);  // -2.75 1.500 [   -2.75] [**-2.8***]
  fmt::print("{} {} {} {}\n", abs(x), clamp(x, -1_fx, 1_fx), lerp(0_fx, 10_fx, 0.25_fx),
             fmod(x, 1_fx));                                      // 2.75 -1 2.5 -0.75
  fmt::print("{} {}\n", round_even(2.5_fx), round_even(3.5_fx));  // 2 4
  char text[16];
  const std::to_chars_result r = to_chars(text, text + sizeof text, x, 4);
  fmt::print("{}\n", std::string_view(text, static_cast<std::size_t>(r.ptr - text)));  // -2.7500
}
