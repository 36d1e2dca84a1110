"""Runs the real program in a private X server and drives it from outside.

Every X server and program a test starts is stopped by PID when the test
ends, whether it passed or not. Waits are bounded polls for a condition.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

BINARY = os.environ.get("QUILTOR_BINARY", "quiltor")
PLAIN_BINARY = os.environ.get("QUILTOR_PLAIN_BINARY") or BINARY
RENDER_BINARY = os.environ.get("QUILTOR_RENDER_BINARY", "quiltor-render")
FRAME_TOOL = os.environ.get("QUILTOR_FRAME_TOOL", "render_start_frame")
CLOSE_TOOL = os.environ.get("QUILTOR_CLOSE_TOOL", "send_close")

# Which SDL 1.2 the program is expected to load: "classic", or "compat" (SDL
# 1.2 over SDL 2, found through LD_LIBRARY_PATH in its own directory).
SDL_BUILD = os.environ.get("QUILTOR_SDL", "classic")
SDL_COMPAT_DIR = os.environ.get("QUILTOR_SDL_COMPAT_DIR",
                                "/usr/lib/x86_64-linux-gnu/sdl12-compat")

WIDTH, HEIGHT = 800, 600

# Slot i's texture sits at these window coordinates.
SLOT_ORIGINS = [(4, 4), (267, 4), (4, 267), (267, 267)]

# Where to press each control, by its caption (a point inside its box).
TARGET = {1: (535, 20), 2: (555, 20), 3: (535, 40), 4: (555, 40)}
SOURCE = {1: (605, 20), 2: (625, 20), 3: (605, 40), 4: (625, 40)}
CELLS, PLASMA, PONG, SINE = (540, 80), (540, 105), (540, 130), (540, 155)
TWIRL, MOVE, DEFORM = (540, 500), (540, 425), (540, 450)
INVERT, COLORIZE, CLEAR = (620, 360), (540, 360), (680, 360)
ADD, SUB, MIX, COPY, MAX = (540, 220), (575, 220), (625, 220), (540, 245), (585, 245)
SAVE = (15, 560)
SPOT_SIZE_PLUS = (675, 126)
SPOT_SIZE_LABEL = (690, 125, 3)  # x, y, cells before the "-" button


def wait_for(condition, timeout, what, interval=0.02):
    """Polls condition() until it returns a true value; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def cpu_seconds(pid):
    """User plus system CPU time a process has used so far."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks


def loaded_sdl_libraries(pid):
    """The paths of the SDL 1.2 libraries mapped into a process."""
    with open("/proc/%d/maps" % pid) as maps:
        paths = {line.split(None, 5)[5].strip() for line in maps if len(line.split(None, 5)) == 6}
    return sorted(path for path in paths if os.path.basename(path).startswith("libSDL-1.2.so"))


def check_sdl_build(pid):
    """Fails unless the process runs on the SDL 1.2 build that SDL_BUILD names."""
    libraries = loaded_sdl_libraries(pid)
    if not libraries:
        raise AssertionError("no SDL 1.2 library is mapped into process %d" % pid)
    compat = [path for path in libraries if os.path.dirname(path) == SDL_COMPAT_DIR]
    if SDL_BUILD == "compat" and len(compat) != len(libraries):
        raise AssertionError("expected the SDL 1.2 in %s, found %s" % (SDL_COMPAT_DIR, libraries))
    if SDL_BUILD != "compat" and compat:
        raise AssertionError("expected the classic SDL 1.2, found %s" % libraries)


def sdl_compat_missing():
    """Why the program cannot run on SDL 1.2 over SDL 2 here, or None if it can."""
    library = os.path.join(SDL_COMPAT_DIR, "libSDL-1.2.so.0")
    if os.path.exists(library):
        return None
    return ("SDL 1.2 over SDL 2 is not installed: no %s (the package libsdl1.2-compat)"
            % library)


def stop_process(process):
    """Stops a child by PID: politely, then by force."""
    if process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=5)


class XServer:
    """A private Xvfb on a display number it picks itself."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            stop_process(self.process)
            raise AssertionError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def env(self, **extra):
        environment = dict(os.environ, DISPLAY=self.display)
        environment.pop("SDL_VIDEODRIVER", None)
        environment.update(extra)
        return environment

    def stop(self):
        stop_process(self.process)


