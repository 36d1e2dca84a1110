#!/usr/bin/env python3
"""Makes the README's pictures from the real programs.

Starts the given quiltor binary in a private Xvfb, captures its first frame
into docs/screenshot.png, then colorizes the cells texture in slot 1, saves
it and turns the saved texture000.bmp into data/quiltor.png. Then renders
each recipe of the gallery (docs/*.recipe) at 256 x 256 with the given
quiltor-render into docs/gallery/NAME.png. For the gallery's materials it
renders the colours from a depth-16 replay into NAME-depth16.png, the
normal map of their heights into NAME-normal.png, their occlusion into
NAME-ao.png and the packed texture glTF reads into NAME-orm.png, and
captures their lit
views from the window into docs/gallery/NAME-lit.png: 256 x 256 from the
middle of the view, where the copies meet, so the picture is as large as
the others and shows that the lit material tiles too.

Usage: scripts/make-pictures.py path/to/quiltor path/to/quiltor-render
"""

import glob
import os
import shutil
import subprocess
import tempfile
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Pictures carry no date, so a picture made again from the same pixels is
# the same file.
NO_DATES = ["-define", "png:exclude-chunks=date,time"]
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import harness  # noqa: E402

# The gallery's materials: the recipe, and the presses that show its
# heights in the window's lit view once it is reopened (its saved slot, the
# colours, is the target) by choosing its height slot as the source. The
# wood is the relief of its own brightness, its dark rings sunk; the brick's
# heights are its colours inverted in slot 4, so the dark bricks stand out
# of the pale mortar.
MATERIALS = [
    ("brick", [harness.SOURCE[4]]),
    ("wood", []),
]


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
        for name, presses in MATERIALS:
            capture_lit_view(server, binary, name, presses)
    finally:
        if program:
            program.stop()
            shutil.rmtree(program.workdir, True)
        server.stop()


def capture_lit_view(server, binary, name, presses):
    """The lit view of docs/NAME.recipe after the presses, as the window shows it."""
    recipe = os.path.join(ROOT, "docs", name + ".recipe")
    program = harness.Program(server, binary=binary, command=[binary, recipe])
    try:
        for point in presses:
            program.click(point)
        before = program.settled_capture()
        program.key("l")
        harness.wait_for(lambda: program.capture()[:3 * 800 * 300] != before[:3 * 800 * 300], 10,
                         "the lit view of " + name)
        frame = program.settled_capture()
        subprocess.run(["convert", "-size", "800x600", "-depth", "8", "rgb:-", "-crop",
                        "256x256+135+135", "+repage"] + NO_DATES
                       + [os.path.join(ROOT, "docs", "gallery", name + "-lit.png")],
                       input=frame, check=True)
        program.key("Escape")
        program.wait_for_exit()
    finally:
        program.stop()
        shutil.rmtree(program.workdir, True)


def render_gallery(renderer):
    folder = os.path.join(ROOT, "docs", "gallery")
    os.makedirs(folder, exist_ok=True)
    for recipe in sorted(glob.glob(os.path.join(ROOT, "docs", "*.recipe"))):
        name = os.path.splitext(os.path.basename(recipe))[0]
        subprocess.run([renderer, "--quiet", recipe, "-o", os.path.join(folder, name + ".png")],
                       check=True)
    # A material's colours and maps from one depth-16 replay; the gallery
    # shows the colours, the normal map, the occlusion and, from the same
    # material packed for glTF, its occlusion-roughness-metallic texture.
    for name, presses in MATERIALS:
        recipe = os.path.join(ROOT, "docs", name + ".recipe")
        work = tempfile.mkdtemp(prefix="quiltor-gallery-")
        try:
            subprocess.run([renderer, "--quiet", recipe, "-o", os.path.join(work, "m.png"),
                            "--material"], check=True)
            subprocess.run([renderer, "--quiet", recipe, "-o", os.path.join(work, "e.png"),
                            "--material", "--for", "gltf"], check=True)
            for made, kept in (("m.png", "-depth16.png"), ("m-normal.png", "-normal.png"),
                               ("m-ao.png", "-ao.png"), ("e-orm.png", "-orm.png")):
                shutil.move(os.path.join(work, made), os.path.join(folder, name + kept))
        finally:
            shutil.rmtree(work, True)


def to_png(rgb, size, path):
    subprocess.run(["convert", "-size", size, "-depth", "8", "rgb:-"] + NO_DATES + [path],
                   input=rgb, check=True)


if __name__ == "__main__":
    main()
