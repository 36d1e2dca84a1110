"""The Windows build under Wine: quiltor.exe in a private X server against the
Linux build's window and files, its message boxes, quiltor-render.exe
against the Linux renderer, and the zip a Windows user is handed."""

import os
import shutil
import subprocess
import tempfile
import unittest
import zipfile

import harness
from harness import (CELLS, PLASMA, PONG, SAVE, SOURCE, TARGET, ADD, INVERT, ProgramTest,
                     read_file, read_png_rgb, wait_for)

WINDOWS_BIN = os.environ.get("QUILTOR_WINDOWS_BIN", ".")
WINE_RUN = os.environ.get("QUILTOR_WINE_RUN", "wine-run.sh")
WINDOW_TEXTS = os.environ.get("QUILTOR_WINDOW_TEXTS", "window_texts.exe")
ZIP = os.environ.get("QUILTOR_WINDOWS_ZIP", "")
LINUX_BINARY = os.environ.get("QUILTOR_LINUX_BINARY", "quiltor")
LINUX_RENDER = os.environ.get("QUILTOR_LINUX_RENDER_BINARY", "quiltor-render")
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
EXAMPLE = os.path.join(ROOT, "docs", "example.recipe")

START_FRAME_DIGEST = 0x08D2BD65B67EE604
# Target 3, the light spot's size up three times, colour 2's red bar.
PANEL_CLICKS = [(540, 45), (675, 126), (675, 126), (675, 126), (740, 305), (600, 318)]
PANEL_FRAME_DIGEST = 0x8AC47C2D8DBCDEDD
# Presses without trigonometry; the sine, twirl and deform are compared with
# the Linux build's in test_windows_same_bytes.
SESSION = [CELLS, TARGET[2], PLASMA, TARGET[3], PONG, SOURCE[2], ADD, TARGET[1], INVERT]

BAD_RECIPE = "quiltor recipe 1\nseed 3\nmix target=1 source=2 balance=300\n"
# Operations without trigonometry, at depth 16 too.
NO_TRIGONOMETRY_RECIPE = """quiltor recipe 1
seed 5
plasma target=1 variation=9
cells target=2 nr=15 size=45
pong target=3 size=120
mix target=1 source=2 balance=100
add target=1 source=3
move target=1 x=7 y=-3
invert target=4
max target=1 source=4
colorize target=1 color1=30,20,60 color2=250,210,90
save target=1
"""
BAD_RECIPE_MESSAGE = "bad.recipe:3: balance=300 is outside 0..256"


def windows_program(name):
    return os.path.join(WINDOWS_BIN, name)


