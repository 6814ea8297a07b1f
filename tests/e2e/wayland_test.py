#!/usr/bin/env python3
"""End-to-end tests of the launcher on Wayland: the built launcher on a copy of the example
prefix, in weston's headless compositor (wayland.py). That compositor has no input seat, so
the guide's links are followed by the page itself, from a page put in the guide's place.

Usage: wayland_test.py with the arguments of launcher_test.py (no --xvfb: no X display
is needed).
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import launcher as guide  # noqa: E402
import launcher_test  # noqa: E402
from desktop import wait_for  # noqa: E402
from launcher_test import GENERATOR, RUN_GENERATOR, LauncherTestCase  # noqa: E402
from wayland import Weston  # noqa: E402

OPEN_MISSING = ("openfolder:C:%5CProgram%20Files%20(x86)%5CTessarin%5CTsr%20Installation%20Generator"
                "%5CNo%20such%20folder")

# A guide page that follows its own links once it is shown: each command in turn, delay ms
# apart, in the page background's colour so that a screenshot finds it.
SCRIPTED_GUIDE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Scripted guide</title>
<style>html, body {{ margin: 0; height: 100%; background: #f3f5f8; }}</style></head><body>
<script>
  const commands = {commands!r};
  onload = () => commands.forEach((command, i) => setTimeout(() => {{ location.href = command; }}, {delay} * (i + 1)));
</script></body></html>"""

# The background of GTK's windows (Adwaita), message boxes and title bars alike.
GTK_BACKGROUND = (0xF6, 0xF5, 0xF4)

# GTK says so on standard error when the compositor has no input seat, from its own start-up
# (the key bindings of its accessibility support); a plain GTK window does the same.
SEATLESS = "gdk_seat_get_keyboard: assertion 'GDK_IS_SEAT (seat)' failed"


class WaylandTest(LauncherTestCase):
    display = False

    def setUp(self):
        super().setUp()
        self.weston = Weston(self.desktop)
        self.addCleanup(self.weston.close)
        self.desktop.env = self.weston.env

    def shot_output(self, step):
        image = self.weston.capture()
        return image, self.shot(image, step)

    def own_lines(self, run):
        """What the launcher wrote to standard error, less GTK's words about the missing seat."""
        return [line for line in run.stderr_lines() if line.strip() and SEATLESS not in line]

    def test_guide_shows(self):
        run = self.launch()
        image, path = wait_for(lambda: (lambda shot: shot if guide.guide_buttons(shot[0])[0] else None)(
            self.shot_output("guide")), 40, "the guide's links on weston's output")
        self.assertTrue(run.running())
        self.assertEqual(self.own_lines(run), [], f"see {path}")

    def test_command_runs_and_close_ends_with_status_0(self):
        self.replace_guide(SCRIPTED_GUIDE.format(commands=[RUN_GENERATOR, "close:"], delay=800))
        run = self.launch()
        def program_line():
            """The line of the generator's marker that names it, once the generator wrote it."""
            if not os.path.exists(self.marker()):
                return None
            with open(self.marker(), encoding="utf-8") as ran:
                return next((line for line in ran if line.startswith("program: ")), None)
        program_line = wait_for(program_line, 30, "the generator's marker")
        self.assertTrue(os.path.samefile(program_line[len("program: "):].rstrip("\n"),
                                         os.path.join(self.prefix, GENERATOR, "bin/TsrGenerator.sh")))
        self.assertEqual(run.wait_exit(30), 0)
        self.assertEqual(self.own_lines(run), [])

    def test_message_box_shows(self):
        # Time enough to see the page alone first.
        self.replace_guide(SCRIPTED_GUIDE.format(commands=[OPEN_MISSING], delay=5000))
        run = self.launch()

        page = wait_for(lambda: (lambda image: image if image.count(guide.PAGE_BACKGROUND) > 100000 else None)(
            self.weston.capture()), 30, "the scripted page on weston's output")
        self.shot(page, "page")
        # The box is a window of GTK's background colour, as the guide window's title bar is.
        before = page.count(GTK_BACKGROUND)
        wait_for(lambda: any("No such folder" in line for line in run.stderr_lines()), 30,
                 "the shell's message on standard error")
        image = wait_for(lambda: (lambda image: image if image.count(GTK_BACKGROUND) > before + 20000 else None)(
            self.weston.capture()), 30, "a message box on weston's output", interval=0.5)
        path = self.shot(image, "message-box")
        self.assertTrue(run.running(), f"see {path}")
        self.assertEqual(self.own_lines(run), [line for line in run.stderr_lines() if "No such folder" in line])

if __name__ == "__main__":
    launcher_test.main()
