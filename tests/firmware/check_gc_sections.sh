#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A firmware that links libfp.a carries only what it calls. Built as firmware is built (-Os, one
# section per function and per datum, --gc-sections, newlib-nano), with the core's flags from a
# bare-metal build directory:
#   - a program that calls fp_add is at most 16 bytes larger (text, data and read-only data) than
#     the same program with the addition written by hand, and defines no other function of
#     fixedpoint;
#   - a program that calls fp_div carries no other public function of fixedpoint (its internal
#     helpers it may), no 64-bit division from libgcc, no text conversion, no double arithmetic
#     and nothing of the C library's string and errno code.
#
# usage: check_gc_sections.sh BUILD_DIR     (a cortex-m0plus or cortex-m4f build, already built)
set -euo pipefail

build=$1
here=$(cd "$(dirname "$0")" && pwd)
include=$here/../../include
archive=$build/libfp.a
[[ -f $archive ]] || {
  echo "check_gc_sections.sh: no $archive; build $build first" >&2
  exit 2
}
# The core's -mcpu, -mthumb and -mfpu options, as the toolchain file gave them to the build.
read -ra cpu_flags <<<"$(sed -n 's/^CMAKE_C_FLAGS:STRING=//p' "$build/CMakeCache.txt")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAIL ($build): $*" >&2
  failures=$((failures + 1))
}
# Links a main() with BODY against libfp.a; prints the linked program's path.
link() {
  local name=$1 body=$2
  printf '%s\n' '#include <fixedpoint/fp.h>' 'volatile int32_t a = 5, b = 7, r;' \
    "int main(void) { $body return 0; }" >"$work/$name.c"
  arm-none-eabi-gcc "${cpu_flags[@]}" -Os -ffunction-sections -fdata-sections -std=c99 \
    -I"$include" "$work/$name.c" "$archive" --specs=nano.specs --specs=nosys.specs \
    -Wl,--gc-sections -o "$work/$name.elf"
  echo "$work/$name.elf"
}
bytes() {
  arm-none-eabi-size -A "$1" | awk '$1 ~ /^\.(text|data|rodata)/ {n += $2} END {print n}'
}
functions() {
  arm-none-eabi-nm "$1" | awk '$2 ~ /^[TtWw]$/ {print $3}' | sort
}
# The functions a program defines that the program with the addition by hand does not (the C
# library's startup code is in both).
added() {
  comm -13 <(functions "$by_hand") <(functions "$1")
}

by_hand=$(link by_hand 'r = (int32_t)((uint32_t)a + (uint32_t)b);')
with_add=$(link with_add 'r = fp_add(a, b);')
growth=$(($(bytes "$with_add") - $(bytes "$by_hand")))
((growth <= 16)) || fail "fp_add adds $growth bytes over the addition by hand (at most 16)"
extra=$(added "$with_add" | grep -vx fp_add || true)
[[ -z $extra ]] || fail "a program calling fp_add also carries: $(echo $extra)"

# fp_div may bring its own helpers and libgcc's 32-bit division; no other public function, no
# 64-bit division, no soft-float double or float routine or conversion, and none of the C
# library's text, string or errno code.
with_div=$(link with_div 'r = fp_div(a, b);')
unwanted=$(added "$with_div" | grep -vx fp_div | grep -v '^fp_impl_' |
  grep -E '^(fp_|cvt_|__aeabi_u?ldivmod|__u?divdi3|__u?divmoddi4|__aeabi_([dfilu]*2[df]|[df](add|sub|mul|div|rsub|cmp)|c[df]|[df]2)|__(add|sub|mul|div)[ds]f3|str|mem|__errno|_?printf|_?scanf)' ||
  true)
[[ -z $unwanted ]] || fail "a program calling fp_div carries: $(echo $unwanted)"
divide=$(added "$with_div" | grep -vx fp_div | tr '\n' ' ')

if ((failures != 0)); then
  exit 1
fi
echo "$build: fp_add adds $growth bytes over the addition by hand; fp_div brings only: ${divide:-nothing}"
