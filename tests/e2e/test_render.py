"""quiltor-render: a recipe rendered to a file with no display, and its failures."""

import hashlib
import os
import pty
import re
import resource
import shlex
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from harness import SDL_COMPAT_DIR, read_bmp24, read_file, read_png_rgb, sdl_compat_missing

RENDER = os.environ.get("QUILTOR_RENDER_BINARY", "quiltor-render")
REFERENCE = os.environ.get("QUILTOR_RENDER_REFERENCE", "render_reference")
# The renderer built without sanitizers, which a memory limit does not stop
# before main; empty when there is none.
PLAIN_RENDER = os.environ.get("QUILTOR_PLAIN_RENDER_BINARY", "")
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")

USAGE = ("usage: quiltor-render RECIPE [-o OUT] [--slot N] [--size N] [--format bmp|png] "
         "[--depth 8|16] [--bits 8|16] [--normal | --height | --roughness | --metallic | "
         "--occlusion | --material [--height-slot N] [--for gltf|unreal|unity|godot]] "
         "[--relief R] [--normal-y up|down] [--threads N] [--max-steps N] [--seed N] [--quiet]")
SIZES = "256, 512, 1024, 2048, 4096, 8192 or 16384"

# The steps render_reference does by direct engine calls, as a hand-written
# recipe: keys out of order, a comment, a seed, an undo, a repeat.
RECIPE = """quiltor recipe 1
# rows of cells on a light spot; the twirl is taken back

seed 7
cells target=2 nr=12 size=40
pong target=3 size=90
mix source=3 target=2 balance=100
twirl target=2 direction=40
undo
deform target=2 nrx=2 nry=3 sizex=12 sizey=5 repeat=2
colorize target=4 color1=40,10,0 color2=250,200,120
save target=4
save target=2
"""

EXAMPLE = os.path.join(ROOT, "docs", "example.recipe")

def sha256_of(path):
    return hashlib.sha256(read_file(path)).hexdigest()


def png_header(path):
    """A PNG's bit depth and colour type, from its IHDR chunk."""
    data = read_file(path)
    return data[24], data[25]


def read_png_rgb16(path):
    """Decodes a PNG, through ImageMagick, into a list of (red, green, blue)
    levels 0..65535; an 8-bit or grey PNG's as ImageMagick widens them."""
    raw = subprocess.run(["convert", "png:" + path, "-depth", "16", "-endian", "MSB", "rgb:-"],
                         capture_output=True, check=True, timeout=60).stdout
    levels = [int.from_bytes(raw[i:i + 2], "big") for i in range(0, len(raw), 2)]
    return [tuple(levels[i:i + 3]) for i in range(0, len(levels), 3)]


def reduced(level):
    """A 16-bit level to 8 bits, rounded to nearest."""
    return (level * 255 + 32767) // 65535


# A held twirl of a million frames: about an hour of work at 256.
ENDLESS = "quiltor recipe 1\ntwirl target=1 direction=64 repeat=1000000\nsave target=1\n"


def environment(**extra):
    """No display; and were the renderer to start SDL's video, it would have
    to use X11 and fail."""
    env = dict(os.environ, SDL_VIDEODRIVER="x11")
    env.pop("DISPLAY", None)
    env.update(extra)
    return env


def ignore_signals_and_limit_file_size():
    # A write past the limit then fails with EFBIG, as on a full disk.
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (1000, 1000))


