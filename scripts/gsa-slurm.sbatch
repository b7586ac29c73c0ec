#!/usr/bin/env bash
# A sensitivity analysis on a Slurm cluster: one job array task per shard of the base rows, then
# one job that joins the shards' simulations and computes the indices.
#
#   sbatch scripts/gsa-slurm.sbatch          # 16 shards of N = 65,536 in gsa-shards/
#   sbatch --dependency=afterok:<JOBID> --wrap \
#     'tulmera-batch gsa-merge indices.csv gsa-shards/part-*.csv'
#
# Each task simulates the k + 2 matrices of its base rows; the design depends only on
# --samples and the ranges, and the bootstrap on --seed, so the joined indices are the file of
# one run, byte for byte. Change SHARDS together with --array (0 .. SHARDS-1), and the
# analysis's options in ANALYSIS; keep them identical for every task.
#SBATCH --job-name=tulmera-gsa
#SBATCH --array=0-15
#SBATCH --cpus-per-task=8
#SBATCH --mem-per-cpu=1G
#SBATCH --time=01:00:00
#SBATCH --output=gsa-shards/slurm-%A_%a.out
set -euo pipefail

SHARDS=16
ANALYSIS=(--samples 65536 --seed 1 --range LAI=0.5:6 --range Cab=10:80 --range Cw=0.002:0.04
          --range Cm=0.002:0.02 --range N=1:2.5 --quantity spectrum --quantity indices)

mkdir -p gsa-shards
# A finished shard is not computed again when the array is resubmitted after a failure.
out=gsa-shards/part-$(printf '%03d' "$SLURM_ARRAY_TASK_ID").csv
[ -e "$out" ] && exit 0
exec tulmera-batch gsa "${ANALYSIS[@]}" --threads "${SLURM_CPUS_PER_TASK:-1}" --quiet \
  --shard "$SLURM_ARRAY_TASK_ID/$SHARDS" --out "$out"
