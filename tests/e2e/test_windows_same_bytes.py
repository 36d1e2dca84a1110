"""The Windows build's renders of same_bytes.py under Wine against the same
pins as the Linux build's: trigonometric recipes included."""

import shutil
import tempfile
import unittest

import same_bytes
from test_windows import run_wine, windows_program


class WindowsSameBytesTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-windows-same-bytes-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def test_renders_match_the_linux_builds_pins(self):
        def run(recipe, arguments):
            done = run_wine([windows_program("quiltor-render.exe"), recipe] + arguments,
                            cwd=self.workdir)
            self.assertEqual((done.returncode, done.stderr), (0, ""), arguments)
        self.assertEqual(same_bytes.digests_of(run, self.workdir), same_bytes.pinned())


if __name__ == "__main__":
    unittest.main()
