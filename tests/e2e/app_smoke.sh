#!/usr/bin/env bash
# Starts the real application on a private X server with openbox and checks
# what a user sees: the strip lies across the whole width at the bottom of the
# screen, one line high, and its text moves.
#   app_smoke.sh VORN2_EXECUTABLE
set -u
app=$1

for tool in Xvfb xdpyinfo openbox xdotool xwininfo xprop import compare; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "no X server for the end-to-end test: $tool not installed"
    exit 0
  fi
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

# On a busy machine a fresh X server or openbox now and then gives up at
# start; each is tried again before the test is skipped.
display=""
for _attempt in 1 2 3; do
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ -s "$work/display" ] && DISPLAY=":$(head -n 1 "$work/display")" xdpyinfo >/dev/null 2>&1; then
    display=":$(head -n 1 "$work/display")"
    pids+=("$xvfb_pid")
    break
  fi
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null
done
if [ -z "$display" ]; then
  echo "no X server for the end-to-end test: Xvfb did not start"
  exit 0
fi
export DISPLAY="$display"
wm_pid=""
for _attempt in 1 2 3; do
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$wm_pid" 2>/dev/null && xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
    pids+=("$wm_pid")
    # Openbox claims the screen early in its start; the work area comes once
    # it is ready to manage windows.
    for _ in $(seq 100); do
      xprop -root _NET_WORKAREA 2>/dev/null | grep -q '=' && break
      sleep 0.1
    done
    break
  fi
  kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null
  wm_pid=""
done
if [ -z "$wm_pid" ]; then
  echo "no X server for the end-to-end test: openbox did not start"
  exit 0
fi

mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!
pids=("$app_pid" "${pids[@]}")

fail() {
  echo "FAIL: $*"
  kill -0 "$app_pid" 2>/dev/null && echo "(the application still runs)"
  kill -0 "$wm_pid" 2>/dev/null || echo "(openbox has ended)"
  xprop -root _NET_SUPPORTING_WM_CHECK 2>&1
  for id in $(xdotool search --class vorn2 2>/dev/null); do
    xwininfo -id "$id" | grep -E 'Map State|geometry|xwininfo:'
    xprop -id "$id" WM_STATE _NET_WM_STATE WM_TRANSIENT_FOR
  done
  tail -n 5 "$work/openbox.log"
  cat "$work/app.log"
  exit 1
}

# Deadlines, not sleeps: on a loaded machine start-up can take seconds.
strip=""
for _ in $(seq 300); do
  strip=$(xdotool search --onlyvisible --class vorn2 2>/dev/null | head -n 1)
  [ -n "$strip" ] && break
  kill -0 "$app_pid" 2>/dev/null || fail "the application ended at start-up"
  sleep 0.1
done
[ -n "$strip" ] || fail "no strip window appeared"

read_geometry() {
  info=$(xwininfo -id "$strip")
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  w=$(awk '/Width:/ {print $2}' <<<"$info")
  h=$(awk '/Height:/ {print $2}' <<<"$info")
}
# The window manager may still be placing it: wait for the standard place,
# then make sure it stays there.
for _ in $(seq 150); do
  read_geometry
  [ "$x" -eq 0 ] && [ "$w" -eq 1280 ] && [ $((y + h)) -eq 800 ] && break
  sleep 0.1
done
sleep 0.5
read_geometry
echo "strip at ${x},${y} size ${w}x${h}"
[ "$x" -eq 0 ] || fail "strip starts at x=$x, not at the left edge"
[ "$w" -eq 1280 ] || fail "strip is $w pixels wide, not the screen's 1280"
[ $((y + h)) -eq 800 ] || fail "strip ends at y=$((y + h)), not at the bottom edge 800"
# One line of text plus 20 twips and the 3-pixel border: well under 40 pixels.
[ "$h" -ge 12 ] && [ "$h" -le 40 ] || fail "strip is $h pixels high, not one line"

import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/a.png"
sleep 0.5
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$work/b.png"
changed=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1)
echo "pixels changed in half a second: $changed"
[ "${changed%%.*}" -gt 0 ] 2>/dev/null || fail "the text does not move"
if [ -n "${VORN_SCREENSHOT:-}" ]; then
  cp "$work/b.png" "$VORN_SCREENSHOT"
fi

kill -0 "$app_pid" 2>/dev/null || fail "the application ended while scrolling"
echo "PASS"
exit 0
