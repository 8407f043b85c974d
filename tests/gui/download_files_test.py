"""The helper's files as the user manages them, with the real program and the
real helper against a throttled demo service: a save folder changed in the
settings dialog is where the restarted helper puts the next download, and
"删除下载" removes exactly a task's files, whatever its title holds."""

import os
import signal
import unittest

import download_test
import harness
from accessible_screen import Screen
from download_test import FIRST, SERIES, helper_pids
from menus_settings_test import box_of, find, windows_named

ARGS = None
PROMPT_TITLE = "提示："
PLAYER_TAB = ("page tab", "正在播放")
NETWORK_TASK_TAB = ("page tab", "网络任务")


def script_escape(text):
    """The page script's escape(), as the list file keeps its fields."""
    out = []
    for c in text:
        if c.isascii() and (c.isalnum() or c in "@*_+-./"):
            out.append(c)
        elif ord(c) < 256:
            out.append(f"%{ord(c):02X}")
        else:
            out.append(f"%u{ord(c):04X}")
    return "".join(out)


def labels(root):
    """The texts of every label under `root`."""
    found, stack = [], [root]
    while stack:
        node = stack.pop()
        try:
            if node.getRoleName() == "label" and node.name:
                found.append(node.name)
            stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))
        except Exception:
            continue
    return found


class DownloadFilesTest(download_test.DownloadFixture):
    def answer_prompt(self, screen, text_start):
        """The message box's text once it shows; Return presses its default
        button (确定, or 是 for a question)."""
        try:
            text = harness.wait_for(lambda: next((t for t in labels(screen.app) if t.startswith(text_start)), None),
                                    60, repr(text_start))
        except harness.Timeout as error:
            raise harness.Timeout(f"{error}; labels: {labels(screen.app)}") from None
        box = harness.wait_for(lambda: windows_named(PROMPT_TITLE), 30, "the message box")[0]
        harness.key(box, "Return")
        harness.wait_for(lambda: not windows_named(PROMPT_TITLE), 30, "the message box to close")
        return text

    def node(self, screen, role, name):
        return harness.wait_for(lambda: find(screen.app, role, name), 30, f"{role} {name!r}")

    def test_a_save_folder_changed_in_the_settings_is_used_by_the_restarted_helper(self):
        self.serve(400_000)
        program, window = self.start()
        harness.wait_for(lambda: helper_pids(program.app_dir), 60, "the helper started at start-up")
        first_helper = helper_pids(program.app_dir)
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)

        moved = os.path.join(program.app_dir, "新的 下载") + "/"
        _, _, width, _ = harness.window_geometry(window)
        harness.click(window, width - 96, 16)  # the title bar's menu button
        Screen.click_box(box_of(self.node(screen, "menu item", "软件设置")))
        self.node(screen, "push button", "缓存设置").queryAction().doAction(0)
        field = self.node(screen, "text", "缓存路径")
        field.queryEditableText().setTextContents(moved)
        harness.wait_for(lambda: field.queryText().getText(0, -1) == moved, 30, "the folder typed")
        # The real pointer: an action call would wait on the message box that
        # the press opens, and the program answers nothing meanwhile.
        Screen.click_box(box_of(self.node(screen, "push button", "确定")))
        self.assertEqual(self.answer_prompt(screen, "缓存路径"), "缓存路径修改成功！")
        harness.wait_for(lambda: not windows_named("软件设置"), 30, "the settings dialog to close")
        config = program.read("Qvod/QvodCfg.ini").decode("gb18030")
        self.assertIn(f"defaultsavepath={moved}\r\n", config)

        # The old helper went; the one started in its place reads the folder.
        harness.wait_for(lambda: helper_pids(program.app_dir) and
                         not set(first_helper) & set(helper_pids(program.app_dir)), 60, "a new helper")
        program.wait_log(f"QvodTerminal: saving to {moved}", 60)

        _, address = self.play_episode(program, window, FIRST)
        name = os.path.basename(self.saved(program, address))
        harness.wait_for(lambda: os.path.exists(os.path.join(moved, name)), 120, "the download in the new folder")
        with open(os.path.join(moved, name), "rb") as f:
            self.assertEqual(f.read(), self.source_bytes(address))
        old = os.path.join(program.app_dir, "Media")
        self.assertFalse(os.path.exists(old) and os.listdir(old), "files in the old folder")

    def test_delete_download_removes_exactly_the_tasks_files_even_with_dots_in_the_title(self):
        self.serve(400_000)
        address = harness.media_of(SERIES, 0, FIRST)
        # A task whose title climbs out of the save folder, written before the
        # program starts so that its list page shows it.
        program = harness.Program(ARGS.program, ARGS.icon)
        title = "../Media2/山海情缘/"
        record = f"{SERIES}|{script_escape(title)}|{script_escape('第4集')}|{script_escape(address)}|0|{FIRST}|0\r\n"
        program.write("date.dat", record.encode("gb18030"))
        program, window = self.start(program)
        screen = Screen(program, window)
        program.wait_log("Web1 loaded", 60)

        screen.click_control(*PLAYER_TAB)
        screen.click_control(*NETWORK_TASK_TAB)
        row = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith("open://"), "the task's row")
        screen.click_box(row[0][2])
        harness.wait_for(lambda: address in harness.player_requests(program, "play"), 30, "play " + address)
        path = self.saved(program, address)
        harness.wait_for(lambda: os.path.exists(path), 120, "the download to finish")

        save = os.path.dirname(path)
        name = os.path.basename(path)
        # A stale partial copy of the same task, and files that only look like it.
        task_files = [name, name + ".part", name + ".part.ranges"]
        others = [name + ".bak", "x" + name, name[:-1], "other.mp4", name + ".part.ranges.old"]
        for extra in task_files[1:] + others:
            with open(os.path.join(save, extra), "wb") as f:
                f.write(b"x")
        beside = os.path.join(program.app_dir, "Media2", "山海情缘")
        os.makedirs(beside)
        for extra in task_files:
            with open(os.path.join(beside, extra), "wb") as f:
                f.write(b"x")

        # Playing brought the episode list to the side panel.
        screen.click_control(*NETWORK_TASK_TAB)
        before = os.listdir(save)
        row = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith("open://"), "the task's row")
        screen.click_box(row[0][2], button=3)
        Screen.click_box(box_of(self.node(screen, "menu item", "删除下载")))
        question = self.answer_prompt(screen, "确定要删除 [")
        listed = question.split("\n")[2:]
        self.assertEqual(sorted(line.strip() for line in listed if line.strip()), sorted(task_files), question)

        harness.wait_for(lambda: not any(os.path.exists(os.path.join(save, f)) for f in task_files), 30,
                         "the task's files to go")
        # Only those. The next episode's pre-buffer goes on meanwhile, its
        # partial file turning into the whole one.
        following = os.path.basename(self.saved(program, harness.media_of(SERIES, 0, FIRST + 1)))
        kept = [f for f in before if f not in task_files and not f.startswith(following)]
        self.assertEqual(sorted(f for f in kept if not os.path.exists(os.path.join(save, f))), [])
        self.assertEqual(sorted(kept), sorted(others))
        self.assertEqual(sorted(os.listdir(beside)), sorted(task_files))
        harness.wait_for(lambda: program.read("date.dat").strip() == b"", 30, "the task to leave the list")


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments("--media", "--helper")
    download_test.ARGS = ARGS
    unittest.main(argv=rest, verbosity=2)
