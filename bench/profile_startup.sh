#!/usr/bin/env bash
# Where the start-up goes: callgrind from exec to the window shown, and the
# memory by mapping two seconds after the start, on a private Xvfb with
# openbox, for Tinctor or for either minimal Qt program of bench_startup.
# Usage: bench/profile_startup.sh [tinctor|baseline|latin] [BUILD_DIR]
# Leaves the profile in BUILD_DIR/startup-WHICH.callgrind.
set -euo pipefail
which=${1:-tinctor}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${2:-$top/build}" && pwd)
case $which in
    tinctor) program=(./tinctor); title='^Tinctor$' ;;
    baseline) program=("$build/bench/baseline_app"); title='^Baseline$' ;;
    latin) program=("$build/bench/baseline_app" --latin); title='^Baseline$' ;;
    *) echo "usage: $0 [tinctor|baseline|latin] [BUILD_DIR]" >&2; exit 2 ;;
esac
PRIVATE_SCREEN=1024x768
source "$top/tools/private_desktop.sh"
cp "$build/tinctor" "$build/Tinctor.hlp" "$work/"
printf '[Color]\nRed=18\nGreen=52\nBlue=86\n' > "$work/tinctor.ini"
cd "$work"

# The instructions up to the window shown: a dump once it is mapped and
# painted; the count after it is the idle loop's.
out="$build/startup-$which.callgrind"
valgrind --tool=callgrind --callgrind-out-file="$work/cg" "${program[@]}" > /dev/null 2>&1 &
app=$!
xdotool search --sync --onlyvisible --name "$title" > /dev/null
sleep 1.5
callgrind_control -d "$app" > /dev/null 2>&1
sleep 0.5
kill "$app"; wait "$app" 2> /dev/null || true
app=
mv "$work/cg.1" "$out"
echo "== instructions to the window shown, inclusive ($out)"
callgrind_annotate --inclusive=yes "$out" 2> /dev/null | sed -n '/PROGRAM TOTALS/,$p' | head -40 | cut -c1-150 || true

# Memory by mapping, natively this time.
"${program[@]}" > /dev/null 2>&1 &
app=$!
sleep 2
echo "== PSS two seconds after the start, KiB by mapping"
awk '/^[0-9a-f]+-[0-9a-f]+ /{name = $6 == "" ? "[anonymous]" : $6} /^Pss:/{pss[name] += $2}
     END {for (n in pss) if (pss[n] > 0) print pss[n], n}' "/proc/$app/smaps" | sort -rn | head -25 || true
