# Sourced by the end-to-end scripts: a private X server with openbox.
# The caller has set $work (a scratch folder) and the array pids (killed at exit).

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
# exports DISPLAY; sets wm_pid. Openbox now and then gives up at start on a
# busy machine, so it is tried three times; the work area it publishes once it
# is ready to manage windows is waited for. Without either, the test is
# reported as skipped.
start_x_session() {
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  wait_for 10 test -s "$work/display" || { echo "no X server for the end-to-end test: Xvfb did not start"; exit 0; }
  export DISPLAY=":$(head -n 1 "$work/display")"
  wm_pid=""
  for _attempt in 1 2 3; do
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    wait_for 10 _wm_ready && break
    kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null
    wm_pid=""
  done
  [ -n "$wm_pid" ] || { echo "no X server for the end-to-end test: openbox did not start"; exit 0; }
  pids=("$wm_pid" "${pids[@]}")
  wait_for 10 _work_area_ready || true
}

_wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
_work_area_ready() { xprop -root _NET_WORKAREA 2>/dev/null | grep -q '='; }
