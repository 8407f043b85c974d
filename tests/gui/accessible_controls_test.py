"""The window's painted controls as a screen reader and a keyboard user meet
them: every control with its role, name, action and state through the
accessibility bus, and a run with the keyboard alone."""

import os
import shutil
import subprocess
import tempfile
import unittest

import harness
import pyatspi
from accessible_screen import Screen
from harness import player_requests as logged

ARGS = None

# The player tab's controls, from the title bar to the side panel.
PLAYER_TAB_CONTROLS = [
    ("push button", "置顶"), ("push button", "精简模式"), ("push button", "菜单"),
    ("push button", "最小化"), ("push button", "最大化"), ("push button", "关闭"),
    ("page tab", "影视库"), ("page tab", "正在播放"), ("page tab", "电视直播"), ("page tab", "精彩推荐"),
    ("push button", "播放"), ("push button", "停止"), ("push button", "上一集"), ("push button", "下一集"),
    ("push button", "静音"), ("slider", "音量"), ("push button", "打开文件"), ("push button", "全屏"),
    ("toggle button", "播放列表"),
    ("push button", "关闭侧栏"), ("page tab", "剧集列表"), ("page tab", "网络任务"), ("page tab", "本地文件"),
    ("push button", "管理任务"),
]
# The focus ring: the seek thumb's light around the played part's blue.
PLAYING = "播放中("
RING_OUTER, RING_INNER = (0xE8, 0xE8, 0xE8), (0x2F, 0x9B, 0xD8)


def states(node):
    return node.getState()


def long_clip(folder):
    """A clip of a minute, three samples end to end, so that the run does not
    outlast it on a busy machine."""
    sample = os.path.join(ARGS.media, "sample-c.mp4")
    listing = os.path.join(folder, "parts.txt")
    with open(listing, "w") as f:
        f.write(f"file '{sample}'\n" * 3)
    clip = os.path.join(folder, "clip.mp4")
    subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "concat", "-safe", "0", "-i", listing,
                    "-c", "copy", clip], check=True, timeout=60)
    return clip


def visible_windows():
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Taviro$"],
                            capture_output=True, text=True)
    return result.stdout.split()


