# shellcheck shell=bash
# Sourced after xsession_lib.sh by the scripts that drive the panel through its
# menus by keyboard, as a user would: waits that fail the test, and the
# windows such a script looks for. Needs app_pid and a fail function.

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

find_panel() { panel=$(xdotool search --onlyvisible --name '^vorn2 1\.0$' 2>/dev/null | head -n 1); [ -n "$panel" ]; }
find_about() { about=$(xdotool search --onlyvisible --name '^About\.\.\.$' 2>/dev/null | head -n 1); [ -n "$about" ]; }
about_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$about" ]; }
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
