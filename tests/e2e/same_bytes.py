"""Renders whose bytes must be the same on every machine: every gallery
recipe and the every-operation recipe, at 256 and 1024, at depth 8 and 16,
colours and normal maps. Their digests are pinned in render-digests.txt;
the Linux suite checks them with the C library's default code paths and with
its FMA paths switched off, the Windows suite from the Windows build under
Wine.

To re-pin after a deliberate change: QUILTOR_PRINT_DIGESTS=1 and run either
suite; it prints the table to paste in."""

import glob
import hashlib
import os
import shutil

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
PINS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "render-digests.txt")
RECIPES = sorted(glob.glob(os.path.join(ROOT, "docs", "*.recipe"))) + [
    os.path.join(ROOT, "bench", "every-operation.recipe")]
SIZES = ("256", "1024")
VARIANTS = (("colours-8", []), ("colours-16", ["--depth", "16"]),
            ("normal-8", ["--normal"]), ("normal-16", ["--normal", "--depth", "16"]))


def renders():
    """(output name, renderer arguments but the recipe's path) of each render."""
    for recipe in RECIPES:
        name = os.path.splitext(os.path.basename(recipe))[0]
        for size in SIZES:
            for variant, options in VARIANTS:
                output = "%s-%s-%s.png" % (name, size, variant)
                yield recipe, output, ["--size", size, "--quiet", "-o", output] + options


def pinned():
    with open(PINS) as file:
        return dict(line.split() for line in file if line.strip() and not line.startswith("#"))


def digests_of(run, folder):
    """Renders every one with run(recipe's name, arguments) in folder, where
    the recipes are copied, and returns {output: sha256}."""
    found = {}
    for recipe in RECIPES:
        shutil.copy(recipe, folder)
    for recipe, output, arguments in renders():
        run(os.path.basename(recipe), arguments)
        path = os.path.join(folder, output)
        with open(path, "rb") as file:
            found[output] = hashlib.sha256(file.read()).hexdigest()
        os.remove(path)
    if os.environ.get("QUILTOR_PRINT_DIGESTS"):
        print("".join("%s %s\n" % item for item in sorted(found.items())))
    return found
