#!/usr/bin/env python3
"""Draws Postpone's application icon, a clock face with its hands at ten past
ten, and writes it as a .ico with two 16-colour images: 32x32 and 16x16.

Usage: make_icon.py OUTPUT.ico

The drawing is computed, not stored: the same script always writes the same
bytes.
"""
import math
import struct
import sys

# The standard 16-colour palette, as (red, green, blue); the bitmap stores it
# as (blue, green, red, 0).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_BLUE, GREY, RED, WHITE = 0, 4, 8, 9, 15
TRANSPARENT = None


def draw_clock(size):
    """Returns rows of palette indices (None where transparent), top row first."""
    centre = (size - 1) / 2.0
    radius = size / 2.0 - 0.5
    rim = max(1.0, size / 16.0)
    pixels = [[TRANSPARENT] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            distance = math.hypot(x - centre, y - centre)
            if distance <= radius:
                pixels[y][x] = DARK_BLUE if distance > radius - rim else WHITE

    # Hour marks at 12, 3, 6 and 9.
    mark = radius - rim - 1
    for angle in (0, 90, 180, 270):
        a = math.radians(angle)
        x = round(centre + math.sin(a) * mark)
        y = round(centre - math.cos(a) * mark)
        pixels[y][x] = GREY

    def hand(angle_degrees, length, colour):
        a = math.radians(angle_degrees)
        steps = int(length * 4)
        for i in range(steps + 1):
            t = length * i / steps
            x = round(centre + math.sin(a) * t)
            y = round(centre - math.cos(a) * t)
            pixels[y][x] = colour

    hand(300, radius * 0.50, BLACK)       # hour hand at ten
    hand(60, radius * 0.75, BLACK)        # minute hand at two
    hand(180, radius * 0.70, RED)         # second hand
    c = round(centre)
    pixels[c][c] = RED
    return pixels


def icon_image(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = [(p if p is not None else 0) for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        colour_rows.append(data + b"\0" * (-len(data) % 4))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is None else 0)
        mask = bits.to_bytes(size // 8, "big")
        mask_rows.append(mask + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def main():
    images = [icon_image(draw_clock(size)) for size in (32, 16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
