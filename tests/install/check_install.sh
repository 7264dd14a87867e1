#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs a build of fixedpoint into a temporary prefix, moves the prefix elsewhere, and uses
# it the ways a downstream project would: C++ and C programs through find_package (and, for
# the static kind, through add_subdirectory of the source tree), a C program through pkg-config
# (built and linked by the C compilers alone, so a hidden C++ runtime dependency fails), all of
# them also header-only, and the installed fp_demo. A shared install must also export exactly the
# functions its headers declare under the SONAME libfp.so.1. A consumer must see version 1.x:
# accepted as at least 1.0, refused as 2 or as 0.9 (other major versions).
#
# usage: check_install.sh KIND SOURCE_DIR BUILD_DIR WORK_DIR GENERATOR C_COMPILER CXX_COMPILER [OPTION...]
#   KIND                static or shared: the kind of library BUILD_DIR holds
#   BUILD_DIR           the build to install
#   --configure         first configure and build BUILD_DIR as a KIND build of the library and demo
#   --package           install from the Debian package that cpack makes of BUILD_DIR (unpacked
#                       with dpkg-deb -x, /usr becoming the prefix) instead of cmake --install;
#                       the package holds no fp_demo
#   --config=CONFIG     the configuration to build and install (for multi-config generators)
#   --toolchain=FILE    the CMAKE_TOOLCHAIN_FILE that BUILD_DIR used, for everything built here
#   --c-flags=FLAGS     the CMAKE_C_FLAGS that BUILD_DIR used, likewise
#   --cxx-flags=FLAGS   the CMAKE_CXX_FLAGS that BUILD_DIR used, likewise
#   --emulator=COMMAND  runs the programs built here (CMAKE_CROSSCOMPILING_EMULATOR, words
#                       separated by spaces); the C consumer is then built by C_COMPILER alone
set -euo pipefail

kind=$1 source_dir=$2 build_dir=$3 work=$4 generator=$5 cc=$6 cxx=$7
configure='' package='' config='' toolchain='' c_flags='' cxx_flags='' emulator=()
for option in "${@:8}"; do
  case $option in
    --configure) configure=yes ;;
    --package) package=yes ;;
    --config=*) config=${option#*=} ;;
    --toolchain=*) toolchain=${option#*=} ;;
    --c-flags=*) c_flags=${option#*=} ;;
    --cxx-flags=*) cxx_flags=${option#*=} ;;
    --emulator=*) read -ra emulator <<<"${option#*=}" ;;
    *)
      echo "check_install.sh: unknown option '$option'" >&2
      exit 2
      ;;
  esac
done
here=$(cd "$(dirname "$0")" && pwd)

# What every CMake project configured here gets, so that it builds for the same target.
cmake_args=(--no-warn-unused-cli -G "$generator" -DCMAKE_C_COMPILER="$cc"
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE="${config:-RelWithDebInfo}"
  -DCMAKE_C_FLAGS="$c_flags" -DCMAKE_CXX_FLAGS="$cxx_flags")
