#!/usr/bin/env bash
# Installs a build of fixedpoint into a temporary prefix, moves the prefix elsewhere, and uses
# it the ways a downstream project would: C++ and C programs through find_package (and, for
# the static kind, through add_subdirectory of the source tree), a C program through pkg-config
# (built and linked by the C compilers alone, so a hidden C++ runtime dependency fails), all of
# them also header-only, and the installed fp_demo. A shared install must also export exactly the
# functions its headers declare under the SONAME libfp.so.1.
#
# usage: check_install.sh KIND SOURCE_DIR BUILD_DIR WORK_DIR GENERATOR C_COMPILER CXX_COMPILER [--configure]
#   KIND         static or shared: the kind of library BUILD_DIR holds
#   BUILD_DIR    the build to install
#   --configure  first configure and build BUILD_DIR as a KIND build of the library and demo
set -euo pipefail

kind=$1 source_dir=$2 build_dir=$3 work=$4 generator=$5 cc=$6 cxx=$7 configure=${8:-}
here=$(cd "$(dirname "$0")" && pwd)

failures=0
fail() {
  echo "FAIL ($kind): $*" >&2
  failures=$((failures + 1))
}
# Compares the output of a command with what it should print.
expect_output() {
  local what=$1 want=$2 got
  shift 2
  if ! got=$("$@"); then
    fail "$what: exited with status $?"
  elif [[ $got != "$want" ]]; then
    fail "$what: printed '$got', want '$want'"
  fi
}

rm -rf "$work"
mkdir -p "$work"

if [[ $configure == --configure ]]; then
  shared=OFF
  [[ $kind == shared ]] && shared=ON
  cmake -S "$source_dir" -B "$build_dir" -G "$generator" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" -DBUILD_SHARED_LIBS=$shared \
    -DFIXEDPOINT_BUILD_TESTS=OFF -DFIXEDPOINT_BUILD_DEMO=ON >"$work/configure.log"
  cmake --build "$build_dir" >"$work/build.log"
fi

# Install, then move the prefix: nothing may still point at where it was installed.
cmake --install "$build_dir" --prefix "$work/installed" >"$work/install.log"
mv "$work/installed" "$work/prefix"
prefix=$work/prefix
libdir=$(dirname "$(find "$prefix" -name fixedpoint.pc)")/..

