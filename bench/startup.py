#!/usr/bin/env python3
"""Start-up time and memory of tessarin-guide against a minimal WebKitGTK program.

Each program opens the same page, a copy of the example guide whose load starts a command
that records the time, in a window of the same size (the launcher's). Measured per run:

  - the time from process start to the page's load (its DocumentComplete), in ms;
  - the proportional set size (PSS) of the program's own process, and of it with all the
    processes it started (WebKit's web and network processes), one second after the load.

The peer is built by this script from the C source below: a GTK window with one WebKitWebView
that carries out "openexecutable:" the way the launcher does. Debian's chromium in app mode is
measured as well when it is installed (`apt-get install chromium`), as what a user might pick
instead; it cannot start commands, so its page's load sends a request to this script instead.

The programs take turns (launcher, peer, chromium, launcher, ...), after one unmeasured warm-up
run each, and the medians are compared. Usage, from the repository root after a build:

    bench/startup.py [--launcher build/default/app/linux/tessarin-guide] [--runs 10]

Without a display it runs itself under `xvfb-run -a`. Targets: the launcher takes at most
the peer's time and at most 5 MiB more PSS in its own process. Other work on the machine
slows both alike, run by run; the spread of the per-turn ratios shows how much it shook them.
"""

import argparse
import http.server
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

REPOSITORY = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GUIDE = "drive_c/Program Files (x86)/Tessarin/Tsr Installation Generator/TsrInstallationGuide/Content/runvane.html"
CAPTION = "Tessarin Installation Guide"

PEER_SOURCE = r"""
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>
#include <stdlib.h>

static const char kRunPrefix[] = "openexecutable:";

/* Carries out "openexecutable:" as the launcher does: starts the program, cancels the load. */
static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                               WebKitPolicyDecisionType type, gpointer data) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  if (g_ascii_strncasecmp(uri, kRunPrefix, sizeof kRunPrefix - 1) != 0) return FALSE;
  char* program = g_uri_unescape_string(uri + sizeof kRunPrefix - 1, NULL);
  if (program != NULL) {
    char* argv[] = {program, NULL};
    g_spawn_async(NULL, argv, NULL, G_SPAWN_DEFAULT, NULL, NULL, NULL, NULL);
    g_free(program);
  }
  webkit_policy_decision_ignore(decision);
  return TRUE;
}

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  if (argc != 4) {
    g_printerr("usage: %s URI WIDTH HEIGHT\n", argv[0]);
    return 2;
  }
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Minimal WebKitGTK view");
  gtk_window_set_default_size(GTK_WINDOW(window), atoi(argv[2]), atoi(argv[3]));
  GtkWidget* view = webkit_web_view_new();
  gtk_container_add(GTK_CONTAINER(window), view);
  g_signal_connect(view, "decide-policy", G_CALLBACK(OnDecidePolicy), NULL);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
"""

# Added to the guide page: once it is loaded, record the time. Chromium, which is given the
# page with "#beacon=<port>", tells this script instead.
ON_LOAD = """<script>
addEventListener("load", () => {
  if (location.hash.startsWith("#beacon="))
    fetch("http://127.0.0.1:" + location.hash.slice(8) + "/loaded", {mode: "no-cors"});
  else
    location.href = "openexecutable:" + %s;
});
</script>
"""

RECORDER = """#!/bin/sh
date +%s%N > "$0.time"
"""

CHROMIUM_FLAGS = ["--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync"]


def wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while True:
        answer = predicate()
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise RuntimeError(f"gave up after {timeout} s waiting for {what}")
        time.sleep(0.005)


