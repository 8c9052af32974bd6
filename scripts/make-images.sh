#!/bin/bash
# Draws the main window's toolbar strips, menu pictures and icons with ImageMagick into the
# folder given as $1. Each picture is drawn on an 80 x 80 canvas and scaled down; toolbar strips
# use magenta as their mask colour, icons keep their alpha channel.
set -euo pipefail
out=$1
mkdir -p "$out"
CONVERT=$(command -v convert-im6.q16 || command -v convert)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
[ -f "$font" ] || font=DejaVu-Sans-Bold

# Shared shapes (80-unit coordinates).
page='fill white stroke #5a6470 stroke-width 4 polygon 16,6 48,6 64,22 64,74 16,74'
picture='fill #ffffff stroke #5a6470 stroke-width 4 rectangle 6,14 74,66 fill #8fc4f0 stroke none rectangle 9,17 71,63 fill #3f9a3f polygon 9,63 30,36 46,55 56,44 71,63 fill #f3c623 circle 58,28 58,34'
redx='stroke #c8281e stroke-width 12 stroke-linecap round line 46,46 70,70 line 70,46 46,70'

# name and drawing, in toolbar order.
declare -a names draws
add() { names+=("$1"); draws+=("$2"); }
add start     "fill #2f9e44 stroke #1d6b2c stroke-width 4 polygon 20,10 68,40 20,70"
add finish    "fill #2f9e44 stroke #1d6b2c stroke-width 4 polygon 8,14 40,40 8,66 fill #2b6cc4 stroke #1b4a8a rectangle 48,14 60,66"
add pause     "fill #2b6cc4 stroke #1b4a8a stroke-width 4 rectangle 18,12 34,68 rectangle 46,12 62,68"
add newtask   "$page fill #2f9e44 stroke none rectangle 52,44 62,78 rectangle 40,56 74,66"
add newtempl  "$page stroke #e07b00 stroke-width 5 fill none line 26,30 54,30 line 26,42 54,42 line 26,54 44,54 fill #2f9e44 stroke none rectangle 52,44 62,78 rectangle 40,56 74,66"
add options   "stroke #5a6470 stroke-width 6 line 10,20 70,20 line 10,40 70,40 line 10,60 70,60 fill #2b6cc4 stroke #1b4a8a stroke-width 4 circle 28,20 28,29 circle 54,40 54,49 circle 22,60 22,69"
add delete    "stroke #c8281e stroke-width 14 stroke-linecap round line 16,16 64,64 line 64,16 16,64"
add selectby  "fill none stroke #2b6cc4 stroke-width 4 stroke-dasharray 8,6 rectangle 6,6 74,74 stroke #2f9e44 stroke-dasharray none stroke-width 10 stroke-linecap round stroke-linejoin round polyline 20,42 34,56 60,26"
add copyto    "fill #e8eef6 stroke #5a6470 stroke-width 4 rectangle 6,6 46,56 fill white rectangle 28,24 70,74 stroke #2b6cc4 stroke-width 4 line 36,38 62,38 line 36,50 62,50 line 36,62 54,62"
add delimages "$picture $redx"
add showlast  "$picture fill #2b6cc4 stroke #1b4a8a stroke-width 3 polygon 40,40 76,40 58,72"
add changeview "fill #2b6cc4 stroke #1b4a8a stroke-width 4 rectangle 8,8 36,36 rectangle 44,8 72,36 rectangle 8,44 36,72 rectangle 44,44 72,72"
add fullscreen "fill #3a3f46 stroke #22262b stroke-width 4 rectangle 4,10 76,60 fill #8fc4f0 stroke none rectangle 10,16 70,54 fill #5a6470 rectangle 32,60 48,68 rectangle 20,68 60,74"
add slideshow "$picture fill #2f9e44 stroke white stroke-width 4 polygon 30,26 58,40 30,54"
add tray      "fill #e8eef6 stroke #5a6470 stroke-width 4 rectangle 6,6 74,50 fill #2b6cc4 stroke none rectangle 8,8 72,18 fill #5a6470 rectangle 4,64 76,76 fill #2f9e44 stroke #1d6b2c stroke-width 3 polygon 28,30 52,30 52,44 62,44 40,62 18,44 28,44"
add help      "fill #2b6cc4 stroke #1b4a8a stroke-width 4 circle 40,40 40,76 fill white stroke none font '$font' font-size 56 text 23,60 '?'"
# Picture viewer, commands 248 to 260 in order.
add prev      "fill #2b6cc4 stroke #1b4a8a stroke-width 4 polygon 58,10 18,40 58,70"
add next      "fill #2b6cc4 stroke #1b4a8a stroke-width 4 polygon 22,10 62,40 22,70"
add bestfit   "fill none stroke #5a6470 stroke-width 4 rectangle 6,6 74,74 fill #2b6cc4 stroke none polygon 12,12 32,12 12,32 polygon 68,68 48,68 68,48 polygon 68,12 68,32 48,12 polygon 12,68 12,48 32,68"
add actual    "fill white stroke #5a6470 stroke-width 4 rectangle 6,6 74,74 fill #2b6cc4 stroke none font '$font' font-size 34 text 13,53 '1:1'"
add vfull     "fill #3a3f46 stroke #22262b stroke-width 4 rectangle 4,10 76,60 fill #8fc4f0 stroke none rectangle 10,16 70,54 fill #5a6470 rectangle 32,60 48,68 rectangle 20,68 60,74"
add zoomin    "fill #e8f2fc stroke #1b4a8a stroke-width 6 circle 34,34 34,60 stroke-width 12 stroke-linecap round line 52,52 72,72 stroke #2f9e44 stroke-width 7 stroke-linecap butt line 20,34 48,34 line 34,20 34,48"
add zoomout   "fill #e8f2fc stroke #1b4a8a stroke-width 6 circle 34,34 34,60 stroke-width 12 stroke-linecap round line 52,52 72,72 stroke #c8281e stroke-width 7 stroke-linecap butt line 20,34 48,34"
add vdelete   "stroke #c8281e stroke-width 14 stroke-linecap round line 16,16 64,64 line 64,16 16,64"
add print     "fill white stroke #5a6470 stroke-width 4 rectangle 20,6 60,30 fill #8a929c rectangle 6,28 74,58 fill white rectangle 20,48 60,74"
add vcopy     "fill #e8eef6 stroke #5a6470 stroke-width 4 rectangle 6,6 46,56 fill white rectangle 28,24 70,74"
add external  "fill white stroke #5a6470 stroke-width 4 rectangle 6,18 60,74 fill #2b6cc4 stroke #1b4a8a stroke-width 3 polygon 44,6 74,6 74,36 stroke-width 8 stroke-linecap round line 70,10 36,44"
add folder    "fill #f3c623 stroke #b08a10 stroke-width 4 polygon 6,16 30,16 36,24 74,24 74,68 6,68"
add wallpaper "fill #3a3f46 stroke #22262b stroke-width 4 rectangle 4,8 76,62 fill #8fc4f0 stroke none rectangle 10,14 70,56 fill #3f9a3f polygon 10,56 30,32 44,48 54,38 70,56 fill #5a6470 rectangle 32,62 48,70 rectangle 20,70 60,76"

