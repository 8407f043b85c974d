"""The real program under Xvfb against the demo service, driven by real
pointer clicks on links found through the accessibility tree: playing from
the catalogue, the episode list, the network-task and local-file lists, and
the catalogue's error cover."""

import json
import os
import re
import sys
import tempfile
import unittest
import urllib.parse

import harness
from accessible_screen import Screen
from harness import fetch, media_of, player_requests

ARGS = None
SERIES = 101
SERIES_TITLE = "山海情缘"

# The main tab, the side tabs and the catalogue's retry picture, by their
# roles and names.
PLAYER_TAB = ("page tab", "正在播放")
EPISODE_LIST_TAB = ("page tab", "剧集列表")
NETWORK_TASK_TAB = ("page tab", "网络任务")
LOCAL_FILE_TAB = ("page tab", "本地文件")
RETRY = ("push button", "重新载入")


def catalogue_links():
    """(href, text) of every episode link of the catalogue page, as served."""
    page = fetch("").decode("gb18030")
    return re.findall(r'href="(mivuvod://[^"]+)"[^>]*>([^<]*)<', page)


def play_lines(program):
    return player_requests(program, "play")


def list_lines(program, name):
    return program.read(name).decode("gb18030").split("\r\n")


class CataloguePlayTest(harness.SharedDemoServiceTest):
    def setUp(self):
        fetch("__fault/reset")

    def start(self, *args):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start(*args, accessible=True)
        window = program.window_id()
        return program, window

    def shot(self, window, name):
        harness.screenshot(window, os.path.join(ARGS.out, name))

    def wait_plays(self, program, count, seconds=30, window=None):
        try:
            harness.wait_for(lambda: len(play_lines(program)) >= count, seconds, f"{count} plays")
        except harness.Timeout:
            print("\n".join(line for line in program.log().splitlines() if "player" in line or "mpv" in line),
                  file=sys.stderr)
            if window is not None:
                self.shot(window, "failed-wait.png")
            raise
        return play_lines(program)

    def test_catalogue_and_network_tasks(self):
        program, window = self.start()
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)

        # The second episode of the first source of the first series (episodes
        # count from 0 in the link).
        href = next(href for href, _ in catalogue_links()
                    if re.fullmatch(rf"mivuvod://{SERIES}-\d+-1-.+", href))
        _, source, episode, title = href.split("//")[1].split("-", 3)
        self.assertRegex(title, r"^(%u[0-9A-F]{4})+$")
        media = media_of(SERIES, source, episode)

        candidates = screen.wait_links(lambda entry: screen.uri(entry[1]) == href, "the episode link")
        screen.click_box(candidates[0][2])
        plays = self.wait_plays(program, 1)
        self.assertEqual(plays[0], media)
        recent = json.loads(fetch("__stats"))["recent"]
        self.assertIn(f"/h.asp?id={SERIES}&v={source}&v1={episode}", recent)

        lines = harness.wait_for(lambda: list_lines(program, "date.dat")[0] and
                                 list_lines(program, "date.dat"), 10, "the network-task record")
        fields = lines[0].split("|")
        self.assertEqual(len(fields), 7, lines[0])
        self.assertEqual(fields[0], str(SERIES))
        self.assertEqual(fields[1], title)
        self.assertEqual(urllib.parse.unquote(fields[3]), media)
        self.assertEqual(fields[4:], [source, episode, "0"])
        harness.wait_for(lambda: SERIES_TITLE in program.read("c.htm").decode("gb18030"), 10,
                         "the re-rendered network-task page")
        self.assertTrue(program.read("date.dat").endswith(b"\r\n"))
        self.shot(window, "catalogue-played.png")

        screen.click_control(*PLAYER_TAB)
        # The network-task list: the task plays again.
        screen.click_control(*NETWORK_TASK_TAB)
        rows = screen.wait_links(lambda entry: SERIES_TITLE in entry[0] and entry[0] != SERIES_TITLE,
                                 "the task's row in the network-task list")
        screen.click_box(rows[0][2])
        plays = self.wait_plays(program, 2)
        self.assertEqual(plays[1], media)
        self.shot(window, "network-task-played.png")
        harness.wait_for(lambda: list_lines(program, "date.dat")[0].split("|")[5:6] == [episode], 10,
                         "the replayed task's record first")
        self.assertEqual(program.quit(), 0)

    def test_episode_list(self):
        program, window = self.start()
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)
        href = next(href for href, _ in catalogue_links()
                    if re.fullmatch(rf"mivuvod://{SERIES}-\d+-1-.+", href))
        _, source, _, _ = href.split("//")[1].split("-", 3)
        first = screen.wait_links(lambda entry: screen.uri(entry[1]) == href, "the episode link")
        screen.click_box(first[0][2])
        self.wait_plays(program, 1)
        screen.click_control(*PLAYER_TAB)
        screen.click_control(*EPISODE_LIST_TAB)
        third = screen.wait_links(lambda entry: "03" in entry[0], "episode 03 in the episode list")
        screen.click_box(third[0][2])
        plays = self.wait_plays(program, 2)
        self.assertEqual(plays[1], media_of(SERIES, source, 2))
        self.shot(window, "episode-list-played.png")
        self.assertEqual(program.quit(), 0)

    def test_local_file_list(self):
        folder = tempfile.mkdtemp(prefix="taviro-clip-")
        clip = os.path.join(folder, "clip one.mp4")
        with open(clip, "wb"):
            pass
        self.addCleanup(lambda: (os.remove(clip), os.rmdir(folder)))
        program, window = self.start(clip)
        self.wait_plays(program, 1, 60)
        harness.wait_for(lambda: list_lines(program, "date_f.dat")[0], 10, "the local-file record")
        self.assertIn(clip, list_lines(program, "date_f.dat")[0])
        screen = Screen(program, window)

        screen.click_control(*PLAYER_TAB)
        screen.click_control(*LOCAL_FILE_TAB)
        rows = screen.wait_links(lambda entry: "clip one" in entry[0], "the clip's row")
        screen.click_box(rows[0][2])
        plays = self.wait_plays(program, 2, window=window)
        self.assertIn(clip, plays[1])
        self.shot(window, "local-file-played.png")
        self.assertEqual(program.quit(), 0)

    def test_catalogue_error_cover_and_retry(self):
        fetch("__fault?path=/&mode=http500")
        program, window = self.start()
        program.wait_log("Web1 failed", 60)
        self.assertNotIn("Web1 loaded", program.log())
        self.shot(window, "catalogue-error.png")

        fetch("__fault/reset")
        # The cover must be on screen before the click.
        Screen(program, window).click_control(*RETRY)
        program.wait_log("Web1 loaded", 60)
        self.shot(window, "catalogue-retried.png")
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
