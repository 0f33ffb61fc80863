#!/usr/bin/env bash
# The main job with a runner Windows cannot start (text named Tollik.exe):
# it must fail at its first invocation, saying the runner did not start.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
broken=$(mktemp -d)
installed=$ROOT/build/windows/demo/Pellam/Plugins/Tollik.exe
# The demo editor gets its own runner back.
trap 'rm -rf "$broken"; cp "$ROOT/build/windows/bin/runner32/Tollik.exe" "$installed" 2>/dev/null' EXIT
echo "not a program" >"$broken/Tollik.exe"
output=$(TOLLIK_RUNNER="$broken/Tollik.exe" bash "$ROOT/scripts/main-job.sh" 2>&1)
status=$?
echo "$output"
[ $status -ne 77 ] || exit 77  # could not be tried here: the main job said why
if [ $status -eq 1 ] && grep -q "FAILED: the runner .* did not start" <<<"$output" &&
    [ "$(grep -c '=====' <<<"$output")" -eq 1 ]; then
    echo "the main job failed at once, naming the runner that did not start"
    exit 0
fi
echo "expected exit 1 after the first invocation, naming the runner; got $status"
exit 1
