#!/usr/bin/env bash
# The Debian package: cpack -G DEB from the build makes velomira_*.deb holding the program folder under
# /usr/lib/velomira with the two programs linked into /usr/bin, the desktop entry, the icons, the
# project file type and the AppStream metadata; its dependencies name the linked libraries' packages,
# the plug-ins and the fonts.
# Usage: package.sh BUILD_FOLDER. Exits 77 (skipped) without the Debian packaging tools.
set -euo pipefail
build=$(realpath "$1")
for tool in dpkg-deb dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1) || fail "cpack: $(cat "$tmp/cpack.log")"
debs=("$tmp"/velomira_*.deb)
[[ -f ${debs[0]} ]] || fail "no velomira_*.deb in $(ls "$tmp")"
deb=${debs[0]}

dpkg-deb -c "$deb" >"$tmp/listing"
awk '{ print $6 }' "$tmp/listing" >"$tmp/files"
expected=(
    ./usr/lib/velomira/velomira ./usr/lib/velomira/velomira-render ./usr/lib/velomira/libjotwell.so
    ./usr/lib/velomira/Skins/new.bmp ./usr/lib/velomira/Skins/new@2x.bmp ./usr/lib/velomira/Help/index.html
    ./usr/lib/velomira/Icons/hicolor/48x48/apps/velomira.png
    ./usr/bin/velomira ./usr/bin/velomira-render
    ./usr/share/applications/velomira.desktop ./usr/share/mime/packages/velomira.xml
    ./usr/share/metainfo/velomira.metainfo.xml
)
for size in 16 24 32 48 64 128 256 512; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/velomira.png")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" "$tmp/files" || fail "$file is not in the package"
done
grep -q '^\./usr/lib/velomira/Template/cards/.*/temp1\.xml$' "$tmp/files" || fail "no template library in the package"
grep -q '\./usr/bin/velomira -> \.\./lib/velomira/velomira$' "$tmp/listing" || fail "/usr/bin/velomira is no link"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libqt6printsupport6 libpugixml1v5 libgif7 libimagequant0 libdeflate0 \
    qt6-qpa-plugins qt6-wayland qt6-image-formats-plugins fonts-dejavu-core fonts-liberation2 fonts-dancingscript fonts-lobster \
    fonts-kaushanscript fonts-ebgaramond; do
    [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done
[[ $depends != *jotwell* ]] || fail "the package's own logging library is a dependency: $depends"
echo "$(basename "$deb"): ${#expected[@]} files checked; Depends: $depends"
