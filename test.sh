#!/usr/bin/env bash
# Builds VELKOR and runs every test, through the presets of CMakePresets.json
# (which hold the options). With --sanitize the build and the tests run under
# AddressSanitizer and UndefinedBehaviorSanitizer; with --release against the
# optimised build with Debian's flags (scripts/packager-flags.sh), which
# scripts/check-package.sh then makes the package from; with --clang built by
# clang instead of GCC. Warnings are errors here. The package tests run in
# the default build only (CI skips them there: check-package.sh makes its
# one package).
set -euo pipefail
cd "$(dirname "$0")"
tools=(--tests)
preset=default
if [ "${1:-}" = "--sanitize" ]; then
  preset=sanitize
elif [ "${1:-}" = "--release" ]; then
  preset=release
elif [ "${1:-}" = "--clang" ]; then
  preset=clang
  tools+=(--clang)
fi
bash scripts/ensure-tools.sh "${tools[@]}"
[ "$preset" != release ] || source scripts/packager-flags.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
cmake --workflow --preset "$preset"
