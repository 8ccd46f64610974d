#!/usr/bin/env bash
# CPU time of the map editor left idle on a 1024 x 1024 map for 10 seconds (offscreen platform).
# Usage: scripts/editor-idle-cpu.sh [build folder] [seconds]
# Prints the share of one core the process used; exits non-zero at 1 % or more.
set -euo pipefail
build="${1:-build}"
seconds="${2:-10}"
program="$build/bench/bench_editor_window"
if [ ! -x "$program" ]; then
    echo "missing $program: cmake --build $build --target bench_editor_window" >&2
    exit 2
fi
QT_QPA_PLATFORM=offscreen "$program" --idle-seconds="$seconds"
