"""Writes small pictures whose headers claim huge sizes (decompression bombs) into the current
folder, from small real pictures it makes first with ImageMagick and cjpeg:
bomb.gif:             a GIF of 7964 x 7709 (61 megapixels) in a couple of kilobytes;
bomb.jpg:             a baseline JPEG claiming 64250 x 64250 (still 64 megapixels at 1/8);
bomb_progressive.jpg: a progressive JPEG claiming 9000 x 9000: small when reduced to 1/8, but
                      its full-size coefficients alone take some 240 MB."""
import os
import shutil
import subprocess

IM = "convert-im6.q16" if shutil.which("convert-im6.q16") else "convert"


def run(command, output=None):
    with open(output, "wb") if output else open(os.devnull, "wb") as out:
        subprocess.run(command, check=True, stdout=out)


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


def read(name):
    with open(name, "rb") as f:
        return f.read()


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


run([IM, "-size", "64x64", "-seed", "3", "plasma:red-yellow", "-colors", "16", "bomb_base.gif"])
run([IM, "-size", "64x64", "-seed", "3", "plasma:red-yellow", "-depth", "8", "bomb_base.ppm"])
run(["cjpeg", "-quality", "60", "bomb_base.ppm"], "bomb_base.jpg")
run(["cjpeg", "-progressive", "bomb_base.ppm"], "bomb_base_progressive.jpg")
write("bomb.gif", patch_gif(read("bomb_base.gif"), 7964, 7709))
write("bomb.jpg", patch_jpeg(read("bomb_base.jpg"), 64250, 64250))
write("bomb_progressive.jpg", patch_jpeg(read("bomb_base_progressive.jpg"), 9000, 9000))
for name in ("bomb_base.gif", "bomb_base.ppm", "bomb_base.jpg", "bomb_base_progressive.jpg"):
    os.remove(name)
