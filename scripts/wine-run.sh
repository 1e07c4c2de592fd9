#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's prefix; CMake uses it as
# the emulator of the cross-compiled test binaries.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
kelvane_wine_prefix
exec "$WINE" "$@"