class RenderCase(unittest.TestCase):
    """A working directory of its own, the window program's slots to compare
    with, and the renderer run in it."""

    @classmethod
    def setUpClass(cls):
        cls.expected = tempfile.mkdtemp(prefix="quiltor-render-reference-")
        subprocess.run([REFERENCE, cls.expected], check=True, timeout=60)
        os.mkdir(os.path.join(cls.expected, "512"))
        subprocess.run([REFERENCE, os.path.join(cls.expected, "512"), "512"], check=True,
                       timeout=120)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.expected, True)

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-render-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def path(self, name):
        return os.path.join(self.workdir, name)

    def reference(self, slot, side=256):
        folder = self.expected if side == 256 else os.path.join(self.expected, str(side))
        return read_file(os.path.join(folder, "slot%d.bmp" % slot))

    def write_recipe(self, name, text=RECIPE):
        with open(self.path(name), "w") as file:
            file.write(text)

    def render(self, *args, stdin=None, timeout=120, **options):
        return subprocess.run([RENDER] + list(args), cwd=self.workdir, input=stdin,
                              capture_output=True, text=True, timeout=timeout,
                              env=options.pop("env", environment()), **options)

    def assert_same(self, actual, expected, what):
        """Equal sequences; on failure names the first difference, not a whole diff."""
        if actual != expected:
            at = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b),
                      min(len(actual), len(expected)))
            self.fail("%s differs at %d (lengths %d and %d)" % (what, at, len(actual),
                                                                  len(expected)))

    def assert_renders_slot(self, name, slot, side=256):
        self.assert_same(read_file(self.path(name)), self.reference(slot, side),
                         "%s against slot %d" % (name, slot))

    def assert_rendered(self, result):
        self.assertEqual((result.returncode, result.stderr), (0, ""))


