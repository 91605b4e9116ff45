#!/usr/bin/env bash
# Starts the real application on a private X server with openbox and checks
# what a user sees: the strip lies across the whole width at the bottom of the
# screen, one line high, and stands empty and still until a text is loaded.
#   app_smoke.sh VORN2_EXECUTABLE
set -u
app=$1

for tool in Xvfb openbox xdotool xwininfo xprop import compare convert; do
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

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
if [ ! -s "$work/display" ]; then
  echo "no X server for the end-to-end test: Xvfb did not start"
  exit 0
fi
export DISPLAY=":$(head -n 1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!
pids=("$app_pid" "${pids[@]}")

fail() {
  echo "FAIL: $*"
  cat "$work/app.log"
  exit 1
}

# The strip is the application's managed window that is not the panel.
find_strip() {
  local win
  strip=""
  for win in $(xprop -root _NET_CLIENT_LIST | sed -n 's/.*# //p' | tr -d ','); do
    xprop -id "$win" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    xprop -id "$win" WM_NAME 2>/dev/null | grep -q '"vorn2 1.0"' && continue
    xwininfo -id "$win" 2>/dev/null | grep -q 'IsViewable' && strip=$win
  done
  [ -n "$strip" ]
}
measure() {
  info=$(xwininfo -id "$strip")
  x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  w=$(awk '/Width:/ {print $2}' <<<"$info")
  h=$(awk '/Height:/ {print $2}' <<<"$info")
}
placed() { measure; [ "$x" -eq 0 ] && [ "$w" -eq 1280 ] && [ $((y + h)) -eq 800 ]; }

for _ in $(seq 200); do
  find_strip && break
  kill -0 "$app_pid" 2>/dev/null || fail "the application ended at start-up"
  sleep 0.05
done
[ -n "$strip" ] || fail "no strip window appeared"
# The window manager may still be placing it: wait for the place, not a time.
for _ in $(seq 200); do
  placed && break
  sleep 0.05
done
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
[ "${changed%%.*}" -eq 0 ] 2>/dev/null || fail "the empty strip is not still"
# Empty: its background and the darker border, no text.
colours=$(convert "$work/b.png" -format '%k' info:)
echo "colours on the strip: $colours"
[ "$colours" -le 2 ] || fail "the strip shows something ($colours colours) before any text is loaded"
if [ -n "${VORN_SCREENSHOT:-}" ]; then
  cp "$work/b.png" "$VORN_SCREENSHOT"
fi

kill -0 "$app_pid" 2>/dev/null || fail "the application ended at start-up"
echo "PASS"
exit 0
