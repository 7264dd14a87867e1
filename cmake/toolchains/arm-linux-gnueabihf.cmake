# SPDX-License-Identifier: MIT
# 32-bit ARM Linux with hardware floating point (Debian's armhf: ARMv7-A, Thumb-2, VFPv3-D16),
# cross-compiled with g++-arm-linux-gnueabihf. Programs run under qemu-user when
# CMAKE_CROSSCOMPILING_EMULATOR names it (the armhf preset does).
set(CMAKE_SYSTEM_PROCESSOR arm)
set(fixedpoint_triple arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
