"""quiltor-render's PNGs above the window's side, compressed in bands on
every thread: the same bytes with one, two and eight threads, and files that
readers other than libpng take, pixel for pixel."""

import os
import shutil
import subprocess
import tempfile
import unittest

from harness import read_file
from test_render import EXAMPLE, PLAIN_RENDER, RENDER, environment, png_header, read_png_rgb16

# Debian's own Python, which sees Debian's python3-pil; the tests' Python
# may be another.
SYSTEM_PYTHON = "/usr/bin/python3"

# Decodes the PNG named on the command line through PIL, which inflates and
# unfilters the rows itself, and prints its samples: 8 bits of red, green and
# blue (PIL keeps the high byte of 16-bit colours), or 16-bit greys high byte first.
PIL_SAMPLES = """
import sys
from PIL import Image
image = Image.open(sys.argv[1])
image.load()
if image.mode == "RGB":
    sys.stdout.buffer.write(image.tobytes())
else:
    sys.stdout.buffer.write(b"".join(v.to_bytes(2, "big") for v in image.getdata()))
"""


def pil_samples(path):
    return subprocess.run([SYSTEM_PYTHON, "-c", PIL_SAMPLES, path], capture_output=True,
                          check=True, timeout=120).stdout


class PngBandsTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-png-bands-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def path(self, name):
        return os.path.join(self.workdir, name)

    def render(self, name, side, threads, *options):
        result = subprocess.run([PLAIN_RENDER or RENDER, EXAMPLE, "-o", self.path(name), "--size",
                                 str(side), "--threads", str(threads), "--quiet", *options],
                                capture_output=True, text=True, timeout=240, env=environment())
        self.assertEqual(result.returncode, 0, result.stderr)
        return read_file(self.path(name))

    def assert_independent_readers_agree(self, path, header):
        self.assertEqual(png_header(path), header)
        # pngcheck checks every chunk's CRC and inflates the whole stream,
        # its Adler-32 included.
        check = subprocess.run(["pngcheck", path], capture_output=True, text=True, timeout=60)
        self.assertEqual(check.returncode, 0, check.stdout + check.stderr)
        levels = read_png_rgb16(path)  # ImageMagick, through libpng
        bits, colour_type = header
        if colour_type == 0:
            expected = b"".join(r.to_bytes(2, "big") for r, g, b in levels)
        else:
            shift = 8 if bits == 16 else 0
            expected = bytes(channel >> shift if bits == 16 else channel // 257
                             for pixel in levels for channel in pixel)
        self.assertTrue(pil_samples(path) == expected, "PIL and libpng differ in " + path)

    def test_one_two_and_eight_threads_write_files_that_other_readers_take(self):
        kinds = (("colours8", ("--depth", "8"), (8, 2)),
                 ("colours16", ("--depth", "16"), (16, 2)),
                 ("heights", ("--height",), (16, 0)))
        for side in (512, 2048):
            for name, options, header in kinds:
                with self.subTest(side=side, kind=name):
                    one = self.render(name + ".png", side, 1, *options)
                    for threads in (2, 8):
                        self.assertTrue(self.render("again.png", side, threads, *options) == one,
                                        "%d threads" % threads)
                    self.assert_independent_readers_agree(self.path(name + ".png"), header)


if __name__ == "__main__":
    unittest.main()
