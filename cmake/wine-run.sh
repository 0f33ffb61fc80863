#!/bin/sh
# Starts a Windows program under Wine in a given prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# Used by ctest as the cross-compiling emulator and by the scripts.
set -e
prefix=$1
shift
# What this machine does with 32-bit x86 programs (scripts/setup.sh found
# it): passed on to the programs, which size their waits by it. A test that
# starts 32-bit programs sets TOLLIK_NEEDS_X86_32=1 and is skipped (77)
# where they cannot run, and says what an emulated run leaves out.
machine=${TOLLIK_MACHINE_FILE:-$(dirname "$0")/../build/machine.env}
if [ -f "$machine" ]; then
    set -a
    . "$machine"
    set +a
fi
if [ "${TOLLIK_NEEDS_X86_32:-}" = 1 ]; then
    if [ "${TOLLIK_X86_32:-}" = none ]; then
        echo "Skipped: this machine cannot run 32-bit x86 programs (${TOLLIK_X86_32_WHY:-see scripts/setup.sh}), and the runner and the HSP compiler are 32-bit."
        exit 77
    fi
    if [ "${TOLLIK_X86_32:-}" = emulated ] && [ -n "${TOLLIK_SHORTENED:-}" ]; then
        echo "Shortened: 32-bit programs run under emulation here (${TOLLIK_X86_32_START_MS} ms a start): $TOLLIK_SHORTENED."
    fi
fi
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
# The program's output goes through a file, copied out as it comes: a Wine
# service the program wakes (slow to start under emulation) inherits its
# stdout, and on ctest's pipe would keep ctest waiting after the program has
# ended. What was copied stays with ctest even when a timeout kills this
# script, and the file, unlinked at once, is never left behind.
output=$(mktemp)
exec 3>"$output" 4<"$output"
rm -f "$output"
# Started in the background, it would read /dev/null: it keeps this stdin (if any).
if [ -e /dev/stdin ]; then exec 5<&0; else exec 5</dev/null; fi
"$loader" "$@" <&5 >&3 2>&1 3>&- 4<&- 5<&- &
program=$!
exec 3>&-
# Ends once the program is gone and all it wrote is out.
tail -c +1 -s 0.1 -f --pid="$program" <&4 5<&- &
copier=$!
exec 4<&- 5<&-
# Interrupted (Ctrl-C, a TERM): the program is ended too, its output still copied.
trap 'kill "$program" 2>/dev/null || true' INT TERM HUP
status=0
wait "$program" || status=$?
# A trapped signal cuts the wait short; the program's own status follows.
while kill -0 "$program" 2>/dev/null; do
    status=0
    wait "$program" || status=$?
done
wait "$copier" || true
exit "$status"
