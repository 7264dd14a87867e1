# SPDX-License-Identifier: MIT
# Shared by the bare-metal ARM toolchains: Debian's gcc-arm-none-eabi with newlib-nano, no
# operating system. Included with fixedpoint_cpu_flags set to the core's -mcpu/-mfpu options.
# Programs link against newlib-nano with the nosys stubs, so they link (printf included) but
# need a board's startup code and I/O to run; nothing built here can run on the host.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-none-eabi-gcc)
set(CMAKE_CXX_COMPILER arm-none-eabi-g++)
# The compiler checks cannot link a program without a board's startup code.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_C_FLAGS_INIT "${fixedpoint_cpu_flags}")
set(CMAKE_CXX_FLAGS_INIT "${fixedpoint_cpu_flags}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "--specs=nano.specs --specs=nosys.specs")

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
