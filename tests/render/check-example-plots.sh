#!/usr/bin/env bash
# The runner's joint plots of the example jobs, checked with real tools:
# mobility (two axes), mobility with four axes (six pairs) and readership
# (columns dependent, a supplementary column); every SVG must parse as XML
# and render to a PNG that is not blank (check-svg-render.sh).
# Usage: check-example-plots.sh MARVIST_RUN EXAMPLES_FOLDER WORK_FOLDER
set -euo pipefail

runner=$1 examples=$2 work=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$work"
mkdir -p "$work"
cp "$examples"/*.set "$examples"/*.dat "$examples"/*.lab "$work"
# The same job with four axes: the tenth line of the set-up file.
sed '10s/^ 2 / 4 /' "$work/mobility.set" >"$work/mobility4.set"

"$runner" --plots "$work/plots-mobility" "$work/mobility.set" >/dev/null 2>&1
"$runner" --plots "$work/plots-mobility4" "$work/mobility4.set" >/dev/null 2>&1
"$runner" --plots "$work/plots-readership" "$work/readership.set" >/dev/null 2>&1

bash "$here/check-svg-render.sh" "$work/plots-mobility" 1
bash "$here/check-svg-render.sh" "$work/plots-mobility4" 6
bash "$here/check-svg-render.sh" "$work/plots-readership" 1
