#!/usr/bin/env bash
# Takes the README's screenshots of the desktop program on a virtual X
# display under the openbox window manager, and checks where the windows
# stand:
#   docs/main-window.png     the program as it starts
#   docs/finished-job.png    examples/mobility.set run through Start Old Job:
#                            the listing, the progress window below the main
#                            window's menu bar and toolbar, the Save As prompt
#   docs/joint-plot-window.png  the Joint Plot window that the job opened
#                            behind the listing, brought to the front
#   docs/listing-in-front.png  the main window active again with its Help
#                            menu open: the listing stays in front of it
#   docs/joint-plot-readership.png  not a screenshot: the SVG that
#                            marvist-run --plots writes for examples/readership.set,
#                            drawn by rsvg-convert (needs marvist-run beside PROGRAM)
#   docs/failed-job.png      a job whose data file is missing: the error
#                            window at the top left, its title bar and close
#                            button on the screen, the menu bar free
# The checks (printed, and the exit status): every window's frame lies on
# the screen, the listing is transient for the main window and stacked above
# it, and the error and progress windows leave the main window's menu bar
# free. Needs xvfb-run, openbox, ImageMagick's import, xdotool and the X
# tools xprop and xwininfo.
#   bash docs/take-screenshots.sh [PROGRAM]   (default: build/marvist)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
screen_w=1280 screen_h=900

if [[ ${1:-} == --on-display ]]; then
  program=$2 work=$3
  cd "$work"
  source "$root/docs/screenshot-helpers.sh"
  start_under_openbox "$program"
  import -window root "$root/docs/main-window.png"
  on_screen "main window" "$main"
  read -r _ main_top _ _ <<<"$(frame "$main")"
  main_client_top=$(xwininfo -id "$main" | awk '/Absolute upper-left Y/ {print $4}')

  # Start Old Job > Read Old Set-up File, pick mobility.set, accept the form,
  # save the set-up file over itself, and let the job run.
  xdotool windowactivate --sync "$main"
  xdotool key --window "$main" alt+o
  sleep 1; xdotool key r
  sleep 2; xdotool type --delay 40 "mobility.set"; xdotool key Return
  sleep 2; xdotool key Return   # the job form: OK
  sleep 2; xdotool key Return   # the set-up file's save dialog
  sleep 2; xdotool key alt+y    # replace the copy made for this run
  sleep 2; xdotool key Return   # "Input saved in Set-Up File"
  output=$(window "Output of Marvist")
  progress=$(window "Progress of Marvist")
  sleep 3
  import -window root "$root/docs/finished-job.png"
  on_screen "output window" "$output"
  on_screen "progress window" "$progress"
  read -r _ progress_top _ _ <<<"$(frame "$progress")"
  check "progress window below the main window's menu bar" "((progress_top > main_client_top + 20))"
  check "output window transient for the main window" \
    "[[ \$(xprop -id $output WM_TRANSIENT_FOR) == *\$(printf '0x%x' $main) ]]"

  # The Joint Plot window that the NSCA job opened behind the listing, in
  # front now; then out of the way.
  plot=$(window "Joint Plot - Class of sons by class of fathers [(]invented counts[)]")
  on_screen "joint plot window" "$plot"
  xdotool windowactivate --sync "$plot"
  sleep 1
  import -window "$plot" -frame "$root/docs/joint-plot-window.png"
  xdotool windowminimize --sync "$plot"

  # The main window active again, a menu open: the listing stays in front.
  xdotool windowactivate --sync "$main"
  sleep 1; xdotool key --window "$main" alt+h
  sleep 1
  import -window root "$root/docs/listing-in-front.png"
  stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g')
  order=" $(for id in $stacking; do printf '%d ' "$id"; done)"
  check "output window stacked above the active main window" \
    "[[ \"\$order\" == *\" $main \"*\" $output \"* ]]"
  xdotool key Escape

  # A job whose data file is missing: the error window at the top left.
  sed 's/^ *mobility[.]dat$/missing.dat/' mobility.set >broken.set
  xdotool windowactivate --sync "$main"
  xdotool key --window "$main" alt+o
  sleep 1; xdotool key r
  sleep 2; xdotool type --delay 40 "broken.set"; xdotool key Return
  sleep 2; xdotool key Return   # the job form: OK
  sleep 2; xdotool key Escape   # no set-up file saved
  errors=$(window "Errors and Warnings")
  progress=$(window "Progress of Marvist")
  sleep 3
  import -window root "$root/docs/failed-job.png"
  on_screen "error window" "$errors"
  on_screen "progress window of the failed job" "$progress"
  read -r errors_left errors_top _ _ <<<"$(frame "$errors")"
  check "error window at the left edge" "((errors_left == 0))"
  check "error window below the main window's menu bar" "((errors_top > main_client_top + 20))"
  exit $((failures > 0))
fi

program=$(realpath "${1:-$root/build/marvist}")
for tool in xvfb-run openbox import xdotool xprop xwininfo rsvg-convert; do
  command -v "$tool" >/dev/null || { echo "take-screenshots: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/examples/mobility.* "$work"
xvfb-run -a -s "-screen 0 ${screen_w}x${screen_h}x24" bash "${BASH_SOURCE[0]}" --on-display "$program" "$work"
cp "$root"/examples/readership.* "$work"
"$(dirname "$program")/marvist-run" --plots "$work/plots" "$work/readership.set" >/dev/null 2>&1
rsvg-convert --width 700 --background-color white -o "$root/docs/joint-plot-readership.png" "$work/plots/joint-1-2.svg"
echo "take-screenshots: docs/main-window.png, finished-job.png, joint-plot-window.png, listing-in-front.png," \
  "failed-job.png and joint-plot-readership.png written"
