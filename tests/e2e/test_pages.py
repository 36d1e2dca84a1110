"""Pages over the slot area with real keys and presses: the help page that F1
shows, a failed save's message, and the progress of a long replay."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest

import harness
from harness import ProgramTest, pixel, slot_region, wait_for, CELLS, SAVE


def panel(rgb):
    """Everything right of the slot area, where the panel lies."""
    return [rgb[(y * harness.WIDTH + 527) * 3:(y * harness.WIDTH + harness.WIDTH) * 3]
            for y in range(harness.HEIGHT)]


def slot_area_hidden_at(rgb, x, y):
    """Whether the page's dark ground covers the point (x, y) of the slot area."""
    return pixel(rgb, x, y) == 0x404040


class PagesTest(ProgramTest):
    def test_f1_shows_help_and_the_next_key_only_closes_it(self):
        program = self.start_program()
        start = harness.drawn_frame()
        self.wait_for_frame(program, lambda rgb: rgb == start, "the start-up frame")
        self.assertNotEqual(pixel(start, 300, 500), 0x404040)

        program.key("F1")
        page = self.wait_for_frame(program, lambda rgb: slot_area_hidden_at(rgb, 300, 500),
                                   "the help page")
        self.assertEqual(panel(page), panel(start), "the panel stays as it is")
        # Ctrl+Z closes the page and undoes nothing: the start-up frame again.
        program.key("ctrl+z")
        self.wait_for_frame(program, lambda rgb: rgb == start, "the page to close")

        # Escape closes the page without quitting; the close box still quits.
        program.key("F1")
        self.wait_for_frame(program, lambda rgb: slot_area_hidden_at(rgb, 300, 500),
                            "the help page again")
        program.key("Escape")
        self.wait_for_frame(program, lambda rgb: rgb == start, "Escape to close the page")
        self.assertIsNone(program.process.poll())
        program.key("F1")
        self.wait_for_frame(program, lambda rgb: slot_area_hidden_at(rgb, 300, 500),
                            "the help page a third time")
        subprocess.run([harness.CLOSE_TOOL, program.window], env=self.server.env(),
                       check=True, timeout=30)
        self.assertEqual(program.wait_for_exit(), 0)
        self.assertEqual(program.stderr(), "")

    def test_a_failed_save_shows_its_message_until_the_next_press(self):
        program = self.start_program()
        start = harness.drawn_frame()
        self.wait_for_frame(program, lambda rgb: rgb == start, "the start-up frame")
        self.assertNotEqual(pixel(start, 200, 240), 0x404040)
        shutil.rmtree(program.workdir)

        program.click(SAVE)
        message = self.wait_for_frame(program, lambda rgb: slot_area_hidden_at(rgb, 200, 240),
                                      "the failed save's message")
        self.assertEqual(program.stderr(),
                         "Could not save texture000.bmp: No such file or directory\n")
        self.assertEqual(panel(message), panel(start))
        # Only the middle of the slot area is covered.
        self.assertEqual(pixel(message, 100, 100), pixel(start, 100, 100))

        # The press on Cells closes the message and runs nothing.
        program.click(CELLS)
        self.wait_for_frame(program, lambda rgb: rgb == start, "the message to close")
        time.sleep(0.3)
        self.assertEqual(program.capture(), start)
        program.click(CELLS)
        self.wait_for_frame(program, lambda rgb: slot_region(rgb, 0) != slot_region(start, 0),
                            "Cells to run after the message")
        self.assertIsNone(program.process.poll())
        self.assertEqual(program.stderr(),
                         "Could not save texture000.bmp: No such file or directory\n")


# A million twirls take most of an hour: the window must show how far it has
# got, and quit at once when asked.
LONG_RECIPE = ("quiltor recipe 1\n"
               "cells target=2 nr=12 size=40\n"
               "twirl target=1 direction=64 repeat=1000000\n"
               "save target=1\n")


class LongReplayTest(ProgramTest):
    def start_long_replay(self):
        program = self.start_program(command=[harness.BINARY, "long.recipe"],
                                     workdir=self.recipe_directory())
        # The progress box over the middle of the slot area, changing as it goes.
        first = self.wait_for_frame(program, lambda rgb: slot_area_hidden_at(rgb, 300, 300),
                                    "the replay's progress")
        self.assertEqual(pixel(first, 2, 100), 0x808080)  # slot 1's frame shows above the box
        self.wait_for_frame(program, lambda rgb: slot_area_hidden_at(rgb, 300, 300)
                            and rgb != first, "the progress to move on")
        return program

    def recipe_directory(self):
        workdir = tempfile.mkdtemp(prefix="quiltor-e2e-")
        with open(os.path.join(workdir, "long.recipe"), "w") as recipe:
            recipe.write(LONG_RECIPE)
        return workdir

    def assert_quits_at_once(self, program, quit):
        asked = time.monotonic()
        quit()
        self.assertEqual(program.wait_for_exit(timeout=15), 0)
        self.assertLess(time.monotonic() - asked, 5)
        self.assertEqual(os.listdir(program.workdir), ["long.recipe"])
        self.assertEqual(program.stderr(), "")

    def test_escape_quits_a_long_replay_at_once(self):
        program = self.start_long_replay()
        self.assert_quits_at_once(program, lambda: program.key("Escape"))

    def test_the_close_box_quits_a_long_replay_at_once(self):
        program = self.start_long_replay()
        self.assert_quits_at_once(program, lambda: subprocess.run(
            [harness.CLOSE_TOOL, program.window], env=self.server.env(), check=True, timeout=30))


if __name__ == "__main__":
    unittest.main()
