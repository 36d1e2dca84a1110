#!/usr/bin/env python3
"""How long the window takes from an editor's save of its recipe to the new
frame, for each gallery recipe and each way of saving: the median of several
saves, each toggling the recipe between its own text and one more Invert of
its saved slot, so every save changes the picture.

    bench/live-reload.py build/quiltor [SAVES]

It starts the program under a private Xvfb (as the end-to-end tests do) and
polls the window with xwd, raw, as fast as it can: each figure is from the
end of the save to the first capture that shows the new frame, so it may run
over by the time of one capture (printed too)."""

import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import harness  # noqa: E402
import test_live_recipes  # noqa: E402


def raw_capture(program):
    return subprocess.run(["xwd", "-id", program.window, "-silent"], env=program.server.env(),
                          capture_output=True, timeout=30, check=True).stdout


def settled_raw(program):
    previous = None
    while True:
        time.sleep(0.3)
        frame = raw_capture(program)
        if frame == previous:
            return frame
        previous = frame


def with_one_more_invert(text):
    """The recipe with an Invert of its saved slot before its last save line."""
    lines = text.rstrip("\n").split("\n")
    save = lines[-1]
    assert save.startswith("save target="), save
    return "\n".join(lines[:-1] + ["invert " + save[len("save "):], save]) + "\n"


def measure(binary, recipe, save, saves):
    workdir = tempfile.mkdtemp(prefix="quiltor-live-bench-")
    server = harness.XServer()
    try:
        name = os.path.basename(recipe)
        path = os.path.join(workdir, name)
        texts = [open(recipe).read()]
        texts.append(with_one_more_invert(texts[0]))
        test_live_recipes.write_in_place(path, texts[0])
        program = harness.Program(server, binary=binary, workdir=workdir, command=[binary, name])
        frames = [settled_raw(program)]
        save(path, texts[1])
        frames.append(None)
        while frames[1] is None:
            frame = raw_capture(program)
            if frame != frames[0]:
                frames[1] = settled_raw(program)
        times, capture_times = [], []
        for i in range(saves):
            shown = i % 2  # the text on disk now; the next save writes the other
            save(path, texts[1 - shown])
            saved = time.monotonic()
            while True:
                before = time.monotonic()
                frame = raw_capture(program)
                capture_times.append(time.monotonic() - before)
                if frame == frames[1 - shown]:
                    break
                if time.monotonic() - saved > 30:
                    raise AssertionError("no new frame within 30 s")
            times.append(time.monotonic() - saved)
        program.stop()
        return statistics.median(times), max(times), statistics.median(capture_times)
    finally:
        server.stop()
        shutil.rmtree(workdir, True)


def main():
    binary = os.path.abspath(sys.argv[1])
    saves = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    print("%-20s %-40s %8s %8s %9s" % ("recipe", "way of saving", "median", "slowest", "capture"))
    for recipe in sorted(glob.glob(os.path.join(ROOT, "docs", "*.recipe"))):
        for way, save in test_live_recipes.SAVES:
            median, slowest, capture = measure(binary, recipe, save, saves)
            print("%-20s %-40s %6.0fms %6.0fms %7.0fms" % (os.path.basename(recipe), way,
                                                          1000 * median, 1000 * slowest,
                                                          1000 * capture))
            sys.stdout.flush()


if __name__ == "__main__":
    main()
