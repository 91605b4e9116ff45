#!/usr/bin/env bash
# Soak: the real application scrolls a text for MINUTES minutes on a private X server with
# openbox while the text is reloaded every few seconds, alternately from a long and a short
# version of the file, through "Local Reload(&R)" on the File menu's access keys. Prints the
# resident memory (VmRSS of /proc) once a minute, then the spread after the first minute,
# quits through the menu and checks that the process ends with status 0.
#   bench/soak.sh MINUTES [VORN2_EXECUTABLE]
#   SOAK_RELOAD_SECONDS   seconds between reloads (default 3)
#   SOAK_NEST             Plays sent first (default 64)
# Every load nests one more run of the scroll loop, up to its bound of 64, and each run's
# handler keeps its frame and its text until the scroll stops; that memory is held by design.
# The Plays sent first take the loop to its bound at once, so that it is all taken in the
# first minute and what grows after that is a leak.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:?usage: bench/soak.sh MINUTES [VORN2_EXECUTABLE]}
app=${2:-build/app/vorn2}
reload=${SOAK_RELOAD_SECONDS:-3}
[ -x "$app" ] || { echo "no executable at $app (build it first: bash scripts/test.sh)"; exit 1; }

# A benchmark that cannot run has failed: no skip without an X server.
x_session_required=yes
# shellcheck source=tests/e2e/xsession_lib.sh
source tests/e2e/xsession_lib.sh
begin_x_test Xvfb openbox xdotool xprop
start_x_session

# Two versions of the text: about 60 000 characters with markup and line breaks, and a short
# one, so that every reload replaces all the strip's segments.
long="$work/long.txt"
short="$work/short.txt"
for i in $(seq 600); do
  printf '<p>Line %d: vorn2 のテスト、デスクトップの下端を流れる一行のテキスト。</p>\r\n' "$i"
done >"$long"
printf 'Short text <b>%s</b>\n' "reloaded" >"$short"
text="$work/text.txt"
cp "$long" "$text"

XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$app" "$text" >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 30 find_panel || { echo "the panel did not appear"; cat "$work/app.log"; exit 1; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status"; }

xdotool windowactivate --sync "$panel" >/dev/null 2>&1 || true
nest=${SOAK_NEST:-64}
if [ "$nest" -gt 0 ]; then
  keys=()
  for ((i = 0; i < nest; i++)); do keys+=(alt+c p); done
  xdotool key --delay 4 "${keys[@]}"
fi

echo "soak: $minutes min, $nest Plays first, a reload every $reload s, pid $app_pid"
start=$(date +%s)
next_report=$((start + 60))
end=$((start + minutes * 60))
reloads=0
samples=()
while [ "$(date +%s)" -lt "$end" ]; do
  kill -0 "$app_pid" 2>/dev/null || { echo "FAIL: the application ended"; cat "$work/app.log"; exit 1; }
  if [ $((reloads % 2)) -eq 0 ]; then cp "$short" "$text"; else cp "$long" "$text"; fi
  xdotool windowactivate --sync "$panel" >/dev/null 2>&1 || true
  # Both reload items answer to R: the first R selects "Local Reload(&R)", Return runs it.
  xdotool key --delay 20 alt+f r Return
  reloads=$((reloads + 1))
  sleep "$reload"
  now=$(date +%s)
  if [ "$now" -ge "$next_report" ]; then
    rss=$(rss_kib)
    samples+=("$rss")
    printf 'minute %3d: resident %6d KiB, %d reloads\n' "$(( (now - start) / 60 ))" "$rss" "$reloads"
    next_report=$((next_report + 60))
  fi
done

if [ "${#samples[@]}" -ge 2 ]; then
  later=("${samples[@]:1}")
  min=$(printf '%s\n' "${later[@]}" | sort -n | head -n 1)
  max=$(printf '%s\n' "${later[@]}" | sort -n | tail -n 1)
  echo "after the first minute: min $min KiB, max $max KiB, spread $((max - min)) KiB"
fi

xdotool windowactivate --sync "$panel" >/dev/null 2>&1 || true
xdotool key --delay 20 alt+f q
wait_for 30 question_open ||
  { echo "FAIL: no \"Quit ?\""; exit 1; }
xdotool windowactivate --sync "$(question)" >/dev/null 2>&1 || true
xdotool key alt+y
wait_for 60 app_gone || { echo "FAIL: still running after Yes"; exit 1; }
wait "$app_pid" && status=0 || status=$?
app_pid=""
echo "ended with status $status after $reloads reloads"
[ "$status" -eq 0 ]
