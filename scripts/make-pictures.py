#!/usr/bin/env python3
"""Makes the README's pictures from the real programs.

Starts the given quiltor binary in a private Xvfb, captures its first frame
into docs/screenshot.png, then colorizes the cells texture in slot 1, saves
it and turns the saved texture000.bmp into data/quiltor.png. Then renders
each recipe of the gallery (docs/*.recipe) at 256 x 256 with the given
quiltor-render into docs/gallery/NAME.png.

Usage: scripts/make-pictures.py path/to/quiltor path/to/quiltor-render
"""

import glob
import os
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Pictures carry no date, so a picture made again from the same pixels is
# the same file.
NO_DATES = ["-define", "png:exclude-chunks=date,time"]
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    render_gallery(os.path.abspath(sys.argv[2]))
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
        subprocess.run(["convert", saved] + NO_DATES + [os.path.join(ROOT, "data", "quiltor.png")],
                       check=True)
        program.key("Escape")
        program.wait_for_exit()
    finally:
        if program:
            program.stop()
            shutil.rmtree(program.workdir, True)
        server.stop()


def render_gallery(renderer):
    folder = os.path.join(ROOT, "docs", "gallery")
    os.makedirs(folder, exist_ok=True)
    for recipe in sorted(glob.glob(os.path.join(ROOT, "docs", "*.recipe"))):
        name = os.path.splitext(os.path.basename(recipe))[0]
        subprocess.run([renderer, "--quiet", recipe, "-o", os.path.join(folder, name + ".png")],
                       check=True)


def to_png(rgb, size, path):
    subprocess.run(["convert", "-size", size, "-depth", "8", "rgb:-"] + NO_DATES + [path],
                   input=rgb, check=True)


if __name__ == "__main__":
    main()
