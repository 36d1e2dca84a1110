"""The window as a user meets it: its size, title and first frame, and how it quits."""

import os
import subprocess
import unittest

import harness
from harness import ProgramTest, pixel, stop_process


class WindowTest(ProgramTest):
    def test_first_frame_is_the_one_the_engine_draws(self):
        program = self.start_program()
        self.assertEqual(program.xdotool("getwindowname", program.window).strip(), "Quiltor")
        geometry = program.xdotool("getwindowgeometry", program.window)
        self.assertIn("Geometry: 800x600", geometry)

        expected = harness.drawn_frame()
        try:
            frame = self.wait_for_frame(program, lambda rgb: rgb == expected,
                                        "the start-up frame")
        except AssertionError:
            frame = program.capture()
            differing = sum(1 for i in range(0, len(frame), 3) if frame[i:i + 3] != expected[i:i + 3])
            self.fail("%d pixels differ from the in-process rendering" % differing)

        # A few facts that do not depend on the renderer the comparison used.
        self.assertEqual(pixel(frame, 0, 0), 0x404040)
        self.assertEqual(pixel(frame, 799, 599), 0x404040)
        self.assertEqual(pixel(frame, 1, 1), 0xC0C0C0)      # slot frame, outer ring light
        self.assertEqual(pixel(frame, 262, 1), 0x404040)    # top-right corner dark
        self.assertEqual(pixel(frame, 2, 100), 0x808080)    # middle ring
        self.assertEqual(pixel(frame, 545, 31), 0x80FF80)   # Target "1" selected
        self.assertEqual(pixel(frame, 565, 31), 0x8080FF)   # Target "2" not
        self.assertEqual(pixel(frame, 615, 31), 0x80FF80)   # Source "1" selected
        self.assertEqual(pixel(frame, 650, 305), 0xFF0000)  # colour 1 swatch
        self.assertEqual(pixel(frame, 740, 305), 0x00FFFF)  # colour 2 swatch
        self.assertEqual(pixel(frame, 622, 297), 0x00FF00)  # colour 1 is being edited

    def test_an_uncovered_window_shows_its_frame_again(self):
        program = self.start_program()
        expected = harness.drawn_frame()
        self.wait_for_frame(program, lambda rgb: rgb == expected, "the start-up frame")

        # Without a window manager a newly mapped window lies on top: this one
        # hides the whole screen until it is stopped.
        cover = subprocess.Popen(["xclock", "-geometry", "1024x768+0+0"], env=self.server.env(),
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(stop_process, cover)
        self.wait_for_frame(program, lambda rgb: rgb != expected, "the cover to hide the window")
        stop_process(cover)
        self.wait_for_frame(program, lambda rgb: rgb == expected,
                            "the uncovered window to show its frame")

    def test_escape_quits_with_status_zero(self):
        program = self.start_program()
        program.key("Escape")
        self.assertEqual(program.wait_for_exit(), 0)

    def test_closing_the_window_quits_with_status_zero(self):
        program = self.start_program()
        subprocess.run([harness.CLOSE_TOOL, program.window], env=self.server.env(),
                       check=True, timeout=30)
        self.assertEqual(program.wait_for_exit(), 0)
        self.assertEqual(program.stderr(), "")


class NoDisplayTest(unittest.TestCase):
    def run_without_display(self, **variables):
        environment = dict(os.environ)
        environment.pop("DISPLAY", None)
        environment.pop("SDL_VIDEODRIVER", None)
        environment.update(variables)
        return subprocess.run([harness.BINARY], env=environment, capture_output=True,
                              text=True, timeout=60, cwd="/tmp")

    def test_without_a_display_start_up_fails_with_status_one(self):
        result = self.run_without_display(SDL_VIDEODRIVER="x11")
        self.assertEqual(result.returncode, 1)
        lines = result.stderr.splitlines()
        # System libraries may complain first; the report is the last two lines.
        self.assertEqual(lines[-2:-1], ["Error: Error!"], result.stderr)
        self.assertTrue(lines[-1].strip(), result.stderr)

    @unittest.skipUnless(harness.SDL_BUILD == "compat",
                         "the classic SDL 1.2 falls back to its text-mode driver")
    def test_the_driver_that_shows_nothing_is_a_missing_display(self):
        result = self.run_without_display()
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(result.stderr.splitlines()[-2:],
                         ["Error: Error!",
                          'No display: the video driver "offscreen" shows nothing'])


if __name__ == "__main__":
    unittest.main()
