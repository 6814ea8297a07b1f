#!/usr/bin/env python3
"""End-to-end tests of the launcher on a high-resolution desktop: GTK's scale factor
(GDK_SCALE=2) and its font scale (GDK_DPI_SCALE), each compared with the same launcher at
scale 1 on the same display. Screenshots are in the screen's pixels.

Usage: scale_test.py with the arguments of launcher_test.py; run it on a display large enough
for a window of twice the usual size (--screen).
"""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import launcher as guide  # noqa: E402
import launcher_test  # noqa: E402
from desktop import wait_for  # noqa: E402
from launcher_test import LauncherTestCase  # noqa: E402
from screen import Image  # noqa: E402


def sharpness(image):
    """The sum of the squared differences of neighbouring pixels along the rows. A picture
    drawn at twice the resolution has about twice that of the original (twice the rows, edges
    as steep); the original scaled up smoothly, about as much as the original."""
    total = 0
    for y in range(image.height):
        row = image.row(y)
        total += sum((a - b) * (a - b) for a, b in zip(row[3:], row[:-3]))
    return total


def detailed_blocks(image):
    """Of the 2x2 blocks at even places that are not all page background, the share that are
    not of one colour: none when a picture was scaled up by doubling its pixels."""
    background = bytes(guide.PAGE_BACKGROUND)
    drawn = detailed = 0
    for y in range(0, image.height - 1, 2):
        upper, lower = image.row(y), image.row(y + 1)
        for x in range(0, 3 * (image.width - 1), 6):
            block = {upper[x:x + 3], upper[x + 3:x + 6], lower[x:x + 3], lower[x + 3:x + 6]}
            if block != {background}:
                drawn += 1
                detailed += len(block) > 1
    return detailed / max(1, drawn)


def doubled(image):
    """The image at twice its size, each pixel made four: what an upscaled bitmap looks like."""
    rows = []
    for y in range(image.height):
        row = image.row(y)
        wide = b"".join(row[x:x + 3] * 2 for x in range(0, len(row), 3))
        rows += [wide, wide]
    return Image(2 * image.width, 2 * image.height, b"".join(rows))


class ScaleTest(LauncherTestCase):
    def launch_with(self, step, settings, prefix=None):
        """The launcher with these desktop settings (GDK_SCALE, GDK_DPI_SCALE) in its environment."""
        saved = dict(self.desktop.env)
        self.desktop.env.update(settings)
        try:
            run = guide.Launcher(self.desktop, launcher_test.OPTIONS.launcher, prefix or self.prefix,
                                 f"{self._testMethodName}-{step}")
        finally:
            self.desktop.env = saved
        self.addCleanup(run.stop)
        self.addCleanup(self.keep_evidence, run)
        return run

    def guide_with(self, step, settings, scale=1):
        """The guide's window at these settings once its page is drawn: the launcher, the window's
        geometry and smallest size, the client area (saved) and its action links."""
        run = self.launch_with(step, settings)
        window = run.window()
        wait_for(lambda: guide.guide_buttons(run.client_image(window))[0], 30, "the guide page")
        image = run.steady_client_image(window)
        self.shot(image, f"{step}-client")
        self.shot_window(run, window, f"{step}-window")
        faults = guide.edges_not_page(image, scale=scale)
        self.assertEqual(faults, [], f"the page does not fill the client area at {settings}")
        self.assertEqual(run.stderr_lines(), [])
        return run, run.geometry(window), self.smallest_size(run, window), image, guide.guide_buttons(image)[0]

    def smallest_size(self, run, window):
        """The smallest client area the window asks the window manager for, in the screen's pixels."""
        hints = self.desktop.x(["xprop", "-id", window, "WM_NORMAL_HINTS"]).decode()
        found = re.search(r"minimum size: (\d+) by (\d+)", hints)
        self.assertIsNotNone(found, hints)
        return int(found.group(1)), int(found.group(2))

    def test_scale_2_doubles_the_window_its_smallest_size_and_the_page_with_crisp_text(self):
        run, one, one_smallest, one_image, one_links = self.guide_with("scale-1", {})
        run.stop()
        run, two, two_smallest, two_image, two_links = self.guide_with("scale-2", {"GDK_SCALE": "2"}, scale=2)

        # The dialog's units, its smallest size and the page's layout are the same in GTK's
        # pixels, which are twice the screen's.
        self.assertEqual((two.width, two.height), (2 * one.width, 2 * one.height))
        self.assertEqual(two_smallest, (2 * one_smallest[0], 2 * one_smallest[1]))
        self.assertEqual(len(two_links), len(one_links))
        for small, large in zip(one_links, two_links):
            self.assertTrue(all(abs(b - 2 * a) <= 2 for a, b in zip(small, large)), f"{small} at 2: {large}")

        # The text is drawn at the screen's resolution, not scaled up from scale 1's.
        top = min(one_image.height, 200)
        one_top, two_top = one_image.crop(0, 0, one.width, top), two_image.crop(0, 0, two.width, 2 * top)
        self.assertGreater(sharpness(two_top), 1.5 * sharpness(one_top), "the page looks scaled up smoothly")
        self.assertEqual(detailed_blocks(doubled(one_top)), 0)
        self.assertGreater(detailed_blocks(two_top), 0.05, "the page looks scaled up pixel by pixel")

    def test_scale_2_message_box_is_twice_as_big_and_shows_its_text(self):
        nowhere = os.path.join(self.desktop.root, "nowhere")
        sizes = []
        for step, settings in (("scale-1", {}), ("scale-2", {"GDK_SCALE": "2"})):
            run = self.launch_with(step, settings, prefix=nowhere)
            box = run.window()
            self.assert_message_shown(run, box, f"{step}-message")
            area = run.geometry(box)
            sizes.append((area.width, area.height))
            self.desktop.x(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
            self.assertEqual(run.wait_exit(), 1)
        (one_width, one_height), (two_width, two_height) = sizes
        # GTK lays the text out anew at each scale; its lines may round differently by a pixel.
        self.assertLessEqual(abs(two_width - 2 * one_width), 4, sizes)
        self.assertLessEqual(abs(two_height - 2 * one_height), 4, sizes)

    def test_larger_font_scale_makes_the_dialog_grow_with_its_font(self):
        run, one, _, _, _ = self.guide_with("font-1", {})
        run.stop()
        run, larger, _, _, _ = self.guide_with("font-1.5", {"GDK_DPI_SCALE": "1.5"})
        # Dialog units follow the message font, 1.5 times as big; they are whole pixels, so the
        # window grows by about that much, not exactly.
        for small, large in ((one.width, larger.width), (one.height, larger.height)):
            self.assertTrue(1.25 <= large / small <= 1.6, f"{one} with GDK_DPI_SCALE=1.5: {larger}")


if __name__ == "__main__":
    launcher_test.main()
