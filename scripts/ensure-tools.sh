#!/usr/bin/env bash
# Installs what building and testing VELKOR needs, when it is missing:
# g++, CMake, libedit (the line editor of terminals), GoogleTest, Google
# Benchmark and dpkg-dev from Debian's packages; with --package lintian for
# the Debian package; with --format clang-format and python3 for the format
# and literal checks, with --clang the clang compiler, with --fuzz AFL++ for
# fuzz/run.sh. Options can be given together.
set -euo pipefail

wants() { local option=$1; shift; [[ " $* " == *" $option "* ]]; }

missing=()
command -v g++ >/dev/null 2>&1 || missing+=(g++)
command -v cmake >/dev/null 2>&1 || missing+=(cmake)
command -v make >/dev/null 2>&1 || missing+=(make)
[ -e /usr/include/histedit.h ] || missing+=(libedit-dev)
if wants --tests "$@"; then
  [ -e /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
  [ -e /usr/include/gmock/gmock.h ] || missing+=(libgmock-dev)
  [ -e /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
  # The package tests make a .deb, whose dependencies dpkg-shlibdeps finds.
  command -v dpkg-shlibdeps >/dev/null 2>&1 || missing+=(dpkg-dev)
fi
if wants --package "$@"; then
  # The package's own build and Debian's checker of packages.
  command -v dpkg-buildflags >/dev/null 2>&1 || missing+=(dpkg-dev)
  command -v lintian >/dev/null 2>&1 || missing+=(lintian)
fi
if wants --format "$@"; then
  command -v clang-format >/dev/null 2>&1 || missing+=(clang-format)
  command -v python3 >/dev/null 2>&1 || missing+=(python3)
fi
if wants --clang "$@"; then
  command -v clang++ >/dev/null 2>&1 || missing+=(clang)
fi
if wants --fuzz "$@"; then
  command -v afl-fuzz >/dev/null 2>&1 || missing+=(afl++)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
