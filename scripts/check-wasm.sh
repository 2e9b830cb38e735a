#!/usr/bin/env bash
# The WebAssembly build, as CI runs it: installs what it needs from Debian's
# packages when missing (emscripten with Node, GoogleTest's sources), builds
# the web preset, runs every test under Node, plays the game against the
# Linux build's (the folder given, default build) and tells the size of the
# browser module's download and how long the game takes to start under Node.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build}
started=$(date +%s)

missing=()
command -v em++ >/dev/null 2>&1 || missing+=(emscripten)
command -v node >/dev/null 2>&1 || missing+=(nodejs)
[ -e /usr/share/nodejs/acorn ] || missing+=(node-acorn)
[ -e /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
command -v cc >/dev/null 2>&1 || missing+=(gcc)
# The preset also lays out the page: its npm packages and the guide as HTML.
command -v npm >/dev/null 2>&1 || missing+=(npm)
command -v cmark-gfm >/dev/null 2>&1 || missing+=(cmark-gfm)
bash scripts/apt-install.sh ${missing[@]+"${missing[@]}"}

# Debian's emscripten optimiser finds its acorn there.
export NODE_PATH=/usr/share/nodejs
build=build-web
cmake --preset web
cmake --build --preset web
ctest --preset web
bash scripts/compare-web.sh "$linux" "$build"

# The browser's download: the module, its .wasm and the stories, gzipped.
size=0
for file in velkor.js velkor.wasm velkor.data; do
  size=$((size + $(gzip -9c "$build/$file" | wc -c)))
done
[ "$size" -le 1048576 ] || { echo "check-wasm: the download is $size bytes gzipped, over 1 MiB" >&2; exit 1; }

# Start-up: the game under Node until it has read the end of its input.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r dat "$work/dat"
begin=$(date +%s%N)
(cd "$work" && node --no-experimental-fetch "$OLDPWD/$build/velkor-node.js" </dev/null >/dev/null || true)
startup_ms=$((($(date +%s%N) - begin) / 1000000))
echo "check-wasm: download $size bytes gzipped (velkor.js, .wasm, .data);" \
  "start-up under Node ${startup_ms} ms; the WebAssembly build took $(($(date +%s) - started)) s"
