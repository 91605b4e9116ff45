# shellcheck shell=bash
# Sourced by the end-to-end scripts and the benchmarks: a private X server
# with openbox, and the helpers they share to read windows back from it.
#
#   begin_x_test TOOL...   stops the script when a tool is missing; makes the
#                          scratch folder $work, with a private runtime folder
#                          $work/runtime for the application, removed at exit
#   start_x_session        Xvfb and openbox; exports DISPLAY
#
# Set x_session_required=yes before these for a script that must not be
# skipped (a benchmark): a missing tool or X server is then a failure, exit 1,
# instead of a skip, exit 0.
# The caller keeps the application's pid in app_pid and may add the pids of
# other helpers it starts to the array pids (both set up by begin_x_test);
# they are ended at exit.

# Ends the script because there is no X server to run on: a skip, or a
# failure where one is required.
no_x_session() {
  if [ "${x_session_required:-}" = yes ]; then
    echo "FAIL: no X server: $*"
    exit 1
  fi
  echo "no X server for the end-to-end test: $*"
  exit 0
}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || no_x_session "$tool not installed"
  done
}

begin_x_test() {
  require_tools "$@"
  work=$(mktemp -d)
  mkdir -m 700 "$work/runtime"
  app_pid=""
  xvfb_pid=""
  wm_pid=""
  pids=()
  trap end_x_session EXIT
}

# Kills the application hard, then the other helpers, openbox and Xvfb, and
# removes the scratch folder. Safe under set -e: a killed process's status is
# not an error here.
end_x_session() {
  local pid
  if [ -n "${app_pid:-}" ]; then
    kill -9 "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  for pid in "${pids[@]}" "${wm_pid:-}" "${xvfb_pid:-}"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
  return 0
}

# Fails the test with the application's output; a script may define its own
# after sourcing this one.
fail() {
  echo "FAIL: $*"
  [ -f "$work/app.log" ] && cat "$work/app.log"
  exit 1
}

# Polls a command until it succeeds; false after the deadline (seconds).
wait_for() {
  local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# Starts Xvfb 1280x800 on a display it picks itself and openbox on it, and
# exports DISPLAY; sets xvfb_pid and wm_pid. On a busy machine a fresh X
# server or openbox now and then gives up at start, so each is tried three
# times, a try ending early when its process has died. Openbox claims the
# screen early in its start; the work area it publishes once it is ready to
# manage windows is waited for too.
start_x_session() {
  local _attempt
  for _attempt in 1 2 3; do
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for 10 _xvfb_up || true
    if [ -s "$work/display" ] && DISPLAY=":$(head -n 1 "$work/display")" xprop -root >/dev/null 2>&1; then
      break
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  [ -n "$xvfb_pid" ] || no_x_session "Xvfb did not start"
  DISPLAY=":$(head -n 1 "$work/display")"
  export DISPLAY

  for _attempt in 1 2 3; do
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    wait_for 10 _wm_up || true
    kill -0 "$wm_pid" 2>/dev/null && _wm_ready && break
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
    wm_pid=""
    sleep 0.5
  done
  [ -n "$wm_pid" ] || no_x_session "openbox did not start"
  wait_for 10 _work_area_ready || true
}

_xvfb_up() { [ -s "$work/display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; }
_wm_up() { _wm_ready || ! kill -0 "$wm_pid" 2>/dev/null; }
# Read whole before matching, so that a reader stopping early cannot fail the
# writer under pipefail.
_wm_ready() { [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *'window id'* ]]; }
_work_area_ready() { [[ "$(xprop -root _NET_WORKAREA 2>/dev/null)" == *'='* ]]; }

# The managed top-level windows in the order the window manager first mapped
# them.
client_list() { xprop -root _NET_CLIENT_LIST | sed -n 's/.*# //p' | tr -d ',' ; }
name_of() { xprop -id "$1" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([A-Z_]*) = "\(.*\)"$/\1/p'; }
viewable() { [[ "$(xwininfo -id "$1" 2>/dev/null)" == *'Map State: IsViewable'* ]]; }
# left right top bottom of the frame the window manager put around a window.
extents() { xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ','; }
geom() { # x y w h of a window's client area
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                           /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# The panel: the application's window captioned with its title and version
# (the strip has no caption).
find_panel() {
  panel=""
  local w
  for w in $(client_list); do
    xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    case "$(name_of "$w")" in "vorn2 "*) panel=$w ;; esac
  done
  [ -n "$panel" ]
}

# The "Quit ?" question: a visible window named after the application alone.
question() { xdotool search --onlyvisible --name '^vorn2$' 2>/dev/null | head -n 1; }
question_open() { [ -n "$(question)" ]; }
app_gone() { ! kill -0 "$app_pid" 2>/dev/null; }
