# SPDX-License-Identifier: MIT
# 32-bit x86 on an x86-64 Linux host: the host's compilers with -m32 (Debian: g++-12-multilib,
# and linux-libc-dev:i386 for the kernel headers a 32-bit libc includes).
#
# The programs run natively where the host's kernel can execute 32-bit x86 binaries. Some x86-64
# kernels are built without that support and refuse them ("Exec format error"); there they run
# under qemu-i386 (Debian: qemu-user) through CMAKE_CROSSCOMPILING_EMULATOR, which the tests, the
# demo's test and the install tests' consumers all go through. Which of the two is decided here,
# once per build tree, by building and running a small program; FIXEDPOINT_I386_EMULATOR in the
# cache holds the answer (empty: native). Set it on the command line to skip the probe.
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")

# try_compile projects read this file again; they get the answer instead of probing again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES FIXEDPOINT_I386_EMULATOR)
get_property(fixedpoint_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)

if(NOT DEFINED FIXEDPOINT_I386_EMULATOR)
  set(probe_dir ${CMAKE_BINARY_DIR}/CMakeFiles/fixedpoint-i386-probe)
  file(WRITE ${probe_dir}/probe.c "int main(void) { return 42; }\n")
  execute_process(COMMAND ${CMAKE_C_COMPILER} -m32 probe.c -o probe
    WORKING_DIRECTORY ${probe_dir} RESULT_VARIABLE built OUTPUT_QUIET ERROR_QUIET)
  set(emulator "")
  if(built EQUAL 0)
    execute_process(COMMAND ${probe_dir}/probe RESULT_VARIABLE native OUTPUT_QUIET ERROR_QUIET)
    if(NOT native EQUAL 42)
      find_program(fixedpoint_qemu_i386 qemu-i386)
      if(NOT fixedpoint_qemu_i386)
        message(FATAL_ERROR "This host cannot execute 32-bit x86 programs (${native}), and "
          "qemu-i386 is not installed to run them (Debian: qemu-user).")
      endif()
      execute_process(COMMAND ${fixedpoint_qemu_i386} ${probe_dir}/probe RESULT_VARIABLE emulated
        OUTPUT_QUIET ERROR_QUIET)
      if(NOT emulated EQUAL 42)
        message(FATAL_ERROR "Neither this host nor ${fixedpoint_qemu_i386} runs 32-bit x86 "
          "programs (${native}, ${emulated}).")
      endif()
      set(emulator ${fixedpoint_qemu_i386})
    endif()
  endif()
  # When the probe does not even build, CMake's own compiler check reports why.
  set(FIXEDPOINT_I386_EMULATOR "${emulator}" CACHE STRING
    "Runs 32-bit x86 programs on this host (empty: natively); found by a probe")
endif()

if(FIXEDPOINT_I386_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FIXEDPOINT_I386_EMULATOR})
  set(fixedpoint_i386_how "under ${FIXEDPOINT_I386_EMULATOR}")
else()
  set(fixedpoint_i386_how "natively")
endif()
if(NOT fixedpoint_in_try_compile AND NOT fixedpoint_i386_said)
  message(STATUS "32-bit x86 programs run ${fixedpoint_i386_how}")
  set(fixedpoint_i386_said ON)
endif()
