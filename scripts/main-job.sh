#!/usr/bin/env bash
# The main job's run, once everything is built (scripts/run.sh builds, then
# calls this; ctest's wine_main_job calls it too). With the HSP toolchain
# built, the release zip is unpacked into the demo editor's folder, as users
# install it, its sample settings file gets the HSP folder, and the command
# runs twice on a Japanese system (code page 932):
# with Ctrl (compile only: the compiler's report, read from the runner's
# window) and without (compile and run: what the program wrote). Without the
# toolchain it says so and uses the stand-in runner, which reports the four
# fields it received.
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

if [ ! -f "$hsp/hspcmp.dll" ] || [ ! -f build/windows/bin/runner32/Tollik.exe ]; then
    echo "(No HSP toolchain in build/openhsp: ../shared/third_party/openhsp is not here to build it."
    echo " The stand-in runner takes the real one's place and reports what it received.)"
    cp build/windows/bin/runner/Tollik.exe "$editor/Plugins/Tollik.exe"
    rm -f "$editor/Plugins/Tollik/Tollik.ini"
    exec cmake/wine-run.sh "$WINE_PREFIX_DIR" "$editor/Pellam.exe" --text "$script" "${path[@]}" "${control[@]}"
fi

# Installed as users install it: the release zip unpacked into the editor's folder.
release=build/windows/release
rm -rf "$release"
"${CPACK:-cpack}" --config build/windows/CPackConfig.cmake -B "$release" >/dev/null
zip=$(ls "$release"/Tollik-*-win64.zip)
(cd "$editor" && cmake -E tar xf "$ROOT/$zip")
echo "Unpacked $(basename "$zip") into $editor"
printf '[Tollik]\r\nHSPDirName=%s\\\r\nMode=1\r\nDebugWindow=0\r\n' "$(winpath "$hsp")" >"$editor/Plugins/Tollik/Tollik.ini"
# The runner's windows must exist to be read: the display-less graphics driver.
export TOLLIK_WINE_GRAPHICS=null
run() {
    cmake/wine-run.sh "$WINE_SCREEN_PREFIX_DIR" "$editor/Pellam.exe" --answer-runner --text "$script" "${path[@]}" "$@"
}
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
for _ in $(seq 1 100); do [ -f "$output" ] && break; sleep 0.2; done
if [ -f "$output" ]; then
    echo "----- the program wrote $(basename "$output") (code page 932) -----"
    iconv -f CP932 -t UTF-8 "$output"
else
    echo "(the program left no $(basename "$output") beside the script)"
fi
