#!/usr/bin/env bash
# Makes docs/screenshot.png from the built program, on a private X server
# with a window manager, so the picture shows exactly what users get.
# Usage: packaging/make_screenshot.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
PRIVATE_SCREEN=640x480
source "$top/tools/private_desktop.sh"

cp "$build/tinctor" "$build/Tinctor.hlp" "$work/"
printf '[Color]\nMode=0\nRGB=1\nRed=230\nGreen=120\nBlue=40\n' > "$work/tinctor.ini"
"$work/tinctor" > /dev/null 2>&1 &
app=$!
window=$(xdotool search --sync --onlyvisible --name '^Tinctor$' | head -n1)
sleep 1
mkdir -p "$top/docs"
"$build/packaging/grab_window" "$window" "$top/docs/screenshot.png"
echo "wrote docs/screenshot.png"
