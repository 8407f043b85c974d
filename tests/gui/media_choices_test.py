"""The real program under Xvfb playing a clip made here by ffmpeg: two
audio tracks with languages, a subtitle track inside and a GBK subtitle
file beside it. The player's own properties (track list, subtitle text,
speed, the screenshot it wrote) are read from the program's debug log."""

import os
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

import harness
from desktop_test import PLAYER, gdbus, player_property
from harness import player_requests as logged
from menus_settings_test import box_of, find
from notifications import NotificationServer
from accessible_screen import Screen

ARGS = None
SIDECAR_TEXT = "中文字幕测试"
INSIDE_TEXT = "嵌入字幕测试"
SIZE = (320, 240)


def srt(text):
    return f"1\r\n00:00:00,000 --> 00:01:00,000\r\n{text}\r\n"


def make_film(folder):
    """film.mkv (audio "English" eng, "日本語" jpn; subtitle "嵌入" chi) and
    film.srt beside it in GBK, without a byte-order mark."""
    inside = os.path.join(folder, "inside.srt")
    with open(inside, "w", encoding="utf-8") as f:
        f.write(srt(INSIDE_TEXT))
    film = os.path.join(folder, "film.mkv")
    subprocess.run([
        "ffmpeg", "-loglevel", "error", "-y",
        "-f", "lavfi", "-i", f"testsrc=size={SIZE[0]}x{SIZE[1]}:rate=25:duration=30",
        "-f", "lavfi", "-i", "sine=frequency=440:duration=30",
        "-f", "lavfi", "-i", "sine=frequency=880:duration=30",
        "-i", inside, "-map", "0", "-map", "1", "-map", "2", "-map", "3",
        "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "48k",
        "-c:s", "srt",
        "-metadata:s:a:0", "language=eng", "-metadata:s:a:0", "title=English",
        "-metadata:s:a:1", "language=jpn", "-metadata:s:a:1", "title=日本語",
        "-metadata:s:s:0", "language=chi", "-metadata:s:s:0", "title=嵌入",
        film], check=True, timeout=120)
    with open(os.path.join(folder, "film.srt"), "wb") as f:
        f.write(srt(SIDECAR_TEXT).encode("gbk"))
    return film


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head.startswith(b"\x89PNG\r\n\x1a\n"), head
    return struct.unpack(">II", head[16:24])


