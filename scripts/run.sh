#!/usr/bin/env bash
# The main job: builds Tollik.dll, installs it with the stand-in runner into a
# stand-in editor (build/windows/demo/Pellam), and runs the command once under
# Wine on the bundled sample script, on a Japanese system (code page 932).
# Prints what the host was asked, the script file written and the fields the
# runner received.
#   scripts/run.sh [SCRIPT [DOCUMENT-PATH | --untitled]] [--ctrl]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh

control=()
args=()
for arg in "$@"; do
    if [ "$arg" = --ctrl ]; then control=(--ctrl); else args+=("$arg"); fi
done

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

demo=build/windows/demo
script=${args[0]:-$ROOT/$demo/work/hello.hsp}
# Wine sees the whole Linux file system as drive Z:.
document=${args[1]:-Z:$(realpath "$script" | tr / '\\')}
path=(--path "$document")
[ "$document" = --untitled ] && path=()

trap stop_wine EXIT
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 cmake/wine-run.sh "$WINE_PREFIX_DIR" "$demo/Pellam/Pellam.exe" \
    --text "$script" "${path[@]}" "${control[@]}"
