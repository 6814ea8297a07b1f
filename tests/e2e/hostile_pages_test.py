#!/usr/bin/env python3
"""End-to-end tests of tessarin-guide against pages that are not the local guide: a page from
the web in a frame of the guide, a page from the web in the guide's place, a download, and the
page's web process killed. Every such page tries to run the generator (whose program leaves a
marker file) or to have the desktop open something (whose default applications record what
they are given); none may.

Usage as launcher_test.py, whose options and fixture it shares.
"""

import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import launcher as guide  # noqa: E402
import launcher_test as base  # noqa: E402
from desktop import wait_for  # noqa: E402

COMMAND = base.RUN_GENERATOR
# The generator's program as a drive path, as a page would name it for a new window.
PROGRAM_PATH = "C:\\Program Files (x86)\\Tessarin\\Tsr Installation Generator\\bin\\TsrGenerator.sh"

FULL = "position: fixed; left: 0; top: 0; width: 100%; height: 100%; border: 0; margin: 0; display: block"

# The local guide with a page from the web in a frame that covers it, and one link of its own
# (under the frame; the control case puts it on top).
GUIDE_WITH_FRAME = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Guide</title></head>
<body style="margin: 0">
<a id="own" href="{command}" style="{full}; background: #2f6db5; z-index: {own_layer}">the guide's own link</a>
<iframe src="{frame}" style="{full}; z-index: 1"></iframe>
</body></html>"""

# A frame page: what it does, then a request that says it has done it.
FRAME_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>frame</title>{head}
<script>const tell = () => fetch("/tried", {{cache: "no-store"}});</script></head>
<body style="margin: 0; background: #c03030">{body}</body></html>"""

LINK = '<a href="{command}"{target} style="' + FULL + '; background: #c03030">click</a>'

# case: (what the frame page has in its head, in its body, its headers, whether the test clicks)
FRAME_CASES = {
    "navigates itself while the guide loads": (
        "", '<script>location.href = "{command}"; setTimeout(tell, 500);</script>', {}, False),
    "navigates itself after the load": (
        "", '<script>onload = () => setTimeout(() => {{ location.assign("{command}"); '
            'setTimeout(tell, 500); }}, 500);</script>', {}, False),
    "meta refresh": (
        '<meta http-equiv="refresh" content="0;url={command}">', '<script>setTimeout(tell, 1500);</script>',
        {}, False),
    "Refresh header": ("", '<script>setTimeout(tell, 1500);</script>', {"Refresh": "0;url={command}"}, False),
    "clicked link": ("", LINK.format(command="{command}", target=""), {}, True),
    "clicked link to _top": ("", LINK.format(command="{command}", target=' target="_top"'), {}, True),
    "clicked link to _blank": ("", LINK.format(command="{command}", target=' target="_blank"'), {}, True),
    "window.open to _top on a click": (
        "", '<div onclick="window.open(\'{command}\', \'_top\')" style="' + FULL + '">click</div>', {}, True),
}

# A page from the web in the guide's place, with a link to the generator's program by its
# drive path in a new window.
NEW_WINDOW_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>new window</title></head>
<body style="margin: 0"><a target="_blank" href="{target}" style="{full}; background: #c03030">click</a>
</body></html>"""

DOWNLOAD_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>download</title></head>
<body style="margin: 0"><a download="dl.bat" href="/dl.bat" style="{full}; background: #c03030">click</a>
</body></html>"""


