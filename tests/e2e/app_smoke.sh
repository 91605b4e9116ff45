#!/usr/bin/env bash
# Starts the real application on a private X server with openbox and checks
# what a user sees: the strip lies across the whole width at the bottom of the
# screen, one line high, and stands empty and still until a text is loaded.
#   app_smoke.sh VORN2_EXECUTABLE
set -u
app=$1

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/xsession_lib.sh"
begin_x_test Xvfb openbox xdotool xwininfo xprop import compare convert
start_x_session

XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!

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

# The strip is the application's managed window that is not the panel.
find_strip() {
  local win
  strip=""
  for win in $(client_list); do
    xprop -id "$win" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    xprop -id "$win" WM_NAME 2>/dev/null | grep -q '"vorn2 1.0"' && continue
    xwininfo -id "$win" 2>/dev/null | grep -q 'IsViewable' && strip=$win
  done
  [ -n "$strip" ]
}
measure() { read -r x y w h <<<"$(geom "$strip")"; }
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
# Once there, it must stay there.
sleep 0.5
measure
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
