"""quiltor.exe idle under Wine: how often its process wakes, and what it and
wineserver cost, while nothing is pressed; and that a held press still
repeats at the frame rate."""

import glob
import os
import shutil
import tempfile
import time
import unittest

from harness import ProgramTest, SPOT_SIZE_LABEL, SPOT_SIZE_PLUS, read_number
from test_resources import share_of_a_core, wait_until_settled
from test_windows import start_windows

WINEPREFIX = os.environ.get("QUILTOR_WINEPREFIX", "")
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def switches(pid):
    """How many times the threads of a process have been switched in since they
    started: each sleep that ends, each wait for wineserver's answer, and each
    time one is preempted."""
    total = 0
    for status in glob.glob("/proc/%d/task/*/status" % pid):
        try:
            with open(status) as lines:
                for line in lines:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def wineserver_of_prefix():
    """The PID of the wineserver that serves the tests' prefix."""
    wanted = ("WINEPREFIX=" + os.path.abspath(WINEPREFIX)).encode()
    for comm in glob.glob("/proc/[0-9]*/comm"):
        try:
            with open(comm) as name:
                if name.read().strip() not in ("wineserver", "wineserver64"):
                    continue
            pid = int(comm.split("/")[2])
            with open("/proc/%d/environ" % pid, "rb") as environ:
                if wanted in environ.read().split(b"\0"):
                    return pid
        except (FileNotFoundError, PermissionError, ProcessLookupError):
            pass
    raise AssertionError("no wineserver for %s" % WINEPREFIX)


def measure(pids, seconds):
    """Switches of the first process and the CPU of each, as a share of a core, over `seconds`."""
    before = switches(pids[0])
    started = time.monotonic()
    shares = share_of_a_core(pids, seconds)
    rate = (switches(pids[0]) - before) / (time.monotonic() - started)
    return rate, shares


class WindowsIdleTest(ProgramTest):
    def test_an_idle_window_waits_for_messages(self):
        program = start_windows(self)
        wait_until_settled(program.process.pid, quiet=1.0, timeout=30)
        pids = [program.process.pid, wineserver_of_prefix()]

        # The user does nothing for ten seconds.
        idle_rate, (idle_cpu, idle_server) = measure(pids, 10)
        print("\nquiltor.exe under Wine, idle for 10 s: %.1f switches a second, %.2f%% of a core; "
              "wineserver %.2f%%" % (idle_rate, 100 * idle_cpu, 100 * idle_server))
        # The process has one thread, which sleeps in one wait of 500 ms at a
        # time; each time it wakes, its pump asks wineserver about ten
        # questions, and each answer it waits for is a switch too: about 20
        # switches a second in all (Debian 12's Wine 8, traced). A loop
        # polling every 10 ms would make about a thousand.
        self.assertLessEqual(idle_rate, 50, "switched %.1f times a second" % idle_rate)
        self.assertLessEqual(idle_cpu, 0.01)

        # A right press held on a "+" repeats every frame.
        program.press(SPOT_SIZE_PLUS, 3)
        held_rate, (held_cpu, held_server) = measure(pids, 2)
        program.release(3)
        counted = read_number(program.capture(), *SPOT_SIZE_LABEL)
        print("right press held on + for 2 s: %.1f switches a second, %.1f%% of a core; "
              "wineserver %.1f%%; the value went from 128 to %d"
              % (held_rate, 100 * held_cpu, 100 * held_server, counted))

        self.assertGreaterEqual(held_rate, 40, "a held press switched %.1f times a second" % held_rate)
        # About one step a frame, 60 frames a second, clamped at 255.
        self.assertGreaterEqual(counted, 128 + 40)

    def test_an_idle_window_following_its_recipe_wakes_no_more(self):
        """The folder's change notification is one more handle in the same
        wait: nothing wakes while the file does not change."""
        workdir = tempfile.mkdtemp(prefix="quiltor-windows-idle-")
        self.addCleanup(shutil.rmtree, workdir, True)
        shutil.copy(os.path.join(ROOT, "docs", "brick.recipe"), workdir)
        program = start_windows(self, "brick.recipe", workdir=workdir)
        wait_until_settled(program.process.pid, quiet=1.0, timeout=60)
        pids = [program.process.pid, wineserver_of_prefix()]
        idle_rate, (idle_cpu, idle_server) = measure(pids, 10)
        print("\nquiltor.exe under Wine following its recipe, idle for 10 s: %.1f switches a "
              "second, %.2f%% of a core; wineserver %.2f%%"
              % (idle_rate, 100 * idle_cpu, 100 * idle_server))
        self.assertLessEqual(idle_rate, 50, "switched %.1f times a second" % idle_rate)
        self.assertLessEqual(idle_cpu, 0.01)


if __name__ == "__main__":
    unittest.main()
