#!/usr/bin/env bash
# The benchmark command: builds the Release batch runner and the benchmarks
# into build/, runs jobs of 30 x 20, 300 x 300, 1000 x 1000 and 2000 x 2000
# with every analysis switched on (NSCA with 2 axes, homogenisation,
# symmetry), and prints for each the median wall time, the peak memory and
# the size of the listing; the 1000 x 1000 job again with its joint plots
# (--plots) and with its results exported (--export); the time of the NSCA's
# decomposition on each job's table (full and fast path) with its share of
# the job's wall time; then the listing writer's throughput, the time of the
# joint plot pictures and of 10 000 permutations of a 30 x 20 table.
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
cmake --build "$build" -j2 --target marvist-run listing_bench decomposition_bench plot_bench permutation_bench >/dev/null

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

# Median wall time in microseconds of RUNS runs of marvist-run with the
# given arguments.
median_wall() {
  local times=() k start end status
  for ((k = 0; k < runs; k++)); do
    start=${EPOCHREALTIME/./}  # microseconds, read without starting a process
    status=0
    "$build/marvist-run" "$@" >/dev/null 2>"$work/run.err" || status=$?
    end=${EPOCHREALTIME/./}
    if ((status != 0)); then
      echo "marvist-run $* failed (exit status $status):" >&2
      cat "$work/run.err" >&2
      exit 1
    fi
    times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | median
}

printf '%-12s %14s %14s %14s\n' job "wall (median)" "peak memory" "listing size"
for size in "${sizes[@]}"; do
  rows=${size%x*}
  cols=${size#*x}
  name=bench$size
  make_job "$name" "$rows" "$cols"
  wall_us=$(median_wall "$work/$name.set")
  job_wall_us[$size]=$wall_us
  /usr/bin/time -f %M -o "$work/$name.mem" "$build/marvist-run" "$work/$name.set" >/dev/null 2>&1
  peak_kb=$(tail -n 1 "$work/$name.mem")
  listing_bytes=$(stat -c %s "$work/$name.out")
  printf '%-12s %11.1f ms %11.1f MB %11.2f MB\n' "$size" "$(echo "$wall_us" | awk '{ print $1 / 1000 }')" \
    "$(echo "$peak_kb" | awk '{ print $1 / 1024 }')" "$(echo "$listing_bytes" | awk '{ print $1 / 1048576 }')"
done

# The same 1000 x 1000 job with its joint plots written as SVG (--plots):
# the median wall time against the job alone above.
if [[ -n ${job_wall_us[1000x1000]:-} ]]; then
wall_us=${job_wall_us[1000x1000]}
times=()
for ((k = 0; k < runs; k++)); do
  start=${EPOCHREALTIME/./}
  "$build/marvist-run" --plots "$work/plots" "$work/bench1000x1000.set" >/dev/null 2>&1
  end=${EPOCHREALTIME/./}
  times+=($((end - start)))
done
plots_us=$(printf '%s\n' "${times[@]}" | median)
printf '%-12s %11.1f ms   (%d SVG file(s), %.1f kB)\n' "+ --plots" "$(echo "$plots_us" | awk '{ print $1 / 1000 }')" \
  "$(ls "$work/plots" | wc -l)" "$(du -sk "$work/plots" | awk '{ print $1 }')"

# The export of the largest job: CSV files of a million rows each, each
# run into a folder of its own (a run that replaced the files of the run
# just before would also wait for the disk to take them).
export_times=()
for ((k = 0; k < runs; k++)); do
  start=${EPOCHREALTIME/./}
  "$build/marvist-run" --export "$work/export-$k" "$work/bench1000x1000.set" >/dev/null 2>"$work/run.err" || {
    echo "marvist-run --export failed:" >&2
    cat "$work/run.err" >&2
    exit 1
  }
  end=${EPOCHREALTIME/./}
  export_times+=($((end - start)))
done
export_us=$(printf '%s\n' "${export_times[@]}" | median)
printf '%-12s %11.1f ms   (the export adds %.0f %%, %s of files)\n' "+ --export" \
  "$(echo "$export_us" | awk '{ print $1 / 1000 }')" "$(echo "$export_us $wall_us" | awk '{ print 100 * ($1 / $2 - 1) }')" \
  "$(du -sh "$work/export-0" | cut -f 1)"
rm -rf "$work"/export-*
fi

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

echo
echo "Joint plot pictures (bench/plot_bench: label placement, model + layout + SVG):"
"$build/plot_bench" --benchmark_min_time=0.5 2>/dev/null |
  awk '/^BM_/ { printf "  %-28s %10s %s CPU\n", $1, $4, $5 }'

echo
echo "Permutation test, 10 000 random tables of 30 x 20 (bench/permutation_bench):"
"$build/permutation_bench" 2>/dev/null | awk '/^BM_/ { printf "  N = %-12s %8s %s wall, %s %s CPU\n", substr($1, index($1, "/") + 1, index($1, "/iter") - index($1, "/") - 1), $2, $3, $4, $5 }'
