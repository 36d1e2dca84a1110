"""The real window following its recipe while another program saves it: every
way an editor saves reloads to exactly the frame a fresh start on the file
shows; a wrong text keeps the slots; the window's own presses and saves and
the editor's text are all kept; a new name; and a save during a long replay.
Each wait is for the frame or file it expects, with a generous limit."""

import os
import shutil
import tempfile
import time
import unittest

import harness
from harness import INVERT, SAVE, ProgramTest, Program, XServer, pixel, read_file, wait_for
from test_resources import wait_until_settled

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
WOOD = read_file(os.path.join(ROOT, "docs", "wood.recipe")).decode()
LONG = "quiltor recipe 1\ntwirl target=1 direction=9 repeat=100000\nsave target=1\n"
# A message box over the slot area starts with a title in the panel's title colour.
TITLE_COLOR = 0xFF8080


def wood(direction):
    return WOOD.replace("twirl target=1 direction=16", "twirl target=1 direction=%d" % direction)


def write_in_place(path, text):
    with open(path, "w") as file:
        file.write(text)


def rename_over(path, text):
    write_in_place(path + ".tmp", text)
    os.replace(path + ".tmp", path)


def truncate_then_write(path, text):
    """Two operations a moment apart, as some editors save: a read between them
    would see an empty file. The pause is the editor's, not a wait."""
    with open(path, "w") as file:
        file.flush()
        time.sleep(0.05)
        file.write(text)


def backup_then_write_anew(path, text):
    os.replace(path, path + "~")
    write_in_place(path, text)


def remove_then_create(path, text):
    os.remove(path)
    write_in_place(path, text)


SAVES = [("in place", write_in_place), ("renamed over", rename_over),
         ("truncated, then written", truncate_then_write),
         ("renamed to a backup, then written anew", backup_then_write_anew),
         ("removed, then created", remove_then_create)]


def shows_a_message(rgb):
    """Whether a message box shows over the slot area: a row across the whole
    area in the window's background colour, inside the box's frame, and the
    box's title colour in the area."""
    blank_row = any(all(pixel(rgb, x, y) == 0x404040 for x in range(8, 520, 9))
                    for y in range(100, 430, 3))
    return blank_row and any(pixel(rgb, x, y) == TITLE_COLOR
                             for y in range(60, 470) for x in range(14, 200))


def slots(rgb):
    return [harness.slot_region(rgb, slot) for slot in range(4)]


