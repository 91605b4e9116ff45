#!/usr/bin/env bash
# Drives the real application hard through its menus, as fast as a keyboard can, on a
# private X server with openbox: 1000 "Play(&P)" in a row (each one nests a run of the scroll
# loop inside the one before, up to the bound), "Stop(&S)", enough Plays to nest to the bound
# again, then "Quit(&Q)" from inside that deepest run and Yes to "Quit ?". The process must
# end by itself with status 0 and without any sanitizer report.
#   app_stress.sh VORN2_EXECUTABLE [PLAYS]
# VORN_STRESS_WRAP is put in front of the executable (for example a debugger that counts
# the commands handled).
set -u
app=$1
plays=${2:-1000}

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/../e2e/xsession_lib.sh"
begin_x_test Xvfb openbox xdotool xprop
fail() {
  echo "FAIL: $*"
  [ -n "${VORN_STRESS_SHOT:-}" ] && import -window root "$VORN_STRESS_SHOT" 2>/dev/null
  [ -f "$work/app.log" ] && tail -n 80 "$work/app.log"
  exit 1
}
start_x_session

# Sanitizer builds: report to the log, and leave out what the X and font libraries keep.
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${LSAN_OPTIONS:-}" ] && [ -f "$here/../../.ci/lsan.supp" ]; then
  export LSAN_OPTIONS="suppressions=$here/../../.ci/lsan.supp:print_suppressions=0"
fi
XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb ${VORN_STRESS_WRAP:-} "$app" >"$work/app.log" 2>&1 &
app_pid=$!

focused_on_panel() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$((panel))" ]; }

wait_for 30 find_panel || fail "the panel did not appear"
# The window manager may still be mapping the panel when it is first found: ask again until
# the focus is there.
activate_panel() {
  xdotool windowactivate --sync "$panel" >/dev/null 2>&1
  focused_on_panel
}
if ! wait_for 20 activate_panel; then
  focus=$(xdotool getwindowfocus)
  fail "the panel ($panel) did not take the keyboard focus; $(printf '0x%x' "$focus") has it:
$(xprop -id "$focus" WM_NAME WM_CLASS _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR 2>&1)
$(xwininfo -id "$focus" 2>&1 | grep -E 'Map State|geometry')"
fi

# Keystrokes queue up in the X server and reach the panel in order; a menu that is open
# takes them first. Plays are sent in batches so that no command line grows too long.
send_plays() {
  local n=$1 batch keys i
  while [ "$n" -gt 0 ]; do
    batch=$(( n < 100 ? n : 100 ))
    keys=()
    for ((i = 0; i < batch; i++)); do keys+=(alt+c p); done
    xdotool key --delay "${VORN_STRESS_KEY_DELAY:-4}" "${keys[@]}"
    n=$((n - batch))
    app_gone && fail "the application ended during the Plays"
  done
}
start=$(date +%s)
send_plays "$plays"
xdotool key --delay 1 alt+c s
# The loop nests at most 64 runs deep; 100 more Plays reach that depth again.
send_plays 100
xdotool key --delay 1 alt+f q
echo "sent $plays Plays, Stop, 100 Plays and Quit in $(( $(date +%s) - start )) s"

# The question comes once every key before it has been handled.
wait_for 300 question_open || fail "no \"Quit ?\" after the keys: still handling them, or stuck"
echo "\"Quit ?\" open after $(( $(date +%s) - start )) s"
xdotool windowactivate --sync "$(question)" >/dev/null 2>&1
xdotool key alt+y
wait_for 120 app_gone || fail "the application still runs after Yes"
wait "$app_pid"
status=$?
app_pid=""
if grep -qE 'ERROR: (Address|Leak|Thread|Memory)Sanitizer|runtime error:|SUMMARY: UndefinedBehaviorSanitizer' "$work/app.log"; then
  fail "a sanitizer reported an error"
fi
[ "$status" -eq 0 ] || fail "the application ended with status $status"
[ -n "${VORN_STRESS_LOG:-}" ] && cp "$work/app.log" "$VORN_STRESS_LOG"
echo "ended with status 0 after $(( $(date +%s) - start )) s, no sanitizer report"
echo "PASS"
exit 0
