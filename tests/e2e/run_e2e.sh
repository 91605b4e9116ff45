#!/usr/bin/env bash
# Runs an end-to-end suite on a private X server.
#   run_e2e.sh wm|nowm TEST [ARGS...]
# Starts Xvfb 1280x1024 with openbox ("wm") or no window manager ("nowm"), runs TEST on
# the xcb platform, on one core, and stops both. Without the tools, or when the server does
# not come up, the reason is reported as a skip.
set -u
mode=$1
shift

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/xsession_lib.sh"
tools=(Xvfb xdotool xprop taskset)
[ "$mode" = wm ] && tools+=(openbox)
begin_x_test "${tools[@]}"
start_x_session "$mode" 1280x1024
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb VORN_E2E_WM="$mode" taskset -c 0 "$@"
