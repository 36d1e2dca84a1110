"""The keys with real key presses: undo and redo, the tiled and lit views, and
saving under a new name."""

import os
import unittest

from harness import (ProgramTest, drawn_frame, pixel, read_bmp24, read_file, slot_region,
                     wait_for, CELLS, INVERT, SOURCE, TARGET)


def tiled_region(rgb):
    """The 512x512 area the tiled view shows, from a capture."""
    return [pixel(rgb, 7 + x, 7 + y) for y in range(512) for x in range(512)]


def tiled(slot):
    """What the tiled view of a slot's 256x256 pixels looks like."""
    return [slot[(y % 256) * 256 + x % 256] for y in range(512) for x in range(512)]


def repeats_edge_to_edge(region):
    """Whether a 512x512 region is one 256x256 picture four times."""
    return region == tiled([region[y * 512 + x] for y in range(256) for x in range(256)])


class KeysTest(ProgramTest):
    def wait_for_slot(self, program, slot, pixels, what):
        return self.wait_for_frame(program, lambda rgb: slot_region(rgb, slot) == pixels, what)

    def test_undo_redo_tiled_view_and_save_as_new(self):
        program = self.start_program()
        taken = os.path.join(program.workdir, "texture001.bmp")
        with open(taken, "wb") as other:
            other.write(b"someone else's file")
        start = program.capture()
        original = slot_region(start, 1)

        program.click(TARGET[2])
        program.click(CELLS)
        cells = self.wait_for_frame(program, lambda rgb: slot_region(rgb, 1) != original,
                                    "Cells on slot 2")
        program.click(TARGET[1])
        program.key("ctrl+z")
        self.wait_for_slot(program, 1, original, "Ctrl+Z to undo Cells on slot 2")
        program.key("ctrl+y")
        self.wait_for_slot(program, 1, slot_region(cells, 1), "Ctrl+Y to redo it")
        program.key("ctrl+z")
        self.wait_for_slot(program, 1, original, "the second undo")
        program.key("ctrl+shift+z")
        shown = self.wait_for_slot(program, 1, slot_region(cells, 1), "Ctrl+Shift+Z to redo")

        program.click(TARGET[2])
        program.key("t")
        self.wait_for_frame(program, lambda rgb: tiled_region(rgb) == tiled(slot_region(shown, 1)),
                            "the tiled view of slot 2")
        program.click(INVERT)
        program.key("ctrl+z")
        program.key("t")
        self.wait_for_frame(program, lambda rgb: all(slot_region(rgb, slot) == slot_region(shown, slot)
                                                     for slot in range(4)),
                            "the four slots again")

        program.key("ctrl+shift+s")
        saved = os.path.join(program.workdir, "texture002.bmp")

        def saved_holds_slot_2():
            return (os.path.exists(saved)
                    and read_bmp24(saved) == (256, 256, slot_region(shown, 1)))

        wait_for(saved_holds_slot_2, 30, "texture002.bmp to hold slot 2")
        self.assertEqual(read_file(taken), b"someone else's file")
        self.assertEqual(sorted(os.listdir(program.workdir)),
                         ["texture001.bmp", "texture002.bmp", "texture002.recipe"])
        self.assertEqual(program.stderr(), "")

    def test_lit_view_shows_the_drawn_frame_follows_the_source_and_saves_nothing(self):
        program = self.start_program()
        start = program.capture()
        program.key("l")
        # Target and source are both slot 1 at start-up: the cells lit as
        # their own relief, exactly as the program's drawing code draws it.
        expected = drawn_frame("lit")
        lit = self.wait_for_frame(program, lambda rgb: rgb == expected, "the lit view")
        self.assertTrue(repeats_edge_to_edge(tiled_region(lit)))
        self.assertNotEqual(tiled_region(lit), tiled(slot_region(start, 0)))

        program.click(SOURCE[2])
        relit = self.wait_for_frame(program, lambda rgb: tiled_region(rgb) != tiled_region(lit),
                                    "the lit view of a new relief")
        self.assertTrue(repeats_edge_to_edge(tiled_region(relit)))

        program.key("t")
        self.wait_for_frame(program,
                            lambda rgb: tiled_region(rgb) == tiled(slot_region(start, 0)),
                            "T: from the lit view to the tiled view")
        program.key("l")
        self.wait_for_frame(program, lambda rgb: tiled_region(rgb) == tiled_region(relit),
                            "L: back to the lit view")
        program.key("l")
        self.wait_for_frame(program, lambda rgb: all(slot_region(rgb, slot) == slot_region(start, slot)
                                                     for slot in range(4)),
                            "L again: the four slots as they were")
        self.assertEqual(os.listdir(program.workdir), [])
        self.assertEqual(program.stderr(), "")


if __name__ == "__main__":
    unittest.main()
