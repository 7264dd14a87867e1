// SPDX-License-Identifier: MIT
// fp.h linked to libfp and fixed.hpp, fp.h first.
#include <fixedpoint/fp.h>
#include <fixedpoint/fixed.hpp>

#include "fixed_order.h"

FIXED_ORDER_DEFINE(FixedOrderCFirst)
