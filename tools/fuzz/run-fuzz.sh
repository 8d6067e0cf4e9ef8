#!/bin/sh
# Builds the fuzz preset and fuzzes the configuration core for SECONDS seconds.
# Usage: tools/fuzz/run-fuzz.sh [SECONDS]   (default 10)
# New corpus entries and findings stay in build/fuzz/fuzz-run/; exits 1 on findings.
set -eu

seconds=${1:-10}
case $seconds in
    ''|*[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target config_fuzz >/dev/null

work=build/fuzz/fuzz-run
mkdir -p "$work/corpus" "$work/artifacts"
log=$work/last-run.log
before=$(ls "$work/artifacts" | wc -l)

status=0
build/fuzz/tools/fuzz/config_fuzz \
    -max_total_time="$seconds" \
    -dict=tools/fuzz/config.dict \
    -artifact_prefix="$work/artifacts/" \
    -print_final_stats=1 \
    "$work/corpus" tools/fuzz/corpus >"$log" 2>&1 || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
findings=$(( $(ls "$work/artifacts" | wc -l) - before ))

echo "fuzzed up to ${seconds} s: ${executions:-?} executions (${rate:-?}/s), ${findings} finding(s)"
if [ "$findings" -gt 0 ] || [ "$status" -ne 0 ]; then
    echo "libFuzzer exit status $status; log: $log; findings in $work/artifacts/" >&2
    grep -aE '^(==[0-9]+==ERROR|SUMMARY|.*: .*runtime error|record|encodePath|budget|allowedTextLength)' "$log" | head -n 20 >&2 || true
    exit 1
fi
