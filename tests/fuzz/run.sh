#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a libFuzzer target for a fixed time over a copy of the committed seed corpus (so that
# nothing is written into the checkout) and fails on any report: a crash, a sanitizer report, a
# leak, a timeout or a check in the target.
#
# usage: tests/fuzz/run.sh FUZZER [SECONDS]     (default 60 seconds)
# On failure the work directory, with the input that failed, is kept and named.
set -euo pipefail

fuzzer=$(realpath "$1")
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cp -r "$here/corpus" "$work/corpus"
cd "$work"
if "$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus"; then
  rm -rf "$work"
  echo "fuzz: $(basename "$fuzzer") ran ${seconds}s without a report"
else
  echo "fuzz: $(basename "$fuzzer") failed; the failing input is in $work" >&2
  exit 1
fi
