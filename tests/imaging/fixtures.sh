#!/bin/sh
# Pictures for the image library tests, made with Debian's tools, and for each a reference
# decoding as raw 8-bit RGBA (<name>.rgba) written by a different decoder.
set -e
out=$1
cd "$out"
IM=convert
command -v convert-im6.q16 >/dev/null 2>&1 && IM=convert-im6.q16

ref() {  # picture -> picture.rgba through ImageMagick
  $IM "$1" -depth 8 "rgba:$1.rgba"
}

# A colourful 37 x 23 picture (odd width: every row format needs padding).
$IM -size 37x23 -seed 7 plasma:red-blue -depth 8 base.ppm
$IM base.ppm -depth 8 base.pgm
$IM -size 37x23 gradient:white-black -depth 8 alpha.pgm
$IM base.ppm alpha.pgm -alpha off -compose CopyOpacity -composite -depth 8 PNG32:base_a.png
pnmquant 200 base.ppm > q200.ppm 2>/dev/null
pnmquant 16 base.ppm > q16.ppm 2>/dev/null
pnmquant 2 base.ppm > q2.ppm 2>/dev/null

# BMP: every depth, RLE8, bit-field masks in V4/V5 headers.
$IM base.ppm BMP3:bmp24.bmp; ref bmp24.bmp
ppmtobmp -bpp=8 q200.ppm > bmp8.bmp 2>/dev/null; ref bmp8.bmp
ppmtobmp -bpp=4 q16.ppm > bmp4.bmp 2>/dev/null; ref bmp4.bmp
ppmtobmp -bpp=1 q2.ppm > bmp1.bmp 2>/dev/null; ref bmp1.bmp
$IM q200.ppm -type Palette -compress RLE BMP3:rle8.bmp; ref rle8.bmp
$IM base.ppm -define bmp:subtype=RGB565 BMP:bmp16_565.bmp; ref bmp16_565.bmp
$IM base.ppm -define bmp:subtype=RGB555 BMP:bmp16_555.bmp; ref bmp16_555.bmp
$IM base_a.png BMP:bmp32_v5.bmp; ref bmp32_v5.bmp

# PNG: each colour type, 1/8/16 bits, palette, interlace.
pnmtopng base.ppm > png_rgb.png 2>/dev/null; ref png_rgb.png
cp base_a.png png_rgba.png; ref png_rgba.png
pnmtopng base.pgm > png_grey8.png 2>/dev/null; ref png_grey8.png
pgmtopbm -threshold base.pgm 2>/dev/null | pnmtopng > png_grey1.png 2>/dev/null; ref png_grey1.png
python3 -c '
import sys
w, h = 37, 23
data = bytearray()
for y in range(h):
    for x in range(w):
        v = (x * 1771 + y * 2801) % 65536
        data += bytes([v >> 8, v & 255])
sys.stdout.buffer.write(b"P5\n%d %d\n65535\n" % (w, h) + bytes(data))
' > grey16.pgm
pnmtopng grey16.pgm > png_grey16.png 2>/dev/null; ref png_grey16.png
$IM base.ppm -depth 16 PNG48:png_rgb16.png; ref png_rgb16.png
pnmtopng q16.ppm > png_pal.png 2>/dev/null; ref png_pal.png
pnmtopng -interlace base.ppm > png_interlaced.png 2>/dev/null; ref png_interlaced.png
$IM base_a.png -colorspace Gray PNG:png_greya.png; ref png_greya.png

# JPEG: references by djpeg with the decoder's settings (float DCT, simple upsampling).
cjpeg -quality 90 base.ppm > jpg_rgb.jpg
cjpeg -quality 90 -progressive base.ppm > jpg_prog.jpg
cjpeg -quality 90 -grayscale base.ppm > jpg_grey.jpg
for f in jpg_rgb jpg_prog jpg_grey; do
  djpeg -dct float -nosmooth -pnm "$f.jpg" > "$f.pnm"
  $IM "$f.pnm" -depth 8 "rgba:$f.jpg.rgba"
done
$IM base.ppm -colorspace CMYK -quality 95 jpg_cmyk.jpg
$IM jpg_cmyk.jpg -colorspace sRGB -depth 8 rgba:jpg_cmyk.jpg.rgba

# TIFF: compressions, tiles, byte orders, palette, grey, bilevel, alpha, 16 bits.
$IM base.ppm -compress none tif_rgb.tif; ref tif_rgb.tif
$IM base.ppm -compress lzw tif_lzw.tif; ref tif_lzw.tif
$IM base.ppm -compress zip tif_zip.tif; ref tif_zip.tif
tiffcp -t -w 16 -l 16 tif_rgb.tif tif_tiled.tif; ref tif_tiled.tif
tiffcp -B tif_lzw.tif tif_bigendian.tif; ref tif_bigendian.tif
pnmtotiff q16.ppm > tif_pal.tif 2>/dev/null; ref tif_pal.tif
pnmtotiff base.pgm > tif_grey.tif 2>/dev/null; ref tif_grey.tif
pgmtopbm -threshold base.pgm 2>/dev/null | pnmtotiff -g4 > tif_bilevel.tif 2>/dev/null; ref tif_bilevel.tif
$IM base.ppm -depth 16 tif_rgb16.tif; ref tif_rgb16.tif
$IM base_a.png tif_rgba.tif; ref tif_rgba.tif
# The same picture with its colours stored multiplied by alpha, and grey with alpha (which
# libtiff's own routines premultiply): both must come out straight like the one above.
$IM base_a.png -define tiff:alpha=associated tif_assoc.tif
$IM base_a.png -colorspace Gray -define tiff:alpha=unassociated tif_greya.tif; ref tif_greya.tif
cp tif_rgb.tif tif_huge.tif
tiffset -s 256 200000 tif_huge.tif
tiffset -s 257 200000 tif_huge.tif

# Small files whose headers claim huge sizes.
python3 "$(dirname "$0")/../support/hostile_pictures.py"

# GIF: plain, interlaced, and an animation whose second frame covers part of the first.
pamtogif q200.ppm > gif_plain.gif 2>/dev/null; ref gif_plain.gif
pamtogif -interlace q200.ppm > gif_interlaced.gif 2>/dev/null; ref gif_interlaced.gif
$IM -dispose none -size 20x20 xc:red -page 20x20+5+5 -size 10x10 xc:blue -loop 0 +map gif_anim.gif
# The same animation with a colour map of its own in each frame.
$IM -dispose none -size 20x20 xc:red -page 20x20+5+5 -size 10x10 xc:blue -loop 0 gif_anim_local.gif
ls > list.txt
