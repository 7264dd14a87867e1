# SPDX-License-Identifier: MIT
# Shared by the Debian cross toolchains: compilers named TRIPLE-gcc and TRIPLE-g++, and target
# libraries and headers under /usr/TRIPLE. Included with fixedpoint_triple set.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${fixedpoint_triple}-gcc)
set(CMAKE_CXX_COMPILER ${fixedpoint_triple}-g++)

# Libraries, headers and packages come from the target's tree (and from any root a caller adds,
# such as an installed prefix); programs run on the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${fixedpoint_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
