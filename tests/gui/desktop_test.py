"""The real program as a citizen of the desktop: its media controls on the
session bus (MPRIS) driven with gdbus and playerctl, files dropped onto its
window with a real drag from another program, and its command line."""

import ast
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import harness
from harness import player_requests as logged
from notifications import NotificationServer

ARGS = None
APP_ID = "org.taviro.Taviro"
NO_TRACK = "/org/mpris/MediaPlayer2/TrackList/NoTrack"
BUS_NAME = "org.mpris.MediaPlayer2.taviro"
OBJECT = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"
# Where the video area is, from the window's corner, at the starting size.
VIDEO_CENTRE = (390, 300)


def gdbus(*args):
    return subprocess.run(["gdbus", "call", "--session", "--dest", BUS_NAME, "--object-path", OBJECT, *args],
                          capture_output=True, text=True, timeout=20, check=True).stdout.strip()


def player_property(name):
    """A property of the player interface as Python data."""
    out = gdbus("--method", "org.freedesktop.DBus.Properties.Get", PLAYER, name)
    # "(<'Playing'>,)", "(<int64 3000000>,)", "(<{'xesam:title': <'a'>}>,)"
    text = out[2:-3]
    for tag in ("int64 ", "objectpath ", "@a{sv} ", "@as "):
        text = text.replace(tag, "")
    text = text.replace("<", "").replace(">", "").replace("true", "True").replace("false", "False")
    return ast.literal_eval(text)


def window_of(program):
    return program.window_id(30)


def name_owned():
    out = subprocess.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                          "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner", BUS_NAME],
                         capture_output=True, text=True, timeout=20).stdout
    return "true" in out


