#!/bin/sh
# Pictures for the thumbnail tests: JPEGs large and small (baseline, progressive, grey), other
# formats, and files that are not pictures at all.
set -e
out=$1
cd "$out"
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16

$IM -size 400x300 -seed 3 plasma:red-yellow -resize 1600x1200! -depth 8 big.ppm
cjpeg -quality 85 big.ppm > big.jpg
cjpeg -quality 85 -progressive big.ppm > progressive.jpg
$IM -size 300x900 xc:red -depth 8 tall.ppm
cjpeg tall.ppm > tall.jpg
$IM -size 40x50 xc:blue -depth 8 small.ppm
cjpeg small.ppm > small.jpg
$IM -size 640x480 gradient:white-black -depth 8 grey.pgm
cjpeg -grayscale grey.pgm > grey.jpg
# Other formats are reduced in memory before any bitmap is made.
$IM -size 100x110 xc:lime -depth 8 PNG24:p100x110.png
$IM -size 1200x900 xc:green -depth 8 BMP3:green.bmp
$IM -size 500x90 xc:orange gif:wide.gif
# A JPEG without a file-name extension that says so: found by content.
cp small.jpg looks_like_text.txt
# Not pictures.
printf 'this is not a picture at all, just some text that goes on for a while\n' > broken.jpg
head -c 700 big.jpg > truncated.jpg
# A small JPEG whose header claims 10000 x 8000 (80 megapixels): at full size it would need
# 320 MB; a thumbnail must come from its 1/8 decode.
python3 -c '
import sys
data = bytearray(open("small.jpg", "rb").read())
at = data.find(b"\xff\xc0")
data[at + 5:at + 9] = (8000).to_bytes(2, "big") + (10000).to_bytes(2, "big")
open("huge_header.jpg", "wb").write(data)
'
# Small files claiming huge pictures: each must be a failed thumbnail that costs little.
python3 "$(dirname "$0")/../support/hostile_pictures.py"
# A large legal picture whose decode takes a while.
python3 "$(dirname "$0")/../support/slow_picture.py"
rm -f big.ppm tall.ppm small.ppm grey.pgm
