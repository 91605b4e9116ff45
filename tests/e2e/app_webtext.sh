#!/usr/bin/env bash
# The real application on a private X server with openbox, given a web address on its
# command line, as a login autostart entry gives it.
# First a news feed from a loopback server: the strip must show "Feed title ◆ First item
# ◆ Second item", pixel for pixel as the same line read from a local file shows it.
# Then --reload 1 on a page whose text changes after the first request: the changed text
# must come in only once the text on display has left the strip, not in the middle of its
# pass. The reload comes a minute after the start, so this takes about a minute and a half.
#   app_webtext.sh VORN2_EXECUTABLE
# VORN_SCREENSHOTS=DIR keeps screenshots of the strip in DIR.
set -u
app=$1
here=$(cd "$(dirname "$0")" && pwd)

# shellcheck source=tests/e2e/xsession_lib.sh
source "$here/xsession_lib.sh"
begin_x_test Xvfb openbox xprop xwininfo python3
# The system interpreter, which has Debian's python3-xlib and python3-numpy.
py=/usr/bin/python3
"$py" -c 'import Xlib, numpy' 2>/dev/null || no_x_session "python3-xlib and python3-numpy are needed"

start_x_session
mkdir -m 700 "$work/home"

# The strip: the widest viewable window of the application.
find_strip() {
  strip=""
  local w best=0 width
  for w in $(client_list); do
    xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '"vorn2"' || continue
    viewable "$w" || continue
    width=$(geom "$w" | cut -d' ' -f3)
    [ "$width" -gt "$best" ] && { best=$width; strip=$w; }
  done
  [ -n "$strip" ] && [ -n "$(name_of_panel)" ]
}
name_of_panel() { find_panel && echo "$panel"; }
# The strip's client area inside its 3-pixel border.
strip_rect() {
  read -r sx sy sw sh <<<"$(geom "$strip")"
  echo "$((sx + 3)),$((sy + 3)),$((sw - 6)),$((sh - 6))"
}
start_app() {
  XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QT_QPA_PLATFORM=xcb "$app" "$@" \
    >"$work/app.log" 2>&1 &
  app_pid=$!
  wait_for 20 find_strip || fail "the strip and the panel were not both mapped"
}
stop_app() {
  kill -TERM "$app_pid"
  wait_for 20 app_gone || fail "SIGTERM did not end the application"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "the application ended with status $status: $(cat "$work/app.log")"
}

# A server on the loopback address: the feed, and a page that changes after its first
# request. Each request is logged with its time.
mkdir "$work/site"
cat >"$work/site/feed.xml" <<'FEED'
<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0"><channel><title>Feed title</title><link>http://127.0.0.1/</link>
<description>Not shown</description>
<item><title>First item</title><link>http://127.0.0.1/1</link><guid>1</guid>
<pubDate>Mon, 07 Dec 2026 10:00:00 GMT</pubDate></item>
<item><title><![CDATA[Second <b>item</b>]]></title><link>http://127.0.0.1/2</link></item>
</channel></rss>
FEED
cat >"$work/server.py" <<'SERVER'
import http.server, sys, time
log = open(sys.argv[2], "a", buffering=1)
pages = {"/news.html": 0}
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/feed.xml":
            body, kind = open(sys.argv[1] + "/feed.xml", "rb").read(), "text/xml"
        elif self.path == "/news.html":
            n = pages["/news.html"]; pages["/news.html"] = n + 1
            text = "OLD" if n == 0 else "NEW TEXT AFTER THE RELOAD"
            body, kind = f"<html><body><p>{text}</p></body></html>".encode(), "text/html"
            log.write(f"{time.time()} {self.path}\n")
        else:
            self.send_error(404); return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args): pass
server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
SERVER
: >"$work/gets.log"
"$py" "$work/server.py" "$work/site" "$work/gets.log" >"$work/port" 2>"$work/server.err" &
pids+=($!)
web_port() { port=$(head -n 1 "$work/port" 2>/dev/null); [ -n "$port" ]; }
wait_for 10 web_port || fail "the loopback web server did not start"

# ---- The feed, against the same line from a file ----
start_app "http://127.0.0.1:$port/feed.xml"
"$py" "$here/strip_ink.py" crop "$(strip_rect)" "$work/feed.npy" 40 ||
  fail "the feed put no whole line on the strip"
[ -n "${VORN_SCREENSHOTS:-}" ] && command -v import >/dev/null && mkdir -p "$VORN_SCREENSHOTS" &&
  import -window root -crop "$(strip_rect | awk -F, '{print $3"x"$4"+"$1"+"$2}')" \
    "$VORN_SCREENSHOTS/feed-strip.png" 2>/dev/null
stop_app
printf 'Feed title \xe2\x97\x86 First item \xe2\x97\x86 Second item' >"$work/expected.txt"
start_app "$work/expected.txt"
"$py" "$here/strip_ink.py" crop "$(strip_rect)" "$work/expected.npy" 40 ||
  fail "the file put no whole line on the strip"
stop_app
"$py" "$here/strip_ink.py" same "$work/feed.npy" "$work/expected.npy" ||
  fail "the feed's line is not 'Feed title ◆ First item ◆ Second item'"

# ---- --reload 1 on a page that changes ----
start_app --reload 1 "http://127.0.0.1:$port/news.html"
"$py" "$here/strip_ink.py" takeover "$(strip_rect)" "$work/gets.log" 150 ||
  fail "the reloaded text did not take over after the pass: $(cat "$work/app.log")"
stop_app
echo "PASS"
exit 0
