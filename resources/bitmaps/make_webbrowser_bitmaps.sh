#!/bin/sh
# Draws the login browser's toolbar pictures (20 x 20 each, white is transparent) with ImageMagick:
#   web_navigation.bmp: back, forward, stop, refresh;
#   web_go.bmp: go.
# Drawn without anti-aliasing so that no near-white pixel shows as a halo around the mask.
# Run from anywhere; the pictures are written beside this script and kept in the repository.
. "$(dirname "$0")/drawing.sh"

blank() { $im -size 20x20 xc:white +antialias "$@"; }
arrow_green='#2f9e3a'
arrow_edge='#1c6b25'

# back: a green arrow pointing left
blank -fill "$arrow_green" -stroke "$arrow_edge" -strokewidth 1 \
      -draw "polygon 2,10 10,3 10,7 17,7 17,13 10,13 10,17" "$tmp/back.png"
# forward: the same arrow pointing right
blank -fill "$arrow_green" -stroke "$arrow_edge" -strokewidth 1 \
      -draw "polygon 17,10 9,3 9,7 2,7 2,13 9,13 9,17" "$tmp/forward.png"
# stop: a red octagon with a white bar
blank -fill '#d83a2e' -stroke '#98241c' -strokewidth 1 \
      -draw "polygon 6,1 13,1 18,6 18,13 13,18 6,18 1,13 1,6" \
      -stroke none -fill white -draw "rectangle 5,8 14,11" "$tmp/stop.png"
# refresh: a blue ring with an arrow head
blank -fill none -stroke '#2a6fd6' -strokewidth 3 -draw "arc 3,3 16,16 -60,240" \
      -stroke '#1d4f9c' -strokewidth 1 -fill '#2a6fd6' -draw "polygon 11,1 17,5 11,9" "$tmp/refresh.png"
$im "$tmp/back.png" "$tmp/forward.png" "$tmp/stop.png" "$tmp/refresh.png" +append \
    -type TrueColor BMP3:web_navigation.bmp

# go: a green disc with a white arrow pointing right
blank -fill "$arrow_green" -stroke "$arrow_edge" -strokewidth 1 -draw "circle 9.5,9.5 9.5,1" \
      -stroke none -fill white -draw "polygon 15,10 10,5 10,8 5,8 5,12 10,12 10,15" "$tmp/go.png"
$im "$tmp/go.png" -type TrueColor BMP3:web_go.bmp
