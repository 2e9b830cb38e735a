#!/usr/bin/env bash
# The Windows build, as CI runs it: installs what it needs from Debian's
# packages when missing (MinGW-w64's GCC, Wine, GoogleTest's sources), builds
# the windows preset, runs every test under Wine, plays the game against the
# Linux build's (the folder given, default build) and makes the download,
# checking what it holds. Stops the Wine server it used at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build}
started=$(date +%s)

missing=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || missing+=(g++-mingw-w64-x86-64-posix)
command -v wine >/dev/null 2>&1 || missing+=(wine)
[ -e /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
command -v cmark-gfm >/dev/null 2>&1 || missing+=(cmark-gfm)  # the guide as HTML
bash scripts/apt-install.sh ${missing[@]+"${missing[@]}"}

build=build-windows
export WINEPREFIX=$PWD/$build/wine-prefix
stop_wine() { wineserver -k >/dev/null 2>&1 || true; }
trap stop_wine EXIT

cmake --preset windows
cmake --build --preset windows
ctest --preset windows
bash scripts/compare-windows.sh "$linux" "$build"

# The download holds the game, its stories, the guide (also as HTML), the
# README and the notices of the runtime linked into the game.
rm -f "$build"/velkor-*-win64.zip
cmake --build "$build" --target package >/dev/null
zip=$(echo "$build"/velkor-*-win64.zip)
expected="velkor-1.0.0-win64/README.txt
velkor-1.0.0-win64/dat/
velkor-1.0.0-win64/dat/0.dat
velkor-1.0.0-win64/dat/1.dat
velkor-1.0.0-win64/guide.html
velkor-1.0.0-win64/guide.md
velkor-1.0.0-win64/notices/
velkor-1.0.0-win64/notices/gcc-runtime-libraries.txt
velkor-1.0.0-win64/notices/mingw-w64-runtime-and-winpthreads.txt
velkor-1.0.0-win64/velkor.exe"
listed=$(cmake -E tar tf "$zip" | LC_ALL=C sort)
if [ "$listed" != "$expected" ]; then
  printf 'check-windows: %s holds\n%s\ninstead of\n%s\n' "$zip" "$listed" "$expected" >&2
  exit 1
fi
# Notepad on a Japanese Windows: UTF-8 with a byte order mark, CR LF only.
texts=$(mktemp -d)
cmake -E chdir "$texts" cmake -E tar xf "$PWD/$zip"
for text in README.txt notices/gcc-runtime-libraries.txt notices/mingw-w64-runtime-and-winpthreads.txt; do
  file=$texts/velkor-1.0.0-win64/$text
  if [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" != efbbbf ] || LC_ALL=C grep -qv $'\r$' "$file"; then
    echo "check-windows: $text is not UTF-8 with a byte order mark and CR LF" >&2
    exit 1
  fi
done
grep -q '<table' "$texts/velkor-1.0.0-win64/guide.html" || { echo "check-windows: guide.html has no tables" >&2; exit 1; }
rm -rf "$texts"
echo "check-windows: $(basename "$zip") ($(wc -c <"$zip") bytes) holds what it should;" \
  "the Windows build took $(($(date +%s) - started)) s"
