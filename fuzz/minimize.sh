#!/usr/bin/env bash
# Brings what fuzz/run.sh found into the corpus, small.
#
#   fuzz/minimize.sh <target>
#     Of the inputs in the last run's queue (build-fuzz/findings/<target>/),
#     adds to fuzz/corpus/<target>/ the few that reach at least 4 edges the
#     corpus does not, widest first, each shrunk by afl-tmin (keeping its
#     edges) and named found-<the first 12 hex digits of its SHA-1>. One to
#     three new edges are mostly the clock's: the report line's date and
#     time take different branches from one second to the next.
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

corpus=$PWD/fuzz/corpus/$target
harness=$PWD/build-fuzz/fuzz/fuzz_$target
queue=$PWD/build-fuzz/findings/$target/default/queue
input=$([ $# -eq 3 ] && realpath "$2" || true)
# Not under /tmp, which afl-cmin refuses; the tools leave their temporary
# files in the working folder, so they run in this one.
work=$(mktemp -d "$PWD/build-fuzz/minimize-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir game
export VELKOR_FUZZ_FOLDER=$work/game AFL_MAP_SIZE=65536 AFL_QUIET=1
# Edges only: how often an edge is taken would keep hundreds of inputs.
afl=(-m none -t 5000 -e)
least=4

if [ $# -eq 3 ]; then
  case $3 in */* | .* | "") usage ;; esac
  afl-tmin "${afl[@]}" -i "$input" -o small -- "$harness" >/dev/null
  install -m 644 small "$corpus/$3"
  echo "minimize: $corpus/$3, $(stat -c %s small) bytes (from $(stat -c %s "$input"))"
  exit 0
fi

[ -d "$queue" ] || {
  echo "minimize: no queue in $queue: run fuzz/run.sh $target first" >&2
  exit 1
}
# What the corpus reaches: one line per edge.
afl-showmap "${afl[@]}" -i "$corpus" -o maps -- "$harness" >/dev/null 2>&1
cat maps/* | sort -u >covered
# The queue's own smallest cover; then, widest first, those of its inputs
# that reach enough edges that nothing taken so far reaches.
afl-cmin "${afl[@]}" -i "$queue" -o cover -- "$harness" >/dev/null
afl-showmap "${afl[@]}" -i cover -o cover-maps -- "$harness" >/dev/null 2>&1
added=0
for name in $(wc -l cover-maps/* | sort -rn | awk '$2 != "total" { print $2 }' | xargs -n1 basename); do
  sort -u "cover-maps/$name" >reach
  [ "$(comm -13 covered reach | wc -l)" -ge $least ] || continue
  afl-tmin "${afl[@]}" -i "cover/$name" -o small -- "$harness" >/dev/null
  install -m 644 small "$corpus/found-$(sha1sum small | cut -c1-12)"
  sort -u covered reach -o covered
  added=$((added + 1))
done
echo "minimize: $added inputs added to fuzz/corpus/$target ($(ls "$corpus" | wc -l) in all)"
