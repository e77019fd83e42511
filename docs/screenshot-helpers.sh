# Helpers of the screenshot scripts (docs/take-screenshots.sh,
# docs/take-guide-screenshots.sh), run on the virtual display: windows found
# by their titles, their frames on the screen, and checks counted in
# $failures. Sourced; needs xdotool, xprop and xwininfo, and screen_w and
# screen_h set to the screen's size.

failures=0

# Starts openbox and then the program (in the current folder, its output in
# $work), ends both when the script exits, and sets $main to the program's
# main window once it shows.
start_under_openbox() {  # program
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
  "$1" >"$work/marvist.log" 2>&1 &
  pid=$!
  trap 'kill $pid $wm 2>/dev/null || true' EXIT
  main=$(window "Marvist - Asymmetric Analysis of Asymmetric Tables - version 2.0c")
  sleep 2
}

# The visible top-level window of this exact title, waited for. A search
# that meets a window being destroyed fails: it is simply tried again.
window() {
  local id=
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    [[ -n $id ]] && break
    sleep 0.2
  done
  echo "$id"
}

# left top right bottom of a window's frame on the screen.
frame() {
  local id=$1 x y w h ext l r t b
  x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print $4}')
  y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ {print $4}')
  w=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
  h=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
  ext=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r l r t b <<<"$ext"
  echo $((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))
}

check() {  # description, condition
  if eval "$2"; then echo "take-screenshots: ok    $1"; else echo "take-screenshots: FAIL  $1"; failures=$((failures + 1)); fi
}

on_screen() {  # name, window id
  local l t r b
  read -r l t r b <<<"$(frame "$2")"
  check "$1: frame ($l,$t)-($r,$b) on the screen" "((l >= 0 && t >= 0 && r <= screen_w && b <= screen_h))"
}
