# Sourced by the Wine scripts: one private prefix per checkout, quiet Wine.
KELVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$KELVANE_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: the programs under test need neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE="$(command -v wine64 || command -v wine || true)"
[ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64

# Creates the prefix once, with the settings the tests rely on: unmanaged
# windows (under Xvfb a managed window takes two seconds to close) and no
# crash dialog (it would hang an unattended run).
kelvane_wine_prefix() {
  if [ -f "$WINEPREFIX/.kelvane-ready" ]; then kelvane_wine_fonts; return 0; fi
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w 2>/dev/null || true
  touch "$WINEPREFIX/.kelvane-ready"
  kelvane_wine_fonts
}

# Wine's own fonts, Tahoma (the program's font) and Marlett (the caption
# buttons), are missing from a prefix made by Debian's Wine: without them
# the windows and the screenshot show substitutes. Copied once.
kelvane_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" source
  [ -f "$fonts/tahoma.ttf" ] && return 0
  for source in /usr/share/wine/fonts /usr/local/share/wine/fonts /opt/wine*/share/wine/fonts; do
    [ -f "$source/tahoma.ttf" ] || continue
    mkdir -p "$fonts"
    cp "$source"/*.ttf "$fonts"/ 2>/dev/null || true
    return 0
  done
}
