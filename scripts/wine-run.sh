#!/usr/bin/env bash
# Runs a Windows program under Wine for the Windows build's tests. The Wine
# prefix lives in the build folder (made on the first start, which takes a
# while), so that the user's own ~/.wine is never touched; Wine's own
# messages are off so that they never mix with the program's output.
set -euo pipefail
program=$1
shift
folder=$(cd "$(dirname "$program")" && pwd)
# The build folder is the one that holds CMakeCache.txt, above the program.
build=$folder
while [ "$build" != / ] && [ ! -e "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ "$build" != / ] || build=$folder
export WINEPREFIX=${VELKOR_WINEPREFIX:-$build/wine-prefix}
export WINEDEBUG=-all
# No window, no Mono or Gecko installers when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=
# Made once, under a lock: test programs start side by side.
if [ ! -e "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -e "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1 || true
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$program" "$@"
