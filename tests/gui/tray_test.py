"""The real program's close button under Xvfb, with and without a
notification area (the old X11 tray, or a StatusNotifierItem watcher as
current panels run it): the window must stay within reach either way."""

import os
import subprocess
import sys
import unittest

import harness

from gi.repository import Gio, GLib  # noqa: E402

ARGS = None
CLOSE_BUTTON = (969, 16)  # at the starting size, 990 x 655
# Close hides to the notification area without asking.
CLOSE_TO_TRAY = b"[S_q]\r\nts=1\r\nquit=2\r\n"


def visible_windows(*criteria):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", *criteria],
                            capture_output=True, text=True)
    return result.stdout.split()


def shown(window):
    return window in visible_windows("--name", "^Taviro$")


def hide(window):
    """Closes the window to the tray. Without a window manager a window just
    shown again may still be settling and miss a click: it is clicked again
    while it stays."""
    for _ in range(5):
        if not shown(window):
            return
        harness.click(window, *CLOSE_BUTTON)
        try:
            harness.wait_for(lambda: not shown(window), 5, "the window hidden")
            return
        except harness.Timeout:
            pass
    raise harness.Timeout("the window never hid")


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
        try:
            harness.wait_for(lambda: window in visible_windows("--name", "^Taviro$"), 15, "the window back")
        except harness.Timeout as error:
            raise harness.Timeout(f"{error}; the program logged:\n{program.log()[-3000:]}") from None
        self.assertEqual(program.quit(), 0)


    def watcher(self, *args):
        """A StatusNotifierWatcher of the test's own; its output says which
        items registered, its input makes a host come or go."""
        process = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__),
                                                                 "status_notifier_watcher.py"), *args],
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

        def stop():
            process.terminate()
            process.wait(10)
            process.stdin.close()
            process.stdout.close()
        self.addCleanup(stop)
        self.assertEqual(process.stdout.readline().strip(), "ready")
        return process

    def registered_item(self, watcher):
        line = watcher.stdout.readline().split()
        self.assertEqual(line[0], "registered", line)
        return line[1]

    def set_host(self, watcher, present):
        watcher.stdin.write("host\n" if present else "no-host\n")
        watcher.stdin.flush()
        self.assertEqual(watcher.stdout.readline().strip(), "host" if present else "no-host")

    def test_with_a_status_notifier_watcher_the_item_and_its_menu_bring_the_window_back(self):
        self.tray_host()  # an old tray as well: the new icon stands alone all the same
        watcher = self.watcher()
        # The installed icon theme, as a packaged copy finds it.
        data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.write("config.dll", CLOSE_TO_TRAY)
        program.start(XDG_DATA_DIRS=data + ":/usr/share")
        window = harness.wait_for(main_window, 30, "the main window")
        item = self.registered_item(watcher)
        program.wait_log("taviro: tray icon shown by a StatusNotifierItem host", 30)

        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

        def call(path, interface, method, args=None):
            return bus.call_sync(item, path, interface, method, args, None, Gio.DBusCallFlags.NONE, 20000,
                                 None).unpack()
        interface = "org.kde.StatusNotifierItem"
        everything = call("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "GetAll",
                          GLib.Variant("(s)", (interface,)))[0]
        self.assertEqual((everything["Id"], everything["Status"], everything["Title"]),
                         ("org.taviro.Taviro", "Active", "Taviro"))
        self.assertEqual(everything["IconName"], "org.taviro.Taviro")
        self.assertTrue(everything["IconPixmap"])  # the picture itself, for panels without the theme
        self.assertNotIn("taviro: tray icon embedded", program.log())

        # The menu as a panel reads it: a way back to the window, and the main menu.
        _, (_, _, children) = call(everything["Menu"], "com.canonical.dbusmenu", "GetLayout",
                                   GLib.Variant("(iias)", (0, -1, [])))
        labels = {entry[1].get("label"): entry[0] for entry in children}
        for label in ("显示", "软件设置", "更换皮肤", "退出软件"):
            self.assertIn(label, labels)

        hide(window)
        call(everything["Menu"], "com.canonical.dbusmenu", "Event",
             GLib.Variant("(isvu)", (labels["显示"], "clicked", GLib.Variant("i", 0), 0)))
        harness.wait_for(lambda: window in visible_windows("--name", "^Taviro$"), 15, "the window back")
        hide(window)
        call("/StatusNotifierItem", interface, "Activate", GLib.Variant("(ii)", (0, 0)))  # a left click
        harness.wait_for(lambda: window in visible_windows("--name", "^Taviro$"), 15, "the window back")
        # A host that asks for the menu instead of reading it.
        call("/StatusNotifierItem", interface, "ContextMenu", GLib.Variant("(ii)", (40, 40)))
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        call(everything["Menu"], "com.canonical.dbusmenu", "Event",
             GLib.Variant("(isvu)", (labels["退出软件"], "clicked", GLib.Variant("i", 0), 0)))
        self.assertEqual(program.process.wait(30), 0)
        self.assertNotIn("CRITICAL", program.log())

    def test_with_a_watcher_but_no_host_the_window_is_never_hidden(self):
        watcher = self.watcher("--no-host")
        program, window = self.start()
        item = self.registered_item(watcher)
        program.wait_log("taviro: tray icon without a StatusNotifierItem host", 30)
        harness.click(window, *CLOSE_BUTTON)
        program.wait_log("taviro: window minimised", 15)
        self.assertNotIn("taviro: window hidden", program.log())

        # A panel comes: close hides to its icon. It goes: the window comes back.
        self.set_host(watcher, True)
        program.wait_log("taviro: tray icon shown by a StatusNotifierItem host", 30)
        restored = program.log().count("taviro: window normal")
        subprocess.run(["gdbus", "call", "--session", "--dest", item, "--object-path", "/StatusNotifierItem",
                        "--method", "org.kde.StatusNotifierItem.Activate", "0", "0"],
                       capture_output=True, timeout=20, check=True)
        harness.wait_for(lambda: program.log().count("taviro: window normal") > restored, 15, "the window restored")
        hide(window)
        self.set_host(watcher, False)
        harness.wait_for(lambda: window in visible_windows("--name", "^Taviro$"), 15, "the window back")
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
