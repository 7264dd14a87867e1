# SPDX-License-Identifier: MIT
# Arm Cortex-M0+ (ARMv6-M: Thumb only, no divide instruction, no floating-point unit),
# bare metal with newlib-nano.
set(fixedpoint_cpu_flags "-mcpu=cortex-m0plus -mthumb -mfloat-abi=soft")
include(${CMAKE_CURRENT_LIST_DIR}/arm-none-eabi.cmake)
