"""quiltor-render --material and --height: a material's three files from one
depth-16 replay, each the bytes its own command writes; the heights'
rounding; which slot the heights come from; the options that shape another
given in any order; and bad usage."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import SDL_COMPAT_DIR, read_file
import test_render
from test_render import RENDER, environment, png_header, read_png_rgb16, sha256_of

# Colours in slot 1, their heights a cloud in slot 3 that the material line names.
RECIPE = """quiltor recipe 1
seed 5
cells target=1 nr=10 size=70
plasma target=3 variation=25
mix target=1 source=3 balance=90
colorize target=1 color1=40,20,10 color2=230,200,150
copy target=2 source=3
invert target=2
material height=3
save target=1
"""
# The material of RECIPE at 512: colours, heights and normal map.
MATERIAL_512_SHA256 = {
    "m.png": "d30beed2f1094dc8183fcc7f88c62d9de43a16ead2d4a2d85c7775f2a210d37d",
    "m-height.png": "85f6dab940667ef8aa26d794825b3694dbc79240ec1a69ab13813dc4a4aa4ea6",
    "m-normal.png": "03d734bb641a04e8c9829ff2b60a822c5843af3afc3e73e1db5f9e70e0a3522c",
}
# A light spot coloured from dark red to pale blue: every level of the
# ramp, in all three channels.
RAMP = """quiltor recipe 1
pong target=1 size=181
colorize target=1 color1=200,10,0 color2=30,160,250
save target=1
"""


def height_level(red, green, blue):
    """A 16-bit colour's height level, in the renderer's double arithmetic."""
    luma = (0.2126 * red + 0.7152 * green + 0.0722 * blue) / 65535.0
    return int(luma * 65535.0 + 0.5)


class MaterialTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-material-")
        self.addCleanup(shutil.rmtree, self.workdir, True)
        for name, text in (("recipe", RECIPE), ("ramp", RAMP)):
            with open(self.path(name + ".recipe"), "w") as file:
                file.write(text)

    def path(self, name):
        return os.path.join(self.workdir, name)

    def render(self, *args, env=None):
        result = subprocess.run([RENDER] + list(args), cwd=self.workdir, capture_output=True,
                                text=True, timeout=120, env=env or environment())
        self.assertEqual((result.returncode, result.stderr), (0, ""), args)

    def same(self, a, b):
        return read_file(self.path(a)) == read_file(self.path(b))

    def test_a_material_is_its_three_single_renders_and_the_same_on_both_sdl_builds(self):
        self.render("recipe.recipe", "--material", "--size", "512", "-o", "m.png")
        digests = {name: sha256_of(self.path(name)) for name in MATERIAL_512_SHA256}
        self.assertEqual(digests, MATERIAL_512_SHA256)
        self.assertEqual(png_header(self.path("m.png")), (8, 2))
        self.assertEqual(png_header(self.path("m-height.png")), (16, 0))  # 16-bit grey
        self.assertEqual(png_header(self.path("m-normal.png")), (8, 2))
        self.render("recipe.recipe", "--size", "512", "--depth", "16", "--bits", "8",
                    "-o", "c.png")
        self.render("recipe.recipe", "--size", "512", "--height", "--slot", "3", "-o", "h.png")
        self.render("recipe.recipe", "--size", "512", "--normal", "--slot", "3", "-o", "n.png")
        for material, single in (("m.png", "c.png"), ("m-height.png", "h.png"),
                                 ("m-normal.png", "n.png")):
            self.assertTrue(self.same(material, single), material)
        # --height-slot wins over the material line; the options shape the map.
        self.render("recipe.recipe", "--material", "--size", "512", "-o", "two.bmp",
                    "--height-slot", "2", "--relief", "0.05", "--normal-y", "down")
        self.render("recipe.recipe", "--size", "512", "--height", "--slot", "2", "-o", "h2.png")
        self.render("recipe.recipe", "--size", "512", "--normal", "--slot", "2", "-o", "n2.bmp",
                    "--relief", "0.05", "--normal-y", "down")
        self.assertTrue(self.same("two-height.png", "h2.png"))
        self.assertTrue(self.same("two-normal.bmp", "n2.bmp"))
        if not SDL_COMPAT_DIR:
            self.skipTest("the tests on SDL 1.2 over SDL 2 are off")
        self.render("recipe.recipe", "--material", "--size", "512", "-o", "compat.png",
                    env=environment(LD_LIBRARY_PATH=SDL_COMPAT_DIR))
        for name in MATERIAL_512_SHA256:
            self.assertTrue(self.same(name, name.replace("m", "compat", 1)), name)

    def test_heights_are_the_rounded_luma_of_the_16_bit_colours(self):
        self.render("ramp.recipe", "--depth", "16", "--bits", "16", "-o", "colours.png")
        self.render("ramp.recipe", "--height", "-o", "heights.png")
        self.assertEqual(png_header(self.path("heights.png")), (16, 0))
        colours = read_png_rgb16(self.path("colours.png"))
        heights = [r for r, g, b in read_png_rgb16(self.path("heights.png"))]
        expected = [height_level(*colour) for colour in colours]
        self.assertGreater(len(set(expected)), 150, "a ramp of many levels")
        self.assertEqual(heights, expected)
        # Without a material line, a material's heights are its colours'.
        self.render("ramp.recipe", "--material", "-o", "ramp.png")
        self.assertTrue(self.same("ramp-height.png", "heights.png"))

    def test_an_option_shapes_the_map_whichever_comes_first(self):
        self.render("recipe.recipe", "--relief", "0.05", "--normal", "-o", "before.png")
        self.render("recipe.recipe", "--normal", "--relief", "0.05", "-o", "after.png")
        self.render("recipe.recipe", "--normal", "-o", "default.png")
        self.assertTrue(self.same("before.png", "after.png"))
        self.assertFalse(self.same("before.png", "default.png"))
        # --depth 16 makes a normal map's default 16 bits, as it does colours'.
        self.render("recipe.recipe", "--depth", "16", "--normal", "-o", "deep.png")
        self.assertEqual(png_header(self.path("deep.png")), (16, 2))
        self.assertEqual(png_header(self.path("default.png")), (8, 2))
        self.render("recipe.recipe", "--normal", "--bits", "16", "-o", "bits.png")
        self.assertTrue(self.same("deep.png", "bits.png"))

    def test_the_progress_line_names_each_of_the_materials_files_as_it_writes_it(self):
        # A noisy plasma, whose PNGs take seconds to encode at 4096 on one
        # thread; on every thread of a large machine a file could go by
        # between two showings of the line.
        with open(self.path("clouds.recipe"), "w") as file:
            file.write("quiltor recipe 1\nplasma target=1 variation=90\nsave target=1\n")
        on_a_terminal = test_render.RenderTest.render_on_a_terminal
        status, shown = on_a_terminal(self, self.path("clouds.recipe"), "--size", "4096",
                                      "--threads", "1", "--material", "-o", "big.png")
        self.assertEqual(status, 0, shown)
        percents = {}
        for name in ("big.png", "big-normal.png", "big-height.png"):
            found = re.findall(r"4096\u00d74096, writing %s, \d+ of 4096 rows, (\d+)%%\x1b\[K"
                               % re.escape(name), shown)
            self.assertTrue(found, name + " never shown: " + repr(shown[-300:]))
            percents[name] = [int(percent) for percent in found]
        # The share goes on growing from file to file.
        self.assertLessEqual(max(percents["big.png"]), min(percents["big-normal.png"]))
        self.assertLessEqual(max(percents["big-normal.png"]), min(percents["big-height.png"]))
        self.assertTrue(shown.endswith("\r\x1b[K"), repr(shown[-40:]))

    def recorded_progress(self, *args):
        """Renders with every text the progress line would show recorded, in
        order; returns each text's pass (what it says before the share) and
        its share, a repeat of the same pass counted once."""
        record = self.path("progress.txt")
        self.render(*args, env=environment(QUILTOR_RENDER_PROGRESS_RECORD=record))
        with open(record, encoding="utf-8") as file:
            texts = file.read().splitlines()
        os.remove(record)
        found = [re.fullmatch(r"quiltor-render: \d+\u00d7\d+, (.+), (\d+)%", text)
                 for text in texts]
        self.assertTrue(texts and all(found), texts[:5])
        shares = [int(match.group(2)) for match in found]
        passes = [re.sub(r", \d+ of \d+ rows$", "", match.group(1)) for match in found]
        return [p for i, p in enumerate(passes) if i == 0 or passes[i - 1] != p], shares

    def assert_never_falls(self, shares):
        falls = [(a, b) for a, b in zip(shares, shares[1:]) if b < a]
        self.assertEqual(falls, [], "the share went back")
        self.assertLessEqual(shares[-1], 99)

    def test_the_progress_goes_through_the_normal_map_pass_between_the_steps_and_the_write(self):
        # On two threads each twirl is split into pieces, and its share of
        # the line starts again from 0 with each repeat's pass.
        with open(self.path("twirled.recipe"), "w") as file:
            file.write("quiltor recipe 1\ntwirl target=1 direction=64 repeat=6\nsave target=1\n")
        passes, shares = self.recorded_progress("twirled.recipe", "--size", "1024", "--threads",
                                                "2", "--normal", "-o", "twirled.png")
        if passes[0] == "starting":
            passes.pop(0)
        self.assertEqual(passes, ["step 1 of 2: cells", "step 2 of 2: twirl", "normal map",
                                  "writing twirled.png"])
        self.assert_never_falls(shares)

    def test_the_progress_goes_through_each_of_the_materials_files_in_turn(self):
        passes, shares = self.recorded_progress("recipe.recipe", "--size", "1024", "--threads",
                                                "2", "--material", "-o", "m.png")
        if passes[0] == "starting":
            passes.pop(0)
        self.assertEqual(passes[-3:],
                         ["writing m.png", "writing m-normal.png", "writing m-height.png"])
        self.assertTrue(all(p.startswith("step ") for p in passes[:-3]), passes)
        self.assert_never_falls(shares)
        # Not asked for, or --quiet: no record, as no line.
        self.render("recipe.recipe", "--quiet", "-o", "q.png",
                    env=environment(QUILTOR_RENDER_PROGRESS_RECORD=self.path("progress.txt")))
        self.assertFalse(os.path.exists(self.path("progress.txt")))

    def test_bad_usage_exits_with_1_and_writes_nothing(self):
        cases = [
            (["--material", "--normal"], "--material writes the normal map and heights itself"),
            (["--material", "--height"], "--material writes the normal map and heights itself"),
            (["--height", "--normal"], "--height and --normal write different pictures"),
            (["--height-slot", "2"], "--height-slot needs --material"),
            (["--material", "--height-slot", "0"], "--height-slot takes a slot number 1..4"),
            (["--material", "--height-slot", "5"], "--height-slot takes a slot number 1..4"),
            (["--material", "--height-slot"], "--height-slot needs a value"),
            (["--seed", "0"], "--seed takes a number 1..4294967295"),
            # Arguments are quoted escaped: one line, nothing for the terminal.
            (["--seed", "7\n\x1b[2J"],
             "--seed takes a number 1..4294967295, not '7\\x0A\\x1B[2J'"),
            (["-o", "x\x07.jpg"], "'x\\x07.jpg' must end in .bmp or .png"),
            (["--height", "-o", "h.bmp"], "--height writes a 16-bit PNG"),
            (["--height", "-o", "h.png", "--format", "bmp"], "--height writes a 16-bit PNG"),
            (["--height", "--bits", "8", "-o", "h.png"], "--height always writes 16 bits"),
            (["--material", "--bits", "16", "-o", "m.bmp"], "needs a PNG"),
            (["--relief", "0.1", "--height", "-o", "h.png"],
             "--relief needs --normal or --material"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                result = subprocess.run([RENDER, "recipe.recipe"] + args, cwd=self.workdir,
                                        capture_output=True, text=True, timeout=60,
                                        env=environment())
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
                self.assertIn(message, result.stderr)
                self.assertEqual(sorted(os.listdir(self.workdir)),
                                 ["ramp.recipe", "recipe.recipe"])


if __name__ == "__main__":
    unittest.main()
