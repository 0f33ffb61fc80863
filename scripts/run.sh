#!/usr/bin/env bash
# The main job: builds Tollik.dll and runs its command once in the stand-in
# host under Wine, on the bundled sample script, printing what it did.
#   scripts/run.sh [SCRIPT [DOCUMENT-PATH]]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

script=${1:-$ROOT/samples/hello.hsp}
document=${2:-'C:\work\hello.hsp'}
trap stop_wine EXIT
cmake/wine-run.sh "$WINE_PREFIX_DIR" build/windows/bin/tollik_demo_host.exe "$script" "$document"
