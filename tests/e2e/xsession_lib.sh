# shellcheck shell=bash
# Sourced by the end-to-end scripts and the benchmarks: a private X server
# with openbox, and the helpers they share to drive the application and read
# its windows back from the server.
#
#   begin_x_test TOOL...          stops the script when a tool is missing; makes
#                                 the scratch folder $work, with a private runtime
#                                 folder $work/runtime, removed at exit
#   start_x_session [wm|nowm] [WxH]   Xvfb (1280x800 unless told), openbox unless
#                                 nowm; exports DISPLAY
#
# Set x_session_required=yes before these for a script that must not be
# skipped (a benchmark): a missing tool or X server is then a failure, exit 1,
# instead of a skip, exit 0. A script may define its own no_x_session after
# sourcing this one. The caller keeps the application's pid in app_pid and
# may add the pids of other helpers to the array pids; they are ended at exit.

# Sanitizer builds: what the X and font libraries keep for the life of the
# process is not a leak of ours.
_lsan_supp="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/.ci/lsan.supp"
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$_lsan_supp" ]; then
  export LSAN_OPTIONS="suppressions=$_lsan_supp:print_suppressions=0"
fi

no_x_session() {
  if [ "${x_session_required:-}" = yes ]; then
    echo "FAIL: no X server: $*"
    exit 1
  fi
  echo "no X server for the end-to-end test: $*"
  exit 0
}

begin_x_test() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || no_x_session "$tool not installed"
  done
  work=$(mktemp -d)
  mkdir -m 700 "$work/runtime"
  pids=()
  trap end_x_session EXIT
}

# Kills the application hard, then the other helpers, openbox and Xvfb, and
# removes the scratch folder. Safe under set -e.
end_x_session() {
  local pid
  [ -z "${app_pid:-}" ] || kill -9 "$app_pid" 2>/dev/null || true
  for pid in "${app_pid:-}" "${pids[@]}" "${wm_pid:-}" "${xvfb_pid:-}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
  return 0
}

# Fails the test with what the server holds of the application and its output.
fail() {
  local id
  echo "FAIL: $*"
  for id in $(xdotool search --class vorn2 2>/dev/null); do
    echo "window $id \"$(xdotool getwindowname "$id")\" $(geom "$id") $(map_state "$id")"
  done
  if [ -n "${app_pid:-}" ] && app_gone; then
    wait "$app_pid"
    echo "(the application has ended, status $?)"
  fi
  [ -f "$work/app.log" ] && tail -n 80 "$work/app.log"
  exit 1
}

# Succeeds when the command fails, so that a wait can be for something to go away.
not() { ! "$@"; }

# Polls a command until it succeeds; false after the deadline (seconds). Once the
# application has ended, the command's next answer is the last (it may have ended since the
# one before).
wait_for() {
  local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    [ -z "${app_pid:-}" ] || kill -0 "$app_pid" 2>/dev/null || { "$@"; return; }
    sleep 0.05
  done
}

# The same, failing the test with what it waited for.
wait_until() {
  local what=$1
  shift
  wait_for "$@" || fail "waiting for $what"
}

# Starts Xvfb on a display it picks itself and, unless told nowm, openbox on
# it, and exports DISPLAY. Openbox claims the screen early in its start; it is
# ready once it has published the work area too, which it does when it manages windows.
start_x_session() {
  local mode=${1:-wm} size=${2:-1280x800}
  _start_tries xvfb _xvfb_ready Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp ||
    no_x_session "Xvfb did not start: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
  DISPLAY=":$(head -n 1 "$work/xvfb.fd")"
  export DISPLAY
  [ "$mode" = nowm ] && return 0
  _start_tries wm _wm_ready openbox --sm-disable ||
    no_x_session "openbox did not start: $(tail -n 3 "$work/wm.log" | tr '\n' ' ')"
}

# Starts a server in the background, its output in $work/NAME.log, its fd 3 in
# $work/NAME.fd and its pid in NAME_pid, and waits until READY. On a busy
# machine a fresh X server or openbox now and then gives up at start, so it is
# tried three times, a try ending early when its process has died.
_start_tries() {
  local name=$1 ready=$2 _attempt pid
  shift 2
  for _attempt in 1 2 3; do
    "$@" 3>"$work/$name.fd" >"$work/$name.log" 2>&1 &
    pid=$!
    printf -v "${name}_pid" %s "$pid"
    wait_for 10 _ready_or_dead "$pid" "$ready" || true
    kill -0 "$pid" 2>/dev/null && "$ready" && return 0
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    printf -v "${name}_pid" %s ""
    sleep 0.5
  done
  return 1
}

_ready_or_dead() { "$2" || ! kill -0 "$1" 2>/dev/null; }
_xvfb_ready() { [ -s "$work/xvfb.fd" ] && DISPLAY=":$(head -n 1 "$work/xvfb.fd")" xprop -root >/dev/null 2>&1; }
# Read whole before matching, so that a reader stopping early cannot fail the
# writer under pipefail.
_wm_ready() {
  [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK _NET_WORKAREA 2>/dev/null)" == *'window id'*' = '* ]]
}

