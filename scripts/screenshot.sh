#!/usr/bin/env bash
# Takes the picture of the main window shown in the README: builds the application like scripts/run-app.sh, starts
# a copy of it with a fresh program directory on a virtual X server and saves the window as a PNG.
# Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-doc/mainwindow.png}")

scripts/build-app.sh
build=build/app

# The program keeps its configuration and logs beside itself: a copy in a scratch directory starts from defaults.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$build/app/MyQuorvaneRE" "$scratch/"
mkdir -p "$(dirname "$out")"

export SCRATCH="$scratch" OUT="$out"
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    set -euo pipefail
    "$SCRATCH/MyQuorvaneRE" &
    app=$!
    trap "kill $app 2>/dev/null || true" EXIT
    window=""
    for _ in $(seq 1 100); do
        window=$(xwininfo -root -tree | awk "/\"My Quorvane/ { print \$1; exit }")
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "The main window did not appear." >&2; exit 1; }
    sleep 1 # let it paint
    import -window "$window" "$OUT"
'
echo "Saved $out"
