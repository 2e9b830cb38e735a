#!/usr/bin/env bash
# Builds VELKOR and runs every test. With --sanitize the build and the tests
# run under AddressSanitizer and UndefinedBehaviorSanitizer; with --release
# against the optimised build a packager makes; with --clang built by clang
# instead of GCC. Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")"
tools=(--tests)
dir=build
options=(-DBUILD_TESTING=ON -DVELKOR_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  options+=(-DVELKOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
elif [ "${1:-}" = "--release" ]; then
  dir=build-release
  options+=(-DCMAKE_BUILD_TYPE=Release)
elif [ "${1:-}" = "--clang" ]; then
  dir=build-clang
  options+=(-DCMAKE_CXX_COMPILER=clang++)
  tools+=(--clang)
fi
bash scripts/ensure-tools.sh "${tools[@]}"
cmake -S . -B "$dir" "${options[@]}"
cmake --build "$dir" -j "$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
