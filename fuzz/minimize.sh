#!/usr/bin/env bash
# Brings what fuzz/run.sh found into the corpus, small.
#
#   fuzz/minimize.sh <target>
#     Of the inputs in the last run's queue (build-fuzz/findings/<target>/),
#     adds to fuzz/corpus/<target>/ the few that reach what the corpus does
#     not yet (edges, or edges taken more often), each shrunk by afl-tmin
#     and named found-<the first 12 hex digits of its SHA-1>.
#   fuzz/minimize.sh <target> <input> <name>
#     Shrinks one input, such as a crash, by afl-tmin, keeping what it does,
#     and adds it to the corpus as <name>.
#
# Nothing is removed from the corpus. Builds the harnesses as fuzz/run.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: fuzz/minimize.sh save|scenario|game [<input> <name>]" >&2
  exit 2
}
[ $# -eq 1 ] || [ $# -eq 3 ] || usage
target=$1
case $target in save | scenario | game) ;; *) usage ;; esac

bash scripts/ensure-tools.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

corpus=fuzz/corpus/$target
harness=build-fuzz/fuzz/fuzz_$target
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/game"
export VELKOR_FUZZ_FOLDER=$work/game AFL_MAP_SIZE=65536 AFL_QUIET=1
afl=(-m none -t 5000)

if [ $# -eq 3 ]; then
  case $3 in */* | .* | "") usage ;; esac
  afl-tmin "${afl[@]}" -i "$2" -o "$corpus/$3" -- "$harness" >/dev/null
  echo "minimize: $corpus/$3, $(stat -c %s "$corpus/$3") bytes (from $(stat -c %s "$2"))"
  exit 0
fi

queue=build-fuzz/findings/$target/default/queue
[ -d "$queue" ] || {
  echo "minimize: no queue in $queue: run fuzz/run.sh $target first" >&2
  exit 1
}
# What the corpus reaches: one "edge:hit class" line per edge and input.
afl-showmap "${afl[@]}" -i "$corpus" -o "$work/maps" -- "$harness" >/dev/null 2>&1
cat "$work"/maps/* | sort -u >"$work/covered"
# The queue's own smallest cover, then the inputs of it that add something,
# smallest first.
afl-cmin "${afl[@]}" -i "$queue" -o "$work/cover" -- "$harness" >/dev/null
added=0
for input in $(ls -Sr "$work/cover"); do
  afl-showmap "${afl[@]}" -o "$work/map" -- "$harness" <"$work/cover/$input" >/dev/null 2>&1 || true
  sort -u "$work/map" >"$work/reach"
  [ -n "$(comm -13 "$work/covered" "$work/reach")" ] || continue
  afl-tmin "${afl[@]}" -i "$work/cover/$input" -o "$work/small" -- "$harness" >/dev/null
  name=found-$(sha1sum "$work/small" | cut -c1-12)
  cp "$work/small" "$corpus/$name"
  sort -u "$work/covered" "$work/reach" -o "$work/covered"
  added=$((added + 1))
done
echo "minimize: $added inputs added to $corpus ($(ls "$corpus" | wc -l) in all)"
