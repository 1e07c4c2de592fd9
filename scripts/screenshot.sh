#!/usr/bin/env bash
# Takes the picture of the settings window for the documentation:
#   scripts/with-wine.sh scripts/screenshot.sh <kelvane.exe> <out.png> [dpi]
# Starts the program without an argument in a demo folder, waits for its
# window at normal size, grabs the window and closes the program again.
# Another scale than 96 DPI (144 is 150 %) is Wine's LogPixels setting,
# made in a prefix of its own, so the tests' prefix keeps its scale.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

exe="$1"
out="$2"
dpi="${3:-96}"
caption="$("$(dirname "${BASH_SOURCE[0]}")/version.sh" caption)"
[ -f "$exe" ] || { echo "screenshot.sh: no $exe (make exe)" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "screenshot.sh: no DISPLAY (run it through scripts/with-wine.sh)" >&2; exit 1; }

demo=$(mktemp -d /tmp/kelvane-demo.XXXXXX)
program_pid=
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
  rm -rf "$demo"
  [ "$dpi" = 96 ] || wineserver -k >/dev/null 2>&1 || true  # the other prefix's server
}
trap cleanup EXIT

cp "$exe" "$demo/kelvane.exe"
mkdir -p "$demo/Bar"
printf '[Main]\r\npathBar=Bar\r\npathMainPanel=Bar\\000_Osnovnaja.bar\r\n' >"$demo/kelvane.ini"
printf '[Buttonbar]\r\nButtoncount=0\r\n' >"$demo/Bar/000_Osnovnaja.bar"

[ "$dpi" = 96 ] || export WINEPREFIX="$KELVANE_ROOT/build/wineprefix-dpi"
kelvane_wine_prefix
if [ "$dpi" != 96 ]; then
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
"$WINE" "$demo/kelvane.exe" >/dev/null 2>&1 &
program_pid=$!

# The window opens maximized and turns to its normal size when activated;
# only the normal one is worth a picture. Every wait is bounded.
shot="$demo/shot.png"
width=0
for _ in $(seq 100); do
  # import waits for a click when no window has the name yet: bound it.
  if timeout 3 import -silent -window "$caption" "$shot" 2>/dev/null; then
    width=$(identify -format '%w' "$shot")
    [ "$width" -gt 0 ] && [ "$width" -lt $((800 * dpi / 96)) ] && break
  fi
  sleep 0.2
done
if [ "$width" -le 0 ] || [ "$width" -ge $((800 * dpi / 96)) ]; then
  echo "screenshot.sh: the window \"$caption\" did not appear at normal size" >&2
  exit 1
fi
sleep 1  # let it finish painting
timeout 10 import -silent -window "$caption" "$shot"
mkdir -p "$(dirname "$out")"
convert "$shot" -strip "$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"

# The program has nothing to save: ending it is closing it.
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
program_pid=
