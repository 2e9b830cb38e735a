#!/usr/bin/env bash
# Plays the same scripted whole runs through a pipe with the Linux game and
# with the WebAssembly game under Node (velkor-node.js), with the clock
# stopped at the same moment on both sides (an LD_PRELOAD library for the
# Linux game, a preload that fixes Date for Node), so that both draw the same
# seed and date their report alike; then compares them byte for byte: the
# whole dialogue, save.dat and the report lines.
#   scripts/compare-web.sh [linux build folder] [web build folder]
set -euo pipefail
name=compare-web
# shellcheck source=scripts/compare-common.sh disable=SC2034
source "$(dirname "$0")/compare-common.sh"
linux=$root/${1:-build}/velkor
web=$root/${2:-build-web}/velkor-node.js
[ -x "$linux" ] || fail "no $linux"
[ -e "$web" ] || fail "no $web"

cc -shared -fPIC -O2 -o "$work/fixed-clock.so" "$root/scripts/fixed-clock.c" -ldl

# 2026-12-12 09:41:07.250 UTC; the report's date is UTC on both sides.
export VELKOR_FIXED_TIME_MS=1797068467250 TZ=UTC LC_ALL=C
unset LANG LC_TIME LC_CTYPE

start_linux() { LD_PRELOAD="$work/fixed-clock.so" "$linux"; }
start_web() { node --no-experimental-fetch -r "$root/scripts/fixed-clock.js" "$web"; }

# The failure report names where the failure was raised in the program's
# own image (" の 0000ABCD で"), which differs between the two programs.
no=$'\x82\xcc' de=$'\x82\xc5'
without_location() {
  LC_ALL=C sed -E "s/ $no [0-9A-F]{8,16} $de/ $no ? $de/" "$1" >"$1.masked"
  mv "$1.masked" "$1"
}

same_unlocated() {
  without_location "$2"
  without_location "$3"
  same "$@"
}

# A fighter who takes the first enemy offered and attacks once a turn until
# he dies: each line is the answer to one kind of prompt (the first enemy or
# an attack, the end of the plan, yes, Enter), and a refused answer is asked
# again, so the same lines drive both games alike to a report line.
hunt=$'\nユウ\n\n\n40\n20\n20\n20\nx\n\n'
for _ in $(seq 600); do hunt+=$'a\nZ\ny\n\n'; done

for system in linux web; do
  play $system "$work/$system" "$hunt"
  cp "$work/$system/out" "$work/$system.hunt"
  cp "$work/$system/save.dat" "$work/$system.save"
  # The saved character is offered and loaded, and a second run is played.
  play $system "$work/$system" "y"$'\n'"${hunt#*x$'\n'}"
  cp "$work/$system/out" "$work/$system.again"
  # A save.dat that is refused is kept as save.dat.bad.
  printf 'broken' >"$work/$system/save.dat"
  play $system "$work/$system" "$hunt"
  cp "$work/$system/out" "$work/$system.refused"
  cp "$work/$system/save.dat.bad" "$work/$system.bad"
  cp "$work/$system/レポート.txt" "$work/$system.report" 2>/dev/null || : >"$work/$system.report"
  # A scenario file that is missing stops the game at once.
  rm "$work/$system/dat/1.dat"
  play $system "$work/$system" $'\n'
  cp "$work/$system/out" "$work/$system.missing"
done

[ -s "$work/linux.report" ] || fail "the scripted runs left no report line"
same_unlocated "the first run" "$work/linux.hunt" "$work/web.hunt"
same_unlocated "save.dat" "$work/linux.save" "$work/web.save"
same_unlocated "the run of the loaded character" "$work/linux.again" "$work/web.again"
same_unlocated "the run after a refused save.dat" "$work/linux.refused" "$work/web.refused"
same_unlocated "save.dat.bad" "$work/linux.bad" "$work/web.bad"
same_unlocated "the report lines" "$work/linux.report" "$work/web.report"
same_unlocated "the missing scenario's report" "$work/linux.missing" "$work/web.missing"
echo "compare-web: velkor-node.js gave the Linux game's bytes" \
  "($(cat "$work"/web.{hunt,again,refused,missing} | wc -c) bytes of dialogue," \
  "save.dat, save.dat.bad, $(wc -l <"$work/web.report") report lines)"
