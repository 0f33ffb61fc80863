#!/usr/bin/env bash
# Every test, after installing what is missing: the native suite (logic on
# the fake Windows), the same suite under valgrind, and under ASan and UBSan with the fuzz
# targets' seed corpora, a bounded fuzzing run (TOLLIK_FUZZ_SECONDS per
# target, default 30), and the Windows suite (the real Tollik.dll and the
# 32-bit runner under Wine, the runner driving the HSP toolchain built from
# ../shared/third_party/openhsp).
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

echo "== native tests under valgrind memcheck"
# The suite's own operator new (its allocation faults) stays in place.
valgrind --quiet --tool=memcheck --soname-synonyms=somalloc=nouserintercepts --suppressions=scripts/valgrind.supp \
    --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
    build/native/tests/native/tollik_tests --gtest_brief=1

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer (clang)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize

echo "== fuzzing, ${TOLLIK_FUZZ_SECONDS:-30} s per target"
scripts/fuzz.sh "${TOLLIK_FUZZ_SECONDS:-30}"

echo "== Windows build and tests (Wine)"
trap stop_wine EXIT
scripts/build-hsp.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
status=0
ctest --preset windows || status=$?
# What this machine left out, in one line each (see scripts/setup.sh's line above).
awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3 }
     /^(Skipped|Shortened|Not compiled and not run): / && !said[name]++ { print "  " name ": " $0 }' \
    build/windows/Testing/Temporary/LastTest.log 2>/dev/null || true
[ "$status" -eq 0 ] || exit "$status"

echo "== all tests passed in $(( $(date +%s) - started )) s"
