#!/usr/bin/env bash
# Builds the HSP toolchain the runner's tests and the main job drive into
# build/openhsp, from OpenHSP's sources: $TOLLIK_OPENHSP_SOURCE, else
# ../shared/third_party/openhsp beside this checkout, else the same beside the
# repository this one was cloned from. Only the build script there is
# called; none of its code enters the project. Without it, says so and
# succeeds: the tests that need the toolchain then skip.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
candidates=("${TOLLIK_OPENHSP_SOURCE:-}" "$ROOT/../shared/third_party/openhsp")
origin=$(git -C "$ROOT" config --get remote.origin.url 2>/dev/null || true)
[ -n "$origin" ] && [ -d "$origin" ] && candidates+=("$(cd "$origin" && pwd)/../shared/third_party/openhsp")
for source in "${candidates[@]}"; do
    [ -n "$source" ] && [ -f "$source/build.sh" ] || continue
    echo "== the HSP toolchain from $source"
    bash "$source/build.sh" "$ROOT/build/openhsp"
    exit 0
done
echo "== no HSP toolchain: ../shared/third_party/openhsp is absent; the tests that need it skip"
