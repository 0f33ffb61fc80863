#!/usr/bin/env bash
# The release zip: builds the Windows side and packs dist/Tollik-<version>-win64.zip
# with Plugins\Tollik.dll, the runner Plugins\Tollik.exe, the sample
# Plugins\Tollik\Tollik.ini, tollik-check.exe and the read-me, laid out as users
# unzip them into the editor's folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tollik tollik-check tollik_real_runner
cpack --config build/windows/CPackConfig.cmake -B dist >/dev/null
rm -rf dist/_CPack_Packages
zip=$(ls -t dist/Tollik-*-win64.zip | head -1)
echo "$zip:"
cmake -E tar tf "$zip"
