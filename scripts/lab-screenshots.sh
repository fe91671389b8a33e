#!/usr/bin/env bash
# Takes the README's pictures of a session against the lab (scripts/lab.sh) on a virtual X server of 1280 x 855:
# the main window before connecting, the login page with the Expert's password being typed on the screen's
# keyboard, and the home page after the login. Clicks and keys go in with xdotool, as a user's would.
# Usage (as root, like the lab): scripts/lab-screenshots.sh [output directory, default doc]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "${1:-doc}")

if [ "$(id -u)" -ne 0 ]; then
    echo "The lab needs root (sshd with a throw-away user, the relay on port 443)." >&2
    exit 1
fi
command -v xdotool >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends xdotool
scripts/build-app.sh labdevice labrelay
mkdir -p "$out"

display=""
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "No free X display number." >&2; exit 1; }

scratch=$(mktemp -d)
xvfb=""
lab=""
stop() {
    trap - EXIT
    # The lab's own trap stops the device, the relay, sshd and the application.
    [ -z "$lab" ] || { kill -TERM "$lab" 2>/dev/null || true; wait "$lab" 2>/dev/null || true; }
    [ -z "$xvfb" ] || { kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; }
    rm -rf "$scratch"
}
trap stop EXIT

Xvfb "$display" -screen 0 1280x855x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

scripts/lab.sh >"$scratch/lab.log" 2>&1 &
lab=$!

# Waits up to $2 tenths of a second for the command in $1 to succeed.
await() {
    local i
    for i in $(seq 1 "$2"); do
        eval "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "lab-screenshots: gave up waiting for: $1" >&2
    cat "$scratch/lab.log" >&2
    return 1
}

await "xdotool search --name '^My Quorvane'" 1200
window=$(xdotool search --name '^My Quorvane' | head -1)
dir=$(sed -n 's/^Lab running in \([^:]*\):.*/\1/p' "$scratch/lab.log")
eval "$(xdotool getwindowgeometry --shell "$window")"
# The screen lies under the menu bar, 21 pixels high.
top=$((Y + 21))
left=$X
click() {
    xdotool mousemove "$((left + $1))" "$((top + $2))" click 1
    sleep 0.3
}
sleep 1
import -window root "$out/lab-start.png"

# "&Recent" in the menu bar, then its first entry, "Lab codec", just below.
xdotool mousemove "$((left + 33))" "$((Y + 10))" click 1
sleep 0.5
xdotool mousemove "$((left + 60))" "$((Y + 33))" click 1
await "grep -q 'client connected' '$dir/device.log'" 600
sleep 1

# The Expert's switch and "Log in" (page positions), then "expert" on the keyboard popup: 960 x 455, centred on
# the page, its keys 80 pixels wide at 96-pixel steps, the first row 72 pixels below its top.
click 586 275
click 585 465
await "grep -q 'GET:password_al' '$dir/device.log'" 100
sleep 1
kx=160
ky=132
key() { click "$((kx + 8 + 96 * $1 + 40))" "$((ky + 72 + 96 * $2 + 40))"; }
key 2 0 # e
click "$((kx + 200 + 40))" "$((ky + 72 + 192 + 40))" # x, the first key of the third row
key 9 0 # p
key 2 0 # e
key 3 0 # r
key 4 0 # t
import -window root "$out/lab-login.png"

# OK, then the home page once the set-up has read the soft keys.
click "$((kx + 776 + 88))" "$((ky + 72 + 288 + 40))"
await "grep -q 'GET:softkey10' '$dir/device.log'" 300
sleep 1.5
import -window root "$out/lab-home.png"
echo "Saved $out/lab-start.png, $out/lab-login.png and $out/lab-home.png"
