# SPDX-License-Identifier: MIT
# 64-bit ARM Linux (AArch64), cross-compiled with Debian's g++-aarch64-linux-gnu. Programs run
# under qemu-user when CMAKE_CROSSCOMPILING_EMULATOR names it (the aarch64 preset does).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(fixedpoint_triple aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
