"""Writes small pictures whose headers claim huge sizes (decompression bombs) into the current
folder, from small real pictures made by the calling fixtures script:
    hostile_pictures.py small.gif small.jpg small_progressive.jpg
bomb.gif:          a GIF of 7964 x 7709 (61 megapixels) in a few hundred bytes;
bomb.jpg:          a baseline JPEG claiming 64250 x 64250;
bomb_progressive.jpg: a progressive JPEG claiming 20000 x 20000, small enough when reduced
                   to 1/8 but whose full-size coefficients alone would take over a gigabyte."""
import sys


def patch_gif(data, width, height):
    data = bytearray(data)
    data[6:10] = width.to_bytes(2, "little") + height.to_bytes(2, "little")
    at = 13
    if data[10] & 0x80:
        at += 3 << ((data[10] & 7) + 1)
    while data[at] == 0x21:  # extensions: label, then sub-blocks up to a zero length
        at += 2
        while data[at]:
            at += data[at] + 1
        at += 1
    assert data[at] == 0x2C, "no image descriptor"
    data[at + 5:at + 9] = width.to_bytes(2, "little") + height.to_bytes(2, "little")
    return bytes(data)


def patch_jpeg(data, width, height):
    data = bytearray(data)
    for marker in (b"\xff\xc0", b"\xff\xc1", b"\xff\xc2"):
        at = data.find(marker)
        if at >= 0:
            data[at + 5:at + 9] = height.to_bytes(2, "big") + width.to_bytes(2, "big")
            return bytes(data)
    raise SystemExit("no frame header")


gif, jpg, progressive = (open(name, "rb").read() for name in sys.argv[1:4])
open("bomb.gif", "wb").write(patch_gif(gif, 7964, 7709))
open("bomb.jpg", "wb").write(patch_jpeg(jpg, 64250, 64250))
open("bomb_progressive.jpg", "wb").write(patch_jpeg(progressive, 20000, 20000))