class MediaChoicesTest(harness.SharedDemoServiceTest):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="taviro-film-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.film = make_film(self.folder)
        self.sidecar = os.path.join(self.folder, "film.srt")
        os.environ.pop("XDG_CONFIG_HOME", None)
        self.notifications = NotificationServer()
        self.addCleanup(self.notifications.stop)

    def start(self, app_dir=None):
        program = harness.Program(ARGS.program, ARGS.icon, app_dir)
        self.addCleanup(program.remove)
        home = program.app_dir
        # Sound goes to ALSA's null device; pictures to the folder named here.
        with open(os.path.join(home, ".asoundrc"), "w") as f:
            f.write("pcm.!default { type null }\n")
        os.makedirs(os.path.join(home, ".config"), exist_ok=True)
        with open(os.path.join(home, ".config", "user-dirs.dirs"), "w") as f:
            f.write('XDG_PICTURES_DIR="$HOME/pictures"\n')
        program.start(self.film, accessible=True)
        self.program = program
        self.window = program.window_id()
        return program

    def wait_logged(self, what, predicate, seconds=30):
        """The first "player <what>" line whose detail the predicate accepts."""
        def line():
            return next((detail for detail in logged(self.program, what) if predicate(detail)), None)
        try:
            return harness.wait_for(line, seconds, f"player {what}")
        except harness.Timeout:
            raise harness.Timeout(f"player {what}: {logged(self.program, what)}") from None

    def wait_node(self, role, name):
        return harness.wait_for(lambda: find(self.screen.app, role, name), 30, f"{role} {name!r}")

    def menu(self, *path):
        """Opens the player menu and clicks the items of `path`."""
        harness.click(self.window, 300, 300, button=3)
        for name in path:
            Screen.click_box(box_of(self.wait_node("menu item", name)))

    def marked(self, name):
        return self.wait_node("check menu item", name).getState().contains(__import__("pyatspi").STATE_CHECKED)

    def close_menu(self):
        harness.key(self.window, "Escape")
        harness.key(self.window, "Escape")

    def test_subtitles_tracks_speed_screenshot_and_the_choice_kept(self):
        program = self.start()
        # The GBK file beside the film is loaded and shows Chinese at once.
        self.wait_logged("track", lambda d: d.startswith(f"sub 2 {self.sidecar}"))
        self.wait_logged("subtitle", lambda d: d == SIDECAR_TEXT)
        self.screen = Screen(program, self.window)

        self.menu("字幕")
        self.assertTrue(self.marked("2. film.srt"))
        self.assertFalse(self.marked("关闭字幕"))
        Screen.click_box(box_of(self.wait_node("menu item", "1. 中文 嵌入")))
        self.wait_logged("track", lambda d: d == "sub 1 嵌入 [chi]")
        self.wait_logged("subtitle", lambda d: d == INSIDE_TEXT)

        self.menu("音轨", "2. 日语 日本語")
        self.wait_logged("track", lambda d: d == "audio 2 日本語 [jpn]")

        self.menu("播放速度", "1.5倍")
        self.wait_logged("speed", lambda d: d == "1.5")
        harness.key(self.window, "bracketright")
        self.wait_logged("speed", lambda d: d == "2")
        # The desktop's media controls see the speed and can set it.
        harness.wait_for(lambda: player_property("Rate") == 2.0, 10, "MPRIS Rate 2")
        self.assertEqual((player_property("MinimumRate"), player_property("MaximumRate")), (0.5, 2.0))
        gdbus("--method", "org.freedesktop.DBus.Properties.Set", PLAYER, "Rate", "<0.7>")
        self.wait_logged("speed", lambda d: d == "0.75")
        harness.key(self.window, "bracketright")
        harness.key(self.window, "bracketright")
        harness.key(self.window, "bracketright")
        harness.key(self.window, "bracketright")
        harness.wait_for(lambda: logged(program, "speed")[-1] == "2", 10, "the speed stepped up to 2")
        self.menu("播放速度")
        self.assertTrue(self.marked("2倍"))
        self.assertFalse(self.marked("1倍(正常)"))
        self.close_menu()

        for name in ("x", "x", "z"):
            harness.key(self.window, name)
        harness.wait_for(lambda: logged(program, "subtitle-delay")[-3:] == ["0.1", "0.2", "0.1"], 10,
                         "the subtitle delay in tenths")

        harness.key(self.window, "s")
        shot = self.wait_logged("screenshot", lambda d: True)
        self.assertEqual(os.path.dirname(shot), os.path.join(program.app_dir, "pictures", "Taviro"))
        self.assertEqual(png_size(shot), SIZE)
        harness.wait_for(lambda: any(body == "截图已保存：" + os.path.basename(shot)
                                     for _, body in self.notifications.texts()), 10, "the balloon")
        self.assertEqual(program.quit(), 0)

        # The choice is kept per file, apart from the lists, and comes back.
        lines = program.read("track_choice.dat").decode("gb18030").split("\r\n")
        self.assertEqual(lines[0], f"{self.film}|#1|2")
        self.assertNotIn("track_choice", program.read("date_f.dat").decode("gb18030"))
        again = self.start(program.app_dir)
        self.wait_logged("track", lambda d: d == "sub 1 嵌入 [chi]")
        self.wait_logged("track", lambda d: d == "audio 2 日本語 [jpn]")
        self.wait_logged("subtitle", lambda d: d == INSIDE_TEXT)
        self.assertEqual(again.quit(), 0)

    def test_hostile_files_beside_the_film_and_where_screenshots_go(self):
        # Beside the film: a sparse 100 GB subtitle and a FIFO that nobody
        # writes to. The GBK file still comes in and the window goes on.
        with open(os.path.join(self.folder, "film.ass"), "wb") as f:
            f.truncate(100 << 30)
        os.mkfifo(os.path.join(self.folder, "film.ssa"))
        elsewhere = tempfile.mkdtemp(prefix="taviro-elsewhere-")
        self.addCleanup(shutil.rmtree, elsewhere, True)
        program = self.start()
        self.wait_logged("track", lambda d: d.startswith(f"sub 2 {self.sidecar}"))
        self.wait_logged("subtitle", lambda d: d == SIDECAR_TEXT)

        # The screenshot folder is a link into someone else's folder: refused.
        pictures = os.path.join(program.app_dir, "pictures")
        os.makedirs(pictures, exist_ok=True)
        os.symlink(elsewhere, os.path.join(pictures, "Taviro"))
        harness.key(self.window, "s")
        harness.wait_for(lambda: any(body == "截图失败" for _, body in self.notifications.texts()), 10,
                         "the failure balloon")
        self.assertEqual(os.listdir(elsewhere), [])
        if os.geteuid() == 0:
            # A real folder, but another account's.
            os.unlink(os.path.join(pictures, "Taviro"))
            os.mkdir(os.path.join(pictures, "Taviro"))
            os.chown(os.path.join(pictures, "Taviro"), 65534, 65534)
            harness.key(self.window, "s")
            harness.wait_for(lambda: sum(body == "截图失败" for _, body in self.notifications.texts()) == 2,
                             10, "the second failure balloon")
            self.assertEqual(os.listdir(os.path.join(pictures, "Taviro")), [])
            os.rmdir(os.path.join(pictures, "Taviro"))
        else:
            os.unlink(os.path.join(pictures, "Taviro"))

        # A real folder, with dangling links planted under the names of the
        # coming minute: each is passed by, none is followed.
        os.mkdir(os.path.join(pictures, "Taviro"))
        now = time.time()
        for second in range(-5, 60):
            stem = time.strftime("Taviro-%Y%m%d-%H%M%S", time.localtime(now + second))
            os.symlink(os.path.join(elsewhere, stem), os.path.join(pictures, "Taviro", stem + ".png"))
        harness.key(self.window, "s")
        shot = self.wait_logged("screenshot", lambda d: True)
        self.assertTrue(shot.endswith("-2.png"), shot)
        self.assertFalse(os.path.islink(shot))
        self.assertEqual(png_size(shot), SIZE)
        self.assertEqual(os.listdir(elsewhere), [])
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
