#!/usr/bin/env bash
# Installs what is needed, configures a fresh build directory, builds
# everything and runs the whole test suite.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_TEST_BUILD_DIR:-$root/build-tests}

bash "$root/scripts/install-deps.sh"

rm -rf "$build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2
# A hanging test fails after ten minutes instead of blocking the run.
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
