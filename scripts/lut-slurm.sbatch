#!/usr/bin/env bash
# A look-up table on a Slurm cluster: one job array task per shard, then one job that joins them.
#
#   sbatch scripts/lut-slurm.sbatch          # 16 shards of 2,000,000 rows in lut-shards/
#   sbatch --dependency=afterok:<JOBID> --wrap \
#     'tulmera-batch lut-merge table.h5 lut-shards/part-*.h5'
#
# Every task computes exactly the rows of its shard; the samples depend only on --seed and
# --samples, so the joined table equals one run on one machine. Change SHARDS together with
# --array (0 .. SHARDS-1), and the table's options in TABLE; keep them identical for every task.
#SBATCH --job-name=tulmera-lut
#SBATCH --array=0-15
#SBATCH --cpus-per-task=8
#SBATCH --mem-per-cpu=500M
#SBATCH --time=01:00:00
#SBATCH --output=lut-shards/slurm-%A_%a.out
set -euo pipefail

SHARDS=16
TABLE=(--samples 2000000 --seed 1 --range LAI=0.1:8 --range Cab=5:90 --range Cw=0.001:0.05
       --range Cm=0.002:0.02 --range N=1:2.5 --sun 30 --view 0 --lidf Esferico)

mkdir -p lut-shards
# A finished shard is not computed again when the array is resubmitted after a failure.
out=lut-shards/part-$(printf '%03d' "$SLURM_ARRAY_TASK_ID").h5
[ -e "$out" ] && exit 0
exec tulmera-batch lut "${TABLE[@]}" --threads "${SLURM_CPUS_PER_TASK:-1}" --quiet \
  --shard "$SLURM_ARRAY_TASK_ID/$SHARDS" --out "$out"
