#!/usr/bin/env python3
"""Each operation's cost per pixel at 16 bits per channel as a multiple of its
cost at 8, at 2048 x 2048, on one thread, every run's pixels coming from
memory (BM_PerPixelFromMemory), from the median of several runs interleaved
in one process (single runs on a shared machine vary by a third). Beside
each ratio its bound: 1.5 for the generators and the warps that work out
positions, 2.2 for the operations that only stream pixels.

    bench/depth-ratios.py path/to/quiltor_bench [REPETITIONS]
"""
import json
import subprocess
import sys

# The operations held to the lower bound; every other one streams pixels.
WORKING_OUT = {"cells", "plasma", "pong", "sine", "deform", "twirl"}


def medians(report):
    """{(operation name, depth): pixels per second} from the JSON, and the
    operations' names in the panel's order."""
    rates, names = {}, {}
    for run in report["benchmarks"]:
        if run.get("aggregate_name") != "median":
            continue
        # BM_PerPixelFromMemory/operation:7/side:2048/depth:16_median
        _, *args = run["run_name"].split("/")
        fields = dict(part.split(":") for part in args)
        rates[(run["label"], int(fields["depth"]))] = run["items_per_second"]
        names[int(fields["operation"])] = run["label"]
    return rates, [names[operation] for operation in sorted(names)]


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip())
    repetitions = sys.argv[2] if len(sys.argv) == 3 else "5"
    output = subprocess.run(
        [sys.argv[1], "--benchmark_filter=BM_PerPixelFromMemory/.*/side:2048/",
         "--benchmark_format=json", "--benchmark_repetitions=" + repetitions,
         "--benchmark_enable_random_interleaving=true",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    rates, names = medians(json.loads(output))
    print(f"{'':10} {'2048 from memory, Mpx/s':^17}")
    print(f"{'operation':10} {'8-bit':>8} {'16-bit':>8} {'ratio':>7} {'bound':>6}")
    missed = []
    for name in names:
        shallow, deep = rates[(name, 8)], rates[(name, 16)]
        ratio, bound = shallow / deep, 1.5 if name in WORKING_OUT else 2.2
        mark = "" if ratio <= bound else "  over"
        if mark:
            missed.append(name)
        print(f"{name:10} {shallow / 1e6:8.0f} {deep / 1e6:8.0f} {ratio:7.2f} {bound:6.1f}{mark}")
    if missed:
        print("over the bound: " + ", ".join(missed))


if __name__ == "__main__":
    main()
