"""Streams as plain web servers serve them, through the real program and the
real download helper: HLS programmes (plain and AES-128), live channels (a
TS without end, a sliding playlist), files behind redirects, servers without
ranges, length or the right type, and https against the system's store with
a certificate authority made for the test."""

import ctypes
import json
import os
import shutil
import subprocess
import tempfile
import unittest

import harness
from accessible_screen import Screen
from download_test import DownloadFixture
from playback_test import Strip
from stream_server import STATION_TITLE, StreamMedia, StreamServer, TestCertificates

ARGS = None
MEDIA = None
SERIES = 101
SEEK_BAR = ("slider", "播放进度")
VOLUME_BAR = ("slider", "音量")
PLAYING = "播放中("
LIVE = "直播中"
SYSTEM_BUNDLE = "/etc/ssl/certs/ca-certificates.crt"
CLONE_NEWNS = 0x00020000


def setUpModule():
    global MEDIA
    MEDIA = StreamMedia()


def tearDownModule():
    MEDIA.remove()


class StreamFixture(DownloadFixture):
    """The program and its helper; the demo service's first series lists
    addresses of a stream server as its player episodes."""

    def serve_streams(self, server, paths):
        with open(os.path.join(ARGS.data, "catalogue.json"), encoding="utf-8") as f:
            catalogue = json.load(f)
        series = next(s for s in catalogue["series"] if s["id"] == SERIES)
        self.series_title = series["title"]
        series["sources"][0]["episodes"] = [
            {"name": f"第{number + 1:02d}集", "media": server.url("/qvod" + path)} for number, path in enumerate(paths)
        ]
        data = tempfile.mkdtemp(prefix="taviro-streams-data-")
        self.addCleanup(shutil.rmtree, data, True)
        with open(os.path.join(data, "catalogue.json"), "w", encoding="utf-8") as f:
            json.dump(catalogue, f, ensure_ascii=False)
        service = harness.DemoService(ARGS.service, data)
        self.addCleanup(service.stop)
        service.wait_ready()

    def stream_server(self, tls=None, trusted=True):
        server = StreamServer(MEDIA, tls=tls, trusted=trusted).start()
        self.addCleanup(server.stop)
        return server

    def play(self, episode):
        """Starts a program and plays the series' episode; its screen."""
        program, window = self.start()
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)
        href_start = f"mivuvod://{SERIES}-0-{episode}-"
        link = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith(href_start),
                                 "the episode's link")
        screen.click_box(link[0][2])
        address = harness.media_of(SERIES, 0, episode)
        harness.wait_for(lambda: address in harness.player_requests(program, "play"), 30, "play " + address)
        return program, screen, address

    @staticmethod
    def saved_files(program):
        folder = os.path.join(program.app_dir, "Media")
        return sorted(os.listdir(folder)) if os.path.isdir(folder) else []

    @staticmethod
    def shows(screen, text, seconds=60):
        return screen.wait_label(lambda label: (label or "").startswith(text), f"the status {text!r}", seconds)

    def origin_asked(self, server, piece):
        harness.wait_for(lambda: any(piece in path for path in server.requests), 60, f"the origin asked for {piece}")


