#!/bin/sh
# Pictures the monitor scenario downloads.
set -e
out=$1
convert -size 200x150 gradient:blue-yellow "$out/big.png"
convert -size 120x80 xc:orange "$out/p120x80.jpg"
