#!/bin/sh
# Pictures whose sizes the download filter must read from their first bytes.
set -e
out=$1
convert -size 120x80 xc:orange "$out/p120x80.jpg"
convert -size 100x100 xc:blue "$out/p100x100.gif"
convert -size 64x48 xc:green "$out/p64x48.png"
convert -size 40x30 xc:red "$out/small.jpg"
convert -size 200x150 gradient:blue-yellow "$out/big.png"
convert -size 160x120 xc:purple "$out/photo.bmp"
