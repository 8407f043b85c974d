"""The real program under Xvfb: the main menu and the player menu opened with
real clicks, their items chosen, and the settings dialog driven through its
accessible controls."""

import os
import subprocess
import sys
import time
import unittest

import harness
import pyatspi
from accessible_screen import Screen

ARGS = None

DIALOG_TITLE = "软件设置"
NO_UPDATE = "你现在使用的是最新版本，无需升级!"
SELECTED_TAB = (0xFA, 0xAF, 0x41)
BROWSE_TITLE = "请选择影片下载存放的文件夹"


MENU_ROLES = ("menu item", "menu", "check menu item")


def find(root, role, name):
    """The first node of that role (any menu role for "menu item") and name
    under `root` that is showing."""
    roles = MENU_ROLES if role == "menu item" else (role,)
    names = name if isinstance(name, tuple) else (name,)
    stack = [root]
    while stack:
        node = stack.pop()
        try:
            if (node.getRoleName() in roles and node.name in names
                    and node.getState().contains(pyatspi.STATE_SHOWING)):
                return node
            stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))
        except Exception:
            continue
    return None


def box_of(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return extents.x, extents.y, extents.width, extents.height


def windows_named(title):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                            capture_output=True, text=True)
    return result.stdout.split()


class MenusAndSettingsTest(harness.SharedDemoServiceTest):
    def start(self, *args):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        self.program = program
        return program

    def launch(self, *args):
        self.program.start(*args, accessible=True)
        self.window = self.program.window_id()
        self.program.wait_log("Web1 loaded", 60)
        self.screen = Screen(self.program, self.window)

    def wait_node(self, role, name, seconds=30):
        return harness.wait_for(lambda: find(self.screen.app, role, name), seconds, f"{role} {name!r}")

    def choose(self, *path):
        """Clicks the menu items of `path` with the real pointer, each once it shows."""
        for name in path:
            Screen.click_box(box_of(self.wait_node("menu item", name)))

    def choose_next(self, *path):
        """Opens the player menu again and chooses `path`."""
        harness.click(self.window, 300, 300, button=3)
        self.choose(*path)

    def marked(self, name):
        return self.wait_node("check menu item", name).getState().contains(pyatspi.STATE_CHECKED)

    def open_main_menu(self):
        _, _, width, _ = harness.window_geometry(self.window)
        harness.click(self.window, width - 96, 16)  # the title bar's menu button
        self.wait_node("menu item", "软件设置")

    def press(self, name, role="push button"):
        self.wait_node(role, name).queryAction().doAction(0)

    def dialog_window(self):
        return harness.wait_for(lambda: windows_named(DIALOG_TITLE), 30, "the settings dialog")[0]

    def wait_dialog_closed(self):
        harness.wait_for(lambda: not windows_named(DIALOG_TITLE), 30, "the settings dialog to close")

    def checked(self, name):
        return self.wait_node("check box", name).getState().contains(pyatspi.STATE_CHECKED)

    def shoot_pages(self, skin):
        """A picture of each page, once the page's tab is painted as selected."""
        dialog = self.dialog_window()
        for tab, page, top in (("软件设置", "options", 0), ("缓存设置", "cache", 31), ("关于软件", "about", 61)):
            self.press(tab)
            shot = os.path.join(ARGS.out, f"settings-{page}-skin{skin}.png")

            def painted():
                harness.screenshot(dialog, shot)
                # Inside the tab's top left, clear of its text: the body
                # starts at (2, 30).
                return harness.pixel(shot, 2 + 12, 30 + top + 6) == SELECTED_TAB
            harness.wait_for(painted, 30, f"the {page} tab painted as selected")

    def test_main_menu_settings_dialog_and_skins(self):
        program = self.start()
        # A helper installation that keeps its downloads in a folder of its own.
        os.makedirs(os.path.join(program.app_dir, "Qvod"))
        program.write("Qvod/QvodCfg.ini", b"[NBQVODTERMINAL]\r\ndefaultsavepath=/home/taviro/Media/\r\n")
        program.write("config.dll", f"[Skin]\r\nNum=1\r\n[S_q]\r\nqvodw={program.app_dir}/Qvod/\r\n".encode())
        self.launch()

        self.open_main_menu()
        self.choose("升级检测")
        self.wait_node("label", NO_UPDATE)
        self.press(("OK", "确定"))  # the message box's button, in the test's locale
        harness.wait_for(lambda: find(self.screen.app, "label", NO_UPDATE) is None, 30, "the message to close")

        self.open_main_menu()
        began = time.monotonic()
        self.choose("软件设置")
        self.dialog_window()
        print(f"menu item to settings dialog shown: {time.monotonic() - began:.2f} s", file=sys.stderr)
        self.assertTrue(self.checked("自动播放下一集"))  # a fresh file: every box checked
        self.press("自动播放下一集", "check box")
        harness.wait_for(lambda: not self.checked("自动播放下一集"), 30, "the box to clear")
        self.press("确定")
        self.wait_dialog_closed()
        config = program.read("config.dll")
        self.assertIn(b"s_bo=1\r\n", config)
        self.assertIn(b"s_h=2\r\n", config)
        # The folder was not changed: the helper's file is as it was.
        self.assertIn(b"defaultsavepath=/home/taviro/Media/", program.read("Qvod/QvodCfg.ini"))

        # "关于我们" opens on the about page; the next opening reads the file again.
        self.open_main_menu()
        self.choose("关于我们")
        self.wait_node("label", "Taviro是以P2P技术为核心的播放软件。")
        self.assertIsNone(find(self.screen.app, "check box", "自动播放下一集"))
        self.shoot_pages(1)
        self.press("软件设置")
        self.assertFalse(self.checked("自动播放下一集"))
        harness.key(self.dialog_window(), "Escape")
        self.wait_dialog_closed()

        self.open_main_menu()
        self.choose("更换皮肤", "黑色冷酷")
        harness.wait_for(lambda: b"[Skin]\r\nNum=0\r\n" in program.read("config.dll"), 30, "skin 0 stored")
        self.open_main_menu()
        self.choose("软件设置")
        self.shoot_pages(0)

        # Browse opens the folder chooser; cancelling it keeps the folder.
        self.press("缓存设置")
        self.press("浏览..")
        chooser = harness.wait_for(lambda: windows_named(BROWSE_TITLE), 30, "the folder chooser")[0]
        harness.key(chooser, "Escape")
        harness.wait_for(lambda: not windows_named(BROWSE_TITLE), 30, "the folder chooser to close")
        field = self.wait_node("text", "缓存路径").queryText()
        self.assertEqual(field.getText(0, -1), "/home/taviro/Media/")
        self.press("取消")
        self.wait_dialog_closed()
        self.assertIn(b"s_bo=1\r\n", program.read("config.dll"))

        self.open_main_menu()
        self.choose("退出软件")
        self.assertEqual(program.process.wait(30), 0)

    def test_player_menu_from_a_right_click_in_the_player(self):
        program = self.start()
        clip = os.path.join(program.app_dir, "clip.mp4")
        with open(clip, "wb") as f:
            f.write(b"not really a film")
        self.launch(clip)
        harness.wait_for(lambda: harness.player_requests(program, "url"), 30, "the file handed to the player")

        def right_click_player():
            harness.click(self.window, 300, 300, button=3)
            return self.wait_node("menu item", "播放/暂停(空格)")

        right_click_player()
        self.choose("视频框架", "4:3")
        harness.wait_for(lambda: harness.player_requests(program, "fit") == ["2"], 30, "fit 4:3")
        right_click_player()
        self.choose("视频框架")
        self.assertTrue(self.marked("4:3"))
        self.assertFalse(self.marked("缩放以适合窗口"))
        self.choose("4:3")  # the closed menu's marks stay where they were
        self.choose_next("声道调节", "右声道")
        harness.wait_for(lambda: harness.player_requests(program, "channel") == ["2"], 30, "the right channel")
        right_click_player()
        self.choose("声道调节")
        self.assertTrue(self.marked("右声道"))
        self.assertFalse(self.marked("混合声道"))
        self.choose("右声道")
        self.choose_next("播放完后", "无操作")
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
