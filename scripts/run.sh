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

scripts/setup.sh
scripts/build-hsp.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

trap stop_wine EXIT
scripts/main-job.sh "$@"