for i in "${!names[@]}"; do
  "$CONVERT" -size 80x80 xc:none -draw "${draws[$i]}" "$tmp/${names[$i]}.png"
done

# A masked cell: alpha above one half becomes opaque, the rest the mask colour.
cell() {  # name size out
  "$CONVERT" "$tmp/$1.png" -filter Triangle -resize "$2x$2" -channel A -threshold 50% +channel \
    -background magenta -alpha remove -alpha off "$3"
}
strip() {  # size outfile first count [disabled]
  local size=$1 file=$2 first=$3 count=$4 disabled=${5:-}
  local cells=()
  for ((k = first; k < first + count; k++)); do
    if [ -n "$disabled" ]; then
      # Disabled: grey and lighter, the same outline.
      "$CONVERT" "$tmp/${names[$k]}.png" -modulate 100,0 -channel RGB +level 45%,88% +channel "$tmp/grey-$k.png"
      cell "grey-$k" "$size" "$tmp/cell-$size-$k.png"
    else
      cell "${names[$k]}" "$size" "$tmp/cell-$size-$k.png"
    fi
    cells+=("$tmp/cell-$size-$k.png")
  done
  "$CONVERT" "${cells[@]}" +append -type TrueColor "BMP3:$file"
}
strip 20 "$out/toolbar_main.bmp" 0 16
strip 20 "$out/toolbar_main_disabled.bmp" 0 16 disabled
strip 16 "$out/menu_main.bmp" 0 16
strip 16 "$out/menu_viewer.bmp" 16 13

