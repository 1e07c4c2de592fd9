#!/usr/bin/env bash
# Runs the Wine fault tests with files that behave as on Windows:
#
#   scripts/wine-faults.sh <wine prefix> <e2e_tests.exe> [test arguments]
#
# - Everything runs without the capabilities by which root reads and writes
#   any file (setpriv), the wineserver included: it is Wine's server that
#   opens files, and Wine gives a read-only file no write permission, which
#   root would simply ignore.
# - So that a server without those capabilities serves them, the tests get
#   a Wine prefix of their own (made on the first run) and a wineserver that
#   lives as long as this script.
# - In a mount namespace of its own (unshare) the prefix's temporary folder,
#   where the tests make their program folders, is a small tmpfs that the
#   disk-full tests fill up. Where mounting is not allowed, those tests skip
#   and say so.
#
# Needs the display of scripts/with-wine.sh (make test runs ctest under it).
set -euo pipefail

dropped_capabilities=-dac_override,-dac_read_search,-fowner
small_disk_size=64m

if [ $# -lt 2 ]; then
  echo "usage: $0 <wine prefix> <e2e_tests.exe> [test arguments]" >&2
  exit 2
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-faults.sh: no DISPLAY; run it under scripts/with-wine.sh" >&2
  exit 2
fi

if [ -z "${KELVANE_FAULTS_INSIDE:-}" ]; then
  export KELVANE_FAULTS_INSIDE=1
  drop=(setpriv --bounding-set="$dropped_capabilities" --)
  if ! setpriv --bounding-set="$dropped_capabilities" -- true 2>/dev/null; then
    echo "wine-faults.sh: cannot drop root's file capabilities; running with them" >&2
    drop=()
  fi
  if unshare --mount --propagation private -- true 2>/dev/null; then
    export KELVANE_FAULTS_OWN_MOUNTS=1
    exec unshare --mount --propagation private -- "${drop[@]}" "$0" "$@"
  fi
  exec "${drop[@]}" "$0" "$@"
fi

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
export WINEPREFIX="$1"
tests_exe="$2"
shift 2

kelvane_wine_prefix
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
trap cleanup EXIT

temp_folder=""
for candidate in "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Temp" \
                 "$WINEPREFIX/drive_c/users/$(id -un)/Temp"; do
  if [ -d "$candidate" ]; then temp_folder="$candidate"; break; fi
done
if [ -n "${KELVANE_FAULTS_OWN_MOUNTS:-}" ] && [ -n "$temp_folder" ] &&
   mount -t tmpfs -o "size=$small_disk_size,mode=1777" kelvane-small-disk "$temp_folder"; then
  export KELVANE_FAULT_SMALL_DISK=1
fi

wineserver -p >/dev/null 2>&1
export KELVANE_FAULT_RUNNER=1
"$WINE" "$tests_exe" "$@"
