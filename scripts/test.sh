#!/usr/bin/env bash
# Every test: the native suite (logic on the fake Windows) and the Windows
# suite (the real Tollik.dll under Wine), after installing what is missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh

scripts/setup.sh
started=$(date +%s)

echo "== native build and tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows build and tests (Wine)"
trap stop_wine EXIT
cmake --preset windows >/dev/null
cmake --build --preset windows
ctest --preset windows

echo "== all tests passed in $(( $(date +%s) - started )) s"
