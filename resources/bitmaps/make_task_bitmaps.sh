#!/bin/sh
# Draws the task dialogs' small pictures with ImageMagick (white is transparent):
#   filetype_checks.bmp: 4 check-box states of 15 x 14 (none, unchecked, checked, partly checked)
#     for the file-type tree of a task;
#   string_list_toolbar.bmp / _hot.bmp: 6 buttons of 16 x 15 (new, edit, delete, delete all, up,
#     down) for the string editor, the hot strip in stronger colours.
# Run from anywhere; the pictures are written beside this script and kept in the repository.
set -e
cd "$(dirname "$0")"
im=convert
command -v convert-im6.q16 >/dev/null 2>&1 && im=convert-im6.q16
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

box() { $im -size 15x14 xc:white -fill white -stroke '#1c5180' -draw "rectangle 1,1 13,13" "$@"; }
$im -size 15x14 xc:white "$tmp/none.png"
box "$tmp/off.png"
box -stroke '#202020' -strokewidth 2 -fill none -draw "polyline 4,7 6,10 11,4" "$tmp/on.png"
box -stroke none -fill '#3a8a3a' -draw "rectangle 4,4 10,10" "$tmp/part.png"
$im "$tmp/none.png" "$tmp/off.png" "$tmp/on.png" "$tmp/part.png" +append -type TrueColor BMP3:filetype_checks.bmp

strip() { # main colour, dark colour, output
  b() { $im -size 16x15 xc:white "$@"; }
  # new: a sheet with a plus
  b -fill white -stroke '#505050' -draw "rectangle 2,1 11,13" -stroke "$1" -strokewidth 2 \
    -draw "line 12,6 12,12 line 9,9 15,9" "$tmp/new.png"
  # edit: a pencil over a line
  b -stroke '#505050' -draw "line 1,13 14,13" -stroke "$2" -fill "$1" -draw "polygon 3,11 4,8 11,1 13,3 6,10" "$tmp/edit.png"
  # delete: a cross
  b -stroke "$2" -strokewidth 3 -draw "line 4,3 11,10 line 11,3 4,10" "$tmp/del.png"
  # delete all: three lines with a cross over them
  b -stroke '#505050' -draw "line 1,3 9,3 line 1,7 9,7 line 1,11 9,11" -stroke "$2" -strokewidth 2 \
    -draw "line 9,6 14,12 line 14,6 9,12" "$tmp/delall.png"
  # up and down: arrows
  b -stroke "$2" -fill "$1" -draw "polygon 7.5,1 14,8 10,8 10,13 5,13 5,8 1,8" "$tmp/up.png"
  b -stroke "$2" -fill "$1" -draw "polygon 7.5,13 14,6 10,6 10,1 5,1 5,6 1,6" "$tmp/down.png"
  $im "$tmp/new.png" "$tmp/edit.png" "$tmp/del.png" "$tmp/delall.png" "$tmp/up.png" "$tmp/down.png" \
      +append -type TrueColor "BMP3:$3"
}
strip '#7fa7d6' '#2d5c9e' string_list_toolbar.bmp
strip '#f0a030' '#c03010' string_list_toolbar_hot.bmp