class DesktopTest(unittest.TestCase):
    def setUp(self):
        service = harness.DemoService(ARGS.service, ARGS.data, ARGS.media)
        self.addCleanup(service.stop)
        service.wait_ready()
        self.folder = tempfile.mkdtemp(prefix="taviro-clips-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def clip(self, name, sample):
        path = os.path.join(self.folder, name)
        shutil.copyfile(os.path.join(ARGS.media, sample), path)
        return path

    def start(self, *args):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start(*args)
        try:
            return program, program.window_id(120)
        except harness.Timeout as error:
            raise harness.Timeout(f"{error} (exit code {program.process.poll()}); the program logged:\n"
                                  f"{program.log()[-4000:]}") from None

    def wait_logged(self, program, what, count, seconds):
        return self.wait(program, lambda: len(logged(program, what)) >= count and logged(program, what),
                         seconds, f"{count} player {what} request(s)")

    def wait(self, program, predicate, seconds, what):
        """wait_for, telling what the program logged when it gives up."""
        try:
            return harness.wait_for(predicate, seconds, what)
        except harness.Timeout as error:
            raise harness.Timeout(f"{error}; the program logged:\n{program.log()[-4000:]}") from None

    def monitor(self):
        """Everything the program says on the bus from now on."""
        out = harness.ChildLog()
        process = subprocess.Popen(["gdbus", "monitor", "--session", "--dest", BUS_NAME],
                                   stdout=out.sink, stderr=subprocess.STDOUT)

        def stop():
            process.terminate()
            process.wait(10)
            out.close()
        self.addCleanup(stop)

        return out.text

    def test_media_controls_pause_resume_seek_and_tell_the_desktop(self):
        clip = self.clip("clip one.mp4", "sample-c.mp4")
        # Handed over by a second start, the file plays in the player proper.
        program, _ = self.start()
        code, _, errors = program.start_again(clip)
        self.assertEqual(code, 0, errors)
        self.assertEqual(self.wait_logged(program, "play", 1, 120), [clip])
        self.wait(program, name_owned, 60, "the MPRIS name on the session bus")
        heard = self.monitor()
        # The desktop finds the icon and name through the root interface, and
        # each interface answers only for its own properties.
        root = gdbus("--method", "org.freedesktop.DBus.Properties.GetAll", "org.mpris.MediaPlayer2")
        self.assertIn(f"'DesktopEntry': <'{APP_ID}'>", root)
        self.assertIn("'CanRaise': <true>", root)
        self.assertNotIn("'Volume'", root)
        with self.assertRaises(subprocess.CalledProcessError):
            gdbus("--method", "org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2", "Volume")
        self.wait(program, lambda: player_property("PlaybackStatus") == "Playing", 120, "Playing")
        harness.wait_for(lambda: player_property("Metadata").get("mpris:length", 0) > 0, 30, "the clip's length")
        metadata = player_property("Metadata")
        self.assertEqual(metadata["xesam:title"], "clip one.mp4")
        self.assertTrue(metadata["mpris:trackid"].startswith("/org/taviro/track/"))
        self.assertEqual(metadata["mpris:length"], 20_000_000)
        self.assertTrue(player_property("CanSeek"))
        self.assertFalse(player_property("CanGoNext"))  # a file has no next episode

        gdbus("--method", PLAYER + ".PlayPause")
        self.assertEqual(self.wait_logged(program, "pause", 1, 15), [clip])
        harness.wait_for(lambda: player_property("PlaybackStatus") == "Paused", 30, "Paused")
        harness.wait_for(lambda: "'PlaybackStatus': <'Paused'>" in heard(), 30, "PropertiesChanged to Paused")
        self.assertIn("org.freedesktop.DBus.Properties.PropertiesChanged", heard())

        gdbus("--method", PLAYER + ".PlayPause")
        self.assertEqual(self.wait_logged(program, "play", 2, 15)[1], clip)
        harness.wait_for(lambda: player_property("PlaybackStatus") == "Playing", 30, "Playing again")
        harness.wait_for(lambda: "'PlaybackStatus': <'Playing'>" in heard(), 30, "PropertiesChanged to Playing")

        before = player_property("Position")
        gdbus("--method", PLAYER + ".Seek", "8000000")
        self.wait_logged(program, "seek", 1, 15)
        moved = harness.wait_for(lambda: (p := player_property("Position")) >= before + 7_000_000 and p, 30,
                                 "the clock moved on by the seek")
        self.assertLessEqual(moved, 20_000_000)
        harness.wait_for(lambda: ".Seeked" in heard(), 30, "the Seeked signal")

        gdbus("--method", "org.mpris.MediaPlayer2.Raise")
        self.assertIsNone(program.process.poll())
        # Shells find the window's desktop file by its class as well.
        wm_class = subprocess.run(["xprop", "-id", window_of(program), "WM_CLASS"], capture_output=True,
                                  text=True, check=True).stdout
        self.assertIn(f'"{APP_ID}", "{APP_ID}"', wm_class)

        gdbus("--method", PLAYER + ".Stop")
        harness.wait_for(lambda: player_property("PlaybackStatus") == "Stopped", 30, "Stopped")
        self.assertEqual(player_property("Metadata"), {"mpris:trackid": NO_TRACK})
        self.assertEqual(program.quit(), 0)

    def test_a_tagged_clip_followed_to_its_end(self):
        clip = os.path.join(self.folder, "tagged.mp4")
        subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=30",
                        "-f", "lavfi", "-i", "sine=frequency=440:duration=30", "-c:v", "libx264", "-c:a", "aac",
                        "-metadata", "title=Song of the Sea", "-metadata", "artist=Ensemble 合唱", clip],
                       check=True, timeout=120)
        program, _ = self.start(clip)
        self.wait(program, name_owned, 60, "the MPRIS name on the session bus")
        heard = self.monitor()
        self.wait(program, lambda: player_property("Metadata").get("mpris:length", 0) > 0, 120, "the clip open")
        metadata = player_property("Metadata")
        self.assertEqual((metadata["xesam:title"], metadata["xesam:artist"]), ("Song of the Sea", ["Ensemble 合唱"]))
        self.assertLess(abs(metadata["mpris:length"] - 30_000_000), 200_000)

        # Rate 0 is a pause (of what the desktop is shown playing); the rate
        # itself stays what the player plays at.
        harness.wait_for(lambda: player_property("PlaybackStatus") == "Playing", 30, "Playing")
        gdbus("--method", "org.freedesktop.DBus.Properties.Set", PLAYER, "Rate", "<0.0>")
        self.wait_logged(program, "pause", 1, 15)
        harness.wait_for(lambda: player_property("PlaybackStatus") == "Paused", 30, "Paused by rate 0")
        self.assertEqual(player_property("Rate"), 1.0)
        # Near the end, so the rest plays in a few seconds.
        gdbus("--method", PLAYER + ".SetPosition", f"objectpath '{metadata['mpris:trackid']}'", "26000000")
        self.assertEqual(self.wait_logged(program, "seek", 1, 15), ["26"])

        gdbus("--method", PLAYER + ".Play")
        harness.wait_for(lambda: player_property("PlaybackStatus") == "Playing", 30, "Playing again")
        positions = []

        def ended():
            status = player_property("PlaybackStatus")
            if status == "Playing":
                positions.append(player_property("Position"))
            return status == "Stopped"
        self.wait(program, ended, 60, "the clip to end")
        # The clock as the player keeps it, not in whole seconds.
        self.assertTrue(any(p % 1_000_000 for p in positions if p), positions)
        self.assertEqual(player_property("Metadata"), {"mpris:trackid": NO_TRACK})
        harness.wait_for(lambda: "'PlaybackStatus': <'Stopped'>" in heard(), 30, "PropertiesChanged to Stopped")
        if shutil.which("playerctl"):
            status = subprocess.run(["playerctl", "--player=taviro", "status"], capture_output=True, text=True,
                                    timeout=20)
            self.assertEqual(status.stdout.strip(), "Stopped", status.stderr)
        self.assertEqual(program.quit(), 0)

    def test_the_command_line_refuses_unknown_options_missing_files_and_folders(self):
        def run(*args, **env):
            environment = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k != "LANG"}
            return subprocess.run([ARGS.program, *args], capture_output=True, text=True, timeout=30,
                                  env=dict(environment, **env))
        bogus = run("--bogus", "a.mp4", LANG="C")
        self.assertEqual((bogus.returncode, bogus.stdout), (2, ""))
        self.assertTrue(bogus.stderr.startswith("taviro: unknown option '--bogus'\nUsage: taviro "), bogus.stderr)
        self.assertTrue(run("--help", LANG="C").stdout.startswith("Usage: taviro"))
        self.assertTrue(run("--help", LANG="C", LC_ALL="zh_CN.UTF-8").stdout.startswith("用法: taviro"))
        self.assertTrue(run("-x", LANG="zh_CN.UTF-8").stderr.startswith("taviro: 未知选项 “-x”"))
        # GTK's own options are no unknown ones.
        version = run("--display=" + os.environ["DISPLAY"], "--version", LANG="C")
        self.assertEqual((version.returncode, version.stderr), (0, ""))

        balloons = NotificationServer()
        self.addCleanup(balloons.stop)
        program, window = self.start()
        gone = os.path.join(self.folder, "gone.mp4")
        # Started by a launcher that gave it a startup id: the running window
        # comes forward with the launcher's time, as the window manager allows.
        code, _, errors = program.start_again(gone, self.folder, DESKTOP_STARTUP_ID="launcher-42_TIME4242",
                                             LC_ALL="C.UTF-8", LANGUAGE="")
        self.assertEqual(code, 0, errors)
        self.assertIn(f"taviro: {gone}: no such file\n", errors)
        self.assertIn(f"taviro: {self.folder}: is a folder, not a media file\n", errors)
        self.wait(program, lambda: any("文件不存在：gone.mp4" in body for _, body in balloons.texts()), 30,
                  "the window to tell of the missing file")
        app_icon, hints = balloons.source_of(0)
        self.assertEqual((app_icon, hints.get("desktop-entry")), (APP_ID, APP_ID))
        user_time = subprocess.run(["xprop", "-id", window, "_NET_WM_USER_TIME"], capture_output=True, text=True,
                                   check=True).stdout
        self.assertIn("= 4242", user_time)
        self.assertEqual(logged(program, "play"), [])
        self.assertNotIn("gone.mp4", program.read("date_f.dat").decode("gb18030"))
        self.assertEqual(program.quit(), 0)

    def test_files_dropped_onto_the_window_play_and_are_listed(self):
        first = self.clip("drop one.mp4", "sample-c.mp4")
        second = self.clip("drop two.mp4", "sample-b.mp4")
        program, window = self.start()
        x, y, width, height = harness.window_geometry(window)
        # The source sits beside the program's window, not over it.
        source_x, source_y = min(x + width + 10, 1280 - 170), 10
        source = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__), "drag_source.py"),
                                   str(source_x), str(source_y), first, second, self.folder],
                                  stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (source.kill(), source.wait(), source.stdout.close()))
        self.assertEqual(source.stdout.readline().strip(), "ready")
        source_window = harness.wait_for(
            lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^drag-source$"],
                                   capture_output=True, text=True).stdout.split(), 30, "the drag source")[0]
        sx, sy, sw, sh = harness.window_geometry(source_window)

        target = (x + VIDEO_CENTRE[0], y + VIDEO_CENTRE[1])
        xdotool = ["xdotool", "mousemove", "--sync", str(sx + sw // 2), str(sy + sh // 2), "mousedown", "1"]
        subprocess.run(xdotool, check=True, timeout=20)
        # A drag starts after a few pixels of movement; then the pointer
        # travels over the program's window, where GTK follows it.
        steps = 12
        for step in range(1, steps + 1):
            px = sx + sw // 2 + (target[0] - sx - sw // 2) * step // steps
            py = sy + sh // 2 + (target[1] - sy - sh // 2) * step // steps
            subprocess.run(["xdotool", "mousemove", "--sync", str(px), str(py)], check=True, timeout=20)
        subprocess.run(["xdotool", "mouseup", "1"], check=True, timeout=20)
        self.assertEqual(source.stdout.readline().strip(), "dropped")

        self.assertEqual(self.wait_logged(program, "play", 1, 120), [first])

        def local_lines():
            return program.read("date_f.dat").decode("gb18030").split("\r\n")[:2]
        harness.wait_for(lambda: local_lines()[0].startswith("drop one"), 30, "the dropped files' records")
        self.assertEqual(local_lines(), [f"drop one.mp4|{first}|0", f"drop two.mp4|{second}|0"])
        # The folder dropped with them is neither played nor listed.
        self.assertNotIn(self.folder + "|", program.read("date_f.dat").decode("gb18030"))
        self.wait(program, lambda: player_property("PlaybackStatus") == "Playing", 120, "the first file playing")
        self.assertEqual(player_property("Metadata")["xesam:title"], "drop one.mp4")
        self.assertEqual(player_property("Metadata")["xesam:url"], pathlib.Path(first).as_uri())

        # Media keys step through the local-file list, top to bottom.
        self.assertEqual((player_property("CanGoNext"), player_property("CanGoPrevious")), (True, False))
        gdbus("--method", PLAYER + ".Next")
        self.assertEqual(self.wait_logged(program, "play", 2, 30)[1], second)
        harness.wait_for(lambda: player_property("Metadata").get("xesam:url") == pathlib.Path(second).as_uri(),
                         30, "the second file's address")
        self.assertEqual((player_property("CanGoNext"), player_property("CanGoPrevious")), (False, True))
        gdbus("--method", PLAYER + ".Previous")
        self.assertEqual(self.wait_logged(program, "play", 3, 30)[2], first)
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--media")
    unittest.main(argv=argv, verbosity=2)
