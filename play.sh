#!/usr/bin/env bash
# Builds VELKOR and starts it in this folder (which holds dat/). The first
# build takes about a minute and shows its progress; a later start rebuilds
# what has changed, and says nothing when nothing has.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/ensure-tools.sh
if [ ! -e build-play/CMakeCache.txt ]; then
  echo "Building VELKOR for the first time; this can take a minute."
fi
cmake -S . -B build-play -DBUILD_TESTING=OFF >/dev/null
# One short line per file compiled or linked; the lines of targets that were
# already up to date are dropped. The compiler's messages go to standard
# error and are shown as they are.
cmake --build build-play --target velkor -j "$(nproc)" | awk '
  /Built target|Consolidate compiler generated dependencies|Scanning dependencies/ { next }
  match($0, /^\[ *[0-9]+%\]|^\[[0-9]+\/[0-9]+\]/) && / (Building|Linking) / {
    step = substr($0, 1, RLENGTH)
    what = $NF
    sub(/CMakeFiles\/[^\/]*\.dir\//, "", what)
    sub(/\.o$/, "", what)
    sub(/^(\.\.\/)+/, "", what)
    print step " " (/ Linking / ? "linking " : "compiling ") what
    fflush()
    next
  }
  { print; fflush() }'
exec ./build-play/velkor
