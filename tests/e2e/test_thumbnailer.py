"""The thumbnailer entry that lets a file manager show a recipe as its
texture, run as a file manager runs it."""

import configparser
import os
import shutil
import subprocess
import tempfile
import unittest

from harness import read_file
from test_render import RENDER, ROOT, ENDLESS, environment


class ThumbnailerTest(unittest.TestCase):
    """The thumbnailer entry's Exec line, run as a file manager runs it."""

    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-thumbnail-")
        self.addCleanup(shutil.rmtree, self.workdir, True)
        entry = configparser.ConfigParser(interpolation=None)
        entry.read(os.path.join(ROOT, "data", "quiltor.thumbnailer"))
        self.entry = entry["Thumbnailer Entry"]

    def thumbnail(self, recipe, output, timeout=120):
        """Expands the Exec line's field codes into arguments as they stand,
        spaces and all, and runs it with the built renderer for quiltor-render."""
        arguments = []
        for word in self.entry["Exec"].split():
            expanded = {"%i": recipe, "%o": output, "%s": "256", "%u": "file://" + recipe}
            arguments.append(expanded.get(word, word))
        self.assertEqual(arguments[0], self.entry["TryExec"])
        arguments[0] = RENDER
        return subprocess.run(arguments, capture_output=True, text=True, timeout=timeout,
                              env=environment())

    def test_names_the_recipe_type(self):
        self.assertEqual(self.entry["MimeType"], "text/x-quiltor-recipe;")
        self.assertEqual(self.entry["TryExec"], "quiltor-render")

    def test_writes_a_png_of_the_recipe_whatever_the_names(self):
        folder = os.path.join(self.workdir, "a folder")
        os.mkdir(folder)
        recipe = os.path.join(folder, "-marble.recipe")
        shutil.copy(os.path.join(ROOT, "docs", "example.recipe"), recipe)
        # File managers pick the output's name; it need not end in .png.
        output = os.path.join(self.workdir, "thumbnail-XXXX")
        result = self.thumbnail(recipe, output)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))
        self.assertEqual(read_file(output)[:8], b"\x89PNG\r\n\x1a\n")
        size = subprocess.run(["identify", "-format", "%w %h", "png:" + output],
                              capture_output=True, text=True, check=True, timeout=60).stdout
        self.assertEqual(size, "256 256")

    def test_the_bound_leaves_room_for_every_gallery_recipe(self):
        gallery = os.path.join(ROOT, "docs")
        for name in sorted(name for name in os.listdir(gallery) if name.endswith(".recipe")):
            with self.subTest(name=name):
                output = os.path.join(self.workdir, name + ".png")
                result = self.thumbnail(os.path.join(gallery, name), output)
                self.assertEqual((result.returncode, result.stderr), (0, ""))
                self.assertEqual(read_file(output)[:8], b"\x89PNG\r\n\x1a\n")

    def test_held_generators_are_within_the_bound_and_quick(self):
        # Only the last of a generator's applications shows, so each counts
        # once; the others only draw random numbers, 65 billion for the
        # plasma, on the slot shown and on another one.
        recipe = os.path.join(self.workdir, "held.recipe")
        with open(recipe, "w") as file:
            file.write("quiltor recipe 1\nplasma target=2 variation=50 repeat=1000000\n"
                       "plasma target=1 variation=50 repeat=1000000\n"
                       "cells target=1 nr=99 size=60 repeat=1000000\nsave target=1\n")
        output = os.path.join(self.workdir, "thumbnail.png")
        result = self.thumbnail(recipe, output, timeout=30)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(read_file(output)[:8], b"\x89PNG\r\n\x1a\n")

    def test_a_bad_recipe_or_one_of_hours_gives_no_thumbnail(self):
        for text in ("not a recipe\n", "quiltor recipe 1\ncells target=1 nr=5 size=20\n",
                     ENDLESS):
            with self.subTest(text=text):
                recipe = os.path.join(self.workdir, "bad.recipe")
                with open(recipe, "w") as file:
                    file.write(text)
                output = os.path.join(self.workdir, "thumbnail.png")
                result = self.thumbnail(recipe, output, timeout=30)
                self.assertNotEqual(result.returncode, 0)
                self.assertFalse(os.path.exists(output))


if __name__ == "__main__":
    unittest.main()
