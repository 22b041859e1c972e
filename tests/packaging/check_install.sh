#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what a desktop needs:
# the program folder with its help file, the link on the PATH, the menu
# entry, the icons and the AppStream description, all valid.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /opt/tinctor-check > /dev/null
root="$stage/opt/tinctor-check"

fail() { echo "FAIL: $*" >&2; exit 1; }
[[ -x "$root/lib/tinctor/tinctor" ]] || fail "no program in lib/tinctor"
[[ -f "$root/lib/tinctor/Tinctor.hlp" ]] || fail "no help file beside the program"
[[ -L "$root/bin/tinctor" ]] || fail "bin/tinctor is not a link"
[[ "$(readlink -f "$root/bin/tinctor")" == "$(readlink -f "$root/lib/tinctor/tinctor")" ]] \
    || fail "bin/tinctor does not lead to the program"
for size in 16 32 48; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/tinctor.png"
    [[ -f "$png" ]] || fail "no ${size} pixel icon"
    # The PNG header holds the width and height at bytes 16 to 23.
    dims=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ')
    [[ "$dims" == " 0 0 0 $size 0 0 0 $size" ]] || fail "icon $size is $dims"
done
[[ -f "$root/share/icons/hicolor/scalable/apps/tinctor.svg" ]] || fail "no scalable icon"

desktop="$root/share/applications/org.vantrel.Tinctor.desktop"
desktop-file-validate "$desktop" | grep -v '^.*: hint:' && fail "desktop entry not valid" || true
grep -q '^Name\[ja\]=' "$desktop" || fail "no Japanese name"
grep -q '^Categories=Graphics;Utility;' "$desktop" || fail "categories"
appstreamcli validate --no-net "$root/share/metainfo/org.vantrel.Tinctor.metainfo.xml" > /dev/null \
    || fail "metainfo not valid"
echo "1 passed, 0 failed"
