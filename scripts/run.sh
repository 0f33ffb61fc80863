#!/usr/bin/env bash
# The main job: builds Tollik.dll and the runner Tollik.exe, builds the HSP
# toolchain from ../shared/third_party/openhsp on the first run, installs
# both into a stand-in editor (build/windows/demo/Pellam) and runs the
# command under Wine on the bundled sample script, on a Japanese system
# (code page 932): the compiler's report (with Ctrl), then the program run,
# and what it wrote. Without the toolchain it says so and shows what the
# stand-in runner received instead.
#   scripts/run.sh [SCRIPT [DOCUMENT-PATH | --untitled]] [--ctrl]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
source scripts/machine.sh

# A new Wine prefix is minutes of 32-bit starts under emulation: it is made
# (and one start timed in it) while the programs build, in the prefix the
# main job uses, and waited for before the main job starts.
TOLLIK_TIME_LATER_IN=$WINE_SCREEN_PREFIX_DIR scripts/setup.sh
prefix_job=
prefix_log=build/wine-prefix.log
# Leaving early (a failed build, Ctrl-C), the prefix's job goes too, with the Wine programs it started.
stop() {
    [ -z "$prefix_job" ] || kill -- -"$prefix_job" 2>/dev/null || true
    stop_wine
}
trap stop EXIT
# bash runs the EXIT trap on a signal only when it handles that signal: a
# cancelled CI job (TERM) must not leave the prefix's job running.
trap 'exit 143' TERM HUP
trap 'exit 130' INT
if grep -qx 'TOLLIK_X86_32_TIMED=no' "$MACHINE_FILE" && ! grep -qx 'TOLLIK_X86_32=none' "$MACHINE_FILE"; then
    echo "== the Wine prefix ${WINE_SCREEN_PREFIX_DIR#"$ROOT"/}: made when new, and one 32-bit start timed, in the background while the programs build"
    prefix_started=$(date +%s)
    set -m  # a process group of its own, to be ended as one
    (
        # The runner's windows need the display-less graphics driver (see main-job.sh).
        TOLLIK_WINE_GRAPHICS=null time_the_machine "$WINE_SCREEN_PREFIX_DIR"
        echo "(done in $(($(date +%s) - prefix_started)) s)"
    ) >"$prefix_log" 2>&1 </dev/null &
    prefix_job=$!
    set +m
fi
scripts/build-hsp.sh
cmake --preset windows >/dev/null
# What the main job installs and runs: the plug-in, both runners, the stand-in
# editor and the checker; the tests' programs are scripts/test.sh's to build.
cmake --build --preset windows --target tollik_demo_layout tollik-check
if [ -n "$prefix_job" ]; then
    echo "== waiting for the Wine prefix ${WINE_SCREEN_PREFIX_DIR#"$ROOT"/} (started $(($(date +%s) - prefix_started)) s ago); what it prints:"
    # Its lines so far, then the rest as they come.
    tail -c +1 -s 0.2 -f --pid="$prefix_job" "$prefix_log" &
    prefix_tail=$!
    prefix_status=0
    wait "$prefix_job" || prefix_status=$?
    prefix_job=
    wait "$prefix_tail" || true
    [ "$prefix_status" -eq 0 ] || { echo "FAILED: making the Wine prefix ended with exit code $prefix_status" >&2; exit 1; }
fi
scripts/main-job.sh "$@"
