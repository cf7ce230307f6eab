#!/usr/bin/env bash
# Runs one fuzz target from its seed corpus for a while:
#   scripts/fuzz.sh build/fuzz/tests/fuzz/fuzz_number tests/fuzz/corpus/number 60
# With no arguments, builds the fuzz preset and runs every target for 60 s.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -eq 0 ]]; then
    cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null
    for target in command_line number round_trip launch_list checker record; do
        bash scripts/fuzz.sh "build/fuzz/tests/fuzz/fuzz_$target" "tests/fuzz/corpus/$target" "${FUZZ_SECONDS:-60}"
    done
    exit 0
fi

target=$1 seeds=$2 seconds=${3:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "$(basename "$target"): $seconds s"
# New inputs go to the scratch folder; the seeds stay as they are. A crash,
# leak, sanitizer report or failed property stops the run with a non-zero code.
"$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" "$work" "$seeds" 2>"$work/log" || {
    tail -40 "$work/log"
    for artifact in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
        [[ -e "$artifact" ]] && { echo "failing input ($artifact):"; od -c "$artifact" | head -20; }
    done
    exit 1
}
grep -E "stat::number_of_executed_units|cov:" "$work/log" | tail -2
