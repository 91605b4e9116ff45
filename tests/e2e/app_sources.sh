#!/usr/bin/env bash
# Starts the real application on a private X server with openbox and loads
# text as a user does. First a file: "Local(&L)..." from the File menu, the
# path typed into the real Open dialog, Enter. The strip, empty before, then
# shows the file's text: its region goes from one flat colour to drawn
# letters, and the letters move. Then a page: "Web(&W)...", the address of a
# loopback server typed into the "URL ?" box, Enter; the strip's picture
# changes to the page's text.
#   app_sources.sh VORN2_EXECUTABLE
# VORN_SCREENSHOTS=DIR keeps screenshots of the loaded strip in DIR.
set -u
app=$1

# shellcheck source=tests/e2e/xsession_lib.sh
source "$(dirname "$0")/xsession_lib.sh"
begin_x_test Xvfb openbox xdotool xwininfo xprop import convert python3

start_x_session
mkdir -m 700 "$work/home"

# The panel by its caption; the strip is the widest other window of the application
# (Qt may map small helper windows of its own).
find_windows() {
  panel=""; strip=""
  local w best=0 width
  for w in $(client_list); do
    xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    viewable "$w" || continue
    if [ "$(name_of "$w")" = "vorn2 1.0" ]; then panel=$w; continue; fi
    width=$(geom "$w" | cut -d' ' -f3)
    [ "$width" -gt "$best" ] && { best=$width; strip=$w; }
  done
  [ -n "$panel" ] && [ -n "$strip" ]
}
# The Open dialog: a visible top-level of the application that is neither the strip nor the panel.
dialog_window() {
  local w
  for w in $(client_list); do
    [ "$w" = "$panel" ] || [ "$w" = "$strip" ] && continue
    xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    viewable "$w" && { echo "$w"; return 0; }
  done
  return 1
}
dialog_open() { dialog=$(dialog_window); [ -n "$dialog" ]; }
dialog_gone() { ! dialog_window >/dev/null; }
# The strip's client area inside its 3-pixel border, as an image.
grab_strip() {
  read -r sx sy sw sh <<<"$(geom "$strip")"
  import -window root -crop "$((sw - 6))x$((sh - 6))+$((sx + 3))+$((sy + 3))" +repage "$1" 2>/dev/null
}
colours_of() { convert "$1" -format %k info:; }
strip_has_text() { grab_strip "$work/strip.png" && [ "$(colours_of "$work/strip.png")" -ge 8 ]; }

# A file whose first words are known; its markup and line breaks are cleaned away.
text_file="$work/first words.txt"
printf 'Marquee test: the FIRST WORDS of this file\r\n<b>scroll</b> across the strip.\r\n' >"$text_file"

XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 20 find_windows || fail "the strip and the panel were not both mapped"

read -r wx wy ww wh <<<"$(xprop -root _NET_WORKAREA | sed -n 's/.* = //p' | tr -d ',' | cut -d' ' -f1-4)"
strip_placed() {
  find_windows || return 1
  read -r sx sy sw sh <<<"$(geom "$strip")"
  [ "$sx" -eq "$wx" ] && [ "$sw" -eq "$ww" ] && [ $((sy + sh)) -eq $((wy + wh)) ]
}
wait_for 10 strip_placed || fail "the strip $strip is at $sx,$sy ${sw}x$sh, not across the bottom of the work area $wx,$wy ${ww}x$wh (clients: $(client_list))"
# Drawn and empty: one flat colour (it may take a moment to be painted at all).
strip_empty() { grab_strip "$work/empty.png" && [ "$(colours_of "$work/empty.png")" -eq 1 ]; }
wait_for 10 strip_empty || fail "the strip is not empty at start: $(colours_of "$work/empty.png") colours"

xdotool windowactivate --sync "$panel" >/dev/null 2>&1
xdotool key --clearmodifiers alt+f
sleep 0.2
xdotool key l
wait_for 15 dialog_open || fail "Local(&L)... opened no dialog"
echo "Open dialog: $(name_of "$dialog")"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
sleep 0.3
xdotool type --delay 5 "$text_file"
xdotool key Return
wait_for 15 dialog_gone || fail "the Open dialog stayed open after Enter"

wait_for 15 strip_has_text || fail "the strip shows no text after the load"
cp "$work/strip.png" "$work/first.png"
moved() { grab_strip "$work/later.png" && ! cmp -s <(convert "$work/first.png" rgb:-) <(convert "$work/later.png" rgb:-); }
wait_for 10 moved || fail "the loaded text does not move"
echo "strip: $(colours_of "$work/first.png") colours after the load, 1 before; the text moves"

if [ -n "${VORN_SCREENSHOTS:-}" ]; then
  mkdir -p "$VORN_SCREENSHOTS"
  # A few seconds in, the first words have come well into view.
  sleep 6
  grab_strip "$VORN_SCREENSHOTS/local-strip.png"
  import -window root "$VORN_SCREENSHOTS/local-screen.png"
fi

# A page from a server on the loopback address, in Shift_JIS as its meta tag says.
mkdir "$work/site"
printf '<html><head><meta charset="Shift_JIS"></head><body>\r\n<p>Page from the WEB \x93\xfa\x96\x7b\x8c\xea</p>\r\n</body></html>' >"$work/site/page.html"
python3 -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/web.log" 2>&1 &
pids+=($!)
web_port() { port=$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/web.log" | head -n 1); [ -n "$port" ]; }
wait_for 10 web_port || fail "the loopback web server did not start"

grab_strip "$work/before-web.png"
xdotool windowactivate --sync "$panel" >/dev/null 2>&1
xdotool key --clearmodifiers alt+f
sleep 0.2
xdotool key w
wait_for 15 dialog_open || fail "Web(&W)... opened no box"
echo "URL box: $(name_of "$dialog")"
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
sleep 0.3
xdotool type --delay 5 "127.0.0.1:$port/page.html"
xdotool key Return
wait_for 15 dialog_gone || fail "the URL box stayed open after Enter"
fetched() { grep -q 'GET /page.html' "$work/web.log"; }
wait_for 15 fetched || fail "the page was not fetched"
if [ -n "${VORN_SCREENSHOTS:-}" ]; then
  sleep 6
  grab_strip "$VORN_SCREENSHOTS/web-strip.png"
fi

kill -TERM "$app_pid"
wait_for 20 eval '! kill -0 "$app_pid" 2>/dev/null' || fail "SIGTERM did not end the application"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the application ended with status $status"
echo "PASS"
exit 0
