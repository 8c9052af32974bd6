#!/bin/sh
# Pictures for the picture-view tests: a PNG of 100 x 80, a GIF, a BMP and a JPEG.
set -e
out=$1
cd "$out"
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16
$IM -size 100x80 xc:lime -depth 8 PNG24:p100x80.png
$IM -size 60x40 xc:orange gif:o60x40.gif
$IM -size 30x20 xc:blue -depth 8 BMP3:b30x20.bmp
$IM -size 120x90 xc:red -depth 8 r120x90.ppm
cjpeg r120x90.ppm > r120x90.jpg
rm -f r120x90.ppm
# A large legal picture whose decode takes a while.
python3 "$(dirname "$0")/../support/slow_picture.py"
