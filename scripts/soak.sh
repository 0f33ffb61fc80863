#!/usr/bin/env bash
# The soak: one stand-in editor process under Wine invokes the command N
# times (default 2,000) with the real plug-in, the real runner in mode 2 and
# the HSP toolchain built from OpenHSP, and prints the editor's handles,
# USER and GDI objects, private bytes and temporary-folder entries as it goes,
# then the runners' exit codes, what was left behind and whether every count
# stayed flat. Not part of the tests (ctest's wine_soak_short runs 100).
#   scripts/soak.sh [N]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh
count=${1:-2000}

scripts/setup.sh
scripts/build-hsp.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target tollik_soak_layout >/dev/null

trap stop_wine EXIT
hsp="Z:$(echo "$ROOT/build/openhsp/" | tr / '\\')"
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 TOLLIK_WINE_GRAPHICS=null TOLLIK_HSP_FOLDER="$hsp" \
    sh cmake/wine-run.sh "$WINE_SCREEN_PREFIX_DIR" build/windows/soak/Pellam/Pellam.exe --count "$count" --check
