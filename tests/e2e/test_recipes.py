"""Recipes with the real program: a session recorded with real presses and
keys, saved as a new file, and reopened from the command line; and recipes
that cannot be used, which open no window."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest

import harness
from harness import (ProgramTest, read_file, slot_region, wait_for, ADD, CELLS, INVERT, PLASMA,
                     SOURCE, TARGET, TWIRL)


ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def all_slots(rgb):
    return [slot_region(rgb, slot) for slot in range(4)]


def record_session(test, program):
    """Works on two slots with real presses and keys: Plasma and Cells on
    slot 2, a held Twirl on slot 3, Add of slot 2 into 3, an undo and a redo,
    Invert, then Ctrl+Shift+S. Returns the paths of the saved bitmap and
    recipe and the four slots as the window showed them when it saved."""
    start = program.capture()
    program.click(TARGET[2])
    program.click(PLASMA)
    program.click(CELLS)
    program.click(TARGET[3])
    shown = test.wait_for_frame(program, lambda rgb: slot_region(rgb, 1) != slot_region(start, 1),
                                "slot 2 to change")
    program.press(TWIRL, 3)
    time.sleep(0.2)
    program.release(3)
    program.click(SOURCE[2])
    program.click(ADD)
    program.key("ctrl+z")
    program.key("ctrl+y")
    program.click(INVERT)
    shown = test.wait_for_frame(program, lambda rgb: slot_region(rgb, 2) != slot_region(shown, 2),
                                "slot 3 to change")
    # The frame must have settled before the save.
    shown = program.settled_capture(timeout=30)
    program.key("ctrl+shift+s")
    bitmap = os.path.join(program.workdir, "texture001.bmp")
    recipe = os.path.join(program.workdir, "texture001.recipe")
    wait_for(lambda: os.path.exists(bitmap) and os.path.exists(recipe), 30, "the saved files")
    return bitmap, recipe, all_slots(shown)


class RecipeTest(ProgramTest):
    def test_a_recorded_session_reopens_with_the_same_slots(self):
        program = self.start_program()
        bitmap, recipe, slots = record_session(self, program)
        with open(recipe) as text:
            lines = text.read().splitlines()
        self.assertEqual(lines[0], "quiltor recipe 1")
        self.assertIn("undo", lines)
        self.assertIn("redo", lines)
        self.assertTrue(any(line.startswith("twirl target=3") for line in lines), lines)
        self.assertEqual(lines[-1], "save target=3")
        _, _, saved = harness.read_bmp24(bitmap)
        self.assertEqual(saved, slots[2])
        program.key("Escape")
        self.assertEqual(program.wait_for_exit(), 0)

        # Rendered without a window, the recipe gives the saved bitmap byte for byte.
        rendered = os.path.join(program.workdir, "rendered.bmp")
        environment = dict(os.environ)
        environment.pop("DISPLAY", None)
        result = subprocess.run([harness.RENDER_BINARY, recipe, "-o", rendered], env=environment,
                                capture_output=True, text=True, timeout=60)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(read_file(rendered), read_file(bitmap))
        os.remove(rendered)

        reopened = self.start_program(command=[harness.BINARY, os.path.basename(recipe)],
                                      workdir=program.workdir)
        frame = self.wait_for_frame(reopened, lambda rgb: all_slots(rgb) == slots,
                                    "the reopened slots to be the saved ones")
        self.assertEqual(harness.pixel(frame, 545, 51), 0x80FF80)  # Target 3 selected
        self.assertEqual(reopened.stderr(), "")

    def test_a_save_in_the_lit_view_records_the_material_that_renders_in_one_command(self):
        program = self.start_program()
        program.click(TARGET[4])
        program.click(SOURCE[2])
        program.key("l")
        program.settled_capture(timeout=30)
        program.key("ctrl+shift+s")
        recipe = os.path.join(program.workdir, "texture001.recipe")
        wait_for(lambda: os.path.exists(recipe), 30, "the saved recipe")
        with open(recipe) as text:
            self.assertEqual(text.read().splitlines()[-2:], ["material height=2", "save target=4"])
        program.key("Escape")
        self.assertEqual(program.wait_for_exit(), 0)

        environment = dict(os.environ)
        environment.pop("DISPLAY", None)
        for options, picture in ((["--material"], "m.png"), (["--height", "--slot", "2"], "h.png")):
            result = subprocess.run([harness.RENDER_BINARY, recipe, "-o", picture] + options,
                                    env=environment, cwd=program.workdir, capture_output=True,
                                    text=True, timeout=60)
            self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(read_file(os.path.join(program.workdir, "m-height.png")),
                         read_file(os.path.join(program.workdir, "h.png")), "the plasma's heights")
        self.assertTrue(os.path.exists(os.path.join(program.workdir, "m-normal.png")))

        # Reopened, the material is one press of L away: Source 2 is chosen.
        reopened = self.start_program(command=[harness.BINARY, "texture001.recipe"],
                                      workdir=program.workdir)
        frame = reopened.settled_capture(timeout=30)
        self.assertEqual(harness.pixel(frame, 565, 51), 0x80FF80)  # Target 4 selected
        self.assertEqual(harness.pixel(frame, 635, 31), 0x80FF80)  # Source 2 selected
        self.assertNotEqual(harness.pixel(frame, 615, 31), 0x80FF80)  # Source 1 not
        self.assertEqual(reopened.stderr(), "")

    def test_a_reopened_gallery_recipe_is_saved_with_every_line_it_had(self):
        workdir = tempfile.mkdtemp(prefix="quiltor-e2e-")
        original = read_file(os.path.join(ROOT, "docs", "lava.recipe"))
        self.assertIn(b"\n# ", original)
        recipe = os.path.join(workdir, "lava.recipe")
        with open(recipe, "wb") as file:
            file.write(original)
        program = self.start_program(command=[harness.BINARY, "lava.recipe"], workdir=workdir)
        # An invert taken back, and the recipe's own last step too, then an invert.
        program.click(INVERT)
        program.key("ctrl+z")
        program.key("ctrl+z")
        program.click(INVERT)
        shown = program.settled_capture(timeout=30)
        program.key("ctrl+s")
        wait_for(lambda: read_file(recipe) != original, 30, "the recipe to be saved")
        saved = read_file(recipe)
        self.assertEqual(saved[:len(original)], original)
        self.assertEqual(saved[len(original):],
                         b"invert target=2\nundo\nundo\ninvert target=2\nsave target=2\n")
        _, _, pixels = harness.read_bmp24(os.path.join(workdir, "lava.bmp"))
        self.assertEqual(pixels, slot_region(shown, 1))

        # The saved text renders to the saved picture.
        rendered = os.path.join(workdir, "rendered.bmp")
        environment = dict(os.environ)
        environment.pop("DISPLAY", None)
        result = subprocess.run([harness.RENDER_BINARY, recipe, "-o", rendered], env=environment,
                                capture_output=True, text=True, timeout=60)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(read_file(rendered), read_file(os.path.join(workdir, "lava.bmp")))
        self.assertEqual(program.stderr(), "")

    def test_a_recipe_that_cannot_be_used_opens_no_window(self):
        workdir = tempfile.mkdtemp(prefix="quiltor-e2e-")
        self.addCleanup(shutil.rmtree, workdir, True)
        with open(os.path.join(workdir, "bad.recipe"), "w") as bad:
            bad.write("quiltor recipe 1\ncells target=5 nr=20 size=50\n")
        cases = [(["bad.recipe"], "bad.recipe:2: target=5 is outside 1..4\n"),
                 (["missing/new.recipe"],
                  "Could not read missing/new.recipe: No such file or directory\n"),
                 (["-x"], "usage: quiltor [RECIPE]\n")]
        for arguments, message in cases:
            started = time.monotonic()
            result = subprocess.run([harness.BINARY] + arguments, cwd=workdir,
                                    env=self.server.env(), capture_output=True, text=True,
                                    timeout=60)
            self.assertEqual(result.returncode, 4, result.stderr)
            self.assertEqual(result.stderr, message)
            self.assertLess(time.monotonic() - started, 30)
        windows = subprocess.run(["xdotool", "search", "--name", "^Quiltor$"],
                                 env=self.server.env(), capture_output=True, text=True)
        self.assertEqual(windows.stdout.strip(), "", "a window appeared")


if __name__ == "__main__":
    unittest.main()
