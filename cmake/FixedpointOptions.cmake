# SPDX-License-Identifier: MIT
# Compile and link settings shared by every target this project builds itself. They are set on
# each target, so a project that adds this one as a subdirectory keeps its own flags.

# Builds C++ sources as standard C++20 (the header itself is plain C, so users need not), and
# applies the project's warnings (errors when FIXEDPOINT_WERROR is on) and, when
# FIXEDPOINT_SANITIZE is on, AddressSanitizer and UndefinedBehaviorSanitizer that stop at the
# first report.
function(fixedpoint_target_options target)
  target_compile_features(${target} PRIVATE cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF C_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow -Wundef
    $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>
    $<$<BOOL:${FIXEDPOINT_WERROR}>:-Werror>)
  if(FIXEDPOINT_SANITIZE)
    set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(${target} PRIVATE ${sanitize})
    target_link_options(${target} PRIVATE ${sanitize})
  endif()
endfunction()
