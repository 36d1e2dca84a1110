#!/usr/bin/env python3
"""Each operation's cost per pixel at 2048 x 2048 as a multiple of its cost at
the window's 256 x 256, on one thread, from the median of several runs of the
BM_PerPixel benchmark in one process (single runs on a shared machine vary by
a third).

    bench/side-ratios.py path/to/quiltor_bench [REPETITIONS]
"""
import json
import subprocess
import sys


def medians(report):
    """{(operation name, side): pixels per second} from the benchmark's JSON."""
    rates = {}
    for run in report["benchmarks"]:
        if run.get("aggregate_name") != "median":
            continue
        # BM_PerPixel/operation:7/side:2048_median
        fields = dict(part.split(":") for part in run["run_name"].split("/")[1:])
        rates[(run["label"], int(fields["side"]))] = run["items_per_second"]
    return rates


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip())
    repetitions = sys.argv[2] if len(sys.argv) == 3 else "5"
    output = subprocess.run(
        [sys.argv[1], "--benchmark_filter=BM_PerPixel", "--benchmark_format=json",
         "--benchmark_repetitions=" + repetitions, "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    rates = medians(json.loads(output))
    print(f"{'operation':10} {'Mpx/s at 256':>13} {'Mpx/s at 2048':>14} {'cost ratio':>11}")
    for name in dict.fromkeys(name for name, _ in rates):
        small, large = rates[(name, 256)], rates[(name, 2048)]
        print(f"{name:10} {small / 1e6:13.0f} {large / 1e6:14.0f} {small / large:11.2f}")


if __name__ == "__main__":
    main()
