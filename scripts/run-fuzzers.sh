#!/usr/bin/env bash
# Runs every libFuzzer target in a folder for a number of seconds each, with its seed corpus.
set -euo pipefail
dir=$1; seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for f in "$dir"/*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="$dir/corpus-$name"; mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/$name"
  echo "== $name ($seconds s)"
  if [ -d "$seeds" ]; then
    "$f" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 "$corpus" "$seeds" || status=1
  else
    "$f" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 "$corpus" || status=1
  fi
done
exit $status
