#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs fp_demo the way a user does and checks its exact output bytes and exit status, including
# when standard output cannot be written.
#
# usage: demo_test.sh [EMULATOR...] FP_DEMO
#   the arguments form the command that runs fp_demo: in a cross build, the emulator first
set -uo pipefail

(($# > 0)) || {
  echo "usage: demo_test.sh [EMULATOR...] FP_DEMO" >&2
  exit 2
}
demo=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

printf '273 2730000 16384 983040\n' >"$work/want"

# The same line and status 0 whatever the arguments.
for args in "" "--help" "1 2 3" "-"; do
  # shellcheck disable=SC2086 # the arguments are meant to split
  "${demo[@]}" $args >"$work/out" 2>"$work/err"
  status=$?
  [[ $status -eq 0 ]] || fail "args '$args': exit status $status, want 0"
  cmp -s "$work/out" "$work/want" || fail "args '$args': stdout is '$(od -c "$work/out")'"
  [[ ! -s "$work/err" ]] || fail "args '$args': unexpected stderr '$(cat "$work/err")'"
done

# A write that cannot complete is reported, with status 1.
check_write_error() {
  local what=$1 status=$2
  [[ $status -eq 1 ]] || fail "$what: exit status $status, want 1"
  [[ $(wc -l <"$work/err") -eq 1 ]] || fail "$what: stderr is not one line: '$(cat "$work/err")'"
  grep -q '^fp_demo: write error: .' "$work/err" || fail "$what: stderr is '$(cat "$work/err")'"
}

if [[ -w /dev/full ]]; then
  "${demo[@]}" >/dev/full 2>"$work/err"
  check_write_error "stdout on /dev/full" $?
  grep -q 'No space left on device' "$work/err" || fail "/dev/full: reason missing: $(cat "$work/err")"
else
  fail "/dev/full is not available"
fi

"${demo[@]}" >&- 2>"$work/err"
check_write_error "stdout closed" $?

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "fp_demo: all checks passed"