[[ -f $prefix/include/fixedpoint/fp.h ]] || fail "header not at include/fixedpoint/fp.h"
# What the library must define and export: every function the installed headers declare.
want_names=$(sed -n 's/^FIXEDPOINT_FN\(_RT\)\{0,1\} [^(]*[ *]\([a-z_0-9]*\)(.*);$/\2/p' \
  "$prefix"/include/fixedpoint/*.h | sort)
[[ $(wc -l <<<"$want_names") -ge 35 ]] || fail "the headers declare only: $(echo $want_names)"

if [[ $kind == static ]]; then
  # The archive must hold machine code for every function (not LTO-only objects) and
  # need no C++ runtime symbol.
  archive=$libdir/libfp.a
  got=$(readelf -sW "$archive" | awk '$4 == "FUNC" && $5 == "GLOBAL" && $7 != "UND" {print $8}' | sort)
  [[ $got == "$want_names" ]] || fail "libfp.a defines functions: $(echo $got)"
  undefined=$(nm -u "$archive" | grep -E '_Z|__cxa|__gxx|_Unwind' || true)
  [[ -z $undefined ]] || fail "libfp.a needs C++ runtime symbols: $undefined"
else
  library=$libdir/libfp.so
  # The file is named after the version in the header; the SONAME keeps only its major part.
  version=$(sed -n 's/^#define FIXEDPOINT_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\)$/\2/p' \
    "$prefix/include/fixedpoint/fp.h" | paste -sd.)
  real=libfp.so.$version
  [[ $version == 1.* && -f $libdir/$real && ! -L $libdir/$real ]] || fail "no real file $real"
  [[ $(readlink "$libdir/libfp.so.1") == "$real" ]] || fail "libfp.so.1 does not link to $real"
  [[ $(readlink "$library") == libfp.so.1 ]] || fail "libfp.so does not link to libfp.so.1"
  soname=$(readelf -dW "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [[ $soname == libfp.so.1 ]] || fail "SONAME is '$soname'"
  got=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
  [[ $got == "$want_names" ]] || fail "exported symbols: $(echo $got)"
  needed=$(readelf -dW "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [[ $needed != *libstdc++* ]] || fail "libfp.so needs the C++ runtime: $(echo $needed)"
fi

# The installed demo runs from the moved prefix without help from LD_LIBRARY_PATH.
expect_output "installed fp_demo" "273 2730000 16384 983040" env -u LD_LIBRARY_PATH "$prefix/bin/fp_demo"

# A C++ and a C program through find_package, and, once, with fixedpoint added from source as
# add_subdirectory and FetchContent do; the subproject must not build fixedpoint's tests. Then
# both again through fixedpoint::fp_header_only, which must leave nothing of libfp to link.
consume_from_cmake() {
  local name=$1
  shift
  cmake -S "$here/consumer_cpp" -B "$work/$name" -G "$generator" -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_CXX_COMPILER="$cxx" "$@" >"$work/$name.log"
  cmake --build "$work/$name" >>"$work/$name.log"
  expect_output "$name consumer" "c++ 5461 1 -2147483648" "$work/$name/consumer"
  expect_output "$name C consumer" "c 5461 1 2147483647" "$work/$name/consumer_c"
  # fixed.hpp needs nothing of libfp, whichever target brought it in.
  expect_output "$name fixed consumer" "59.97 0.3333 0.99994 59.97" "$work/$name/consumer_fixed"
  expect_self_contained "$name fixed consumer" "$work/$name/consumer_fixed"
}
# Fails if a program refers to any function of the library that it does not define itself.
expect_self_contained() {
  local what=$1 program=$2 undefined
  undefined=$(nm -u "$program" | awk '$2 ~ /^(fp_|cvt_)/ {print $2}')
  [[ -z $undefined ]] || fail "$what needs libfp's $(echo $undefined)"
}
consume_from_cmake find_package -DCMAKE_PREFIX_PATH="$prefix"
consume_from_cmake header_only -DCMAKE_PREFIX_PATH="$prefix" -DFIXEDPOINT_TARGET=fp_header_only
expect_self_contained "header-only C++ consumer" "$work/header_only/consumer"
expect_self_contained "header-only C consumer" "$work/header_only/consumer_c"
if [[ $kind == static ]]; then
  consume_from_cmake add_subdirectory -DFIXEDPOINT_SOURCE_DIR="$source_dir"
  [[ ! -e $work/add_subdirectory/fixedpoint/tests ]] || fail "a subproject built fixedpoint's tests"

  # A consumer's own shared object that links libfp.a and hides its symbols must not re-export
  # the library's functions.
  printf '%s\n' '#include <fixedpoint/fp.h>' \
    '__attribute__((visibility("default"))) int32_t plugin_third(void) {' \
    '  return fp_div(cvt_int_fp(1), cvt_int_fp(3));' '}' >"$work/plugin.c"
  "$cc" -std=c99 -fPIC -fvisibility=hidden -shared -I"$prefix/include" "$work/plugin.c" \
    "$libdir/libfp.a" -o "$work/libplugin.so"
  exported=$(nm -D --defined-only "$work/libplugin.so" | awk '{print $3}' | sort | tr '\n' ' ')
  [[ $exported == "plugin_third " ]] || fail "a plugin linking libfp.a exports: $exported"
fi

# C through pkg-config, compiled and linked by each C compiler on the machine, with the library
# and header-only; and the include path that code written for 1.0 uses.
flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs fixedpoint)
header_only_flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs fixedpoint-header-only)
[[ $header_only_flags != *-lfp* ]] || fail "fixedpoint-header-only links libfp: $header_only_flags"
# shellcheck disable=SC2086 # pkg-config's flags are meant to split
echo '#include <fp.h>' | "$cc" -std=c99 -fsyntax-only $flags -x c - || fail "#include <fp.h> fails"
# cc is often gcc under another name: compare the resolved programs, not the names.
compilers=("$cc")
for other in gcc clang; do
  command -v "$other" >/dev/null &&
    [[ $(readlink -f "$(command -v "$other")") != $(readlink -f "$(command -v "$cc")") ]] &&
    compilers+=("$other")
done
for compiler in "${compilers[@]}"; do
  app=$work/consumer_c_$(basename "$compiler")
  # shellcheck disable=SC2086 # pkg-config's flags are meant to split
  if "$compiler" -std=c99 -Wall -Wextra -Werror "$here/consumer_c/main.c" $flags -o "$app"; then
    expect_output "pkg-config consumer built by $compiler" "c 5461 1 2147483647" \
      env LD_LIBRARY_PATH="$libdir" "$app"
  else
    fail "pkg-config consumer does not build with $compiler"
  fi
  # shellcheck disable=SC2086
  if "$compiler" -std=c99 -Wall -Wextra -Werror "$here/consumer_c/main.c" $header_only_flags \
    -o "$app-header-only"; then
    expect_output "header-only pkg-config consumer built by $compiler" "c 5461 1 2147483647" \
      env -u LD_LIBRARY_PATH "$app-header-only"
    expect_self_contained "header-only pkg-config consumer built by $compiler" "$app-header-only"
  else
    fail "header-only pkg-config consumer does not build with $compiler"
  fi
done
# shellcheck disable=SC2086
if c++ -std=c++17 -Wall -Wextra -Werror "$here/consumer_cpp/main.cpp" $header_only_flags \
  -o "$work/consumer_cpp-header-only"; then
  expect_output "header-only pkg-config C++ consumer" "c++ 5461 1 -2147483648" \
    "$work/consumer_cpp-header-only"
  expect_self_contained "header-only pkg-config C++ consumer" "$work/consumer_cpp-header-only"
else
  fail "header-only pkg-config C++ consumer does not build"
fi

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed; logs in $work" >&2
  exit 1
fi
echo "$kind install: all checks passed"
