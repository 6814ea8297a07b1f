"""A Wayland compositor for one end-to-end test: Debian's weston with its headless backend
(no GPU, no display, no input seat), drawing with pixman so that its screenshots have pixels.

Screenshots come from weston's own screenshooter (its debug protocol, on for this
compositor), as PNG files that are read back here with the standard library only.
"""

import os
import struct
import subprocess
import tempfile
import zlib

from desktop import end_process, wait_for
from screen import Image


class Weston:
    def __init__(self, desktop, width=1280, height=900):
        self.runtime = desktop.env["XDG_RUNTIME_DIR"]
        self.socket = "tsr-wayland-0"
        self.log_path = os.path.join(desktop.root, "weston.log")
        # Clients of this compositor only: no X display to fall back to.
        self.env = {key: value for key, value in desktop.env.items() if key != "DISPLAY"}
        self.env.update(WAYLAND_DISPLAY=self.socket, GDK_BACKEND="wayland")
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen(
                ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug", f"--socket={self.socket}",
                 f"--width={width}", f"--height={height}", "--idle-time=0"],
                env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)

        def listening():
            if self.process.poll() is not None:
                raise AssertionError(f"weston ended with status {self.process.returncode}:\n{self.log()}")
            return os.path.exists(os.path.join(self.runtime, self.socket))
        wait_for(listening, 20, "weston's socket")

    def log(self):
        with open(self.log_path, errors="replace") as log:
            return log.read()

    def capture(self):
        """The whole output, as weston composes it."""
        with tempfile.TemporaryDirectory(prefix="tsr-shot-") as folder:
            subprocess.run(["weston-screenshooter"], env=self.env, cwd=folder, check=True, capture_output=True,
                           timeout=20)
            [name] = os.listdir(folder)
            with open(os.path.join(folder, name), "rb") as png:
                return read_png(png.read())

    def close(self):
        end_process(self.process)


def read_png(data):
    """An 8-bit RGB or RGBA PNG (what weston's screenshooter writes) as an RGB Image."""
    width, height, depth, kind = struct.unpack(">IIBB", data[16:26])
    if depth != 8 or kind not in (2, 6):
        raise ValueError(f"PNG of depth {depth} and colour type {kind}: only 8-bit RGB(A) is read")
    step = 3 if kind == 2 else 4
    compressed, at = b"", 8
    while at < len(data):
        length, chunk = struct.unpack(">I4s", data[at:at + 8])
        if chunk == b"IDAT":
            compressed += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(compressed)
    stride = width * step
    previous = bytearray(stride)
    rgb = bytearray()
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        kind_of_filter, row = line[0], bytearray(line[1:])
        for i in range(stride if kind_of_filter else 0):
            left = row[i - step] if i >= step else 0
            up = previous[i]
            corner = previous[i - step] if i >= step else 0
            if kind_of_filter == 1:
                row[i] = (row[i] + left) & 0xFF
            elif kind_of_filter == 2:
                row[i] = (row[i] + up) & 0xFF
            elif kind_of_filter == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif kind_of_filter == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        previous = row
        if step == 3:
            rgb += row
        else:
            pixels = bytearray(width * 3)
            pixels[0::3], pixels[1::3], pixels[2::3] = row[0::4], row[1::4], row[2::4]
            rgb += pixels
    return Image(width, height, bytes(rgb))
