#!/usr/bin/env bash
# Installs what is needed, configures fresh build directories and runs the
# whole test suite three ways:
#   1. the Release build (build-tests/), ctest;
#   2. the same suite built with AddressSanitizer and UndefinedBehavior-
#      Sanitizer (build-asan/, Debug), ctest; any report fails its test;
#   3. each fuzz target for a short bounded time on its seed corpus
#      (scripts/run-fuzzers.sh, MARVIST_FUZZ_SECONDS, 30 by default).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_TEST_BUILD_DIR:-$root/build-tests}
asan_build=${MARVIST_ASAN_BUILD_DIR:-$root/build-asan}
fuzz_seconds=${MARVIST_FUZZ_SECONDS:-30}

bash "$root/scripts/install-deps.sh"

rm -rf "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2
# A hanging test fails after ten minutes instead of blocking the run.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600

echo "== The test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
rm -rf "$asan_build"
cmake -S "$root" -B "$asan_build" -DCMAKE_BUILD_TYPE=Debug -DMARVIST_SANITIZE=ON
cmake --build "$asan_build" -j2
(
  export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  # Leaks of the system libraries under the desktop program, listed one by one.
  export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
  ctest --test-dir "$asan_build" --output-on-failure -j2 --timeout 900
)

echo "== Fuzz targets, $fuzz_seconds s each"
bash "$root/scripts/run-fuzzers.sh" "$fuzz_seconds"
