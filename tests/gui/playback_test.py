"""The real program under Xvfb playing the demo service's clips: what the
status strip and the picture show, the control bar, the keys and the seek
bar, the hand-over to the next episode, the resume position kept in the
network-task list, and files given on the command line."""

import os
import re
import shutil
import sys
import tempfile
import unittest

import harness
from accessible_screen import Screen
from harness import media_of
from harness import player_requests as logged

ARGS = None
SERIES = 101
SERIES_TITLE = "山海情缘"
OTHER_SERIES = 102

# The window's controls by role and name; the pictures by their regions' ids.
NETWORK_TASK_TAB = ("page tab", "网络任务")
CATALOGUE_TAB = ("page tab", "影视库")
HIGHLIGHTS_TAB = ("page tab", "精彩推荐")
STOP_BUTTON = ("push button", "停止")
SEEK_BAR = ("slider", "播放进度")
SEEK_THUMB_WIDTH = 7  # the bar's usable length is its width less this
VOLUME_BAR = ("slider", "音量")
VIDEO = "QvodC"
PAUSE_PICTURE = "adp"

TIMES = re.compile(r"^(\d\d):(\d\d) / (\d\d):(\d\d)$")
PLAYING = "播放中("
CLIP_SECONDS = 20


class Strip:
    """The status strip under the video, read through the accessibility bus."""

    def __init__(self, screen):
        self.screen = screen

    def status(self, prefix, seconds=15):
        return self.screen.wait_label(lambda text: text.startswith(prefix), f"the status {prefix!r}", seconds)

    def times(self, predicate=lambda position, duration: True, what="the time label", seconds=15):
        """(position, duration) of the time label once the predicate holds."""
        def reading():
            for text in self.screen.label_texts():
                match = TIMES.match(text or "")
                if match:
                    minutes, secs, total_minutes, total_secs = map(int, match.groups())
                    value = (minutes * 60 + secs, total_minutes * 60 + total_secs)
                    if predicate(*value):
                        return value
            return None
        try:
            return harness.wait_for(reading, seconds, what)
        except harness.Timeout as error:
            raise harness.Timeout(f"{error}; labels shown: {self.screen.label_texts()}") from None


