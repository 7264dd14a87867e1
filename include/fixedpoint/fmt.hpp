// SPDX-License-Identifier: MIT
// fixedpoint/fmt.hpp - {fmt}'s formatter for fixedpoint::fixed (C++17 and later; {fmt} 9 or
// later). Include it instead of fixed.hpp where {fmt} formats fixed values:
//
//   fmt::format("{}", x)        the shortest text that reads back, as to_string(x)
//   fmt::format("{:.3f}", x)    exactly 3 fraction digits, rounded to nearest, halves away from
//   zero fmt::format("{:*^9.2f}", x) padded to a width of 9 with '*', centred
//
// The grammar is [[fill]align][width][.precision]f, as for std::format in fixed.hpp: align '<',
// '>' (the default) or '^', a one-character fill, width at most 999, precision 0..14 (f alone
// means 6). Anything else is a fmt::format_error, at compile time for a constant format string
// under C++20. fixedpoint itself does not depend on {fmt}: only the code that includes this does.
#ifndef FIXEDPOINT_FMT_HPP
#define FIXEDPOINT_FMT_HPP

#include <fmt/format.h>

#include "fixed.hpp"

template <>
struct fmt::formatter<fixedpoint::fixed> {
  constexpr auto parse(fmt::format_parse_context& context) {
    const auto end = fixedpoint::detail::parse_format_spec(context.begin(), context.end(), spec_);
    if (spec_.error != nullptr) FMT_THROW(fmt::format_error(spec_.error));
    return end;
  }
  template <typename Context>
  auto format(fixedpoint::fixed x, Context& context) const {
    return fixedpoint::detail::write_formatted(context.out(), spec_, x);
  }

 private:
  fixedpoint::detail::format_spec spec_;
};

#endif  // FIXEDPOINT_FMT_HPP
