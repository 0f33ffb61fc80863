#!/usr/bin/env bash
# Runs every fuzz target for a bounded time (default 30 s each) from its seed
# corpus, after building the sanitize preset. New inputs go to a scratch
# corpus in the build tree; a crash leaves its input there too and fails.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini_store number_text path_text script_writer settings_check pe_image)

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize >/dev/null

scratch=build/sanitize/fuzz
printf '%-15s %12s %10s %8s\n' target executions "exec/s" corpus
for name in "${targets[@]}"; do
    mkdir -p "$scratch/$name/corpus" "$scratch/$name/crashes"
    log=$scratch/$name/last-run.log
    if ! build/sanitize/tests/fuzz/fuzz_$name -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$scratch/$name/crashes/" \
        "$scratch/$name/corpus" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
        tail -40 "$log" >&2
        echo "fuzz_$name failed; the input is in $scratch/$name/crashes/" >&2
        exit 1
    fi
    stat() { sed -n "s/^stat::$1: *//p" "$log"; }
    printf '%-15s %12s %10s %8s\n' "$name" "$(stat number_of_executed_units)" \
        "$(stat average_exec_per_sec)" "$(ls "$scratch/$name/corpus" | wc -l)"
done