class PlaybackTest(unittest.TestCase):
    def serve(self, data_dir):
        service = harness.DemoService(ARGS.service, data_dir, ARGS.media)
        self.addCleanup(service.stop)
        service.wait_ready()

    def start(self, *args):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start(*args, accessible=True)
        window = program.window_id()
        return program, window

    def shot(self, window, name):
        path = os.path.join(ARGS.out, name)
        harness.screenshot(window, path)
        return path

    def wait_logged(self, program, what, count, seconds, window=None):
        """The details of the "player <what>" lines once there are `count`."""
        try:
            harness.wait_for(lambda: len(logged(program, what)) >= count, seconds, f"{count} × player {what}")
        except harness.Timeout:
            print("\n".join(line for line in program.log().splitlines() if "player" in line or "mpv" in line),
                  file=sys.stderr)
            if window is not None:
                self.shot(window, "playback-failed-wait.png")
            raise
        return logged(program, what)

    def expect_pause_picture(self, screen, window, name):
        """Waits until the default skin shows the pause picture it shares
        with skin 0."""
        picture = os.path.join(os.path.dirname(ARGS.icon), "skins", "0", "ppt_20.png")
        box = screen.in_window(screen.region(PAUSE_PICTURE))
        shot = os.path.join(ARGS.out, name)

        def drawn():
            harness.screenshot(window, shot)
            return harness.differing_pixels(shot, box, picture) == 0
        harness.wait_for(drawn, 15, "the pause picture drawn")

    def next_poll(self, program, screen, strip, spot):
        """Waits until the status strip's poll has visibly run after a click
        on the volume bar (`spot` of the way along): the click writes the
        volume into the strip, the next poll writes the player's state back
        over it. Polls come once a second. (An arrow key would do the same
        but moves the keyboard focus into a web page.)"""
        earlier = len(logged(program, "volume"))
        left, top, width, height = screen.control_box(*VOLUME_BAR)
        screen.click_at(left + round((width - 1) * spot), top + height // 2)
        # Once the click is logged, the window has shown the volume: the
        # state shown from then on comes from a later poll.
        self.wait_logged(program, "volume", earlier + 1, 10)
        strip.status("已暂停")

    def play_first_episode(self, program, window):
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)
        href_start = f"mivuvod://{SERIES}-0-0-"
        link = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith(href_start),
                                 "the first episode's link")
        screen.click_box(link[0][2])
        media = media_of(SERIES, 0, 0)
        self.assertEqual(self.wait_logged(program, "play", 1, 30, window)[0], media)
        return screen, media

    def test_episode_plays_under_control_and_hands_over_to_the_next(self):
        self.serve(ARGS.data)
        program, window = self.start()
        screen, media = self.play_first_episode(program, window)
        strip = Strip(screen)

        # What the user sees: the state text, a running clock, a picture.
        strip.status(PLAYING)
        self.assertEqual(strip.times(lambda position, duration: duration > 0)[1], CLIP_SECONDS)
        first, _ = strip.times()
        strip.times(lambda position, _: position >= first + 2, "the time label running on")
        video = screen.in_window(screen.region(VIDEO))
        shot = self.shot(window, "playback-playing.png")
        self.assertGreater(harness.colour_count(shot, video), 16, "the video area shows no picture")

        # Space pauses: the clock stands still; space again goes on.
        harness.key(window, "space")
        self.wait_logged(program, "pause", 1, 10)
        strip.status("已暂停")
        self.expect_pause_picture(screen, window, "playback-episode-paused.png")
        held = None
        for spot in (0.5, 1, 0.5, 1):
            self.next_poll(program, screen, strip, spot)
            if held is None:
                held, _ = strip.times()
            else:
                self.assertEqual(strip.times()[0], held, "the clock ran on while paused")
        self.shot(window, "playback-paused.png")
        harness.key(window, "space")
        self.assertEqual(self.wait_logged(program, "play", 2, 10)[1], media)
        strip.times(lambda position, _: position > held, "the clock running again")
        strip.status(PLAYING)

        # The right arrow jumps 10 s ahead of where the clip was.
        before, _ = strip.times()
        harness.key(window, "Right")
        ahead = int(self.wait_logged(program, "seek", 1, 10)[0])
        self.assertTrue(before + 10 <= ahead <= before + 12, (before, ahead))
        strip.times(lambda position, _: position >= ahead, "the time label after the jump")
        # And the left arrow back 10 s, so the bar below has room ahead.
        harness.key(window, "Left")
        self.wait_logged(program, "seek", 2, 10)
        strip.times(lambda position, _: position < ahead - 5, "the time label after the jump back")

        # Down, down, up: each step 10 % from what the player reports.
        earlier = len(logged(program, "volume"))
        for name in ("Down", "Down", "Up"):
            harness.key(window, name)
        volumes = [int(v) for v in self.wait_logged(program, "volume", earlier + 3, 10)[earlier:]]
        self.assertEqual([volumes[1] - volumes[0], volumes[2] - volumes[1]], [-10, 10], volumes)
        self.assertLessEqual(volumes[0], 90)

        # The arrows may have left the focus in a web view, which hands keys
        # its page does not use back to the window: space still pauses once.
        plays = len(logged(program, "play"))
        pauses = len(logged(program, "pause"))
        harness.key(window, "space")
        self.wait_logged(program, "pause", pauses + 1, 10)
        self.next_poll(program, screen, strip, 0.5)
        self.assertEqual(len(logged(program, "play")), plays, "one press of space also played")
        harness.key(window, "space")
        self.wait_logged(program, "play", plays + 1, 10)

        # A click at three quarters of the seek bar goes to three quarters
        # of the clip; on the played or downloaded part it lands 2 s early.
        bar_left, bar_top, bar_width, bar_height = screen.control_box(*SEEK_BAR)
        travel = bar_width - SEEK_THUMB_WIDTH
        spot = round(travel * 3 / 4)
        screen.click_at(bar_left + spot, bar_top + bar_height // 2)
        target = int(self.wait_logged(program, "seek", 3, 10)[2])
        expected = round(spot / travel * CLIP_SECONDS)
        self.assertLessEqual(abs(target - expected), 2, (target, expected))
        strip.times(lambda position, _: position >= target, "the time label after the bar click")
        self.shot(window, "playback-sought.png")

        # At the end the next episode starts by itself, fetched beforehand.
        following = media_of(SERIES, 0, 1)
        plays = self.wait_logged(program, "play", 4, CLIP_SECONDS + 15, window)
        self.assertEqual(plays[3], following)
        self.assertIn(following, logged(program, "prebuffer"))
        screen.wait_label(lambda text: text.startswith(SERIES_TITLE) and "第02集" in text,
                          "the next episode's title")
        strip.status(PLAYING)
        self.shot(window, "playback-next-episode.png")
        self.assertEqual(program.quit(), 0)

    def test_stop_keeps_the_position_and_the_task_resumes_there(self):
        self.serve(ARGS.data)
        program, window = self.start()
        screen, media = self.play_first_episode(program, window)
        self.assertIn("qvod", media)
        strip = Strip(screen)

        reached, _ = strip.times(lambda position, _: position >= 8, "the clip past 8 s", 30)
        screen.click_control(*STOP_BUTTON)
        self.assertEqual(self.wait_logged(program, "stop", 1, 10)[-1], media)
        strip.status("已停止")

        def stored():
            line = program.read("date.dat").decode("gb18030").split("\r\n")[0]
            fields = line.split("|")
            return len(fields) == 7 and fields[6] != "0" and fields
        fields = harness.wait_for(stored, 10, "the position in the network-task list")
        self.assertTrue(program.read("date.dat").endswith(b"\r\n"))
        self.assertEqual(fields[0], str(SERIES))
        position = int(fields[6])
        self.assertTrue(reached <= position <= reached + 2, (reached, position))
        self.shot(window, "playback-stopped.png")

        screen.click_control(*NETWORK_TASK_TAB)
        rows = screen.wait_links(lambda entry: SERIES_TITLE in entry[0] and entry[0] != SERIES_TITLE,
                                 "the task's row in the network-task list")
        seeks_before = len(logged(program, "seek"))
        screen.click_box(rows[0][2])
        self.assertEqual(self.wait_logged(program, "play", 2, 30, window)[1], media)
        seeks = self.wait_logged(program, "seek", seeks_before + 1, 15, window)
        self.assertEqual(int(seeks[seeks_before]), position)
        strip.times(lambda now, _: now >= position, "the time label at the resumed position")
        strip.status(PLAYING)
        self.shot(window, "playback-resumed.png")
        self.assertEqual(program.quit(), 0)

    def test_a_right_click_on_the_title_bar_keeps_the_position_of_the_item_left(self):
        """A right click on the title bar's empty part voids the pointer's
        next click on a button, never the stop that playing another item
        presses: the item left keeps the position it reached."""
        self.serve(ARGS.data)
        program, window = self.start()
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)

        def link_box(series):
            start = f"mivuvod://{series}-0-0-"
            links = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith(start),
                                      f"the first episode of {series}")
            return links[0][2]
        # Everything is found before play starts, so that the steps after it
        # take no time that a 20 s clip would run out in.
        first, other = link_box(SERIES), link_box(OTHER_SERIES)
        catalogue = screen.control_box(*CATALOGUE_TAB)
        tab_left, tab_top, tab_width, tab_height = screen.control_box(*HIGHLIGHTS_TAB)
        title_bar_gap = (tab_left + tab_width + 30, tab_top + tab_height // 2)

        screen.click_box(first)
        self.assertEqual(self.wait_logged(program, "play", 1, 30, window)[0], media_of(SERIES, 0, 0))
        reached, _ = Strip(screen).times(lambda position, _: position >= 3, "the clip past 3 s", 30)
        screen.click_box(catalogue)
        screen.click_at(*title_bar_gap, button=3)
        screen.click_box(other)
        self.assertEqual(self.wait_logged(program, "play", 2, 30, window)[1], media_of(OTHER_SERIES, 0, 0))

        def position_of_the_first():
            for line in program.read("date.dat").decode("gb18030").split("\r\n"):
                fields = line.split("|")
                if fields[0] == str(SERIES) and len(fields) == 7:
                    return int(fields[6])
            return 0
        harness.wait_for(position_of_the_first, 10, "the position of the item left")
        self.assertTrue(reached <= position_of_the_first() < CLIP_SECONDS, (reached, position_of_the_first()))
        self.assertEqual(program.quit(), 0)

    def test_command_line_plays_a_file_and_a_second_start_hands_its_file_over(self):
        self.serve(ARGS.data)
        folder = tempfile.mkdtemp(prefix="taviro-clips-")
        self.addCleanup(shutil.rmtree, folder, True)
        first = os.path.join(folder, "clip one.mp4")
        second = os.path.join(folder, "clip two.mp4")
        shutil.copyfile(os.path.join(ARGS.media, "sample-c.mp4"), first)
        shutil.copyfile(os.path.join(ARGS.media, "sample-b.mp4"), second)

        program, window = self.start(first)
        self.assertEqual(self.wait_logged(program, "play", 1, 60, window), [first])
        screen = Screen(program, window)
        strip = Strip(screen)
        strip.status(PLAYING)
        start, _ = strip.times(lambda position, duration: duration == CLIP_SECONDS)
        strip.times(lambda position, _: position >= start + 2, "the local clip's clock running on")

        def first_local_line():
            return program.read("date_f.dat").decode("gb18030").split("\r\n")[0]
        harness.wait_for(first_local_line, 10, "the local-file record")
        self.assertEqual(first_local_line(), f"clip one.mp4|{first}|0")
        self.shot(window, "playback-command-line.png")

        # The file plays in the player, so the space bar pauses it.
        harness.key(window, "space")
        self.wait_logged(program, "pause", 1, 10)
        strip.status("已暂停")
        self.expect_pause_picture(screen, window, "playback-command-line-paused.png")

        # A later start from the clips' folder names its file relatively.
        code, seconds, errors = program.start_again(os.path.basename(second), cwd=folder)
        self.assertEqual(code, 0, errors)
        self.assertLess(seconds, 10, "the second start did not end at once")
        self.assertEqual(self.wait_logged(program, "play", 2, 15, window)[1], second)
        harness.wait_for(lambda: first_local_line() == f"clip two.mp4|{second}|0", 10,
                         "the handed-over file on top of the local-file list")
        self.assertIsNone(program.process.poll())
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--media")
    unittest.main(argv=argv, verbosity=2)
