#!/usr/bin/env python3
"""Taviro and plain mpv side by side on the same shaped loopback link (the
tests' shaping proxy in front of a file server with byte ranges), in one
run under one Xvfb:
  - first frame of a progressive file and of an HLS programme, seen on
    screen as bench/compare_players.sh sees it (the picture of a solid red
    clip found by bench/screen_area.py), median of several runs, 80 ms and
    4 Mbit/s;
  - after a 10 s outage in the middle of play, seconds from the link's
    return until the picture moves again (a small square at the picture's
    centre changes), median of several runs;
  - the CPU of taviro's helper (user+sys, percent of one core) while it
    saves a clip of about 6 Mbit/s that plays through an 8 Mbit/s link.
Prints a markdown table.

Usage: bench/stream_bench.py [--taviro PATH] [--helper PATH] [--runs N] [--rows progressive,hls,outage,cpu]
                             [--direct]
--direct adds taviro without its helper (web addresses played straight).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(ROOT, "tests", "gui"))
from shaping_proxy import FileServer, ShapingProxy  # noqa: E402

DELAY = 0.080
RATE = 4_000_000
CPU_RATE = 8_000_000
OUTAGE = 10
AREA = (784, 541)


def arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--taviro", default=os.path.join(ROOT, "build/release/app/taviro"))
    parser.add_argument("--helper", default=os.path.join(ROOT, "build/release/app/Qvod/QvodTerminal.exe"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--rows", default="progressive,hls,outage,cpu")
    parser.add_argument("--direct", action="store_true", help="also taviro without its helper")
    return parser.parse_args()


def ffmpeg(*args):
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", *args], check=True)


def make_media(folder):
    """A red clip (file and HLS programme) for the first frame; moving,
    noisy clips of about 3 and 6 Mbit/s for the outage and the CPU."""
    red = ["-f", "lavfi", "-i", "color=c=red:size=640x360:rate=25:duration=20",
           "-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-g", "50"]
    ffmpeg(*red, "-movflags", "+faststart", os.path.join(folder, "red.mp4"))
    os.makedirs(os.path.join(folder, "hls"), exist_ok=True)
    ffmpeg(*red, "-f", "hls", "-hls_time", "2", "-hls_playlist_type", "vod",
           os.path.join(folder, "hls", "index.m3u8"))
    for name, rate, seconds in (("moving.mp4", "3M", 60), ("heavy.mp4", "6M", 40)):
        ffmpeg("-f", "lavfi", "-i", f"testsrc2=size=640x360:rate=25:duration={seconds},noise=alls=30:allf=t",
               "-c:v", "libx264", "-preset", "ultrafast", "-b:v", rate, "-maxrate", rate, "-bufsize", "2M",
               "-g", "25", "-pix_fmt", "yuv420p", "-movflags", "+faststart", os.path.join(folder, name))


class Players:
    """Starts taviro (in a fresh folder, with or without its helper) or mpv
    on an address; one at a time."""

    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.process = None
        self.app = None

    def start(self, name, url):
        log = open(os.path.join(self.work, f"{name}.log"), "ab")
        if name == "mpv":
            self.process = subprocess.Popen(
                ["mpv", "--no-config", "--ao=null", f"--geometry={AREA[0]}x{AREA[1]}+0+0", "--no-border",
                 "--osc=no", "--osd-level=0", "--really-quiet", url], stdout=log, stderr=log)
            return
        self.app = tempfile.mkdtemp(prefix="taviro-", dir=self.work)
        shutil.copy2(self.args.taviro, os.path.join(self.app, "taviro"))
        shutil.copy2(os.path.join(ROOT, "data", "i.gif"), os.path.join(self.app, "i.gif"))
        with open(os.path.join(self.app, "config.dll"), "w") as f:
            f.write(f"[S_q]\ns_size=2\nh_w={(AREA[0] + 206) * 15}\nh_h={(AREA[1] + 114) * 15}\n")
        # "taviro-direct": without its helper, the program plays web
        # addresses straight from the network.
        if name == "taviro":
            os.makedirs(os.path.join(self.app, "Qvod"))
            shutil.copy2(self.args.helper, os.path.join(self.app, "Qvod", "QvodTerminal.exe"))
        env = dict(os.environ, TAVIRO_DEBUG="1", HOME=self.app, TAVIRO_INSTANCE=os.path.basename(self.app))
        self.process = subprocess.Popen([os.path.join(self.app, "taviro"), url], stdout=log, stderr=log, env=env)

    def helper_pid(self):
        wanted = os.path.realpath(os.path.join(self.app, "Qvod", "QvodTerminal.exe"))
        for entry in os.listdir("/proc"):
            try:
                if entry.isdigit() and os.readlink(f"/proc/{entry}/exe") == wanted:
                    return int(entry)
            except OSError:
                pass
        return None

    def stop(self):
        helper = self.helper_pid() if self.app else None
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if helper:
            try:
                os.kill(helper, 15)
            except OSError:
                pass
        self.process = None
        self.app = None


def screen_ppm():
    return subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                          capture_output=True).stdout


def red_picture():
    """(w, h, x, y) of the red picture on screen, or nothing."""
    found = subprocess.run([sys.executable, os.path.join(HERE, "screen_area.py")], input=screen_ppm(),
                           capture_output=True).stdout.decode().split()
    return tuple(map(int, found[1:5])) if found else None


def red_at(x, y):
    """Whether the screen's pixel is red: one pixel read, so polls are quick."""
    rgb = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "+repage", "-depth", "8", "rgb:-"],
                         capture_output=True).stdout
    return len(rgb) >= 3 and rgb[0] >= 160 and rgb[1] < 96 and rgb[2] < 96


