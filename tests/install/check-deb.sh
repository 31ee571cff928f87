#!/usr/bin/env bash
# Builds the .deb from a configured build folder, unpacks it into a temporary root and checks
# that the program, its menu entry, icon and picture types are where a desktop looks for them.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
dpkg-deb -x "$deb" "$work/root"

root=$work/root/usr
[ -x "$root/bin/dermagraph" ] || fail "no usr/bin/dermagraph"
desktop=$root/share/applications/dermagraph.desktop
[ -f "$desktop" ] || fail "no menu entry"
[ -f "$root/share/icons/hicolor/scalable/apps/dermagraph.svg" ] || fail "no icon"
[ -f "$root/share/mime/packages/dermagraph.xml" ] || fail "no MIME package"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop" || fail "menu entry not valid"; fi
grep -q '^Exec=dermagraph %f$' "$desktop" || fail "menu entry does not start the program"
for type in image/jpeg image/png image/tiff image/bmp image/x-tga image/x-alias-rla image/x-paintshop-pro; do
    grep -q "^MimeType=.*$type;" "$desktop" || fail "menu entry does not offer $type"
done
grep -q 'glob pattern="\*.rla"' "$root/share/mime/packages/dermagraph.xml" || fail "MIME package lacks .rla"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libpng16-16 libtiff6 ghostscript fonts-dejavu-core qt6-qpa-plugins; do
    case "$depends" in *"$package"*) ;; *) fail "Depends lacks $package: $depends" ;; esac
done
echo "ok: $(basename "$deb")"
