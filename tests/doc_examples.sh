#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that every code block that the README and docs/ mark with <!-- file: PATH --> on the line
# before shows PATH as it is: a source file from its first #include line on, any other file
# whole. The examples are built and run by tests of their own, so no snippet in the docs can
# drift from a program that works, nor from what it prints.
#
# usage: doc_examples.sh SOURCE_DIR
set -euo pipefail
cd "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
blocks=0
for doc in README.md docs/*.md; do
  # Each marked block into work/N, and "N PATH LINE" into work/list.
  awk -v dir="$work" -v doc="$doc" '
    /^<!-- file: .* -->$/ { path = $3; line = NR; want_fence = 1; next }
    want_fence && /^```/ { want_fence = 0; inside = 1; n++; out = dir "/" n; printf "" > out
                           print n, path, line >> (dir "/list"); next }
    want_fence { printf "%s:%d: <!-- file: %s --> is not followed by a code block\n", doc, line, path
                 want_fence = 0; bad = 1 }
    inside && /^```$/ { inside = 0; close(out); next }
    inside { print >> out }
    END { exit bad }' "$doc" || failures=$((failures + 1))
  [[ -f $work/list ]] || continue
  while read -r n path line; do
    blocks=$((blocks + 1))
    if [[ ! -f $path ]]; then
      echo "$doc:$line: no file $path" >&2
      failures=$((failures + 1))
      continue
    fi
    if grep -q '^#include' "$path"; then
      sed -n '/^#include/,$p' "$path" >"$work/want"
    else
      cp "$path" "$work/want"
    fi
    if ! diff -u "$work/want" "$work/$n" >"$work/diff"; then
      echo "$doc:$line: the block differs from $path:" >&2
      cat "$work/diff" >&2
      failures=$((failures + 1))
    fi
    rm "$work/$n"
  done <"$work/list"
  rm "$work/list"
done
((blocks > 0)) || {
  echo "no marked blocks found" >&2
  exit 1
}
((failures == 0)) || exit 1
echo "$blocks marked blocks match their files"
