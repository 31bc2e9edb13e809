#!/usr/bin/env bash
# A copy of the program folder must stand alone: its programs load the logging library beside them,
# render the shipped templates and write their log into the copy's own Jotwell folder.
# Usage: programcopy.sh PROGRAM_FOLDER
set -euo pipefail
bin=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

copy="$tmp/moved program"
mkdir "$copy"
cp -a "$bin/velomira" "$bin/velomira-render" "$bin/libjotwell.so" "$bin/Skins" "$bin/Template" "$bin/Help" "$copy/"

runpath=$(readelf -d "$copy/velomira-render" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[[ $runpath == '$ORIGIN' ]] || fail "velomira-render has RUNPATH '$runpath', not \$ORIGIN"
ldd "$copy/velomira-render" | grep -F "libjotwell.so => $copy/libjotwell.so" >/dev/null \
    || fail "the copy does not load its own logging library: $(ldd "$copy/velomira-render" | grep jotwell)"

template=$(ls "$copy"/Template/cards/*/temp1.xml | head -n 1)
project="$tmp/card $$.plk"
render() {
    # As root the build tree's logging library is hidden as well, as if it had been removed.
    if [[ $(id -u) -eq 0 ]] && unshare -m true 2>/dev/null; then
        unshare -m bash -c 'mount --bind /dev/null "$1" && shift && exec "$@"' _ "$bin/libjotwell.so" "$@"
    else
        "$@"
    fi
}
render "$copy/velomira-render" --save-project "$project" "$template" || fail "saving the template as a project"
render "$copy/velomira-render" "$project" "$tmp/card.png" || fail "rendering the project"
[[ -s $tmp/card.png ]] || fail "no picture written"

log="$copy/Jotwell/velomira.log"
grep -F "Save project: $project" "$log" >/dev/null || fail "the save is not in the copy's log $log"
grep -F "Open project file: $project" "$log" >/dev/null || fail "the open is not in the copy's log $log"
if grep -F "$project" "$bin/Jotwell/velomira.log" >/dev/null 2>&1; then
    fail "the copy logged into the build's program folder"
fi
echo "The copied program folder rendered $template on its own and logged into $log"
