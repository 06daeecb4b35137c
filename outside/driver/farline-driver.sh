#!/usr/bin/env bash
# Installs, starts, stops and removes the substitute FARLINE.VXD driver in a Wine prefix.
#   farline-driver.sh install   PREFIX DRIVER.sys   copy the driver into the prefix and register it
#   farline-driver.sh start     PREFIX [DRIVER.sys] start it (installing first when DRIVER.sys is given)
#   farline-driver.sh stop      PREFIX              stop it: \\.\FARLINE.VXD goes away (error 2)
#   farline-driver.sh uninstall PREFIX              stop it and remove the registration and the file
#   farline-driver.sh status    PREFIX              print RUNNING, STOPPED or MISSING
# Wine's winedevice hosts the driver while the prefix's wineserver runs; "start" makes that
# wineserver persistent so the driver outlives the script. Kill it with `wineserver -k` when done.
set -euo pipefail
action=${1:?action}
prefix=${2:?prefix}
driver=${3:-}
service=farline
target='C:\windows\system32\drivers\farline.sys'
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Wine's helper processes inherit output handles and outlive the command, so output goes through
# a file and stdin comes from /dev/null: the script then never waits on them.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
sc() {
  wine sc "$@" >"$out" 2>&1 </dev/null || return $?
}
state() {
  if ! wine sc query "$service" >"$out" 2>&1 </dev/null; then echo MISSING; return; fi
  if grep -q RUNNING "$out"; then echo RUNNING
  elif grep -q STOPPED "$out"; then echo STOPPED
  else echo PENDING
  fi
}
wait_for() {
  for _ in $(seq 1 100); do
    [ "$(state)" = "$1" ] && return 0
    sleep 0.1
  done
  echo "farline driver did not reach $1" >&2
  return 1
}
persistent_server() {
  # Exits with 2 when the prefix already has a wineserver; either way one is running afterwards.
  wineserver -p </dev/null >/dev/null 2>&1 || true
}

install() {
  [ -f "$driver" ] || { echo "no driver file: $driver" >&2; exit 1; }
  persistent_server
  local current
  current=$(state)
  if [ "$current" = RUNNING ]; then sc stop "$service" || true; wait_for STOPPED; fi
  mkdir -p "$prefix/drive_c/windows/system32/drivers"
  cp "$driver" "$prefix/drive_c/windows/system32/drivers/farline.sys"
  if [ "$current" = MISSING ]; then
    sc create "$service" type= kernel start= demand binPath= "$target" ||
      { cat "$out" >&2; echo "could not register the farline driver" >&2; exit 1; }
  fi
}

case $action in
  install)
    install
    ;;
  start)
    [ -n "$driver" ] && install
    persistent_server
    if [ "$(state)" != RUNNING ]; then
      sc start "$service" || { cat "$out" >&2; echo "could not start the farline driver" >&2; exit 1; }
      wait_for RUNNING
    fi
    ;;
  stop)
    if [ "$(state)" = RUNNING ]; then sc stop "$service" || true; wait_for STOPPED; fi
    ;;
  uninstall)
    if [ "$(state)" = RUNNING ]; then sc stop "$service" || true; wait_for STOPPED; fi
    if [ "$(state)" != MISSING ]; then sc delete "$service" || true; fi
    rm -f "$prefix/drive_c/windows/system32/drivers/farline.sys"
    ;;
  status)
    state
    ;;
  *)
    echo "unknown action: $action" >&2
    exit 2
    ;;
esac