class AccessibleControlsTest(unittest.TestCase):
    def start(self, *args):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start(*args, accessible=True)
        window = program.window_id()
        return program, window, Screen(program, window)

    def wait_state(self, screen, role, name, state, present, what):
        harness.wait_for(lambda: states(screen.control(role, name)).contains(state) == present, 10, what)

    def test_every_control_has_role_name_action_and_state(self):
        service = harness.DemoService(ARGS.service, ARGS.data)
        self.addCleanup(service.stop)
        service.wait_ready()
        program, window, screen = self.start()
        program.wait_log("Web1 loaded", 60)
        screen.click_control("page tab", "正在播放")
        screen.control("page tab", "剧集列表")

        shown = {(role, name): node for role, name, node, _ in screen.controls()}
        missing = [control for control in PLAYER_TAB_CONTROLS if control not in shown]
        self.assertEqual(missing, [], f"controls shown: {list(shown)}")
        for (role, name), node in shown.items():
            self.assertTrue(states(node).contains(pyatspi.STATE_FOCUSABLE), name)
            if role == "slider":
                continue
            action = node.queryAction()
            self.assertEqual((action.nActions, action.getName(0)), (1, "click"), name)
        volume = shown[("slider", "音量")].queryValue()
        self.assertEqual((volume.minimumValue, volume.maximumValue), (0, 100))
        self.assertTrue(0 <= volume.currentValue <= 100)
        self.assertTrue(states(shown[("page tab", "正在播放")]).contains(pyatspi.STATE_SELECTED))
        self.assertFalse(states(shown[("page tab", "影视库")]).contains(pyatspi.STATE_SELECTED))
        # A button whose name flips says what a press does now, and nothing more.
        self.assertFalse(states(shown[("push button", "关闭侧栏")]).contains(pyatspi.STATE_CHECKED))
        self.assertEqual(screen.app.name, "Taviro")

        # No name a person reads is one of the window's internal ids.
        for node in screen.window_nodes():
            self.assertFalse(node.accessibleId and node.name == node.accessibleId, node.name)

        # A button pressed through its action: its name follows, and back.
        shown[("push button", "置顶")].queryAction().doAction(0)
        screen.control("push button", "取消置顶").queryAction().doAction(0)
        screen.control("push button", "置顶")

        # The side panel's handle hides the panel with its tabs.
        shown[("push button", "关闭侧栏")].queryAction().doAction(0)
        screen.control("push button", "显示侧栏")
        harness.wait_for(lambda: all(name != "剧集列表" for name, _, _ in screen.showing("page tab", pages=False)),
                         10, "the side tabs gone")
        self.wait_state(screen, "toggle button", "播放列表", pyatspi.STATE_CHECKED, False, "the bar's panel button")

        # A tab selected through its action.
        screen.control("page tab", "影视库").queryAction().doAction(0)
        self.wait_state(screen, "page tab", "影视库", pyatspi.STATE_SELECTED, True, "the catalogue tab selected")
        self.assertEqual(program.quit(), 0)

    def test_the_window_and_the_terminal_speak_the_users_language(self):
        # The C locale ignores LANGUAGE, as the C library does; Traditional
        # Chinese is asked for by the locale or by LANGUAGE alone.
        cases = [
            ({"LC_ALL": "C", "LANGUAGE": "zh_TW"}, ("Catalogue", "Keep on top", "Full screen")),
            ({"LC_ALL": "en_US.UTF-8", "LANGUAGE": ""}, ("Catalogue", "Keep on top", "Full screen")),
            ({"LC_ALL": "zh_TW.UTF-8", "LANGUAGE": ""}, ("影視庫", "置頂", "全螢幕")),
            ({"LC_ALL": "en_US.UTF-8", "LANGUAGE": "zh_TW"}, ("影視庫", "置頂", "全螢幕")),
        ]
        service = harness.DemoService(ARGS.service, ARGS.data)
        self.addCleanup(service.stop)
        service.wait_ready()
        for environment, (tab, button, full_screen) in cases:
            with self.subTest(**environment):
                program = harness.Program(ARGS.program, ARGS.icon)
                self.addCleanup(program.remove)
                program.start(accessible=True, **environment)
                window = program.window_id()
                screen = Screen(program, window)
                screen.control("page tab", tab)
                screen.control("push button", button)
                screen.control("push button", full_screen)
                if environment["LC_ALL"] == "en_US.UTF-8" and not environment["LANGUAGE"]:
                    program.wait_log("Web1 loaded", 60)
                    harness.screenshot(window, os.path.join(ARGS.out, "window-english.png"))
                self.assertEqual(program.quit(), 0)
        help_text = subprocess.run([ARGS.program, "--help"], capture_output=True, text=True, timeout=30,
                                   env=dict(os.environ, LC_ALL="zh_TW.UTF-8", LANGUAGE="")).stdout
        self.assertTrue(help_text.startswith("用法: taviro [選項] [檔案...]\n"), help_text)

    def tab_to(self, screen, window, control, key="Tab", limit=40):
        """Presses the key until the focus is on the control."""
        for _ in range(limit):
            before = screen.focused()
            if before == control:
                return
            harness.key(window, key)
            harness.wait_for(lambda: screen.focused() not in (None, before), 10, f"the focus moving on from {before}")
        self.fail(f"{key} never reached {control}")

    def test_keyboard_only_run(self):
        service = harness.DemoService(ARGS.service, ARGS.data)
        self.addCleanup(service.stop)
        service.wait_ready()
        folder = tempfile.mkdtemp(prefix="taviro-keys-")
        self.addCleanup(shutil.rmtree, folder, True)
        clip = long_clip(folder)
        program, window, screen = self.start(clip)
        harness.wait_for(lambda: logged(program, "play"), 60, "the clip playing")
        screen.control("push button", "暂停")

        # Tab from the title bar to play/pause, ringed; space pauses.
        self.tab_to(screen, window, ("push button", "暂停"))
        x, y, _, _ = screen.in_window(screen.control_box("push button", "暂停"))
        shot = os.path.join(ARGS.out, "keyboard-focus-ring.png")
        harness.screenshot(window, shot)
        self.assertEqual((harness.pixel(shot, x, y), harness.pixel(shot, x + 1, y + 1)), (RING_OUTER, RING_INNER))
        harness.key(window, "space")
        harness.wait_for(lambda: logged(program, "pause"), 10, "the clip paused")
        screen.wait_label(lambda text: text == "已暂停", "the player paused")
        screen.control("push button", "播放")
        self.assertEqual(screen.focused(), ("push button", "播放"))

        # On to the volume slider: left turns it down a step.
        self.tab_to(screen, window, ("slider", "音量"))
        volume = round(screen.control("slider", "音量").queryValue().currentValue)
        harness.key(window, "Left")
        harness.wait_for(lambda: logged(program, "volume"), 10, "the volume set")
        self.assertEqual(int(logged(program, "volume")[-1]), max(volume - 10, 0))
        harness.wait_for(lambda: round(screen.control("slider", "音量").queryValue().currentValue) == volume - 10,
                         10, "the slider's value following")

        # Both sliders set as switch access and screen readers set them.
        screen.control("slider", "音量").queryValue().currentValue = 35
        harness.wait_for(lambda: logged(program, "volume")[-1] == "35", 10, "the volume set to 35")
        screen.control("slider", "播放进度").queryValue().currentValue = 40
        harness.wait_for(lambda: "40" in logged(program, "seek"), 10, "the clip sought to 40 s")
        harness.wait_for(lambda: round(screen.control("slider", "播放进度").queryValue().currentValue) >= 40,
                         10, "the seek slider's value following")

        # Back to play/pause to go on, then full screen with Enter.
        self.tab_to(screen, window, ("push button", "播放"), key="shift+Tab")
        harness.key(window, "space")
        harness.wait_for(lambda: len(logged(program, "play")) >= 2, 10, "the clip playing again")
        # Full screen is for a clip that plays, as the player reports it.
        screen.wait_label(lambda text: text.startswith(PLAYING), "the player playing again")
        self.tab_to(screen, window, ("push button", "全屏"))
        harness.key(window, "Return")
        full = harness.wait_for(lambda: [w for w in visible_windows() if w != window], 15, "the full-screen window")
        _, _, width, height = harness.window_geometry(full[0])
        self.assertEqual((width, height), (1280, 800))
        harness.key(full[0], "Escape")
        harness.wait_for(lambda: visible_windows() == [window], 15, "full screen left")

        # A click lets go of the focused control: space is the player's again.
        screen.click_box(screen.control_box("slider", "音量"))
        harness.wait_for(lambda: screen.focused() is None, 10, "the focus let go")
        def presses():  # the clip may have ended meanwhile: space plays it then
            return len(logged(program, "pause")) + len(logged(program, "play"))
        before = presses()
        harness.key(window, "space")
        harness.wait_for(lambda: presses() > before, 10, "space pausing or playing")
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--media")
    unittest.main(argv=argv, verbosity=2)
