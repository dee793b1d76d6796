#!/usr/bin/env python3
"""Draws KorDrv's icon 128 (standard library only; run by the build).

  make_icon.py OUT.ico   32 x 32 and 16 x 16, 32-bit with alpha

A dark blue disc (the driver) with three light nodes joined by lines (the stations), so the
icon reads in the notification area at 16 x 16.
"""
import math
import struct
import sys

SUPERSAMPLE = 4
NODES = [(0.5, 0.27), (0.28, 0.68), (0.72, 0.68)]


def coverage(size, x, y, inside):
    hits = 0
    for sy in range(SUPERSAMPLE):
        for sx in range(SUPERSAMPLE):
            u = (x + (sx + 0.5) / SUPERSAMPLE) / size
            v = (y + (sy + 0.5) / SUPERSAMPLE) / size
            hits += inside(u, v)
    return hits / (SUPERSAMPLE * SUPERSAMPLE)


def near_segment(u, v, a, b, width):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(u - ax - t * dx, v - ay - t * dy) <= width


def pixel(size, x, y):
    disc = coverage(size, x, y, lambda u, v: math.hypot(u - 0.5, v - 0.5) <= 0.47)
    if disc == 0:
        return (0, 0, 0, 0)
    mark = coverage(size, x, y, lambda u, v: any(
        math.hypot(u - nx, v - ny) <= 0.11 for nx, ny in NODES) or any(
        near_segment(u, v, NODES[i], NODES[(i + 1) % 3], 0.035) for i in range(3)))
    base = (30, 60, 140)
    light = (250, 210, 60)
    rgb = tuple(round(b * (1 - mark) + l * mark) for b, l in zip(base, light))
    return rgb + (round(255 * disc),)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            rows.append(struct.pack("BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask),
                         0, 0, 0, 0)
    return header + xor + and_mask


def main():
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
