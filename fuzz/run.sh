#!/usr/bin/env bash
# Fuzzes one harness with afl-fuzz for the given number of minutes, at the
# lowest priority: builds the harnesses (the fuzz preset, in build-fuzz),
# starts from the corpus in fuzz/corpus/<target>/ and prints what the run
# did. What afl-fuzz finds stays in build-fuzz/findings/<target>/ (crashes/,
# hangs/, queue/); a later run of the same target goes on from there.
# Usage: fuzz/run.sh save|scenario|game <minutes>
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: fuzz/run.sh save|scenario|game <minutes>" >&2
  exit 2
}
[ $# -eq 2 ] || usage
target=$1
minutes=$2
case $target in save | scenario | game) ;; *) usage ;; esac
[[ $minutes =~ ^[1-9][0-9]*$ ]] || usage

bash scripts/ensure-tools.sh --fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null

findings=build-fuzz/findings/$target
mkdir -p "$findings"
# The game's working folder for every input of the run; in memory where the
# machine has /dev/shm, since the game syncs each save to the disk.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
folder=$(mktemp -d "$base/velkor-fuzz-$target-XXXXXX")
trap 'rm -rf "$folder"' EXIT

export VELKOR_FUZZ_FOLDER=$folder
export AFL_MAP_SIZE=65536  # the map that fuzz/afl_coverage.cpp fills
# A shared machine as it is: no CPU settings changed, no core of its own,
# core dumps left as the system has them.
export AFL_SKIP_CPUFREQ=1 AFL_NO_AFFINITY=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1
export AFL_AUTORESUME=1  # an earlier run's findings are kept and go on
[ -t 1 ] || export AFL_NO_UI=1

# The run's CPU time, the harness's included, as user and system seconds.
TIMEFORMAT='%U %S'
{ time nice -n 19 afl-fuzz -i "fuzz/corpus/$target" -o "$findings" -V $((minutes * 60)) -t 5000 -m none \
  -- "build-fuzz/fuzz/fuzz_$target" >&3 2>&4; } 3>&1 4>&2 2>"$findings/cpu.txt"

stat() { sed -n "s/^$1 *: //p" "$findings/default/fuzzer_stats"; }
read -r user system <"$findings/cpu.txt"
echo
echo "fuzz $target: $(stat execs_done) executions in $(stat run_time) s of fuzzing in all" \
  "($(stat execs_per_sec)/s at the end); this run used $user s user and $system s system CPU"
echo "fuzz $target: $(stat corpus_count) paths, $(stat edges_found) edges of $AFL_MAP_SIZE," \
  "stability $(stat stability)"
echo "fuzz $target: $(stat saved_crashes) crashes and $(stat saved_hangs) hangs in $findings/default/"
