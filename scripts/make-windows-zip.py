#!/usr/bin/env python3
"""Packs the Windows programs and what goes with them into one zip.

  make-windows-zip.py ZIP [--program PATH]... [--strip TOOL] [--file PATH]...
                      [--text SOURCE=NAME]... [--recipes RECIPE...]
                      [--licenses FOLDER]

--program puts a program at the top of the zip under its own name, without
its symbols and debugging sections when --strip names the cross strip tool;
--file puts a file at the top of the zip under its own name; --text puts a
text file under NAME with Windows line ends; --recipes puts recipes in the
recipes folder (Windows line ends, which recipes allow); --licenses puts
every file of FOLDER in the licenses folder, as text. Every entry gets the
same fixed date, so the same inputs give the same zip.
"""

import argparse
import os
import subprocess
import tempfile
import zipfile

# The zip format's earliest date; a fixed one keeps the zip the same.
DATE = (1980, 1, 1, 0, 0, 0)


def windows_text(path):
    with open(path, "rb") as file:
        data = file.read()
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def program_bytes(path, strip):
    """The program as shipped: a stripped copy when a strip tool is given, so
    the build folder keeps its symbols for debugging."""
    if not strip:
        with open(path, "rb") as file:
            return file.read()
    with tempfile.TemporaryDirectory() as folder:
        stripped = os.path.join(folder, os.path.basename(path))
        subprocess.run([strip, "--strip-all", "-o", stripped, path], check=True)
        with open(stripped, "rb") as file:
            return file.read()


def add(archive, name, data):
    entry = zipfile.ZipInfo(name, DATE)
    entry.compress_type = zipfile.ZIP_DEFLATED
    entry.external_attr = 0o644 << 16
    archive.writestr(entry, data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("zip")
    parser.add_argument("--program", action="append", default=[])
    parser.add_argument("--strip")
    parser.add_argument("--file", action="append", default=[])
    parser.add_argument("--text", action="append", default=[])
    parser.add_argument("--recipes", nargs="*", default=[])
    parser.add_argument("--licenses")
    options = parser.parse_args()
    folder = os.path.splitext(os.path.basename(options.zip))[0]
    os.makedirs(os.path.dirname(os.path.abspath(options.zip)), exist_ok=True)
    partial = options.zip + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in options.program:
            add(archive, folder + "/" + os.path.basename(path),
                program_bytes(path, options.strip))
        for path in options.file:
            with open(path, "rb") as file:
                add(archive, folder + "/" + os.path.basename(path), file.read())
        for pair in options.text:
            source, name = pair.split("=", 1)
            add(archive, folder + "/" + name, windows_text(source))
        for path in sorted(options.recipes):
            add(archive, folder + "/recipes/" + os.path.basename(path), windows_text(path))
        if options.licenses:
            for name in sorted(os.listdir(options.licenses)):
                add(archive, folder + "/licenses/" + name,
                    windows_text(os.path.join(options.licenses, name)))
    os.replace(partial, options.zip)


if __name__ == "__main__":
    main()
