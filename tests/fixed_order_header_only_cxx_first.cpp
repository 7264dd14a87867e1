// SPDX-License-Identifier: MIT
// fp.h in header-only mode and fixed.hpp, fixed.hpp first.
#define FIXEDPOINT_HEADER_ONLY
#include <fixedpoint/fp.h>
#include <fixedpoint/fixed.hpp>

#include "fixed_order.h"

FIXED_ORDER_DEFINE(FixedOrderHeaderOnlyCxxFirst)
