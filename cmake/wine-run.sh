#!/bin/sh
# Starts a Windows program under Wine in a given prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# Used by ctest as the cross-compiling emulator and by the scripts.
set -e
prefix=$1
shift
mkdir -p "$prefix"
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install prompts: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY WAYLAND_DISPLAY
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)
server=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
# A persistent server keeps each start near a second; scripts stop it at the end.
"$server" -p >/dev/null 2>&1 || true
# Bring the prefix up (created on first use) with Wine's background services
# detached from our output: started by the program itself they would inherit
# its stdout and keep ctest waiting long after the program has ended.
"$loader" wineboot >/dev/null 2>&1 </dev/null || true
# TOLLIK_WINE_GRAPHICS=null: windows really exist without a display (Wine's
# default, without one, refuses to make them). Set once per prefix; the
# desktop reads it when the server starts.
graphics=${TOLLIK_WINE_GRAPHICS:-}
if [ -n "$graphics" ] && [ ! -f "$prefix/.tollik-graphics-$graphics" ]; then
    "$loader" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f >/dev/null 2>&1 </dev/null
    "$server" -k >/dev/null 2>&1 || true
    "$server" -w >/dev/null 2>&1 || true
    "$server" -p >/dev/null 2>&1 || true
    "$loader" wineboot >/dev/null 2>&1 </dev/null || true
    touch "$prefix/.tollik-graphics-$graphics"
fi
exec "$loader" "$@"
