#!/usr/bin/env python3
"""Makes the README's screenshot and the desktop icon from the real program.

Starts the given quiltor binary in a private Xvfb, captures its first frame
into docs/screenshot.png, then colorizes the cells texture in slot 1, saves
it and turns the saved texture000.bmp into data/quiltor.png.

Usage: scripts/make-pictures.py path/to/quiltor
"""

import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    server = harness.XServer()
    program = None
    try:
        program = harness.Program(server, binary=binary)
        frame = harness.wait_for(
            lambda: (lambda rgb: rgb if rgb[0:3] == b"\x40\x40\x40" else None)(program.capture()),
            10, "the first frame")
        to_png(frame, "800x600", os.path.join(ROOT, "docs", "screenshot.png"))

        saved = os.path.join(program.workdir, "texture000.bmp")
        cells = harness.slot_region(frame, 0)
        program.click(harness.COLORIZE)
        harness.wait_for(lambda: harness.slot_region(program.capture(), 0) != cells, 10,
                         "the colorized slot")
        program.click(harness.SAVE)
        harness.wait_for(lambda: os.path.exists(saved), 10, "the saved texture")
        subprocess.run(["convert", saved, os.path.join(ROOT, "data", "quiltor.png")], check=True)
        program.key("Escape")
        program.wait_for_exit()
    finally:
        if program:
            program.stop()
            shutil.rmtree(program.workdir, True)
        server.stop()


def to_png(rgb, size, path):
    subprocess.run(["convert", "-size", size, "-depth", "8", "rgb:-", path], input=rgb, check=True)


if __name__ == "__main__":
    main()
