"""quiltor-render: the picture's name it derives from an odd recipe name."""

import os
import shutil
import subprocess
import tempfile
import unittest

from test_render import RENDER, environment

RECIPE = "quiltor recipe 1\nclear target=1 color1=10,20,30\nsave target=1\n"


class RenderNamesTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-render-names-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def render_in(self, folder, *args):
        result = subprocess.run([RENDER] + list(args), cwd=folder, capture_output=True,
                                text=True, timeout=120, env=environment())
        self.assertEqual((result.returncode, result.stderr), (0, ""), args)

    def write(self, name):
        with open(os.path.join(self.workdir, name), "w") as file:
            file.write(RECIPE)

    def test_a_recipe_called_only_dot_recipe_gives_dot_bmp_or_dot_png(self):
        self.write(".recipe")
        self.render_in(self.workdir, ".recipe")
        self.assertEqual(sorted(os.listdir(self.workdir)), [".bmp", ".recipe"])
        self.render_in(self.workdir, ".recipe", "--format", "png")
        self.assertEqual(sorted(os.listdir(self.workdir)), [".bmp", ".png", ".recipe"])
        with open(os.path.join(self.workdir, ".png"), "rb") as file:
            self.assertEqual(file.read(8), b"\x89PNG\r\n\x1a\n")
        with open(os.path.join(self.workdir, ".bmp"), "rb") as file:
            self.assertEqual(file.read(2), b"BM")

    def test_the_suffix_goes_only_once_and_only_from_the_end(self):
        os.mkdir(os.path.join(self.workdir, "sub"))
        self.write(os.path.join("sub", ".recipe"))
        self.write(".recipe.recipe")
        self.write("a.recipe.txt")
        self.render_in(self.workdir, "sub/.recipe")
        self.render_in(self.workdir, ".recipe.recipe", "--format", "png")
        self.render_in(self.workdir, "a.recipe.txt")
        self.assertEqual(sorted(os.listdir(os.path.join(self.workdir, "sub"))),
                         [".bmp", ".recipe"])
        self.assertEqual(sorted(os.listdir(self.workdir)),
                         [".recipe.png", ".recipe.recipe", "a.recipe.txt", "a.recipe.txt.bmp",
                          "sub"])


    def test_a_materials_other_files_beside_an_out_that_is_only_an_extension(self):
        # A leading dot starts no extension: the mark goes after the whole
        # name, the heights get .png and the other maps nothing more.
        self.write("r.recipe")
        os.mkdir(os.path.join(self.workdir, "dir"))
        self.render_in(self.workdir, "r.recipe", "--material", "-o", ".png")
        self.render_in(self.workdir, "r.recipe", "--material", "-o", "dir/.bmp")
        self.assertEqual(sorted(os.listdir(self.workdir)),
                         [".png", ".png-ao", ".png-height.png", ".png-metallic", ".png-normal",
                          ".png-roughness", "dir", "r.recipe"])
        self.assertEqual(sorted(os.listdir(os.path.join(self.workdir, "dir"))),
                         [".bmp", ".bmp-ao", ".bmp-height.png", ".bmp-metallic", ".bmp-normal",
                          ".bmp-roughness"])
        with open(os.path.join(self.workdir, ".png-normal"), "rb") as file:
            self.assertEqual(file.read(8), b"\x89PNG\r\n\x1a\n")
        with open(os.path.join(self.workdir, "dir", ".bmp-normal"), "rb") as file:
            self.assertEqual(file.read(2), b"BM")


if __name__ == "__main__":
    unittest.main()
