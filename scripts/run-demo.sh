#!/usr/bin/env bash
# Runs the program on a copy of the demo project. Until the window front end exists this runs
# the project's build procedure in batch mode and lists what it produced.
set -euo pipefail
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
work="$root/build/demo-run"
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/examples/demo/." "$work/"
cd "$work"
echo "== tilesmithery demo.tsp 'do \"script.spt\", \"build\"'  (in $work)"
status=0
"$program" demo.tsp 'do "script.spt", "build"' || status=$?
echo "== exit status $status; produced:"
find . -type f \( -name "*.c" -o -name "*.ref" -o -name "*.tsp" \) | sort
echo "== project elements:"
grep -E '^  (Element|Type|File):' demo.tsp || true
exit $status
