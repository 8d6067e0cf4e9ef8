#!/bin/sh
# Builds the fuzz preset and fuzzes each target for SECONDS seconds: the
# configuration core (config_fuzz) and random user actions on the dialog (dialog_fuzz).
# Usage: tools/fuzz/run-fuzz.sh [SECONDS]   (default 10)
# New corpus entries and findings stay in build/fuzz/<target>-run/; exits 1 on findings.
set -eu

seconds=${1:-10}
case $seconds in
    ''|*[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target config_fuzz dialog_fuzz >/dev/null

failed=0
for target in config_fuzz dialog_fuzz; do
    work=build/fuzz/$target-run
    mkdir -p "$work/corpus" "$work/artifacts"
    log=$work/last-run.log
    before=$(ls "$work/artifacts" | wc -l)
    seeds=""
    [ "$target" = config_fuzz ] && seeds="-dict=tools/fuzz/config.dict tools/fuzz/corpus"

    status=0
    # shellcheck disable=SC2086 # seeds holds an option and a folder, or nothing
    build/fuzz/tools/fuzz/$target \
        -max_total_time="$seconds" \
        -artifact_prefix="$work/artifacts/" \
        -print_final_stats=1 \
        "$work/corpus" $seeds >"$log" 2>&1 || status=$?

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    findings=$(( $(ls "$work/artifacts" | wc -l) - before ))

    actions=$(sed -n 's/^stat::dialog_actions: *//p' "$log" | tail -n 1)
    echo "$target: fuzzed up to ${seconds} s: ${executions:-?} executions (${rate:-?}/s)${actions:+, $actions actions}, ${findings} finding(s)"
    if [ "$findings" -gt 0 ] || [ "$status" -ne 0 ]; then
        echo "libFuzzer exit status $status; log: $log; findings in $work/artifacts/" >&2
        grep -aE '^(==[0-9]+==ERROR|SUMMARY|.*: .*runtime error|record|encodePath|budget|allowedTextLength|dialog)' "$log" | head -n 20 >&2 || true
        failed=1
    fi
done
exit $failed