def frame_digest(rgb):
    """The 64-bit FNV-1a digest the unit tests pin: each pixel's four bytes
    (blue, green, red, 0) in row order."""
    digest = 0xCBF29CE484222325
    for at in range(0, len(rgb), 3):
        for byte in (rgb[at + 2], rgb[at + 1], rgb[at], 0):
            digest = ((digest ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return digest


def run_wine(args, timeout=120, **options):
    return subprocess.run([WINE_RUN] + list(args), capture_output=True, text=True,
                          timeout=timeout, **options)


def windows_window_command(*args, folder=WINDOWS_BIN):
    """The command line that starts quiltor.exe from `folder` under Wine."""
    return [WINE_RUN, os.path.join(folder, "quiltor.exe")] + list(args)


def start_windows(test, *args, folder=WINDOWS_BIN, workdir=None):
    """quiltor.exe from `folder`, under Wine on the test's X server."""
    return test.start_program(command=windows_window_command(*args, folder=folder),
                              workdir=workdir, check_sdl=False, window_timeout=60)


def pe_field(path, offset, size):
    """A little-endian field at `offset` from the program's PE signature."""
    data = read_file(path)
    header = int.from_bytes(data[0x3C:0x40], "little")
    if data[header:header + 4] != b"PE\0\0":
        raise AssertionError("%s is no Windows program" % path)
    return int.from_bytes(data[header + offset:header + offset + size], "little")


def pe_subsystem(path):
    """2 for a windowed program, 3 for a console one."""
    return pe_field(path, 0x5C, 2)


def pe_symbol_count(path):
    """The entries of the COFF symbol table: 0 once stripped."""
    return pe_field(path, 0x10, 4)


class WindowsProgramTest(ProgramTest):
    """quiltor.exe under Wine, and beside it the Linux build where the two are compared."""

    def start_linux(self):
        """The Linux build in an X server of its own, so that each program's
        window is the only one named Quiltor on its server."""
        server = harness.XServer()
        self.addCleanup(server.stop)
        program = harness.Program(server, binary=LINUX_BINARY)
        self.addCleanup(program.stop)
        self.addCleanup(shutil.rmtree, program.workdir, True)
        return program

    def box_texts(self, caption, timeout=30):
        """What the message box with this caption shows, as (class, text, icon) rows."""
        def texts():
            result = run_wine([WINDOW_TEXTS, caption], env=self.server.env(), timeout=60)
            return result.stdout if result.returncode == 0 else None
        lines = wait_for(texts, timeout, "a box captioned %s" % caption, interval=0.2)
        return [tuple(line.split("|")) for line in lines.splitlines()]

    def press_enter_in_box(self, caption, besides=None):
        """Enter, given to the X window of the box with this caption."""
        def box():
            found = self.xdotool_search(caption)
            return [window for window in found if window != besides]
        window = wait_for(box, 30, "the X window of the box %s" % caption, interval=0.2)[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "Return"],
                       env=self.server.env(), check=True, timeout=60)

    def xdotool_search(self, caption):
        result = subprocess.run(["xdotool", "search", "--name", "^%s$" % caption],
                                env=self.server.env(), capture_output=True, text=True,
                                timeout=60)
        return result.stdout.split()

    def test_frames_match_the_pins_and_the_linux_build(self):
        program = start_windows(self)
        self.assertEqual(hex(frame_digest(program.capture())), hex(START_FRAME_DIGEST))
        for point in PANEL_CLICKS:
            program.click(point)
        self.assertEqual(hex(frame_digest(program.settled_capture())),
                         hex(PANEL_FRAME_DIGEST))

        linux = self.start_linux()
        for point in PANEL_CLICKS + SESSION:
            linux.click(point)
        for point in SESSION:
            program.click(point)
        windows_frame = program.settled_capture()
        self.assertNotEqual(frame_digest(windows_frame), PANEL_FRAME_DIGEST)
        self.assertTrue(windows_frame == linux.settled_capture(), "the frames differ")
        # The tiled view, by its key.
        program.key("t")
        linux.key("t")
        tiled_frame = program.settled_capture()
        self.assertNotEqual(tiled_frame, windows_frame)
        self.assertTrue(tiled_frame == linux.settled_capture(), "the tiled views differ")
        # The lit view: slot 1's colours as the relief of slot 2's plasma,
        # lit from the same arithmetic on both systems. T leaves it for the
        # tiled view, and L from there back to the lit view and then to the
        # four slots.
        program.key("l")
        linux.key("l")
        for shown in (program, linux):
            self.wait_for_frame(shown, lambda rgb: rgb != tiled_frame, "the lit view", timeout=30)
        lit_frame = program.settled_capture()
        self.assertNotEqual(lit_frame, windows_frame)
        self.assertTrue(lit_frame == linux.settled_capture(), "the lit views differ")
        for key, frame, what in (("t", tiled_frame, "T from the lit view"),
                                 ("l", lit_frame, "L from the tiled view"),
                                 ("l", windows_frame, "L from the lit view")):
            program.key(key)
            self.wait_for_frame(program, lambda rgb, frame=frame: rgb == frame, what, timeout=30)

    def session_files(self, program):
        for point in SESSION:
            program.click(point)
        program.key("ctrl+s")
        wait_for(lambda: os.path.exists(os.path.join(program.workdir, "texture000.bmp")), 30,
                 "texture000.bmp")
        program.key("ctrl+shift+s")
        recipe = os.path.join(program.workdir, "texture001.recipe")
        wait_for(lambda: os.path.exists(recipe), 30, "texture001.recipe")
        program.key("Escape")
        self.assertEqual(program.wait_for_exit(30), 0)
        return {name: read_file(os.path.join(program.workdir, name))
                for name in sorted(os.listdir(program.workdir))}

    def test_saves_the_linux_builds_files_and_escape_quits(self):
        windows_files = self.session_files(start_windows(self))
        linux_files = self.session_files(self.start_linux())
        self.assertEqual(sorted(windows_files),
                         ["texture000.bmp", "texture001.bmp", "texture001.recipe"])
        self.assertEqual(sorted(windows_files), sorted(linux_files))
        for name in windows_files:
            with self.subTest(name=name):
                self.assertTrue(windows_files[name] == linux_files[name], name + " differs")
        # The recipe saved on Windows renders, on Linux, to the saved picture.
        workdir = tempfile.mkdtemp(prefix="quiltor-windows-recipe-")
        self.addCleanup(shutil.rmtree, workdir, True)
        with open(os.path.join(workdir, "t.recipe"), "wb") as file:
            file.write(windows_files["texture001.recipe"])
        subprocess.run([LINUX_RENDER, "t.recipe"], cwd=workdir, check=True, timeout=60)
        self.assertTrue(read_file(os.path.join(workdir, "t.bmp")) == windows_files["texture001.bmp"])

    def test_the_close_box_quits_with_status_zero(self):
        program = start_windows(self)
        subprocess.run([harness.CLOSE_TOOL, program.window], env=self.server.env(), check=True,
                       timeout=30)
        self.assertEqual(program.wait_for_exit(30), 0)

    def test_a_failed_save_shows_a_box_and_the_window_goes_on(self):
        program = start_windows(self)
        os.mkdir(os.path.join(program.workdir, "texture000.bmp"))
        program.click(CELLS)
        program.click(SAVE)
        texts = self.box_texts("Quiltor")
        self.assertIn("error icon", [row[2] for row in texts])
        shown = [row[1] for row in texts if row[0] == "Static" and row[1]]
        self.assertEqual(len(shown), 1, texts)
        self.assertTrue(shown[0].startswith("Could not save texture000.bmp: "), shown)
        self.press_enter_in_box("Quiltor", besides=program.window)
        wait_for(lambda: len(self.xdotool_search("Quiltor")) == 1, 30, "the box to close")
        os.rmdir(os.path.join(program.workdir, "texture000.bmp"))
        program.click(SAVE)
        wait_for(lambda: os.path.isfile(os.path.join(program.workdir, "texture000.bmp")), 30,
                 "the second save")
        self.assertIsNone(program.process.poll())

    def run_until_box(self, args, caption, env=None, workdir=None):
        """Starts quiltor.exe, which is to show a box and exit; returns
        what the box showed and the status after Enter."""
        process = subprocess.Popen(windows_window_command(*args),
                                   env=env or self.server.env(), cwd=workdir,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(harness.stop_process, process)
        texts = self.box_texts(caption)
        self.press_enter_in_box(caption)
        return texts, process.wait(timeout=30)

    def test_a_start_up_failure_shows_the_error_box_and_exits_with_1(self):
        texts, status = self.run_until_box([], "Error",
                                           env=self.server.env(SDL_VIDEODRIVER="nothing"))
        self.assertEqual(sorted(texts), sorted([("Button", "OK", ""), ("Static", "", "error icon"),
                                                ("Static", "Error!", "")]))
        self.assertEqual(status, 1)

    def test_a_recipe_that_cannot_be_used_shows_a_box_and_exits_with_4(self):
        workdir = tempfile.mkdtemp(prefix="quiltor-windows-bad-")
        self.addCleanup(shutil.rmtree, workdir, True)
        with open(os.path.join(workdir, "bad.recipe"), "w") as file:
            file.write(BAD_RECIPE)
        texts, status = self.run_until_box(["bad.recipe"], "Quiltor", workdir=workdir)
        self.assertIn(("Static", BAD_RECIPE_MESSAGE, ""), texts)
        self.assertIn("error icon", [row[2] for row in texts])
        self.assertEqual(status, 4)

    def test_a_recipe_in_a_folder_with_greek_and_japanese_letters_opens(self):
        workdir = tempfile.mkdtemp(prefix="quiltor-windows-names-")
        self.addCleanup(shutil.rmtree, workdir, True)
        folder = os.path.join(workdir, "υφές 模様")
        os.mkdir(folder)
        shutil.copy(EXAMPLE, os.path.join(folder, "μάρμαρο.recipe"))
        name = os.path.join("υφές 模様", "μάρμαρο.recipe")
        program = start_windows(self, name, workdir=workdir)
        subprocess.run([LINUX_RENDER, EXAMPLE, "-o", os.path.join(workdir, "linux.bmp")],
                       check=True, timeout=60)
        expected = harness.read_bmp24(os.path.join(workdir, "linux.bmp"))[2]
        with open(EXAMPLE) as recipe:
            slot = int(recipe.read().split("save target=")[-1].split()[0]) - 1
        self.assertEqual(harness.slot_region(program.settled_capture(), slot), expected)

    def test_follows_its_recipe_through_an_in_place_and_a_renamed_over_save(self):
        """The folder's change notification under Wine: each save reloads to
        the frame the Linux build shows when started on the new text."""
        workdir = tempfile.mkdtemp(prefix="quiltor-windows-live-")
        self.addCleanup(shutil.rmtree, workdir, True)
        path = os.path.join(workdir, "live.recipe")
        with open(path, "w") as file:
            file.write(NO_TRIGONOMETRY_RECIPE)
        program = start_windows(self, "live.recipe", workdir=workdir)
        shown = program.settled_capture()
        linux_workdir = tempfile.mkdtemp(prefix="quiltor-windows-live-linux-")
        self.addCleanup(shutil.rmtree, linux_workdir, True)
        variations = (("in place", "seed 5", "seed 6"), ("renamed over", "size=120", "size=90"))
        text = NO_TRIGONOMETRY_RECIPE
        for way, old, new in variations:
            with self.subTest(way=way):
                text = text.replace(old, new)
                if way == "in place":
                    with open(path, "w") as file:
                        file.write(text)
                else:
                    with open(path + ".tmp", "w") as file:
                        file.write(text)
                    os.replace(path + ".tmp", path)
                with open(os.path.join(linux_workdir, "live.recipe"), "w") as file:
                    file.write(text)
                server = harness.XServer()
                self.addCleanup(server.stop)
                linux = harness.Program(server, binary=LINUX_BINARY, workdir=linux_workdir,
                                        command=[LINUX_BINARY, "live.recipe"])
                self.addCleanup(linux.stop)
                expected = linux.settled_capture()
                self.assertNotEqual(expected, shown)
                shown = self.wait_for_frame(program, lambda rgb: rgb == expected, way, timeout=60)


class WindowsRenderTest(unittest.TestCase):
    """quiltor-render.exe, a console program, against the Linux renderer."""

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-windows-render-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def path(self, name):
        return os.path.join(self.workdir, name)

    def render_both(self, *args):
        """Renders with both renderers in the work folder, OUT standing for
        "windows" in the one's arguments and "linux" in the other's."""
        windows = run_wine([windows_program("quiltor-render.exe")]
                           + [arg.replace("OUT", "windows") for arg in args], cwd=self.workdir)
        self.assertEqual((windows.returncode, windows.stderr), (0, ""))
        linux = subprocess.run([LINUX_RENDER] + [arg.replace("OUT", "linux") for arg in args],
                               cwd=self.workdir, capture_output=True, text=True, timeout=120)
        self.assertEqual((linux.returncode, linux.stderr), (0, ""))

    def test_renders_the_example_as_the_linux_renderer_does(self):
        shutil.copy(EXAMPLE, self.path("example.recipe"))
        for size in ("256", "512"):
            with self.subTest(size=size):
                self.render_both("example.recipe", "--size", size, "-o", "OUT.bmp")
                self.assertTrue(read_file(self.path("windows.bmp")) == read_file(self.path("linux.bmp")))
                self.render_both("example.recipe", "--size", size, "-o", "OUT.png")
                self.assertEqual(read_png_rgb(self.path("windows.png")),
                                 read_png_rgb(self.path("linux.png")))
                self.assertEqual(len(read_png_rgb(self.path("windows.png"))), int(size) ** 2)

    def test_a_bad_recipe_gives_the_same_message_and_status_4(self):
        with open(self.path("bad.recipe"), "w") as file:
            file.write(BAD_RECIPE)
        windows = run_wine([windows_program("quiltor-render.exe"), "bad.recipe"],
                           cwd=self.workdir)
        linux = subprocess.run([LINUX_RENDER, "bad.recipe"], cwd=self.workdir,
                               capture_output=True, text=True, timeout=60)
        self.assertEqual((windows.returncode, windows.stderr.replace("\r\n", "\n")),
                         (4, BAD_RECIPE_MESSAGE + "\n"))
        self.assertEqual((linux.returncode, linux.stderr), (4, BAD_RECIPE_MESSAGE + "\n"))
        self.assertEqual(sorted(os.listdir(self.workdir)), ["bad.recipe"])

    def test_a_depth_16_render_without_trigonometry_is_the_linux_builds_bytes(self):
        with open(self.path("deep.recipe"), "w") as file:
            file.write(NO_TRIGONOMETRY_RECIPE)
        for extension in (".png", ".bmp"):
            with self.subTest(extension=extension):
                self.render_both("deep.recipe", "--size", "512", "--depth", "16", "-o",
                                 "OUT" + extension)
                windows = read_file(self.path("windows" + extension))
                self.assertTrue(windows == read_file(self.path("linux" + extension)))
        # 16-bit RGB samples.
        self.assertEqual(read_file(self.path("windows.png"))[24:26], b"\x10\x02")

    def test_pngs_in_many_bands_are_the_linux_builds_bytes_on_any_number_of_threads(self):
        # At 2048 every PNG is compressed in many bands: colours with 16 bits
        # and with 8, and 16-bit grey heights, on three threads under Wine
        # and one on Linux.
        with open(self.path("deep.recipe"), "w") as file:
            file.write(NO_TRIGONOMETRY_RECIPE)
        for name, options in (("colours16", ["--depth", "16"]), ("colours8", []),
                              ("heights", ["--height"])):
            with self.subTest(kind=name):
                args = ["deep.recipe", "--size", "2048"] + options
                windows = run_wine([windows_program("quiltor-render.exe")] + args
                                   + ["--threads", "3", "-o", "windows.png"], cwd=self.workdir,
                                   timeout=240)
                self.assertEqual((windows.returncode, windows.stderr), (0, ""))
                linux = subprocess.run([LINUX_RENDER] + args + ["--threads", "1", "-o", "linux.png"],
                                       cwd=self.workdir, capture_output=True, text=True,
                                       timeout=120)
                self.assertEqual((linux.returncode, linux.stderr), (0, ""))
                windows_bytes = read_file(self.path("windows.png"))
                self.assertGreater(len(windows_bytes), 1 << 20)
                self.assertTrue(windows_bytes == read_file(self.path("linux.png")))

    def test_a_normal_map_without_trigonometry_is_the_linux_builds_bytes(self):
        with open(self.path("heights.recipe"), "w") as file:
            file.write(NO_TRIGONOMETRY_RECIPE)
        for name, options in (("OUT.png", []), ("OUT16.png", ["--bits", "16"]),
                              ("OUT.bmp", ["--normal-y", "down", "--relief", "0.3"])):
            with self.subTest(name=name):
                self.render_both("heights.recipe", "--normal", "--size", "512", "-o", name,
                                 *options)
                windows = read_file(self.path(name.replace("OUT", "windows")))
                self.assertTrue(windows == read_file(self.path(name.replace("OUT", "linux"))))

    def test_a_material_and_a_variation_without_trigonometry_are_the_linux_builds_bytes(self):
        with open(self.path("material.recipe"), "w") as file:
            file.write(NO_TRIGONOMETRY_RECIPE.replace(
                "save target=", "material height=2 roughness=3 metallic=4\nsave target="))
        self.render_both("material.recipe", "--material", "--size", "512", "--seed", "77",
                         "-o", "OUT.png")
        for suffix in (".png", "-height.png", "-normal.png", "-roughness.png", "-metallic.png",
                       "-ao.png"):
            with self.subTest(file=suffix):
                windows = read_file(self.path("windows" + suffix))
                self.assertTrue(windows == read_file(self.path("linux" + suffix)))
        # Packed for an engine, with the scene, which names the files by
        # OUT's name: each program's scene names its own.
        self.render_both("material.recipe", "--material", "--for", "gltf", "--size", "256",
                         "-o", "OUT-gltf.png")
        for suffix in ("-gltf.png", "-gltf-normal.png", "-gltf-orm.png", "-gltf.gltf"):
            with self.subTest(file=suffix):
                windows = read_file(self.path("windows" + suffix))
                linux = read_file(self.path("linux" + suffix))
                self.assertTrue(windows.replace(b"windows", b"linux") == linux)

    def test_bad_depths_bits_and_reliefs_give_the_same_message_and_status_1(self):
        with open(self.path("brick.recipe"), "w") as file:
            file.write(NO_TRIGONOMETRY_RECIPE)
        for args in (["--depth", "12"], ["--bits", "16", "-o", "out.png"],
                     ["--depth", "16", "--bits", "16", "-o", "out.bmp"],
                     ["--relief", "0.5"], ["--normal", "--relief", "0,5"]):
            with self.subTest(args=args):
                windows = run_wine([windows_program("quiltor-render.exe"), "brick.recipe"] + args,
                                   cwd=self.workdir)
                linux = subprocess.run([LINUX_RENDER, "brick.recipe"] + args, cwd=self.workdir,
                                       capture_output=True, text=True, timeout=60)
                self.assertEqual(linux.returncode, 1)
                self.assertEqual(len(linux.stderr.splitlines()), 1, linux.stderr)
                self.assertEqual((windows.returncode, windows.stderr.replace("\r\n", "\n")),
                                 (linux.returncode, linux.stderr))
                self.assertEqual(sorted(os.listdir(self.workdir)), ["brick.recipe"])

    def test_renders_a_recipe_whose_path_has_greek_and_japanese_letters(self):
        os.mkdir(self.path("υφές 模様"))
        shutil.copy(EXAMPLE, self.path(os.path.join("υφές 模様", "μάρμαρο.recipe")))
        self.render_both(os.path.join("υφές 模様", "μάρμαρο.recipe"), "-o", "OUT.bmp")
        self.assertTrue(read_file(self.path("windows.bmp")) == read_file(self.path("linux.bmp")))

    def test_the_window_program_has_no_console_and_the_renderer_has_one(self):
        self.assertEqual(pe_subsystem(windows_program("quiltor.exe")), 2)
        self.assertEqual(pe_subsystem(windows_program("quiltor-render.exe")), 3)


@unittest.skipUnless(ZIP, "no zip was built")
class WindowsZipTest(ProgramTest):
    """The zip, unpacked into an empty folder: both programs run from there."""

    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp(prefix="quiltor-windows-zip-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        with zipfile.ZipFile(ZIP) as archive:
            names = archive.namelist()
            archive.extractall(self.folder)
        # Everything in one folder named as the zip is.
        top = os.path.basename(ZIP)[:-len(".zip")] + "/"
        self.assertEqual([name for name in names if not name.startswith(top)], [])
        self.names = [name[len(top):] for name in names]
        self.folder = os.path.join(self.folder, top)

    def test_holds_the_programs_the_dll_the_readme_recipes_and_licences(self):
        for name in ("quiltor.exe", "quiltor-render.exe", "SDL.dll", "README.txt",
                     "recipes/example.recipe", "licenses/SDL-COPYING.txt",
                     "licenses/libpng-LICENSE.txt", "licenses/zlib-LICENSE.txt",
                     "licenses/libdeflate-COPYING.txt",
                     "licenses/gcc-runtime.txt", "licenses/mingw-w64-runtime.txt"):
            self.assertIn(name, self.names)
        self.assertEqual([name for name in self.names if name.lower().endswith(".dll")],
                         ["SDL.dll"])

    def test_ships_the_programs_stripped_with_their_subsystems(self):
        for name, subsystem in (("quiltor.exe", 2), ("quiltor-render.exe", 3)):
            shipped = os.path.join(self.folder, name)
            self.assertEqual((pe_symbol_count(shipped), pe_subsystem(shipped)), (0, subsystem))
            self.assertLess(os.path.getsize(shipped), os.path.getsize(windows_program(name)))

    def test_both_programs_run_from_the_unpacked_folder(self):
        result = run_wine([os.path.join(self.folder, "quiltor-render.exe"),
                           os.path.join("recipes", "example.recipe"), "-o", "zip.bmp"],
                          cwd=self.folder)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        linux = subprocess.run([LINUX_RENDER, EXAMPLE, "-o", os.path.join(self.folder, "l.bmp")],
                               capture_output=True, timeout=60)
        self.assertEqual(linux.returncode, 0)
        self.assertTrue(read_file(os.path.join(self.folder, "zip.bmp"))
                        == read_file(os.path.join(self.folder, "l.bmp")))

        program = start_windows(self, folder=self.folder)
        self.assertEqual(hex(frame_digest(program.capture())), hex(START_FRAME_DIGEST))
        program.key("Escape")
        self.assertEqual(program.wait_for_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