class Program:
    """The real program, started in its own working directory on a display."""

    def __init__(self, server, binary=BINARY, workdir=None, preexec_fn=None, command=None,
                 window_timeout=30, check_sdl=True):
        self.server = server
        self.workdir = workdir or tempfile.mkdtemp(prefix="quiltor-e2e-")
        self.stderr_path = os.path.join(tempfile.mkdtemp(prefix="quiltor-log-"), "stderr")
        self.stderr_file = open(self.stderr_path, "wb")
        self.process = subprocess.Popen(command or [binary], cwd=self.workdir, env=server.env(),
                                        stdout=subprocess.DEVNULL, stderr=self.stderr_file,
                                        preexec_fn=preexec_fn)
        self.window = wait_for(self._find_window, window_timeout, "the window named Quiltor")
        if check_sdl:
            check_sdl_build(self.process.pid)
        # The window may be found before it is mapped and drawn; input sent
        # before then is lost.
        wait_for(self._shows_a_frame, window_timeout, "the first frame")

    def _find_window(self):
        if self.process.poll() is not None:
            raise AssertionError("the program exited with status %d: %s"
                                 % (self.process.returncode, self.stderr()))
        found = self.xdotool("search", "--name", "^Quiltor$", check=False)
        return found.split()[0] if found.strip() else None

    def _shows_a_frame(self):
        try:
            rgb = self.capture()
        except (subprocess.CalledProcessError, AssertionError):
            return False  # not yet viewable
        return pixel(rgb, 0, 0) == 0x404040 and pixel(rgb, 1, 1) == 0xC0C0C0

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool"] + list(args), env=self.server.env(),
                                capture_output=True, text=True, timeout=120)
        if check and result.returncode != 0:
            raise AssertionError("xdotool %s failed: %s" % (" ".join(args[:8]), result.stderr))
        return result.stdout

    def stderr(self):
        self.stderr_file.flush()
        with open(self.stderr_path, "rb") as log:
            return log.read().decode(errors="replace")

    def capture(self):
        """The window's 800x600 client area as a bytes object of RGB triples."""
        dump = subprocess.run(["xwd", "-id", self.window, "-silent"], env=self.server.env(),
                              capture_output=True, timeout=30, check=True).stdout
        rgb = subprocess.run(["convert", "xwd:-", "-depth", "8", "rgb:-"], input=dump,
                             capture_output=True, timeout=30, check=True).stdout
        if len(rgb) != WIDTH * HEIGHT * 3:
            raise AssertionError("capture has %d bytes" % len(rgb))
        return rgb

    def settled_capture(self, timeout=30):
        """A capture once two in a row agree: every press so far has been drawn."""
        previous = [None]

        def same_twice():
            rgb = self.capture()
            settled = rgb == previous[0]
            previous[0] = rgb
            return rgb if settled else None
        return wait_for(same_twice, timeout, "the window to settle", interval=0.3)

    def click(self, point, button=1):
        self.xdotool("mousemove", "--window", self.window, str(point[0]), str(point[1]),
                     "click", str(button))

    def press(self, point, button):
        self.xdotool("mousemove", "--window", self.window, str(point[0]), str(point[1]),
                     "mousedown", str(button))

    def release(self, button):
        self.xdotool("mouseup", str(button))

    def key(self, name):
        self.xdotool("windowfocus", "--sync", self.window, "key", name)

    def wait_for_exit(self, timeout=15):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not exit within %d s" % timeout)

    def cpu_seconds(self):
        return cpu_seconds(self.process.pid)

    def resident_bytes(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) * 1024
        raise AssertionError("no VmRSS")

    def stop(self):
        stop_process(self.process)
        self.stderr_file.close()


def pixel(rgb, x, y):
    """The 0xRRGGBB colour at (x, y) of a capture."""
    at = (y * WIDTH + x) * 3
    return (rgb[at] << 16) | (rgb[at + 1] << 8) | rgb[at + 2]


def slot_region(rgb, slot):
    """A slot's 256x256 texture, as a list of 0xRRGGBB values, from a capture."""
    x0, y0 = SLOT_ORIGINS[slot]
    return [pixel(rgb, x0 + x, y0 + y) for y in range(256) for x in range(256)]


def drawn_frame(*args):
    """A frame as the program's own drawing code renders it in-process: the
    start-up frame, or with "lit" the start-up frame after L; as a capture."""
    ppm = subprocess.run([FRAME_TOOL] + list(args), capture_output=True, timeout=60,
                         check=True).stdout
    header = b"P6\n800 600\n255\n"
    assert ppm.startswith(header), ppm[:20]
    return ppm[len(header):]


