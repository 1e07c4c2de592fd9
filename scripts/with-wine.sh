#!/usr/bin/env bash
# Runs a command with one Xvfb display and one persistent wineserver for the
# whole run, so that every Wine process in it starts warm. The wineserver is
# stopped before Xvfb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

display_number=99
while [ -e "/tmp/.X${display_number}-lock" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display_number"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display_number}" ] && break; sleep 0.1; done

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

kelvane_wine_prefix
wineserver -p >/dev/null 2>&1
"$WINE" cmd /c exit >/dev/null 2>&1 || true   # warm the server
"$@"
