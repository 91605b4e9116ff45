#!/usr/bin/env bash
# Drives the real application on a private X server with openbox, by keyboard
# as a user would, and reads back what the X server holds:
#   - the panel offers no maximise, the About dialog neither minimise nor
#     maximise (the window manager's _NET_WM_ALLOWED_ACTIONS);
#   - Escape closes the About dialog, and Enter does;
#   - an iconify request on the About dialog, by WM_CHANGE_STATE and by
#     _NET_WM_STATE_HIDDEN, leaves the panel and the dialog on the screen and
#     the panel answering the window manager's pings;
#   - the expanded panel and the Font dialog, shot for a look.
# Every wait polls the X state against a deadline.
#   app_dialogs.sh VORN2_EXECUTABLE
# VORN_SCREENSHOT_DIR, when set, receives about.png, panel.png and font.png.
set -u
app=$1
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=tests/e2e/xsession_lib.sh
source "$here/xsession_lib.sh"
begin_x_test Xvfb openbox xdotool xwininfo xprop import /usr/bin/python3
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || no_x_session "python3-xlib not installed"
start_x_session

if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$here/../../.ci/lsan.supp" ]; then
  export LSAN_OPTIONS="suppressions=$here/../../.ci/lsan.supp:print_suppressions=0"
fi
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!

wait_or_fail() {
  local what=$1 seconds=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    kill -0 "$app_pid" 2>/dev/null || fail "the application ended while waiting for $what"
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

is_viewable() { [[ "$(xwininfo -id "$1" 2>/dev/null)" == *'Map State: IsViewable'* ]]; }
is_unmapped() { ! is_viewable "$1"; }
allowed() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null; }
has_allowed() { [[ "$(allowed "$1")" == *_NET_WM_ACTION_* ]]; }
find_panel() { panel=$(xdotool search --onlyvisible --name '^vorn2 1\.0$' 2>/dev/null | head -n 1); [ -n "$panel" ]; }
find_about() { about=$(xdotool search --onlyvisible --name '^About\.\.\.$' 2>/dev/null | head -n 1); [ -n "$about" ]; }
about_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$about" ]; }
panel_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$panel" ]; }
menu_open() {
  local id
  for id in $(xdotool search --onlyvisible --class vorn2 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
menu_closed() { ! menu_open; }
shot() { # window file: the window and a margin round it
  [ -n "${VORN_SCREENSHOT_DIR:-}" ] || return 0
  local x y w h
  read -r x y w h <<<"$(geom "$1")"
  import -window root -crop "$((w + 40))x$((h + 60))+$((x - 20))+$((y - 40))" +repage \
    "$VORN_SCREENSHOT_DIR/$2"
}

activate_panel() {
  local attempt
  for attempt in 1 2 3 4 5; do
    kill -0 "$app_pid" 2>/dev/null || fail "the application ended"
    xdotool windowactivate "$panel" 2>/dev/null
    wait_for 2 panel_active && return 0
  done
  fail "the panel did not become active"
}

# Opens a menu of the panel by its access key and chooses an item by its own.
choose() {
  local menu_key=$1 item_key=$2 attempt
  for attempt in 1 2 3 4 5; do
    activate_panel
    xdotool key "alt+$menu_key"
    wait_for 3 menu_open && break
    [ "$attempt" -lt 5 ] || fail "the menu did not open"
    xdotool key Escape
  done
  xdotool key "$item_key"
  wait_or_fail "the menu to close" 10 menu_closed
}

open_about() {
  choose a m
  wait_or_fail "the About dialog" 10 find_about
  wait_or_fail "the About dialog to be viewable" 10 is_viewable "$about"
  wait_or_fail "the About dialog to have the focus" 10 about_active
}

# The longest time (ms) the panel took to answer _NET_WM_PING over a second, by
# the shared measuring tool beside the checkout; 0 where it is not there.
pingwatch="$here/../../../shared/tools/pingwatch.py"
ping_panel() {
  if [ -f "$pingwatch" ]; then /usr/bin/python3 "$pingwatch" "$panel" 1; else echo 0; fi
}

# Asks the window manager to hide the window through _NET_WM_STATE, as a pager does.
request_hidden() {
  /usr/bin/python3 - "$1" <<'EOF'
import sys
from Xlib import X, display, protocol
d = display.Display(); root = d.screen().root
w = d.create_resource_object("window", int(sys.argv[1], 0))
ev = protocol.event.ClientMessage(window=w, client_type=d.intern_atom("_NET_WM_STATE"),
                                  data=(32, [1, d.intern_atom("_NET_WM_STATE_HIDDEN"), 0, 2, 0]))
root.send_event(ev, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
d.flush()
EOF
}

wait_or_fail "the panel" 20 find_panel
wait_or_fail "the panel's allowed actions" 10 has_allowed "$panel"
[[ "$(allowed "$panel")" != *MAXIMIZE* ]] || fail "the panel can be maximised: $(allowed "$panel")"
echo "panel $panel: no maximise"

# --- The About dialog: no minimise, no maximise; Escape closes it, and Enter.
open_about
wait_or_fail "the About dialog's allowed actions" 10 has_allowed "$about"
actions=$(allowed "$about")
[[ "$actions" != *MINIMIZE* && "$actions" != *MAXIMIZE* ]] ||
  fail "the About dialog can be minimised or maximised: $actions"
shot "$about" about.png
echo "About: no minimise, no maximise"
for key in Escape Return; do
  [ "$key" = Escape ] || open_about
  xdotool key "$key"
  wait_or_fail "the About dialog to close on $key" 10 is_unmapped "$about"
  echo "About: closed by $key"
done

# --- Iconify requests on the About dialog leave everything on the screen.
for request in WM_CHANGE_STATE _NET_WM_STATE_HIDDEN; do
  open_about
  if [ "$request" = WM_CHANGE_STATE ]; then
    xdotool windowminimize "$about"
  else
    request_hidden "$about"
  fi
  # The window manager acts on the request; the application undoes it.
  sleep 0.3
  wait_or_fail "the panel back on the screen" 10 is_viewable "$panel"
  wait_or_fail "the About dialog back on the screen" 10 is_viewable "$about"
  worst=$(ping_panel)
  echo "iconify by $request: panel and About on the screen, the panel answered pings within $worst ms"
  [ "${worst%.*}" -lt 500 ] || fail "the panel took $worst ms to answer a ping"
  wait_or_fail "the About dialog to have the focus" 10 about_active
  xdotool key Escape
  wait_or_fail "the About dialog to close" 10 is_unmapped "$about"
done

# --- The expanded panel, and the Font dialog over it.
read -r _ _ _ collapsed <<<"$(geom "$panel")"
choose o p
expanded() { local h; read -r _ _ _ h <<<"$(geom "$panel")"; [ "$h" -gt "$collapsed" ]; }
wait_or_fail "the panel to expand" 10 expanded
sleep 0.3
shot "$panel" panel.png
choose o f
find_font() { font=$(xdotool search --onlyvisible --name '^Select Font$' 2>/dev/null | head -n 1); [ -n "$font" ]; }
wait_or_fail "the Font dialog" 10 find_font
wait_or_fail "the Font dialog to be viewable" 10 is_viewable "$font"
sleep 0.3
shot "$font" font.png
xdotool key Escape
wait_or_fail "the Font dialog to close" 10 is_unmapped "$font"
echo "panel expanded and Font dialog shown"

kill -0 "$app_pid" 2>/dev/null || fail "the application ended"
echo "PASS"
exit 0
