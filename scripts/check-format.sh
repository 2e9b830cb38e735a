#!/usr/bin/env bash
# Holds every C++ source of the tree to the house style in .clang-format:
# lists each file that clang-format would change, and fails if there is one.
# Fix them with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-tools.sh --format
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"
echo "check-format: ${#sources[@]} files in the house style ($(clang-format --version))"
