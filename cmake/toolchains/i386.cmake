# SPDX-License-Identifier: MIT
# 32-bit x86 on an x86-64 Linux host: the host's compilers with -m32 (Debian: g++-12-multilib,
# and linux-libc-dev:i386 for the kernel headers a 32-bit libc includes). The results run
# natively, so this is not a cross build and needs no emulator.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
