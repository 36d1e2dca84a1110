#!/usr/bin/python3
"""The engine's rounded sin, cos and atan2 against arbitrary precision: each
result must be the double nearest the exact value.

Checked: every argument of the sine and deform tables at sides 256 and 1024;
random arguments over the engine's domain and beyond it up to 2^63;
arguments within a few units in the last place of multiples of pi/2 and of 0; atan2 on and beside the axes
and diagonals; and the hard cases kept in hard-cases.txt (found by
scripts/find-trig-hard-cases.py). The fixed-point slow path, the fast path's
reference in the unit tests, is checked on its own too.

Usage: check_trig.py PROBE HARD_CASES   (needs python3-mpmath)
"""
import math
import random
import subprocess
import sys

import mpmath

mpmath.mp.prec = 200
TWO_PI = 6.283185308
EXACT = {"sin": mpmath.sin, "cos": mpmath.cos, "atan2": mpmath.atan2}


def table_arguments(side):
    # As the tables work them out: i * 6.283185308 * waves / side, left to right.
    found = set()
    for waves in range(101):
        for i in range(side):
            found.add(i * TWO_PI * waves / side)
    return sorted(found)


def near(x, steps=3):
    values = [x]
    up = down = x
    for _ in range(steps):
        up = math.nextafter(up, math.inf)
        down = math.nextafter(down, -math.inf)
        values += [up, down]
    return values


def cases():
    rng = random.Random(20261209)
    found = []
    for side in (256, 1024):
        for x in table_arguments(side):
            found.append(("sin", x))
    for _ in range(20000):
        x = rng.choice([rng.uniform(0, 629), rng.uniform(-7.2, 7.2), rng.uniform(-8192, 8192)])
        found += [("sin", x), ("cos", x)]
    for k in range(-500, 501):
        for x in near(float(k * mpmath.pi / 2)):
            found += [("sin", x), ("cos", x)]
    for x in near(0.0) + [2.0 ** -e for e in range(20, 40)]:
        found += [("sin", x), ("cos", x), ("sin", -x)]
    # Beyond the engine's domain, up to 2^63, where the reduction is the
    # fixed point's: spread over every binade, and beside multiples of pi/2.
    for _ in range(4000):
        x = math.ldexp(rng.uniform(1, 2), rng.randint(13, 62)) * rng.choice([1, -1])
        found += [("sin", x), ("cos", x)]
    for _ in range(300):
        k = rng.randint(2 ** 13, 2 ** rng.randint(14, 62))
        for x in near(float(k * mpmath.pi / 2), 2):
            found += [("sin", x), ("cos", x)]
    for _ in range(10000):
        b, a = rng.randint(0, 8192), rng.randint(0, 8192)
        found += [("atan2", float(b), float(a)), ("atan2", float(b), -float(a))]
    for n in list(range(0, 40)) + list(range(8150, 8193)):
        for m in (0, 1, 2, n - 1, n, n + 1, 8192):
            for b, a in ((n, m), (m, n)):
                if 0 <= a <= 8192 and 0 <= b <= 8192:
                    found += [("atan2", float(b), float(a)), ("atan2", float(b), -float(a)),
                              ("atan2", -float(b), float(a))]
    return found


def hard_cases(path):
    found = []
    for line in open(path):
        if line.startswith("#"):
            continue
        fields = line.split()
        name = fields[0]
        count = 2 if name == "atan2" else 1
        arguments = tuple(float.fromhex(v) for v in fields[1:1 + count])
        found.append(((name,) + arguments, float.fromhex(fields[1 + count])))
    return found


def run_probe(probe, option, checked):
    text = "".join("%s %s\n" % (case[0], " ".join(v.hex() for v in case[1:]))
                   for case in checked)
    done = subprocess.run([probe] + option, input=text, capture_output=True, text=True,
                          check=True)
    return [float.fromhex(v) for v in done.stdout.split()], done.stderr.strip()


def exact_rounded(case):
    if case[0] == "atan2" and 0.0 in case[1:]:
        # On the axes, signed zeros matter, which mpmath does not keep: the C
        # library's values there are exact (0, pi/2 or pi rounded).
        return math.atan2(*case[1:])
    return float(EXACT[case[0]](*[mpmath.mpf(v) for v in case[1:]]))


def main():
    probe, hard_path = sys.argv[1], sys.argv[2]
    failures = []
    hard = hard_cases(hard_path)
    for case, kept in hard:
        if exact_rounded(case) != kept:
            failures.append(("hard-cases.txt itself", case, kept))
    checked = cases() + [case for case, _ in hard]
    results, slow_count = run_probe(probe, [], checked)
    for case, result in zip(checked, results):
        expected = exact_rounded(case)
        if result != expected and not (math.isnan(result) and math.isnan(expected)):
            failures.append(("rounded", case, result, expected))
    # The slow path alone, on the hard cases and a sample of the rest.
    sample = [case for case, _ in hard] + checked[::40]
    sample = [case for case in sample if case[0] == "atan2" or abs(case[1]) >= 2.0 ** -27]
    slow_results, _ = run_probe(probe, ["--slow"], sample)
    for case, result in zip(sample, slow_results):
        if result != exact_rounded(case):
            failures.append(("slow path", case, result))
    print("%d results checked, %d by the slow path alone; %s" % (len(checked), len(sample),
                                                                 slow_count))
    for failure in failures[:20]:
        print("WRONG:", failure)
    return 1 if failures or len(results) != len(checked) else 0


if __name__ == "__main__":
    sys.exit(main())
