"""The real program's close button under Xvfb, with and without a
notification area (the old X11 tray, or a StatusNotifierItem watcher as
current panels run it): the window must stay within reach either way."""

import os
import subprocess
import sys
import unittest

import harness

ARGS = None
CLOSE_BUTTON = (969, 16)  # at the starting size, 990 x 655
# Close hides to the notification area without asking.
CLOSE_TO_TRAY = b"[S_q]\r\nts=1\r\nquit=2\r\n"


def visible_windows(*criteria):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", *criteria],
                            capture_output=True, text=True)
    return result.stdout.split()


def main_window():
    """The program's window; the tray icon's own window bears its name too."""
    for window in visible_windows("--name", "^Taviro$"):
        try:
            if harness.window_geometry(window)[2] > 100:
                return window
        except subprocess.CalledProcessError:
            pass  # a window that went away between the search and the look
    return None


class TrayTest(harness.SharedDemoServiceTest):
    def start(self):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.write("config.dll", CLOSE_TO_TRAY)
        program.start()
        return program, harness.wait_for(main_window, 30, "the main window")

    def tray_host(self):
        process = subprocess.Popen(["trayer", "--edge", "top", "--align", "left", "--widthtype", "request",
                                    "--height", "24", "--SetDockType", "false"],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def stop():
            process.kill()
            process.wait()
        self.addCleanup(stop)
        return process

    def test_without_a_tray_close_minimises_and_the_window_stays_reachable(self):
        program, window = self.start()
        harness.click(window, *CLOSE_BUTTON)
        program.wait_log("taviro: window minimised", 15)
        self.assertNotIn("taviro: window hidden", program.log())
        self.assertIn(window, visible_windows("--name", "^Taviro$"))
        self.assertIsNone(program.process.poll())
        self.assertEqual(program.quit(), 0)

    def test_with_a_tray_close_hides_and_the_icon_brings_the_window_back(self):
        self.tray_host()
        program, window = self.start()
        program.wait_log("taviro: tray icon embedded", 30)
        harness.click(window, *CLOSE_BUTTON)
        program.wait_log("taviro: window hidden", 15)
        harness.wait_for(lambda: window not in visible_windows("--name", "^Taviro$"), 15, "the window hidden")

        tray = harness.wait_for(lambda: visible_windows("--class", "trayer"), 15, "the tray host's window")[0]
        x, y, width, height = harness.window_geometry(tray)
        subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "1"],
                       check=True)
        harness.wait_for(lambda: window in visible_windows("--name", "^Taviro$"), 15, "the window back")
        self.assertEqual(program.quit(), 0)


    def watcher(self):
        """A StatusNotifierWatcher of the test's own; returns a function that
        gives the next item that registers with it."""
        process = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__),
                                                                 "status_notifier_watcher.py")],
                                   stdout=subprocess.PIPE, text=True)

        def stop():
            process.terminate()
            process.wait(10)
            process.stdout.close()
        self.addCleanup(stop)
        self.assertEqual(process.stdout.readline().strip(), "ready")
        return lambda: process.stdout.readline().split()

    def test_with_a_status_notifier_watcher_the_item_brings_the_window_back(self):
        self.tray_host()  # an old tray as well: the new icon stands alone all the same
        registered = self.watcher()
        program, window = self.start()
        line = registered()
        self.assertEqual(line[0], "registered", line)
        item = line[1]
        program.wait_log("taviro: tray icon shown by a StatusNotifierItem host", 30)

        def item_call(method, *args):
            return subprocess.run(["gdbus", "call", "--session", "--dest", item, "--object-path",
                                   "/StatusNotifierItem", "--method", method, *args],
                                  capture_output=True, text=True, timeout=20, check=True).stdout
        interface = "org.kde.StatusNotifierItem"
        everything = item_call("org.freedesktop.DBus.Properties.GetAll", interface)
        for expected in ("'Id': <'org.taviro.Taviro'>", "'Status': <'Active'>", "'Title': <'Taviro'>",
                         "'ItemIsMenu': <false>"):
            self.assertIn(expected, everything)
        self.assertIn("'IconPixmap': <[(", everything)  # the picture itself
        self.assertNotIn("taviro: tray icon embedded", program.log())

        harness.click(window, *CLOSE_BUTTON)
        program.wait_log("taviro: window hidden", 15)
        harness.wait_for(lambda: window not in visible_windows("--name", "^Taviro$"), 15, "the window hidden")
        item_call(interface + ".Activate", "0", "0")  # a left click on the panel's icon
        harness.wait_for(lambda: window in visible_windows("--name", "^Taviro$"), 15, "the window back")
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
