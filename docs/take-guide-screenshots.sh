#!/usr/bin/env bash
# Takes the screenshots of the user's guide (docs/guide.md) of the desktop
# program on a virtual X display under the openbox window manager: the
# first analysis of a CSV table, examples/holidays.csv, as the guide tells it.
#   docs/guide/import-dialog.png  File > Import Table... with holidays.csv
#   docs/guide/job-form.png       the job form the import fills in, Columns
#                                 Dependent chosen
#   docs/guide/finished-job.png   the job done: listing, progress window and
#                                 the Save As prompt (the whole screen)
#   docs/guide/joint-plot.png     the Joint Plot window of the job
#   docs/guide/results-window.png File > Results on its dependence tab
# and, not screenshots, the joint plots that marvist-run --plots writes for
# examples/mobility.set and examples/readership.set, drawn by rsvg-convert
# (needs marvist-run beside PROGRAM):
#   docs/guide/mobility-plot.png, docs/guide/readership-plot.png
# Each window is checked to lie on the screen (printed, and the exit
# status). Needs xvfb-run, openbox, ImageMagick (import, convert), xdotool,
# the X tools xprop and xwininfo, and rsvg-convert.
#   bash docs/take-guide-screenshots.sh [PROGRAM]   (default: build/marvist)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
screen_w=1280 screen_h=900
out=$root/docs/guide

# A window's picture with its frame, in 256 colours: the pictures stay small.
shoot() {  # window id (or root), file
  if [[ $1 == root ]]; then import -window root "$2"; else import -window "$1" -frame "$2"; fi
  convert "$2" +dither -colors 256 -strip "PNG8:$2"
}

if [[ ${1:-} == --on-display ]]; then
  program=$2 work=$3
  cd "$work"
  source "$root/docs/screenshot-helpers.sh"
  start_under_openbox "$program"

  # File > Import Table..., holidays.csv: the dialog with what it found.
  xdotool windowactivate --sync "$main"
  xdotool key --window "$main" alt+f
  sleep 1; xdotool key t
  sleep 2; xdotool type --delay 40 "holidays.csv"; xdotool key Return
  import_dialog=$(window "Import Table")
  sleep 2
  on_screen "import dialog" "$import_dialog"
  shoot "$import_dialog" "$out/import-dialog.png"

  # OK: the job form, filled in. The import wrote the set-up file already:
  # Save Input Parameters is unticked; the destination depends on the age
  # group: Columns Dependent.
  xdotool key Return
  form=$(window "Job and Data options Marvist")
  sleep 2
  for _ in $(seq 10); do xdotool key Tab; done
  xdotool key space Tab Down
  sleep 1
  on_screen "job form" "$form"
  shoot "$form" "$out/job-form.png"

  # OK: the job runs; the listing, the progress window and the prompt.
  xdotool key Return
  output=$(window "Output of Marvist")
  sleep 3
  on_screen "output window" "$output"
  shoot root "$out/finished-job.png"

  # The Joint Plot window, opened behind the listing.
  plot=$(window "Joint Plot - Table imported from holidays.csv")
  on_screen "joint plot window" "$plot"
  xdotool windowactivate --sync "$plot"
  sleep 1
  shoot "$plot" "$out/joint-plot.png"
  xdotool windowminimize --sync "$plot"

  # File > Results, on the tab of the dependence measures.
  xdotool windowactivate --sync "$main"
  xdotool key --window "$main" alt+f
  sleep 1; xdotool key r
  results=$(window "Results of Marvist")
  xdotool windowactivate --sync "$results"
  sleep 1
  for _ in 1 2 3; do xdotool key ctrl+Tab; sleep 0.3; done
  sleep 1
  on_screen "results window" "$results"
  shoot "$results" "$out/results-window.png"
  exit $((failures > 0))
fi

program=$(realpath "${1:-$root/build/marvist}")
for tool in xvfb-run openbox import convert xdotool xprop xwininfo rsvg-convert; do
  command -v "$tool" >/dev/null || { echo "take-guide-screenshots: $tool is missing" >&2; exit 1; }
done
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
work=$temp/marvist-examples
mkdir "$work"
cp "$root"/examples/* "$work"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 ${screen_w}x${screen_h}x24" bash "${BASH_SOURCE[0]}" --on-display "$program" "$work"
for job in mobility readership; do
  "$(dirname "$program")/marvist-run" --plots "$work/plots-$job" "$work/$job.set" >/dev/null 2>&1
  rsvg-convert --width 600 --background-color white -o "$out/$job-plot.png" "$work/plots-$job/joint-1-2.svg"
  convert "$out/$job-plot.png" +dither -colors 256 -strip "PNG8:$out/$job-plot.png"
done
echo "take-guide-screenshots: docs/guide/import-dialog.png, job-form.png, finished-job.png, joint-plot.png," \
  "results-window.png, mobility-plot.png and readership-plot.png written"