def read_file(path):
    with open(path, "rb") as file:
        return file.read()


def read_png_rgb(path):
    """Decodes a PNG, through ImageMagick, into a list of 0xRRGGBB values."""
    rgb = subprocess.run(["convert", "png:" + path, "-depth", "8", "rgb:-"],
                         capture_output=True, check=True, timeout=60).stdout
    return [(rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2] for i in range(0, len(rgb), 3)]


def read_bmp24(path):
    """Decodes an uncompressed 24-bit BMP into (width, height, 0xRRGGBB list)."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:2] != b"BM":
        raise AssertionError("not a BMP file")
    offset = int.from_bytes(data[10:14], "little")
    width = int.from_bytes(data[18:22], "little", signed=True)
    height = int.from_bytes(data[22:26], "little", signed=True)
    bits = int.from_bytes(data[28:30], "little")
    compression = int.from_bytes(data[30:34], "little")
    if bits != 24 or compression != 0:
        raise AssertionError("not an uncompressed 24-bit BMP")
    row_bytes = (width * 3 + 3) // 4 * 4
    pixels = []
    for y in range(abs(height)):
        row = height - 1 - y if height > 0 else y  # positive height: bottom-up
        start = offset + row * row_bytes
        for x in range(width):
            b, g, r = data[start + 3 * x:start + 3 * x + 3]
            pixels.append((r << 16) | (g << 8) | b)
    return width, abs(height), pixels


# The digits and the minus sign of the program's 6x8 font, one 6-bit row per
# byte with 0x20 the leftmost pixel: enough to read a value label off the screen.
GLYPH_ROWS = {
    "0": (0x1E, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x1E),
    "1": (0x0C, 0x1C, 0x1C, 0x0C, 0x0C, 0x0C, 0x0C, 0x1E),
    "2": (0x1E, 0x33, 0x03, 0x06, 0x0C, 0x18, 0x30, 0x3F),
    "3": (0x1E, 0x33, 0x03, 0x0E, 0x03, 0x03, 0x33, 0x1E),
    "4": (0x06, 0x0E, 0x1E, 0x36, 0x36, 0x3F, 0x06, 0x06),
    "5": (0x3F, 0x30, 0x30, 0x3E, 0x03, 0x03, 0x33, 0x1E),
    "6": (0x1F, 0x30, 0x30, 0x3E, 0x33, 0x33, 0x33, 0x1E),
    "7": (0x3F, 0x33, 0x03, 0x06, 0x06, 0x0C, 0x0C, 0x0C),
    "8": (0x1E, 0x33, 0x33, 0x1E, 0x33, 0x33, 0x33, 0x1E),
    "9": (0x1E, 0x33, 0x33, 0x1F, 0x03, 0x03, 0x33, 0x1E),
    "-": (0x00, 0x00, 0x00, 0x1E, 0x1E, 0x00, 0x00, 0x00),
}
GLYPH_BY_ROWS = {rows: character for character, rows in GLYPH_ROWS.items()}


def read_number(rgb, x, y, cells, color=0x8080FF):
    """Reads the integer a value label draws at (x, y) in the given colour,
    in at most `cells` character cells (the next control may follow)."""
    text = ""
    for cell in range(cells):
        rows = tuple(sum(0x20 >> column for column in range(6)
                         if pixel(rgb, x + 7 * cell + column, y + row) == color)
                     for row in range(8))
        if not any(rows):
            break
        if rows not in GLYPH_BY_ROWS:
            raise AssertionError("unreadable glyph at cell %d of the label at (%d, %d)"
                                 % (cell, x, y))
        text += GLYPH_BY_ROWS[rows]
    return int(text)


class ProgramTest(unittest.TestCase):
    """Each test gets a fresh X server; start_program() starts the program on it."""

    def setUp(self):
        self.server = XServer()
        self.addCleanup(self.server.stop)

    def start_program(self, **options):
        program = Program(self.server, **options)
        self.addCleanup(program.stop)
        self.addCleanup(shutil.rmtree, program.workdir, True)
        return program

    def wait_for_frame(self, program, condition, what, timeout=10):
        """Captures until condition(capture) holds; returns that capture."""
        return wait_for(lambda: (lambda rgb: rgb if condition(rgb) else None)(program.capture()),
                        timeout, what, interval=0.05)
