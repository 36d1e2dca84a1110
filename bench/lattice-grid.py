#!/usr/bin/env python3
"""How strongly a render shows the 256 lattice: the mean change from one
pixel to the next beside the lattice lines, as a multiple of the mean change
everywhere and of the change mid-cell. A render at side N has a lattice line
every k = N / 256 pixels; a plasma whose finer levels leave a grid changes
more across those lines than between them.

    bench/lattice-grid.py RENDER.bmp [CHANNEL]

RENDER is a 24-bit BMP as quiltor-render writes it; CHANNEL is red, green
(the default) or blue. Every third row and column is measured, across and
down: plenty for a 4096 render, and plain Python can do it. Three shares no
factor with k, so the rows measured fall on every phase of the lattice
alike; rows on its lines change differently from rows between them.
"""
import struct
import sys

CHANNELS = {"blue": 0, "green": 1, "red": 2}


def read_bmp(path, channel):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        sys.exit(f"{path}: not a BMP")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24 or width != abs(height):
        sys.exit(f"{path}: a square 24-bit BMP is expected")
    side = width
    stride = side * 3
    rows = []
    for y in range(side):
        start = offset + y * stride + channel
        rows.append(data[start:start + stride:3])
    if height > 0:
        rows.reverse()  # stored bottom row first
    return side, rows


def phase_means(lines, k):
    """Mean |v[i+1] - v[i]| for each phase i mod k, wrapping at the end."""
    totals = [0] * k
    counts = [0] * k
    for line in lines:
        shifted = line[1:] + line[:1]
        for phase in range(k):
            a = line[phase::k]
            b = shifted[phase::k]
            totals[phase] += sum(abs(p - q) for p, q in zip(a, b))
            counts[phase] += len(a)
    return [t / c for t, c in zip(totals, counts)]


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    channel = CHANNELS[sys.argv[2] if len(sys.argv) == 3 else "green"]
    side, rows = read_bmp(sys.argv[1], channel)
    k = side // 256
    if k < 2:
        sys.exit("a render at 256 has no finer lattice to show")
    across = rows[::3]
    down = [bytes(rows[y][x] for y in range(side)) for x in range(0, side, 3)]
    means = [(a + d) / 2 for a, d in zip(phase_means(across, k), phase_means(down, k))]
    average = sum(means) / k
    # The steps into and out of a lattice line, against the average and the
    # step halfway between two lines.
    beside = (means[k - 1] + means[0]) / 2
    middle = means[k // 2]
    print(f"{sys.argv[1]}: k={k} beside/average={beside / average:.3f} "
          f"beside/mid-cell={beside / middle:.3f} mean step={average:.3f}")


if __name__ == "__main__":
    main()
