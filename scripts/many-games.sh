#!/usr/bin/env bash
# Starts many games at once in one folder, each defining a character through
# a pipe, and counts the saves they report as failed: a check of how saves
# and the clean-up of killed saves' leftovers stand up to each other.
#
#   scripts/many-games.sh [GAME] [COUNT] [ROUNDS] [STARTERS]
#
# GAME is the built game (default build/velkor), COUNT the games started
# together (default 100), ROUNDS how many times (default 1). STARTERS
# (default 0) loops that, meanwhile, start games again and again that only
# start up (and so clean up) and end at once, as more players would. Prints,
# per round, the saves reported as failed, the temporary files left beside
# save.dat, and whether save.dat loads.
set -euo pipefail
cd "$(dirname "$0")/.."
game=$(readlink -f "${1:-build/velkor}")
count=${2:-100}
rounds=${3:-1}
starters=${4:-0}
dat=$(pwd)/dat

# "（save.datの書き込みに失敗しました。）" as the game writes it (code page 932).
failed=$(printf 'save.dat\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8\x94\x73')
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

for round in $(seq "$rounds"); do
  rm -rf "${folder:?}"/*
  cp -r "$dat" "$folder/dat"
  mkdir "$folder/out"
  start=$(date +%s.%N)
  touch "$folder/starting"
  for _ in $(seq "$starters"); do
    (cd "$folder" && while [ -e starting ]; do "$game" </dev/null >/dev/null 2>&1 || true; done) &
  done
  defining=()
  for i in $(seq "$count"); do
    # The definition typed in full (see testsupport/typed_runs.h); the game
    # then ends at the end of its input.
    (cd "$folder" && printf '\nYu%d\n\n\n40\n20\n20\n20\nx\n' "$i" | "$game" >"out/$i" 2>&1 || true) &
    defining+=($!)
  done
  wait "${defining[@]}"
  rm "$folder/starting"
  wait
  end=$(date +%s.%N)
  lost=$( (grep -l -a -F "$failed" "$folder"/out/* || true) | wc -l)
  left=$(find "$folder" -maxdepth 1 -name 'save.dat.velkor-*' | wc -l)
  loads=no
  if [ -f "$folder/save.dat" ] &&
    printf 'y\n\n' | (cd "$folder" && "$game" 2>&1 || true) | grep -a -q 'Yu'; then
    loads=yes
  fi
  printf 'round %d: %d games, %d saves failed, %d temporary files left, save.dat loads: %s (%.1f s)\n' \
    "$round" "$count" "$lost" "$left" "$loads" "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')"
done