class LiveRecipeTest(ProgramTest):
    def start_on(self, name, text=None):
        """The program on a recipe in a working directory of the test's own."""
        workdir = tempfile.mkdtemp(prefix="quiltor-live-")
        self.addCleanup(shutil.rmtree, workdir, True)
        if text is not None:
            write_in_place(os.path.join(workdir, name), text)
        program = self.start_program(command=[harness.BINARY, name], workdir=workdir)
        return program, os.path.join(workdir, name)

    def fresh_frame(self, path):
        """The frame a fresh start on the recipe shows, on an X server of its own."""
        server = XServer()
        try:
            program = Program(server, command=[harness.BINARY, os.path.basename(path)],
                              workdir=os.path.dirname(path))
            try:
                return program.settled_capture(timeout=60)
            finally:
                program.stop()
        finally:
            server.stop()

    def wait_for_the_fresh_frame(self, program, path, what):
        expected = self.fresh_frame(path)
        self.wait_for_frame(program, lambda rgb: rgb == expected, what, timeout=60)
        return expected

    def test_every_way_of_saving_reloads_to_the_frame_a_fresh_start_shows(self):
        program, path = self.start_on("wood.recipe", WOOD)
        shown = program.settled_capture(timeout=60)
        for direction, (way, save) in zip((24, 30, 8, 40, 20), SAVES):
            with self.subTest(way=way):
                save(path, wood(direction))
                frame = self.wait_for_the_fresh_frame(program, path, way)
                self.assertNotEqual(frame, shown, way)
                shown = frame
        self.assertEqual(program.stderr(), "")

    def test_a_wrong_text_keeps_the_slots_and_shows_why_until_mended(self):
        program, path = self.start_on("wood.recipe", WOOD)
        before = program.settled_capture(timeout=60)
        write_in_place(path, WOOD.replace("balance=190", "balance=300"))
        frame = self.wait_for_frame(program, shows_a_message, "the message", timeout=60)
        # Above and below the box, the slots are as they were.
        for y in list(range(4, 120)) + list(range(420, 520)):
            self.assertEqual(frame[y * 2400:y * 2400 + 1560], before[y * 2400:y * 2400 + 1560],
                             "row %d" % y)
        write_in_place(path, wood(24))
        self.wait_for_the_fresh_frame(program, path, "the mended text")

    def test_presses_and_the_windows_own_saves_and_the_editors_text_are_kept(self):
        program, path = self.start_on("wood.recipe", WOOD)
        program.click(INVERT)
        program.key("ctrl+s")
        saved = wait_for(lambda: (lambda text: text if text != WOOD.encode() else None)(
            read_file(path)), 30, "the window's save")
        # The window's own save is no change: a press made after it would
        # have stopped a reload with a message.
        program.click(INVERT)
        wait_until_settled(program.process.pid, timeout=60)
        pressed = program.settled_capture(timeout=60)
        self.assertFalse(shows_a_message(pressed))

        # The editor saves while the window holds a press: no reload, a message.
        write_in_place(path, wood(24))
        self.wait_for_frame(program, shows_a_message, "the message of a change", timeout=60)
        program.key("a")
        self.wait_for_frame(program, lambda rgb: rgb == pressed, "the message closed", timeout=30)
        # Save does not write over the editor's text.
        program.click(SAVE)
        self.wait_for_frame(program, shows_a_message, "the refusal", timeout=30)
        wait_until_settled(program.process.pid, timeout=60)
        self.assertEqual(read_file(path), wood(24).encode())
        self.assertNotEqual(saved, wood(24).encode())
        # Ctrl+Shift+S through the message keeps the presses as a new recipe.
        program.key("ctrl+shift+s")
        new = os.path.join(os.path.dirname(path), "texture001.recipe")
        wait_for(lambda: os.path.exists(new), 30, "the new recipe")
        self.assertEqual(read_file(new), WOOD.encode() + b"invert target=1\ninvert target=1\n"
                         b"save target=1\n")
        self.wait_for_frame(program, lambda rgb: slots(rgb) == slots(pressed), "the presses kept",
                            timeout=30)
        self.assertEqual(read_file(path), wood(24).encode())

        # F5 loads the file the window now follows, dropping the press made since.
        program.click(INVERT)
        write_in_place(new, wood(30))
        self.wait_for_frame(program, shows_a_message, "the message of a change", timeout=60)
        program.key("F5")
        self.wait_for_the_fresh_frame(program, new, "F5")

    def test_a_new_recipe_is_loaded_once_an_editor_writes_it(self):
        program, path = self.start_on("new.recipe")
        self.wait_for_frame(program, shows_a_message, "the note of a new recipe", timeout=30)
        self.assertFalse(os.path.exists(path))
        write_in_place(path, wood(24))
        self.wait_for_the_fresh_frame(program, path, "the recipe written by the editor")

    def test_a_new_recipe_is_created_by_save(self):
        other, other_path = self.start_on("other.recipe")
        self.wait_for_frame(other, shows_a_message, "the note of a new recipe", timeout=30)
        other.key("a")
        other.click(INVERT)
        other.click(SAVE)
        bitmap = os.path.join(os.path.dirname(other_path), "other.bmp")
        wait_for(lambda: os.path.exists(other_path) and os.path.exists(bitmap), 30, "Save")
        self.assertEqual(read_file(other_path),
                         b"quiltor recipe 1\ninvert target=1\nsave target=1\n")

    def test_a_save_during_a_long_replay_starts_again_from_it_and_escape_quits(self):
        program, path = self.start_on("wood.recipe", WOOD)
        program.settled_capture(timeout=60)
        write_in_place(path, LONG)
        self.wait_for_frame(program, shows_a_message, "the replay's progress", timeout=60)
        rename_over(path, wood(24))
        # The long replay would take minutes; the newest text is shown long before.
        self.wait_for_the_fresh_frame(program, path, "the newest text")

        write_in_place(path, LONG)
        self.wait_for_frame(program, shows_a_message, "the replay's progress", timeout=60)
        program.key("Escape")
        self.assertEqual(program.wait_for_exit(30), 0)


if __name__ == "__main__":
    unittest.main()
