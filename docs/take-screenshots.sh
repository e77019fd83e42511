#!/usr/bin/env bash
# Takes the README's screenshots of the desktop program on a virtual X
# display: docs/main-window.png (the program as it starts) and
# docs/finished-job.png (examples/mobility.set run through Start Old Job).
# Needs xvfb-run, ImageMagick's import and xdotool.
#   bash docs/take-screenshots.sh [PROGRAM]   (default: build/marvist)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [[ ${1:-} == --on-display ]]; then
  program=$2 work=$3
  cd "$work"
  "$program" >"$work/marvist.log" 2>&1 &
  pid=$!
  trap 'kill $pid 2>/dev/null || true' EXIT
  main=$(xdotool search --sync --name "^Marvist - " | head -1)
  sleep 2
  import -window root "$root/docs/main-window.png"

  # Start Old Job > Read Old Set-up File, pick mobility.set, accept the form,
  # save the set-up file over itself, and let the job run.
  xdotool windowfocus --sync "$main"
  xdotool key --window "$main" alt+o
  sleep 1; xdotool key r
  sleep 2; xdotool type --delay 40 "mobility.set"; xdotool key Return
  sleep 2; xdotool key Return   # the job form: OK
  sleep 2; xdotool key Return   # the set-up file's save dialog
  sleep 2; xdotool key alt+y    # replace the copy made for this run
  sleep 2; xdotool key Return   # "Input saved in Set-Up File"
  xdotool search --sync --name "^Output of Marvist$" >/dev/null
  sleep 3
  import -window root "$root/docs/finished-job.png"
  exit 0
fi

program=$(realpath "${1:-$root/build/marvist}")
for tool in xvfb-run import xdotool; do
  command -v "$tool" >/dev/null || { echo "take-screenshots: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/examples/mobility.* "$work"
xvfb-run -a -s "-screen 0 1280x900x24" bash "${BASH_SOURCE[0]}" --on-display "$program" "$work"
echo "take-screenshots: docs/main-window.png and docs/finished-job.png written"
