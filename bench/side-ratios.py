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
import json
import subprocess
import sys


def medians(report):
    """{(benchmark, operation name, side): pixels per second} from the JSON,
    and the operations' names in the panel's order."""
    rates, names = {}, {}
    for run in report["benchmarks"]:
        if run.get("aggregate_name") != "median":
            continue
        # BM_PerPixel/operation:7/side:2048/depth:8_median
        benchmark, *args = run["run_name"].split("/")
        fields = dict(part.split(":") for part in args)
        rates[(benchmark, run["label"], int(fields["side"]))] = run["items_per_second"]
        names[int(fields["operation"])] = run["label"]
    return rates, [names[operation] for operation in sorted(names)]


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__.strip())
    repetitions = sys.argv[2] if len(sys.argv) == 3 else "5"
    output = subprocess.run(
        [sys.argv[1], "--benchmark_filter=BM_PerPixel.*/depth:8$", "--benchmark_format=json",
         "--benchmark_repetitions=" + repetitions, "--benchmark_enable_random_interleaving=true",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    rates, names = medians(json.loads(output))
    print(f"{'':10} {'same slots, Mpx/s':^29} {'from memory, Mpx/s':^29}")
    print(f"{'operation':10} " + f"{'256':>8} {'2048':>8} {'ratio':>11} " * 2)
    for name in names:
        line = f"{name:10}"
        for benchmark in ("BM_PerPixel", "BM_PerPixelFromMemory"):
            small, large = rates[(benchmark, name, 256)], rates[(benchmark, name, 2048)]
            line += f" {small / 1e6:8.0f} {large / 1e6:8.0f} {small / large:11.2f}"
        print(line)


if __name__ == "__main__":
    main()
