#!/usr/bin/env bash
# Starts the real application on a private X server with openbox and checks
# the start-up and the end as a user sees them: the strip is mapped, at the
# bottom of the work area at full width, before the control panel; the panel
# has its caption, its icon, only its caption and menu bar, and stands in the
# middle of the screen; a press-drag-release moves the strip; the window
# manager's close asks "Quit ?", No keeps the application and Yes ends it with
# status 0; SIGTERM ends it without asking, even while the question is open.
#   app_panel.sh VORN2_EXECUTABLE
# VORN_SCREENSHOTS=DIR keeps screenshots of the start state and the expanded
# panel (also with Alt held) in DIR.
set -u
app=$1

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/xsession_lib.sh"
begin_x_test Xvfb openbox xdotool xwininfo xprop import

start_x_session

start_app() {
  XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
  app_pid=$!
}

find_windows() {
  panel=""; strip=""
  local w
  for w in $(client_list); do
    xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    if [ "$(name_of "$w")" = "vorn2 1.0" ]; then panel=$w; elif [ -z "$panel" ]; then strip=$w; fi
  done
  [ -n "$panel" ] && [ -n "$strip" ] && viewable "$panel" && viewable "$strip"
}
question_gone() { [ -z "$(question)" ]; }

workarea() { xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.* = //p' | tr -d ',' | cut -d' ' -f1-4; }
have_workarea() { [ -n "$(workarea)" ]; }
wait_for 10 have_workarea || fail "openbox published no work area"
read -r wx wy ww wh <<<"$(workarea)"

start_app
wait_for 20 find_windows || fail "the strip and the panel were not both mapped"

# The window manager lists clients in the order they were first mapped.
order=$(client_list)
strip_at=$(grep -now "$strip" <<<"$(tr ' ' '\n' <<<"$order")" | cut -d: -f1)
panel_at=$(grep -now "$panel" <<<"$(tr ' ' '\n' <<<"$order")" | cut -d: -f1)
echo "mapping order: strip $strip_at, panel $panel_at"
[ "$strip_at" -lt "$panel_at" ] || fail "the panel was mapped before the strip"

strip_placed() {
  read -r sx sy sw sh <<<"$(geom "$strip")"
  [ "$sx" -eq "$wx" ] && [ "$sw" -eq "$ww" ] && [ $((sy + sh)) -eq $((wy + wh)) ]
}
wait_for 10 strip_placed || fail "strip at $sx,$sy ${sw}x$sh, not across the bottom of the work area $wx,$wy ${ww}x$wh"
echo "strip at $sx,$sy size ${sw}x$sh"

[ "$(name_of "$panel")" = "vorn2 1.0" ] || fail "panel caption is '$(name_of "$panel")'"
xprop -id "$panel" _NET_WM_ICON | grep -q 'Icon (16 x 16)' || fail "the panel has no 16 x 16 icon"
actions=$(xprop -id "$panel" _NET_WM_ALLOWED_ACTIONS)
grep -q MINIMIZE <<<"$actions" || fail "the panel cannot be minimised"
grep -q MAXIMIZE <<<"$actions" && fail "the panel can be maximised"
grep -q 'RESIZE' <<<"$actions" && fail "the panel can be resized"

framed() { [ -n "$(extents "$panel")" ] && [ "$(extents "$panel" | cut -d' ' -f3)" -gt 0 ]; }
wait_for 10 framed || fail "the panel got no caption bar"
read -r el er et eb <<<"$(extents "$panel")"
# The frame's centre on the work area's centre, to the pixel that rounding
# the twips may cost.
centred() {
  read -r px py pw ph <<<"$(geom "$panel")"
  fx=$((px - el)); fy=$((py - et)); fw=$((pw + el + er)); fh=$((ph + et + eb))
  dx=$(( (2 * fx + fw) - (2 * wx + ww) )); dy=$(( (2 * fy + fh) - (2 * wy + wh) ))
  [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ]
}
wait_for 10 centred || fail "the panel is not centred: its frame's centre is off by $dx,$dy half-pixels"
echo "panel client at $px,$py size ${pw}x$ph, frame extents $el $er $et $eb, centre off by $dx,$dy half-pixels"
# Collapsed: below the caption bar only the menu bar, one line of text.
[ "$ph" -ge 12 ] && [ "$ph" -le 40 ] || fail "the collapsed panel's client area is $ph pixels high"
[ "$pw" -eq 261 ] || fail "the panel is $pw pixels wide inside, not 3915 twips"
collapsed_h=$ph

# Panel(&P) expands to 3000 twips (200 pixels, frame included) and collapses
# back, the panel standing where it stood.
xdotool windowactivate --sync "$panel" >/dev/null 2>&1
xdotool key alt+o p
expanded() { read -r ex ey ew eh <<<"$(geom "$panel")"; [ $((eh + et + eb)) -eq 200 ]; }
wait_for 10 expanded || fail "Panel(&P) did not expand the panel to 200 pixels: client ${ew}x$eh"
[ "$ex,$ey,$ew" = "$px,$py,$pw" ] || fail "expanding moved the panel to $ex,$ey width $ew"
if [ -n "${VORN_SCREENSHOTS:-}" ]; then
  mkdir -p "$VORN_SCREENSHOTS"
  sleep 0.3
  import -window root "$VORN_SCREENSHOTS/expanded.png"
  xdotool keydown alt
  sleep 0.3
  import -window root "$VORN_SCREENSHOTS/expanded-alt.png"
  xdotool keyup alt
fi
xdotool key alt+o p
collapsed() { read -r cx cy cw ch <<<"$(geom "$panel")"; [ "$ch" -eq "$collapsed_h" ]; }
wait_for 10 collapsed || fail "Panel(&P) did not collapse the panel again: client ${cw}x$ch"
[ "$cx,$cy,$cw" = "$px,$py,$pw" ] || fail "collapsing moved the panel to $cx,$cy width $cw"
echo "Panel: expanded to 200 pixels and collapsed to $ch in place"

if [ -n "${VORN_SCREENSHOTS:-}" ]; then
  mkdir -p "$VORN_SCREENSHOTS"
  import -window root "$VORN_SCREENSHOTS/start.png"
fi

# A press-drag-release on the strip moves it; it stays inside the desktop.
read -r sx sy sw sh <<<"$(geom "$strip")"
xdotool mousemove $((sx + sw / 2)) $((sy + sh / 2))
xdotool mousedown 1
for step in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((sx + sw / 2)) $((sy + sh / 2 - step * 40))
  sleep 0.05
done
xdotool mouseup 1
strip_moved() { read -r mx my _ _ <<<"$(geom "$strip")"; [ "$my" -le $((sy - 200)) ]; }
wait_for 10 strip_moved || fail "the strip did not follow the drag: it is at $mx,$my"
[ "$mx" -eq "$wx" ] || fail "the dragged strip left the desktop's left edge: x=$mx"
echo "strip dragged from y=$sy to y=$my"

# The window manager's close asks; No (Enter, the default) keeps everything.
# Alt+F4 is the window manager's close. A key can be lost while the focus
# moves (or a grab of the drag before is being let go), so it is tried again;
# a second request while the question is open is ignored by the application.
close_panel() {
  local _try
  for _try in 1 2 3; do
    xdotool windowactivate --sync "$panel" >/dev/null 2>&1
    xdotool key --clearmodifiers alt+F4
    wait_for 3 question_open && return 0
  done
  return 1
}
close_panel || fail "closing the panel asked nothing"
xdotool windowactivate --sync "$(question)" >/dev/null 2>&1
xdotool key Return
wait_for 10 question_gone || fail "the question stayed open after Enter"
app_gone && fail "the application ended although the answer was No"
viewable "$panel" && viewable "$strip" || fail "a window went away although the answer was No"
echo "No: still running"

# Yes ends the process with status 0.
close_panel || fail "closing the panel again asked nothing"
xdotool windowactivate --sync "$(question)" >/dev/null 2>&1
xdotool key alt+y
wait_for 20 app_gone || fail "the application still runs after Yes"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the application ended with status $status"
echo "Yes: ended with status 0"

# SIGTERM ends it without asking, also while the question is open.
start_app
wait_for 20 find_windows || fail "the second start did not map both windows"
close_panel || fail "closing the panel asked nothing on the second start"
kill -TERM "$app_pid"
wait_for 20 app_gone || fail "SIGTERM did not end the application"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "after SIGTERM the application ended with status $status"
echo "SIGTERM: ended with status 0"

echo "PASS"
exit 0
