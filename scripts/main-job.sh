#!/usr/bin/env bash
# The main job's run, once everything is built (scripts/run.sh builds, then
# calls this; ctest's wine_main_job calls it too). With the HSP toolchain
# built, the release zip is unpacked into the demo editor's folder, as users
# install it, its sample settings file gets the HSP folder, and the command
# runs twice on a Japanese system (code page 932):
# with Ctrl (compile only: the compiler's report, read from the runner's
# window) and without (compile and run: what the program wrote). Without the
# toolchain, or on a machine that cannot run 32-bit x86 programs, it says so
# and uses the stand-in runner, which reports the four fields it received.
# Exit codes: 0 when the runner ran and the program wrote its file; 1 when
# either did not happen (the cause is named); 77 when it could not be tried.
# TOLLIK_RUNNER=FILE installs FILE as the runner instead of the built one.
#   main-job.sh [SCRIPT [DOCUMENT-PATH | --untitled]] [--ctrl]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh

control=()
args=()
for arg in "$@"; do
    if [ "$arg" = --ctrl ]; then control=(--ctrl); else args+=("$arg"); fi
done
demo=build/windows/demo
editor=$demo/Pellam
hsp=$ROOT/build/openhsp
script=${args[0]:-$ROOT/$demo/work/hello.hsp}
# Wine sees the whole Linux file system as drive Z:.
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
document=${args[1]:-$(winpath "$script")}
path=(--path "$document")
[ "$document" = --untitled ] && path=()
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# This script judges for itself what the machine can run (ctest sets this).
unset TOLLIK_NEEDS_X86_32
# What this machine does with 32-bit x86 programs, as scripts/setup.sh found it.
TOLLIK_X86_32=native TOLLIK_X86_32_START_MS=0 TOLLIK_X86_32_WHY=
[ ! -f build/machine.env ] || . build/machine.env

report=$demo/editor-report.txt
fail() { echo "FAILED: $1" >&2; exit 1; }
# Invokes the command once (PREFIX, then the editor's options); fails, naming
# the cause, unless the editor and the runner it started both ended with 0.
invoke() {
    local prefix=$1 runner
    shift
    rm -f "$report"
    cmake/wine-run.sh "$prefix" "$editor/Pellam.exe" --text "$script" "${path[@]}" \
        --report "$(winpath "$(dirname "$report")")\\$(basename "$report")" "$@" ||
        fail "the editor ended with exit code $?"
    [ -f "$report" ] || fail "the editor wrote no report of what it did"
    runner=$(awk -F'\t' '/^launch=/ { code = $NF } END { print code }' "$report")
    case $runner in
    0) ;;
    "") fail "the plug-in did not start the runner (its messages are above)" ;;
    "not started"*) fail "the runner $editor/Plugins/Tollik.exe did not start: Windows refused it (error ${runner//[!0-9]/})" ;;
    "still running") fail "the runner did not end while the editor waited for it" ;;
    *) fail "the runner ended with exit code $runner (its window, above, says why)" ;;
    esac
}

# What the plug-in does, shown with the stand-in runner, when the real one cannot run.
stand_in() {  # stand_in WHY
    echo "($1"
    echo " The stand-in runner takes the real one's place and reports what it received.)"
    cp build/windows/bin/runner/Tollik.exe "$editor/Plugins/Tollik.exe"
    rm -f "$editor/Plugins/Tollik/Tollik.ini"
    invoke "$WINE_PREFIX_DIR" "${control[@]}"
    echo "Not compiled and not run: $1"
    exit 77
}
# A runner given by hand is tried wherever the machine stands.
if [ "$TOLLIK_X86_32" = none ] && [ -z "${TOLLIK_RUNNER:-}" ]; then
    stand_in "This machine cannot run 32-bit x86 programs ($TOLLIK_X86_32_WHY), and the runner and the HSP compiler are 32-bit."
fi
if [ ! -f "$hsp/hspcmp.dll" ] || [ ! -f build/windows/bin/runner32/Tollik.exe ]; then
    stand_in "No HSP toolchain in build/openhsp: ../shared/third_party/openhsp is not here to build it."
fi
if [ "$TOLLIK_X86_32" = emulated ]; then
    echo "(This machine runs 32-bit x86 programs only under emulation, qemu-i386: each start of the"
    echo " runner or of the HSP program takes about $((TOLLIK_X86_32_START_MS / 1000)) s, so this run takes minutes.)"
fi

# Installed as users install it: the release zip unpacked into the editor's folder.
release=build/windows/release
rm -rf "$release"
"${CPACK:-cpack}" --config build/windows/CPackConfig.cmake -B "$release" >/dev/null
zip=$(ls "$release"/Tollik-*-win64.zip)
(cd "$editor" && cmake -E tar xf "$ROOT/$zip")
echo "Unpacked $(basename "$zip") into $editor"
if [ -n "${TOLLIK_RUNNER:-}" ]; then
    cp "$TOLLIK_RUNNER" "$editor/Plugins/Tollik.exe"
    echo "Installed $TOLLIK_RUNNER as the runner (TOLLIK_RUNNER)"
fi
printf '[Tollik]\r\nHSPDirName=%s\\\r\nMode=1\r\nDebugWindow=0\r\n' "$(winpath "$hsp")" >"$editor/Plugins/Tollik/Tollik.ini"
# The runner's windows must exist to be read: the display-less graphics driver.
export TOLLIK_WINE_GRAPHICS=null
run() { invoke "$WINE_SCREEN_PREFIX_DIR" --answer-runner "$@"; }
echo "===== With Ctrl: compile only, the compiler's report ====="
run --ctrl
[ ${#control[@]} -ne 0 ] && exit 0

echo "===== Without Ctrl: compile and run ====="
# The sample writes beside its script, which is beside the document by default.
output=
[ ${#args[@]} -ge 2 ] || output="$(dirname "$(realpath "$script")")/hello-output.txt"
[ -z "$output" ] || rm -f "$output"
run
[ -n "$output" ] || exit 0
# The program starts after the runner has ended: one more 32-bit start.
for _ in $(seq 1 $((100 + TOLLIK_X86_32_START_MS * 2 / 200))); do [ -f "$output" ] && break; sleep 0.2; done
[ -f "$output" ] || fail "the program left no $(basename "$output") beside the script"
echo "----- the program wrote $(basename "$output") (code page 932) -----"
written=$(iconv -f CP932 -t UTF-8 "$output")
echo "$written"
# The bundled sample counts to five.
[ ${#args[@]} -ge 1 ] || grep -q "カウント: 5" <<<"$written" || fail "the sample's output lacks its last line"
