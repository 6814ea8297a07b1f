#!/usr/bin/env python3
"""End-to-end tests of tessarin-guide: the built launcher on a copy of the example prefix, on
a throw-away desktop under Xvfb, driven with real input (xdotool) and checked on real
screenshots and on what the desktop was asked to open.

Usage: launcher_test.py --launcher PATH --examples DIR --artefacts DIR [--build-dir DIR] [--icon-lookup PATH]
                        [--xvfb PATH] [--screen WxHxD] [unittest arguments, e.g. GuideWindowTest.test_links_do_what_they_say]

Exits with 77 (a skipped test for ctest) when the launcher has not been built. Screenshots are
kept in the artefacts folder.

Links are found on screenshots rather than at fixed places: the example pages draw each link
as a button of one colour of their own, so a button is where that colour forms a wide box,
whatever font and window size the desktop gives the page.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import launcher as guide  # noqa: E402
from desktop import TestDesktop, wait_for  # noqa: E402
from served import PageServer  # noqa: E402

OPTIONS = None

GENERATOR = "drive_c/Program Files (x86)/Tessarin/Tsr Installation Generator"
GUIDE_PAGE = GENERATOR + "/TsrInstallationGuide/Content/runvane.html"
RUN_GENERATOR = ("openexecutable:C:%5CProgram%20Files%20(x86)%5CTessarin%5CTsr%20Installation%20Generator"
                 "%5Cbin%5CTsrGenerator.sh")

# Opened in the view from the guide's place: the launcher leaves every ordinary address to
# the view, so the page the test serves replaces the guide.
REDIRECT_PAGE = """<!DOCTYPE html><meta charset="utf-8"><title>moving</title>
<script>location.replace({url!r});</script>"""

# A page from the web that tries to start the generator: by script as soon as it is loaded
# (a plain navigation, then a link it clicks itself), and through a link the test clicks. It
# says through requests to its server what it has done.
ATTACKING_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Served page</title>
<style>
  html, body {{ margin: 0; height: 100%; }}
  a {{ position: fixed; top: 0; height: 100%; width: 50%; display: block; }}
  #run {{ left: 0; background: #c03030; }}
  #after {{ left: 50%; background: #3050c0; }}
</style></head><body>
<a id="run" href="{command}">start the generator</a>
<a id="after" href="{base}/after-click">then this</a>
<script>
  const tell = (what) => fetch(what, {{cache: "no-store"}});
  onload = () => {{
    location.href = "{command}";
    setTimeout(() => {{
      const link = document.createElement("a");
      link.href = "{command}";
      document.body.appendChild(link);
      link.click();
      setTimeout(() => tell("{base}/script-tried"), 300);
    }}, 300);
  }};
</script></body></html>"""

