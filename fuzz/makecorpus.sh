#!/usr/bin/env bash
# Writes the fuzzers' seed corpus into OUT from the program folder BIN: templates, projects saved from
# them, and small pictures; then shrinks BIN's frames, masks and clip-art (below). BIN is the fuzz
# build's own program folder. Usage: makecorpus.sh BIN OUT
set -euo pipefail
bin=$1
out=$2
rm -rf "$out"
mkdir -p "$out"/xml "$out"/template "$out"/project "$out"/picture

n=0
while IFS= read -r -d '' template; do
    n=$((n + 1))
    cp "$template" "$out/template/$n.xml"
    cp "$template" "$out/xml/template-$n.xml"
    # Half the projects at the template's own size, half on a smaller canvas.
    width=()
    ((n % 2)) && width=(--canvas-width 400)
    QT_QPA_PLATFORM=offscreen "$bin/velomira-render" "${width[@]}" --save-project "$out/project/$n.plk" "$template"
    cp "$out/project/$n.plk" "$out/xml/project-$n.plk"
done < <(find "$bin/Template/cards" -name '*.xml' -print0 | sort -z)

# The smallest pictures of every kind the program reads; the fuzzer grows what it needs from them.
for extension in png jpg bmp; do
    find "$bin/Skins" "$bin/Template/allresources" -name "*.$extension" -size -24k -printf '%s %p\n' |
        sort -n | head -n 8 | while read -r _ picture; do
            cp "$picture" "$out/picture/$(basename "$(dirname "$picture")")-$(basename "$picture")"
        done
done

# The fuzzers read cards that name the library's frames, masks and clip-art, and decode them for every
# input as the program does for every card it opens. A quarter of their size they take the same paths
# at a fraction of the time, so a minute tries several times the inputs; the seeds above were made
# from the full-size pictures.
if command -v mogrify >/dev/null; then
    find "$bin/Template/allresources" \( -path '*/clipart/*' -o -path '*/frame/*' -o -path '*/mask/*' \) -type f -print0 |
        xargs -0 -r -P"$(nproc)" -n8 mogrify -resize 25%
fi
