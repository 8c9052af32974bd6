#!/bin/sh
# Draws the monitor pane's small pictures (16 x 16 each, white is transparent) with ImageMagick:
#   monitor_list.bmp: information, message with error, error row (the messages and errors lists);
#   view_tabs.bmp: connections, messages, errors, statistics, attention (the view host's tabs).
# Run from anywhere; the pictures are written beside this script and kept in the repository.
. "$(dirname "$0")/drawing.sh"

blank() { $im -size 16x16 xc:white "$@"; }
circle() { # colour, glyph colour, glyph drawing, output
  blank -fill "$1" -stroke "$2" -strokewidth 1 -draw "circle 7.5,7.5 7.5,0.5" \
        -stroke none -fill white -draw "$3" "$4"
}

# information: a blue disc with a white "i"
circle '#2a6fd6' '#1d4f9c' "rectangle 7,6 8,12 rectangle 7,3 8,4" "$tmp/info.png"
# message with error: a yellow triangle with a dark "!"
blank -fill '#f2c12e' -stroke '#a07808' -draw "polygon 7.5,1 15,14.5 0,14.5" \
      -stroke none -fill '#3a2a00' -draw "rectangle 7,5 8,10 rectangle 7,12 8,13" "$tmp/warn.png"
# error row: a red disc with a white cross
circle '#d83a2e' '#98241c' "polygon 4,5 5,4 11,10 10,11 polygon 10,4 11,5 5,11 4,10" "$tmp/error.png"
$im "$tmp/info.png" "$tmp/warn.png" "$tmp/error.png" +append -type TrueColor BMP3:monitor_list.bmp

# connections: two screens joined by a cable
blank -fill '#cfe3ff' -stroke '#2d5c9e' -draw "rectangle 0,1 8,7" -draw "rectangle 7,8 15,14" \
      -stroke '#2d5c9e' -draw "line 4,8 4,11 line 4,11 6,11" "$tmp/conn.png"
# messages: a speech balloon with lines of text
blank -fill '#fff4c0' -stroke '#8a7420' -draw "roundrectangle 0,1 15,11 2,2" \
      -draw "polygon 3,11 3,15 7,11" -stroke '#8a7420' -draw "line 3,4 12,4 line 3,7 10,7" "$tmp/msgs.png"
# errors: the red disc with a cross
cp "$tmp/error.png" "$tmp/errs.png"
# statistics: bars of a chart on an axis
blank -stroke '#404040' -draw "line 0,15 15,15 line 0,0 0,15" -stroke none -fill '#2878d2' \
      -draw "rectangle 2,9 4,14 rectangle 6,5 8,14 rectangle 10,2 12,14" "$tmp/stats.png"
# attention: an orange balloon with a "!"
blank -fill '#ff8a1c' -stroke '#b35400' -draw "roundrectangle 0,1 15,11 2,2" \
      -draw "polygon 3,11 3,15 7,11" -stroke none -fill white \
      -draw "rectangle 7,3 8,7 rectangle 7,9 8,10" "$tmp/attn.png"
$im "$tmp/conn.png" "$tmp/msgs.png" "$tmp/errs.png" "$tmp/stats.png" "$tmp/attn.png" +append \
    -type TrueColor BMP3:view_tabs.bmp
