"""Screenshots of the X display and the few questions the end-to-end tests ask of them.

A screenshot is taken with xwd (the X server's own image of the screen) and kept in memory as
RGB rows; it can be saved as PNG for the test's artefacts. Only the standard library is used.
"""

import os
import re
import select
import struct
import subprocess
import time
import zlib


class Image:
    """An RGB image: width, height and rows of 3 bytes per pixel."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.rgb[at:at + 3])

    def row(self, y):
        return self.rgb[y * self.width * 3:(y + 1) * self.width * 3]

    def crop(self, left, top, width, height):
        left, top = max(0, left), max(0, top)
        width = min(width, self.width - left)
        height = min(height, self.height - top)
        rows = [self.rgb[((top + y) * self.width + left) * 3:((top + y) * self.width + left + width) * 3]
                for y in range(height)]
        return Image(width, height, b"".join(rows))

    def save_png(self, path):
        raw = b"".join(b"\x00" + self.row(y) for y in range(self.height))
        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data
                    + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))

    def count(self, colour):
        """How many pixels have exactly this colour (not how many runs of it)."""
        colour = tuple(colour)
        rgb = self.rgb
        return sum(1 for pixel in zip(rgb[0::3], rgb[1::3], rgb[2::3]) if pixel == colour)

    def boxes(self, colour, min_width=1, min_height=1):
        """Rectangles (left, top, width, height) of connected areas of one colour, top to bottom.

        Areas are made of horizontal runs of at least min_width pixels, joined when a run
        overlaps a run of the row above; text drawn on a coloured box splits some rows into
        short runs, but the box's margins above and below the text hold it together.
        """
        pattern = _runs_pattern(colour, min_width)
        parent, extent, previous = [], [], []

        def root(i):
            while parent[i] != i:
                parent[i] = parent[parent[i]]
                i = parent[i]
            return i

        for y in range(self.height):
            current = []
            for match in pattern.finditer(self.row(y)):
                if match.start() % 3:  # a match that straddles two pixels
                    continue
                left, right = match.start() // 3, match.end() // 3
                index = len(parent)
                parent.append(index)
                extent.append([left, y, right, y + 1])
                for other_left, other_right, other in previous:
                    if other_left < right and other_right > left:
                        parent[root(other)] = index
                current.append((left, right, index))
            previous = current
        merged = {}
        for i, (left, top, right, bottom) in enumerate(extent):
            box = merged.setdefault(root(i), [left, top, right, bottom])
            box[0], box[1] = min(box[0], left), min(box[1], top)
            box[2], box[3] = max(box[2], right), max(box[3], bottom)
        found = [(b[0], b[1], b[2] - b[0], b[3] - b[1]) for b in merged.values()]
        return sorted((b for b in found if b[3] >= min_height), key=lambda b: (b[1], b[0]))

    def differs_from(self, other):
        return (self.width, self.height, self.rgb) != (other.width, other.height, other.rgb)


def _runs_pattern(colour, min_width):
    pixel = re.escape(bytes(colour))
    return re.compile(b"(?:" + pixel + b"){%d,}" % min_width, re.DOTALL)


def hex_colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def capture(env):
    """The whole screen of the display that env names."""
    dump = subprocess.run(["xwd", "-root", "-silent"], env=env, check=True, capture_output=True,
                          timeout=20).stdout
    return parse_xwd(dump)


def capture_evidence(env, attempts=3, pause=0.5):
    """The screen for a test's artefacts, or why it could not be taken.

    Answers (image, None) or (None, reason). xwd fails now and then while a window goes away
    (as the launcher's do when it ends), so it is tried a few times; evidence that cannot be
    taken is reported, never raised: it must not fail a test that passed.
    """
    reason = None
    for attempt in range(attempts):
        if attempt:
            time.sleep(pause)
        try:
            return capture(env), None
        except subprocess.CalledProcessError as error:
            reason = (f"xwd -root ended with status {error.returncode}: "
                      f"{error.stderr.decode(errors='replace').strip() or 'no message'}")
        except (OSError, subprocess.TimeoutExpired, ValueError, struct.error) as error:
            reason = f"{type(error).__name__}: {error}"
    return None, f"{reason} (tried {attempts} times)"


class Display:
    """An X server of the test's own (Xvfb), on a display number the server picks itself.

    Xvfb -displayfd takes the first free number and writes it once it accepts clients, so
    tests that start at the same moment never race for one, as they may with xvfb-run -a,
    which guesses a free number from the lock files before the server is up.
    """

    def __init__(self, server="Xvfb", screen="1600x1400x24", timeout=30):
        read, write = os.pipe()
        try:
            # Without -noreset the server resets whenever its last client leaves, and a client
            # that connects meanwhile (the window manager, as a test starts) is turned away.
            self.process = subprocess.Popen(
                [server, "-displayfd", str(write), "-screen", "0", screen, "-noreset", "-nolisten", "tcp"],
                pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL)
        finally:
            os.close(write)
        try:
            number = self._read_number(read, timeout)
        finally:
            os.close(read)
        self.name = f":{number}"

    def _read_number(self, read, timeout):
        deadline = time.monotonic() + timeout
        text = b""
        while not text.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read], [], [], left)[0]:
                self.close()
                raise AssertionError(f"Xvfb named no display within {timeout} s")
            chunk = os.read(read, 64)
            if not chunk:
                self.close()
                raise AssertionError(f"Xvfb ended with status {self.process.returncode} before it named a display")
            text += chunk
        return int(text.strip())

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def run_on_own_display(server, command, screen="1600x1400x24"):
    """Runs command (an argument vector) with DISPLAY set to a new Xvfb of its own, whose screen
    has this size and depth; answers the command's status."""
    display = Display(server, screen)
    try:
        env = dict(os.environ, DISPLAY=display.name)
        return subprocess.run(command, env=env).returncode
    finally:
        display.close()


def parse_xwd(dump):
    fields = struct.unpack(">25I", dump[:100])
    header_size, _, pixmap_format, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask = fields[14:17]
    colours = fields[19]
    if pixmap_format != 2 or depth < 24 or bits_per_pixel not in (24, 32):
        raise ValueError(f"xwd image of format {pixmap_format}, depth {depth}, {bits_per_pixel} bits "
                         "per pixel: only true colour screens of depth 24 are read")
    if (red_mask, green_mask, blue_mask) != (0xFF0000, 0xFF00, 0xFF):
        raise ValueError("xwd image with an unusual colour layout")
    data = memoryview(dump)[header_size + colours * 12:]
    step = bits_per_pixel // 8
    # Each pixel is the word 0x(00)RRGGBB in the image's byte order: B, G, R first when the
    # order is LSBFirst (0).
    red, green, blue = (2, 1, 0) if byte_order == 0 else (step - 3, step - 2, step - 1)
    rgb = bytearray(width * height * 3)
    for y in range(height):
        row = data[y * bytes_per_line:y * bytes_per_line + width * step]
        out = memoryview(rgb)[y * width * 3:(y + 1) * width * 3]
        out[0::3] = row[red::step]
        out[1::3] = row[green::step]
        out[2::3] = row[blue::step]
    return Image(width, height, bytes(rgb))
