#!/usr/bin/env bash
# The benchmark command: builds the Release batch runner and the benchmarks
# into build/, runs jobs of 30 x 20, 300 x 300, 1000 x 1000 and 2000 x 2000
# with every analysis switched on (NSCA with 2 axes, homogenisation,
# symmetry), and prints for each the median wall time, the peak memory and
# the size of the listing; then the time of the NSCA's decomposition on each
# job's table (full and fast path) with its share of the job's wall time;
# then the listing writer's throughput.
#
#   bash bench/run-benchmarks.sh [RUNS [SIZE...]]
#
# RUNS (default 5) is how often each job runs for its median wall time;
# SIZEs (ROWSxCOLS) replace the default list of jobs.
set -euo pipefail

runs=${1:-5}
sizes=("${@:2}")
if ((${#sizes[@]} == 0)); then sizes=(30x20 300x300 1000x1000 2000x2000); fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh" >/dev/null

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARVIST_BUILD_GUI=OFF -DMARVIST_BUILD_TESTS=OFF \
  -DMARVIST_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target marvist-run listing_bench decomposition_bench >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/marvist-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

# A job of I x J deterministic pseudo-random counts (1 to 50, Park-Miller
# generator, exact in awk's doubles), six-character labels, free format.
make_job() {
  local name=$1 rows=$2 cols=$3
  awk -v I="$rows" -v J="$cols" -v seed="$((rows * 7919 + cols))" 'BEGIN {
    x = seed
    for (i = 1; i <= I; i++) {
      line = ""
      for (j = 1; j <= J; j++) {
        x = (x * 16807) % 2147483647
        line = line (j > 1 ? " " : "") (1 + x % 50)
      }
      print line
    }
  }' >"$work/$name.dat"
  awk -v I="$rows" -v J="$cols" 'function labels(prefix, n,   k, line) {
      line = ""
      for (k = 1; k <= n; k++) {
        line = line sprintf("%s%05d", prefix, k)
        if (k % 13 == 0 || k == n) { print line; line = "" }
      }
    }
    BEGIN { labels("R", I); labels("C", J) }' >"$work/$name.lab"
  {
    printf ' %-70s\n' "Benchmark $rows x $cols, every analysis"
    printf ' %-10s %-12s\n' "$rows" "Rows"
    printf ' %-10s %-12s\n' "$cols" "Columns"
    printf ' 1\n %s\n %s.dat\n %s.lab\n "*"\n 0 1 1 1\n' "$name" "$name" "$name"
    printf ' %-10s%-10s\n' 2 0
  } >"$work/$name.set"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

declare -A job_wall_us
printf '%-12s %14s %14s %14s\n' job "wall (median)" "peak memory" "listing size"
for size in "${sizes[@]}"; do
  rows=${size%x*}
  cols=${size#*x}
  name=bench$size
  make_job "$name" "$rows" "$cols"
  times=()
  for ((k = 0; k < runs; k++)); do
    start=${EPOCHREALTIME/./}  # microseconds, read without starting a process
    status=0
    "$build/marvist-run" "$work/$name.set" >/dev/null 2>"$work/$name.err" || status=$?
    end=${EPOCHREALTIME/./}
    if ((status != 0)); then
      echo "marvist-run failed on $size (exit status $status):" >&2
      cat "$work/$name.err" >&2
      exit 1
    fi
    times+=($((end - start)))
  done
  wall_us=$(printf '%s\n' "${times[@]}" | median)
  job_wall_us[$size]=$wall_us
  /usr/bin/time -f %M -o "$work/$name.mem" "$build/marvist-run" "$work/$name.set" >/dev/null 2>&1
  peak_kb=$(tail -n 1 "$work/$name.mem")
  listing_bytes=$(stat -c %s "$work/$name.out")
  printf '%-12s %11.1f ms %11.1f MB %11.2f MB\n' "$size" "$(echo "$wall_us" | awk '{ print $1 / 1000 }')" \
    "$(echo "$peak_kb" | awk '{ print $1 / 1024 }')" "$(echo "$listing_bytes" | awk '{ print $1 / 1048576 }')"
done

echo
echo "NSCA decomposition on the job's table, median of $runs (bench/decomposition_bench):"
printf '%-12s %12s %16s %14s %14s\n' job "full path" "fast path" "fast, 1 thread" "share of job"
for size in "${sizes[@]}"; do
  rows=${size%x*}
  cols=${size#*x}
  ((rows * cols >= 90000)) || continue
  "$build/decomposition_bench" "$work/bench$size.dat" "$rows" "$cols" 2 "$runs" >"$work/decomposition.txt"
  awk -v size="$size" -v job_us="${job_wall_us[$size]}" '
    { t[$1] = $2; if ($1 == "fast") taken = $3 }
    END { printf "%-12s %9.1f ms %9.1f ms %-4s %11.1f ms %13.0f %%\n", size, t["full"], t["fast"], "(" taken ")",
                 t["fast-1-thread"], 100 * t["fast"] * 1000 / job_us }' "$work/decomposition.txt"
done

echo
echo "Listing writer throughput (bench/listing_bench):"
"$build/listing_bench" --benchmark_min_time=0.5 2>/dev/null |
  awk '/^BM_/ { for (k = 1; k <= NF; k++) if ($k ~ /^bytes_per_second=/) { sub(/bytes_per_second=/, "", $k); printf "  %-22s %s\n", $1, $k } }'
