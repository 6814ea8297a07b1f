#!/usr/bin/env python3
"""End-to-end tests of tessarin-guide on broken installations and oversized input: the built
launcher on a damaged copy of the example prefix, under Xvfb. Each fault must be told in the
launcher's words, in the window and as one line on standard error, and end with the right
status; a very long command target must give a readable box at once.

Usage: installation_test.py --launcher PATH --examples DIR --artefacts DIR [--xvfb PATH]
                            [unittest arguments]

The harness (the throw-away desktop, the launcher process, screenshots) is launcher_test.py's.
"""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import launcher_test  # noqa: E402
import launcher as guide  # noqa: E402
from desktop import wait_for  # noqa: E402
from launcher_test import GUIDE_PAGE, LauncherTestCase  # noqa: E402
import screen  # noqa: E402

FOLDER_LINE = '"InstallFolder"="C:\\\\Program Files (x86)\\\\Tessarin\\\\Tsr Installation Generator\\\\"'
PAGE_OF = "TsrInstallationGuide\\Content\\runvane.html"
REINSTALL = "Please install the Tessarin Installation Generator again."
# The rule under the heading of the launcher's own error page.
ERROR_RULE = screen.hex_colour("b8322e")

# A guide whose one link, covering the page, names a program of a megabyte.
LONG_LINK_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>long</title>
<style>html, body {{ margin: 0; height: 100%; }} a {{ display: block; height: 100%; background: #2f6db5; }}</style>
</head><body><a href="{target}">run</a></body></html>"""


class InstallationTest(LauncherTestCase):
    def set_install_folder(self, registry_text):
        hive = os.path.join(self.prefix, "system.reg")
        with open(hive, encoding="utf-8") as text:
            content = text.read()
        self.assertIn(FOLDER_LINE, content)
        with open(hive, "w", encoding="utf-8") as text:
            text.write(content.replace(FOLDER_LINE, f'"InstallFolder"="{registry_text}"'))

    def loop_drive_c(self):
        link = os.path.join(self.prefix, "dosdevices", "c:")
        os.remove(link)
        os.symlink("c:", link)

    def page_is_fifo(self):
        page = os.path.join(self.prefix, GUIDE_PAGE)
        os.remove(page)
        os.mkfifo(page)

    def hive_is_fifo(self):
        hive = os.path.join(self.prefix, "system.reg")
        os.remove(hive)
        os.mkfifo(hive)

    def hive_is_huge(self):
        with open(os.path.join(self.prefix, "system.reg"), "r+b") as hive:
            hive.truncate(200 << 20)  # sparse: no disk space taken

    def close_window(self, run, window):
        """A click on the title bar's close button, its last one, square, at its right end."""
        area = run.geometry(window)
        left, right, top, bottom = run.frame_extents(window)
        x, y = area.left + area.width + right - top // 2, area.top - top // 2
        self.desktop.x(["xdotool", "mousemove", str(x), str(y), "click", "1"])

    def test_broken_installations_are_explained(self):
        hive = os.path.join(self.prefix, "system.reg")
        # case: (what breaks the installation, where the message shows, what it says, status)
        # "page": the window shows the launcher's page in place of the guide; "box": a message
        # box before any window; "guide": the guide shows.
        cases = {
            "empty install folder": (lambda: self.set_install_folder(""), "page",
                                     f'its page "{PAGE_OF}" is not a full path', 1),
            "relative install folder": (lambda: self.set_install_folder("Gen\\\\"), "page",
                                        f'its page "Gen\\{PAGE_OF}" is not a full path', 1),
            "host folder": (lambda: self.set_install_folder("/etc/"), "page",
                            f'its page "/etc/{PAGE_OF}" is not a full path', 1),
            "drive Z": (lambda: self.set_install_folder("Z:\\\\etc\\\\"), "page",
                        f'a folder on the way to "Z:\\etc\\{PAGE_OF}" does not exist', 1),
            "looping drive link": (self.loop_drive_c, "page",
                                   "passes a link that leads back to itself", 1),
            "page is a named pipe": (self.page_is_fifo, "page", "is a device or a pipe, not a page", 1),
            "relative prefix": (lambda: None, "guide", None, 0),
            "hive is a named pipe": (self.hive_is_fifo, "box",
                                     f"{hive}: is a named pipe, not a regular file", 1),
            "hive is huge": (self.hive_is_huge, "box",
                             f"{hive}: is 200 MiB (209715200 bytes); at most 128 MiB are read", 1),
        }
        pristine = os.path.join(self.desktop.root, "pristine")
        os.rename(self.prefix, pristine)
        for case, (breaking, where, said, status) in cases.items():
            with self.subTest(case):
                self.restore(pristine)
                breaking()
                prefix = os.path.relpath(self.prefix) if case == "relative prefix" else "copy"
                run = self.launch(prefix)
                window = run.window()
                name = case.replace(" ", "-")
                if where == "guide":
                    wait_for(lambda: guide.guide_buttons(run.client_image(window))[0], 30, "the guide page")
                    self.shot_window(run, window, name)
                    self.assertEqual(run.stderr_lines(), [])
                    self.close_window(run, window)
                    self.assertEqual(run.wait_exit(), status)
                    continue
                line = wait_for(lambda: [l for l in run.stderr_lines() if said in l], 30, f"a line saying {said!r}")
                self.assertEqual(run.stderr_lines(), line, "one line, and nothing else")
                if where == "page":
                    self.assertTrue(line[0].startswith(guide.CAPTION + ": The installation guide cannot be shown: "))
                    self.assertTrue(line[0].endswith(REINSTALL), line[0])
                    image = wait_for(lambda: (lambda i: i if i.boxes(ERROR_RULE, min_width=100) else None)(
                        run.client_image(window)), 30, "the launcher's error page")
                    self.shot_window(run, window, name)
                    self.assertGreater(len({image.pixel(x, y) for x in range(0, image.width, 3)
                                            for y in range(0, image.height // 3, 3)}), 8, "the page shows no text")
                    self.close_window(run, window)
                else:
                    self.assert_message_shown(run, window, name)
                    self.desktop.x(["xdotool", "windowactivate", "--sync", window, "key", "Return"])
                self.assertEqual(run.wait_exit(), status)

    def restore(self, pristine):
        shutil.rmtree(self.prefix, ignore_errors=True)
        if os.path.lexists(self.prefix):
            os.remove(self.prefix)
        shutil.copytree(pristine, self.prefix, symlinks=True)

    def test_long_command_target_gives_a_readable_box_at_once(self):
        folder = "C:%5CProgram%20Files%5C"
        self.replace_guide(LONG_LINK_PAGE.format(target="openexecutable:" + folder + "A" * (1 << 20)))
        run = self.launch()
        window = run.window()
        wait_for(lambda: run.client_image(window).boxes(guide.ACTION_BUTTON, min_width=100), 30, "the long link")
        area = run.geometry(window)
        started = time.monotonic()
        self.click(run, window, (0, 0, area.width, area.height))
        # The caption is the program's name, cut after 300 characters.
        caption = "A" * 300 + "\u2026"
        box = run.window(title=caption, timeout=20)
        took = time.monotonic() - started
        print(f"\nthe box for a 1 MiB target was there {took:.2f} s after the click", file=sys.stderr)
        self.assertLess(took, 10, "far slower than the second it should take")
        lines = run.stderr_lines()
        self.assertEqual(len(lines), 1, [l[:200] for l in lines])
        self.assertLess(len(lines[0]), 2000)
        self.assertTrue(lines[0].startswith(caption + ': Cannot open "C:\\Program Files\\' + "A" * 280), lines[0][:400])
        self.assert_message_shown(run, box, "long-name-box")
        # The box fits on the screen: the name is cut, and its words are broken.
        screen_width = int(self.desktop.x(["xdotool", "getdisplaygeometry"]).split()[0])
        self.assertLessEqual(run.geometry(box).width, screen_width)
        self.desktop.x(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
        wait_for(lambda: box not in run.visible_windows(), 10, "the box to close")
        self.assertTrue(run.running())


if __name__ == "__main__":
    launcher_test.main()