class StreamsTest(StreamFixture):
    def test_hls_programmes_play_from_their_origin_and_are_saved(self):
        server = self.stream_server()
        self.serve_streams(server, ["/hls/index.m3u8", "/hls-aes/index.m3u8"])
        for episode, folder in enumerate(["hls", "hls-aes"]):
            with self.subTest(folder):
                program, screen, _ = self.play(episode)
                self.shows(screen, PLAYING)
                # The player resolved the segments against the origin, not
                # against the helper it was first given.
                self.origin_asked(server, f"/qvod/{folder}/index1.ts")
                files = self.saved_files(program)
                self.assertNotIn("index.m3u8", files)
                self.assertFalse([name for name in files if name.endswith(".part") and "m3u8" in name], files)
                # Saved as one playable file, remuxed from the segments,
                # under the catalogue's title and episode, not the
                # playlist's name ("index.m3u8" for every programme here).
                saved = f"{self.series_title} 第{episode + 1:02d}集.mp4"
                harness.wait_for(lambda: self.saved_files(program) == [saved], 120,
                                 "the programme saved, nothing else left")
                probe = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                                        "csv=p=0", os.path.join(program.app_dir, "Media", saved)],
                                       capture_output=True, text=True, check=True)
                self.assertGreater(float(probe.stdout), MEDIA.seconds - 1)
                # The download bar follows the saver, as for any episode.
                harness.wait_for(lambda: 1000 in [int(p) for p in harness.player_requests(program, "progress")],
                                 60, "the download bar full")
                self.stop_helpers(program)

    def test_live_channels_play_with_an_inert_seek_bar_and_leave_nothing_on_disk(self):
        server = self.stream_server()
        self.serve_streams(server, ["/live.ts", "/live/index.m3u8"])
        for episode in range(2):
            with self.subTest(episode=episode):
                program, screen, _ = self.play(episode)
                self.shows(screen, LIVE)
                seeks = len(harness.player_requests(program, "seek"))
                volumes = len(harness.player_requests(program, "volume"))
                screen.click_control(*SEEK_BAR)
                # Clicks are handled in order: once the volume bar's is
                # logged, a seek would have been too.
                screen.click_control(*VOLUME_BAR)
                harness.wait_for(lambda: len(harness.player_requests(program, "volume")) > volumes, 30,
                                 "the volume click")
                self.assertEqual(len(harness.player_requests(program, "seek")), seeks)
                self.shows(screen, LIVE)
                self.assertEqual(self.saved_files(program), [])
                self.stop_helpers(program)

    def test_dash_plays_and_seeks_and_stations_play_live_with_their_title(self):
        server = self.stream_server()
        self.serve_streams(server, ["/dash/manifest.mpd", "/radio.mp3", "/icy"])
        program, screen, _ = self.play(0)
        self.shows(screen, PLAYING)
        # The reader fetched its segments from the origin, through the helper.
        self.origin_asked(server, "/qvod/dash/chunk-stream0-00002.m4s")
        strip = Strip(screen)
        strip.times(lambda _, duration: duration == MEDIA.DASH_SECONDS, "the programme's length", 30)
        left, top, width, height = screen.control_box(*SEEK_BAR)
        screen.click_at(left + width * 3 // 4, top + height // 2)
        harness.wait_for(lambda: harness.player_requests(program, "seek"), 30, "the seek")
        target = int(harness.player_requests(program, "seek")[-1])
        self.assertGreater(target, MEDIA.DASH_SECONDS // 2)
        strip.times(lambda position, _: position >= target, "the time label after the jump", 30)
        self.assertEqual(self.saved_files(program), [])
        self.stop_helpers(program)

        for episode in (1, 2):
            with self.subTest(episode=episode):
                program, screen, _ = self.play(episode)
                # A station has no end: live, whatever its transfer says.
                self.shows(screen, LIVE)
                if episode == 1:
                    self.shows(screen, f"{LIVE} {STATION_TITLE}")
                self.assertEqual(self.saved_files(program), [])
                self.stop_helpers(program)

    def test_a_file_behind_redirects_is_saved_under_its_real_name_and_listed(self):
        server = self.stream_server()
        self.serve_streams(server, ["/go/4/go-mp4"])
        program, screen, address = self.play(0)
        self.shows(screen, PLAYING)
        harness.wait_for(lambda: 1000 in [int(p) for p in harness.player_requests(program, "progress")], 120,
                         "the download bar full")
        path = os.path.join(program.app_dir, "Media", "clip.mp4")
        harness.wait_for(lambda: os.path.exists(path), 60, "clip.mp4 saved")
        with open(path, "rb") as saved, open(os.path.join(MEDIA.folder, "clip.mp4"), "rb") as source:
            self.assertEqual(saved.read(), source.read())
        self.assertEqual(self.saved_files(program), ["clip.mp4"])
        # The network-task list keeps the item under the address asked for.
        self.assertIn("/qvod/go/4/go-mp4|", program.read("date.dat").decode("gb18030"))

    def test_servers_as_they_are(self):
        variants = [
            "/clip.mp4?noranges=1",
            "/clip.mp4?nolength=1",
            "/clip.mp4?chunked=1",
            "/clip.mp4?type=text/plain",
            "/clip.mp4?type=application/octet-stream",
            "/hls/index.m3u8?gzip=1&type=text/plain",
        ]
        server = self.stream_server()
        self.serve_streams(server, variants)
        for episode, variant in enumerate(variants):
            with self.subTest(variant):
                program, screen, _ = self.play(episode)
                self.shows(screen, PLAYING)
                self.stop_helpers(program)


class WithoutHelperTest(StreamFixture):
    def start(self, program=None):
        # No helper beside the program: network items go to the player as
        # they are.
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start(accessible=True)
        self.addCleanup(self.stop_helpers, program)
        return program, program.window_id()

    def test_the_player_refuses_a_playlist_naming_a_local_file(self):
        server = self.stream_server()
        self.serve_streams(server, ["/evil-local/index.m3u8", "/hls/index.m3u8"])
        program, screen, _ = self.play(0)
        self.shows(screen, "已停止")
        # A network playlist of network segments still plays without it.
        program, screen, _ = self.play(1)
        self.shows(screen, PLAYING)


def trust_only(bundle):
    """From here on this process and its children see `bundle` as the
    system's certificate store; the machine's own is left alone."""
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.unshare(CLONE_NEWNS) != 0:
        raise OSError(ctypes.get_errno(), "unshare")
    subprocess.run(["mount", "--make-rprivate", "/"], check=True)
    subprocess.run(["mount", "--bind", bundle, SYSTEM_BUNDLE], check=True)


@unittest.skipUnless(os.geteuid() == 0, "trusting a test authority needs a private mount namespace (root)")
class HttpsTest(StreamFixture):
    @classmethod
    def setUpClass(cls):
        cls.certificates = TestCertificates()
        trust_only(cls.certificates.bundle)

    @classmethod
    def tearDownClass(cls):
        cls.certificates.remove()

    def test_a_trusted_server_plays_and_an_untrusted_one_is_said(self):
        trusted = self.stream_server(tls=self.certificates)
        untrusted = self.stream_server(tls=self.certificates, trusted=False)
        self.serve_streams(trusted, ["/clip.mp4"])
        program, screen, _ = self.play(0)
        self.shows(screen, PLAYING)
        harness.wait_for(lambda: "clip.mp4" in self.saved_files(program), 60, "clip.mp4 saved")
        self.stop_helpers(program)

        self.serve_streams(untrusted, ["/hls/index.m3u8"])
        program, screen, _ = self.play(0)
        self.shows(screen, "证书无效")
        self.assertEqual(self.saved_files(program), [])
        self.assertFalse(any("index0.ts" in path for path in untrusted.requests))


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments("--helper")
    import download_test
    download_test.ARGS = ARGS
    unittest.main(argv=rest, verbosity=2)
