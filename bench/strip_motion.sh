#!/usr/bin/env bash
# Measures the strip on a real X server, from the outside, as a person sees it.
#   bash bench/strip_motion.sh            (from the repository root)
# Builds strip_show into build/ unless VORN_STRIP_SHOW names a binary, starts
# a private Xvfb 1280x800 with openbox, and for each setting shows the strip at
# the bottom of the desktop scrolling a generated 20 000-character English
# line. Once the text fills the strip it measures 20 s of CPU (cpu.sh, without
# the meter running) and then 20 s of motion (stripmeter.py), and prints one
# line per setting. VORN_BENCH_SECONDS shortens the windows for a quick look.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
vorn_install_deps
tools="$root/../shared/tools"
[ -x "$tools/stripmeter.py" ] || { echo "strip_motion.sh: no measuring tools in $tools" >&2; exit 1; }

app=${VORN_STRIP_SHOW:-}
if [ -z "$app" ]; then
  # shellcheck disable=SC2086
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VORN_CMAKE_ARGS:-} >/dev/null
  cmake --build build -j"$(nproc)" --target strip_show >/dev/null
  app="$root/build/bench/strip_show"
fi
secs=${VORN_BENCH_SECONDS:-20}

work=$(mktemp -d)
state="$work/xsession"
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  [ -f "$state/pids" ] && "$tools/xsession.sh" stop "$state" >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

# One line of plain English words, exactly 20 000 characters, the same every run.
/usr/bin/python3 - "$work/text.txt" <<'PY'
import random, sys
words = ("the strip scrolls one line of text from right to left across the bottom "
         "of the desktop while a small panel starts stops and pauses it sets its "
         "speed and timing and picks the font and colours of the marquee").split()
rng = random.Random(20000)
out = []
n = 0
while n < 20000:
    w = rng.choice(words)
    if rng.random() < 0.08:
        w = w.capitalize() + ","
    out.append(w)
    n += len(w) + 1
line = " ".join(out)[:20000]
open(sys.argv[1], "w").write(line)
PY

"$tools/xsession.sh" start "$state" >"$work/xsession.out"
export DISPLAY
DISPLAY=$(cat "$state/display")
xvfb_pid=$(awk '$1 == "Xvfb" {print $2}' "$state/pids")
mkdir -m 700 "$work/runtime"

echo "# $(date -u '+%Y-%m-%d %H:%M:%S UTC')  uptime:$(uptime | sed 's/.*load average/ load average/')"
printf '%-16s %8s %8s %7s %8s %8s %9s %9s %7s %7s\n' setting nominal measured clean% \
  px_p50 px_max updates/s stall_ms app% xvfb%

measure() {
  local speed=$1 timing=$2 label=$3
  XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$app" "$work/text.txt" --speed "$speed" --timing "$timing" >"$work/app.out" 2>"$work/app.err" &
  app_pid=$!
  # The text enters from the right edge: wait until it reaches the left one.
  local deadline=$((SECONDS + 120))
  until grep -q filled "$work/app.out" 2>/dev/null; do
    kill -0 "$app_pid" 2>/dev/null || { cat "$work/app.err" >&2; echo "strip_show ended" >&2; exit 1; }
    [ $SECONDS -lt $deadline ] || { echo "the text never filled the strip" >&2; exit 1; }
    sleep 0.2
  done
  local win rect
  win=$(xdotool search --onlyvisible --classname strip_show 2>/dev/null | head -n 1 || true)
  [ -n "$win" ] || { echo "no strip window found" >&2; exit 1; }
  rect=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                                     /Width:/ {w=$2} /Height:/ {h=$2} END {print x","y","w","h}')
  sleep 1
  "$tools/cpu.sh" "$app_pid" "$xvfb_pid" "$secs" >"$work/cpu.out"
  "$tools/stripmeter.py" --rect "$rect" --duration "$secs" --json-only >"$work/meter.json"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  /usr/bin/python3 - "$work/cpu.out" "$work/meter.json" "$speed" "$timing" "$label" "$app_pid" <<'PY'
import json, sys
cpu = json.loads(open(sys.argv[1]).read().strip().splitlines()[-1])
m = json.loads(open(sys.argv[2]).read().strip().splitlines()[-1])
speed, timing, label = int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
nominal = speed * 1000 / (timing + 1) / 15
pairs = m.get("pairs", {})
total = sum(pairs.values()) or 1
clean = 100.0 * pairs.get("shift", 0) / total
disp = m.get("disp_px", {})
app_pct, xvfb_pct = (p["cpu_pct"] for p in cpu["pids"][:2])
print(f"{label:16s} {nominal:8.1f} {m.get('speed_px_s', float('nan')):8.2f} {clean:7.1f} "
      f"{disp.get('p50', float('nan')):8.1f} {disp.get('max', float('nan')):8.1f} "
      f"{m.get('updates_per_s', 0):9.1f} {m.get('longest_stall_ms', float('nan')):9.1f} "
      f"{app_pct:7.2f} {xvfb_pct:7.2f}")
print(f"#   strip {m.get('rect')}  pairs {pairs}  meter's own longest gap in that stall "
      f"{m.get('longest_stall_max_grab_gap_ms')} ms  grabs/s {m.get('grabs_per_s')}  "
      f"machine busy {cpu['machine_busy_pct_of_one_core']}% of one core", file=sys.stderr)
PY
}

measure 1 0 "speed1-timing0"
measure 9 0 "speed9-timing0"
echo "# $(date -u '+%H:%M:%S UTC')  uptime:$(uptime | sed 's/.*load average/ load average/')"
