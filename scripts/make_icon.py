#!/usr/bin/env python3
"""Draws the program icon (16 colours): a modem box with a signal wave, designed on 32x32 and
drawn afresh at each size the system asks for on screens of 96 to 144 dpi (small icons of 16,
20 and 24 pixels for captions and the tray, large ones of 32, 40 and 48), so that none is
a blurred scaling of another. Writes src/platform/win32/linetrim.ico; run it again after
changing the picture."""
import math
import os
import struct

# The 16 colours of the classic palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128), (128, 128, 0),
           (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255), (255, 0, 0),
           (255, 0, 255), (255, 255, 0), (255, 255, 255)]
SIZES = [16, 20, 24, 32, 40, 48]
DESIGN = 32


def idx(rgb):
    return PALETTE.index(rgb)


def draw(size):
    """The picture at SIZE pixels: rows of palette indexes, None where transparent."""
    pixels = [[None] * size for _ in range(size)]

    def at(c):  # a coordinate of the 32-pixel design at this size
        return int(round(c * size / DESIGN))

    def rect(x0, y0, x1, y1, colour):
        for y in range(at(y0), max(at(y1), at(y0) + 1)):
            for x in range(at(x0), max(at(x1), at(x0) + 1)):
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
    for x in range(at(2), at(30)):
        y = int(round(at(8) + 5 * size / DESIGN * math.sin((x - at(2)) / (at(29) - at(2)) * 2 * math.pi * 1.5)))
        for dy in (-1, 1):
            if pixels[y + dy][x] is None:
                pixels[y + dy][x] = idx((0, 0, 0))
        pixels[y][x] = idx((255, 255, 0))
    return pixels


def padded(row):
    return row + bytes(-len(row) % 4)


def image(size):
    """One icon image: the bitmap header, the palette, 4-bit rows and the 1-bit transparency
    mask, rows bottom-up, each padded to four bytes."""
    pixels = draw(size)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        xor += padded(bytes(((row[x] or 0) << 4) | (row[x + 1] or 0) for x in range(0, size, 2)))
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        whole = -size % 8
        mask += padded((bits << whole).to_bytes((size + whole) // 8, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


images = [image(size) for size in SIZES]
directory = b""
offset = 6 + 16 * len(images)
for size, data in zip(SIZES, images):
    directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
    offset += len(data)
icon = struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(images)

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "platform", "win32", "linetrim.ico")
with open(out, "wb") as f:
    f.write(icon)
