#!/usr/bin/env bash
# The desktop files pass the desktop's own validators, and the MIME package compiles into a database
# that maps *.plk to application/x-velomira-project.
# Usage: desktop.sh SOURCE_FOLDER. Exits 77 (skipped) when none of the tools is installed.
set -euo pipefail
desktop=$(realpath "$1")/desktop
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

checked=0
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$desktop/velomira.desktop" 2>&1) || fail "desktop-file-validate: $out"
    [[ -z $out ]] || fail "desktop-file-validate warns: $out"
    checked=$((checked + 1))
fi
if command -v appstream-util >/dev/null; then
    appstream-util validate-relax --nonet "$desktop/velomira.metainfo.xml" >"$tmp/appstream.log" 2>&1 \
        || fail "appstream-util: $(cat "$tmp/appstream.log")"
    checked=$((checked + 1))
fi
if command -v update-mime-database >/dev/null; then
    mkdir -p "$tmp/mime/packages"
    cp "$desktop/velomira.xml" "$tmp/mime/packages/"
    update-mime-database "$tmp/mime" >"$tmp/mime.log" 2>&1 || fail "update-mime-database: $(cat "$tmp/mime.log")"
    grep -q '^50:application/x-velomira-project:\*\.plk$' "$tmp/mime/globs2" || fail "no *.plk glob: $(cat "$tmp/mime/globs2")"
    grep -q 'application/x-velomira-project' "$tmp/mime/magic" || fail "no magic rule compiled"
    checked=$((checked + 1))
fi
((checked > 0)) || { echo "SKIP: desktop-file-validate, appstream-util and update-mime-database are missing"; exit 77; }
echo "$checked checks passed"
