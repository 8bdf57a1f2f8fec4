#!/usr/bin/env bash
# End-to-end test of the operator window on a small, scaled screen (run it through
# xvfb-run with a 1280 x 1024 screen): with QT_SCALE_FACTOR=2 the desktop is 640 x 512
# logical pixels, smaller than the window's usual 1200 x 750. The main window must lie
# wholly on the screen; Esc then ends the program in order.
#
# Usage: scaled_window_e2e.sh BUILD_DIR
set -euo pipefail

build="$(realpath "${1:?usage: scaled_window_e2e.sh BUILD_DIR}")"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
[ -n "${DISPLAY:-}" ] || { echo "scaled_window_e2e: no DISPLAY; run through xvfb-run" >&2; exit 1; }

work="$(mktemp -d /tmp/sendwerk-scaled.XXXXXX)"
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "scaled_window_e2e: FAIL: $*" >&2
  [ -s "$work/sendwerk.log" ] && tail -30 "$work/sendwerk.log" >&2
  exit 1
}

# The geometry of the visible window named like the main window, as "X Y W H" in
# screen pixels; the start-up window is only 200 logical pixels high.
main_window_geometry() {
  local w
  for w in $(xdotool search --onlyvisible --name "automatisches Mail-Programm" 2>/dev/null); do
    local g
    g="$(xwininfo -id "$w" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                  /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')"
    [ "$(echo "$g" | cut -d' ' -f4)" -gt 450 ] && { echo "$w $g"; return 0; }
  done
  return 1
}

# The office needs no mail server: nothing is sent.
SENDWERK_DEMO_EDITOR=true "$source_dir/scripts/make-demo-office" "$build" "$work" 2525 >/dev/null
cd "$work"
QT_SCALE_FACTOR=2 SENDWERK_CONFIG="$work/sendwerk.conf" "$build/src/app/sendwerk" >"$work/sendwerk.log" 2>&1 &
program=$!

deadline=$((SECONDS + 60))
until found="$(main_window_geometry)"; do
  [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for the main window"
  sleep 0.2
done
read -r window x y w h <<<"$found"
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h}')
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$screen_w" ] && [ $((y + h)) -le "$screen_h" ] ||
  fail "the window at $x,$y size ${w}x$h is not wholly on the ${screen_w}x$screen_h screen"

xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key Escape
status=0
wait "$program" || status=$?
program=""
[ "$status" -eq 0 ] || fail "exit status $status"
echo "scaled_window_e2e: the window lies at $x,$y size ${w}x$h on the ${screen_w}x$screen_h screen"
echo "1 passed, 0 failed"
