"""The launcher as a user meets it: a process with a window on the test desktop."""

import os
import re
import signal
import subprocess
import time

import screen
from desktop import Timeout, wait_for

CAPTION = "Tessarin Installation Guide"

# Colours of the example guide pages' style sheet.
PAGE_BACKGROUND = screen.hex_colour("f3f5f8")
ACTION_BUTTON = screen.hex_colour("2f6db5")
SECONDARY_BUTTON = screen.hex_colour("e4e9f0")
EVALUATION_NOTICE = screen.hex_colour("fff4d6")


class Geometry:
    def __init__(self, left, top, width, height):
        self.left, self.top, self.width, self.height = left, top, width, height

    def __repr__(self):
        return f"{self.width}x{self.height}+{self.left}+{self.top}"


class Launcher:
    def __init__(self, desktop, executable, prefix, name):
        self.desktop = desktop
        self.stderr_path = os.path.join(desktop.root, f"{name}.stderr")
        env = dict(desktop.env)
        if prefix is not None:
            env["WINEPREFIX"] = prefix
        with open(self.stderr_path, "wb") as stderr:
            # A session of its own, so that the test can end the launcher and what it started.
            self.process = subprocess.Popen([executable], env=env, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=stderr,
                                            start_new_session=True)

    def stderr_lines(self):
        with open(self.stderr_path, "rb") as stderr:
            return stderr.read().decode("utf-8", "replace").splitlines()

    def running(self):
        return self.process.poll() is None

    def window(self, title=CAPTION, timeout=30):
        """The id of the launcher's visible window with this title, once it is mapped."""
        deadline = time.monotonic() + timeout
        while True:
            found = self._search_window(title, deadline)
            if found:
                return found
            if not self.running():
                raise AssertionError(f"the launcher ended with status {self.process.returncode} before its "
                                     f"window showed; standard error:\n" + "\n".join(self.stderr_lines()))
            # xdotool gives up when a window it looks at goes away meanwhile, as the main window
            # does when a failure box of the same title takes its place: look again.
            if time.monotonic() > deadline:
                raise Timeout(f"gave up after {timeout} s waiting for a window titled {title!r}")
            time.sleep(0.1)

    def _search_window(self, title, deadline):
        """One search: the first window id xdotool prints, or None when it ends without one."""
        search = subprocess.Popen(
            ["xdotool", "search", "--sync", "--all", "--onlyvisible", "--pid", str(self.process.pid),
             "--name", "^" + re.escape(title) + "$"],
            env=self.desktop.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            wait_for(lambda: search.poll() is not None or not self.running(),
                     max(0.0, deadline - time.monotonic()), f"a window titled {title!r}")
            words = search.stdout.read().split() if search.poll() is not None else []
            return words[0].decode() if words else None
        finally:
            if search.poll() is None:
                search.kill()
                search.wait()
            search.stdout.close()

    def visible_windows(self):
        """Every viewable window of the display, menus and other pop-ups included."""
        out = self.desktop.x(["xdotool", "search", "--onlyvisible", "--name", ""], check=False)
        return set(out.split())

    def geometry(self, window):
        info = self.desktop.x(["xwininfo", "-id", window]).decode()
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", info).group(1))
        return Geometry(value("Absolute upper-left X"), value("Absolute upper-left Y"),
                        value("Width"), value("Height"))

    def frame_extents(self, window):
        """Left, right, top and bottom of the window manager's frame around the window."""
        out = self.desktop.x(["xprop", "-id", window, "_NET_FRAME_EXTENTS"]).decode()
        numbers = re.findall(r"\d+", out.split("=", 1)[-1])
        if len(numbers) != 4:
            raise AssertionError(f"the window manager gave the window no frame: {out.strip()}")
        return [int(n) for n in numbers]

    def title(self, window):
        return self.desktop.x(["xdotool", "getwindowname", window]).decode().rstrip("\n")

    def client_image(self, window):
        area = self.geometry(window)
        return screen.capture(self.desktop.env).crop(area.left, area.top, area.width, area.height)

    def steady_client_image(self, window, timeout=15):
        """The client area once two captures a moment apart agree: the page is laid out."""
        previous = [None]

        def steady():
            image = self.client_image(window)
            same = previous[0] is not None and not image.differs_from(previous[0])
            previous[0] = image
            return image if same else None
        return wait_for(steady, timeout, "the window's content to settle", interval=0.25)

    def wait_exit(self, timeout=20):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Timeout(f"the launcher still runs {timeout} s later") from None

    def stop(self):
        if self.running():
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()


def guide_buttons(image):
    """The guide page's link buttons that are in view, in page order: the action buttons and
    then the secondary one ("Close the guide"). Buttons are wide boxes of their colour; the
    heading's rule is too thin and the step numbers are round."""
    def buttons(colour):
        return [box for box in image.boxes(colour, min_width=4, min_height=14)
                if 14 <= box[3] <= 90 and box[2] >= 2.5 * box[3]]
    return buttons(ACTION_BUTTON), buttons(SECONDARY_BUTTON)


def centre(box):
    return box[0] + box[2] // 2, box[1] + box[3] // 2


def edges_not_page(image, scrollbar=16, scale=1):
    """Where the client area's edges are not the page: the two left columns and the top row
    whole, and a column inside the right margin, beside the scroll bar. Empty when the page
    fills the client area. At a scale factor of the desktop (GDK_SCALE) the scroll bar and the
    corner below are that many times as big, in the screen's pixels."""
    faults = []
    width, height = image.width, image.height
    scrollbar *= scale
    # The view's top-left pixel is left out: WebKitGTK draws it in a grey of its own, in a
    # plain WebKitGTK window as well.
    corner = lambda x, y: x < scale and y < scale
    checks = {
        "left edge": [(x, y) for x in (0, 1) for y in range(height) if not corner(x, y)],
        "right margin": [(width - scrollbar - 1, y) for y in range(height)],
        "top edge": [(x, 0) for x in range(scale, width - scrollbar)],
    }
    for edge, points in checks.items():
        wrong = [(x, y) for x, y in points if image.pixel(x, y) != PAGE_BACKGROUND]
        if wrong:
            x, y = wrong[0]
            faults.append(f"{edge}: {len(wrong)} of {len(points)} pixels are not the page, first at "
                          f"({x}, {y}) = #{bytes(image.pixel(x, y)).hex()}")
    return faults