# ---- Reading windows back -------------------------------------------------

# The managed top-level windows in the order the window manager first mapped them.
client_list() { xprop -root _NET_CLIENT_LIST | sed -n 's/.*# //p' | tr -d ',' ; }
map_state() { xwininfo -id "$1" 2>/dev/null | awk '/Map State:/ {print $3}'; }
viewable() { [ "$(map_state "$1")" = IsViewable ]; }
geom() { # x y w h of a window's client area
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                           /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
allowed() { xprop -id "$1" _NET_WM_ALLOWED_ACTIONS 2>/dev/null; }
has_allowed() { [[ "$(allowed "$1")" == *_NET_WM_ACTION_* ]]; }

# The panel: the window captioned with the application's title and version.
find_panel() { panel=$(xdotool search --onlyvisible --name '^vorn2 1\.0$' 2>/dev/null | head -n 1); [ -n "$panel" ]; }
# The strip: the application's visible toolbar window (it has no caption).
find_strip() {
  local id
  strip=""
  for id in $(xdotool search --onlyvisible --class vorn2 2>/dev/null); do
    [[ "$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null)" == *_TOOLBAR* ]] && strip=$id
  done
  [ -n "$strip" ]
}
find_windows() { find_panel && find_strip; }
find_about() { about=$(xdotool search --onlyvisible --name '^About\.\.\.$' 2>/dev/null | head -n 1); [ -n "$about" ]; }
# A box the application opened over the panel (the Open dialog, the URL box):
# a visible window of the application that is neither panel nor strip.
find_box() {
  box=$(xdotool search --onlyvisible --class vorn2 2>/dev/null | grep -vxE "$panel|$strip" | head -n 1)
  [ -n "$box" ]
}
# The "Quit ?" question: a visible window named after the application alone.
question() { xdotool search --onlyvisible --name '^vorn2$' 2>/dev/null | head -n 1; }
question_open() { [ -n "$(question)" ]; }
app_gone() { ! kill -0 "$app_pid" 2>/dev/null; }
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(($1))" ]; }
# An open menu: a window of the application that the window manager does not
# manage (its type hint is not always set).
menu_open() {
  [[ "$(xdotool search --onlyvisible --class vorn2 2>/dev/null | xargs -rn1 xwininfo -id 2>/dev/null)" \
    == *'Override Redirect State: yes'* ]]
}

# ---- Driving the application ------------------------------------------------

# Starts the application with its output in $work/app.log.
start_app() {
  XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QT_QPA_PLATFORM=xcb \
    ${VORN_E2E_WRAP:-} "$app" "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
}

# Waits for the application to end by itself; fails unless it ends with status
# 0 and without a sanitizer report.
expect_end() {
  local status
  wait_until "the application to end ($1)" 60 app_gone
  wait "$app_pid"
  status=$?
  app_pid=""
  grep -qE 'ERROR: (Address|Leak|Thread|Memory)Sanitizer|runtime error:|SUMMARY: UndefinedBehaviorSanitizer' \
    "$work/app.log" && fail "a sanitizer reported an error ($1)"
  [ "$status" -eq 0 ] || fail "the application ended with status $status ($1)"
}

# Asks the window manager to activate the panel, as a click on a task bar
# does, again if a request goes unheard.
activate_panel() {
  local _attempt
  for _attempt in 1 2 3 4 5; do
    app_gone && fail "the application ended"
    xdotool windowactivate "$panel" 2>/dev/null
    wait_for 2 active_is "$panel" && return 0
  done
  fail "the panel did not become active"
}

# Opens a menu of the panel by its access key and chooses an item by its own.
# The window manager may report the panel active a moment before Qt has the
# keyboard focus, so an access key that opened nothing is pressed again.
choose() {
  local _attempt
  for _attempt in 1 2 3 4 5; do
    activate_panel
    xdotool key "alt+$1"
    wait_for 3 menu_open && break
    [ "$_attempt" -lt 5 ] || fail "the menu alt+$1 did not open"
    xdotool key Escape
  done
  xdotool key "$2"
  wait_until "the menu to close after $2" 10 not menu_open
}

# The window manager's close on the panel (Alt+F4). A key can be lost while
# the focus moves, so it is tried again; a second request while the question
# is open is ignored by the application.
close_panel() {
  local _attempt
  for _attempt in 1 2 3; do
    activate_panel
    xdotool key --clearmodifiers alt+F4
    wait_for 3 question_open && return 0
  done
  fail "closing the panel asked nothing"
}

# Answers the open "Quit ?" question with KEY.
answer() {
  local q
  q=$(question)
  [ -n "$q" ] || fail "no question to answer"
  xdotool windowactivate --sync "$q" >/dev/null 2>&1
  wait_for 5 active_is "$q" || true
  xdotool key "$1"
}
