#!/usr/bin/env bash
# Runs the program on a copy of the demo project (build/demo-run).
# With a display: opens the demo in the window, after running its build procedure in batch mode
# when its outputs are missing; the copy is kept between runs, so the user's changes stay.
# Without a display: says so, and runs the build procedure in batch mode and lists what it produced.
set -euo pipefail
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
work="$root/build/demo-run"

build_demo() {
    echo "== tilesmithery demo.tsp 'do \"script.spt\", \"build\"'  (in $work)"
    "$program" demo.tsp 'do "script.spt", "build"'
}

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -f "$(dirname "$program")/tilesmithery-ui.so" ]; then
    if [ ! -f "$work/demo.tsp" ]; then
        mkdir -p "$work"
        cp -r "$root/examples/demo/." "$work/"
    fi
    cd "$work"
    if [ ! -f ship.map.c ] || [ ! -f level.map.c ] || [ ! -f title.bmp.c ]; then
        build_demo || echo "== the build procedure reported a problem (status $?); opening the project anyway"
    fi
    echo "== tilesmithery demo.tsp  (the window; in $work)"
    status=0
    "$program" demo.tsp || status=$?
    # 3: the program found no display it could use.
    [ "$status" -eq 3 ] || exit "$status"
    no_display=1
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ -n "${no_display:-}" ]; then
    echo "== no display the window could use (DISPLAY and WAYLAND_DISPLAY): it cannot open;"
    echo "   running the demo in batch mode instead."
else
    echo "== the window module is missing beside $program: running the demo in batch mode instead."
fi
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/examples/demo/." "$work/"
cd "$work"
status=0
build_demo || status=$?
echo "== exit status $status; produced:"
find . -type f \( -name "*.c" -o -name "*.ref" -o -name "*.tsp" \) | sort
echo "== project elements:"
grep -E '^  (Element|Type|File):' demo.tsp || true
exit $status
