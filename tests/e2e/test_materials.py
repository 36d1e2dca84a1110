"""quiltor-render --material and the single maps: a material's files from
one depth-16 replay, each the bytes its own command writes; the heights'
and the grey maps' rounding; which slot each map comes from; an engine's
packed texture, channel by channel, and its normal map's green; the names
checked before the replay; the options that shape another given in any
order; and bad usage."""

import json
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness import SDL_COMPAT_DIR, read_file
import test_render
from test_render import (ENDLESS, RENDER, environment, png_header, read_png_rgb16, reduced,
                         sha256_of)

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
# Every map from a slot of its own, each unlike the others and none made
# from another, so a slot left out of the replay shows: colours in 1,
# metallic cells in 2, roughness clouds in 3, heights in 4.
MAPS = """quiltor recipe 1
seed 9
cells target=1 nr=8 size=60
colorize target=1 color1=90,40,20 color2=220,180,120
cells target=2 nr=14 size=30
plasma target=3 variation=40
copy target=4 source=1
invert target=4
material height=4 roughness=3 metallic=2
save target=1
"""
# The engines' packed textures: channel by channel, the material's map it
# holds, or a level everywhere.
PACKED = {
    "gltf": ("-orm", ["ao", "roughness", "metallic"]),
    "unreal": ("-orm", ["ao", "roughness", "metallic"]),
    "unity": ("-mask", ["metallic", "ao", 255, "smoothness"]),
    "godot": ("-orm", ["ao", "roughness", "metallic"]),
}
# Decodes an 8-bit PNG through the system's PIL: its mode, then its bytes.
DECODE = ("import sys\nfrom PIL import Image\nimage = Image.open(sys.argv[1])\n"
          "sys.stdout.buffer.write(image.mode.encode() + b'\\n' + image.tobytes())\n")


def channels(path):
    """An 8-bit PNG's mode ("RGB", "RGBA") and its channels, each a bytes."""
    out = subprocess.run(["/usr/bin/python3", "-c", DECODE, path], capture_output=True,
                         check=True, timeout=60).stdout
    mode, data = out.split(b"\n", 1)
    count = len(mode)
    return mode.decode(), [data[i::count] for i in range(count)]


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
        for name, text in (("recipe", RECIPE), ("ramp", RAMP), ("maps", MAPS)):
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

    def test_the_progress_of_an_occlusion_map_alone_names_its_pass(self):
        passes, shares = self.recorded_progress("recipe.recipe", "--size", "1024", "--threads",
                                                "2", "--occlusion", "-o", "o.png")
        self.assertEqual(passes[-2:], ["occlusion map", "writing o.png"])
        self.assert_never_falls(shares)

    def test_the_progress_goes_through_each_of_the_materials_files_in_turn(self):
        passes, shares = self.recorded_progress("recipe.recipe", "--size", "1024", "--threads",
                                                "2", "--material", "-o", "m.png")
        if passes[0] == "starting":
            passes.pop(0)
        self.assertEqual(passes[-6:], ["writing m.png", "writing m-normal.png",
                                       "writing m-roughness.png", "writing m-metallic.png",
                                       "writing m-ao.png", "writing m-height.png"])
        self.assertTrue(all(p.startswith("step ") for p in passes[:-6]), passes)
        self.assert_never_falls(shares)
        # Not asked for, or --quiet: no record, as no line.
        self.render("recipe.recipe", "--quiet", "-o", "q.png",
                    env=environment(QUILTOR_RENDER_PROGRESS_RECORD=self.path("progress.txt")))
        self.assertFalse(os.path.exists(self.path("progress.txt")))

    def test_bad_usage_exits_with_1_and_writes_nothing(self):
        cases = [
            (["--material", "--normal"], "--material writes every map itself; give it without --normal"),
            (["--material", "--height"], "--material writes every map itself; give it without --height"),
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
             "--relief needs --normal or --occlusion or --material"),
            (["--for", "gltf", "-o", "m.png"], "--for needs --material"),
            (["--material", "--for", "blender", "-o", "m.png"],
             "--for takes gltf, unreal, unity, godot, not 'blender'"),
            (["--material", "--for", "gltf", "-o", "m.bmp"],
             "--for gltf writes PNGs: name OUT .png or give --format png"),
            (["--material", "--for", "unreal", "--bits", "16", "-o", "m.png"],
             "--for unreal takes an 8-bit packed texture"),
            (["--material", "--for", "unity", "--bits", "16", "-o", "m.png"],
             "--for unity takes an 8-bit packed texture"),
            (["--roughness", "--normal"],
             "--normal and --roughness write different pictures; give one of them"),
            (["--metallic", "--occlusion"],
             "--metallic and --occlusion write different pictures; give one of them"),
            (["--height", "--occlusion"],
             "--height and --occlusion write different pictures"),
            (["--material", "--metallic"],
             "--material writes every map itself; give it without --metallic"),
            (["--occlusion", "--normal-y", "down"], "--normal-y needs --normal or --material"),
            (["--roughness", "--relief", "0.1"],
             "--relief needs --normal or --occlusion or --material"),
            (["--occlusion", "--bits", "16", "-o", "o.bmp"], "needs a PNG"),
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
                                 ["maps.recipe", "ramp.recipe", "recipe.recipe"])


