#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds freestanding.c with the C compiler CC: hosted for x86-64, to print the checksum of every
# function's results; then freestanding for x86-64 and for i386, with only the compiler's own
# headers, no C library, no libgcc and its own _start, told that checksum. Each freestanding
# program must link with no undefined symbol (on i386 that means no libgcc division helper) and
# exit 0. The i386 one runs natively, or under qemu-i386 where this host cannot execute 32-bit
# programs (exit 77, a skip, when neither can run it).
#
# usage: check.sh CC SOURCE_DIR WORK_DIR
set -euo pipefail

cc=$1 source_dir=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
source=$source_dir/tests/freestanding/freestanding.c
common=(-std=c99 -O2 -Wall -Wextra -Werror -I"$source_dir/include")

# The compiler's own headers (<stdint.h>, <stddef.h>, <stdbool.h>): GCC names their directory,
# Clang keeps them under its resource directory.
if own=$("$cc" -print-resource-dir 2>/dev/null) && [[ -d $own/include ]]; then
  own=$own/include
else
  own=$("$cc" -print-file-name=include)
fi

"$cc" -m64 "${common[@]}" -DFREESTANDING_HOSTED "$source" -o "$work/hosted"
want=$("$work/hosted")
for arch in x86-64 i386; do
  bits=$([[ $arch == i386 ]] && echo 32 || echo 64)
  program=$work/freestanding-$arch
  "$cc" -m"$bits" "${common[@]}" -ffreestanding -nostdinc -isystem "$own" -fno-stack-protector \
    -fno-pie -DWANT="$want" -c "$source" -o "$program.o"
  "$cc" -m"$bits" -static -nostdlib "$program.o" -o "$program"
  undefined=$(nm -u "$program")
  if [[ -n $undefined ]]; then
    echo "FAIL: the freestanding $arch program needs: $(echo $undefined)" >&2
    exit 1
  fi
  run=("$program")
  # Exit status 126: the kernel would not execute it (no 32-bit support).
  if [[ $arch == i386 ]] && { "$program" 2>/dev/null; status=$?; ((status == 126)); }; then
    if ! command -v qemu-i386 >/dev/null; then
      echo "SKIP: this host cannot execute i386 programs, and qemu-i386 is not installed" >&2
      exit 77
    fi
    run=(qemu-i386 "$program")
  fi
  if ! "${run[@]}"; then
    echo "FAIL: the freestanding $arch program's checksum is not the hosted one, $want" >&2
    exit 1
  fi
  echo "freestanding $arch: every function gives the hosted results (checksum $want)"
done
