#!/usr/bin/env python3
"""Draws the icons of CnfKor into OUTDIR (standard library only; run by the build).

  cnfkor.ico          icon 2, the program's icon: 32 x 32 and 16 x 16
  state_NNNN.ico      the 16 x 16 frames of the driver-state animation in the status bar:
                      stopped 4031 4056 4033 4057 4035 4058 4037 4059 (red),
                      running 4049 4060 4051 4061 4053 4062 4055 4063 (green).

A state frame is a ring of eight dots around a centre mark; in frame k the dot at k/8 of a
turn (clockwise from the top) is lit, so the lit dot turns once per sequence. Every frame
differs from every other one, which the end-to-end tests use to tell them apart on screen.
"""
import math
import os
import struct
import sys

STOPPED = [4031, 4056, 4033, 4057, 4035, 4058, 4037, 4059]
RUNNING = [4049, 4060, 4051, 4061, 4053, 4062, 4055, 4063]

SUPERSAMPLE = 4


class Canvas:
    """RGBA canvas with antialiased filled shapes (by supersampling)."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def _blend(self, x, y, rgb, coverage):
        if coverage <= 0:
            return
        r0, g0, b0, a0 = self.px[y][x]
        a = coverage
        out_a = a + a0 / 255.0 * (1 - a)
        if out_a <= 0:
            return
        mix = [(c * a + c0 * (a0 / 255.0) * (1 - a)) / out_a for c, c0 in zip(rgb, (r0, g0, b0))]
        self.px[y][x] = (round(mix[0]), round(mix[1]), round(mix[2]), round(out_a * 255))

    def fill(self, inside, rgb):
        """Fills the points (in pixel units, 0..size) for which inside(x, y) is true."""
        n = SUPERSAMPLE
        for y in range(self.size):
            for x in range(self.size):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n):
                            hits += 1
                self._blend(x, y, rgb, hits / (n * n))

    def disc(self, cx, cy, r, rgb):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, rgb)

    def ring(self, cx, cy, r_out, r_in, rgb):
        self.fill(lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out, rgb)

    def rect(self, x0, y0, x1, y1, rgb):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, rgb)

    def polygon(self, pts, rgb):
        def inside(x, y):
            hit = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit

        self.fill(inside, rgb)

    def segment(self, x0, y0, x1, y1, width, rgb):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            px, py = x0 + t * dx, y0 + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2

        self.fill(inside, rgb)


def state_frame(frame, running):
    c = Canvas(16)
    dim = (30, 90, 30) if running else (90, 90, 90)
    lit = (40, 220, 40) if running else (230, 30, 30)
    mark = (0, 160, 0) if running else (200, 0, 0)
    for k in range(8):
        angle = 2 * math.pi * k / 8
        x = 8 + 5.6 * math.sin(angle)
        y = 8 - 5.6 * math.cos(angle)
        if k == frame:
            c.disc(x, y, 2.2, lit)
        else:
            c.disc(x, y, 1.3, dim)
    if running:
        c.polygon([(6.3, 5.2), (6.3, 10.8), (11.0, 8.0)], mark)  # "play"
    else:
        c.rect(5.8, 5.8, 10.2, 10.2, mark)  # "stop"
    return c


def program_icon(size):
    c = Canvas(size)
    s = size / 32.0
    c.disc(16 * s, 16 * s, 15.5 * s, (20, 60, 140))
    c.ring(16 * s, 16 * s, 15.5 * s, 14.2 * s, (200, 215, 240))
    nodes = [(16, 7), (8, 22), (24, 22)]
    for i, (x0, y0) in enumerate(nodes):
        x1, y1 = nodes[(i + 1) % 3]
        c.segment(x0 * s, y0 * s, x1 * s, y1 * s, max(1.2, 2.0 * s), (150, 190, 255))
    for x, y in nodes:
        c.disc(x * s, y * s, 4.0 * s, (255, 255, 255))
        c.disc(x * s, y * s, 2.0 * s, (250, 170, 30))
    return c


def ico_image(canvas):
    """One ICO image: 32-bit BGRA bottom-up DIB, then the 1-bit AND mask."""
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(n)):
        for x in range(n):
            r, g, b, a = canvas.px[y][x]
            pixels += bytes((b, g, r, a))
    stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        row = bytearray(stride)
        for x in range(n):
            if canvas.px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, canvases):
    images = [ico_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        dim = c.size if c.size < 256 else 0
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(out)
    os.replace(tmp, path)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icons.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    write_ico(os.path.join(outdir, "cnfkor.ico"), [program_icon(32), program_icon(16)])
    for running, ids in ((False, STOPPED), (True, RUNNING)):
        for frame, rid in enumerate(ids):
            write_ico(os.path.join(outdir, "state_%d.ico" % rid), [state_frame(frame, running)])


if __name__ == "__main__":
    main()
