#!/usr/bin/env bash
# Builds VELKOR and starts it in this folder (which holds dat/).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/ensure-tools.sh
cmake -S . -B build-play -DBUILD_TESTING=OFF >/dev/null
cmake --build build-play --target velkor -j "$(nproc)" >/dev/null
exec ./build-play/velkor
