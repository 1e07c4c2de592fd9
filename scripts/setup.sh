#!/usr/bin/env bash
# Installs the Debian packages a build needs, once: a machine that has them
# already is left alone and nothing is printed.
#   scripts/setup.sh native    compiler, CMake, Ninja, GoogleTest
#   scripts/setup.sh windows   MinGW-w64, Wine, Xvfb
#   scripts/setup.sh fuzz      clang with libFuzzer
#   scripts/setup.sh format    clang-format
#   scripts/setup.sh screenshot / dist   tools of those make targets
#   scripts/setup.sh icons     SVG renderer and .ico packer, for make icons
#   scripts/setup.sh plot      gnuplot, for the benchmarks' plot
set -euo pipefail

packages_for() {
  case "$1" in
    native)  echo "cmake g++ ninja-build libgtest-dev googletest" ;;
    windows) echo "g++-mingw-w64-x86-64-posix wine wine64 xvfb locales" ;;
    screenshot) echo "x11-apps imagemagick" ;;
    dist)    echo "zip" ;;
    icons)   echo "librsvg2-bin icoutils imagemagick" ;;
    plot)    echo "gnuplot-nox" ;;
    fuzz)    echo "clang libclang-rt-14-dev" ;;
    format)  echo "clang-format" ;;
    *) echo "setup.sh: unknown group '$1'" >&2; exit 2 ;;
  esac
}

missing=()
for group in "$@"; do
  for p in $(packages_for "$group"); do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup.sh: missing packages (${missing[*]}); run as root or install them" >&2
  exit 1
fi
echo "Installing ${missing[*]} ..."
log=$(mktemp)
if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
       apt-get install -y -qq "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
