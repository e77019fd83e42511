#!/usr/bin/env bash
# A paired yardstick for the NSCA: R with ade4 (dudi.nsc) reading a job's
# table and running its NSCA in one process, timed alternately with our
# whole job on the same table, on this machine. For measuring only: R is no
# dependency of Marvist and this script is not part of the test suite. It
# needs Rscript with the ade4 package (Debian: r-cran-ade4, with
# libopenblas0-pthread for an optimised BLAS).
#
#   bash bench/ade4-yardstick.sh [RUNS [ROWSxCOLS]]
#
# Prints the median wall time of RUNS (default 5) runs of each.
set -euo pipefail

runs=${1:-5}
size=${2:-1000x1000}
rows=${size%x*}
cols=${size#*x}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_BUILD_DIR:-$root/build}

if ! Rscript -e 'library(ade4)' >/dev/null 2>&1; then
  echo "Rscript with the ade4 package is not installed; nothing to compare." >&2
  exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/marvist-yardstick-XXXXXX")
trap 'rm -rf "$work"' EXIT

# The job of bench/run-benchmarks.sh for this size, made by its make_job.
eval "$(sed -n '/^make_job() {/,/^}/p' "$root/bench/run-benchmarks.sh")"
make_job "yard" "$rows" "$cols"
cat >"$work/nsc.R" <<'R'
suppressPackageStartupMessages(library(ade4))
tab <- read.table(commandArgs(trailingOnly = TRUE)[1])
nsc <- dudi.nsc(tab, scannf = FALSE, nf = 2)
R

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
time_us() {
  local start=${EPOCHREALTIME/./}
  "$@" >/dev/null 2>&1
  local end=${EPOCHREALTIME/./}
  echo $((end - start))
}

ours=() theirs=()
for ((k = 0; k < runs; k++)); do
  ours+=("$(cd "$work" && time_us "$build/marvist-run" yard.set)")
  theirs+=("$(time_us Rscript "$work/nsc.R" "$work/yard.dat")")
done
printf '%-34s %10.1f ms\n' "marvist-run, whole job ($size)" "$(printf '%s\n' "${ours[@]}" | median | awk '{ print $1 / 1000 }')"
printf '%-34s %10.1f ms\n' "R ade4 dudi.nsc ($size)" "$(printf '%s\n' "${theirs[@]}" | median | awk '{ print $1 / 1000 }')"
