#!/usr/bin/env python3
"""Each operation's cost per pixel at 16 bits per channel as a multiple of its
cost at 8, at 2048 x 2048, on one thread, every run's pixels coming from
memory (BM_PerPixelFromMemory), from the median of several runs interleaved
in one process (single runs on a shared machine vary by a third). Beside
each ratio its bound: 1.5 for the generators and the warps that work out
positions, 2.2 for the operations that only stream pixels.

    bench/depth-ratios.py path/to/quiltor_bench [REPETITIONS]
"""
from per_pixel_runs import median_rates

# The operations held to the lower bound; every other one streams pixels.
WORKING_OUT = {"cells", "plasma", "pong", "sine", "deform", "twirl"}


def main():
    rates, names = median_rates(__doc__, "BM_PerPixelFromMemory/.*/side:2048/")
    print(f"{'':10} {'2048 from memory, Mpx/s':^17}")
    print(f"{'operation':10} {'8-bit':>8} {'16-bit':>8} {'ratio':>7} {'bound':>6}")
    missed = []
    memory = "BM_PerPixelFromMemory"
    for name in names:
        shallow, deep = rates[(memory, name, 2048, 8)], rates[(memory, name, 2048, 16)]
        ratio, bound = shallow / deep, 1.5 if name in WORKING_OUT else 2.2
        mark = "" if ratio <= bound else "  over"
        if mark:
            missed.append(name)
        print(f"{name:10} {shallow / 1e6:8.0f} {deep / 1e6:8.0f} {ratio:7.2f} {bound:6.1f}{mark}")
    if missed:
        print("over the bound: " + ", ".join(missed))


if __name__ == "__main__":
    main()
