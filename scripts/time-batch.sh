#!/usr/bin/env bash
# Times the program itself, from start to exit, on the conversion benchmark pictures: the jobs a
# build script runs (`tilesmithery p.tsp -tset src=...`). Usage: time-batch.sh PROGRAM BENCH_CONVERT
set -euo pipefail
program=$(realpath "$1")
bench_convert=$(realpath "$2")
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
  "-tset src=p512.png"
  "-tset src=p1024.png"
  "-tset src=d1024x512.png"
  "-tset src=p1024.png +16c col=255"
  "end"
)
commands=()
for job in "${jobs[@]}"; do commands+=("$program p.tsp $job"); done
hyperfine -N --style basic --warmup 5 --runs "$runs" --prepare 'cp p.tsp.start p.tsp' "${commands[@]}"