[[ -z $toolchain ]] || cmake_args+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain")
if ((${#emulator[@]} > 0)); then
  cmake_args+=("-DCMAKE_CROSSCOMPILING_EMULATOR=$(
    IFS=';'
    echo "${emulator[*]}"
  )")
fi
config_args=()
[[ -z $config ]] || config_args=(--config "$config")

failures=0
fail() {
  echo "FAIL ($kind): $*" >&2
  failures=$((failures + 1))
}
# Compares the output of a command with what it should print.
expect_output() {
  local what=$1 want=$2 got status=0
  shift 2
  got=$("$@") || status=$?
  if ((status != 0)); then
    fail "$what: exited with status $status"
  elif [[ $got != "$want" ]]; then
    fail "$what: printed '$got', want '$want'"
  fi
}
# Runs a program built here, through the emulator when there is one. Options for env go first.
run() {
  local env_args=()
  while [[ $1 == -u || $1 == *=* ]]; do
    if [[ $1 == -u ]]; then
      env_args+=("$1" "$2")
      shift
    else
      env_args+=("$1")
    fi
    shift
  done
  env "${env_args[@]}" "${emulator[@]}" "$@"
}
# The program a CMake build made: multi-config generators put it in a directory per configuration.
built_program() {
  local dir=$1 name=$2
  if [[ -n $config && -f $dir/$config/$name ]]; then
    echo "$dir/$config/$name"
  else
    echo "$dir/$name"
  fi
}

# The symbols a shared object defines for others. readelf reads every target's ELF files; some
# targets also list section symbols here.
defined_dynamic_symbols() {
  readelf --dyn-syms -W "$1" |
    awk '$4 != "SECTION" && $7 != "UND" && $7 != "Ndx" && $8 != "" {print $8}' | sort
}

rm -rf "$work"
mkdir -p "$work"

if [[ -n $configure ]]; then
  shared=OFF
  [[ $kind == shared ]] && shared=ON
  cmake -S "$source_dir" -B "$build_dir" "${cmake_args[@]}" -DBUILD_SHARED_LIBS=$shared \
    -DFIXEDPOINT_BUILD_TESTS=OFF -DFIXEDPOINT_BUILD_BENCHMARKS=OFF -DFIXEDPOINT_BUILD_DEMO=ON \
    >"$work/configure.log"
  cmake --build "$build_dir" "${config_args[@]}" >"$work/build.log"
fi

if [[ -n $package ]]; then
  # The package a distribution would ship: named and described, with the header's version.
  cpack -G DEB -B "$work/package" --config "$build_dir/CPackConfig.cmake" ${config:+-C "$config"} \
    >"$work/package.log"
  deb=$(find "$work/package" -maxdepth 1 -name 'libfixedpoint-dev_*.deb')
  [[ -n $deb ]] || {
    echo "FAIL ($kind): cpack made no libfixedpoint-dev .deb" >&2
    exit 1
  }
  version=$(sed -n 's/^#define FIXEDPOINT_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\)$/\2/p' \
    "$source_dir/include/fixedpoint/fp.h" | paste -sd.)
  [[ $(dpkg-deb -f "$deb" Package) == libfixedpoint-dev ]] || fail "package name in $deb"
  [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "package version is not $version"
  [[ -n $(dpkg-deb -f "$deb" Description) ]] || fail "package has no description"
  ! dpkg-deb -c "$deb" | grep -q '/bin/' || fail "the package holds programs"
  dpkg-deb -x "$deb" "$work/installed"
  mv "$work/installed/usr" "$work/prefix"
else
  # Install, then move the prefix: nothing may still point at where it was installed.
  cmake --install "$build_dir" "${config_args[@]}" --prefix "$work/installed" >"$work/install.log"
  mv "$work/installed" "$work/prefix"
fi
prefix=$work/prefix
libdir=$(dirname "$(find "$prefix" -name fixedpoint.pc)")/..

[[ -f $prefix/include/fixedpoint/fp.h ]] || fail "header not at include/fixedpoint/fp.h"
# What the library must define and export: every function the installed headers declare (a
# declaration may go on over several lines; a definition ends its first line with { or }).
want_names=$(awk '/^FIXEDPOINT_FN(_RT)? / {d = ""; on = 1}
  on {d = d == "" ? $0 : d " " $0} on && /[;{}]$/ {print d; on = 0}' \
  "$prefix"/include/fixedpoint/*.h |
  sed -n 's/^FIXEDPOINT_FN\(_RT\)\{0,1\} [^(]*[ *]\([a-z_0-9]*\)(.*);$/\2/p' | sort)
[[ $(wc -l <<<"$want_names") -ge 35 ]] || fail "the headers declare only: $(echo $want_names)"
grep -q '^MIT License' "$prefix/share/doc/fixedpoint/LICENSE" 2>/dev/null ||
  fail "no MIT licence at share/doc/fixedpoint/LICENSE"

if [[ $kind == static ]]; then
  # The archive must hold machine code for every function (not LTO-only objects) and
  # need no C++ runtime symbol.
  archive=$libdir/libfp.a
  # Names beginning with __ belong to the compiler (i386 position-independent code shares
  # __x86.get_pc_thunk.* helpers between objects).
  got=$(readelf -sW "$archive" |
    awk '$4 == "FUNC" && $5 == "GLOBAL" && $7 != "UND" && $8 !~ /^__/ {print $8}' | sort)
  [[ $got == "$want_names" ]] || fail "libfp.a defines functions: $(echo $got)"
  undefined=$(readelf -sW "$archive" | awk '$7 == "UND" {print $8}' | grep -E '_Z|__cxa|__gxx|_Unwind' || true)
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
  got=$(defined_dynamic_symbols "$library")
  [[ $got == "$want_names" ]] || fail "exported symbols: $(echo $got)"
  needed=$(readelf -dW "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [[ $needed != *libstdc++* ]] || fail "libfp.so needs the C++ runtime: $(echo $needed)"
fi

# The installed demo runs from the moved prefix without help from LD_LIBRARY_PATH.
[[ -n $package ]] ||
  expect_output "installed fp_demo" "273 2730000 16384 983040" run -u LD_LIBRARY_PATH "$prefix/bin/fp_demo"

# A C++ and a C program through find_package, and, once, with fixedpoint added from source as
# add_subdirectory and FetchContent do; the subproject must not build fixedpoint's tests. Then
# both again through fixedpoint::fp_header_only, which must leave nothing of libfp to link.
consume_from_cmake() {
  local name=$1
  shift
  cmake -S "$here/consumer_cpp" -B "$work/$name" "${cmake_args[@]}" "$@" >"$work/$name.log"
  cmake --build "$work/$name" "${config_args[@]}" >>"$work/$name.log"
  expect_output "$name consumer" "c++ 5461 1 -2147483648" \
    run "$(built_program "$work/$name" consumer)"
  expect_output "$name C consumer" "c 5461 1 2147483647" \
    run "$(built_program "$work/$name" consumer_c)"
  # fixed.hpp needs nothing of libfp, whichever target brought it in.
  expect_output "$name fixed consumer" "59.97 0.3333 0.99994 59.97" \
    run "$(built_program "$work/$name" consumer_fixed)"
  expect_self_contained "$name fixed consumer" "$(built_program "$work/$name" consumer_fixed)"
}
# Fails if a program refers to any function of the library that it does not define itself.
expect_self_contained() {
  local what=$1 program=$2 undefined
  undefined=$(readelf -sW "$program" | awk '$7 == "UND" && $8 ~ /^(fp_|cvt_)/ {print $8}')
  [[ -z $undefined ]] || fail "$what needs libfp's $(echo $undefined)"
}
# A cross toolchain searches for packages only under its roots: the prefix becomes one.
find_args=(-DCMAKE_PREFIX_PATH="$prefix")
[[ -z $toolchain ]] || find_args+=(-DCMAKE_FIND_ROOT_PATH="$prefix")
consume_from_cmake find_package "${find_args[@]}"
consume_from_cmake header_only "${find_args[@]}" -DFIXEDPOINT_TARGET=fp_header_only
expect_self_contained "header-only C++ consumer" "$(built_program "$work/header_only" consumer)"
expect_self_contained "header-only C consumer" "$(built_program "$work/header_only" consumer_c)"
if [[ $kind == static ]]; then
  consume_from_cmake add_subdirectory -DFIXEDPOINT_SOURCE_DIR="$source_dir"
  [[ ! -e $work/add_subdirectory/fixedpoint/tests ]] || fail "a subproject built fixedpoint's tests"
  [[ ! -e $work/add_subdirectory/fixedpoint/bench ]] || fail "a subproject built fixedpoint's benchmarks"
  # Nor does it install fixedpoint into the parent's install.
  cmake --install "$work/add_subdirectory" "${config_args[@]}" --prefix "$work/parent" \
    >"$work/parent_install.log"
  [[ ! -e $work/parent ]] || fail "a subproject installs: $(cd "$work/parent" && find . -type f)"

  # A consumer's own shared object that links libfp.a and hides its symbols must not re-export
  # the library's functions.
  printf '%s\n' '#include <fixedpoint/fp.h>' \
    '__attribute__((visibility("default"))) int32_t plugin_third(void) {' \
    '  return fp_div(cvt_int_fp(1), cvt_int_fp(3));' '}' >"$work/plugin.c"
  # shellcheck disable=SC2086 # the build's flags are meant to split
  "$cc" $c_flags -std=c99 -fPIC -fvisibility=hidden -shared -I"$prefix/include" "$work/plugin.c" \
    "$libdir/libfp.a" -o "$work/libplugin.so"
  exported=$(defined_dynamic_symbols "$work/libplugin.so" | tr '\n' ' ')
  [[ $exported == "plugin_third " ]] || fail "a plugin linking libfp.a exports: $exported"
fi

# The version a consumer sees: 1.0 is accepted; 2 and 0.9, other major versions, are refused.
export PKG_CONFIG_PATH=$libdir/pkgconfig
pkg-config --atleast-version=1.0 fixedpoint || fail "pkg-config: fixedpoint is not at least 1.0"
! pkg-config 'fixedpoint >= 2' || fail "pkg-config: fixedpoint >= 2 holds"
version_check() {
  local want=$1 log=$work/find_package_$1.log
  if cmake -S "$here/consumer_version" -B "$work/find_package_$want" -DWANT_VERSION="$want" \
    -DCMAKE_PREFIX_PATH="$prefix" >"$log" 2>&1; then
    echo accepted
  elif grep -q 'considered but not accepted' "$log"; then
    echo refused # found, and turned down for its version
  else
    echo "not found (see $log)"
  fi
}
for want in 1.0 2 0.9; do
  got=$(version_check "$want")
  expected=refused
  [[ $want == 1.0 ]] && expected=accepted
  [[ $got == "$expected" ]] || fail "find_package(fixedpoint $want): $got, want $expected"
done

# C through pkg-config, compiled and linked by each C compiler on the machine (when the programs
# run through an emulator, by the target's C compiler alone), with the library and header-only;
# and the include path that code written for 1.0 uses.
flags=$(pkg-config --cflags --libs fixedpoint)
header_only_flags=$(pkg-config --cflags --libs fixedpoint-header-only)
[[ $header_only_flags != *-lfp* ]] || fail "fixedpoint-header-only links libfp: $header_only_flags"
# shellcheck disable=SC2086 # pkg-config's and the build's flags are meant to split
echo '#include <fp.h>' | "$cc" $c_flags -std=c99 -fsyntax-only $flags -x c - ||
  fail "#include <fp.h> fails"
# cc is often gcc under another name: compare the resolved programs, not the names.
compilers=("$cc")
for other in gcc clang; do
  ((${#emulator[@]} == 0)) && command -v "$other" >/dev/null &&
    [[ $(readlink -f "$(command -v "$other")") != $(readlink -f "$(command -v "$cc")") ]] &&
    compilers+=("$other")
done
for compiler in "${compilers[@]}"; do
  app=$work/consumer_c_$(basename "$compiler")
  # shellcheck disable=SC2086 # pkg-config's and the build's flags are meant to split
  if "$compiler" $c_flags -std=c99 -Wall -Wextra -Werror "$here/consumer_c/main.c" $flags -o "$app"; then
    expect_output "pkg-config consumer built by $compiler" "c 5461 1 2147483647" \
      run LD_LIBRARY_PATH="$libdir" "$app"
  else
    fail "pkg-config consumer does not build with $compiler"
  fi
  # shellcheck disable=SC2086
  if "$compiler" $c_flags -std=c99 -Wall -Wextra -Werror "$here/consumer_c/main.c" \
    $header_only_flags -o "$app-header-only"; then
    expect_output "header-only pkg-config consumer built by $compiler" "c 5461 1 2147483647" \
      run -u LD_LIBRARY_PATH "$app-header-only"
    expect_self_contained "header-only pkg-config consumer built by $compiler" "$app-header-only"
  else
    fail "header-only pkg-config consumer does not build with $compiler"
  fi
  # Code that defines the macro itself, as the header-only examples do, builds without a warning.
  # shellcheck disable=SC2086
  printf '%s\n' '#define FIXEDPOINT_HEADER_ONLY' '#include <fixedpoint/fp.h>' |
    "$compiler" $c_flags -std=c99 -Wall -Wextra -Werror -fsyntax-only $header_only_flags -x c - ||
    fail "#define FIXEDPOINT_HEADER_ONLY warns with pkg-config fixedpoint-header-only and $compiler"
done
# The host's c++, or under an emulator the target's C++ compiler.
cxx_direct=c++
((${#emulator[@]} == 0)) || cxx_direct=$cxx
# shellcheck disable=SC2086
if "$cxx_direct" $cxx_flags -std=c++17 -Wall -Wextra -Werror "$here/consumer_cpp/main.cpp" \
  $header_only_flags -o "$work/consumer_cpp-header-only"; then
  expect_output "header-only pkg-config C++ consumer" "c++ 5461 1 -2147483648" \
    run "$work/consumer_cpp-header-only"
  expect_self_contained "header-only pkg-config C++ consumer" "$work/consumer_cpp-header-only"
else
  fail "header-only pkg-config C++ consumer does not build"
fi

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed; logs in $work" >&2
  exit 1
fi
echo "$kind install: all checks passed"
