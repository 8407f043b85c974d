"""The service over a folder of the user's own clips with the names people
give them (Chinese, S01E02, anime style, GBK bytes, a season folder, a film,
a broken file, a name full of the reply formats' separators, a link loop), and the real
program playing a series from it episode after episode: played where the
files lie, the next episode resolved from the service, the network-task
list keeping the series and its position."""

import os
import re
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import urllib.request

import harness
from accessible_screen import Screen
from download_test import DownloadFixture
from harness import fetch, media_of, player_requests

ARGS = None
CLIP_SECONDS = 10
SERIES_TITLE = "山河故人"
STOP_BUTTON = ("push button", "停止")
NETWORK_TASK_TAB = ("page tab", "网络任务")
TIMES = re.compile(r"^(\d\d):(\d\d) / (\d\d):(\d\d)$")

# Relative paths (bytes: one folder is named in GBK) and which clip each is.
LIBRARY = {
    "山河故人/山河故人.S01E01.1080p.mkv": "mkv",
    "山河故人/山河故人.S01E02.1080p.mkv": "mkv",
    "山河故人/山河故人.S01E03.1080p.mkv": "mkv",
    "轻音少女/[Sub] 轻音少女 - 01 [1080p].mp4": "mp4",
    "轻音少女/[Sub] 轻音少女 - 02 [1080p].mp4": "mp4",
    "老友记/Season 1/Friends.S01E01.mp4": "mp4",
    "老友记/Season 1/Friends.S01E02.mp4": "mp4",
    "一部电影 (2020).mp4": "mp4",
    "坏文件.mp4": "empty",
    '怪名 $#|"\\%\n片.mp4': "mp4",
}
GBK_FOLDER = "演示剧".encode("gbk")
GBK_FILES = ["第01集.mp4".encode("gbk"), "第02集.mp4".encode("gbk")]


def make_clip(path, container):
    subprocess.run(
        ["ffmpeg", "-loglevel", "error", "-y",
         "-f", "lavfi", "-i", f"testsrc=size=320x180:rate=15:duration={CLIP_SECONDS}",
         "-f", "lavfi", "-i", f"sine=frequency=440:sample_rate=44100:duration={CLIP_SECONDS}",
         "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest",
         "-f", container, path], check=True)


def make_library(root, clips):
    """The library folder, its files hard links of the two clips."""
    for relative, kind in LIBRARY.items():
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if kind == "empty":
            open(path, "wb").close()
        else:
            os.link(clips[kind], path)
    gbk = os.path.join(os.fsencode(root), GBK_FOLDER)
    os.makedirs(gbk)
    for name in GBK_FILES:
        os.link(clips["mp4"], os.path.join(gbk, name))
    # A link back up: the walk must end.
    os.symlink("..", os.path.join(root, "山河故人", "上一层"))
    # The series the test plays is the newest, so its card comes first.
    later = time.time() + 60
    for relative in LIBRARY:
        if relative.startswith(SERIES_TITLE):
            os.utime(os.path.join(root, relative), (later, later))


def series_id(page, title):
    found = re.search(r'href="vod/(\d+)\.htm">' + re.escape(title) + "<", page)
    return found and int(found.group(1))


def home_page():
    return fetch("").decode("gb18030")


class LibraryPlayTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="taviro-library-")
        clips = {"mp4": os.path.join(cls.work, "clip.mp4"), "mkv": os.path.join(cls.work, "clip.mkv")}
        make_clip(clips["mp4"], "mp4")
        make_clip(clips["mkv"], "matroska")
        cls.clip_sizes = {os.path.getsize(path) for path in clips.values()}
        cls.library = os.path.join(cls.work, "我的影片")
        make_library(cls.library, clips)
        cls.home = os.path.join(cls.work, "home")
        cls.service = None

    @classmethod
    def tearDownClass(cls):
        if cls.service:
            cls.service.stop()
        subprocess.run(["rm", "-rf", cls.work], check=False)

    def serve(self):
        if self.service:
            self.service.stop()
        type(self).service = harness.DemoService(ARGS.service, ARGS.data, library=[self.library], home=self.home)
        self.service.wait_ready()

    def wait_listed(self, title, seconds=60):
        return harness.wait_for(lambda: series_id(home_page(), title), seconds, f"{title} on the home page")

    def test_1_the_library_as_the_service_shows_it(self):
        self.serve()
        # Titles come before the probes: the home page answers at once.
        started = time.monotonic()
        home_page()
        self.assertLess(time.monotonic() - started, 2)
        for title in (SERIES_TITLE, "演示剧"):
            self.wait_listed(title)
        page = home_page()
        self.assertIn(self.library, page)  # the folder watched, named
        for shown in ("怪名", "坏文件", "一部电影", "轻音少女"):
            self.assertIn(shown, page)
        # Every title's first episode resolves to a file the service serves
        # by its id, whatever its name holds.
        for ident in sorted(set(re.findall(r'href="vod/(\d{7,})\.htm"', page))):
            reply = fetch(f"h.asp?id={ident}&v=0&v1=0").decode("gb18030").split("$")
            self.assertEqual(len(reply), 3, reply)
            self.assertRegex(reply[1], "^" + re.escape(self.service.base) + r"qvod/library/\d+\.(mp4|mkv)$")
        ident = series_id(page, SERIES_TITLE)
        episode = fetch(f"h.asp?id={ident}&v=0&v1=1").decode("gb18030")
        name, media, kind = episode.split("$")
        self.assertEqual(kind, "qvod")
        self.assertRegex(media, "^" + re.escape(self.service.base) + r"qvod/library/\d+\.mkv$")
        # The file itself, with byte ranges.
        request = urllib.request.Request(media, headers={"Range": "bytes=0-3"})
        with urllib.request.urlopen(request, timeout=10) as reply:
            self.assertEqual(reply.status, 206)
            self.assertEqual(reply.read(), b"\x1a\x45\xdf\xa3")
        # A frame of the first episode as its poster, once probed.
        poster = harness.wait_for(lambda: self.fetch_or_none(f"library/poster/{ident}.jpg"), 60, "the poster")
        self.assertEqual(poster[:2], b"\xff\xd8")

        # A file copied in reaches the catalogue by itself.
        extra = os.path.join(self.library, "山河故人", "山河故人.S01E04.1080p.mkv")
        os.link(os.path.join(self.library, "山河故人", "山河故人.S01E01.1080p.mkv"), extra)
        harness.wait_for(lambda: fetch(f"h.asp?id={ident}&v=0&v1=3") != b"0", 10, "the new episode")

        # A folder added from the page is kept in the settings file.
        more = os.path.join(self.work, "更多")
        os.makedirs(more)
        os.link(os.path.join(self.work, "clip.mp4"), os.path.join(more, "另一部电影.mp4"))
        form = urllib.parse.urlencode({"action": "add", "folder": more}).encode()
        urllib.request.urlopen(self.service.base + "library/folders", data=form, timeout=10).read()
        self.wait_listed("另一部电影")
        with open(os.path.join(self.home, ".config", "taviro", "service.ini"), encoding="utf-8") as f:
            self.assertIn(more, f.read())

        # After a restart the index answers at once, the same ids kept.
        self.serve()
        self.assertEqual(series_id(home_page(), SERIES_TITLE), ident)
        self.assertIn("另一部电影", home_page())
        self.service.process.send_signal(subprocess.signal.SIGTERM)
        self.assertEqual(self.service.process.wait(10), 0)

    def fetch_or_none(self, path):
        try:
            return fetch(path)
        except OSError:
            return None

    def test_2_a_series_plays_from_where_it_lies_episode_after_episode(self):
        self.serve()
        ident = self.wait_listed(SERIES_TITLE)
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        self.addCleanup(DownloadFixture.stop_helpers, program)
        # The real download helper beside the program: it must not be asked.
        os.makedirs(os.path.join(program.app_dir, "Qvod"))
        subprocess.run(["cp", ARGS.helper, os.path.join(program.app_dir, "Qvod", "QvodTerminal.exe")], check=True)
        program.start(accessible=True)
        window = program.window_id()
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)

        href = f"mivuvod://{ident}-0-0-"
        link = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith(href), "the first episode")
        harness.screenshot(window, os.path.join(ARGS.out, "library-catalogue.png"))
        screen.click_box(link[0][2])
        first, following = media_of(ident, 0, 0), media_of(ident, 0, 1)
        harness.wait_for(lambda: player_requests(program, "play")[:1] == [first], 30, "the first episode")
        plays = harness.wait_for(lambda: len(player_requests(program, "play")) >= 2 and player_requests(program, "play"),
                                 CLIP_SECONDS + 40, "the next episode")
        self.assertEqual(plays[1], following)
        self.assertIn(f"/h.asp?id={ident}&v=0&v1=1", fetch("__stats").decode())

        # Stopped a little way in, the task keeps the series and the position.
        def position():
            texts = [TIMES.match(text) for text in screen.label_texts()]
            return next((int(m.group(1)) * 60 + int(m.group(2)) for m in texts if m), 0)
        harness.wait_for(lambda: position() >= 2, 30, "the second episode under way")
        screen.click_control(*STOP_BUTTON)

        def stored():
            fields = program.read("date.dat").decode("gb18030").split("\r\n")[0].split("|")
            return len(fields) == 7 and fields[6] != "0" and fields
        fields = harness.wait_for(stored, 10, "the position in the network-task list")
        self.assertEqual(fields[0], str(ident))
        self.assertEqual(urllib.parse.unquote(fields[1].replace("%u", "\\u").encode().decode("unicode_escape")),
                         SERIES_TITLE)
        self.assertEqual(fields[4:6], ["0", "1"])
        screen.click_control(*NETWORK_TASK_TAB)
        screen.wait_links(lambda entry: SERIES_TITLE in entry[0], "the series in the network-task list")

        # Nothing of the library was copied anywhere under the program's home.
        copies = [os.path.join(folder, name) for folder, _, names in os.walk(program.app_dir) for name in names
                  if os.path.getsize(os.path.join(folder, name)) in self.clip_sizes
                  or name.endswith((".mkv", ".part"))]
        self.assertEqual(copies, [])
        harness.screenshot(window, os.path.join(ARGS.out, "library-played.png"))
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--helper")
    unittest.main(argv=argv, verbosity=2)
