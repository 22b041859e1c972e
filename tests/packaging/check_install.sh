#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what a desktop needs:
# the program folder with its help file, the link on the PATH, the menu
# entry, the icons and the AppStream description, all valid.
set -euo pipefail
build=$1
stage=$(mktemp -d)
cleanup() {
    if [[ -n "${app:-}" ]]; then kill "$app" 2> /dev/null || true; wait "$app" 2> /dev/null || true; fi
    if [[ -n "${server:-}" ]]; then kill "$server" 2> /dev/null || true; fi
    rm -rf "$stage"
}
trap cleanup EXIT

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
# KWin grants its screenshot to the program Exec leads to, as a path.
grep -qx "Exec=/opt/tinctor-check/bin/tinctor" "$desktop" || fail "Exec is not the installed link"
# Started by the session bus where the entry says so, and offering the pick.
grep -qx "DBusActivatable=true" "$desktop" || fail "the entry is not D-Bus activatable"
grep -qx "Name\[ja\]=画面上の色を取得" "$desktop" || fail "no pick action in the entry"
service="$root/share/dbus-1/services/org.vantrel.Tinctor.service"
[[ "$(sed -n 's/^Name=//p' "$service")" == "org.vantrel.Tinctor" ]] || fail "the bus service's name"
grep -qx "Exec=/opt/tinctor-check/bin/tinctor" "$service" || fail "the bus service's Exec"
appstreamcli validate --no-net "$root/share/metainfo/org.vantrel.Tinctor.metainfo.xml" > /dev/null \
    || fail "metainfo not valid"
# The Debian package: what it declares and what it holds.
cpack --config "$build/CPackConfig.cmake" -B "$stage/package" > /dev/null
deb=$(ls "$stage"/package/tinctor_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6core6 libqt6dbus6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-ipafont-gothic; do
    [[ "$depends" == *"$needed"* ]] || fail "the package does not depend on $needed"
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/lib/tinctor/tinctor ./usr/lib/tinctor/Tinctor.hlp ./usr/bin/tinctor \
    ./usr/share/applications/org.vantrel.Tinctor.desktop \
    ./usr/share/dbus-1/services/org.vantrel.Tinctor.service \
    ./usr/share/metainfo/org.vantrel.Tinctor.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/tinctor.png \
    ./usr/share/icons/hicolor/scalable/apps/tinctor.svg; do
    grep -qxF "$path" <<< "$files" || fail "the package lacks $path"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/org.vantrel.Tinctor.desktop \
    | grep -qx "Exec=/usr/bin/tinctor" || fail "the package's entry does not lead to /usr/bin/tinctor"

# The installed program, started through its link, shows its window.
exec 3> "$stage/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset > /dev/null 2>&1 &
server=$!
for _ in $(seq 50); do [[ -s "$stage/display" ]] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$stage/display") QT_QPA_PLATFORM=xcb
"$root/bin/tinctor" > /dev/null 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tinctor$' | head -n1) \
    || fail "the installed program showed no window"
# The desktop matches the window to its entry, for the icon and the grouping
# with a pinned launcher, by the window's class.
id=$(basename "$desktop" .desktop)
grep -qx "StartupWMClass=$id" "$desktop" || fail "the entry names no window class $id"
[[ "$(xprop -id "$window" WM_CLASS)" == *", \"$id\"" ]] || fail "the window's class is not $id"
echo "1 passed, 0 failed"
