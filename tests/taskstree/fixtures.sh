#!/bin/sh
# A picture each task of the end-to-end run downloads.
set -e
out=$1
convert -size 120x100 xc:teal "$out/pic.png"
