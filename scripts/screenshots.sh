#!/usr/bin/env bash
# Takes the help page's screenshots of the real program: runs a copy of the program folder in Xvfb,
# opens a card from the template chooser and photographs the chooser, the main window with an object
# selected and the export dialog into help/images/.
# Usage: screenshots.sh PROGRAM_FOLDER [OUTPUT_FOLDER] (default: help/images beside this script's folder)
# Environment: SCREENSHOT_DISPLAY (default :99) the Xvfb display to use; QT_SCALE_FACTOR is passed on.
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:?usage: screenshots.sh PROGRAM_FOLDER [OUTPUT_FOLDER]}")
out=$(realpath -m "${2:-$here/help/images}")
display=${SCREENSHOT_DISPLAY:-:99}
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is not installed" >&2; exit 1; }
done

tmp=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [[ -z $app_pid ]] || { kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null; } || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# A copy of the program folder, so that its settings and log stay out of the build; the chooser opens
# on the first Christmas template.
cp -a "$program" "$tmp/app"
rm -rf "$tmp/app/config.ini" "$tmp/app/Jotwell"
printf '[system]\nexportpath=%s\ntemp_name=Christmas\ntemp_num=0\nfirst=0\nflag=0\n' "$tmp" >"$tmp/app/config.ini"
mkdir -p "$tmp/home" "$out"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_STATE_HOME="$tmp/home/state" DISPLAY="$display"

Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
done

# The window with the title, once it is shown.
window() {
    local id
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "screenshots.sh: no window '$1'" >&2
    return 1
}
# A logical coordinate of the program in screen pixels.
px() { awk -v v="$1" -v s="${QT_SCALE_FACTOR:-1}" 'BEGIN { printf "%d", v * s }'; }
# Photographs the screen area of the window (the window itself may be see-through at its corners).
shoot() {
    local id=$1 name=$2 x y w h
    eval "$(xdotool getwindowgeometry --shell "$id")"
    x=$X y=$Y w=$WIDTH h=$HEIGHT
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name"
    echo "$out/$name (${w}x${h})"
}

"$tmp/app/velomira" >"$tmp/app.log" 2>&1 &
app_pid=$!
chooser=$(window '^Choose a greeting card template')
sleep 1.5
shoot "$chooser" chooser.png
xdotool windowfocus --sync "$chooser" key Return

main=$(window '^Velomira$')
sleep 1

# A click on the card's middle selects the object there.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --sync $((X + WIDTH * 3 / 5)) $((Y + HEIGHT * 3 / 5)) click 1
sleep 0.5
shoot "$main" selected.png

# Export, the last button of the toolbar.
xdotool mousemove --sync $((X + $(px 410))) $((Y + $(px 60))) click 1
export_dialog=$(window '^Export')
sleep 0.5
shoot "$export_dialog" export.png
xdotool windowfocus --sync "$export_dialog" key Escape
