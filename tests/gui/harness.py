"""Starts the demo service and the program in a temporary application
folder, and gives tests what they need to look at the result."""

import argparse
import faulthandler
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.parse
import unittest
import urllib.request

import process_memory

# The base address of the demo service this test started (on a free port);
# the program under test is pointed at it.
DEMO_BASE = None


def test_arguments(*extra):
    """The options every GUI test script takes (and `extra` ones), and the
    rest of the command line for unittest."""
    parser = argparse.ArgumentParser()
    for name in ("--program", "--icon", "--service", "--data", *extra, "--out"):
        parser.add_argument(name, required=True)
    args, rest = parser.parse_known_args()
    os.makedirs(args.out, exist_ok=True)
    if os.environ.get("TAVIRO_TEST_DEADLINE"):
        faulthandler.dump_traceback_later(int(os.environ["TAVIRO_TEST_DEADLINE"]), exit=True)
    return args, [sys.argv[0], *rest]


def fetch(path):
    """A page of the demo service, as bytes."""
    with urllib.request.urlopen(DEMO_BASE + path, timeout=10) as reply:
        return reply.read()


def set_switches(**settings):
    """Changes what the demo service's switch, news and notice files say."""
    fetch("__switches?" + urllib.parse.urlencode(settings))


def media_of(series, source, episode):
    """The address the demo service gives for an episode."""
    reply = fetch(f"h.asp?id={series}&v={source}&v1={episode}").decode("gb18030")
    return reply.split("$")[1]


def player_requests(program, what):
    """The details of every "taviro: player <what> ..." line, in order."""
    prefix = f"taviro: player {what} "
    return [line[len(prefix):] for line in program.log().splitlines() if line.startswith(prefix)]


class Timeout(Exception):
    pass


