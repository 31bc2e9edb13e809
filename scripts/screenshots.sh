#!/usr/bin/env bash
# Takes the help page's screenshots of the real program: runs a copy of the program folder in Xvfb,
# opens the portrait Christmas card from the template chooser and, with real mouse gestures, drags a
# photo into a frame, opens the Frame tab, turns the photo with the floating toolbar's dial, enters
# photo mode, selects the greeting and opens the export dialog, photographing each into help/images/.
# The photos are the program's own backgrounds, copied into a folder the photo browser opens on.
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
# on the second Christmas template (portrait, with a greeting and two empty frames) and the photo
# browser on a Pictures folder holding some of the program's backgrounds.
cp -a "$program" "$tmp/app"
rm -rf "$tmp/app/config.ini" "$tmp/app/Jotwell"
mkdir -p "$tmp/home/Pictures" "$out"
for photo in children_sky easter_meadow wedding_blush thanksgiving_autumn mothers_floral; do
    cp "$tmp/app/Template/allresources/bgimage/$photo.jpg" "$tmp/home/Pictures/"
done
printf '[system]\nexportpath=%s\nphotodir=%s\ntemp_name=Christmas\ntemp_num=1\nfirst=0\nflag=0\n' \
    "$tmp" "$tmp/home/Pictures" >"$tmp/app/config.ini"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_STATE_HOME="$tmp/home/state" \
    XDG_CACHE_HOME="$tmp/home/cache" DISPLAY="$display"

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
scale=${QT_SCALE_FACTOR:-1}
# A logical coordinate of the program in screen pixels.
px() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s }'; }
# Photographs an area of the screen given in screen pixels (a window itself may be see-through at its
# corners), in 256 colours to keep the page small.
shoot_area() {
    local name=$1 x=$2 y=$3 w=$4 h=$5
    import -window root -crop "${w}x${h}+${x}+${y}" +repage +dither -colors 256 "PNG8:$out/$name"
    echo "$out/$name (${w}x${h})"
}
shoot() {
    local id=$1 name=$2 X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$id")"
    shoot_area "$name" "$X" "$Y" "$WIDTH" "$HEIGHT"
}
# A press, several moves with short pauses and, unless the last argument is "hold", a release: a drag
# as a hand makes it, along the screen points given as "x y".
drag() {
    local point hold=
    [[ ${*: -1} == hold ]] && { hold=1; set -- "${@:1:$#-1}"; }
    xdotool mousemove --sync $1 mousedown 1
    sleep 0.2
    for point in "${@:2}"; do
        xdotool mousemove --sync $point
        sleep 0.15
    done
    sleep 0.3
    [[ -n $hold ]] || xdotool mouseup 1
}

"$tmp/app/velomira" >"$tmp/app.log" 2>&1 &
app_pid=$!
chooser=$(window '^Choose a greeting card template')
sleep 1.5
shoot "$chooser" chooser.png
xdotool windowfocus --sync "$chooser" key Return

main=$(window '^Velomira$')
eval "$(xdotool getwindowgeometry --shell "$main")"
win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
# The window's height in logical pixels.
win_lh=$(awk -v v="$win_h" -v s="$scale" 'BEGIN { printf "%d", v / s }')
# The picture list and the frame list fill in the background.
sleep 2

# Screen pixels of a point of the window given in logical pixels.
at() { echo "$((win_x + $(px "$1")))" "$((win_y + $(px "$2")))"; }
# Screen pixels of a point of the card given in its background's pixels (1000 x 1400): the card fills
# the canvas area (210, 100, width - 220, height - 110) less 10 pixels all round, centred.
card() {
    awk -v bx="$1" -v by="$2" -v x="$win_x" -v y="$win_y" -v w="$win_w" -v h="$win_h" -v s="$scale" 'BEGIN {
        aw = w / s - 240; ah = h / s - 130; k = aw / 1000 < ah / 1400 ? aw / 1000 : ah / 1400
        left = 220 + (aw - 1000 * k) / 2; top = 110 + (ah - 1400 * k) / 2
        printf "%d %d", x + (left + bx * k) * s, y + (top + by * k) * s }'
}
# The part of the card from background row $1 to row $2, in screen pixels "x y w h".
card_band() {
    local x0 y0 x1 y1
    read -r x0 y0 <<<"$(card 0 "$1")"
    read -r x1 y1 <<<"$(card 1000 "$2")"
    echo "$x0" "$y0" "$((x1 - x0))" "$((y1 - y0))"
}

