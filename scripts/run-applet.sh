#!/usr/bin/env bash
# Opens QUILLT95 through Wine's Control Panel host. With a display the sheet opens in a window;
# without one it opens under Xvfb, a screenshot is saved in build/run/ and the sheet is closed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
run=$root/build/run
mkdir -p "$run/zantu"
export WINEPREFIX=$run/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
shot=$run/quillet95.png

# Without a display, this script runs itself again inside Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$0" --screenshot
  echo "screenshot: $shot"
  exit 0
fi

cp "$root/build/win/dist/QUILLT95.CPL" "$run/"
# A demo installation: the directory named by ZANTU and its ZANTU.INI.
[ -f "$run/zantu/ZANTU.INI" ] || cp "$root/resources/demo/ZANTU.INI" "$run/zantu/ZANTU.INI"
export ZANTU="Z:${run//\//\\}\\zantu"
cpl="Z:${run//\//\\}\\QUILLT95.CPL"

"$root/scripts/prepare-prefix.sh" "$WINEPREFIX" x11
# The discovery bridge and engine go where the applet's LoadLibrary finds them.
for dll in QXLNK32.DLL QXLNK16.DLL; do
  [ -f "$root/build/win/dist/$dll" ] && cp "$root/build/win/dist/$dll" "$WINEPREFIX/drive_c/windows/system32/"
done
# The redirector driver that OK and Apply ask to reconfigure.
driver=$(find "$root/build/win/outside/driver" -name 'farline*.sys' 2>/dev/null | head -n 1)
[ -n "$driver" ] && "$root/outside/driver/farline-driver.sh" start "$WINEPREFIX" "$driver" >/dev/null

if [ "${1:-}" != --screenshot ]; then
  wine control.exe "$cpl"
  wineserver -k
  exit 0
fi

wine control.exe "$cpl" >/dev/null 2>&1 &
# Wait for the sheet to be drawn, then take the picture and close everything.
for _ in $(seq 1 60); do
  sleep 1
  if xwininfo -root -tree 2>/dev/null | grep -q "Zantu Quillet95"; then sleep 2; break; fi
done
import -window root "$shot"
wineserver -k
