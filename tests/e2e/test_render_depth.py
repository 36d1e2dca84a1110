"""quiltor-render's depths and the bytes it writes: 16 bits per channel and
their reduction to 8, the PNG at the window's side as it always was, and a
BMP at the largest side, which SDL 1.2 cannot write."""

import os
import subprocess
import unittest

from harness import SDL_COMPAT_DIR, read_bmp24, read_file, read_png_rgb
from test_render import (EXAMPLE, PLAIN_RENDER, RENDER, RenderCase, environment, png_header,
                         read_png_rgb16, reduced, sha256_of)

# The PNGs the renderer writes at 256, byte for byte: the window's side
# keeps libpng's defaults, so these files never change.
PNG_256_SHA256 = {
    "brick": "66e5204ab665eb183532d489cfad9867163432daea75781329cdb117cd6dba24",
    "example": "99d45543cc91ff5e6b06268c0c20fbe788a9e272ba51a4337ad21d1e07f0626c",
}
# The example at 512 with 16 bits per channel, written as a 16-bit PNG.
EXAMPLE_DEEP_512_SHA256 = "a88a40747b2ca7ddf278c56dcc842ca26abfd4b3fd238a57224aa7aca33922b1"


class RenderDepthTest(RenderCase):
    def test_png_bytes_at_256_stay_as_they_were(self):
        self.write_recipe("brick.recipe")
        self.assert_rendered(self.render("brick.recipe", "-o", "brick.png"))
        self.assert_rendered(self.render(EXAMPLE, "-o", "example.png", "--depth", "8",
                                         "--bits", "8"))
        for name, digest in PNG_256_SHA256.items():
            with self.subTest(name=name):
                self.assertEqual(sha256_of(self.path(name + ".png")), digest)

    def test_a_bmp_at_the_largest_size_holds_the_256_sine_at_every_64th_pixel(self):
        # SDL 1.2 cannot write this side; the renderer writes it itself.
        self.write_recipe("sine.recipe", "quiltor recipe 1\nsave target=4\n")
        self.assert_rendered(self.render("sine.recipe", "-o", "small.bmp"))
        small = read_bmp24(self.path("small.bmp"))[2]
        side = 16384
        result = subprocess.run([PLAIN_RENDER or RENDER, "sine.recipe", "--size", str(side)],
                                cwd=self.workdir, capture_output=True, text=True, timeout=240,
                                env=environment())
        self.assert_rendered(result)
        try:
            with open(self.path("sine.bmp"), "rb") as file:
                header = file.read(54)
                self.assertEqual(os.fstat(file.fileno()).st_size, 54 + side * side * 3)
                self.assertEqual(header[:2], b"BM")
                fields = [int.from_bytes(header[at:at + size], "little")
                          for at, size in ((2, 4), (10, 4), (18, 4), (22, 4), (28, 2), (34, 4))]
                self.assertEqual(fields, [54 + side * side * 3, 54, side, side, 24,
                                          side * side * 3])
                for y in range(0, 256, 15):
                    file.seek(54 + (side - 1 - 64 * y) * side * 3)  # bottom row first
                    row = file.read(side * 3)
                    lattice = [(row[at + 2] << 16) | (row[at + 1] << 8) | row[at]
                               for at in range(0, side * 3, 64 * 3)]
                    self.assertEqual(lattice, small[256 * y:256 * (y + 1)], "row %d" % y)
        finally:
            os.remove(self.path("sine.bmp"))

    def test_depth_16_at_512_is_pinned_reduces_to_8_bits_and_is_the_same_on_both_sdl_builds(self):
        def render_all(prefix, env):
            for name, options in (("deep.png", []), ("reduced.png", ["--bits", "8"]),
                                  ("reduced.bmp", [])):
                self.assert_rendered(self.render(EXAMPLE, "--size", "512", "--depth", "16",
                                                 "-o", prefix + name, *options, env=env))

        render_all("", environment())
        self.assertEqual(sha256_of(self.path("deep.png")), EXAMPLE_DEEP_512_SHA256)
        self.assertEqual(png_header(self.path("deep.png")), (16, 2))  # 16-bit RGB
        self.assertEqual(png_header(self.path("reduced.png")), (8, 2))
        deep = read_png_rgb16(self.path("deep.png"))
        expected = [(reduced(r) << 16) | (reduced(g) << 8) | reduced(b) for r, g, b in deep]
        self.assertEqual(len(expected), 512 * 512)
        self.assert_same(read_png_rgb(self.path("reduced.png")), expected, "the 8-bit PNG")
        self.assert_same(read_bmp24(self.path("reduced.bmp"))[2], expected, "the BMP")
        if not SDL_COMPAT_DIR:
            self.skipTest("the tests on SDL 1.2 over SDL 2 are off")
        render_all("compat-", environment(LD_LIBRARY_PATH=SDL_COMPAT_DIR))
        for name in ("deep.png", "reduced.png", "reduced.bmp"):
            self.assert_same(read_file(self.path("compat-" + name)), read_file(self.path(name)),
                             "the compat build's " + name)

    def test_depth_16_renders_the_start_up_textures_with_16_bits_and_greys_as_grey(self):
        # The start-up plasma, a grey: one 16-bit sample per pixel, most
        # levels between the 8-bit ones.
        self.write_recipe("plasma.recipe", "quiltor recipe 1\nsave target=2\n")
        self.assert_rendered(self.render("plasma.recipe", "--depth", "16", "-o", "plasma.png"))
        self.assertEqual(png_header(self.path("plasma.png")), (16, 0))
        levels = [r for r, g, b in read_png_rgb16(self.path("plasma.png"))]
        self.assertGreater(len([level for level in levels if level % 257]), len(levels) // 2)
        # Written with 8 bits, the grey is an RGB PNG as at depth 8.
        self.assert_rendered(self.render("plasma.recipe", "--depth", "16", "--bits", "8",
                                         "-o", "plasma8.png"))
        self.assertEqual(png_header(self.path("plasma8.png")), (8, 2))

    def test_a_seed_renders_one_variation_the_same_at_both_depths(self):
        # A plasma alone: each depth's variation is the same cloud, the 16-bit
        # one reduced within 3 levels of the 8-bit one.
        self.write_recipe("plasma.recipe",
                          "quiltor recipe 1\nplasma target=1 variation=40\nsave target=1\n")
        clouds = os.path.join(os.path.dirname(EXAMPLE), "clouds.recipe")  # has a seed line
        for name, recipe, options in (
                ("plain", "plasma.recipe", []), ("seven", "plasma.recipe", ["--seed", "7"]),
                ("again", "plasma.recipe", ["--seed", "7"]),
                ("last", "plasma.recipe", ["--seed", "4294967295"]),
                ("deep", "plasma.recipe", ["--seed", "7", "--depth", "16", "--bits", "8"]),
                ("clouds", clouds, []), ("clouds-seven", clouds, ["--seed", "7"])):
            self.assert_rendered(self.render(recipe, "-o", name + ".png", *options))
        picture = {name: read_png_rgb(self.path(name + ".png"))
                   for name in ("plain", "seven", "again", "last", "deep", "clouds",
                                "clouds-seven")}
        self.assertEqual(picture["seven"], picture["again"])
        self.assertNotEqual(picture["seven"], picture["plain"])
        self.assertNotEqual(picture["seven"], picture["last"])
        self.assertNotEqual(picture["clouds"], picture["clouds-seven"], "seed lines vary too")
        farthest = max(abs((a & 0xFF) - (b & 0xFF))
                       for a, b in zip(picture["seven"], picture["deep"]))
        self.assertLessEqual(farthest, 3)
        for value in ("0", "4294967296", "-1", "7x", ""):
            with self.subTest(seed=value):
                result = self.render("plasma.recipe", "-o", "bad.png", "--seed", value)
                self.assertEqual(result.returncode, 1)
                self.assertIn("--seed takes a number 1..4294967295", result.stderr)
                self.assertFalse(os.path.exists(self.path("bad.png")))


if __name__ == "__main__":
    unittest.main()
