#!/usr/bin/env bash
# Installs what building and testing VELKOR needs, when it is missing:
# g++, CMake, libedit (the line editor of terminals), GoogleTest, Google
# Benchmark and dpkg-dev from Debian's packages.
set -euo pipefail

missing=()
command -v g++ >/dev/null 2>&1 || missing+=(g++)
command -v cmake >/dev/null 2>&1 || missing+=(cmake)
command -v make >/dev/null 2>&1 || missing+=(make)
[ -e /usr/include/histedit.h ] || missing+=(libedit-dev)
if [ "${1:-}" = "--tests" ]; then
  [ -e /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
  [ -e /usr/include/gmock/gmock.h ] || missing+=(libgmock-dev)
  [ -e /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
  # The package tests make a .deb, whose dependencies dpkg-shlibdeps finds.
  command -v dpkg-shlibdeps >/dev/null 2>&1 || missing+=(dpkg-dev)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
