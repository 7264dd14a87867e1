# SPDX-License-Identifier: MIT
# Arm Cortex-M4F (ARMv7E-M with its single-precision floating-point unit, hard-float ABI), bare
# metal with newlib-nano.
set(fixedpoint_cpu_flags "-mcpu=cortex-m4 -mthumb -mfpu=fpv4-sp-d16 -mfloat-abi=hard")
include(${CMAKE_CURRENT_LIST_DIR}/arm-none-eabi.cmake)
