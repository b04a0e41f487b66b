"""A private desktop for the end-to-end tests: an X server with a window manager, the
accessibility bus, and the real program started from a folder of the test's own.

The tests drive the program only as a person does: key presses and mouse clicks sent through the
X server (xdotool). The accessibility tree is used to find where a control is on the screen and to
read what a screen reader would read, never to act on a control.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import pyatspi

ROLE_NAMES = {
    "button": pyatspi.ROLE_PUSH_BUTTON,
    "combo": pyatspi.ROLE_COMBO_BOX,
    "text": pyatspi.ROLE_TEXT,
    "list": pyatspi.ROLE_LIST,
    "listitem": pyatspi.ROLE_LIST_ITEM,
    "check": pyatspi.ROLE_CHECK_BOX,
    "label": pyatspi.ROLE_LABEL,
    "table": pyatspi.ROLE_TABLE,
    "cell": pyatspi.ROLE_TABLE_CELL,
    "panel": pyatspi.ROLE_PANEL,
    "filler": pyatspi.ROLE_FILLER,
    "dialog": pyatspi.ROLE_DIALOG,
}


class Timeout(AssertionError):
    pass


def wait_until(predicate, timeout=10.0, what="condition"):
    """Polls `predicate` until it returns a true value, which is returned."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > end:
            raise Timeout("timed out waiting for " + what)
        time.sleep(0.05)


