"""A user's session: selecting slots, running operations, saving, holding steppers."""

import os
import resource
import shutil
import signal
import time
import unittest

from harness import (ProgramTest, read_bmp24, read_file, read_number, slot_region, wait_for,
                     CELLS, SAVE, SPOT_SIZE_LABEL, SPOT_SIZE_PLUS, TARGET, TWIRL)


class SessionTest(ProgramTest):
    def saved_pixels(self, program):
        path = os.path.join(program.workdir, "texture000.bmp")
        width, height, pixels = read_bmp24(path)
        self.assertEqual((width, height), (256, 256))
        return pixels

    def save_and_check(self, program, slot):
        """Presses Save and waits until the file holds what the slot shows."""
        program.click(SAVE)
        path = os.path.join(program.workdir, "texture000.bmp")

        def file_matches_slot():
            if not os.path.exists(path):
                return False
            return self.saved_pixels(program) == slot_region(program.capture(), slot)

        wait_for(file_matches_slot, 10, "texture000.bmp to hold slot %d" % (slot + 1))

    def test_saves_the_target_slot_over_the_same_file(self):
        program = self.start_program()
        before = program.capture()
        program.click(TARGET[2])
        program.click(CELLS)
        self.wait_for_frame(program, lambda rgb: slot_region(rgb, 1) != slot_region(before, 1),
                            "slot 2 to show the cells")
        self.save_and_check(program, 1)

        twirled_from = program.capture()
        program.click(TARGET[4])
        program.click(TWIRL)
        self.wait_for_frame(program,
                            lambda rgb: slot_region(rgb, 3) != slot_region(twirled_from, 3),
                            "slot 4 to be twirled")
        self.save_and_check(program, 3)
        self.assertEqual(os.listdir(program.workdir), ["texture000.bmp"])

    def test_holding_the_right_button_on_plus_counts_until_released(self):
        program = self.start_program()
        self.assertEqual(read_number(program.capture(), *SPOT_SIZE_LABEL), 128)
        program.press(SPOT_SIZE_PLUS, 3)
        started = time.monotonic()
        wait_for(lambda: read_number(program.capture(), *SPOT_SIZE_LABEL) > 140, 10,
                 "the spot size to count up")
        program.release(3)
        held = time.monotonic() - started
        counted = read_number(program.capture(), *SPOT_SIZE_LABEL)
        # About one step per frame at 60 frames a second; generous for a loaded machine.
        steps = counted - 128
        self.assertLessEqual(steps, 60 * held * 1.5 + 5, "counted %d in %.2f s" % (steps, held))
        self.assertGreaterEqual(steps, 12)
        later = read_number(program.capture(), *SPOT_SIZE_LABEL)
        time.sleep(0.3)  # the value must stay put while nothing is held
        self.assertEqual(read_number(program.capture(), *SPOT_SIZE_LABEL), later)
        self.assertLess(later, 256)

    def test_a_held_left_press_counts_exactly_once(self):
        program = self.start_program()
        program.press(SPOT_SIZE_PLUS, 1)
        wait_for(lambda: read_number(program.capture(), *SPOT_SIZE_LABEL) == 129, 10,
                 "the first step")
        time.sleep(0.3)  # keep holding for many frames
        self.assertEqual(read_number(program.capture(), *SPOT_SIZE_LABEL), 129)
        program.release(1)
        self.assertEqual(read_number(program.capture(), *SPOT_SIZE_LABEL), 129)


class FailedSaveTest(ProgramTest):
    def test_a_removed_working_directory_reports_and_keeps_running(self):
        program = self.start_program()
        shutil.rmtree(program.workdir)
        program.click(SAVE)
        wait_for(lambda: "texture000.bmp" in program.stderr(), 10, "the failure message")
        self.assertEqual(program.stderr(),
                         "Could not save texture000.bmp: No such file or directory\n")

        # Still responsive: a further press changes the screen.
        before = program.capture()
        program.click(CELLS)
        self.wait_for_frame(program, lambda rgb: slot_region(rgb, 0) != slot_region(before, 0),
                            "Cells to run after the failed save")
        self.assertIsNone(program.process.poll())

    def test_a_full_disk_keeps_the_previous_file(self):
        def small_file_limit():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (50000, 50000))

        program = self.start_program(preexec_fn=small_file_limit)
        path = os.path.join(program.workdir, "texture000.bmp")
        with open(path, "wb") as previous:
            previous.write(b"the previous save")
        program.click(SAVE)
        wait_for(lambda: "texture000.bmp" in program.stderr(), 10, "the failure message")
        self.assertEqual(program.stderr(), "Could not save texture000.bmp: File too large\n")
        self.assertEqual(read_file(path), b"the previous save")
        self.assertEqual(os.listdir(program.workdir), ["texture000.bmp"])
        self.assertIsNone(program.process.poll())


if __name__ == "__main__":
    unittest.main()
