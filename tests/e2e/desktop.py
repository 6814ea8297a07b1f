"""A throw-away desktop for one end-to-end test.

Everything a desktop session keeps lives in one temporary folder: HOME, XDG_DATA_HOME,
XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR. The default applications for folders and
for web addresses are two entries of this desktop whose program only writes its arguments to
a file, so a test can read what the launcher asked the desktop to open. A window manager
(openbox) gives windows a title bar with a close button and can maximise them, the way a
user's desktop does; the X display itself is the test's own Xvfb.
"""

import os
import shutil
import subprocess
import tempfile
import time

# What the title bar and the keyboard need; everything else stays at openbox's defaults.
OPENBOX_CONFIG = """<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy><center>yes</center></placement>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme>
  <desktops><number>1</number></desktops>
  <keyboard>
    <keybind key="W-Up"><action name="Maximize"/></keybind>
  </keyboard>
  <mouse>
    <!-- Nothing on plain clicks in the "Frame" context: it covers the client area as well,
         and a click bound there never reaches the page. -->
    <dragThreshold>1</dragThreshold>
    <doubleClickTime>500</doubleClickTime>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Right" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
    </context>
    <context name="Close">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Click"><action name="Close"/></mousebind>
    </context>
  </mouse>
</openbox_config>
"""

RECORDER = """#!/bin/sh
# Default application of the test desktop: writes each argument on a line of $1's record.
record="{records}/$1"
shift
for argument in "$@"; do printf '%s\\n' "$argument" >> "$record"; done
"""

ENTRY = """[Desktop Entry]
Type=Application
Name={name}
Exec={command} {field}
MimeType={types}
NoDisplay=true
"""


# kind -> the entry's file, its name, the file or address field, its types
HANDLERS = {
    "folders": ("tsr-test-folders.desktop", "Test folder viewer", "%F", "inode/directory;"),
    "web": ("tsr-test-web.desktop", "Test web browser", "%U", "x-scheme-handler/http;x-scheme-handler/https;"),
}


class Timeout(AssertionError):
    pass


def wait_for(predicate, timeout, what, interval=0.1):
    """Polls predicate until it answers something true, and returns that; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        answer = predicate()
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise Timeout(f"gave up after {timeout} s waiting for {what}")
        time.sleep(interval)


class TestDesktop:
    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="tsr-e2e-")
        self.home = self._folder("home")
        self.records = self._folder("records")
        data = self._folder("data")
        config = self._folder("config")
        runtime = self._folder("runtime")
        os.chmod(runtime, 0o700)
        self.env = self._environment(data, config, runtime)
        self._install_default_applications(data, config)
        self.openbox_config = os.path.join(config, "openbox", "rc.xml")
        os.makedirs(os.path.dirname(self.openbox_config))
        with open(self.openbox_config, "w") as out:
            out.write(OPENBOX_CONFIG)
        self.window_manager = None

    def _folder(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path)
        return path

    def _environment(self, data, config, runtime):
        env = {key: value for key, value in os.environ.items()
               if not key.startswith(("XDG_", "DBUS_", "WAYLAND_", "GTK_", "GDK_", "WINE"))}
        env.update(HOME=self.home, XDG_DATA_HOME=data, XDG_CONFIG_HOME=config,
                   XDG_CACHE_HOME=self._folder("cache"), XDG_RUNTIME_DIR=runtime,
                   XDG_DATA_DIRS="/usr/local/share:/usr/share", LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   GDK_BACKEND="x11", NO_AT_BRIDGE="1", GSETTINGS_BACKEND="memory",
                   # Xvfb has neither GPU compositing nor DMA-BUF.
                   WEBKIT_DISABLE_COMPOSITING_MODE="1", WEBKIT_DISABLE_DMABUF_RENDERER="1",
                   # With GL, GTK gives its windows the GL visual rather than Xvfb's default
                   # one, and Xvfb then leaves every window after the first out of the screen's
                   # image (the window's own image has it): a message box would look black.
                   GDK_GL="disable")
        return env

    def _install_default_applications(self, data, config):
        recorder = os.path.join(self.root, "record-arguments")
        with open(recorder, "w") as out:
            out.write(RECORDER.format(records=self.records))
        os.chmod(recorder, 0o755)
        applications = os.path.join(data, "applications")
        os.makedirs(applications)
        self.recorder = recorder
        self.applications = applications
        for kind in HANDLERS:
            self.set_default_application(kind, f"{recorder} {kind}")
        with open(os.path.join(config, "mimeapps.list"), "w") as out:
            out.write("[Default Applications]\n"
                      "inode/directory=tsr-test-folders.desktop\n"
                      "x-scheme-handler/http=tsr-test-web.desktop\n"
                      "x-scheme-handler/https=tsr-test-web.desktop\n")

    def set_default_application(self, kind, command):
        """Makes command the program of kind's default application ("folders", "web")."""
        file, name, field, types = HANDLERS[kind]
        with open(os.path.join(self.applications, file), "w") as out:
            out.write(ENTRY.format(name=name, command=command, field=field, types=types))

    def recorded(self, kind):
        """The arguments the default application for kind ("folders", "web") was started with."""
        try:
            with open(os.path.join(self.records, kind), "rb") as record:
                return [line.decode("utf-8", "surrogateescape") for line in record.read().splitlines()]
        except FileNotFoundError:
            return []

    def start_window_manager(self):
        log_path = os.path.join(self.root, "openbox.log")
        with open(log_path, "wb") as log:
            self.window_manager = subprocess.Popen(
                ["openbox", "--sm-disable", "--config-file", self.openbox_config], env=self.env,
                stdout=log, stderr=subprocess.STDOUT)

        def running():
            if self.window_manager.poll() is not None:
                with open(log_path, errors="replace") as log:
                    raise AssertionError(f"openbox ended with status {self.window_manager.returncode} on "
                                         f"display {self.env.get('DISPLAY')}:\n{log.read()}")
            return b"window id" in self.x(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
        wait_for(running, 20, f"the window manager on display {self.env.get('DISPLAY')}")

    def x(self, command, check=True):
        """Runs an X client on the test display and answers its output."""
        done = subprocess.run(command, env=self.env, capture_output=True, timeout=30)
        if check and done.returncode != 0:
            raise AssertionError(f"{' '.join(command)} failed: {done.stderr.decode(errors='replace')}")
        return done.stdout

    def close(self):
        if self.window_manager is not None:
            end_process(self.window_manager)
        shutil.rmtree(self.root, ignore_errors=True)


def end_process(process, grace=10):
    """Asks a process of the test desktop to end, and makes it after grace seconds."""
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
