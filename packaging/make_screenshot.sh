#!/usr/bin/env bash
# Makes docs/screenshot.png from the built program, on a private X server
# with a window manager, so the picture shows exactly what users get.
# Usage: packaging/make_screenshot.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
work=$(mktemp -d)
cleanup() {
    # The program saves its settings as it ends: let it finish first.
    if [[ -n "${app:-}" ]]; then kill "$app" 2> /dev/null || true; wait "$app" 2> /dev/null || true; fi
    kill "${wm:-}" "${server:-}" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset > /dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
export QT_QPA_PLATFORM=xcb
openbox --sm-disable > /dev/null 2>&1 &
wm=$!
sleep 1

cp "$build/tinctor" "$build/Tinctor.hlp" "$work/"
printf '[Color]\nMode=0\nRGB=1\nRed=230\nGreen=120\nBlue=40\n' > "$work/tinctor.ini"
"$work/tinctor" > /dev/null 2>&1 &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^Tinctor$' | head -n1)
sleep 1
mkdir -p "$top/docs"
"$build/packaging/grab_window" "$window" "$top/docs/screenshot.png"
echo "wrote docs/screenshot.png"