class RenderTest(RenderCase):
    def test_writes_the_last_save_lines_slot_as_the_window_program_would(self):
        self.write_recipe("brick.recipe")
        self.assert_rendered(self.render("brick.recipe"))
        self.assertEqual(sorted(os.listdir(self.workdir)), ["brick.bmp", "brick.recipe"])
        self.assert_renders_slot("brick.bmp", 2)

        # --slot overrides the save line; a name without .recipe gets .bmp added.
        self.write_recipe("stone")
        self.assert_rendered(self.render("stone", "--slot", "4"))
        self.assert_renders_slot("stone.bmp", 4)

        # An existing output is replaced.
        self.assert_rendered(self.render("--slot", "1", "-o", "brick.bmp", "brick.recipe"))
        self.assert_renders_slot("brick.bmp", 1)

        # --format png without -o names the picture .png.
        self.assert_rendered(self.render("brick.recipe", "--format", "png"))
        self.assertEqual(read_file(self.path("brick.png"))[:8], b"\x89PNG\r\n\x1a\n")

    def test_the_example_recipe_renders(self):
        example = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                               "example.recipe")
        self.assert_rendered(self.render(example, "-o", "example.bmp"))
        self.assertEqual(read_bmp24(self.path("example.bmp"))[:2], (256, 256))

    def skip_unless_sdl_compat(self):
        if not SDL_COMPAT_DIR:
            self.skipTest("the tests on SDL 1.2 over SDL 2 are off")
        missing = sdl_compat_missing()
        if missing:
            self.skipTest(missing)

    def test_sdl_1_2_over_sdl_2_writes_the_same_bytes(self):
        self.skip_unless_sdl_compat()
        compat = environment(LD_LIBRARY_PATH=SDL_COMPAT_DIR)
        # The process is gone before it could be looked at: ask the loader.
        libraries = subprocess.run(["ldd", RENDER], env=compat, capture_output=True, text=True,
                                   check=True, timeout=60).stdout
        self.assertIn(os.path.join(SDL_COMPAT_DIR, "libSDL-1.2.so"), libraries)
        self.write_recipe("brick.recipe")
        result = self.render("brick.recipe", "-o", "compat.bmp", env=compat)
        self.assert_rendered(result)
        self.assert_renders_slot("compat.bmp", 2)

    def test_renders_at_512_the_same_bytes_on_both_sdl_builds(self):
        self.write_recipe("brick.recipe")
        self.assert_rendered(self.render("brick.recipe", "--size", "512", "-o", "classic.bmp"))
        self.assertEqual(read_bmp24(self.path("classic.bmp"))[:2], (512, 512))
        self.assert_renders_slot("classic.bmp", 2, 512)
        self.skip_unless_sdl_compat()
        compat = environment(LD_LIBRARY_PATH=SDL_COMPAT_DIR)
        self.assert_rendered(self.render("brick.recipe", "--size", "512", "-o", "compat.bmp",
                                         env=compat))
        self.assert_same(read_file(self.path("compat.bmp")), read_file(self.path("classic.bmp")),
                         "the compat build's BMP")

    def test_size_256_is_the_default_and_threads_change_no_byte(self):
        self.write_recipe("brick.recipe")
        self.assert_rendered(self.render("brick.recipe", "--size", "256", "-o", "sized.bmp"))
        self.assert_renders_slot("sized.bmp", 2)
        for threads in ("1", "3"):
            self.assert_rendered(self.render("brick.recipe", "--size", "1024", "--threads",
                                             threads, "-o", "t%s.png" % threads))
        self.assert_same(read_file(self.path("t1.png")), read_file(self.path("t3.png")),
                         "the PNG on three threads")

    def test_steps_that_never_reach_the_saved_slot_change_nothing(self):
        # Work on the other slots, and on slot 2 itself before a generator
        # overwrites it: none of it reaches slot 2, but the cells and the
        # plasma still draw their random numbers.
        extra = RECIPE.replace(
            "cells target=2 nr=12 size=40\n",
            "twirl target=2 direction=90 repeat=4\nplasma target=1 variation=30\n"
            "cells target=2 nr=12 size=40\ndeform target=1 nrx=9 nry=9 sizex=40 sizey=40 "
            "repeat=3\ncells target=4 nr=50 size=90\n")
        without = RECIPE.replace(
            "cells target=2 nr=12 size=40\n",
            "plasma target=1 variation=30\ncells target=2 nr=12 size=40\n"
            "cells target=4 nr=50 size=90\n")
        self.write_recipe("extra.recipe", extra)
        self.write_recipe("without.recipe", without)
        for name in ("extra", "without"):
            self.assert_rendered(self.render(name + ".recipe", "--size", "512", "--slot", "2"))
        self.assert_same(read_file(self.path("extra.bmp")), read_file(self.path("without.bmp")),
                         "the render with extra steps")

    def test_a_size_whose_memory_cannot_be_had_exits_with_3(self):
        if not PLAIN_RENDER:
            self.skipTest("no renderer built without sanitizers")
        self.write_recipe("brick.recipe")

        def limit_memory():
            resource.setrlimit(resource.RLIMIT_AS, (512 << 20, 512 << 20))

        result = subprocess.run([PLAIN_RENDER, "brick.recipe", "--size", "8192", "-o", "out.bmp"],
                                cwd=self.workdir, capture_output=True, text=True, timeout=120,
                                env=environment(), preexec_fn=limit_memory)
        self.assert_fails(result, 3, "Could not render out.bmp at 8192\u00d78192: "
                          "not enough memory (needs 1.5 GiB)")
        # 16 bits per channel need twice as much.
        result = subprocess.run([PLAIN_RENDER, "brick.recipe", "--size", "8192", "--depth", "16",
                                 "-o", "out.png"], cwd=self.workdir, capture_output=True,
                                text=True, timeout=120, env=environment(),
                                preexec_fn=limit_memory)
        self.assert_fails(result, 3, "Could not render out.png at 8192\u00d78192: "
                          "not enough memory (needs 3.0 GiB)")
        self.assertEqual(sorted(os.listdir(self.workdir)), ["brick.recipe"])

    def render_on_a_terminal(self, *args):
        """Runs the renderer with standard error on a pseudo-terminal; returns
        its status and what it wrote there."""
        controller, terminal = pty.openpty()
        try:
            process = subprocess.Popen([RENDER] + list(args), cwd=self.workdir,
                                       stdout=subprocess.DEVNULL, stderr=terminal,
                                       env=environment())
            os.close(terminal)
            shown = b""
            while True:
                try:
                    chunk = os.read(controller, 4096)
                except OSError:  # the terminal closed with the process
                    break
                if not chunk:
                    break
                shown += chunk
            return process.wait(timeout=300), shown.decode()
        finally:
            os.close(controller)

    def test_a_long_render_shows_its_progress_on_a_terminal_only(self):
        # Seconds of twirling, well past the half second a line waits for;
        # the start-up cells it twirls are the first step.
        self.write_recipe("long.recipe", "quiltor recipe 1\ntwirl target=1 direction=64 "
                          "repeat=10\ninvert target=1\nsave target=1\n")
        recipe = self.path("long.recipe")
        status, shown = self.render_on_a_terminal(recipe, "--size", "2048", "-o", "big.png")
        self.assertEqual(status, 0, shown)
        self.assertIn("\rquiltor-render: 2048\u00d72048, step 2 of 3: twirl, ", shown)
        self.assertRegex(shown, r"step 2 of 3: twirl, \d+%\x1b\[K")
        self.assertTrue(shown.endswith("\r\x1b[K"), repr(shown[-40:]))
        self.assertNotIn("\n", shown)
        status, shown = self.render_on_a_terminal(recipe, "--size", "2048", "-o", "big.png",
                                                  "--quiet")
        self.assertEqual((status, shown), (0, ""))
        # Not a terminal: nothing at all.
        self.assert_rendered(self.render(recipe, "--size", "2048", "-o", "big.png"))

    def test_writing_the_picture_shows_the_rows_written(self):
        # A noisy plasma, whose PNG takes longer to encode than to render. On
        # one thread: bands compressed on every thread of a large machine
        # could go into the file between two showings of the line.
        self.write_recipe("clouds.recipe", "quiltor recipe 1\nplasma target=1 variation=90\n"
                          "save target=1\n")
        status, shown = self.render_on_a_terminal(self.path("clouds.recipe"), "--size", "4096",
                                                  "--threads", "1", "-o", "big.png")
        self.assertEqual(status, 0, shown)
        rows = re.findall(r"4096\u00d74096, writing big\.png, (\d+) of 4096 rows, \d+%\x1b\[K",
                          shown)
        self.assertGreaterEqual(len(set(rows)), 2, repr(shown))
        self.assertEqual([int(row) for row in rows], sorted(int(row) for row in rows))

    def test_max_steps_refuses_a_recipe_that_would_run_more_operations(self):
        self.write_recipe("endless.recipe", ENDLESS)
        self.write_recipe("brick.recipe")
        started = time.monotonic()
        self.assert_fails(self.render("endless.recipe", "--max-steps", "300", timeout=30), 4,
                          "endless.recipe would run 1000001 operations, more than the 300 that "
                          "--max-steps allows")
        self.assertLess(time.monotonic() - started, 10)
        # Only what the slot's plan runs counts: the cells, the light spot, the
        # mix and the deform twice, not the undone twirl.
        self.assert_fails(self.render("brick.recipe", "--max-steps", "4"), 4,
                          "brick.recipe would run 5 operations, more than the 4 that "
                          "--max-steps allows")
        self.assert_fails(self.render("-", "-o", "out.bmp", "--max-steps", "1", stdin=RECIPE), 4,
                          "<stdin> would run 5 operations, more than the 1 that "
                          "--max-steps allows")
        self.assertEqual(sorted(os.listdir(self.workdir)), ["brick.recipe", "endless.recipe"])
        self.assert_rendered(self.render("brick.recipe", "--max-steps", "5"))
        self.assert_renders_slot("brick.bmp", 2)

    def test_reads_standard_input_and_writes_png_with_the_same_pixels(self):
        self.assert_rendered(self.render("-", "-o", "out.PNG", stdin=RECIPE))
        png = read_file(self.path("out.PNG"))
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        decoded = read_png_rgb(self.path("out.PNG"))
        width, height, expected = read_bmp24(os.path.join(self.expected, "slot2.bmp"))
        self.assertEqual((width, height), (256, 256))
        self.assert_same(decoded, expected, "the PNG's pixels")

    def test_help_prints_the_usage_wherever_it_stands(self):
        for args in (["--help"], ["missing.recipe", "-o", "x.jpg", "--help"]):
            with self.subTest(args=args):
                result = self.render(*args)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout.splitlines()[0], USAGE)
                self.assertIn("save target=", result.stdout)

    def test_help_is_the_golden_copy_byte_for_byte(self):
        # Continued lines of an option start under its text's first line.
        result = subprocess.run([RENDER, "--help"], cwd=self.workdir, capture_output=True,
                                timeout=60, env=environment())
        self.assertEqual((result.returncode, result.stderr), (0, b""))
        golden = read_file(os.path.join(ROOT, "tests", "e2e", "render-help.txt"))
        self.assertEqual(result.stdout.decode(), golden.decode())

    def test_a_double_dash_ends_the_options(self):
        self.write_recipe("-brick.recipe")
        self.assert_rendered(self.render("--", "-brick.recipe"))
        self.assert_renders_slot("-brick.bmp", 2)
        # Before it, the same name is an option, and --help after it a name.
        self.assert_fails(self.render("-brick.recipe"), 1)
        self.assert_fails(self.render("--", "-brick.recipe", "--help"), 1, "quiltor-render: "
                          "one RECIPE only, not also '--help'; " + USAGE)

    def test_the_manual_and_the_readme_name_the_options_the_program_declares(self):
        usage = self.render("--help").stdout.splitlines()[0]
        # "[--normal | --height | --material [--height-slot N]]": each option
        # with its value, a lone "|" being no value.
        options = usage.split(" RECIPE ", 1)[1]
        declared = re.findall(r"(--?[a-z][a-z-]*(?: [A-Za-z0-9][A-Za-z0-9|]*)?)", options)
        declared = ["RECIPE"] + declared + ["--help, -h"]
        self.assertEqual(declared[1:3], ["-o OUT", "--slot N"])

        # The tag after each .TP of the manual page's OPTIONS section.
        manual = read_file(os.path.join(ROOT, "data", "quiltor-render.1")).decode()
        section = manual.split("\n.SH OPTIONS\n", 1)[1].split("\n.SH ", 1)[0].split("\n")
        tags = [section[i + 1] for i, line in enumerate(section[:-1]) if line == ".TP"]
        # A font macro's arguments run together; shlex takes the quotes and
        # the backslash of "\-" away.
        named = ["".join(shlex.split(tag)[1:]) for tag in tags]
        self.assertEqual(named, declared, "data/quiltor-render.1")

        # The README's synopsis, its lines joined.
        readme = read_file(os.path.join(ROOT, "README.md")).decode()
        start = readme.index("\n    quiltor-render RECIPE ")
        block = readme[start:readme.index("\n\n", start)]
        self.assertEqual("usage: " + " ".join(block.split()), usage, "README.md")

    def assert_fails(self, result, status, message=None):
        """One line on stderr, the given status, and nothing new in the directory."""
        self.assertEqual(result.returncode, status, result.stderr)
        self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
        if message is not None:
            self.assertEqual(result.stderr, message + "\n")
        self.assertEqual(result.stdout, "")

    def test_bad_usage_exits_with_1_and_writes_nothing(self):
        self.write_recipe("brick.recipe")
        self.write_recipe("nosave.recipe", RECIPE.replace("save target=4\nsave target=2\n", ""))
        cases = [
            ([], USAGE),
            (["brick.recipe", "other.recipe"], USAGE),
            (["brick.recipe", "--width", "3"], USAGE),
            (["brick.recipe", "--size", "300"], SIZES),
            (["brick.recipe", "--size", "128"], SIZES),
            (["brick.recipe", "--size", "32768"], SIZES),
            (["brick.recipe", "--size", "1k"], SIZES),
            # Multiples of 256 that are no power of two.
            (["brick.recipe", "--size", "768"], SIZES),
            (["brick.recipe", "--size", "12288"], SIZES),
            (["brick.recipe", "--depth", "12"], "--depth takes 8 or 16, not '12'"),
            (["brick.recipe", "--depth", "016"], "--depth takes 8 or 16"),
            (["brick.recipe", "--bits", "24"], "--bits takes 8 or 16, not '24'"),
            (["brick.recipe", "--depth", "16", "--depth", "16"], "twice"),
            (["brick.recipe", "--bits", "16", "-o", "out.png"], "--bits 16 needs --depth 16"),
            (["brick.recipe", "--depth", "8", "--bits", "16", "-o", "o.png"], "needs --depth 16"),
            (["brick.recipe", "--depth", "16", "--bits", "16"], "needs a PNG"),
            (["brick.recipe", "--depth", "16", "--bits", "16", "-o", "o.png", "--format", "bmp"],
             "needs a PNG"),
            (["brick.recipe", "--size", "512", "--size", "512"], "twice"),
            (["brick.recipe", "--threads", "0"], "1..256"),
            (["brick.recipe", "--format", "jpg"], "bmp or png"),
            (["brick.recipe", "--max-steps", "0"], "1..999999999"),
            (["brick.recipe", "--max-steps", "-5"], "1..999999999"),
            (["brick.recipe", "-o"], USAGE),
            (["brick.recipe", "--slot"], USAGE),
            (["brick.recipe", "--slot", "0"], "1..4"),
            (["brick.recipe", "--slot", "5"], "1..4"),
            (["brick.recipe", "-o", "out.jpg"], ".bmp or .png"),
            (["brick.recipe", "-o", "out.bmp.txt"], ".bmp or .png"),
            (["-"], "-o"),
            (["nosave.recipe"], "save"),
        ]
        for args, mentioned in cases:
            with self.subTest(args=args):
                result = self.render(*args, stdin=RECIPE)
                self.assert_fails(result, 1)
                self.assertIn(mentioned, result.stderr)
                self.assertEqual(sorted(os.listdir(self.workdir)),
                                 ["brick.recipe", "nosave.recipe"])
        # With --slot the same recipe renders.
        self.assert_rendered(self.render("nosave.recipe", "--slot", "2"))
        self.assert_renders_slot("nosave.bmp", 2)

    def test_a_bad_recipe_exits_with_4_and_the_readers_message(self):
        self.write_recipe("bad.recipe", RECIPE.replace("balance=100", "balance=300"))
        os.mkdir(self.path("folder.recipe"))
        self.assert_fails(self.render("bad.recipe"), 4,
                          "bad.recipe:7: balance=300 is outside 0..256")
        from_stdin = self.render("-", "-o", "out.bmp", stdin="quiltor recipe 2\n")
        self.assert_fails(from_stdin, 4)
        self.assertTrue(from_stdin.stderr.startswith("<stdin>:1: "), from_stdin.stderr)
        self.assert_fails(self.render("missing.recipe"), 4,
                          "Could not read missing.recipe: No such file or directory")
        self.assert_fails(self.render("folder.recipe"), 4,
                          "Could not read folder.recipe: Is a directory")
        self.assertEqual(sorted(os.listdir(self.workdir)), ["bad.recipe", "folder.recipe"])

    def test_an_output_that_cannot_be_written_exits_with_3_and_keeps_the_old_file(self):
        self.write_recipe("brick.recipe")
        self.assert_fails(self.render("brick.recipe", "-o", "gone/out.bmp"), 3,
                          "Could not save gone/out.bmp: No such file or directory")

        # Found before the work: a render of an hour fails at once.
        self.write_recipe("endless.recipe", ENDLESS)
        os.mkdir(self.path("folder.png"))
        for output, reason in (("gone/out.png", "No such file or directory"),
                               ("folder.png", "Is a directory"),
                               ("brick.recipe/out.bmp", "Not a directory")):
            with self.subTest(output=output):
                result = self.render("endless.recipe", "-o", output, "--size", "16384", timeout=30)
                self.assert_fails(result, 3, "Could not save %s: %s" % (output, reason))
        self.assertEqual(sorted(os.listdir(self.path("folder.png"))), [])
        os.rmdir(self.path("folder.png"))
        os.remove(self.path("endless.recipe"))

        with open(self.path("brick.png"), "wb") as file:
            file.write(b"previous")
        for name in ("brick.bmp", "brick.png"):
            with self.subTest(name=name):
                result = self.render("brick.recipe", "-o", name,
                                     preexec_fn=ignore_signals_and_limit_file_size)
                self.assert_fails(result, 3, "Could not save %s: File too large" % name)
                self.assertEqual(sorted(os.listdir(self.workdir)), ["brick.png", "brick.recipe"])
                self.assertEqual(read_file(self.path("brick.png")), b"previous")


if __name__ == "__main__":
    unittest.main()
