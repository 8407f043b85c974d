"""The service's switch file turning the online features on and off in the
real program: the update prompt, the news ticker, the popup notice, the
promotion window at quit and the statistics request; and a slow service
that must not freeze the window."""

import json
import os
import re
import shutil
import signal
import subprocess
import time
import unittest

import harness
from accessible_screen import Screen

ARGS = None
HEADLINES = ["《山海情缘》大结局今晚上线，十年之约终有答案", "科幻新作《星际-归途》全六集已更新"]
SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 800


def visible_windows(name):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                            capture_output=True, text=True)
    return result.stdout.split()


def stats():
    return json.loads(harness.fetch("__stats"))


def requested(path):
    return stats()["paths"].get(path, 0)


class ServicesTest(unittest.TestCase):
    def setUp(self):
        self.service = harness.DemoService(ARGS.service, ARGS.data)
        self.addCleanup(self.service.stop)
        self.service.wait_ready()
        self.program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(self.program.remove)

    def start(self, accessible=False):
        self.program.start(accessible=accessible)
        window = self.program.window_id(60)
        self.program.wait_log("Web1 loaded", 90)
        return window

    def crop_control_bar(self, shot, name):
        out = os.path.join(ARGS.out, name)
        subprocess.run(["convert", shot, "-crop", "990x43+0+612", "+repage", out], check=True)
        return out

    def test_every_switch_on(self):
        harness.set_switches(all=1, version="2.4", headlines=2, notice_delay=3, notice_stay=1, notice_repeat=1)
        window = self.start(accessible=True)

        identity = re.search(rb"\[User\]\r\nName=([^\r]+)", self.program.read("config.dll")).group(1).decode()
        harness.wait_for(lambda: stats()["tj"].get(identity, 0) >= 1, 30, "the statistics request")

        # The update prompt names the announced version; the answer is no.
        self.program.wait_log("taviro: prompt 提示： 检测到最新版本 2.4 ,你需要现在升级吗？", 60)
        dialog = harness.wait_for(lambda: visible_windows("提示："), 30, "the update prompt")[0]
        harness.key(dialog, "Escape")
        harness.wait_for(lambda: not visible_windows("提示："), 30, "the prompt to close")
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=10)

        # The ticker rotates the two headlines in the control bar.
        screen = Screen(self.program, window)
        for k, headline in enumerate(HEADLINES):
            harness.wait_for(lambda: headline in screen.label_texts(), 60, f"headline {k + 1}")
            self.assertNotIn(HEADLINES[1 - k], screen.label_texts())
            shot = os.path.join(ARGS.out, f"ticker-{k + 1}.png")
            harness.screenshot(window, shot)
            self.crop_control_bar(shot, f"ticker-bar-{k + 1}.png")
        harness.wait_for(lambda: HEADLINES[0] in screen.label_texts(), 60, "the first headline again")

        # The notice shows above the bottom-right corner and leaves the
        # keyboard with the main window.
        notice = harness.wait_for(lambda: visible_windows("Taviro 公告"), 60, "the notice window")[0]
        x, y, width, height = harness.window_geometry(notice)
        self.assertEqual(x + width, SCREEN_WIDTH)
        self.assertEqual(y + height, SCREEN_HEIGHT - 32)
        self.assertGreater(width, 100)
        self.assertGreater(height, 40)
        hints = subprocess.run(["xprop", "-id", notice, "WM_HINTS"], capture_output=True, text=True).stdout
        self.assertIn("accepts input or input focus: False", hints)
        focused = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True).stdout.strip()
        self.assertEqual(focused, window)
        harness.wait_for(lambda: [name for name, _, _ in screen.showing("push button", notice) if name == "关闭"],
                         10, "the notice's close button by its name")
        harness.screenshot(notice, os.path.join(ARGS.out, "notice.png"))

        # Quitting shows the promotion window; the run ends when it closes itself.
        asked = time.monotonic()
        self.program.process.send_signal(signal.SIGTERM)
        harness.wait_for(lambda: visible_windows("推荐"), 30, "the promotion window")
        self.assertIsNone(self.program.process.poll())
        self.assertEqual(self.program.process.wait(90), 0)
        self.assertGreater(time.monotonic() - asked, 19)

    def test_every_switch_off(self):
        window = self.start(accessible=True)
        self.program.wait_log("lib/wen.txt handled", 60)
        self.assertEqual(requested("/lib/gun.txt"), 0)
        self.assertEqual(requested("/lib/tan.txt"), 0)
        self.assertNotIn("taviro: prompt", self.program.log())
        screen = Screen(self.program, window)
        for headline in HEADLINES:
            self.assertNotIn(headline, screen.label_texts())
        self.assertFalse(visible_windows("Taviro 公告"))
        asked = time.monotonic()
        self.assertEqual(self.program.quit(30), 0)
        self.assertLess(time.monotonic() - asked, 15)
        self.assertNotIn("推荐", subprocess.run(["xdotool", "search", "--name", "推荐"],
                                               capture_output=True, text=True).stdout)

    def test_slow_service_leaves_the_window_answering(self):
        harness.set_switches(all=1, version="2.4")
        harness.fetch("__fault?path=/lib/wen.txt&mode=delay&ms=30000")
        window = self.start()
        harness.wait_for(lambda: requested("/lib/wen.txt") >= 1, 60, "the switch file request")
        waiting_since = time.monotonic()

        # The player tab answers the click while the fetch waits.
        harness.click(window, 350, 18)
        shot = os.path.join(ARGS.out, "services-slow.png")

        def player_tab_shown():
            harness.screenshot(window, shot)
            return harness.pixel(shot, 980, 200) == (0x21, 0x21, 0x21)
        harness.wait_for(player_tab_shown, 20, "the player tab")
        self.assertLess(time.monotonic() - waiting_since, 10, "the click waited for the fetch")
        self.assertNotIn("lib/wen.txt handled", self.program.log())

        # The fetch gives up; nothing appears.
        self.program.wait_log("lib/wen.txt handled (0 bytes)", 60)
        self.assertNotIn("taviro: prompt", self.program.log())
        self.assertEqual(requested("/lib/gun.txt"), 0)
        self.assertEqual(requested("/lib/tan.txt"), 0)
        self.assertFalse(visible_windows("Taviro 公告"))
        self.assertEqual(self.program.quit(30), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
