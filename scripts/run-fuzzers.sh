#!/usr/bin/env bash
# Runs every libFuzzer target in a folder for a number of seconds each, with its seed corpus.
set -euo pipefail
dir=$(cd "$1" && pwd); seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for f in "$dir"/*; do
  [ -f "$f" ] && [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="$dir/corpus-$name"; mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  echo "== $name ($seconds s)"
  args=(-max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -timeout=5 -report_slow_units=1 "$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  (cd "$dir" && "$f" "${args[@]}") || status=1
done
exit $status
