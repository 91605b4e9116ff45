#!/usr/bin/env bash
# Drives the real application on a private X server with openbox through its
# menus, by keyboard as a user would, and reads back what the X server holds:
#   - "Z Order(&Z)" sets and then clears _NET_WM_STATE_ABOVE on the strip;
#   - "Hide Vorn(&M)" unmaps both windows, and restoring the panel maps both.
# Every wait polls the X state against a deadline (the About dialog is
# app_dialogs.sh's).
#   app_appearance.sh VORN2_EXECUTABLE
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

# shellcheck source=tests/e2e/panel_keys.sh
source "$(dirname "$0")/panel_keys.sh"
has_above() { xprop -id "$strip" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
lacks_above() { ! xprop -id "$strip" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }

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

kill -0 "$app_pid" 2>/dev/null || fail "the application ended"
echo "PASS"
exit 0