class HostilePageTest(base.LauncherTestCase):
    def guide_with_frame(self, server, own_link_on_top=False):
        self.replace_guide(GUIDE_WITH_FRAME.format(command=COMMAND, full=FULL, frame=server.url("/frame.html"),
                                                   own_layer=2 if own_link_on_top else 0))

    def forget_effects(self):
        """Each case of a table starts with no marker and no records of the cases before."""
        for path in (self.marker(), os.path.join(self.desktop.records, "web"),
                     os.path.join(self.desktop.records, "folders")):
            if os.path.exists(path):
                os.remove(path)

    def click_middle(self, run, window):
        area = run.geometry(window)
        self.click(run, window, (0, 0, area.width, area.height))

    def assert_nothing_ran(self, run, case):
        # The generator's script writes its marker at once; a second is plenty.
        with self.assertRaises(AssertionError, msg=f"{case}: the generator ran"):
            wait_for(lambda: os.path.exists(self.marker()), 1.0, "the generator's marker")
        self.assertEqual(self.desktop.recorded("folders") + self.desktop.recorded("web"), [], case)
        self.assertTrue(run.running(), f"{case}: the launcher ended")

    def test_a_frame_from_the_web_issues_no_command(self):
        for case, (head, body, headers, click) in FRAME_CASES.items():
            with self.subTest(case):
                self.forget_effects()
                server = base.PageServer({})
                self.addCleanup(server.close)
                text = FRAME_PAGE.format(head=head.format(command=COMMAND), body=body.format(command=COMMAND))
                server.pages["/frame.html"] = (text, {k: v.format(command=COMMAND) for k, v in headers.items()})
                self.guide_with_frame(server)
                run = self.launch()
                window = run.window()
                server.wait_request(lambda path, query: path == "/frame.html", 30, "the frame")
                image = run.steady_client_image(window)
                self.shot(image, case.replace(" ", "-").replace(".", ""))
                if click:
                    self.click_middle(run, window)
                else:
                    server.wait_request(lambda path, query: path == "/tried", 30, "the frame's attempt")
                self.assert_nothing_ran(run, case)
                run.stop()

    def test_the_guides_own_link_still_runs_beside_a_frame_from_the_web(self):
        server = base.PageServer({"/frame.html": FRAME_PAGE.format(head="", body="")})
        self.addCleanup(server.close)
        self.guide_with_frame(server, own_link_on_top=True)
        run = self.launch()
        window = run.window()
        server.wait_request(lambda path, query: path == "/frame.html", 30, "the frame")
        self.shot(run.steady_client_image(window), "guide")
        self.click_middle(run, window)
        wait_for(lambda: os.path.exists(self.marker()), 15, "the generator's marker")

    def test_a_new_window_from_the_web_opens_only_web_addresses(self):
        # case: (the link's target, what the web browser is given, or None: nothing opened)
        cases = {
            "drive path": (PROGRAM_PATH, None),
            "drive path with slashes": (PROGRAM_PATH.replace("\\", "/"), None),
            "web address": ("https://example.com/more", "https://example.com/more"),
        }
        for case, (target, opened) in cases.items():
            with self.subTest(case):
                self.forget_effects()
                server = self.serve({"/new-window.html": NEW_WINDOW_PAGE.format(target=target, full=FULL)})
                run = self.launch()
                window = run.window()
                server.wait_request(lambda path, query: path == "/new-window.html", 30, "the page")
                self.shot(run.steady_client_image(window), case.replace(" ", "-"))
                self.click_middle(run, window)
                if opened is None:
                    lines = wait_for(lambda: [l for l in run.stderr_lines() if "nothing was opened" in l], 15,
                                     "the refusal on standard error")
                    self.assertEqual(len(lines), 1, lines)
                    self.assertIn("TsrGenerator.sh", lines[0])
                    self.assert_nothing_ran(run, case)
                else:
                    self.assertEqual(wait_for(lambda: self.desktop.recorded("web"), 15, "the web browser"),
                                     [opened])
                run.stop()

    def saved_files(self):
        return [os.path.join(folder, name) for folder, _, names in os.walk(self.desktop.home)
                for name in names if name.startswith("dl")]

    def test_a_download_is_not_saved(self):
        server = self.serve({"/download.html": DOWNLOAD_PAGE.format(full=FULL),
                             "/dl.bat": "echo downloaded > %USERPROFILE%\\dl-ran.txt\n"})
        run = self.launch()
        window = run.window()
        server.wait_request(lambda path, query: path == "/download.html", 30, "the page")
        self.click_middle(run, window)
        box = run.window(title="Download")
        self.assert_message_shown(run, box, "question")
        self.desktop.x(["xdotool", "windowactivate", "--sync", box, "key", "Escape"])
        wait_for(lambda: box not in run.visible_windows(), 10, "the question to close")
        self.assertEqual(self.saved_files(), [])
        self.assertEqual(self.desktop.recorded("web"), [], "the browser was asked without a yes")
        self.assertTrue(run.running())

    def web_process(self, run, not_this=None):
        """The pid of the launcher's WebKit web process (a descendant of the launcher)."""
        def find():
            parents = {}
            for entry in os.listdir("/proc"):
                if entry.isdigit():
                    try:
                        with open(f"/proc/{entry}/stat") as stat:
                            fields = stat.read().rsplit(")", 1)[1].split()
                        with open(f"/proc/{entry}/comm") as comm:
                            parents[int(entry)] = (int(fields[1]), comm.read().strip())
                    except OSError:
                        continue
            for pid, (parent, name) in parents.items():
                if not name.startswith("WebKitWebProces") or pid == not_this:
                    continue
                while parent > 1:
                    if parent == run.process.pid:
                        return pid
                    parent = parents.get(parent, (0, ""))[0]
            return None
        return wait_for(find, 30, "the launcher's web process")

    def test_a_killed_web_process_reloads_the_guide_once_then_ends_the_launcher(self):
        run, window = self.open_guide()
        first = self.web_process(run)
        os.kill(first, signal.SIGKILL)
        wait_for(lambda: [l for l in run.stderr_lines() if "loaded again" in l], 15, "the reload on standard error")
        second = self.web_process(run, not_this=first)
        wait_for(lambda: guide.guide_buttons(run.client_image(window))[0], 30, "the guide page again")
        self.shot(run.steady_client_image(window), "reloaded")
        self.assertEqual(len(run.stderr_lines()), 1, run.stderr_lines())
        time.sleep(0.5)
        os.kill(second, signal.SIGKILL)
        line = wait_for(lambda: [l for l in run.stderr_lines() if "cannot be shown" in l], 15,
                        "the message on standard error")
        box = run.window(title="Page cannot be shown")
        self.assert_message_shown(run, box, "message")
        self.desktop.x(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
        self.assertEqual(run.wait_exit(), 1)
        self.assertEqual(len(line), 1)


if __name__ == "__main__":
    base.main()
