#!/usr/bin/env bash
# Every benchmark, with its table: Google Benchmark on the fake Windows
# (settings store, numbers, paths, script writer), then the whole command on
# the real Tollik.dll under Wine against its baseline, for each kind of text
# under code page 932, and the runner against its baseline. Each table says
# which goals were met. Not part of the tests: no time is asserted.
#   scripts/bench.sh [--quick]    --quick: sizes up to 16 Mi units, and no
#                                 runner half where 32-bit code is emulated
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
source scripts/wine-env.sh

scripts/setup.sh
sizes=1K,1M,16M,64M
quick=no
if [ "${1:-}" = "--quick" ]; then
    sizes=1K,1M,16M
    quick=yes
fi

echo "== building"
cmake --preset native >/dev/null
cmake --build --preset native --target tollik_native_bench >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target tollik_bench_layout >/dev/null

echo "== native, on the fake Windows"
build/native/bench/native/tollik_native_bench --benchmark_min_time=0.2 2>/dev/null

echo
echo "== the whole command on the real DLL under Wine"
trap stop_wine EXIT
# A script for HSP's UTF-8 runtime that the code page cannot hold (saved as
# UTF-8) is judged at 16 Mi units, where the text's own cost shows.
# Each table is printed whatever the other's goals came to.
for texts in "--sizes $sizes --text ascii --text japanese" "--sizes 16M --text hsp3utf"; do
    # shellcheck disable=SC2086  # the options are words
    (cd build/windows/bench/Pellam &&
        LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 sh "$ROOT/cmake/wine-run.sh" "$ROOT/build/windows/wineprefix" \
            ./Pellam.exe $texts) ||
        echo "(the plug-in missed a goal, or a run failed)"
done
echo

echo "== the runner: its start to the runtime's start, against a baseline (32-bit, under Wine)"
# What this machine does with 32-bit x86 programs, as scripts/setup.sh found it.
TOLLIK_X86_32=native TOLLIK_X86_32_START_MS=0 TOLLIK_X86_32_WHY=
[ ! -f build/machine.env ] || . build/machine.env
if [ "$TOLLIK_X86_32" = none ]; then
    echo "(left out: this machine cannot run 32-bit x86 programs ($TOLLIK_X86_32_WHY), and the runner is 32-bit)"
    exit 0
fi
if [ "$TOLLIK_X86_32" = emulated ]; then
    # Dozens of starts at about a minute each: qemu's time, not the runner's.
    if [ "$quick" = yes ]; then
        echo "(left out: 32-bit programs run only under emulation here ($((TOLLIK_X86_32_START_MS / 1000)) s a start), so the runner's times would be qemu's; scripts/bench.sh without --quick runs it anyway)"
        exit 0
    fi
    echo "(32-bit programs run only under emulation here ($((TOLLIK_X86_32_START_MS / 1000)) s a start): these are qemu's times more than the runner's)"
fi
scripts/build-hsp.sh >/dev/null
if [ -f build/openhsp/hspcmp.dll ]; then
    cmake --preset windows32 >/dev/null
    cmake --build --preset windows32 >/dev/null
    (cd build/windows32/bin &&
        LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 sh "$ROOT/cmake/wine-run.sh" "$ROOT/build/windows/wineprefix" \
            ./runner_bench.exe "Z:$(pwd | tr / '\\')\\Tollik.exe" "Z:$(cd "$ROOT/build/openhsp" && pwd | tr / '\\')\\") ||
        echo "(the runner missed its goal, or a run failed)"
else
    echo "(skipped: no HSP toolchain in build/openhsp)"
fi
