#!/usr/bin/env bash
# Runs an end-to-end suite on a private X server.
#   run_e2e.sh wm|nowm TEST [ARGS...]
# Starts Xvfb on a display it picks itself, then openbox ("wm") or no window
# manager ("nowm"), runs TEST on the xcb platform and stops both. Without the
# tools, or when the server does not come up, TEST still runs and reports
# the reason as a skip.
set -u
mode=$1
shift

missing=""
for tool in Xvfb xdpyinfo xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ "$mode" = wm ] && ! command -v openbox >/dev/null 2>&1; then
  missing="$missing openbox"
fi
if [ -n "$missing" ]; then
  VORN_E2E_UNAVAILABLE="not installed:$missing" exec "$@"
fi

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb writes the number of a free display once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" \
  >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  reason="Xvfb did not start: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
  VORN_E2E_UNAVAILABLE="$reason" "$@"
  exit $?
fi
export DISPLAY=":$(head -n 1 "$work/display")"

if [ "$mode" = wm ]; then
  # On a busy machine openbox now and then gives up at once; try again.
  ready=""
  for _attempt in 1 2 3; do
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
      if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        ready=yes
        break
      fi
      kill -0 "$wm_pid" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$ready" ] && break
    kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    wm_pid=""
    sleep 0.5
  done
  if [ -z "$ready" ]; then
    reason="openbox did not start: $(tail -n 3 "$work/openbox.log" | tr '\n' ' ')"
    VORN_E2E_UNAVAILABLE="$reason" "$@"
    exit $?
  fi
fi

mkdir -m 700 "$work/runtime"
# On xcb the libraries below Qt keep allocations for the life of the process.
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$here/../../.ci/lsan.supp" ]; then
  export LSAN_OPTIONS="suppressions=$here/../../.ci/lsan.supp:print_suppressions=0"
fi
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb VORN_E2E_WM="$mode" "$@"
exit $?
