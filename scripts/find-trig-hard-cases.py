#!/usr/bin/python3
"""Searches the engine's trigonometric arguments for the hardest to round:
those whose exact sine, cosine or arctangent lies nearest half-way between
two doubles, where a function accurate to only a few bits past the double's
53 rounds the wrong way. Writes the best of each kind, with the correctly
rounded results, as the rounded trigonometry's test data.

Searched: every argument of the sine and deform tables at every side from
256 to 16384 (i * 6.283185308 * waves / side, waves 0..100), every
arctangent of whole numbers a, b <= 1024 and random ones up to 8192, and the
twirl's angles at random sides, directions and offsets, worked out with the
same double operations as the engine.

Usage: find-trig-hard-cases.py OUT [KEEP_PER_KIND]  (needs python3-mpmath)
"""
import heapq
import math
import multiprocessing
import random
import sys

import mpmath

mpmath.mp.prec = 160
TWO_PI = 6.283185308
HALF_PI = 1.570796327


def distance_to_half(exact):
    """How far the exact value lies from half-way between its two nearest
    doubles, in units in the last place (0 .. 0.5; 0 is a tie)."""
    if exact == 0:
        return 0.5
    nearest = float(exact)
    ulp = math.ulp(nearest) if abs(exact) >= abs(mpmath.mpf(nearest)) else math.ulp(
        math.nextafter(nearest, 0.0))
    ulp = mpmath.mpf(ulp)
    fraction = abs(exact) / ulp
    return float(abs(fraction - mpmath.floor(fraction) - mpmath.mpf(0.5)))


def table_cases(side):
    found = []
    seen = set()
    for waves in range(101):
        for i in range(side):
            x = i * TWO_PI * waves / side
            if x == 0.0 or x in seen:
                continue
            seen.add(x)
            m = mpmath.mpf(x)
            found.append((distance_to_half(mpmath.sin(m)), "sin", x))
            found.append((distance_to_half(mpmath.cos(m)), "cos", x))
        found = heapq.nsmallest(KEEP, found)
    return found


def atan_cases(seed):
    rng = random.Random(seed)
    found = []
    pairs = [(b, a) for a in range(seed, 1025, WORKERS) for b in range(1025) if a or b]
    pairs += [(rng.randint(0, 8192), rng.randint(0, 8192)) for _ in range(200000)]
    for b, a in pairs:
        if a == 0 and b == 0:
            continue
        for x in (float(a), -float(a)):
            exact = mpmath.atan2(b, x)
            found.append((distance_to_half(exact), "atan2", float(b), x))
        if len(found) > 4 * KEEP:
            found = heapq.nsmallest(KEEP, found)
    return heapq.nsmallest(KEEP, found)


def twirl_cases(seed):
    """The twirl's angles: theta = +-atan2(b, +-a) + swirl, as the engine
    works them out, with the swirl from its own correctly rounded sine."""
    rng = random.Random(seed)
    found = []
    for _ in range(60000):
        half = 2 ** rng.randint(7, 13)
        turn = rng.choice([d for d in range(-128, 129) if d]) / 64.0
        a, b = rng.randint(0, half), rng.randint(0, half)
        r = math.sqrt(float(a * a + b * b))
        if not r < half:
            continue
        swirl = (float(mpmath.sin(mpmath.mpf(TWO_PI * r / half + (-HALF_PI)))) + 1.0) * turn
        for angle in (float(mpmath.atan2(b, a)), float(mpmath.atan2(b, -a))):
            for theta in (angle + swirl, -angle + swirl):
                m = mpmath.mpf(theta)
                found.append((distance_to_half(mpmath.sin(m)), "sin", theta))
                found.append((distance_to_half(mpmath.cos(m)), "cos", theta))
        if len(found) > 4 * KEEP:
            found = heapq.nsmallest(KEEP, found)
    return heapq.nsmallest(KEEP, found)


def run(job):
    kind, value = job
    return {"table": table_cases, "atan": atan_cases, "twirl": twirl_cases}[kind](value)


WORKERS = 4
KEEP = int(sys.argv[2]) if len(sys.argv) > 2 else 1000

if __name__ == "__main__":
    jobs = [("table", 2 ** e) for e in range(8, 15)]
    jobs += [("atan", seed) for seed in range(WORKERS)]
    jobs += [("twirl", seed) for seed in range(WORKERS)]
    with multiprocessing.Pool(2) as pool:
        results = [case for part in pool.map(run, jobs, chunksize=1) for case in part]
    with open(sys.argv[1], "w") as out:
        out.write("# The hardest arguments found by scripts/find-trig-hard-cases.py:\n"
                  "# function, arguments and correctly rounded result as hex floats,\n"
                  "# and the exact result's distance from half-way, in units in the last place.\n")
        for name in ("sin", "cos", "atan2"):
            unique = {case[1:]: case for case in results if case[1] == name}
            best = heapq.nsmallest(KEEP, unique.values())
            for case in best:
                arguments = case[2:]
                m = [mpmath.mpf(v) for v in arguments]
                exact = {"sin": mpmath.sin, "cos": mpmath.cos, "atan2": mpmath.atan2}[name](*m)
                out.write("%s %s %s %.3e\n" % (name, " ".join(v.hex() for v in arguments),
                                               float(exact).hex(), case[0]))
