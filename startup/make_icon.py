#!/usr/bin/env python3
"""Writes Project1.ico: one 32x32 16-colour image of a padlock (the MAINICON resource)."""
import struct
import sys

# The standard 16-colour palette, as BGRX.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE, GREY, YELLOW = 0, 3, 8, 11
SIZE = 32


def pixel(x, y):
    """Colour index at (x, y), top-down, or None where the icon is transparent."""
    # Shackle: a thick arch above the body.
    if 4 <= y < 16:
        dx, dy = x - 15.5, y - 13.5
        r2 = dx * dx + dy * dy
        if 36 <= r2 <= 81 and y <= 14:
            return GREY
        if 6 <= abs(dx) <= 9 and y >= 13:
            return GREY
    # Body with an outline and a keyhole.
    if 15 <= y <= 29 and 5 <= x <= 26:
        if y in (15, 29) or x in (5, 26):
            return BLACK
        if 13 <= x <= 18 and 19 <= y <= 21 or 15 <= x <= 16 and 21 <= y <= 25:
            return BLACK
        return YELLOW if y < 23 else OLIVE
    return None


def icon_bytes():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        for x in range(0, SIZE, 2):
            a, b = row[x] or 0, row[x + 1] or 0
            xor.append(a << 4 | b)
        bits = 0
        for x, value in enumerate(row):
            if value is None:
                bits |= 1 << (SIZE - 1 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    return directory + image


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "Project1.ico", "wb") as out:
        out.write(icon_bytes())
