#!/bin/bash
#SBATCH --job-name=velkor-search
#SBATCH --array=1-1000
#SBATCH --cpus-per-task=4
#SBATCH --time=02:00:00
# A search as a Slurm job array, one part a task; merge the parts when it is
# done. Options after the script's name replace the search's size; sbatch's
# own options (--array=1-N, --cpus-per-task) replace the lines above.
set -euo pipefail
size=("$@")
[ ${#size[@]} -gt 0 ] || size=(--step 1 -n 1000)
part=$SLURM_ARRAY_TASK_ID
# Written aside and renamed when whole: a task that failed half-way leaves no
# part, which merge names as missing, and runs again under the same number.
velkor-sim search --policy lookahead "${size[@]}" --threads "${SLURM_CPUS_PER_TASK:-1}" \
  --shard "$part/$SLURM_ARRAY_TASK_COUNT" >"part-$part.csv.new"
mv "part-$part.csv.new" "part-$part.csv"
