#!/usr/bin/env bash
# Installs the build into a temporary prefix as `cmake --install` does for a package and
# checks what a desktop needs: the executable answers --version, the menu entry validates and
# names an icon that the hicolor theme holds at 16, 48 and scalable sizes, and every icon
# shows the panel's own 16 x 16 picture (the XPM in app/FormMain.cpp).
#   check_install.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
for tool in desktop-file-validate convert compare rsvg-convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/usr" >"$work/install.log"
root="$work/usr"
version=$("$root/bin/vorn2" --version)
[ "$version" = "vorn2 1.0.17" ] || fail "--version printed '$version'"

desktop="$root/share/applications/vorn2.desktop"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
for line in 'Name=vorn2' 'Comment=.+' 'Icon=vorn2' 'Exec=vorn2( .*)?' 'Categories=(.*;)?Utility;.*'; do
  grep -qEx "$line" "$desktop" || fail "no line '$line' in the desktop entry: $(cat "$desktop")"
done

# The panel's picture, as the running application draws it.
{ printf '/* XPM */\nstatic const char* vorn2[] = {\n'
  sed -n '/kPanelIcon\[\] = {/,/^};/p' "$src/app/FormMain.cpp" | sed '1d;$d'; echo '};'; } >"$work/panel.xpm"
convert "$work/panel.xpm" "PNG32:$work/panel.png"
convert "$work/panel.png" -scale 300% "PNG32:$work/panel48.png"
icons="$root/share/icons/hicolor"
rsvg-convert -w 16 -h 16 "$icons/scalable/apps/vorn2.svg" -o "$work/svg16.png"
# Same pixels, transparency included.
same() { local d; d=$(compare -metric AE "$1" "$2" null: 2>&1) || true; [ "$d" = 0 ] || fail "$3: $d"; }
same "$work/panel.png" "$icons/16x16/apps/vorn2.png" "the 16 x 16 icon is not the panel's picture"
same "$work/panel48.png" "$icons/48x48/apps/vorn2.png" \
  "the 48 x 48 icon is not the panel's picture at three times the size"
same "$work/panel.png" "$work/svg16.png" "the scalable icon drawn at 16 x 16 is not the panel's picture"
echo "PASS: installed and checked under $root"
