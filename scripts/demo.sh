#!/usr/bin/env bash
# `make run`: a demo program folder with kelvane.exe, its settings and a bar
# folder made from samples/, then one toggle there and back under Wine,
# showing the main bar after each step.
#   scripts/with-wine.sh scripts/demo.sh build/mingw/app/kelvane.exe
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

exe="${1:?usage: demo.sh path/to/kelvane.exe}"
demo="$KELVANE_ROOT/build/demo"
samples="$KELVANE_ROOT/samples"

rm -rf "$demo"
mkdir -p "$demo/Bar"
cp "$exe" "$demo/kelvane.exe"
cp "$samples/kelvane.ini" "$demo/"
cp "$samples/Bar/000_Osnovnaja.bar" "$samples/Bar/tools.bar" "$demo/Bar/"

# Prints a bar file as UTF-8 text whatever its encoding: UTF-16 and UTF-8
# by their byte-order marks, anything else as Windows-1252 (the demo's
# legacy files are plain ASCII).
show_bar() {
  local file="$1" mark
  mark=$(head -c 3 "$file" | od -An -tx1 | tr -d ' \n')
  echo "---- ${file#"$demo"/}"
  case "$mark" in
    fffe*) tail -c +3 "$file" | iconv -f UTF-16LE -t UTF-8 ;;
    feff*) tail -c +3 "$file" | iconv -f UTF-16BE -t UTF-8 ;;
    efbbbf) tail -c +4 "$file" ;;
    *) iconv -f WINDOWS-1252 -t UTF-8 "$file" ;;
  esac | tr -d '\r' | sed 's/^/    /'
}

# A toggle ends by itself; a failed one would wait for the user at its
# error report, so it gets a time limit.
toggle() {
  echo
  echo "==== kelvane.exe $1"
  if ! (cd "$demo" && timeout 60 "$WINE" "$demo/kelvane.exe" "$1"); then
    echo "demo.sh: kelvane.exe $1 did not finish; see the error report" >&2
    exit 1
  fi
}

echo "Demo program folder: $demo"
show_bar "$demo/Bar/000_Osnovnaja.bar"
show_bar "$demo/Bar/tools.bar"

toggle tools.bar
echo "tools.bar is expanded into the main bar, behind the marker entry tools.barx1:"
show_bar "$demo/Bar/000_Osnovnaja.bar"

toggle tools.bar
echo "tools.bar is collapsed again; the sub-bar file is rebuilt from the main bar:"
show_bar "$demo/Bar/000_Osnovnaja.bar"
show_bar "$demo/Bar/tools.bar"

echo
for name in 000_Osnovnaja.bar tools.bar; do
  if cmp -s "$samples/Bar/$name" "$demo/Bar/$name"; then
    echo "Bar/$name: byte for byte as before the toggle"
  else
    echo "Bar/$name: same entries as before; the entry sort may have put the lines of one entry in another order"
  fi
done
echo
echo "Files: $demo (kelvane.exe, kelvane.ini, Bar/)."
echo "The settings window (on a desktop with a display): wine $demo/kelvane.exe"
