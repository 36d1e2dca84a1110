#!/usr/bin/env python3
"""Each operation's cost per pixel at 2048 x 2048 as a multiple of its cost at
the window's 256 x 256, on one thread, from the median of several runs in one
process (single runs on a shared machine vary by a third): once with the same
slots again and again, as the window works (BM_PerPixel), where a 256 texture
stays in the processor's cache, and once with every run's pixels coming from
memory at both sides (BM_PerPixelFromMemory). At 8 bits per channel, the
window's depth; bench/depth-ratios.py sets the two depths side by side.

    bench/side-ratios.py path/to/quiltor_bench [REPETITIONS]
"""
from per_pixel_runs import median_rates


def main():
    rates, names = median_rates(__doc__, "BM_PerPixel.*/depth:8$")
    print(f"{'':10} {'same slots, Mpx/s':^29} {'from memory, Mpx/s':^29}")
    print(f"{'operation':10} " + f"{'256':>8} {'2048':>8} {'ratio':>11} " * 2)
    for name in names:
        line = f"{name:10}"
        for benchmark in ("BM_PerPixel", "BM_PerPixelFromMemory"):
            small, large = rates[(benchmark, name, 256, 8)], rates[(benchmark, name, 2048, 8)]
            line += f" {small / 1e6:8.0f} {large / 1e6:8.0f} {small / large:11.2f}"
        print(line)


if __name__ == "__main__":
    main()
