"""What the program costs while it runs: CPU when idle, memory over a long session."""

import subprocess
import time
import unittest

import harness
from harness import ProgramTest, slot_region, wait_for


class ResourceTest(ProgramTest):
    def test_an_idle_window_uses_under_a_quarter_of_a_core(self):
        program = self.start_program(binary=harness.PLAIN_BINARY)
        self.wait_for_frame(program, lambda rgb: rgb[0:3] == b"\x40\x40\x40", "the first frame")
        start_cpu, start_time = program.cpu_seconds(), time.monotonic()
        time.sleep(3)  # the measurement window: the user does nothing
        used = program.cpu_seconds() - start_cpu
        elapsed = time.monotonic() - start_time
        print("\nidle: %.3f s of CPU in %.2f s (%.1f%% of a core)" % (used, elapsed, 100 * used / elapsed))
        self.assertLess(used / elapsed, 0.25, "used %.2f s of CPU in %.2f s" % (used, elapsed))

    def test_five_hundred_operations_do_not_grow_resident_memory(self):
        program = self.start_program(binary=harness.PLAIN_BINARY)
        self.wait_for_frame(program, lambda rgb: rgb[0:3] == b"\x40\x40\x40", "the first frame")
        # Exercise every kind of operation once so its code and buffers are resident.
        warm_up = [harness.CELLS, harness.PLASMA, harness.PONG, harness.SINE, harness.ADD,
                   harness.SUB, harness.MIX, harness.COPY, harness.MAX, harness.COLORIZE,
                   harness.INVERT, harness.CLEAR, harness.MOVE, harness.DEFORM, harness.TWIRL]
        self.run_clicks(program, warm_up)
        baseline = program.resident_bytes()

        operations = [harness.TWIRL, harness.DEFORM, harness.CELLS, harness.PLASMA,
                      harness.MIX, harness.INVERT, harness.MOVE, harness.SINE,
                      harness.COLORIZE, harness.ADD]
        self.run_clicks(program, operations, repeat=50)
        grown = program.resident_bytes() - baseline
        print("\nresident: %d KiB after the warm-up, %+d bytes after 500 operations"
              % (baseline // 1024, grown))
        self.assertLess(grown, 1024 * 1024, "resident memory grew by %d bytes" % grown)

    def run_clicks(self, program, points, repeat=1):
        """Clicks each point `repeat` times, 20 ms apart so that each click is its
        own press (the program handles one press per 1/60 s pass)."""
        command = []
        for x, y in points:
            command += ["mousemove", "--window", program.window, str(x), str(y),
                        "click", "--repeat", str(repeat), "--delay", "20", "1"]
        program.xdotool(*command)
        # The last click has been handled once a frame shows its result; capture twice.
        first = program.capture()
        wait_for(lambda: program.capture() == first, 10, "the screen to settle")


if __name__ == "__main__":
    unittest.main()
