#!/usr/bin/env bash
# Drives the real application on a private X server with openbox, by keyboard
# as a user would, and reads back what the X server holds:
#   - the panel offers no maximise (the window manager's allowed actions);
#   - "Me(&M)..." opens the About dialog modal over the panel, centred on the
#     screen, fixed, with neither minimise nor maximise; Escape closes it, and Enter;
#   - an iconify request on the About dialog, by WM_CHANGE_STATE and by
#     _NET_WM_STATE_HIDDEN, leaves the panel and the dialog on the screen and
#     the panel answering the window manager's pings.
# Every wait polls the X state against a deadline.
#   app_dialogs.sh VORN2_EXECUTABLE
# VORN_SCREENSHOT_DIR, when set, receives about.png (the open About dialog).
set -u
app=$1
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=tests/e2e/xsession_lib.sh
source "$here/xsession_lib.sh"
# shellcheck source=tests/e2e/panel_keys.sh
source "$here/panel_keys.sh"
begin_x_test Xvfb openbox xdotool xwininfo xprop import /usr/bin/python3
/usr/bin/python3 -c 'import Xlib' 2>/dev/null || no_x_session "python3-xlib not installed"
start_x_session

if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$here/../../.ci/lsan.supp" ]; then
  export LSAN_OPTIONS="suppressions=$here/../../.ci/lsan.supp:print_suppressions=0"
fi
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!

allowed() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null; }
has_allowed() { [[ "$(allowed "$1")" == *_NET_WM_ACTION_* ]]; }
has_frame() { [ -n "$(extents "$about")" ]; }

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
  /usr/bin/python3 - "$1" <<'PY'
import sys
from Xlib import X, display, protocol
d = display.Display(); root = d.screen().root
w = d.create_resource_object("window", int(sys.argv[1], 0))
ev = protocol.event.ClientMessage(window=w, client_type=d.intern_atom("_NET_WM_STATE"),
                                  data=(32, [1, d.intern_atom("_NET_WM_STATE_HIDDEN"), 0, 2, 0]))
root.send_event(ev, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
d.flush()
PY
}

wait_or_fail "the panel" 20 find_panel
wait_or_fail "the panel's allowed actions" 10 has_allowed "$panel"
[[ "$(allowed "$panel")" != *MAXIMIZE* ]] || fail "the panel can be maximised: $(allowed "$panel")"
echo "panel $panel: no maximise"

# --- About: owned by the panel, modal, centred, no minimise or maximise.
open_about
xprop -id "$about" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$panel")" ||
  fail "the About dialog is not owned by the panel: $(xprop -id "$about" WM_TRANSIENT_FOR)"
xprop -id "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL ||
  fail "the About dialog is not modal: $(xprop -id "$about" _NET_WM_STATE)"
read -r ax ay aw ah <<<"$(geom "$about")"
# Client area 4905 x 2625 twips at 15 twips a pixel.
[ "$aw" -eq 327 ] && [ "$ah" -eq 175 ] || fail "the About dialog is ${aw}x${ah}, not 327x175"
# The frame's centre on the centre of the 1280x800 screen, to the pixel that
# rounding the twips may cost.
wait_or_fail "the About dialog's frame" 10 has_frame
read -r el er et eb <<<"$(extents "$about")"
dx=$(( 2 * (ax - el) + aw + el + er - 1280 )); dy=$(( 2 * (ay - et) + ah + et + eb - 800 ))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
  fail "the About dialog is not centred: its frame's centre is off by $dx,$dy half-pixels"
wait_or_fail "the About dialog's allowed actions" 10 has_allowed "$about"
actions=$(allowed "$about")
[[ "$actions" != *MINIMIZE* && "$actions" != *MAXIMIZE* && "$actions" != *RESIZE* ]] ||
  fail "the About dialog can be minimised, maximised or resized: $actions"
if [ -n "${VORN_SCREENSHOT_DIR:-}" ]; then
  import -window root -crop "$((aw + 40))x$((ah + 60))+$((ax - 20))+$((ay - 40))" +repage \
    "$VORN_SCREENSHOT_DIR/about.png"
fi
echo "About: modal over the panel at ${ax},${ay}, centred, no minimise, no maximise"
for key in Escape Return; do
  [ "$key" = Escape ] || open_about
  xdotool key "$key"
  wait_or_fail "the About dialog to close on $key" 10 is_unmapped "$about"
  wait_or_fail "the panel to be viewable" 10 is_viewable "$panel"
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
  # The window manager acts on the request (or refuses it) while the panel's
  # answers are timed for a second; then both windows must be on the screen.
  worst=$(ping_panel)
  wait_or_fail "the panel back on the screen" 10 is_viewable "$panel"
  wait_or_fail "the About dialog back on the screen" 10 is_viewable "$about"
  echo "iconify by $request: panel and About on the screen, the panel answered pings within $worst ms"
  [ "${worst%.*}" -lt 500 ] || fail "the panel took $worst ms to answer a ping"
  wait_or_fail "the About dialog to have the focus" 10 about_active
  xdotool key Escape
  wait_or_fail "the About dialog to close" 10 is_unmapped "$about"
done

kill -0 "$app_pid" 2>/dev/null || fail "the application ended"
echo "PASS"
exit 0
