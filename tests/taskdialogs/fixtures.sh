#!/bin/sh
# Pictures a task started from the New Task dialog downloads from the test server.
set -e
out=$1
convert -size 300x240 gradient:orange-purple "$out/first.jpg"
convert -size 320x200 xc:teal "$out/second.png"
