#!/usr/bin/env python3
"""Draws the program icon (32x32, 16 colours): a modem box with a signal wave.
Writes src/platform/win32/linetrim.ico; run it again after changing the picture."""
import math
import os
import struct

# The 16 colours of the classic palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
           (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255), (255, 0, 0),
           (255, 0, 255), (255, 255, 0), (255, 255, 255)]


def idx(rgb):
    return PALETTE.index(rgb)

SIZE = 32
pixels = [[None] * SIZE for _ in range(SIZE)]  # None = transparent


def rect(x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            pixels[y][x] = colour


# Body of the modem: a navy box with a silver front panel.
rect(2, 14, 30, 28, idx((0, 0, 128)))
rect(3, 15, 29, 27, idx((0, 0, 255)))
rect(3, 22, 29, 27, idx((192, 192, 192)))
for x in (6, 10, 14):  # the lights
    rect(x, 23, x + 2, 25, idx((0, 255, 0)))
rect(22, 23, 26, 25, idx((255, 0, 0)))
rect(2, 28, 30, 29, idx((0, 0, 0)))
# The line signal above it: a yellow wave with a black outline.
for x in range(2, 30):
    y = int(round(8 + 5 * math.sin((x - 2) / 27 * 2 * math.pi * 1.5)))
    for dy in (-1, 1):
        if pixels[y + dy][x] is None:
            pixels[y + dy][x] = idx((0, 0, 0))
    pixels[y][x] = idx((255, 255, 0))

# Bitmap rows are stored bottom-up; 4 bits per pixel, then a 1-bit transparency mask.
xor = bytearray()
mask = bytearray()
for y in reversed(range(SIZE)):
    row = pixels[y]
    for x in range(0, SIZE, 2):
        a = row[x] or 0
        b = row[x + 1] or 0
        xor.append((a << 4) | b)
    bits = 0
    for x in range(SIZE):
        bits = (bits << 1) | (1 if row[x] is None else 0)
    mask += bits.to_bytes(4, "big")

header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
image = header + palette + bytes(xor) + bytes(mask)
icon = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22) + image

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "platform", "win32", "linetrim.ico")
with open(out, "wb") as f:
    f.write(icon)
