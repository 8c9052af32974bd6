#!/bin/sh
# Reference pictures for the TGA, PCX, PGM and PICT decoders, made with netpbm and ImageMagick.
# Every file named X.<fmt> has a reference X.pam (or the source it was made from) that the test
# compares with pixel by pixel.
set -eu
out=$1
cd "$out"

# Sources: a 23 x 17 true-colour gradient, a 16-colour and a 4-colour picture, a two-colour one,
# and a true-colour picture with a varying alpha channel. Odd sizes catch row-padding faults.
python3 - <<'PY'
w, h = 23, 17
def ppm(name, pix):
    with open(name, 'wb') as f:
        f.write(b'P6\n%d %d\n255\n' % (w, h) + bytes(pix))
rgb = []
for y in range(h):
    for x in range(w):
        rgb += [(x * 11) & 255, (y * 15) & 255, (x * y * 3) & 255]
ppm('rgb.ppm', rgb)
pal = [(0,0,0),(255,0,0),(0,255,0),(0,0,255),(255,255,0),(0,255,255),(255,0,255),(255,255,255),
       (128,64,32),(10,200,90),(77,77,77),(200,100,0),(0,100,200),(90,10,160),(250,128,114),(1,2,3)]
def indexed(name, n):
    pix = []
    for y in range(h):
        for x in range(w):
            pix += pal[(x // 3 + y) % n]
    ppm(name, pix)
indexed('pal16.ppm', 16)
indexed('pal4.ppm', 4)
mono = []
for y in range(h):
    for x in range(w):
        mono += [255] * 3 if (x + y * 3) % 5 < 2 else [0] * 3
ppm('mono.ppm', mono)
with open('rgba.pam', 'wb') as f:
    f.write(b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n' % (w, h))
    for y in range(h):
        for x in range(w):
            f.write(bytes([(x * 11) & 255, (y * 15) & 255, 90, (x * 255) // (w - 1)]))
PY
ppmtopgm rgb.ppm > grey.pgm

# TGA: netpbm writes bottom-up files, RLE unless told otherwise; ImageMagick can write top-down
# (its bottom-up files put the top row first, so only its top-down ones serve as references).
pamtotga rgb.ppm > tga_rgb_rle.tga 2>/dev/null
pamtotga -norle rgb.ppm > tga_rgb_raw.tga 2>/dev/null
pamtotga -cmap pal16.ppm > tga_cmap_rle.tga 2>/dev/null
pamtotga -cmap -norle pal16.ppm > tga_cmap_raw.tga 2>/dev/null
pamtotga grey.pgm > tga_grey_rle.tga 2>/dev/null
pamtotga -norle grey.pgm > tga_grey_raw.tga 2>/dev/null
convert rgb.ppm -orient TopLeft tga_rgb_topdown.tga
convert rgb.ppm -orient TopLeft -compress RLE tga_rgb_topdown_rle.tga
pamtotga -norle rgba.pam > tga_rgba.tga 2>/dev/null
pamtotga rgba.pam > tga_rgba_rle.tga 2>/dev/null

# PCX: 24-bit (three 8-bit planes), four 1-bit planes, 8 bits packed with the 256-entry palette,
# 4 and 2 bits packed, one-bit mono, and ImageMagick's own writer.
ppmtopcx rgb.ppm > pcx_rgb.pcx 2>/dev/null
ppmtopcx pal16.ppm > pcx_planes4.pcx 2>/dev/null
ppmtopcx -8bit pal16.ppm > pcx_8bit.pcx 2>/dev/null
ppmtopcx -packed pal16.ppm > pcx_packed4.pcx 2>/dev/null
ppmtopcx -packed pal4.ppm > pcx_packed2.pcx 2>/dev/null
ppmtopcx mono.ppm > pcx_mono.pcx 2>/dev/null
convert rgb.ppm pcx_im_rgb.pcx

# PGM: raw and plain, a small maxval (samples scaled up), 16-bit samples, and a commented
# header with tabs between the numbers.
cp grey.pgm pgm_raw.pgm
pnmtopnm -plain grey.pgm > pgm_plain.pgm
pamdepth 15 grey.pgm > pgm15_raw.pgm
pamdepth 255 pgm15_raw.pgm > pgm15_ref.pgm
pnmtopnm -plain pgm15_raw.pgm > pgm15_plain.pgm
pamdepth 65535 grey.pgm > pgm16.pgm
pamdepth 65535 grey.pgm | pnmtopnm -plain > pgm16_plain.pgm
python3 - <<'PY'
data = open('grey.pgm', 'rb').read()
# netpbm writes "P5\n23 17\n255\n": swap in comments and tabs.
body = data[data.index(b'255\n') + 4:]
open('pgm_comments.pgm', 'wb').write(b'P5\n# made by the test\n23\t17 # size\n#max\n255\n' + body)
PY

# PICT: netpbm's 8-bit PixMap, ImageMagick's indexed PixMap, 32-bit DirectBits with and
# without alpha, and a QuickTime JPEG; the references are ImageMagick's reading of each.
ppmtopict pal16.ppm > pict_netpbm8.pict 2>/dev/null
convert pal16.ppm -type Palette pict_im8.pict
convert rgb.ppm pict_direct.pict
convert rgba.pam pict_direct_alpha.pict
convert rgb.ppm -compress JPEG -quality 90 pict_jpeg.pict
for f in pict_netpbm8 pict_im8 pict_direct pict_direct_alpha; do
    convert $f.pict pam:$f.pam
done
# The reference of the JPEG case is the embedded stream decoded by djpeg.
python3 - <<'PY'
d = open('pict_jpeg.pict', 'rb').read()
i = d.index(b'\xff\xd8\xff', 512)
open('pict_jpeg_embedded.jpg', 'wb').write(d[i:])
PY
djpeg -pnm pict_jpeg_embedded.jpg > pict_jpeg_ref.ppm
