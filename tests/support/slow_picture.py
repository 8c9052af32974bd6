#!/usr/bin/env python3
"""A large but legal PNG (8000 x 5000, 40 megapixels, 16-bit RGBA) whose decode takes seconds.

Written as slow.png into the current folder. Rows of a shifting pattern compress well, so the
file stays small while the decoder still has every pixel to inflate and convert.
"""
import struct
import sys
import zlib

WIDTH, HEIGHT = 8000, 5000
name = sys.argv[1] if len(sys.argv) > 1 else "slow.png"


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


ROW = WIDTH * 8  # 16-bit red, green, blue and alpha
pattern = bytes(0xFF if i % 8 >= 6 else (i * 7) & 0xFF for i in range(ROW + 256 * 8))
packer = zlib.compressobj(1)
parts = []
for y in range(HEIGHT):
    shift = (y % 256) * 8
    parts.append(packer.compress(b"\x00" + pattern[shift:shift + ROW]))
parts.append(packer.flush())
header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 16, 6, 0, 0, 0)
with open(name, "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", b"".join(parts)) + chunk(b"IEND", b""))
