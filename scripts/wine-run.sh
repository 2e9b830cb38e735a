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
# The paths that the tests are given, as Windows names them: Wine shows the
# Unix root as drive Z:.
for variable in VELKOR_SOURCE_DIR VELKOR_PROGRAM; do
  value=${!variable:-}
  if [ "${value:0:1}" = / ]; then
    value=${value//\//\\}
    export "$variable=Z:$value"
  fi
done
# The prefix is made once, and one Wine server is started for a whole test
# run, under a lock since test programs start side by side: a server per
# program would wait for Wine's services at every start, and servers started
# at once stall each other. It ends a minute after the last program.
server=$WINEPREFIX.server
(
  flock 9
  mkdir -p "$WINEPREFIX"
  state=$( [ -s "$server" ] && ps -o stat= -p "$(cat "$server")" 2>/dev/null || true)
  if [ -z "$state" ] || [ "${state:0:1}" = Z ]; then
    # In a session of its own, so that the end of the test that started it
    # does not end it; nothing of it may hold the lock or the test's output.
    setsid wineserver --foreground --persistent=60 </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$server"
    # Wine's services start with the first program, and belong to it: they
    # are started here in that session too, or the end of the test would
    # end them and the next program would wait for them again.
    if [ -e "$WINEPREFIX/system.reg" ]; then
      setsid wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&- || true
    else
      setsid wineboot --init </dev/null >/dev/null 2>&1 9>&- || true
    fi
  fi
) 9>"$WINEPREFIX.lock"
exec wine "$program" "$@"
