// SPDX-License-Identifier: MIT
// fixedpoint::fixed: the value type, its literal and its stream output.
// Prints "59.97 0.3333 0.99994 59.97".
#include <fixedpoint/fixed.hpp>

#include <iomanip>
#include <iostream>

using fixedpoint::fixed;
using namespace fixedpoint::literals;

int main() {
  const fixed price = 19.99_fx;             // the nearest 17.14 value, at compile time
  const fixed total = price * 3;            // fp_mul_int
  const fixed third = fixed(1) / fixed(3);  // fp_div, truncated
  std::cout << total << ' ' << third << ' ' << third * fixed(3) << ' '  // fp_mul_fp, truncated
            << std::fixed << std::setprecision(2) << total << '\n';
}