class MaterialMapsTest(unittest.TestCase):
    """The roughness, metallic and occlusion maps, alone and in a material,
    and the engines' materials."""

    @classmethod
    def setUpClass(cls):
        cls.workdir = tempfile.mkdtemp(prefix="quiltor-maps-")
        with open(os.path.join(cls.workdir, "maps.recipe"), "w") as file:
            file.write(MAPS)
        cls.render_ok("maps.recipe", "--material", "-o", "m.png")
        cls.maps = {name: channels(os.path.join(cls.workdir, "m-%s.png" % name))[1][0]
                    for name in ("roughness", "metallic", "ao")}
        cls.maps["smoothness"] = bytes(255 - level for level in cls.maps["roughness"])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.workdir, True)

    @classmethod
    def render_ok(cls, *args):
        result = subprocess.run([RENDER] + list(args), cwd=cls.workdir, capture_output=True,
                                text=True, timeout=120, env=environment())
        if (result.returncode, result.stderr) != (0, ""):
            raise AssertionError("%s: %d %s" % (args, result.returncode, result.stderr))

    def path(self, name):
        return os.path.join(self.workdir, name)

    def same(self, a, b):
        return read_file(self.path(a)) == read_file(self.path(b))

    def test_each_map_alone_is_the_materials_file_of_its_slot_by_the_luma_rule(self):
        for option, slot, name in (("--roughness", "3", "roughness"),
                                   ("--metallic", "2", "metallic"),
                                   ("--occlusion", "4", "ao")):
            with self.subTest(option=option):
                self.render_ok("maps.recipe", option, "--slot", slot, "-o", name + ".png")
                self.assertTrue(self.same(name + ".png", "m-%s.png" % name))
                mode, (red, green, blue) = channels(self.path(name + ".png"))
                self.assertEqual((mode, red, green), ("RGB", blue, blue), "grey")
        # The three are of different slots and rules: a swapped pair shows.
        self.assertEqual(len({self.maps[name] for name in ("roughness", "metallic", "ao")}), 3)
        self.assertLess(min(self.maps["ao"]), 255, "the relief's pits are darker")
        # Roughness and metallic: the slot's luma of the depth-16 colours,
        # (int)(v x M + 0.5); at 16 bits the very heights --height writes.
        self.render_ok("maps.recipe", "--slot", "3", "--depth", "16", "--bits", "16",
                       "-o", "colours3.png")
        levels = [height_level(*colour) for colour in read_png_rgb16(self.path("colours3.png"))]
        eight = [int(sum(w * c for w, c in zip((0.2126, 0.7152, 0.0722), colour))
                     / 65535.0 * 255.0 + 0.5)
                 for colour in read_png_rgb16(self.path("colours3.png"))]
        self.assertEqual(list(self.maps["roughness"]), eight)
        self.render_ok("maps.recipe", "--roughness", "--slot", "3", "--bits", "16",
                       "-o", "r16.png")
        self.render_ok("maps.recipe", "--height", "--slot", "3", "-o", "h3.png")
        self.assertEqual(png_header(self.path("r16.png")), (16, 0))
        self.assertTrue(self.same("r16.png", "h3.png"))
        self.assertEqual([r for r, g, b in read_png_rgb16(self.path("r16.png"))], levels)
        # --relief shapes the occlusion alone as it does the material's.
        self.render_ok("maps.recipe", "--occlusion", "--slot", "4", "--relief", "0.08",
                       "-o", "relief-ao.png")
        self.render_ok("maps.recipe", "--material", "--relief", "0.08", "-o", "deep.png")
        self.assertTrue(self.same("relief-ao.png", "deep-ao.png"))
        self.assertFalse(self.same("relief-ao.png", "m-ao.png"))

    def test_without_roughness_or_metallic_slots_the_material_is_fully_rough_and_not_metal(self):
        with open(self.path("bare.recipe"), "w") as file:
            file.write(MAPS.replace("material height=4 roughness=3 metallic=2",
                                    "material height=4"))
        self.render_ok("bare.recipe", "--material", "-o", "bare.png")
        self.render_ok("bare.recipe", "--material", "--bits", "16", "-o", "bare16.png")
        for name, level, deep in (("roughness", 255, 65535), ("metallic", 0, 0)):
            self.assertEqual(set(channels(self.path("bare-%s.png" % name))[1][0]), {level})
            self.assertEqual(set(read_png_rgb16(self.path("bare16-%s.png" % name))),
                             {(deep, deep, deep)})
        self.assertTrue(self.same("bare-ao.png", "m-ao.png"), "the heights' slot is the same")

    def test_each_engines_packed_channel_is_its_own_map_and_its_normal_map_its_green(self):
        self.render_ok("maps.recipe", "--normal", "--slot", "4", "--normal-y", "down",
                       "-o", "down.png")
        for engine, (mark, expected) in PACKED.items():
            with self.subTest(engine=engine):
                self.render_ok("maps.recipe", "--material", "--for", engine, "-o", engine + ".png")
                self.assertEqual(sorted(n for n in os.listdir(self.workdir)
                                        if n.startswith(engine)),
                                 sorted([engine + ".png", engine + "-normal.png",
                                         engine + mark + ".png"]
                                        + ([engine + ".gltf"] if engine == "gltf" else [])))
                self.assertTrue(self.same(engine + ".png", "m.png"))
                normal = "down.png" if engine == "unreal" else "m-normal.png"
                self.assertTrue(self.same(engine + "-normal.png", normal), "its green")
                mode, found = channels(self.path(engine + mark + ".png"))
                self.assertEqual(mode, "RGBA" if len(expected) == 4 else "RGB")
                for index, map_name in enumerate(expected):
                    want = (bytes([map_name]) * len(found[index]) if isinstance(map_name, int)
                            else self.maps[map_name])
                    self.assertTrue(found[index] == want, "%s channel %d" % (engine, index))
        # --normal-y still decides.
        self.render_ok("maps.recipe", "--material", "--for", "unreal", "--normal-y", "up",
                       "-o", "up.png")
        self.assertTrue(self.same("up-normal.png", "m-normal.png"))

    def test_a_16_bit_packed_texture_holds_the_16_bit_maps(self):
        self.render_ok("maps.recipe", "--material", "--for", "godot", "--bits", "16",
                       "-o", "g16.png")
        self.render_ok("maps.recipe", "--material", "--bits", "16", "-o", "m16.png")
        self.assertEqual(png_header(self.path("g16-orm.png")), (16, 2))
        packed = read_png_rgb16(self.path("g16-orm.png"))
        for index, name in enumerate(("ao", "roughness", "metallic")):
            grey = [r for r, g, b in read_png_rgb16(self.path("m16-%s.png" % name))]
            self.assertEqual([pixel[index] for pixel in packed], grey, name)
        # The 8-bit maps are the 16-bit levels' own rule, not their reduction.
        self.assertTrue(self.same("g16.png", "m16.png"))

    def test_a_mask_above_the_windows_side_is_written_in_bands_with_its_alpha(self):
        self.render_ok("maps.recipe", "--material", "--for", "unity", "--size", "512",
                       "-o", "u512.png")
        self.render_ok("maps.recipe", "--material", "--size", "512", "-o", "m512.png")
        mode, (red, green, blue, alpha) = channels(self.path("u512-mask.png"))
        self.assertEqual(mode, "RGBA")
        self.assertTrue(red == channels(self.path("m512-metallic.png"))[1][0])
        self.assertTrue(green == channels(self.path("m512-ao.png"))[1][0])
        self.assertEqual(set(blue), {255})
        roughness = channels(self.path("m512-roughness.png"))[1][0]
        self.assertTrue(alpha == bytes(255 - level for level in roughness))

    def test_every_file_of_a_material_is_checked_before_the_replay(self):
        with open(self.path("endless.recipe"), "w") as file:
            file.write(ENDLESS)
        for args, folder in ((["--material"], "e-normal.png"), (["--material"], "e-ao.png"),
                             (["--material"], "e-height.png"),
                             (["--material", "--for", "gltf"], "e-orm.png"),
                             (["--material", "--for", "unity"], "e-mask.png")):
            with self.subTest(folder=folder):
                os.mkdir(self.path(folder))
                result = subprocess.run([RENDER, "endless.recipe", "-o", "e.png", "--size", "8192"]
                                        + args, cwd=self.workdir, capture_output=True, text=True,
                                        timeout=30, env=environment())
                os.rmdir(self.path(folder))
                self.assertEqual((result.returncode, result.stderr),
                                 (3, "Could not save %s: Is a directory\n" % folder))
                self.assertFalse([n for n in os.listdir(self.workdir) if n.startswith(("e.", "e-"))])

    def test_a_seed_gives_every_file_of_a_material_the_same_variation(self):
        self.render_ok("maps.recipe", "--material", "--seed", "77", "-o", "s.png")
        singles = [(["--slot", "1", "--depth", "16", "--bits", "8"], "s.png"),
                   (["--normal", "--slot", "4"], "s-normal.png"),
                   (["--height", "--slot", "4"], "s-height.png"),
                   (["--roughness", "--slot", "3"], "s-roughness.png"),
                   (["--metallic", "--slot", "2"], "s-metallic.png"),
                   (["--occlusion", "--slot", "4"], "s-ao.png")]
        for args, name in singles:
            with self.subTest(name=name):
                self.render_ok("maps.recipe", "--seed", "77", "-o", "one.png", *args)
                self.assertTrue(self.same("one.png", name))
                self.assertFalse(self.same(name, name.replace("s", "m", 1)),
                                 "the seed changes it")


if __name__ == "__main__":
    unittest.main()
