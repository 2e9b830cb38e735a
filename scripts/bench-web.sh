#!/usr/bin/env bash
# Headless battles per second of the WebAssembly engine under Node beside
# the native one: sim/bench/battle_rate.cpp with the simulator's sources,
# over the engine's libraries of the Linux build (default build) and of the
# web build (build-web), each compiled by that build's compiler at -O2. The
# web build has no simulator of its own (its counts are 64-bit), so this
# program is made here, by hand, and is no part of either build.
#   scripts/bench-web.sh [linux build folder] [web build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build}
web=${2:-build-web}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sources=(sim/bench/battle_rate.cpp sim/simulation.cpp sim/greedy_policy.cpp sim/random_policy.cpp
  sim/lookahead_policy.cpp sim/sight.cpp sim/decision_cache.cpp sim/policy_registry.cpp sim/build.cpp
  sim/roster_entry.cpp)
libraries=(hunt/libvelkor_hunt.a battle/libvelkor_battle.a enemy/libvelkor_enemy.a
  opening/libvelkor_opening.a sheet/libvelkor_sheet.a data/libvelkor_data.a console/libvelkor_console.a
  platform/libvelkor_platform.a)

g++ -std=c++20 -O2 -I. -o "$work/battle_rate" "${sources[@]}" \
  "${libraries[@]/#/$linux/}" -ldl
echo "native:      $("$work/battle_rate")"

export NODE_PATH=/usr/share/nodejs
em++ -std=c++20 -O2 -fexceptions -I. -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node \
  -o "$work/battle_rate.js" "${sources[@]}" "${libraries[@]/#/$web/}"
echo "WebAssembly: $(node --no-experimental-fetch "$work/battle_rate.js")"
