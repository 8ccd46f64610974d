#!/usr/bin/env bash
# Times the program itself, from start to exit, on the conversion benchmark pictures: the jobs a
# build script runs (`tilesmithery p.tsp -tset src=...`), the start alone (`--version`, `end`), and
# the peak memory of the 1024 x 1024 job. With a second program (OTHER, e.g. an older build) both
# run the same jobs on the same files, side by side in one hyperfine run.
# Usage: time-batch.sh PROGRAM BENCH_CONVERT [OTHER]
set -euo pipefail
program=$(realpath "$1")
bench_convert=$(realpath "$2")
other=${3:+$(realpath "$3")}
runs=${TIME_RUNS:-40}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# The pictures (and a first conversion of each kind) come from the conversion benchmark.
TS_BENCH_PICTURES="$dir" "$bench_convert" --benchmark_filter='Convert8Bit512' \
  --benchmark_min_time=0.01 >/dev/null 2>&1
cd "$dir"
"$program" p.tsp 'convert.maskColor = RGB(0,0,0)'
cp p.tsp p.tsp.start

jobs=(
  "--version"
  "p.tsp end"
  "p.tsp -tset src=p512.png"
  "p.tsp -tset src=p1024.png"
  "p.tsp -tset src=d1024x512.png"
  "p.tsp -tset src=p1024.png +16c col=255"
)
commands=()
for job in "${jobs[@]}"; do
  commands+=("$program $job")
  [ -n "$other" ] && commands+=("$other $job")
done
# The d1024x512 picture holds more distinct tiles than a text map entry can number, so that job
# ends with the tile-number warning (exit 1) after writing everything: time it all the same.
hyperfine -N -i --style basic --warmup 5 --runs "$runs" --prepare 'cp p.tsp.start p.tsp' "${commands[@]}"

echo "Peak memory (maximum resident set) of the 1024 x 1024 job:"
for p in "$program" ${other:+"$other"}; do
  cp p.tsp.start p.tsp
  kb=$(/usr/bin/time -f '%M' "$p" p.tsp -tset src=p1024.png 2>&1 >/dev/null | tail -1)
  echo "  $p: $((kb / 1024)) MB ($kb kB)"
done