class Desktop:
    """Xvfb + openbox + a session bus with the accessibility bus, for one test class."""

    def __init__(self, width=1366, height=768):
        self.width, self.height = width, height
        self.procs = []
        self.home = tempfile.mkdtemp(prefix="ingressario-e2e-home-")
        self.env = dict(os.environ)

    def start(self):
        runtime = os.path.join(self.home, "runtime")
        os.mkdir(runtime, 0o700)
        # The X server picks a free display and writes its number to the pipe. "-noreset": by
        # default the server resets when its last client leaves, and a client connecting during
        # the reset is refused; the probes below connect and leave while the window manager and
        # the program connect.
        read_fd, write_fd = os.pipe()
        self.xvfb_log = open(os.path.join(self.home, "xvfb.log"), "w")
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{self.width}x{self.height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=self.xvfb_log, stderr=subprocess.STDOUT)
        os.close(write_fd)
        self.procs.append(xvfb)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start: " + self.log_text("xvfb.log"))
        self.env.update({
            "DISPLAY": ":" + number,
            "HOME": self.home,
            "XDG_RUNTIME_DIR": runtime,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "NO_AT_BRIDGE": "0",
            "LANG": "C.UTF-8",
        })
        self.env.pop("QT_LOGGING_RULES", None)
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "XDG_RUNTIME_DIR")})
        self.wm_log = open(os.path.join(self.home, "openbox.log"), "w")
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env, stdout=self.wm_log,
                                   stderr=subprocess.STDOUT)
        self.procs.append(self.wm)
        launcher = "/usr/libexec/at-spi-bus-launcher"
        self.procs.append(subprocess.Popen([launcher, "--launch-immediately"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_until(lambda: self.xdotool("getdisplaygeometry", check=False).returncode == 0,
                   what="the X server")
        # The window manager has taken the screen when it announces itself on the root window.
        wait_until(self.window_manager_running, what="the window manager")

    def window_manager_running(self):
        if self.wm.poll() is not None:
            raise RuntimeError("the window manager ended: " + self.wm_text() + "\nX server: " +
                               self.log_text("xvfb.log"))
        out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
        return "window id" in out

    def wm_text(self):
        return self.log_text("openbox.log")

    def log_text(self, name):
        with open(os.path.join(self.home, name), errors="replace") as f:
            return f.read()

    def stop(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self.procs.clear()
        for log in (getattr(self, "wm_log", None), getattr(self, "xvfb_log", None)):
            if log:
                log.close()
        shutil.rmtree(self.home, ignore_errors=True)

    # ---- input ---------------------------------------------------------------------------------

    def xdotool(self, *args, check=True):
        return subprocess.run(["xdotool", *args], env=self.env, check=check,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def key(self, *keys):
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.08)

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)
        time.sleep(0.1)

    def click_at(self, x, y, button=1, double=False):
        self.move_to(x, y)
        if double:
            self.xdotool("click", "--repeat", "2", "--delay", "80", str(button))
        else:
            self.xdotool("click", str(button))
        time.sleep(0.15)

    def move_to(self, x, y):
        # "mousemove --sync" waits for a motion that never comes when the pointer is already there.
        self.xdotool("mousemove", str(int(x)), str(int(y)))
        wait_until(lambda: self.xdotool("getmouselocation").stdout.startswith(f"x:{int(x)} y:{int(y)} "),
                   5, "the pointer")
        time.sleep(0.05)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def active_window_name(self):
        result = self.xdotool("getactivewindow", "getwindowname", check=False)
        return result.stdout.strip() if result.returncode == 0 else ""


class Program:
    """The real program, run from a folder of its own (its ProgramFolder)."""

    def __init__(self, desktop, executable, archive_text, first_password_file, guide=None):
        self.desktop = desktop
        self.executable = executable
        self.archive_text = archive_text
        self.folder = tempfile.mkdtemp(prefix="ingressario-e2e-")
        shutil.copy2(executable, self.folder)
        shutil.copy2(first_password_file, os.path.join(self.folder, "unins000.dll"))
        if guide and os.path.exists(guide):
            shutil.copy2(guide, self.folder)
        self.proc = None
        self.app = None

    def path(self, name):
        return os.path.join(self.folder, name)

    def start(self):
        self.log = open(os.path.join(self.folder, "stderr.log"), "w")
        self.proc = subprocess.Popen([os.path.join(self.folder, os.path.basename(self.executable))],
                                     cwd=self.folder, env=self.desktop.env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        self.app = wait_until(self._find_app, timeout=20, what="the program on the accessibility bus")

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.name in ("Ingressario", "ingressario") and \
                        app.get_process_id() == self.proc.pid:
                    return app
            except Exception:
                continue
        return None

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def stop(self):
        if self.running():
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        if self.proc is not None:
            self.log.close()

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def stderr_text(self):
        with open(os.path.join(self.folder, "stderr.log"), errors="replace") as f:
            return f.read()

    # ---- the data files, read through the archive code -----------------------------------------

    def cards(self):
        out = subprocess.run([self.archive_text, "cards", self.folder], check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        return json.loads(out)

    def history(self):
        out = subprocess.run([self.archive_text, "history", self.folder], check=True,
                             stdout=subprocess.PIPE, text=True).stdout
        return json.loads(out)

    # ---- what is on the screen -------------------------------------------------------------------

    def windows(self):
        """The program's top-level windows that are showing, the active one first."""
        found = []
        for i in range(self.app.childCount):
            w = self.app.getChildAtIndex(i)
            if w is None:
                continue
            states = w.getState()
            if states.contains(pyatspi.STATE_SHOWING):
                found.append((not states.contains(pyatspi.STATE_ACTIVE), w))
        return [w for _, w in sorted(found, key=lambda t: t[0])]

    def window(self, title, timeout=10.0):
        def find():
            for w in self.windows():
                if w.name == title or w.name.strip() == title.strip():
                    return w
            return None
        return wait_until(find, timeout, "the window " + repr(title))

    def find(self, name, role=None, within=None, timeout=10.0, showing=True):
        """The first control named `name` (and of `role`) that is showing."""
        want = ROLE_NAMES.get(role, role)

        def search(node, depth=0):
            if node is None or depth > 40:
                return None
            try:
                if node.name == name and (want is None or node.getRole() == want):
                    if not showing or node.getState().contains(pyatspi.STATE_SHOWING):
                        return node
                for i in range(node.childCount):
                    hit = search(node.getChildAtIndex(i), depth + 1)
                    if hit is not None:
                        return hit
            except Exception:
                return None
            return None

        def attempt():
            roots = [within] if within is not None else self.windows()
            for root in roots:
                hit = search(root)
                if hit is not None:
                    return hit
            return None
        return wait_until(attempt, timeout, f"the control {name!r}")

    def exists(self, name, role=None, within=None):
        try:
            self.find(name, role, within, timeout=0.3)
            return True
        except Timeout:
            return False

    @staticmethod
    def extents(node):
        e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return e.x, e.y, e.width, e.height

    def click(self, node, dx=None, dy=None, double=False):
        """Clicks the control with the mouse, at its centre or at an offset from its top left."""
        x, y, w, h = self.extents(node)
        px = x + (w // 2 if dx is None else (dx if dx >= 0 else w + dx))
        py = y + (h // 2 if dy is None else dy)
        self.desktop.click_at(px, py, double=double)

    def text_of(self, node):
        try:
            t = node.queryText()
            return t.getText(0, t.characterCount)
        except NotImplementedError:
            return node.name

    def focused(self):
        """The control with the keyboard focus in the active window."""
        def search(node, depth=0):
            if node is None or depth > 40:
                return None
            try:
                states = node.getState()
                if states.contains(pyatspi.STATE_FOCUSED):
                    return node
                if depth > 0 and not states.contains(pyatspi.STATE_SHOWING):
                    return None
                for i in range(node.childCount):
                    hit = search(node.getChildAtIndex(i), depth + 1)
                    if hit is not None:
                        return hit
            except Exception:
                return None
            return None
        windows = self.windows()
        return search(windows[0]) if windows else None


class ProgramTest(unittest.TestCase):
    """A test of the real program on the class's desktop: the subclass starts `self.desktop` for
    the class and `self.program` in its setUp. After each test the program is ended and its folder
    removed; a failed test leaves a screenshot and tells the program's output and the window
    manager's state; a program that ended by itself fails the test."""

    desktop = None

    @property
    def p(self):
        return self.program

    @property
    def d(self):
        return self.desktop

    def wait_active(self, title, timeout=10):
        return wait_until(lambda: self.d.active_window_name().strip() == title.strip(), timeout,
                          f"the window {title!r} to be active")

    def stop_helpers(self):
        """Ends what the test started beside the program; nothing by default."""

    def tearDown(self):
        failed = any(e for _, e in getattr(self._outcome, "errors", []) if e) or \
            (hasattr(self._outcome, "result") and any(
                t is self for t, _ in self._outcome.result.failures + self._outcome.result.errors))
        if failed:
            shot = os.path.join(tempfile.gettempdir(), f"ingressario-e2e-{self._testMethodName}.png")
            self.desktop.screenshot(shot)
            print(f"\nscreenshot: {shot}\nprogram output:\n{self.program.stderr_text()}", file=sys.stderr)
            wm = "running" if self.desktop.wm.poll() is None else f"ended ({self.desktop.wm.returncode})"
            print(f"window manager: {wm}\n{self.desktop.wm_text()}", file=sys.stderr)
        crashed = not self.program.running()
        output = self.program.stderr_text()
        self.stop_helpers()
        self.program.stop()
        self.program.remove()
        self.assertFalse(crashed, "the program ended by itself:\n" + output)


def program_arguments(hold_lock_required=False, more=()):
    """The command line of an end-to-end script: the program and the files it starts with (those
    of Program), then the names in `more` (each required). Returns the parsed arguments and the
    rest, for unittest."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--archive-text", required=True)
    parser.add_argument("--password-file", required=True)
    parser.add_argument("--hold-lock", required=hold_lock_required)
    parser.add_argument("--guide")
    for name in more:
        parser.add_argument(name, required=True)
    return parser.parse_known_args()


def run_tests(rest):
    unittest.main(argv=[sys.argv[0], "-v", *rest], warnings="ignore")
