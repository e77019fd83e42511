#!/usr/bin/env bash
# The import benchmark: builds the Release batch runner and the records
# generator into build/, writes a CSV file of survey records of MEGABYTES
# (1024 by default) in a temporary folder, imports it in records shape
# (marvist-run --import --no-run) and prints the wall time, the throughput
# and the peak memory of the import.
#
#   bash bench/import-benchmark.sh [MEGABYTES]
set -euo pipefail

megabytes=${1:-1024}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh" >/dev/null

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARVIST_BUILD_GUI=OFF -DMARVIST_BUILD_TESTS=OFF \
  -DMARVIST_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target marvist-run make_records >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/marvist-import-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

"$build/make_records" "$work/survey.csv" "$megabytes"
bytes=$(stat -c %s "$work/survey.csv")
# Read the file once, so that the import is timed on the page cache in every run.
cat "$work/survey.csv" >/dev/null

/usr/bin/time -f '%e %M' -o "$work/time" "$build/marvist-run" --import "$work/survey.csv" --rows age \
  --cols channel --no-run 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
read -r seconds peak_kb <"$work/time"
records=$(sed -n 's/.*-separated, \([0-9]*\) rows.*/\1/p' "$work/err")
awk -v b="$bytes" -v s="$seconds" -v k="$peak_kb" -v r="$records" 'BEGIN {
  printf "records import: %.0f MB, %d records in %.2f s: %.0f MB/s, %.1f million records/s, peak memory %.1f MB\n",
    b / 1048576, r, s, b / 1048576 / s, r / s / 1e6, k / 1024
}'
