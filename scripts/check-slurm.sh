#!/usr/bin/env bash
# check-slurm.sh [BUILD [SEARCH OPTIONS...]]: runs the search's Slurm job
# array (scripts/slurm-search.sh, as the simulator's guide shows it) on a
# Slurm of one node started here, and checks that the merged parts are the
# same bytes as the search run in one go. Run by hand, as root: it installs
# Debian's slurm-wlm and munge when missing, builds velkor-sim alone in a
# build folder of its own (default build-slurm; cmake takes a compiler
# launcher such as ccache from the environment), starts munged (unless one
# answers already), slurmctld and slurmd on this host's loopback, with
# their configuration, state and logs in /var/lib/slurm-check, and stops
# what it started when done. The search is small by default (--step 20
# -n 100, four parts on two processors); it prints how long the array and
# the search in one go took. A second run starts afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=${1:-build-slurm}
shift || true
size=("$@")
[ ${#size[@]} -gt 0 ] || size=(--step 20 -n 100)
parts=4
cpus=2
dir=/var/lib/slurm-check
# Every build of the search is a line, far under this.
all=1000000

fail() {
  echo "check-slurm: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail "run it as root: it starts slurmctld, slurmd and munged"

# The job the guide shows is the one submitted: its block, taken from the
# guide, is the script's bytes.
cmp -s scripts/slurm-search.sh <(awk '/^```sh$/ { inside = 1; block = ""; next }
  /^```$/ && inside { inside = 0; if (block ~ /#SBATCH/) { printf "%s", block; exit } next }
  inside { block = block $0 "\n" }' docs/simulator.md) ||
  fail "the guide's Slurm job (docs/simulator.md) is not scripts/slurm-search.sh"

missing=()
command -v sbatch >/dev/null 2>&1 || missing+=(slurm-client)
command -v slurmctld >/dev/null 2>&1 || missing+=(slurmctld)
command -v slurmd >/dev/null 2>&1 || missing+=(slurmd)
command -v munged >/dev/null 2>&1 || missing+=(munge)
bash scripts/ensure-tools.sh
bash scripts/apt-install.sh ${missing[@]+"${missing[@]}"}

cmake -S . -B "$build" -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$cpus" --target velkor-sim >/dev/null
case $build in
  /*) sim_dir=$build ;;
  *) sim_dir=$repo/$build ;;
esac
[ -x "$sim_dir/velkor-sim" ] || fail "no velkor-sim in $build"

# A daemon this script started (or an earlier run, killed before it could
# clean up): stopped through its pid file, only while that process is it.
stop_recorded() {
  local name=$1 file=$2 pid
  [ -s "$file" ] || return 0
  pid=$(cat "$file")
  if [[ "$pid" =~ ^[0-9]+$ ]] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$name" ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
  fi
  rm -f "$file"
}
# Every job of this one-node cluster, waiting until they are gone.
cancel_jobs() {
  squeue -h -o %i 2>/dev/null | xargs -r scancel 2>/dev/null || true
  for _ in $(seq 60); do
    [ -z "$(squeue -h -o %i 2>/dev/null)" ] && break
    sleep 0.5
  done
}
# What an earlier run left: its jobs first, while its slurmctld answers (a
# job's processes outlive slurmd), then its daemons.
if [ -s "$dir/slurmctld.pid" ] && [ "$(cat "/proc/$(cat "$dir/slurmctld.pid")/comm" 2>/dev/null)" = slurmctld ]; then
  echo "check-slurm: stopping what an earlier run left"
  SLURM_CONF=$dir/slurm.conf cancel_jobs
fi
stop_recorded slurmd "$dir/slurmd.pid"
stop_recorded slurmctld "$dir/slurmctld.pid"
stop_recorded munged "$dir/munged.pid"
rm -rf "$dir"
mkdir -p "$dir/state" "$dir/spool" "$dir/log" "$dir/job"

job=""
passed=0
cleanup() {
  [ -z "$job" ] || cancel_jobs
  stop_recorded slurmd "$dir/slurmd.pid"
  stop_recorded slurmctld "$dir/slurmctld.pid"
  stop_recorded munged "$dir/munged.pid"
  if [ "$passed" -eq 1 ]; then
    rm -rf "$dir"
  else
    echo "check-slurm: the logs and the job's folder are kept in $dir until the next run" >&2
    for log in "$dir"/log/*.log "$dir"/job/slurm-*.out; do
      [ -s "$log" ] || continue
      echo "--- the end of $log" >&2
      tail -n 20 "$log" >&2
    done
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# munge: one that answers is used as found and left running.
if munge -n </dev/null 2>/dev/null | unmunge >/dev/null 2>&1; then
  echo "check-slurm: munged answers already; used as it is"
else
  key=/etc/munge/munge.key
  if [ ! -s "$key" ]; then
    mungekey --create --keyfile="$key"
    chown munge:munge "$key"
    chmod 0400 "$key"
  fi
  install -d -o munge -g munge -m 0755 /run/munge
  rm -f /run/munge/munged.pid
  runuser -u munge -- munged
  cp /run/munge/munged.pid "$dir/munged.pid"
  for _ in $(seq 50); do
    munge -n </dev/null 2>/dev/null | unmunge >/dev/null 2>&1 && break
    sleep 0.2
  done
  munge -n </dev/null | unmunge >/dev/null || fail "munged does not answer"
fi

# One node, this host, on the loopback. Processes are followed through /proc
# and no task is confined: this needs no cgroups, which a container may not
# give. Processors are counted, memory is not, so two parts run at a time.
node=$(hostname -s)
memory=$(free -m | awk '/^Mem:/ { print $2 }')
export SLURM_CONF=$dir/slurm.conf
cat >"$SLURM_CONF" <<EOF
ClusterName=velkor-check
SlurmctldHost=$node(127.0.0.1)
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
MpiDefault=none
MailProg=/bin/true
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
NodeName=$node NodeAddr=127.0.0.1 CPUs=$cpus RealMemory=$memory State=UNKNOWN
PartitionName=check Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF

slurmctld
slurmd
state=""
for _ in $(seq 120); do
  state=$(sinfo -h -n "$node" -o %T 2>/dev/null || true)
  [ "$state" = idle ] && break
  sleep 0.5
done
[ "$state" = idle ] || fail "the node $node is not idle after a minute (sinfo says: ${state:-nothing})"
echo "check-slurm: slurm $(sinfo -V | awk '{ print $2 }'), node $node idle ($cpus processors, $memory MiB)"

export PATH=$sim_dir:$PATH
cd "$dir/job"
echo "check-slurm: sbatch --array=1-$parts --cpus-per-task=1 scripts/slurm-search.sh ${size[*]}"
started=$(date +%s%N)
job=$(sbatch --parsable --array=1-"$parts" --cpus-per-task=1 --time=00:30:00 \
  "$repo/scripts/slurm-search.sh" "${size[@]}")
job=${job%%;*}
# Every part, finished, from the submission on.
for _ in $(seq 3600); do
  [ -z "$(squeue -h -j "$job" -o %i 2>/dev/null)" ] && break
  sleep 0.5
done
array_ms=$((($(date +%s%N) - started) / 1000000))
[ -z "$(squeue -h -j "$job" -o %i)" ] || fail "the job array $job is still queued after half an hour"
# Each task's end, as slurmctld keeps it for a while (there is no accounting).
tasks=$(scontrol -o show job "$job" | awk '{
  for (i = 1; i <= NF; ++i) { split($i, kv, "="); field[kv[1]] = substr($i, length(kv[1]) + 2) }
  print field["ArrayTaskId"], field["JobState"], field["ExitCode"], field["RunTime"] }' | sort -n)
job=""
echo "$tasks" | awk '{ print "check-slurm: part " $1 ": " $2 ", exit code " $3 ", ran " $4 }'
[ "$(echo "$tasks" | grep -c ' COMPLETED 0:0 ')" -eq "$parts" ] || fail "not every part completed with exit code 0"
for part in $(seq "$parts"); do
  [ -s "part-$part.csv" ] || fail "part $part of $parts is missing; the task's output is slurm-*_$part.out"
done
velkor-sim merge --csv --top "$all" part-*.csv >merged.csv || fail "merge refused the parts"

started=$(date +%s%N)
TIMEFORMAT="%U %S"
# The processor time to a file of its own; velkor-sim's messages as they come.
{ time velkor-sim search --policy lookahead "${size[@]}" --threads "$cpus" --csv --top "$all" \
  >whole.csv 2>&3; } 3>&2 2>cpu.txt || fail "the search in one go failed"
whole_ms=$((($(date +%s%N) - started) / 1000000))

cmp merged.csv whole.csv || fail "the merged parts differ from the search in one go"
seconds() { printf '%d.%d s' $(($1 / 1000)) $(($1 % 1000 / 100)); }
echo "check-slurm: the merged $parts parts are the search in one go, byte for byte" \
  "($(($(wc -l <whole.csv) - 1)) builds ranked, search ${size[*]} --policy lookahead)"
echo "check-slurm: the array took $(seconds "$array_ms") from submission to its last part" \
  "($parts parts, one processor each, two at a time);" \
  "the search in one go on $cpus threads $(seconds "$whole_ms")" \
  "($(awk '{ printf "%.1f", $1 + $2 }' cpu.txt) processor seconds); load average $(cut -d' ' -f1-3 /proc/loadavg)"
passed=1
