"""What side-ratios.py and depth-ratios.py share: the per-pixel benchmarks
run several times, interleaved in one process, and their medians read."""
import json
import subprocess
import sys


def median_rates(usage, benchmark_filter):
    """Runs the benchmark binary named on the command line (with the
    repetitions it names, 5 by default) on the benchmarks that match, and
    returns {(benchmark, operation name, side, depth): pixels per second} from
    the medians, and the operations' names in the panel's order."""
    if len(sys.argv) not in (2, 3):
        sys.exit(usage.strip())
    repetitions = sys.argv[2] if len(sys.argv) == 3 else "5"
    output = subprocess.run(
        [sys.argv[1], "--benchmark_filter=" + benchmark_filter, "--benchmark_format=json",
         "--benchmark_repetitions=" + repetitions, "--benchmark_enable_random_interleaving=true",
         "--benchmark_report_aggregates_only=true"],
        check=True, capture_output=True, text=True).stdout
    rates, names = {}, {}
    for run in json.loads(output)["benchmarks"]:
        if run.get("aggregate_name") != "median":
            continue
        # BM_PerPixel/operation:7/side:2048/depth:8_median
        benchmark, *args = run["run_name"].split("/")
        fields = dict(part.split(":") for part in args)
        key = (benchmark, run["label"], int(fields["side"]), int(fields["depth"]))
        rates[key] = run["items_per_second"]
        names[int(fields["operation"])] = run["label"]
    return rates, [names[operation] for operation in sorted(names)]
