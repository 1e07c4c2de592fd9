#!/usr/bin/env bash
# Shows that the version is written in one place: a copy of the tree with
# another version in project() builds a kelvane.exe whose version
# information, manifest and window caption all carry it, and the scripts
# name the release zip after it; the old version is left nowhere in them.
#   scripts/check-version.sh [VERSION]     (default 9.8.7)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
new="${1:-9.8.7}"
IFS=. read -r major minor patch <<<"$new"
[ -n "$patch" ] || { echo "check-version.sh: give major.minor.patch" >&2; exit 2; }
old="$("$root/scripts/version.sh")"
[ "$old" != "$new" ] || { echo "check-version.sh: $new is the current version" >&2; exit 2; }

copy=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-version.XXXXXX")
trap 'rm -rf "$copy"' EXIT
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents -t "$copy" 2>/dev/null || true)
sed -i "s/^project(kelvane VERSION [0-9.]*/project(kelvane VERSION $new/" "$copy/CMakeLists.txt"

failures=0
check() {  # what, then a command that succeeds when it holds
  local what="$1"
  shift
  if "$@"; then echo "  ok    $what"; else echo "  FAIL  $what"; failures=$((failures + 1)); fi
}
holds_utf16() { iconv -f UTF-8 -t UTF-16LE <<<"$2" | head -c -2 | grep -qaF -f - "$1"; }
holds_ascii() { grep -qaF "$2" "$1"; }
lacks_utf16() { ! holds_utf16 "$@"; }
lacks_ascii() { ! holds_ascii "$@"; }
dist_names() { make -C "$copy" -n dist 2>/dev/null | grep -qF "scripts/dist.sh build/mingw/app/kelvane.exe $1"; }

echo "project(kelvane VERSION $new) in a copy of the tree:"
check "scripts/version.sh says $new" test "$("$copy/scripts/version.sh")" = "$new"
check "scripts/version.sh caption says Kelvane v.$major.$minor" \
  test "$("$copy/scripts/version.sh" caption)" = "Kelvane v.$major.$minor"

cmake --preset mingw -S "$copy" -B "$copy/build/mingw" -DKELVANE_TESTS=OFF >/dev/null
cmake --build "$copy/build/mingw" --target kelvane >/dev/null
exe="$copy/build/mingw/app/kelvane.exe"
check "kelvane.exe's ProductVersion is $new" holds_utf16 "$exe" "$new"
check "kelvane.exe's FileVersion is $new.0" holds_utf16 "$exe" "$new.0"
check "kelvane.exe's manifest says version=\"$new.0\"" holds_ascii "$exe" "version=\"$new.0\""
check "kelvane.exe's window caption is Kelvane v.$major.$minor" \
  holds_utf16 "$exe" "Kelvane v.$major.$minor"
check "kelvane.exe holds no Kelvane v.${old%.*}" lacks_utf16 "$exe" "Kelvane v.${old%.*}"
check "kelvane.exe's manifest holds no version=\"$old.0\"" lacks_ascii "$exe" "version=\"$old.0\""
check "make dist gives dist.sh the version $new (kelvane-$new-win64.zip)" dist_names "$new"

[ "$failures" -eq 0 ] || { echo "check-version.sh: $failures check(s) failed" >&2; exit 1; }
echo "every artefact follows project()"
