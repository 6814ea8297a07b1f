#!/usr/bin/env python3
"""End-to-end tests of the launcher's Debian package: made from the build with cpack, checked
with dpkg-deb and lintian, unpacked into a folder of its own (nothing is installed on the
machine) and the unpacked program run on a copy of the example prefix under Xvfb.

Usage: package_test.py with the arguments of launcher_test.py (--build-dir is needed).
"""

import os
import re
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import launcher_test  # noqa: E402
from launcher_test import MODULE, LauncherTestCase, assert_icon_resolves  # noqa: E402


def multiarch():
    return subprocess.run(["dpkg-architecture", "-qDEB_HOST_MULTIARCH"], check=True, capture_output=True,
                          text=True).stdout.strip()


def make_package(folder):
    """cpack's Debian package of the build, made in a fresh folder of the artefacts; answers its path."""
    options = launcher_test.OPTIONS
    out = os.path.join(options.artefacts, folder)
    shutil.rmtree(out, ignore_errors=True)
    done = subprocess.run(["cpack", "-G", "DEB", "-B", out], cwd=options.build_dir, capture_output=True,
                          text=True, timeout=300)
    if done.returncode != 0:
        raise AssertionError(f"cpack failed:\n{done.stdout}{done.stderr}")
    [deb] = [os.path.join(out, name) for name in os.listdir(out) if name.endswith(".deb")]
    return deb


def dpkg_deb(*arguments):
    return subprocess.run(["dpkg-deb", *arguments], check=True, capture_output=True, text=True,
                          timeout=60).stdout


class PackageTest(LauncherTestCase):
    display = False

    def setUp(self):
        if not launcher_test.OPTIONS.build_dir:
            self.skipTest("no --build-dir")
        super().setUp()
        self.deb = make_package(f"package-{self._testMethodName}")

    def test_package_holds_the_program_its_module_menu_entry_icon_and_documents(self):
        files = {line.split()[-1][1:] for line in dpkg_deb("--contents", self.deb).splitlines()
                 if not line.startswith("d")}
        self.assertEqual(files, {
            "/usr/bin/tessarin-guide",
            # The module alone in the program's folder under the library directory: WebKit loads
            # every module of that folder.
            f"/usr/lib/{multiarch()}/tessarin-guide/{MODULE}",
            "/usr/share/applications/tessarin-guide.desktop",
            "/usr/share/icons/hicolor/scalable/apps/tessarin-guide.svg",
            "/usr/share/man/man1/tessarin-guide.1.gz",
            "/usr/share/doc/tessarin-guide/copyright",
            "/usr/share/doc/tessarin-guide/changelog.gz",
        })

        fields = dict(re.findall(r"^(\S+): (.*)$", dpkg_deb("--field", self.deb, "Package", "Version", "Depends"),
                                 re.MULTILINE))
        self.assertEqual(fields["Package"], "tessarin-guide")
        depends = {re.sub(r" \(.*\)$", "", item.strip()) for item in fields["Depends"].split(",")}
        # dpkg-shlibdeps's libraries, and GTK's SVG loader, which no binary names.
        for package in ("libc6", "libgtk-3-0", "libwebkit2gtk-4.1-0", "libstdc++6", "librsvg2-common"):
            self.assertIn(package, depends)

        # lintian's errors fail it; its warnings and notes are only shown.
        lint = subprocess.run(["lintian", "--fail-on", "error", self.deb], capture_output=True, text=True,
                              timeout=300)
        tags = [line for line in (lint.stdout + lint.stderr).splitlines() if re.match(r"^[EWIPX]: ", line)]
        self.assertEqual(lint.returncode, 0, "lintian:\n" + "\n".join(tags or [lint.stdout + lint.stderr]))
        self.assertEqual([tag for tag in tags if tag.startswith("E: ")], [])


class UnpackedPackageTest(LauncherTestCase):
    def setUp(self):
        if not launcher_test.OPTIONS.build_dir:
            self.skipTest("no --build-dir")
        super().setUp()
        self.root = os.path.join(self.desktop.root, "unpacked")
        dpkg_deb("--extract", make_package(f"package-{self._testMethodName}"), self.root)

    def web_process_modules(self, run):
        """The files named like our module that the launcher's other processes (WebKit's web
        process) have mapped."""
        found = set()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if int(pid) == run.process.pid or os.getsid(int(pid)) != run.process.pid:
                    continue
                with open(f"/proc/{pid}/maps") as maps:
                    found |= {line.split(None, 5)[5].strip() for line in maps if line.rstrip().endswith(MODULE)}
            except (OSError, IndexError):
                continue  # a process that ended meanwhile
        return found

    def test_unpacked_program_finds_its_module_and_shows_the_guide(self):
        program = os.path.join(self.root, "usr", "bin", "tessarin-guide")
        run, window, _ = self.launch_installed(program, "unpacked")
        self.assert_page_fills(run, window, "client")
        self.shot_window(run, window, "window")
        # Nothing to report, and the page's process loaded the module from the unpacked tree.
        self.assertEqual(run.stderr_lines(), [])
        module = os.path.join(self.root, "usr", "lib", multiarch(), "tessarin-guide", MODULE)
        self.assertEqual(self.web_process_modules(run), {module})
        share = os.path.join(self.root, "usr", "share")
        assert_icon_resolves(self, share, os.path.join(share, "icons", "hicolor", "scalable", "apps",
                                                       "tessarin-guide.svg"))


if __name__ == "__main__":
    launcher_test.main()
