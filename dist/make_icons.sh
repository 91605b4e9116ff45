#!/usr/bin/env bash
# Writes the installed icons from their two sources: the panel's 16 x 16 picture in
# app/FormMain.cpp (the XPM the running application shows) and dist/icons/vorn2.svg, drawn
# on the same grid. Run after changing either; tests/Install_test checks they agree.
#   needs: imagemagick (convert), librsvg2-bin (rsvg-convert)
set -euo pipefail
cd "$(dirname "$0")/.."
out=dist/icons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  echo '/* XPM */'
  echo 'static const char* vorn2[] = {'
  sed -n '/kPanelIcon\[\] = {/,/^};/p' app/FormMain.cpp | sed '1d;$d'
  echo '};'
} >"$work/vorn2.xpm"
convert "$work/vorn2.xpm" -strip "PNG32:$out/vorn2-16.png"
rsvg-convert -w 48 -h 48 "$out/vorn2.svg" -o "$work/48.png"
convert "$work/48.png" -strip "PNG32:$out/vorn2-48.png"
echo "wrote $out/vorn2-16.png and $out/vorn2-48.png"
