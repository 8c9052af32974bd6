#!/bin/sh
# Pictures for the viewer tests: flat colours (exact to compare on screen), a large picture to
# scroll, a picture whose name has two dots, a file that is no picture, and effect masks.
set -e
out=$1
cd "$out"
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16

$IM -size 200x150 xc:'#ff0000' PNG24:red.png
$IM -size 200x150 xc:'#0000ff' BMP3:blue.bmp
$IM -size 160x120 xc:'#00c000' PNG24:green.png
$IM -size 120x90 xc:'#ffff00' PNG24:a.b.png
$IM -size 1600x1200 gradient:white-black -type TrueColor PNG24:large.png
# Big enough that decoding it takes a while.
$IM -size 4000x3000 gradient:red-blue -quality 92 huge.jpg
head -c 3000 /dev/urandom > broken.png
# Small files claiming pictures beyond what one picture may cost.
python3 "$(dirname "$0")/../support/hostile_pictures.py"
# A large legal picture whose decode takes a while.
python3 "$(dirname "$0")/../support/slow_picture.py"
mkdir -p folder.png Effects
$IM -size 64x64 gradient:black-white -type TrueColor PNG24:Effects/0_down.png
$IM -size 64x64 gradient:black-white -rotate 90 -type TrueColor PNG24:Effects/1_side.png
$IM -size 64x64 radial-gradient:black-white -type TrueColor PNG24:Effects/2_round.png
