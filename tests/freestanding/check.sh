#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds freestanding.c twice with the C compiler CC for x86-64: hosted, to print the checksum
# of every function's results; then freestanding, with only the compiler's own headers, no C
# library, no libgcc and its own _start, told that checksum. The freestanding program must link
# with no undefined symbol and exit 0.
#
# usage: check.sh CC SOURCE_DIR WORK_DIR
set -euo pipefail

cc=$1 source_dir=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
source=$source_dir/tests/freestanding/freestanding.c
common=(-m64 -std=c99 -O2 -Wall -Wextra -Werror -I"$source_dir/include")

# The compiler's own headers (<stdint.h>, <stddef.h>, <stdbool.h>): GCC names their directory,
# Clang keeps them under its resource directory.
if own=$("$cc" -print-resource-dir 2>/dev/null) && [[ -d $own/include ]]; then
  own=$own/include
else
  own=$("$cc" -print-file-name=include)
fi

"$cc" "${common[@]}" -DFREESTANDING_HOSTED "$source" -o "$work/hosted"
want=$("$work/hosted")
"$cc" "${common[@]}" -ffreestanding -nostdinc -isystem "$own" -fno-stack-protector -fno-pie \
  -DWANT="$want" -c "$source" -o "$work/freestanding.o"
"$cc" -m64 -static -nostdlib "$work/freestanding.o" -o "$work/freestanding"
undefined=$(nm -u "$work/freestanding")
if [[ -n $undefined ]]; then
  echo "FAIL: the freestanding program needs: $(echo $undefined)" >&2
  exit 1
fi
if ! "$work/freestanding"; then
  echo "FAIL: the freestanding program's checksum is not the hosted one, $want" >&2
  exit 1
fi
echo "freestanding x86-64: every function gives the hosted results (checksum $want)"
