#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehavior-
# Sanitizer) into build-fuzz/ and runs each for SECONDS on a copy of its seed
# corpus in fuzz/corpus/. Crash, leak, timeout and out-of-memory artifacts go
# to a scratch folder; any of them fails the run.
#
#   scripts/run-fuzzers.sh SECONDS [TARGET...]
#
# Without TARGETs every target runs, one after the other. An input that runs
# longer than MARVIST_FUZZ_TIMEOUT seconds (10 by default) counts as a hang:
# raise it for runs under `nice` on a busy machine, where a slow input can
# wait far longer for the processor than it computes.
set -euo pipefail

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_FUZZ_BUILD_DIR:-$root/build-fuzz}
timeout=${MARVIST_FUZZ_TIMEOUT:-10}
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(layout_write_fuzz layout_read_fuzz free_format_fuzz label_read_fuzz setup_read_fuzz job_fuzz csv_import_fuzz)
fi

bash "$root/scripts/install-deps.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMARVIST_BUILD_FUZZERS=ON -DMARVIST_BUILD_TESTS=OFF -DMARVIST_BUILD_GUI=OFF
cmake --build "$build" -j2 --target "${targets[@]}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/marvist-fuzz-run-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary=()
for target in "${targets[@]}"; do
  corpus=$scratch/$target/corpus
  artifacts=$scratch/$target/artifacts
  mkdir -p "$corpus" "$artifacts"
  cp "$root/fuzz/corpus/$target/"* "$corpus/"
  log=$scratch/$target/log
  echo "== $target: $seconds s"
  status=0
  "$build/$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if ((status != 0)) || compgen -G "$artifacts/*" >/dev/null; then
    tail -n 60 "$log"
    for artifact in "$artifacts"/*; do
      [[ -e $artifact ]] || continue
      kept=$root/fuzz-out/$(basename "$artifact")-$target
      mkdir -p "$root/fuzz-out"
      cp "$artifact" "$kept"
      echo "artifact kept as $kept"
    done
    failed+=("$target")
    summary+=("$target: FAILED (exit status $status) after ${runs:-?} executions")
  else
    summary+=("$target: ${runs:-?} executions in $seconds s, no crash, leak or timeout")
  fi
done

echo
printf '%s\n' "${summary[@]}"
if ((${#failed[@]} > 0)); then
  echo "fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
