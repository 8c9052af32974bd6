#!/bin/sh
# Draws the viewer's toolbar strips (13 images of 16 x 16 on white, the mask colour), in the
# order of the viewer's commands 248-260: previous, next, best fit, actual size, full screen,
# zoom in, zoom out, delete, print, copy to, external viewer, image folder, wallpaper.
# Writes toolbar.bmp and its greyed twin toolbar_disabled.bmp into the folder given ($1, default: here).
set -e
out=${1:-$(dirname "$0")}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
c() { convert -size 16x16 xc:white +antialias "$@"; }

c -fill '#2060c0' -draw 'polygon 11,2 11,13 3,7.5' "$tmp/00.png"
c -fill '#2060c0' -draw 'polygon 4,2 4,13 12,7.5' "$tmp/01.png"
c -fill none -stroke '#404040' -draw 'rectangle 1,1 14,14' -fill '#3c8c3c' -stroke none \
  -draw 'rectangle 4,4 11,11' "$tmp/02.png"
c -fill none -stroke '#404040' -draw 'rectangle 1,3 14,12' -fill '#2060c0' -stroke none \
  -draw 'rectangle 4,5 5,10' -draw 'rectangle 7,6 8,7' -draw 'rectangle 7,9 8,10' \
  -draw 'rectangle 10,5 11,10' "$tmp/03.png"
c -fill '#303030' -draw 'rectangle 0,2 15,13' -fill '#5aa0e6' -draw 'rectangle 2,4 13,11' "$tmp/04.png"
c -fill '#e8f0ff' -stroke '#303030' -draw 'circle 6,6 6,1' -stroke '#303030' -strokewidth 2 \
  -draw 'line 10,10 14,14' -stroke '#c02020' -strokewidth 1 -draw 'line 4,6 8,6' -draw 'line 6,4 6,8' "$tmp/05.png"
c -fill '#e8f0ff' -stroke '#303030' -draw 'circle 6,6 6,1' -stroke '#303030' -strokewidth 2 \
  -draw 'line 10,10 14,14' -stroke '#c02020' -strokewidth 1 -draw 'line 4,6 8,6' "$tmp/06.png"
c -stroke '#c81e1e' -strokewidth 3 -draw 'line 3,3 12,12' -draw 'line 12,3 3,12' "$tmp/07.png"
c -fill '#f8f8f8' -stroke '#505050' -draw 'rectangle 4,1 11,6' -fill '#909090' -draw 'rectangle 1,6 14,12' \
  -fill '#f8f8f8' -draw 'rectangle 4,10 11,14' "$tmp/08.png"
c -fill '#f0f0f0' -stroke '#505050' -draw 'rectangle 1,1 9,11' -fill '#fff8d0' -draw 'rectangle 6,4 14,14' "$tmp/09.png"
c -fill '#f0f0f0' -stroke '#505050' -draw 'rectangle 1,3 12,14' -fill '#2060c0' -stroke none \
  -draw 'rectangle 1,3 12,5' -stroke '#c02020' -strokewidth 2 -draw 'line 8,8 14,2' "$tmp/10.png"
c -fill '#e8c040' -stroke '#806010' -draw 'polygon 1,3 6,3 7,5 14,5 14,13 1,13' "$tmp/11.png"
c -fill '#8cc8f0' -stroke '#505050' -draw 'rectangle 1,2 14,13' -stroke none -fill '#3c963c' \
  -draw 'polygon 2,12 6,7 9,10 11,8 13,12' -fill '#f0c020' -draw 'circle 11,5 11,4' "$tmp/12.png"

convert "$tmp"/0*.png "$tmp"/1*.png +append -type TrueColor "BMP3:$out/toolbar.bmp"
convert "$tmp"/0*.png "$tmp"/1*.png +append -colorspace Gray -fill white -colorize 45% \
  -type TrueColor "BMP3:$out/toolbar_disabled.bmp"