class ChildLog:
    """A file a child process writes its output to while the test reads it.
    The child's descriptor appends, and every read opens the file anew: with
    one shared descriptor the reader's seek would move the writers' offset,
    and a line written then would land over an older one."""

    def __init__(self):
        handle, self.path = tempfile.mkstemp(prefix="taviro-log-")
        os.close(handle)
        self.sink = open(self.path, "ab", buffering=0)

    def text(self):
        with open(self.path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def close(self):
        self.sink.close()
        try:
            os.unlink(self.path)
        except FileNotFoundError:
            pass


def wait_for(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise Timeout(f"gave up after {seconds}s waiting for {what}")


class DemoService:
    def __init__(self, binary, data_dir, media_dir=None, port=0, library=(), home=None):
        self.log = ChildLog()
        media = ["--media", media_dir] if media_dir else []
        libraries = [argument for folder in library for argument in ("--library", folder)]
        # The service's videos folder, settings, index and posters are those
        # of a home of the test's own, never of whoever runs the tests.
        self.home = home or tempfile.mkdtemp(prefix="taviro-service-home-")
        self.own_home = home is None
        env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                   XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                   XDG_CACHE_HOME=os.path.join(self.home, ".cache"))
        self.process = subprocess.Popen(
            [binary, "--port", str(port), "--data", data_dir, "--test-controls", *media, *libraries],
            stdout=self.log.sink, stderr=subprocess.STDOUT, env=env)
        self.base = None

    def wait_ready(self):
        global DEMO_BASE

        def ready():
            if self.process.poll() is not None:
                raise RuntimeError("demo service ended: " + self.output())
            for line in self.output().splitlines():
                if line.startswith("listening on "):
                    return line[len("listening on "):].strip()
            return None
        self.base = wait_for(ready, 20, "the demo service")
        if not self.base.endswith("/"):
            self.base += "/"
        DEMO_BASE = self.base
        # Every optional feature of the switch file is off unless a test
        # turns it on.
        set_switches(all=0)

    def output(self):
        return self.log.text()

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()
        if self.own_home:
            shutil.rmtree(self.home, ignore_errors=True)


class SharedDemoServiceTest(unittest.TestCase):
    """One demo service for every test of the class, started before the first
    and stopped after the last, from the script's own options (the ARGS its
    module sets from test_arguments before unittest runs)."""

    @classmethod
    def setUpClass(cls):
        options = sys.modules[cls.__module__].ARGS
        cls.service = DemoService(options.service, options.data)
        cls.service.wait_ready()

    @classmethod
    def tearDownClass(cls):
        cls.service.stop()


def pids_running(executable):
    """The processes whose program is the file `executable`."""
    wanted = os.path.realpath(executable)
    pids = []
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink(f"/proc/{entry}/exe") == wanted:
                pids.append(int(entry))
        except OSError:
            pass
    return pids


class Program:
    """The program run from a fresh portable application folder; with
    `service`, the program's own service is installed beside it."""

    def __init__(self, binary, icon, app_dir=None, service=None):
        self.own_dir = app_dir is None
        self.app_dir = app_dir or tempfile.mkdtemp(prefix="taviro-gui-")
        shutil.copy2(binary, os.path.join(self.app_dir, "taviro"))
        shutil.copy2(icon, os.path.join(self.app_dir, "i.gif"))
        # The catalogues of the program's texts, as a portable folder has them.
        catalogues = os.path.join(os.path.dirname(binary), "locale")
        if os.path.isdir(catalogues) and not os.path.exists(os.path.join(self.app_dir, "locale")):
            shutil.copytree(catalogues, os.path.join(self.app_dir, "locale"))
        if service:
            shutil.copy2(service, os.path.join(self.app_dir, "taviro-service"))
        self.stderr = ChildLog()
        self.process = None
        self.started = None

    def environment(self, accessible, **extra):
        # A private instance name: never hand the command line to a Taviro
        # the same user is running.
        # Simplified Chinese, whatever the machine's language: the tests find
        # the controls by the names the product gives them.
        env = dict(os.environ, TAVIRO_DEBUG="1", HOME=self.app_dir, LC_ALL="zh_CN.UTF-8", LANGUAGE="zh_CN",
                   TAVIRO_INSTANCE=os.path.basename(self.app_dir))
        env.update(extra)
        if DEMO_BASE:
            env["TAVIRO_SERVICE_BASE_URL"] = DEMO_BASE
        if not accessible:
            env["NO_AT_BRIDGE"] = "1"
        return env

    def start(self, *args, accessible=False, **extra_env):
        self.started = time.monotonic()
        self.process = subprocess.Popen(
            [os.path.join(self.app_dir, "taviro"), *args],
            stdout=subprocess.DEVNULL, stderr=self.stderr.sink, env=self.environment(accessible, **extra_env))

    def start_again(self, *args, seconds=30, cwd=None, **extra_env):
        """Starts the same executable once more (in the folder `cwd`) and
        waits for it to end: (exit code, seconds it ran, its stderr)."""
        began = time.monotonic()
        result = subprocess.run([os.path.join(self.app_dir, "taviro"), *args],
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                env=self.environment(False, **extra_env), timeout=seconds, cwd=cwd)
        return result.returncode, time.monotonic() - began, result.stderr

    def log(self):
        return self.stderr.text()

    def wait_log(self, text, seconds=30):
        def seen():
            if self.process.poll() is not None:
                raise RuntimeError(f"program ended ({self.process.returncode}): {self.log()}")
            return text in self.log()
        try:
            wait_for(seen, seconds, repr(text))
        except Timeout as error:
            tail = "\n".join(self.log().splitlines()[-30:])
            raise Timeout(f"{error}; the program's log ends:\n{tail}") from None
        return time.monotonic() - self.started

    def window_id(self, seconds=60):
        def find():
            if self.process.poll() is not None:
                raise Timeout(f"the program ended ({self.process.returncode}) before its window showed")
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Taviro$"],
                                    capture_output=True, text=True)
            ids = result.stdout.split()
            return ids[0] if ids else None
        try:
            return wait_for(find, seconds, "the main window")
        except Timeout as error:
            tail = "\n".join(self.log().splitlines()[-30:])
            raise Timeout(f"{error}; the program's log ends:\n{tail}") from None

    def quit(self, seconds=15):
        """Asks the program to quit as the session would; returns its exit code."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            return self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise

    def read(self, name):
        with open(os.path.join(self.app_dir, name), "rb") as f:
            return f.read()

    def write(self, name, data):
        with open(os.path.join(self.app_dir, name), "wb") as f:
            f.write(data)

    def remove(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stderr.close()
        if self.own_dir:
            shutil.rmtree(self.app_dir, ignore_errors=True)


def window_geometry(window_id):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window_id],
                         capture_output=True, text=True, check=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def screenshot(window_id, path):
    subprocess.run(["import", "-window", window_id, path], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def process_tree_rss_kib(pid):
    """Resident memory of a process and all its descendants, in KiB."""
    total = 0
    for current in process_memory.descendants(pid):
        try:
            with open(f"/proc/{current}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except OSError:
            pass  # it ended while we looked
    return total


def click(window_id, x, y, button=1):
    subprocess.run(["xdotool", "mousemove", "--window", window_id, str(x), str(y),
                    "click", str(button)], check=True)


def key(window_id, name):
    """Types a key into the window as the user would: the window takes the
    keyboard focus first (there is no window manager to give it)."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True, timeout=10)
    subprocess.run(["xdotool", "key", name], check=True, timeout=10)


def colour_count(png_path, box):
    """How many different colours the (x, y, width, height) part of a picture holds."""
    x, y, width, height = box
    out = subprocess.run(["convert", png_path, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                          "-format", "%k", "info:"], capture_output=True, text=True, check=True).stdout
    return int(out.strip())


def differing_pixels(png_path, box, picture_path):
    """How many pixels of the (x, y, width, height) part of a screenshot
    differ from a picture of that size."""
    x, y, width, height = box
    result = subprocess.run(
        ["convert", png_path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "png:-"],
        capture_output=True, check=True)
    compared = subprocess.run(["compare", "-metric", "AE", "-fuzz", "2%", "png:-", picture_path, "null:"],
                              input=result.stdout, capture_output=True)
    return int(float(compared.stderr.decode().split()[0]))


def pixel(png_path, x, y):
    """The colour at (x, y) of a picture, as an (r, g, b) tuple."""
    out = subprocess.run(["convert", png_path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                         capture_output=True, text=True, check=True).stdout
    values = out.splitlines()[-1].split("(", 1)[1].split(")", 1)[0].split(",")
    return tuple(int(float(v)) for v in values[:3])
