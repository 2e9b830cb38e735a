#!/usr/bin/env bash
# Builds VELKOR and starts it in this folder (which holds dat/).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/ensure-tools.sh --tests
cmake -S . -B build -DBUILD_TESTING=OFF >/dev/null
cmake --build build --target velkor -j "$(nproc)" >/dev/null
exec ./build/velkor
