"""What the program costs while it runs: CPU when idle, memory over a long session."""

import os
import shutil
import tempfile
import time
import unittest

import harness
from harness import ProgramTest, SPOT_SIZE_LABEL, SPOT_SIZE_PLUS, read_number, wait_for

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def share_of_a_core(processes, seconds):
    """The CPU each process (by PID) uses over `seconds` of wall time, as a
    fraction of one core, in the order given."""
    start = [harness.cpu_seconds(pid) for pid in processes]
    started = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - started
    return [(harness.cpu_seconds(pid) - used) / elapsed for pid, used in zip(processes, start)]


def wait_until_settled(pid, quiet=1.0, timeout=10):
    """Waits until the process has used no CPU for `quiet` seconds: the tail
    of start-up (the compat build's SDL 2 keeps initialising for a moment
    after the first frame is shown) is not idling."""
    def quiet_now():
        before = harness.cpu_seconds(pid)
        time.sleep(quiet)
        return harness.cpu_seconds(pid) == before
    wait_for(quiet_now, timeout, "the program to finish starting up", interval=0)


class ResourceTest(ProgramTest):
    def idle_share(self, program, what):
        """The share of a core quiltor and the X server use while the user does
        nothing for ten seconds, once start-up is over; checked and printed."""
        self.wait_for_frame(program, lambda rgb: rgb[0:3] == b"\x40\x40\x40", "the first frame")
        processes = [program.process.pid, self.server.process.pid]
        wait_until_settled(program.process.pid)
        quiltor, server = share_of_a_core(processes, 10)
        print("\n%s SDL, idle for 10 s%s: quiltor %.2f%% of a core, the X server %.2f%%, "
              "quiltor resident %d KiB"
              % (harness.SDL_BUILD, what, 100 * quiltor, 100 * server,
                 program.resident_bytes() // 1024))
        self.assertLessEqual(quiltor, 0.01, "quiltor used %.2f%% of a core" % (100 * quiltor))
        self.assertLessEqual(server, 0.005, "the X server used %.2f%% of a core" % (100 * server))
        return processes

    def test_an_idle_window_costs_next_to_nothing(self):
        program = self.start_program(binary=harness.PLAIN_BINARY)
        processes = self.idle_share(program, "")

        # A right press held on a "+" repeats every frame; what that costs is shown, not bounded.
        program.press(SPOT_SIZE_PLUS, 3)
        held_quiltor, held_server = share_of_a_core(processes, 2)
        program.release(3)
        print("%s SDL, right press held on + for 2 s: quiltor %.1f%% of a core, "
              "the X server %.1f%%, the value went from 128 to %d"
              % (harness.SDL_BUILD, 100 * held_quiltor, 100 * held_server,
                 read_number(program.capture(), *SPOT_SIZE_LABEL)))

    def test_an_idle_window_following_its_recipe_costs_next_to_nothing(self):
        """The followed file's folder is watched in the wait for input: nothing
        wakes while nothing changes."""
        workdir = tempfile.mkdtemp(prefix="quiltor-idle-")
        self.addCleanup(shutil.rmtree, workdir, True)
        shutil.copy(os.path.join(ROOT, "docs", "brick.recipe"), workdir)
        program = self.start_program(binary=harness.PLAIN_BINARY, workdir=workdir,
                                     command=[harness.PLAIN_BINARY, "brick.recipe"])
        self.idle_share(program, ", following its recipe")

    def test_memory_grows_with_the_undo_history_and_then_stays(self):
        program = self.start_program(binary=harness.PLAIN_BINARY)
        self.wait_for_frame(program, lambda rgb: rgb[0:3] == b"\x40\x40\x40", "the first frame")
        idle = program.resident_bytes()
        # Every kind of operation once, so its code and buffers are resident,
        # then enough more that the undo history holds its 50 steps.
        warm_up = [harness.CELLS, harness.PLASMA, harness.PONG, harness.SINE, harness.ADD,
                   harness.SUB, harness.MIX, harness.COPY, harness.MAX, harness.COLORIZE,
                   harness.INVERT, harness.CLEAR, harness.MOVE, harness.DEFORM, harness.TWIRL]
        self.run_clicks(program, warm_up)
        self.run_clicks(program, [harness.INVERT], repeat=40)
        full_history = program.resident_bytes()

        operations = [harness.TWIRL, harness.DEFORM, harness.CELLS, harness.PLASMA,
                      harness.MIX, harness.INVERT, harness.MOVE, harness.SINE,
                      harness.COLORIZE, harness.ADD]
        self.run_clicks(program, operations, repeat=50)
        grown = program.resident_bytes() - full_history
        print("\n%s SDL, resident: %d KiB at start-up, %d KiB after 55 operations (the undo "
              "history full), %+d bytes after 500 more"
              % (harness.SDL_BUILD, idle // 1024, full_history // 1024, grown))
        # 50 kept steps of 256 KiB each, and little else.
        self.assertLess(full_history - idle, 50 * 256 * 1024 + 2 * 1024 * 1024)
        self.assertLess(grown, 1024 * 1024, "resident memory grew by %d bytes" % grown)

    def run_clicks(self, program, points, repeat=1):
        """Clicks each point `repeat` times, 20 ms apart so that each click is its
        own press (of several presses that arrive together, only the last counts)."""
        command = []
        for x, y in points:
            command += ["mousemove", "--window", program.window, str(x), str(y),
                        "click", "--repeat", str(repeat), "--delay", "20", "1"]
        program.xdotool(*command)
        # The clicks may still be queued when xdotool returns, more so on a slow
        # machine: they have all been handled once the program stops using CPU,
        # and its last frame is shown once two captures agree.
        wait_until_settled(program.process.pid, timeout=60)
        program.settled_capture(timeout=30)


if __name__ == "__main__":
    unittest.main()
