"""The same bytes from a recipe whatever the machine: the renders of
same_bytes.py against their pins, with the C library's default code paths
and with its FMA paths switched off, as on a processor without FMA, where
its sin, cos and atan2 round some arguments the other way."""

import os
import shutil
import subprocess
import tempfile
import unittest

import same_bytes
from test_render import PLAIN_RENDER, RENDER, environment

# The unsanitized build where there is one: the renders are many.
RENDERER = PLAIN_RENDER or RENDER
# The names older C libraries know, and those of today's.
WITHOUT_FMA = "glibc.cpu.hwcaps=-AVX2_Usable,-FMA_Usable,-AVX2,-FMA"
# Sine table arguments whose sine the C library's FMA and plain paths round
# differently: they show that the switch takes effect.
SWITCH_WITNESSES = ("0x1.87855f3d919fcp+2", "0x1.bd38fb42bd69ep+4")


class SameBytesTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-same-bytes-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def digests(self, env):
        def run(recipe, arguments):
            done = subprocess.run([RENDERER, recipe] + arguments, cwd=self.workdir, env=env,
                                  capture_output=True, text=True, timeout=120)
            self.assertEqual((done.returncode, done.stderr), (0, ""), arguments)
        return same_bytes.digests_of(run, self.workdir)

    def test_renders_match_their_pins_by_default(self):
        self.assertEqual(self.digests(environment()), same_bytes.pinned())

    def test_renders_match_their_pins_with_the_c_librarys_fma_paths_off(self):
        # Python's math.sin is the C library's: with the switch, it changes.
        script = "import math; print([math.sin(float.fromhex(x)) for x in %r])" % (
            SWITCH_WITNESSES,)
        sines = [subprocess.run(["python3", "-c", script], env=env, capture_output=True,
                                text=True, check=True).stdout
                 for env in (environment(), environment(GLIBC_TUNABLES=WITHOUT_FMA))]
        self.assertNotEqual(sines[0], sines[1], "the C library's FMA paths did not switch off")
        self.assertEqual(self.digests(environment(GLIBC_TUNABLES=WITHOUT_FMA)),
                         same_bytes.pinned())


if __name__ == "__main__":
    unittest.main()