def children():
    """Parent process id -> its child process ids, for every process now."""
    tree = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                # The command name in parentheses may hold blanks; the fields after it do not.
                parent = int(stat.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        tree.setdefault(parent, []).append(int(entry))
    return tree


def pss_kib(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as rollup:
            for line in rollup:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def tree_pss_kib(pid):
    tree, total, pending = children(), 0, [pid]
    while pending:
        process = pending.pop()
        total += pss_kib(process)
        pending.extend(tree.get(process, []))
    return total


class Beacon:
    """Notes the time at which a page asked for /loaded."""

    def __init__(self):
        self.loaded_ns = None
        beacon = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                if self.path.startswith("/loaded") and beacon.loaded_ns is None:
                    beacon.loaded_ns = time.time_ns()
                self.send_response(204)
                self.end_headers()

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()


class Program:
    def __init__(self, name, command, env, recorded):
        self.name, self.command, self.env, self.recorded = name, command, env, recorded
        self.times_ms, self.own_kib, self.all_kib = [], [], []

    def run(self, measure=True):
        start_ns = time.time_ns()
        process = subprocess.Popen(self.command(), env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            loaded_ns = wait_for(self.recorded, 60, f"{self.name} to load the page")
            time.sleep(1.0)  # what the program holds once the page is up, not while it draws
            if measure:
                self.times_ms.append((loaded_ns - start_ns) / 1e6)
                self.own_kib.append(pss_kib(process.pid))
                self.all_kib.append(tree_pss_kib(process.pid))
            return process.pid
        finally:
            try:
                os.killpg(process.pid, signal.SIGTERM)
                process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
            except ProcessLookupError:
                pass


def launcher_window_size(env):
    """The size of the launcher's client area: run it once and look."""
    out = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + CAPTION + "$"],
                         env=env, capture_output=True, text=True, timeout=60).stdout.split()
    info = subprocess.run(["xwininfo", "-id", out[0]], env=env, capture_output=True, text=True).stdout
    field = lambda name: int(info.split(name + ":")[1].split()[0])
    return field("Width"), field("Height")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--launcher", default=os.path.join(REPOSITORY, "build/default/app/linux/tessarin-guide"))
    parser.add_argument("--runs", type=int, default=10)
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -noreset", sys.executable] + sys.argv)
    if not os.access(options.launcher, os.X_OK):
        sys.exit(f"no launcher at {options.launcher}: build it first (cmake --build --preset default)")

    work = tempfile.mkdtemp(prefix="tsr-bench-")
    try:
        measure(options, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def measure(options, work):
    peer = os.path.join(work, "minimal-webview")
    with open(peer + ".c", "w") as source:
        source.write(PEER_SOURCE)
    flags = subprocess.run(["pkg-config", "--cflags", "--libs", "webkit2gtk-4.1", "gtk+-3.0"],
                           check=True, capture_output=True, text=True).stdout.split()
    subprocess.run(["cc", "-O2", "-o", peer, peer + ".c"] + flags, check=True)

    recorder = os.path.join(work, "record-time")
    with open(recorder, "w") as script:
        script.write(RECORDER)
    os.chmod(recorder, 0o755)
    time_file = recorder + ".time"

    prefix = os.path.join(work, "prefix")
    shutil.copytree(os.path.join(REPOSITORY, "examples/prefix"), prefix, symlinks=True)
    page = os.path.join(prefix, GUIDE)
    with open(page, encoding="utf-8") as text:
        html = text.read()
    with open(page, "w", encoding="utf-8") as text:
        text.write(html.replace("</head>", ON_LOAD % repr(urllib.parse.quote(recorder)) + "</head>", 1))
    page_uri = "file://" + urllib.parse.quote(page)

    home = os.path.join(work, "home")
    os.makedirs(home)
    env = dict(os.environ, HOME=home, WINEPREFIX=prefix, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_DATA_HOME=os.path.join(home, ".local/share"),
               NO_AT_BRIDGE="1", GDK_BACKEND="x11", GSETTINGS_BACKEND="memory",
               WEBKIT_DISABLE_COMPOSITING_MODE="1", WEBKIT_DISABLE_DMABUF_RENDERER="1")

    def recorded_time():
        try:
            with open(time_file) as text:
                value = text.read().strip()
            return int(value) if value else None
        except FileNotFoundError:
            return None

    def fresh(command):
        def start():
            if os.path.exists(time_file):
                os.remove(time_file)
            return command()
        return start

    size = []
    launcher = Program("tessarin-guide", fresh(lambda: [options.launcher]), env, recorded_time)
    peer_program = Program("minimal WebKitGTK", fresh(lambda: [peer, page_uri] + [str(n) for n in size]), env,
                           recorded_time)
    programs = [launcher, peer_program]

    chromium = shutil.which("chromium")
    beacon = Beacon()
    if chromium:
        def chromium_command():
            beacon.loaded_ns = None
            profile = tempfile.mkdtemp(prefix="chromium-", dir=work)
            return [chromium, f"--app={page_uri}#beacon={beacon.port}", f"--window-size={size[0]},{size[1]}",
                    f"--user-data-dir={profile}"] + CHROMIUM_FLAGS
        programs.append(Program("chromium --app", chromium_command, env, lambda: beacon.loaded_ns))

    # The launcher's window decides the size for the others; that first run is its warm-up.
    process = subprocess.Popen([options.launcher], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        size.extend(launcher_window_size(env))
        wait_for(recorded_time, 60, "the launcher to load the page")
    finally:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(10)
    for program in programs[1:]:
        program.run(measure=False)

    for turn in range(options.runs):
        for program in programs:
            program.run()
        print(f"run {turn + 1}/{options.runs} done", file=sys.stderr)

    report(programs, size, options.runs, chromium)


def report(programs, size, runs, chromium):
    mib = lambda kib: kib / 1024
    print(f"Start-up to the guide's load, window {size[0]}x{size[1]}, medians of {runs} runs each:")
    print(f"{'program':<22}{'time ms':>10}{'own PSS MiB':>14}{'all PSS MiB':>14}")
    medians = {}
    for program in programs:
        medians[program.name] = (statistics.median(program.times_ms), statistics.median(program.own_kib),
                                 statistics.median(program.all_kib))
        t, own, total = medians[program.name]
        print(f"{program.name:<22}{t:>10.1f}{mib(own):>14.1f}{mib(total):>14.1f}")
    t, own, total = medians["tessarin-guide"]
    pt, pown, ptotal = medians["minimal WebKitGTK"]
    ratio = t / pt
    extra = mib(own - pown)
    launcher, peer = programs[0], programs[1]
    turns = sorted(a / b for a, b in zip(launcher.times_ms, peer.times_ms))
    quartiles = statistics.quantiles(turns, n=4) if len(turns) > 1 else turns * 3
    print(f"time ratio launcher / minimal: {ratio:.3f} (target <= 1.00: {'met' if ratio <= 1.00 else 'MISSED'}); "
          f"per turn: median {statistics.median(turns):.3f}, quartiles {quartiles[0]:.3f} .. {quartiles[2]:.3f}")
    print(f"own PSS, launcher - minimal: {extra:+.1f} MiB (target <= +5 MiB: {'met' if extra <= 5 else 'MISSED'})")
    print(f"all processes' PSS, launcher - minimal: {mib(total - ptotal):+.1f} MiB")
    if not chromium:
        print("chromium is not installed: `apt-get install chromium` to compare with it as well")
    else:
        ct, cown, ctotal = medians["chromium --app"]
        print(f"chromium --app / launcher: time {ct / t:.2f}x, own PSS {cown / own:.2f}x, "
              f"all processes' PSS {ctotal / total:.2f}x")


if __name__ == "__main__":
    main()
