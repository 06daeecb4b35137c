#!/usr/bin/env bash
# Creates a Wine prefix for the project (once) and sets its graphics driver.
#   prepare-prefix.sh PREFIX [null|x11]
# "null" runs windows, dialogs and message boxes without an X server; "x11" draws on a display.
set -euo pipefail
prefix=$1
graphics=${2:-null}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
if [ "$graphics" = null ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
else
  wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
fi
wineserver -w
