#!/bin/sh
# Draws the tasks tree's pictures (16 x 16 each, white is transparent) with ImageMagick into
# tasks_tree.bmp: closed folder, open folder, then for a site-scanning task and for a
# URL-template task in turn: idle, running, waiting, paused, finished.
# Run from anywhere; the picture is written beside this script and kept in the repository.
. "$(dirname "$0")/drawing.sh"

blank() { $im -size 16x16 xc:white "$@"; }

blank -fill '#f3c623' -stroke '#a07808' -draw "polygon 0,3 6,3 7,5 15,5 15,14 0,14" "$tmp/f0.png"
blank -fill '#f7d65a' -stroke '#a07808' -draw "polygon 0,3 6,3 7,5 13,5 13,7 0,7" \
      -draw "polygon 0,14 3,7 15,7 12,14" "$tmp/f1.png"

# A task: a page (site scan) or a page with template braces, with a state badge bottom right.
page() { # page colour, line colour, output, badge drawing
  blank -fill "$1" -stroke '#5a6470' -draw "polygon 1,0 8,0 11,3 11,15 1,15" \
        -stroke "$2" -draw "line 3,5 9,5 line 3,8 9,8 line 3,11 7,11" \
        -draw "$4" "$3"
}
idle="fill #9aa3ad stroke #5a6470 circle 12,12 12,15.5"
running="fill #2f9e44 stroke #1d6b2c polygon 9,8 15,12 9,15.5"
waiting="fill #ffffff stroke #2b6cc4 circle 12,12 12,15.5 line 12,12 12,10 line 12,12 14,12"
paused="fill #2b6cc4 stroke #1b4a8a rectangle 8.5,8.5 10.5,15.5 rectangle 12.5,8.5 14.5,15.5"
done="fill none stroke #2f9e44 stroke-width 2 polyline 8,12 11,14.5 15,8"
n=0
for kind in "#ffffff #8a929c" "#fff3da #e07b00"; do
  set -- $kind
  for badge in "$idle" "$running" "$waiting" "$paused" "$done"; do
    n=$((n + 1))
    page "$1" "$2" "$tmp/t$n.png" "$badge"
  done
done
$im "$tmp/f0.png" "$tmp/f1.png" "$tmp/t1.png" "$tmp/t2.png" "$tmp/t3.png" "$tmp/t4.png" "$tmp/t5.png" \
    "$tmp/t6.png" "$tmp/t7.png" "$tmp/t8.png" "$tmp/t9.png" "$tmp/t10.png" +append \
    -type TrueColor BMP3:tasks_tree.bmp
