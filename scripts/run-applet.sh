#!/usr/bin/env bash
# Opens QUILLT95 through Wine's Control Panel host. With a display the sheet opens in a window;
# without one it opens under Xvfb, a screenshot is saved in build/run/ and the sheet is closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run=$root/build/run
mkdir -p "$run/zantu"
export WINEPREFIX=$run/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
cp "$root/build/win/dist/QUILLT95.CPL" "$run/"
# A demo installation: the directory named by ZANTU and its ZANTU.INI.
[ -f "$run/zantu/ZANTU.INI" ] || cp "$root/resources/demo/ZANTU.INI" "$run/zantu/ZANTU.INI"
export ZANTU="Z:${run//\//\\}\\zantu"
cpl="Z:${run//\//\\}\\QUILLT95.CPL"

if [ -n "${DISPLAY:-}" ]; then
  "$root/scripts/prepare-prefix.sh" "$WINEPREFIX" x11
  exec wine control.exe "$cpl"
fi

shot=$run/quillet95.png
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  "'"$root"'/scripts/prepare-prefix.sh" "$WINEPREFIX" x11
  wine control.exe "'"$cpl"'" >/dev/null 2>&1 &
  # Wait for the sheet to be drawn, then take the picture and close everything.
  for i in $(seq 1 60); do
    sleep 1
    if xwininfo -root -tree 2>/dev/null | grep -q "Zantu Quillet95"; then sleep 2; break; fi
  done
  import -window root "'"$shot"'"
  wineserver -k
'
echo "screenshot: $shot"