# A page larger than the window both ways, scrolled away from its corner, that reports every
# scroll position.
SCROLLING_PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Scrolling page</title>
<style>
  body { margin: 0; width: 4000px; height: 4000px;
         background: repeating-linear-gradient(45deg, #c03030 0 40px, #3050c0 40px 80px); }
</style></head><body>
<script>
  onscroll = () => fetch(`/scroll?x=${scrollX}&y=${scrollY}`, {cache: "no-store"});
  onload = () => scrollTo(600, 600);
</script></body></html>"""


class LauncherTestCase(unittest.TestCase):
    display = True

    def setUp(self):
        self.desktop = TestDesktop()
        self.addCleanup(self.desktop.close)
        self.prefix = os.path.join(self.desktop.root, "prefix")
        shutil.copytree(os.path.join(OPTIONS.examples, "prefix"), self.prefix, symlinks=True)
        if self.display:
            self.desktop.start_window_manager()

    def launch(self, prefix="copy"):
        self.launches = getattr(self, "launches", 0) + 1
        name = self._testMethodName + ("" if self.launches == 1 else f"-{self.launches}")
        run = guide.Launcher(self.desktop, OPTIONS.launcher, self.prefix if prefix == "copy" else prefix, name)
        self.addCleanup(run.stop)
        self.addCleanup(self.keep_evidence, run)  # before it is stopped
        return run

    def launch_installed(self, program, step):
        """An installed copy of the launcher on the prefix, once its guide shows; answers the
        launcher, its window and the guide's action links."""
        run = guide.Launcher(self.desktop, program, self.prefix, f"{self._testMethodName}-{step}")
        self.addCleanup(run.stop)
        self.addCleanup(self.keep_evidence, run)
        window = run.window()
        links = wait_for(lambda: guide.guide_buttons(run.client_image(window))[0], 30, "the guide page")
        return run, window, links

    def keep_evidence(self, run):
        """The screen and the launcher's standard error as the test left them, for a look later."""
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        name = os.path.basename(run.stderr_path)
        shutil.copyfile(run.stderr_path, os.path.join(OPTIONS.artefacts, name))
        if self.display:
            step = "last" + name[len(self._testMethodName):-len(".stderr")]
            image, reason = guide.screen.capture_evidence(self.desktop.env)
            if image is not None:
                self.shot(image, step)
            else:
                with open(os.path.join(OPTIONS.artefacts, f"{self._testMethodName}-{step}.txt"), "w") as note:
                    note.write(f"no screenshot: {reason}\n")

    def open_guide(self):
        """The launcher on the prefix, once its window shows a page with at least one link."""
        run = self.launch()
        window = run.window()
        wait_for(lambda: guide.guide_buttons(run.client_image(window))[0], 30, "the guide page")
        return run, window

    def shot(self, image, step):
        os.makedirs(OPTIONS.artefacts, exist_ok=True)
        path = os.path.join(OPTIONS.artefacts, f"{self._testMethodName}-{step}.png")
        image.save_png(path)
        return path

    def shot_window(self, run, window, step):
        """The window with its frame, as the user sees it once it is drawn."""
        run.steady_client_image(window)
        area = run.geometry(window)
        left, right, top, bottom = run.frame_extents(window)
        image = guide.screen.capture(self.desktop.env).crop(area.left - left, area.top - top,
                                                            area.width + left + right, area.height + top + bottom)
        return self.shot(image, step)

    def assert_message_shown(self, run, box, step):
        """A message box that shows its text: more than a background and a frame."""
        path = self.shot_window(run, box, step)
        image = run.steady_client_image(box)
        colours = {image.pixel(x, y) for x in range(0, image.width, 2) for y in range(0, image.height, 2)}
        self.assertGreater(len(colours), 4, f"the message box shows no text (see {path})")

    def click(self, run, window, box, button=1):
        area = run.geometry(window)
        x, y = guide.centre(box)
        self.desktop.x(["xdotool", "mousemove", str(area.left + x), str(area.top + y), "click", str(button)])

    def point_at(self, run, window, x, y):
        area = run.geometry(window)
        self.desktop.x(["xdotool", "mousemove", str(area.left + x), str(area.top + y)])

    def resize(self, run, window, width, height):
        self.desktop.x(["xdotool", "windowsize", window, str(width), str(height)])

        def resized():
            area = run.geometry(window)
            return (area.width, area.height) == (width, height)
        wait_for(resized, 10, f"the window to become {width}x{height}")

    def assert_page_fills(self, run, window, step):
        image = run.steady_client_image(window)
        path = self.shot(image, step)
        faults = guide.edges_not_page(image)
        self.assertEqual(faults, [], f"the page does not fill the client area ({step}, see {path})")
        return image

    def marker(self):
        return os.path.join(self.desktop.home, ".tessarin-example-ran")

    def marker_line(self, start):
        """The marker's line that begins with start, once the generator has written it."""
        try:
            with open(self.marker(), encoding="utf-8") as ran:
                return next((line for line in ran if line.startswith(start)), None)
        except FileNotFoundError:
            return None

    def replace_guide(self, html):
        with open(os.path.join(self.prefix, GUIDE_PAGE), "w") as page:
            page.write(html)

    def serve(self, pages):
        server = PageServer(pages)
        self.addCleanup(server.close)
        self.replace_guide(REDIRECT_PAGE.format(url=server.url(next(iter(pages)))))
        return server


class GuideWindowTest(LauncherTestCase):
    def test_window_shows_guide_filling_client_area(self):
        run, window = self.open_guide()
        self.assertEqual(run.title(window), guide.CAPTION)
        image = self.assert_page_fills(run, window, "client")
        self.shot_window(run, window, "window")
        self.assertEqual(image.count(guide.EVALUATION_NOTICE), 0, "the normal guide shows the evaluation notice")

    def whole_guide(self, run, window):
        """The guide's links: the folder, program, examples and documentation links, and the
        close link, all in view in a window tall enough for the whole page."""
        self.resize(run, window, 1200, 1300)
        self.point_at(run, window, 2, 2)  # off every link: a link under the pointer changes colour

        def all_links():
            image = run.steady_client_image(window)
            primary, secondary = guide.guide_buttons(image)
            return (image, primary, secondary) if len(primary) == 4 and len(secondary) == 1 else None
        image, primary, secondary = wait_for(all_links, 20, "four action links and the close link in view")
        self.shot(image, "whole-page")
        return primary + secondary

    def test_links_do_what_they_say(self):
        run, window = self.open_guide()
        folder, program, examples, documentation, close = self.whole_guide(run, window)
        generator = os.path.join(self.prefix, GENERATOR)

        self.click(run, window, folder)
        opened = wait_for(lambda: self.desktop.recorded("folders"), 15, "the folder viewer")
        self.assertTrue(os.path.samefile(opened[0], generator), opened)

        self.click(run, window, program)
        # The marker exists as soon as the generator starts writing it; its lines come after.
        program_line = wait_for(lambda: self.marker_line("program: "), 15, "the generator's marker")
        self.assertTrue(os.path.samefile(program_line[len("program: "):].rstrip("\n"),
                                         os.path.join(generator, "bin/TsrGenerator.sh")), program_line)

        self.click(run, window, examples)
        opened = wait_for(lambda: self.desktop.recorded("folders")[1:], 15, "the folder viewer, again")
        # %C3%A9 in the link is the é of the folder's name, in UTF-8.
        self.assertEqual(os.path.basename(opened[0].rstrip("/")), "Exemples créés")
        self.assertTrue(os.path.samefile(opened[0], os.path.join(generator, "Exemples créés")), opened)

        self.click(run, window, documentation)
        self.assertEqual(wait_for(lambda: self.desktop.recorded("web"), 15, "the web browser"),
                         ["https://example.com/"])

        self.click(run, window, close)
        self.assertEqual(run.wait_exit(), 0)
        self.assertEqual(len(self.desktop.recorded("folders")), 2, "each folder link opens one folder")

    def open_missing_examples(self):
        """Clicks the examples link after the examples were deleted: the shell says it cannot
        find them, in a box captioned with the folder's name. Answers the launcher, its
        window, the box and the guide's close link."""
        shutil.rmtree(os.path.join(self.prefix, GENERATOR, "Exemples créés"))
        run, window = self.open_guide()
        examples, documentation, close = self.whole_guide(run, window)[2:]
        self.click(run, window, examples)
        return run, window, run.window(title="Exemples créés"), close

    def test_shell_message_is_also_a_line_on_stderr(self):
        run, window, box, close = self.open_missing_examples()
        lines = wait_for(lambda: [l for l in run.stderr_lines() if "Exemples créés" in l], 15,
                         "the shell's message on standard error")
        self.assertEqual(run.stderr_lines(), lines)
        self.shot_window(run, box, "message")
        self.desktop.x(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
        wait_for(lambda: box not in run.visible_windows(), 10, "the message to close")
        self.assertEqual(self.desktop.recorded("folders"), [], "a missing folder was opened")
        self.click(run, window, close)
        self.assertEqual(run.wait_exit(), 0)

    def test_shell_message_box_shows_its_text(self):
        run, window, box, close = self.open_missing_examples()
        self.assert_message_shown(run, box, "message-box")

    def test_close_button_ends_with_status_0(self):
        run, window = self.open_guide()
        area = run.geometry(window)
        left, right, top, bottom = run.frame_extents(window)
        self.shot_window(run, window, "before")
        # The close button is the title bar's last one, square, at its right end.
        x, y = area.left + area.width + right - top // 2, area.top - top // 2
        self.desktop.x(["xdotool", "mousemove", str(x), str(y), "click", "1"])
        self.assertEqual(run.wait_exit(), 0)

    def test_page_fills_after_resize_and_maximise(self):
        run, window = self.open_guide()
        first = run.geometry(window)
        self.resize(run, window, first.width + 240, first.height + 160)
        self.assert_page_fills(run, window, "resized")

        left, right, top, bottom = run.frame_extents(window)
        screen_width = int(self.desktop.x(["xdotool", "getdisplaygeometry"]).split()[0])
        self.desktop.x(["xdotool", "key", "super+Up"])  # the window manager's maximise key
        wait_for(lambda: run.geometry(window).width >= screen_width - left - right, 10, "the window to maximise")
        self.assert_page_fills(run, window, "maximised")
        self.shot_window(run, window, "maximised-window")

    def test_no_context_menu(self):
        run, window = self.open_guide()
        primary, _ = guide.guide_buttons(run.steady_client_image(window))
        area = run.geometry(window)
        places = {"the page": (area.width // 2, 8), "a link": guide.centre(primary[0])}
        for place, (x, y) in places.items():
            with self.subTest(place):
                before = run.visible_windows()
                self.point_at(run, window, x, y)
                self.desktop.x(["xdotool", "click", "3"])
                # A menu shows within a frame or two; a second is plenty.
                with self.assertRaises(AssertionError, msg=f"a menu opened on {place}"):
                    wait_for(lambda: run.visible_windows() - before, 1.0, "a menu")
                self.desktop.x(["xdotool", "key", "Escape"])
        self.assertTrue(run.running())

    def test_evaluation_guide_for_evalexpress(self):
        hive = os.path.join(self.prefix, "system.reg")
        with open(hive, encoding="utf-8") as text:
            content = text.read()
        with open(hive, "w", encoding="utf-8") as text:
            text.write(content.replace('"EvalType"="Standard"', '"EvalType"="evalexpress"'))
        run, window = self.open_guide()
        image = run.steady_client_image(window)
        self.shot(image, "client")
        self.assertGreater(image.count(guide.EVALUATION_NOTICE), 1000, "no evaluation notice in view")


class ServedPageTest(LauncherTestCase):
    def test_served_page_cannot_run_programs(self):
        server = self.serve({"/attack.html": None})
        server.pages["/attack.html"] = ATTACKING_PAGE.format(command=RUN_GENERATOR, base=server.url(""))
        run = self.launch()
        window = run.window()
        server.wait_request(lambda path, query: path == "/script-tried", 30, "the page's script")
        image = run.steady_client_image(window)
        self.shot(image, "served")
        # Its own link, then a plain one: once the second is asked for, the first was decided.
        self.click(run, window, (0, 0, image.width // 2, image.height))
        self.click(run, window, (image.width // 2, 0, image.width // 2, image.height))
        server.wait_request(lambda path, query: path == "/after-click", 15, "the second link")
        with self.assertRaises(AssertionError, msg="a served page started the generator"):
            wait_for(lambda: os.path.exists(self.marker()), 1.0, "the generator's marker")
        self.assertTrue(run.running())

    def test_wheel_scrolls_and_shift_wheel_does_not(self):
        server = self.serve({"/scrolling.html": SCROLLING_PAGE})
        run = self.launch()
        window = run.window()
        at = lambda x, y: (lambda path, query: path == "/scroll" and query == {"x": [str(x)], "y": [str(y)]})
        server.wait_request(at(600, 600), 30, "the page scrolled to 600, 600")
        area = run.geometry(window)
        self.point_at(run, window, area.width // 2, area.height // 2)
        # Shift + wheel down, then the wheel up: the page reports where it is after each.
        self.desktop.x(["xdotool", "keydown", "shift", "click", "5", "keyup", "shift"])
        self.desktop.x(["xdotool", "click", "4"])
        server.wait_request(lambda path, query: path == "/scroll" and int(query["y"][0]) < 600, 15,
                            "the wheel to scroll up")
        positions = [(int(q["x"][0]), int(q["y"][0])) for path, q in server.requests if path == "/scroll"]
        self.assertTrue(all(x == 600 and y <= 600 for x, y in positions),
                        f"Shift + wheel scrolled the page: {positions}")


class WithoutDisplayTest(LauncherTestCase):
    display = False

    def test_no_display_is_one_line_and_status_1(self):
        env = {k: v for k, v in self.desktop.env.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env["WINEPREFIX"] = self.prefix
        done = subprocess.run([OPTIONS.launcher], env=env, capture_output=True, timeout=60)
        lines = done.stderr.decode(errors="replace").splitlines()
        self.assertEqual(done.returncode, 1)
        self.assertEqual(len(lines), 1, lines)
        self.assertIn("display", lines[0])


class FailureTest(LauncherTestCase):

    def test_missing_or_unreadable_installation_is_explained(self):
        hive = os.path.join(self.prefix, "system.reg")
        with open(hive, encoding="utf-8") as text:
            lines = text.read().split("\n")
        broken = lines.index('"Version"="4.2.0"')
        section = lines.index("[Software\\\\Wow6432Node\\\\Tessarin\\\\Tsr Installation Generator] 1714557660")
        section_end = lines.index("", section)
        # case: (prefix, its hive's lines or None to leave it, what the message names)
        cases = {
            "no prefix": (os.path.join(self.desktop.root, "nowhere"), None,
                          os.path.join(self.desktop.root, "nowhere", "system.reg")),
            "broken hive": (self.prefix, lines[:broken] + ['"Version"="4.2.0'] + lines[broken + 1:],
                            f"{hive}:{broken + 1}:"),
            "no generator": (self.prefix, lines[:section] + lines[section_end:],
                             'registry key "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Tessarin\\'
                             'Tsr Installation Generator" could not be opened'),
        }
        for case, (prefix, hive_lines, expected) in cases.items():
            with self.subTest(case):
                if hive_lines is not None:
                    with open(hive, "w", encoding="utf-8") as text:
                        text.write("\n".join(hive_lines))
                run = self.launch(prefix)
                line = wait_for(lambda: [l for l in run.stderr_lines() if expected in l], 30,
                                f"a message naming {expected}")
                # The box's text, paragraphs and all, is that one line, and nothing else is written.
                self.assertEqual(run.stderr_lines(), line)
                box = run.window()
                self.assert_message_shown(run, box, case.replace(" ", "-"))
                self.desktop.x(["xdotool", "windowactivate", "--sync", box, "key", "Return"])
                self.assertEqual(run.wait_exit(), 1)


MODULE = "libtsr-webprocess.so"


def install(folder):
    """cmake --install of the build into a fresh folder of the artefacts; answers its root. The
    one component, named, keeps this install's manifest apart from the user's own installs'."""
    root = os.path.join(OPTIONS.artefacts, folder)
    shutil.rmtree(root, ignore_errors=True)
    subprocess.run(["cmake", "--install", OPTIONS.build_dir, "--prefix", root, "--component", "Unspecified"],
                   check=True, capture_output=True, timeout=120)
    return root


def installed_modules(root):
    return [os.path.join(folder, name) for folder, _, names in os.walk(root) for name in names
            if name.endswith(".so")]


def assert_icon_resolves(test, share, icon):
    """GTK's icon theme, reading the installed tree first (XDG_DATA_DIRS), finds the menu
    entry's icon there and loads it, as a desktop's menu does. GTK leaves SVG icons out when
    gdk-pixbuf has no SVG loader (librsvg2-common), so the lookup also fails without it."""
    if not OPTIONS.icon_lookup:
        test.fail("no --icon-lookup: the build made no GTK icon lookup")
    with tempfile.TemporaryDirectory(prefix="tsr-icon-") as home:
        env = {key: value for key, value in os.environ.items() if not key.startswith("XDG_")}
        # The user's own icons stay out of it; /usr/share holds the hicolor theme's index.
        env.update(HOME=home, XDG_DATA_HOME=os.path.join(home, "data"), XDG_DATA_DIRS=f"{share}:/usr/share")
        done = subprocess.run([OPTIONS.icon_lookup, "tessarin-guide", "48"], env=env, capture_output=True,
                              text=True, timeout=60)
    test.assertEqual(done.returncode, 0, f"GTK finds no loadable icon tessarin-guide in {share} (is GTK's SVG "
                                         f"loader, librsvg2-common, installed?): {done.stderr.strip()}")
    found, size = done.stdout.split()
    test.assertTrue(os.path.samefile(found, icon), f"GTK found the icon in {found}, not in {share}")
    test.assertEqual(size, "48x48")


class InstallTest(unittest.TestCase):
    def test_install_puts_program_module_menu_entry_and_icon_in_place(self):
        if not OPTIONS.build_dir:
            self.skipTest("no --build-dir")
        root = install("installed")
        program = os.path.join(root, "bin", "tessarin-guide")
        entry = os.path.join(root, "share", "applications", "tessarin-guide.desktop")
        icon = os.path.join(root, "share", "icons", "hicolor", "scalable", "apps", "tessarin-guide.svg")
        self.assertTrue(os.access(program, os.X_OK))
        # The web process's module, alone in the program's folder under the library directory:
        # WebKit loads every module of that folder.
        modules = installed_modules(root)
        self.assertEqual([os.path.basename(m) for m in modules], [MODULE])
        folder = os.path.relpath(os.path.dirname(modules[0]), root)
        self.assertTrue(folder.startswith("lib") and os.path.basename(folder) == "tessarin-guide", folder)
        validation = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        self.assertEqual(validation.returncode, 0, validation.stdout + validation.stderr)
        with open(entry, encoding="utf-8") as text:
            fields = dict(line.split("=", 1) for line in text.read().splitlines() if "=" in line)
        self.assertEqual(fields["Exec"].split()[0], os.path.basename(program))
        self.assertEqual(fields["Icon"], "tessarin-guide")
        with open(icon, encoding="utf-8") as text:
            svg = text.read()
        # The window icon's colours: the rim, the tile and the letter.
        for colour in ("#103A70", "#2F6FB8", "#FFFFFF"):
            self.assertIn(colour, svg)
        assert_icon_resolves(self, os.path.join(root, "share"), icon)


class InstalledProgramTest(LauncherTestCase):
    def test_installed_program_finds_its_module_and_shows_the_guide_without_it(self):
        if not OPTIONS.build_dir:
            self.skipTest("no --build-dir")
        root = install("installed-run")
        program = os.path.join(root, "bin", "tessarin-guide")
        [module] = installed_modules(root)

        # Found from the program's own place: nothing to report.
        run, window, _ = self.launch_installed(program, "with-module")
        run.steady_client_image(window)
        self.assertEqual(run.stderr_lines(), [])
        run.stop()

        # Without it the guide still shows and its links work; one line says what is missing.
        os.remove(module)
        run, window, links = self.launch_installed(program, "without-module")
        self.click(run, window, links[0])
        opened = wait_for(lambda: self.desktop.recorded("folders"), 15, "the folder viewer")
        self.assertTrue(os.path.samefile(opened[0], os.path.join(self.prefix, GENERATOR)), opened)
        lines = run.stderr_lines()
        self.assertEqual(len(lines), 1, lines)
        self.assertIn(MODULE, lines[0])
        self.assertIn(os.path.dirname(module), lines[0])


def main():
    global OPTIONS
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--launcher", default="")
    parser.add_argument("--examples", required=True)
    parser.add_argument("--artefacts", required=True)
    parser.add_argument("--build-dir", default="")
    parser.add_argument("--icon-lookup", default="", help="the build's GTK icon lookup (tsr-icon-lookup)")
    parser.add_argument("--xvfb", default="", help="run on a display of its own, served by this Xvfb")
    # The older option: the same, with the Xvfb that is found on PATH.
    parser.add_argument("--xvfb-run", default="", help=argparse.SUPPRESS)
    parser.add_argument("--screen", default="1600x1400x24", help="the size and depth of that display")
    OPTIONS, rest = parser.parse_known_args()
    if not OPTIONS.launcher or not os.path.isfile(OPTIONS.launcher):
        print(f"skipped: the launcher is not built ({OPTIONS.launcher or 'no such target'})")
        sys.exit(77)
    if OPTIONS.xvfb or OPTIONS.xvfb_run:
        again = [a for a in sys.argv if not a.startswith(("--xvfb=", "--xvfb-run"))]
        sys.exit(guide.screen.run_on_own_display(OPTIONS.xvfb or "Xvfb", [sys.executable] + again, OPTIONS.screen))
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
