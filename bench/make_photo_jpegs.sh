#!/bin/sh
# Makes photo1.jpg .. photo<count>.jpg in a folder: 4000 x 3000 (12 megapixels), noisy like a
# camera's, quality 90. Used by the thumbnail benchmarks.
# Usage: bench/make_photo_jpegs.sh folder [count]
set -e
folder=$1
count=${2:-4}
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16
mkdir -p "$folder"
i=1
while [ $i -le "$count" ]; do
  $IM -size 1000x750 -seed $i plasma:green-orange -resize 4000x3000! -attenuate 0.3 +noise Gaussian \
      -depth 8 "$folder/p$i.ppm"
  cjpeg -quality 90 "$folder/p$i.ppm" > "$folder/photo$i.jpg"
  rm -f "$folder/p$i.ppm"
  i=$((i + 1))
done
