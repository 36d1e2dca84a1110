"""The program under valgrind's memcheck, driven through every button, quits clean."""

import os
import tempfile
import unittest

import harness
from harness import ProgramTest, wait_for

# A press on each of the 54 buttons, plus the picker, in an order in which
# every press changes the screen, so the test can wait for each to be handled.
# Each entry: (point, what it does).
STEPPERS = [  # "+" then "-" of every parameter, in panel order
    ((625, 76), (662, 76)), ((735, 76), (777, 76)), ((675, 101), (720, 101)),
    ((675, 126), (720, 126)), ((640, 151), (680, 151)), ((745, 151), (785, 151)),
    ((715, 216), (760, 216)), ((615, 421), (664, 421)), ((725, 421), (779, 421)),
    ((625, 446), (664, 446)), ((730, 446), (769, 446)), ((620, 471), (664, 471)),
    ((735, 471), (780, 471)), ((665, 496), (719, 496)),
]
MOVE_X_PLUS = (615, 421)
SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "valgrind.supp")

SEQUENCE = (
    [(harness.TARGET[n], "Target %d" % n) for n in (2, 3, 4, 1)]
    + [(harness.SOURCE[n], "Source %d" % n) for n in (3, 4, 2)]
    + [(point, "a stepper") for pair in STEPPERS for point in pair]
    + [(harness.CELLS, "Cells"), (harness.PLASMA, "Plasma"), (harness.PONG, "Pong"),
       (harness.SINE, "Sine"), (harness.ADD, "Add"), (harness.SUB, "Sub"),
       (harness.MIX, "Mix"), (harness.MAX, "Max"), (harness.COPY, "Copy"),
       (harness.COLORIZE, "Colorize"), (harness.INVERT, "Invert"),
       (MOVE_X_PLUS, "X +"), (harness.MOVE, "Move"), (harness.DEFORM, "Sine (Deform)"),
       (harness.TWIRL, "Twirl"), (harness.CLEAR, "Clear"),
       ((740, 305), "swatch 2"), ((650, 305), "swatch 1"), ((600, 320), "the red bar")]
)


class MemcheckTest(ProgramTest):
    def test_every_button_then_escape_runs_clean(self):
        log = os.path.join(tempfile.mkdtemp(prefix="quiltor-memcheck-"), "memcheck.log")
        self.assertTrue(os.path.exists(harness.PLAIN_BINARY), harness.PLAIN_BINARY)
        program = self.start_program(
            command=["valgrind", "--error-exitcode=99", "--leak-check=full",
                     "--show-leak-kinds=definite,indirect",
                     "--errors-for-leak-kinds=definite,indirect",
                     "--suppressions=" + SUPPRESSIONS,
                     "--log-file=" + log, harness.PLAIN_BINARY],
            window_timeout=180)
        screen = self.wait_for_frame(program, lambda rgb: rgb[0:3] == b"\x40\x40\x40",
                                     "the first frame", timeout=180)
        for point, what in SEQUENCE:
            program.click(point)
            screen = self.wait_for_frame(program, lambda rgb, before=screen: rgb != before,
                                         "%s to change the screen" % what, timeout=120)

        saved = os.path.join(program.workdir, "texture000.bmp")
        program.click(harness.SAVE)
        wait_for(lambda: os.path.exists(saved), 120, "Save to write the file")

        program.key("Escape")
        status = program.wait_for_exit(timeout=180)
        with open(log) as report:
            text = report.read()
        self.assertEqual(status, 0, text[-3000:])
        self.assertIn("ERROR SUMMARY: 0 errors", text, text[-3000:])
        print("\n" + "\n".join(line for line in text.splitlines()
                               if "definitely lost" in line or "indirectly lost" in line
                               or "ERROR SUMMARY" in line))


if __name__ == "__main__":
    unittest.main()
