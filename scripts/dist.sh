#!/usr/bin/env bash
# `make dist`: dist/kelvane-<version>-win64.zip with kelvane.exe, README.md
# and a sample kelvane.ini.
#   scripts/dist.sh build/mingw/app/kelvane.exe "$(scripts/version.sh)"
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="${1:?usage: dist.sh path/to/kelvane.exe version}"
version="${2:?usage: dist.sh path/to/kelvane.exe version}"
name="kelvane-$version-win64"
staging="$root/build/dist/$name"
archive="$root/dist/$name.zip"

rm -rf "$staging"
mkdir -p "$staging" "$root/dist"
cp "$exe" "$staging/kelvane.exe"
cp "$root/README.md" "$staging/README.md"
cp "$root/samples/kelvane.ini" "$staging/kelvane.ini"

rm -f "$archive"
(cd "$staging/.." && zip -q -X -r "$archive" "$name")
echo "$archive"
unzip -l "$archive" | sed -n '4,$p' | head -n -2