def calibrate(players, name, url):
    """Where the player shows its picture: found once, on the red clip."""
    players.start(name, url)
    try:
        return wait_for(red_picture, 60)
    finally:
        players.stop()


def first_frame(players, name, url, picture):
    """Seconds from launch until the centre of the picture turns red."""
    w, h, x, y = picture
    began = time.monotonic()
    players.start(name, url)
    try:
        while time.monotonic() - began < 60:
            if red_at(x + w // 2, y + h // 2):
                return time.monotonic() - began
            time.sleep(0.05)
        return None
    finally:
        players.stop()


def centre_square(picture):
    w, h, x, y = picture
    crop = f"48x48+{x + w // 2 - 24}+{y + h // 2 - 24}"
    return subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "rgb:-"],
                          capture_output=True).stdout


def wait_for(predicate, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    return None


def moving_again(players, proxy, name, url, picture):
    """Seconds from the link's return until the picture's centre changes
    after having stood still; 0 when it never stood still."""
    players.start(name, url)
    try:
        last = [centre_square(picture)]

        def changed():
            now = centre_square(picture)
            moved = now != last[0]
            last[0] = now
            return moved
        # Play under way for a few seconds.
        if not wait_for(changed, 60):
            return None
        time.sleep(3)
        proxy.set_outage(True)
        began = time.monotonic()
        still_since = None
        while time.monotonic() - began < OUTAGE:
            still_since = None if changed() else (still_since or time.monotonic())
            time.sleep(0.1)
        proxy.set_outage(False)
        back = time.monotonic()
        if still_since is None or back - still_since < 0.5:
            return 0.0
        if not wait_for(changed, 60):
            return None
        return time.monotonic() - back
    finally:
        proxy.set_outage(False)
        players.stop()


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def helper_cpu(players, url, span=10):
    """Percent of a core the helper uses while the clip plays and saves."""
    players.start("taviro", url)
    try:
        pid = wait_for(players.helper_pid, 60)
        if not pid:
            return None
        time.sleep(3)
        hz = os.sysconf("SC_CLK_TCK")
        t0, c0 = time.monotonic(), cpu_ticks(pid)
        time.sleep(span)
        t1, c1 = time.monotonic(), cpu_ticks(pid)
        return 100 * (c1 - c0) / hz / (t1 - t0)
    finally:
        players.stop()


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def cell(value, digits=2):
    return "n/a" if value is None else f"{value:.{digits}f}"


def main():
    args = arguments()
    if not os.environ.get("TAVIRO_BENCH_INNER"):
        os.execvpe("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x800x24 -noreset", "dbus-run-session", "--",
                                sys.executable, *sys.argv], dict(os.environ, TAVIRO_BENCH_INNER="1"))
    if not shutil.which("mpv"):
        sys.exit("plain mpv is needed: apt-get install mpv")
    rows = args.rows.split(",")
    work = tempfile.mkdtemp(prefix="taviro-stream-bench-")
    media = os.path.join(work, "media")
    os.makedirs(media)
    make_media(media)
    server = FileServer(media)
    proxy = ShapingProxy(server.port, DELAY, RATE)
    players = Players(args, work)
    table = []
    try:
        names = ("taviro", "taviro-direct", "mpv") if args.direct else ("taviro", "mpv")
        pictures = {name: calibrate(players, name, proxy.url("red.mp4")) for name in names}
        print(f"pictures: {pictures}", file=sys.stderr, flush=True)
        for row, path in (("progressive", "red.mp4"), ("hls", "hls/index.m3u8")):
            if row not in rows:
                continue
            # Turn about, so that a load that comes and goes on a shared
            # machine falls on every player alike.
            runs = {name: [] for name in names if pictures[name]}
            for _ in range(args.runs):
                for name in runs:
                    runs[name].append(first_frame(players, name, proxy.url(path), pictures[name]))
            figures = {}
            for name, times in runs.items():
                print(f"first frame {row} {name}: {times}", file=sys.stderr, flush=True)
                figures[name] = median(times)
            table.append((f"first frame, {row} (s)", figures))
        if "outage" in rows:
            figures = {}
            for name in names:
                picture = pictures[name]
                runs = [moving_again(players, proxy, name, proxy.url("moving.mp4"), picture)
                        for _ in range(max(1, args.runs // 2))] if picture else []
                print(f"moving again {name}: {runs}", file=sys.stderr, flush=True)
                figures[name] = median(runs)
            table.append((f"picture moves after a {OUTAGE} s outage (s after return)", figures))
        if "cpu" in rows:
            proxy.set_rate(CPU_RATE)
            runs = [helper_cpu(players, proxy.url("heavy.mp4")) for _ in range(3)]
            print(f"helper CPU: {runs}", file=sys.stderr, flush=True)
            table.append(("helper saving at 8 Mbit/s (% of a core)", {"taviro": median(runs), "mpv": None}))
    finally:
        players.stop()
        proxy.close()
        server.close()
        shutil.rmtree(work, ignore_errors=True)
    print(f"\nLink: {int(DELAY * 1000)} ms round trip, {RATE // 1_000_000} Mbit/s (CPU row: "
          f"{CPU_RATE // 1_000_000} Mbit/s); medians of {args.runs} runs\n")
    direct = " taviro without helper |" if args.direct else ""
    print(f"| measure | taviro |{direct} mpv | taviro/mpv |")
    print("|---|---|---|---|" + ("---|" if args.direct else ""))
    for label, figures in table:
        t, m = figures.get("taviro"), figures.get("mpv")
        ratio = cell(t / m) if t is not None and m else "n/a"
        middle = f" {cell(figures.get('taviro-direct'))} |" if args.direct else ""
        print(f"| {label} | {cell(t)} |{middle} {cell(m)} | {ratio} |")


if __name__ == "__main__":
    main()
