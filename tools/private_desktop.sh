# Sourced by the scripts that show the built program to a tool: a private
# Xvfb of the size in PRIVATE_SCREEN (WIDTHxHEIGHT) with openbox, its
# DISPLAY exported, a scratch folder in $work, and all of it ended, the
# program in $app first (it saves its settings as it ends), when the script
# exits.
work=$(mktemp -d)
cleanup() {
    if [[ -n "${app:-}" ]]; then kill "$app" 2> /dev/null || true; wait "$app" 2> /dev/null || true; fi
    kill "${wm:-}" "${server:-}" 2> /dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 "${PRIVATE_SCREEN}x24" -nolisten tcp -noreset > /dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
export QT_QPA_PLATFORM=xcb
openbox --sm-disable > /dev/null 2>&1 &
wm=$!
sleep 1
