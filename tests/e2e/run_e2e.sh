#!/usr/bin/env bash
# Runs an end-to-end suite on a private X server.
#   run_e2e.sh wm|nowm TEST [ARGS...]
# Starts Xvfb 1280x1024 with openbox ("wm") or no window manager ("nowm"), runs TEST on
# the xcb platform and stops both. Without the tools, or when the server does not come up,
# TEST still runs and reports the reason as a skip.
set -u
mode=$1
shift
test_cmd=("$@")

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/xsession_lib.sh"
no_x_session() {
  VORN_E2E_UNAVAILABLE="$*" "${test_cmd[@]}"
  exit $?
}
tools=(Xvfb xdpyinfo xdotool xprop xwininfo)
[ "$mode" = wm ] && tools+=(openbox)
begin_x_test "${tools[@]}"
start_x_session "$mode" 1280x1024
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb VORN_E2E_WM="$mode" "$@"
exit $?
