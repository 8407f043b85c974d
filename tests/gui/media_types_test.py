"""Every media type the desktop file claims plays: for each, ffmpeg makes a
small sample that the desktop itself takes for that type, and the running
program is handed it as "Open with" would and must open it and run its
clock (read through the media controls on the session bus)."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio  # noqa: E402

import harness  # noqa: E402
from desktop_test import player_property, name_owned  # noqa: E402

ARGS = None
SECONDS = 4
VIDEO = ["-f", "lavfi", "-i", f"testsrc=size=176x144:rate=25:duration={SECONDS}"]
SOUND = ["-f", "lavfi", "-i", f"sine=frequency=440:sample_rate=48000:duration={SECONDS}"]
# Claimed type: (file name extension, whether it carries a picture, ffmpeg's output options).
RECIPES = {
    "video/mp4": ("mp4", True, "-c:v libx264 -c:a aac"),
    "video/x-m4v": ("m4v", True, "-f mp4 -c:v libx264 -c:a aac"),
    "video/x-matroska": ("mkv", True, "-c:v libx264 -c:a aac"),
    "video/webm": ("webm", True, "-c:v libvpx -c:a libvorbis"),
    "video/x-msvideo": ("avi", True, "-c:v mpeg4 -c:a mp2"),
    "video/avi": ("avi", True, "-c:v mpeg4 -c:a mp2"),
    "video/quicktime": ("mov", True, "-c:v libx264 -c:a aac"),
    "video/mpeg": ("mpg", True, "-f mpeg -c:v mpeg2video -c:a mp2"),
    "video/mp2t": ("ts", True, "-c:v mpeg2video -c:a mp2"),
    "video/x-flv": ("flv", True, "-c:v flv -c:a libmp3lame -ar 44100"),
    "video/x-ms-wmv": ("wmv", True, "-f asf -c:v wmv2 -c:a wmav2"),
    "video/x-ms-asf": ("asf", True, "-c:v wmv2 -c:a wmav2"),
    "video/3gpp": ("3gp", True, "-c:v h263 -c:a aac -ac 1 -ar 8000"),
    "video/3gpp2": ("3g2", True, "-c:v h263 -c:a aac -ac 1 -ar 8000"),
    "video/ogg": ("ogv", True, "-c:v libtheora -c:a libvorbis"),
    "video/x-ogm+ogg": ("ogm", True, "-f ogg -c:v libtheora -c:a libvorbis"),
    "video/dv": ("dv", True, "-f dv -c:v dvvideo -s 720x480 -r 30000/1001 -pix_fmt yuv411p -c:a pcm_s16le -ac 2"),
    "video/vnd.rn-realvideo": ("rv", True, "-f rm -c:v rv10 -c:a ac3"),
    "application/vnd.rn-realmedia": ("rm", True, "-c:v rv20 -c:a ac3"),
    "audio/mpeg": ("mp3", False, "-c:a libmp3lame"),
    "audio/mp4": ("m4a", False, "-c:a aac"),
    "audio/x-m4a": ("m4a", False, "-c:a aac"),
    "audio/aac": ("aac", False, "-f adts -c:a aac"),
    "audio/flac": ("flac", False, "-c:a flac"),
    "audio/x-flac": ("flac", False, "-c:a flac"),
    "audio/ogg": ("oga", False, "-f ogg -c:a libvorbis"),
    "audio/x-vorbis+ogg": ("ogg", False, "-c:a libvorbis"),
    "audio/x-opus+ogg": ("opus", False, "-c:a libopus"),
    "audio/wav": ("wav", False, "-c:a pcm_s16le"),
    "audio/x-wav": ("wav", False, "-c:a pcm_s16le"),
    "audio/x-ms-wma": ("wma", False, "-f asf -c:a wmav2"),
    "audio/x-matroska": ("mka", False, "-c:a libvorbis"),
    "audio/vnd.rn-realaudio": ("ra", False, "-f rm -c:a ac3"),
}


def claimed_types():
    with open(ARGS.desktop_file, encoding="utf-8") as f:
        for line in f:
            if line.startswith("MimeType="):
                return [t for t in line.strip()[len("MimeType="):].split(";") if t]
    return []


class MediaTypesTest(harness.SharedDemoServiceTest):
    def make_sample(self, folder, number, media_type):
        extension, picture, options = RECIPES[media_type]
        # Short enough for the control bar's title, which is what the media
        # controls report for a file without tags.
        path = os.path.join(folder, f"sample-{number:02d}.{extension}")
        inputs = VIDEO + SOUND if picture else SOUND
        subprocess.run(["ffmpeg", "-loglevel", "error", "-y", *inputs, *options.split(), path],
                       check=True, timeout=120)
        with open(path, "rb") as f:
            guessed, _ = Gio.content_type_guess(path, f.read(65536))
        # Named as the file manager names it, so "Open with" offers the program.
        self.assertTrue(Gio.content_type_is_a(guessed, media_type), f"{path} is taken for {guessed}")
        return path

    def test_every_claimed_type_plays(self):
        types = claimed_types()
        self.assertGreater(len(types), 10)
        self.assertEqual([t for t in types if t not in RECIPES], [], "claimed types without a sample")
        folder = tempfile.mkdtemp(prefix="taviro-types-")
        self.addCleanup(shutil.rmtree, folder, True)
        samples = {t: self.make_sample(folder, number, t) for number, t in enumerate(types)}
        print(f"{len(samples)} samples made", file=sys.stderr, flush=True)

        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start()
        program.window_id(120)
        harness.wait_for(name_owned, 60, "the MPRIS name on the session bus")
        failed = []
        for media_type, path in samples.items():
            code, _, errors = program.start_again(path)
            self.assertEqual(code, 0, errors)
            name = os.path.basename(path)

            def running():
                metadata = player_property("Metadata")
                return (metadata.get("xesam:title") == name and metadata.get("mpris:length", 0) > 0
                        and player_property("Position") > 0)
            try:
                harness.wait_for(running, 30, f"{name} to play")
                print(f"{media_type}: plays", file=sys.stderr, flush=True)
            except harness.Timeout:
                print(f"{media_type}: does not play", file=sys.stderr, flush=True)
                failed.append(media_type)
        self.assertEqual(failed, [], program.log()[-3000:])
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--desktop-file")
    unittest.main(argv=argv, verbosity=2)
