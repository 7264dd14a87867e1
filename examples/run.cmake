# SPDX-License-Identifier: MIT
# Runs an example and fails unless it exits 0 having printed exactly the contents of EXPECTED.
#   cmake -DPROGRAM=path -DEXPECTED=path [-DEMULATOR="command words"] -P run.cmake
separate_arguments(emulator UNIX_COMMAND "${EMULATOR}")
execute_process(COMMAND ${emulator} ${PROGRAM} OUTPUT_VARIABLE got RESULT_VARIABLE status)
file(READ ${EXPECTED} want)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} exited with ${status}")
endif()
if(NOT got STREQUAL want)
  message(FATAL_ERROR "${PROGRAM} printed:\n${got}\nwhere ${EXPECTED} says:\n${want}")
endif()
