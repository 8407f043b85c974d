"""The real program (and the real helper) playing a progressive file through
a shaped link: 80 ms round trip, 4 Mbit/s, a 10 s outage in the middle of
play, and a server that accepts and then never answers. Play resumes by
itself after the outage, with the helper (whose saved file must equal the
source byte for byte) and without it; a stalled server is named on the
strip within 30 s and leaves nothing on disk."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import harness
from accessible_screen import Screen
from download_test import helper_pids
from playback_test import Strip
from shaping_proxy import FileServer, ShapingProxy

ARGS = None
CLIP = "clip.mp4"
CLIP_SECONDS = 40
PLAYING = "播放中("
BUFFERING = "正在缓冲 ("
STALLED = "连接超时，正在重试"
OUTAGE_SECONDS = 10


def make_clip(folder):
    """A clip of about 3 Mbit/s, near the link's 4: the player's read-ahead
    stays a few seconds deep, so that an outage of 10 s empties it."""
    path = os.path.join(folder, CLIP)
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    f"testsrc2=size=480x270:rate=25:duration={CLIP_SECONDS},noise=alls=30:allf=t",
                    "-c:v", "libx264", "-preset", "ultrafast", "-b:v", "3M", "-maxrate", "3M",
                    "-bufsize", "1M", "-g", "25", "-movflags", "+faststart", path],
                   check=True, timeout=300)
    return path


class ShapedNetworkTest(harness.SharedDemoServiceTest):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.media = tempfile.mkdtemp(prefix="taviro-shaped-")
        cls.clip = make_clip(cls.media)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.media, ignore_errors=True)
        super().tearDownClass()

    def setUp(self):
        self.server = FileServer(self.media)
        self.addCleanup(self.server.close)
        self.proxy = ShapingProxy(self.server.port, delay=0.080, bits_per_second=4_000_000)
        self.addCleanup(self.proxy.close)

    def start(self, with_helper):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        if with_helper:
            os.makedirs(os.path.join(program.app_dir, "Qvod"))
            shutil.copy2(ARGS.helper, os.path.join(program.app_dir, "Qvod", "QvodTerminal.exe"))
            self.addCleanup(self.stop_helpers, program)
        program.start(self.proxy.url(CLIP), accessible=True)
        screen = Screen(program, program.window_id())
        return program, screen

    @staticmethod
    def stop_helpers(program):
        if program.process.poll() is None:
            program.process.kill()
            program.process.wait()
        for pid in helper_pids(program.app_dir):
            os.kill(pid, 15)
        harness.wait_for(lambda: not helper_pids(program.app_dir), 30, "the helpers to end")

    def play_through_an_outage(self, screen):
        strip = Strip(screen)
        strip.status(PLAYING, 60)
        strip.times(lambda position, _: position >= 2, "play under way", 60)
        began = time.monotonic()
        self.proxy.set_outage(True)
        try:
            strip.status(BUFFERING, OUTAGE_SECONDS + 20)
        finally:
            # The outage lasts its full length however soon the player noticed.
            harness.wait_for(lambda: time.monotonic() - began >= OUTAGE_SECONDS, OUTAGE_SECONDS + 5,
                             "the outage's end")
            self.proxy.set_outage(False)
        back = time.monotonic()
        held, _ = strip.times()
        strip.status(PLAYING, 30)
        strip.times(lambda position, _: position >= held + 2, "the clock running again", 30)
        print(f"the clock ran on {time.monotonic() - back:.1f} s after the link's return", file=sys.stderr)

    def test_play_resumes_after_an_outage_and_the_saved_file_is_the_source(self):
        program, screen = self.start(with_helper=True)
        harness.wait_for(lambda: "QvodTerminal: fetching" in program.log(), 60, "the helper's transfer")
        self.play_through_an_outage(screen)
        saved = os.path.join(program.app_dir, "Media", CLIP)
        harness.wait_for(lambda: os.path.exists(saved), 120, "the saved file")
        with open(saved, "rb") as got, open(self.clip, "rb") as want:
            self.assertTrue(got.read() == want.read(), "the saved file differs from the source")

    def test_play_resumes_after_an_outage_without_the_helper(self):
        program, screen = self.start(with_helper=False)
        self.play_through_an_outage(screen)
        self.assertNotIn("QvodTerminal:", program.log())

    def test_a_source_silent_at_first_plays_once_it_answers(self):
        # The helper's first look hangs until it gives up; the player, told
        # the item failed, is not left stopped.
        self.proxy.stall_connections(1)
        program, screen = self.start(with_helper=True)
        harness.wait_for(lambda: "QvodTerminal: cannot look at" in program.log(), 90, "the look given up")
        Strip(screen).status(PLAYING, 90)

    def test_a_server_that_never_answers_is_named_and_leaves_nothing_on_disk(self):
        self.proxy.stall_connections(1000)
        program, screen = self.start(with_helper=True)
        harness.wait_for(lambda: harness.player_requests(program, "play"), 30, "the play request")
        asked = time.monotonic()
        screen.wait_label(lambda text: text == STALLED, "the stalled source named", 30)
        self.assertLess(time.monotonic() - asked, 30)
        # The helper drops the silent connection, and gives up on its look at
        # the source or tries again: by then any file it would make would be
        # there.
        harness.wait_for(
            lambda: any(line in program.log() for line in ("QvodTerminal: retrying", "QvodTerminal: cannot look at")),
            60, "the helper's retry")
        media = os.path.join(program.app_dir, "Media")
        self.assertEqual(os.listdir(media) if os.path.isdir(media) else [], [])


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments("--helper")
    unittest.main(argv=rest, verbosity=2)
