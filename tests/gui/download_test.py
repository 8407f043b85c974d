"""The real program and the real download helper against a throttled demo
service: a qvod link plays while it downloads, the download bar follows the
helper, the next episode is fetched ahead, and a helper killed mid-download
resumes its partial file."""

import os
import shutil
import signal
import sys
import unittest
import urllib.parse

import harness
from accessible_screen import Screen

ARGS = None
SERIES = 102
# Its episodes from the fourth on are offered as qvod links.
FIRST = 3
PLAYING = "播放中("


def helper_pids(app_dir):
    """The helpers this test's program started: those run from its folder."""
    return harness.pids_running(os.path.join(app_dir, "Qvod", "QvodTerminal.exe"))


def covered(ranges_path):
    """Bytes a ranges list says are on disk (0 when there is none)."""
    try:
        with open(ranges_path) as f:
            lines = f.read().splitlines()[1:]
    except OSError:
        return 0
    return sum(int(b) - int(a) for a, b in (line.split("-") for line in lines if "-" in line))


class DownloadFixture(unittest.TestCase):
    """The program with the helper beside it, against a throttled service."""

    def serve(self, bytes_per_second):
        service = harness.DemoService(ARGS.service, ARGS.data, ARGS.media)
        self.addCleanup(service.stop)
        service.wait_ready()
        harness.fetch(f"__bandwidth?bytes_per_second={bytes_per_second}")

    def start(self, program=None):
        program = program or harness.Program(ARGS.program, ARGS.icon)
        os.makedirs(os.path.join(program.app_dir, "Qvod"))
        shutil.copy2(ARGS.helper, os.path.join(program.app_dir, "Qvod", "QvodTerminal.exe"))
        program.write("config.dll", "[S_q]\r\ns_h=2\r\n".encode("gb18030"))
        self.addCleanup(program.remove)
        self.addCleanup(self.stop_helpers, program)
        program.start(accessible=True)
        return program, program.window_id()

    @staticmethod
    def stop_helpers(program):
        # The program first: while it runs, it starts a new helper for every
        # one that ends.
        if program.process.poll() is None:
            program.process.kill()
            program.process.wait()
        for pid in helper_pids(program.app_dir):
            os.kill(pid, signal.SIGTERM)
        harness.wait_for(lambda: not helper_pids(program.app_dir), 30, "the helpers to end")

    def play_episode(self, program, window, episode):
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)
        href_start = f"mivuvod://{SERIES}-0-{episode}-"
        link = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith(href_start),
                                 "the episode's link")
        screen.click_box(link[0][2])
        address = harness.media_of(SERIES, 0, episode)
        self.assertTrue(address.startswith("qvod://"), address)
        harness.wait_for(lambda: address in harness.player_requests(program, "play"), 30, "play " + address)
        return screen, address

    def saved(self, program, address):
        name = urllib.parse.unquote(address.split("|")[2].replace("%u", "\\u").encode().decode("unicode_escape")
                                    if "%u" in address.split("|")[2] else address.split("|")[2])
        return os.path.join(program.app_dir, "Media", name)

    def source_bytes(self, address):
        hash_ = address.split("|")[1]
        with open(os.path.join(ARGS.media, bytes.fromhex(hash_).decode()), "rb") as f:
            return f.read()

    def progress(self, program):
        return [int(value) for value in harness.player_requests(program, "progress")]


class DownloadTest(DownloadFixture):
    def test_an_episode_plays_while_it_downloads_and_the_next_one_is_fetched_ahead(self):
        self.serve(150_000)
        program, window = self.start()
        screen, address = self.play_episode(program, window, FIRST)
        path = self.saved(program, address)

        screen.wait_label(lambda text: text.startswith(PLAYING), "the status 播放中", 60)
        self.assertFalse(os.path.exists(path), "the download finished before play started")
        self.assertTrue(os.path.exists(path + ".part"))

        # The download bar's figure comes from the helper, step by step.
        harness.wait_for(lambda: 1000 in self.progress(program), 120, "the download to finish")
        shown = [p for p in self.progress(program) if 0 < p < 1000]
        self.assertGreaterEqual(len(shown), 3, self.progress(program))
        self.assertEqual(shown, sorted(shown))
        with open(path, "rb") as f:
            self.assertEqual(f.read(), self.source_bytes(address))

        # Past 601 thousandths the next episode is resolved and fetched.
        following = harness.media_of(SERIES, 0, FIRST + 1)
        harness.wait_for(lambda: following in harness.player_requests(program, "prebuffer"), 60,
                         "the next episode's pre-buffer")
        next_path = self.saved(program, following)
        wanted = min(1 << 20, len(self.source_bytes(following)))
        harness.wait_for(lambda: os.path.exists(next_path) or covered(next_path + ".part.ranges") >= wanted,
                         60, "the next episode's first megabyte")
        self.assertNotIn(following, harness.player_requests(program, "play"), "fetched only once it played")

    def test_a_helper_killed_mid_download_resumes_and_the_file_is_whole(self):
        self.serve(60_000)
        program, window = self.start()
        screen, address = self.play_episode(program, window, FIRST)
        path = self.saved(program, address)
        harness.wait_for(lambda: covered(path + ".part.ranges") > 300_000, 120, "a part of the download")
        pids = helper_pids(program.app_dir)
        self.assertEqual(len(pids), 1, pids)
        os.kill(pids[0], signal.SIGKILL)
        harness.wait_for(lambda: not os.path.exists(f"/proc/{pids[0]}/exe") or pids[0] not in helper_pids(program.app_dir),
                         30, "the helper to go")
        # The program starts a new helper, which continues the partial file.
        harness.wait_for(lambda: [p for p in helper_pids(program.app_dir) if p != pids[0]], 60, "a new helper")
        harness.fetch("__bandwidth?bytes_per_second=400000")
        harness.wait_for(lambda: os.path.exists(path), 120, "the resumed download to finish")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), self.source_bytes(address))
        resumed = [line for line in program.log().splitlines()
                   if line.startswith("QvodTerminal: fetching") and not line.endswith(" from 0-")]
        self.assertTrue(resumed, "the new helper started from the beginning again")
        screen.wait_label(lambda text: text.startswith(PLAYING), "the picture back", 60)


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments("--media", "--helper")
    unittest.main(argv=rest, verbosity=2)
