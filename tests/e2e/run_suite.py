"""Runs one end-to-end suite, as `python3 -m unittest -v SUITE` does. A suite
meant for SDL 1.2 over SDL 2 on a machine that does not have it is reported
as skipped instead: it exits with SKIPPED, which CTest counts as a skip."""

import sys
import unittest

from harness import SDL_BUILD, sdl_compat_missing

SKIPPED = 77


def main():
    suite = sys.argv[1]
    missing = sdl_compat_missing() if SDL_BUILD == "compat" else None
    if missing:
        print("Skipped %s: %s" % (suite, missing))
        return SKIPPED
    program = unittest.main(module=None, argv=[sys.argv[0], "-v", suite], exit=False)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
