"""quiltor-render --normal: normal maps from the depth-16 heights, what
their options mean, and their bad usage."""

import os
import resource
import shutil
import subprocess
import tempfile
import unittest

from harness import SDL_COMPAT_DIR, read_bmp24, read_file, read_png_rgb
from test_render import (PLAIN_RENDER, RENDER, environment, png_header, read_png_rgb16,
                         sha256_of)

# Cells, a light spot, a cloud and a swirl: edges, slopes and noise.
RECIPE = """quiltor recipe 1
seed 9
cells target=1 nr=14 size=60
pong target=2 size=110
mix target=1 source=2 balance=140
plasma target=3 variation=30
mix target=1 source=3 balance=210
twirl target=1 direction=24
save target=1
"""
# The normal maps of RECIPE at 512, with 8 and with 16 bits per channel.
NORMAL_512_SHA256 = {
    "normal.png": "aa75b6c39918214f7c591ec5b0a8ec12a8e62e764255993c29dfc10b14c9dc1f",
    "normal16.png": "fb57c7b98fd373ee188c087bdc7673380df0d90d79bc0c93642964f967690818",
}

# Smooth heights, waves swirled, whose normals a finer render only refines.
SMOOTH_RECIPE = """quiltor recipe 1
sine target=1 nrx=3 nry=2
sine target=2 nrx=1 nry=1
twirl target=2 direction=40
mix target=1 source=2 balance=128
save target=1
"""

FLAT_RECIPE = "quiltor recipe 1\nclear target=1 color1=90,140,30\nsave target=1\n"


def channels(rgb):
    """0xRRGGBB values as three lists: red, green, blue."""
    return [[(value >> shift) & 0xFF for value in rgb] for shift in (16, 8, 0)]


