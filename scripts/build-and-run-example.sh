#!/usr/bin/env bash
# Installs what is needed, builds the batch runner and runs the example job
# examples/mobility.set on a copy of the example, printing its listing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${MARVIST_BUILD_DIR:-$root/build}

bash "$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMARVIST_BUILD_GUI=OFF -DMARVIST_BUILD_TESTS=OFF
cmake --build "$build" -j2 --target marvist-run

run=$build/example-run
rm -rf "$run"
mkdir -p "$run"
cp "$root"/examples/mobility.set "$root"/examples/mobility.dat "$root"/examples/mobility.lab "$run"/

status=0
"$build/marvist-run" --show "$run/mobility.set" || status=$?
echo
echo "Listing written to $run/mobility.out (exit status $status)"
exit "$status"
