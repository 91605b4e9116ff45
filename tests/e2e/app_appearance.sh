#!/usr/bin/env bash
# Drives the real application on a private X server with openbox through its
# menus, by keyboard as a user would, and reads back what the X server holds:
#   - "Z Order(&Z)" sets and then clears _NET_WM_STATE_ABOVE on the strip;
#   - "Hide Vorn(&M)" unmaps both windows, and restoring the panel maps both;
#   - "Me(&M)..." opens the About dialog modal over the panel, centred on the
#     screen, and Enter closes it.
# Every wait polls the X state against a deadline.
#   app_appearance.sh VORN2_EXECUTABLE
# VORN_SCREENSHOT_DIR, when set, receives about.png (the open About dialog).
set -u
app=$1

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/xsession_lib.sh"
begin_x_test Xvfb openbox xdotool xwininfo xprop import
start_x_session

here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$here/../../.ci/lsan.supp" ]; then
  export LSAN_OPTIONS="suppressions=$here/../../.ci/lsan.supp:print_suppressions=0"
fi
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!

fail() {
  echo "FAIL: $*"
  echo "--- windows of the application"
  local id
  for id in $(xdotool search --onlyvisible --class vorn2 2>/dev/null); do
    echo "$id \"$(xdotool getwindowname "$id" 2>/dev/null)\" $(geom "$id")"
  done
  if [ -n "${VORN_SCREENSHOT_DIR:-}" ]; then
    import -window root "$VORN_SCREENSHOT_DIR/failure.png" 2>/dev/null
  fi
  echo "--- application output"
  cat "$work/app.log"
  exit 1
}

# Polls a command until it succeeds; fails the test after $2 seconds or when
# the application ends.
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

map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ {print $3}'; }
is_viewable() { [ "$(map_state "$1")" = IsViewable ]; }
is_unmapped() { [ "$(map_state "$1")" != IsViewable ]; }
has_above() { xprop -id "$strip" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
lacks_above() { ! xprop -id "$strip" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }

find_panel() { panel=$(xdotool search --onlyvisible --name '^vorn2 1\.0$' 2>/dev/null | head -n 1); [ -n "$panel" ]; }
# The strip: the application's visible utility window (it has no caption, so
# Qt names it after the application).
find_strip() {
  strip=""
  local id
  for id in $(xdotool search --onlyvisible --class vorn2 2>/dev/null); do
    if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_UTILITY; then
      strip=$id
      return 0
    fi
  done
  return 1
}
find_about() { about=$(xdotool search --onlyvisible --name '^About\.\.\.$' 2>/dev/null | head -n 1); [ -n "$about" ]; }
# An open menu: a window of the application that the window manager does not
# manage (its type hint is not always set).
menu_open() {
  local id
  for id in $(xdotool search --onlyvisible --class vorn2 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
menu_closed() { ! menu_open; }
panel_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$panel" ]; }

# Asks the window manager to activate the panel, as a click on a task bar
# does, again if a request goes unheard.
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
# The window manager may report the panel active a moment before Qt has the
# keyboard focus, so an access key that opened nothing is pressed again.
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

wait_or_fail "the panel" 20 find_panel
wait_or_fail "the strip" 20 find_strip
echo "panel $panel, strip $strip"

# --- Z Order, twice.
lacks_above || fail "the strip starts above other windows"
choose o z
wait_or_fail "_NET_WM_STATE_ABOVE on the strip" 10 has_above
echo "Z Order: the strip is above"
choose o z
wait_or_fail "_NET_WM_STATE_ABOVE to be cleared" 10 lacks_above
echo "Z Order again: the strip is ordinary"

# --- Hide Vorn, then the panel restored as from a task bar.
choose o m
wait_or_fail "the panel to be unmapped" 10 is_unmapped "$panel"
wait_or_fail "the strip to be unmapped" 10 is_unmapped "$strip"
xprop -id "$panel" WM_STATE | grep -q 'Iconic' || fail "the panel is not iconic"
echo "Hide Vorn: both windows unmapped, the panel iconic"
kill -0 "$app_pid" 2>/dev/null || fail "the application ended"
activate_panel
wait_or_fail "the panel to be mapped again" 10 is_viewable "$panel"
# Qt may give the strip a new X window when it shows it again after the
# stacking change, so it is looked for anew.
wait_or_fail "the strip to be mapped again" 10 find_strip
echo "restored: both windows mapped"

# --- About, modal over the panel, centred; Enter closes it.
choose a m
wait_or_fail "the About dialog" 10 find_about
wait_or_fail "the About dialog to be viewable" 10 is_viewable "$about"
xprop -id "$about" WM_TRANSIENT_FOR | grep -qi "$(printf '0x%x' "$panel")" ||
  fail "the About dialog is not owned by the panel: $(xprop -id "$about" WM_TRANSIENT_FOR)"
xprop -id "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL ||
  fail "the About dialog is not modal: $(xprop -id "$about" _NET_WM_STATE)"
read -r ax ay aw ah <<<"$(geom "$about")"
echo "About dialog at ${ax},${ay} size ${aw}x${ah}"
# Client area 4905 x 2625 twips at 15 twips a pixel.
[ "$aw" -eq 327 ] && [ "$ah" -eq 175 ] || fail "the About dialog is ${aw}x${ah}, not 327x175"
# The frame's centre on the centre of the 1280x800 screen, to the pixel that
# rounding the twips may cost.
has_frame() { [ -n "$(extents "$about")" ]; }
wait_or_fail "the About dialog's frame" 10 has_frame
read -r el er et eb <<<"$(extents "$about")"
dx=$(( 2 * (ax - el) + aw + el + er - 1280 )); dy=$(( 2 * (ay - et) + ah + et + eb - 800 ))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
  fail "the About dialog is not centred: its frame's centre is off by $dx,$dy half-pixels"
if [ -n "${VORN_SCREENSHOT_DIR:-}" ]; then
  import -window root -crop "$((aw + 40))x$((ah + 60))+$((ax - 20))+$((ay - 40))" +repage \
    "$VORN_SCREENSHOT_DIR/about.png"
fi
about_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$about" ]; }
wait_or_fail "the About dialog to have the focus" 10 about_active
xdotool key Return
about_gone() { is_unmapped "$about"; }
wait_or_fail "the About dialog to close on Enter" 10 about_gone
wait_or_fail "the panel to be viewable" 10 is_viewable "$panel"
echo "About: modal over the panel, centred, closed by Enter"

kill -0 "$app_pid" 2>/dev/null || fail "the application ended"
echo "PASS"
exit 0