# The Photo tab's first thumbnail dragged onto the wreath's empty photo: the photo list starts 2
# pixels below the folder tree, which takes 30 % of the tab's height; the frame under the pointer is
# outlined in green while the button is held.
panel_h=$((win_lh - 142 - 112))
list_top=$((132 + 112 + panel_h * 3 / 10 + 2))
read -r wreath_x wreath_y <<<"$(card 350 660)"
thumb="$(at 36 $((list_top + 29)))"
drag "$thumb" "$(at 46 $((list_top + 34)))" "$(at 90 $((list_top + 40)))" "$(at 160 $((list_top + 30)))" \
    "$(card 100 700)" "$(card 250 680)" "$(card 330 665)" "$wreath_x $wreath_y" hold
shoot "$main" photo-drag.png
xdotool mousemove --sync "$wreath_x" "$((wreath_y + 1))" mouseup 1
sleep 1

# The Frame tab.
xdotool mousemove --sync $(at 100 174) click 1
sleep 1
read -r x y <<<"$(at 0 92)"
shoot_area frames.png "$x" "$y" "$(px 200)" "$(px 500)"

# A click selects the framed photo; its toolbar appears under it. Its dial's knob, at the top of the
# dial (centre 30, 30 of the toolbar, radius 20), is turned clockwise by 30 degrees.
xdotool mousemove --sync "$wreath_x" "$wreath_y" click 1
sleep 1
# The toolbar is part of the main window, so it is found on the screen: the first band below the
# wreath's middle where a row of light grey runs more than 150 logical pixels, its left edge taken 10
# pixels below its rounded top.
read -r band_x band_y <<<"$((wreath_x - $(px 200))) $wreath_y"
band_w=$(px 400)
band_h=$(px 500)
found=$(import -window root -crop "${band_w}x${band_h}+${band_x}+${band_y}" +repage txt:- |
    awk -v min="$(px 150)" -v inset="$(px 10)" -v bx="$band_x" -v by="$band_y" -F'[,:() ]+' '
        /^#/ { next }
        { x = $1; y = $2; r = $3; g = $4; b = $5; if (y > last) last = y
          if (r > 200 && g > 200 && b > 200 && r - g < 25 && g - r < 25) {
              n[y]++; if (!(y in left) || x < left[y]) left[y] = x } }
        END { for (y = 0; y <= last; y++) if (n[y] > min) { printf "%d %d", bx + left[y + inset], by + y; exit 0 }
              exit 1 }') || { echo "screenshots.sh: no floating toolbar" >&2; exit 1; }
read -r X Y <<<"$found"
arc=()
for degrees in 0 5 10 15 20 25 30; do
    arc+=("$(awk -v a="$degrees" -v x="$X" -v y="$Y" -v s="$scale" 'BEGIN {
        r = (a - 90) * 3.14159265 / 180; printf "%d %d", x + (30 + 20 * cos(r)) * s, y + (30 + 20 * sin(r)) * s }')")
done
drag "${arc[@]}" hold
shoot_area toolbar.png $(card_band 250 1140)
xdotool mouseup 1
sleep 0.5

# A double-click on the framed photo: photo mode, the whole photo over its frame.
xdotool mousemove --sync "$wreath_x" "$wreath_y" click --repeat 2 --delay 80 1
sleep 1
shoot_area photomode.png $(card_band 250 1140)

# A click on the grey around the card leaves photo mode; a click on the greeting selects it and shows
# it in the Text tab.
xdotool mousemove --sync $(at 215 $((win_lh - 15))) click 1
sleep 0.5
xdotool mousemove --sync $(card 500 175) click 1
sleep 1
read -r x y <<<"$(at 0 92)"
read -r right _ <<<"$(card 1000 0)"
shoot_area text.png "$x" "$y" "$((right - x + $(px 10)))" "$(px 440)"

# Export, the last button of the toolbar.
xdotool mousemove --sync $(at 410 60) click 1
export_dialog=$(window '^Export')
sleep 0.5
shoot "$export_dialog" export.png
xdotool windowfocus --sync "$export_dialog" key Escape
