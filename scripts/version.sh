#!/usr/bin/env bash
# The program's version for the scripts, read from project() in
# CMakeLists.txt, the only place it is written:
#   scripts/version.sh          4.0.0   (a part project() leaves out is 0)
#   scripts/version.sh caption  Kelvane v.4.0   (the settings window's caption)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
written=$(sed -n 's/^project(kelvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$written" ] || { echo "version.sh: no project(kelvane VERSION ...) in CMakeLists.txt" >&2; exit 1; }
IFS=. read -r major minor patch _ <<<"$written"
version="$major.${minor:-0}.${patch:-0}"
case "${1:-}" in
  "") echo "$version" ;;
  caption) echo "Kelvane v.$major.${minor:-0}" ;;
  *) echo "usage: $0 [caption]" >&2; exit 2 ;;
esac
