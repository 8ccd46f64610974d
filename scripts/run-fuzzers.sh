#!/usr/bin/env bash
# Runs every libFuzzer target in a folder for a number of seconds each, with its seed corpus.
# Usage: run-fuzzers.sh <folder of targets> [seconds] [target name...]
# Inputs that crash, leak, time out or show undefined behaviour are kept in <folder>/artifacts/
# (each run's output in <folder>/logs/); the script then exits with status 1.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 <folder of fuzz targets> [seconds] [target...]" >&2; exit 2; }
dir=$(cd "$1" && pwd); seconds=${2:-30}; shift; [ $# -ge 1 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
artifacts="$dir/artifacts"; logs="$dir/logs"; mkdir -p "$artifacts" "$logs"
# Undefined behaviour and leaks count as failures, with a stack trace.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

targets=()
if [ $# -gt 0 ]; then
  for name in "$@"; do targets+=("$dir/$name"); done
else
  for f in "$dir"/fuzz_*; do [ -f "$f" ] && [ -x "$f" ] && targets+=("$f"); done
  [ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $dir" >&2; exit 1; }
fi

status=0
summary=()
for f in "${targets[@]}"; do
  [ -f "$f" ] && [ -x "$f" ] || { echo "no fuzz target $f" >&2; status=1; continue; }
  name=$(basename "$f")
  corpus="$dir/corpus-$name"; mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  log="$logs/$name.log"
  echo "== $name ($seconds s)"
  args=(-max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -timeout=5 -report_slow_units=1
        -artifact_prefix="$artifacts/$name-" -print_final_stats=1 "$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  result=ok
  (cd "$dir" && "$f" "${args[@]}") >"$log" 2>&1 || { result=FAILED; status=1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  if [ "$result" = FAILED ]; then
    grep -E 'ERROR: |runtime error|SUMMARY|Test unit written' "$log" | head -8 || true
  fi
  summary+=("$(printf '%-28s %6s s %12s runs  %s' "$name" "${time:-?}" "${runs:-?}" "$result")")
done

echo "== summary"
[ ${#summary[@]} -eq 0 ] || printf '%s\n' "${summary[@]}"
[ $status -eq 0 ] || echo "failing inputs: $artifacts (logs: $logs)"
exit $status