def averaged_down(levels, side, factor):
    """A channel of side x side averaged down by `factor`: each pixel of the
    result the mean of the box `factor` wide centred on the pixel the small
    render has there, which is every factor-th pixel."""
    weights = [0.5] + [1.0] * (factor - 1) + [0.5]
    small = side // factor
    result = []
    for y in range(small):
        rows = [((factor * y + j - factor // 2) % side) * side for j in range(factor + 1)]
        for x in range(small):
            columns = [(factor * x + i - factor // 2) % side for i in range(factor + 1)]
            total = 0.0
            for row, row_weight in zip(rows, weights):
                total += row_weight * sum(weight * levels[row + column]
                                          for column, weight in zip(columns, weights))
            result.append(total / (factor * factor))
    return result


class NormalMapTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-normal-")
        self.addCleanup(shutil.rmtree, self.workdir, True)
        for name, text in (("recipe", RECIPE), ("smooth", SMOOTH_RECIPE), ("flat", FLAT_RECIPE)):
            with open(self.path(name + ".recipe"), "w") as file:
                file.write(text)

    def path(self, name):
        return os.path.join(self.workdir, name)

    def render(self, *args, env=None):
        result = subprocess.run([RENDER] + list(args), cwd=self.workdir, capture_output=True,
                                text=True, timeout=120, env=env or environment())
        self.assertEqual((result.returncode, result.stderr), (0, ""), args)

    def test_pinned_at_512_and_the_same_bytes_on_both_sdl_builds(self):
        def render_all(prefix, env):
            for name, options in (("normal.png", []), ("normal16.png", ["--bits", "16"]),
                                  ("normal.bmp", [])):
                self.render("recipe.recipe", "--normal", "--size", "512", "-o", prefix + name,
                            *options, env=env)

        render_all("", None)
        digests = {name: sha256_of(self.path(name)) for name in NORMAL_512_SHA256}
        self.assertEqual(digests, NORMAL_512_SHA256)
        # --bits 16 needs no --depth 16: the heights are 16-bit anyway.
        self.assertEqual(png_header(self.path("normal16.png")), (16, 2))
        self.assertEqual(read_bmp24(self.path("normal.bmp"))[2],
                         read_png_rgb(self.path("normal.png")))
        if not SDL_COMPAT_DIR:
            self.skipTest("the tests on SDL 1.2 over SDL 2 are off")
        render_all("compat-", environment(LD_LIBRARY_PATH=SDL_COMPAT_DIR))
        for name in ("normal.png", "normal16.png", "normal.bmp"):
            self.assertTrue(read_file(self.path("compat-" + name)) == read_file(self.path(name)),
                            "the compat build's " + name)

    def test_flat_points_out_down_flips_green_and_the_relief_is_documented(self):
        self.render("flat.recipe", "--normal", "-o", "flat.png", "--relief", "10")
        self.assertEqual(set(read_png_rgb(self.path("flat.png"))), {0x8080FF})
        self.render("flat.recipe", "--normal", "-o", "flat16.png", "--bits", "16")
        self.assertEqual(set(read_png_rgb16(self.path("flat16.png"))), {(32768, 32768, 65535)})

        self.render("recipe.recipe", "--normal", "-o", "up.png")
        self.render("recipe.recipe", "--normal", "-o", "down.png", "--normal-y", "down")
        up, down = (channels(read_png_rgb(self.path(name))) for name in ("up.png", "down.png"))
        self.assertEqual((down[0], down[2]), (up[0], up[2]))
        self.assertNotEqual(down[1], up[1])
        # The component negated: 255 less the level, one more at exact halves.
        self.assertTrue(all(a + b in (255, 256) for a, b in zip(up[1], down[1])))
        # The defaults as the manual gives them.
        self.render("recipe.recipe", "--normal", "-o", "given.png", "--normal-y", "up",
                    "--relief", "0.02")
        self.assertTrue(read_file(self.path("given.png")) == read_file(self.path("up.png")))

    def test_the_same_surface_at_every_size_and_threads_change_no_byte(self):
        self.render("smooth.recipe", "--normal", "--relief", "0.1", "-o", "small.png")
        for threads in ("1", "3"):
            self.render("smooth.recipe", "--normal", "--relief", "0.1", "--size", "1024",
                        "--threads", threads, "-o", "large%s.png" % threads)
        self.assertTrue(read_file(self.path("large1.png")) == read_file(self.path("large3.png")),
                        "the map on three threads")
        small = channels(read_png_rgb(self.path("small.png")))
        large = channels(read_png_rgb(self.path("large1.png")))
        for name, small_levels, large_levels in zip("rgb", small, large):
            averaged = averaged_down(large_levels, 1024, 4)
            worst = max(abs(a - b) for a, b in zip(averaged, small_levels))
            self.assertLessEqual(worst, 2, name)

    def assert_fails(self, args, status, message):
        result = subprocess.run([RENDER] + args, cwd=self.workdir, capture_output=True,
                                text=True, timeout=120, env=environment())
        self.assertEqual(result.returncode, status, result.stderr)
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
        self.assertIn(message, result.stderr)
        self.assertEqual(sorted(os.listdir(self.workdir)),
                         ["flat.recipe", "recipe.recipe", "smooth.recipe"])

    def test_the_reliefs_bounds_exactly(self):
        # Up to 15 significant digits and 22 decimals are read exactly;
        # trailing zeros do not count.
        accepted = ["10", "10.", "10.000000000000000000000000", "9.99999999999999",
                    "0.0000000000000000000001", ".5"]
        refused = ["10.0000000000001", "10.00000000000001", "9.999999999999999",
                   "0.00000000000000000000001", "0.0000000000000000000000", "0000"]
        for relief in accepted:
            with self.subTest(relief=relief):
                self.render("flat.recipe", "--normal", "--relief", relief, "-o", "ok.png")
        os.remove(self.path("ok.png"))
        for relief in refused:
            with self.subTest(relief=relief):
                self.assert_fails(["flat.recipe", "--normal", "--relief", relief], 1,
                                  "--relief takes a number over 0, up to 10, such as 0.02, "
                                  "not '%s'" % relief)

    def test_bad_usage_exits_with_1_and_writes_nothing(self):
        relief = "--relief takes a number over 0, up to 10"
        cases = [
            (["--relief", "0.5"], "--relief needs --normal"),
            (["--normal-y", "up", "--depth", "16"], "--normal-y needs --normal"),
            (["--normal", "--relief", "0"], relief),
            (["--normal", "--relief", "10.01"], relief),
            (["--normal", "--relief", "-1"], "--relief"),
            (["--normal", "--relief", "1e-2"], relief),
            (["--normal", "--relief", "0.1.2"], relief),
            (["--normal", "--relief", "."], relief),
            (["--normal", "--relief", ""], relief),
            (["--normal", "--relief", "0.1234567890123456"], relief),
            (["--normal", "--relief"], "--relief needs a value"),
            (["--normal", "--normal-y", "left"], "--normal-y takes up or down, not 'left'"),
            (["--normal", "--normal"], "--normal given twice"),
            (["--normal", "--bits", "16"], "needs a PNG"),
            (["--normal", "--bits", "16", "-o", "x.png", "--format", "bmp"], "needs a PNG"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                self.assert_fails(["recipe.recipe"] + args, 1, message)

    def test_a_size_whose_depth_16_memory_cannot_be_had_exits_with_3(self):
        if not PLAIN_RENDER:
            self.skipTest("no renderer built without sanitizers")

        def limit_memory():
            resource.setrlimit(resource.RLIMIT_AS, (2 << 30, 2 << 30))

        # 1.5 GiB would do for depth 8; a normal map's heights need 3.
        result = subprocess.run([PLAIN_RENDER, "recipe.recipe", "--normal", "--size", "8192",
                                 "-o", "out.png"], cwd=self.workdir, capture_output=True,
                                text=True, timeout=120, env=environment(),
                                preexec_fn=limit_memory)
        self.assertEqual((result.returncode, result.stderr),
                         (3, "Could not render out.png at 8192\u00d78192: "
                          "not enough memory (needs 3.0 GiB)\n"))


if __name__ == "__main__":
    unittest.main()
