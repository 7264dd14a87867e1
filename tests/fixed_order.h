/* SPDX-License-Identifier: MIT */
// The four ways a file can combine fp.h and fixed.hpp: either include order, with and without
// FIXEDPOINT_HEADER_ONLY. Each fixed_order_*.cpp includes them its way, then defines one
// function with FIXED_ORDER_DEFINE; the test links all four into one program and compares
// what each computes with the C functions it sees and with fixed.
#ifndef FIXEDPOINT_TESTS_FIXED_ORDER_H
#define FIXEDPOINT_TESTS_FIXED_ORDER_H

#include <stdint.h>

struct FixedOrderResults {
  int32_t c_product, cxx_product;
  int32_t c_quotient, cxx_quotient;
};

FixedOrderResults FixedOrderCFirst(int32_t x, int32_t y);
FixedOrderResults FixedOrderCxxFirst(int32_t x, int32_t y);
FixedOrderResults FixedOrderHeaderOnlyCFirst(int32_t x, int32_t y);
FixedOrderResults FixedOrderHeaderOnlyCxxFirst(int32_t x, int32_t y);

// Also checks, at compile time, that fixed is constexpr in the including file's mode.
#define FIXED_ORDER_DEFINE(name)                                                   \
  static_assert((fixedpoint::fixed(3) / 2 * fixedpoint::fixed(5)).raw() == 122880, \
                "1.5 * 5.0 at compile time");                                      \
  FixedOrderResults name(int32_t x, int32_t y) {                                   \
    const auto fx = fixedpoint::fixed::from_raw(x);                                \
    const auto fy = fixedpoint::fixed::from_raw(y);                                \
    return {fp_mul_fp(x, y), (fx * fy).raw(), fp_div(x, y), (fx / fy).raw()};      \
  }

#endif