# Icons: the program (a picture with a download arrow), task started, task completed, queue.
"$CONVERT" -size 80x80 xc:none -draw "fill #2b6cc4 stroke #1b4a8a stroke-width 4 roundrectangle 4,4 76,76 14,14 \
  fill #8fc4f0 stroke none rectangle 14,14 66,56 fill #3f9a3f polygon 14,56 32,32 46,48 54,40 66,56 \
  fill #f3c623 circle 54,24 54,30 fill white stroke #1b4a8a stroke-width 3 polygon 30,50 50,50 50,60 60,60 40,76 20,60 30,60" \
  "$tmp/app.png"
"$CONVERT" -size 80x80 xc:none -draw "fill #2f9e44 stroke #1d6b2c stroke-width 5 circle 40,40 40,76 \
  fill white stroke none polygon 30,20 60,40 30,60" "$tmp/started.png"
"$CONVERT" -size 80x80 xc:none -draw "fill #2b6cc4 stroke #1b4a8a stroke-width 5 circle 40,40 40,76 \
  fill none stroke white stroke-width 10 stroke-linecap round stroke-linejoin round polyline 22,42 36,56 60,26" \
  "$tmp/completed.png"
# A run that ended otherwise: paused (the toolbar's pause bars), stopped (a square), completed
# with error (an exclamation mark).
"$CONVERT" -size 80x80 xc:none -draw "fill #2b6cc4 stroke #1b4a8a stroke-width 5 circle 40,40 40,76 \
  fill white stroke none rectangle 26,22 36,58 rectangle 44,22 54,58" "$tmp/paused.png"
"$CONVERT" -size 80x80 xc:none -draw "fill #5a6470 stroke #3a3f46 stroke-width 5 circle 40,40 40,76 \
  fill white stroke none rectangle 24,24 56,56" "$tmp/stopped.png"
"$CONVERT" -size 80x80 xc:none -draw "fill #d9822b stroke #a35a12 stroke-width 5 circle 40,40 40,76 \
  fill white stroke none roundrectangle 35,14 45,48 4,4 circle 40,61 40,67" "$tmp/completed_error.png"
"$CONVERT" -size 80x80 xc:none -draw "fill #f3c623 stroke #b08a10 stroke-width 4 rectangle 10,50 70,70 \
  rectangle 10,28 70,48 rectangle 10,6 70,26" "$tmp/queue.png"
icon() {  # source out
  "$CONVERT" "$tmp/$1.png" \( -clone 0 -resize 16x16 \) \( -clone 0 -resize 32x32 \) \( -clone 0 -resize 48x48 \) \
    -delete 0 "$2"
}
icon app "$out/app.ico"
icon started "$out/task_started.ico"
icon completed "$out/task_completed.ico"
icon queue "$out/queue.ico"
icon paused "$out/task_paused.ico"
icon stopped "$out/task_stopped.ico"
icon completed_error "$out/task_completed_error.ico"
# The short tray record of old systems takes a plain 16-colour icon.
"$CONVERT" "$tmp/app.png" -resize 16x16 -background magenta -alpha remove -colors 16 "$tmp/app16.png"
"$CONVERT" "$tmp/app16.png" -transparent magenta "$out/app_small.ico"
