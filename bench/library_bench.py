#!/usr/bin/env python3
"""The service's library on a generated collection, in one run: 10,000
files in 500 series folders (two ffmpeg-made clips hard-linked under many
names), from a first start with no index to a restart over the index:
  - first page: from the start until the home page answers;
  - full index: until the scan, the probes and the poster frames are done;
  - home page of every title: the time to serve it, median of 10;
  - restart: until the home page answers again, with every title on it;
  - a new file: until its title is on the home page;
  - idle CPU: the service's user+sys time over 5 s with nothing changing;
  - RSS: the service's resident set at the end and at its peak.
Figures only: nothing here passes or fails.

Usage: bench/library_bench.py [--build DIR] [--folders N] [--files-per-folder N]"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "gui"))
from harness import wait_for  # noqa: E402


def make_clip(path, seconds, container):
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", f"testsrc=size=640x360:rate=25:duration={seconds}",
                    "-f", "lavfi", "-i", f"sine=duration={seconds}",
                    "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac",
                    "-shortest", "-f", container, path], check=True)


def make_collection(root, clips, folders, per_folder):
    for f in range(folders):
        folder = os.path.join(root, f"剧集{f:03d}")
        os.makedirs(folder)
        for e in range(per_folder):
            clip = clips[(f + e) % len(clips)]
            os.link(clip, os.path.join(folder, f"剧集{f:03d}.S01E{e + 1:02d}.1080p{os.path.splitext(clip)[1]}"))


class Service:
    def __init__(self, binary, library, home):
        self.log = open(os.path.join(home, "service.log"), "ab")
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                   XDG_DATA_HOME=os.path.join(home, "data"), XDG_CACHE_HOME=os.path.join(home, "cache"))
        self.started = time.monotonic()
        self.process = subprocess.Popen([binary, "--port", "0", "--library", library],
                                        stdout=subprocess.PIPE, stderr=self.log, env=env)
        line = self.process.stdout.readline().decode()
        self.base = line.split("listening on ", 1)[1].strip()

    def get(self, path=""):
        with urllib.request.urlopen(self.base + path, timeout=30) as reply:
            return reply.read()

    def page(self):
        return self.get().decode("gb18030")

    def titles(self):
        return len(re.findall(r'class="card lib-card"', self.page()))

    def scanning(self):
        return bool(self.get("library/progress"))

    def cpu_seconds(self):
        with open(f"/proc/{self.process.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def memory_kib(self, key):
        with open(f"/proc/{self.process.pid}/status") as f:
            for line in f:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
        return 0

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(30)
        self.log.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "release"))
    parser.add_argument("--folders", type=int, default=500)
    parser.add_argument("--files-per-folder", type=int, default=20)
    args = parser.parse_args()
    binary = os.path.join(args.build, "app", "taviro-service")
    work = tempfile.mkdtemp(prefix="taviro-library-bench-")
    services = []
    try:
        clips = [os.path.join(work, "a.mp4"), os.path.join(work, "b.mkv")]
        make_clip(clips[0], 10, "mp4")
        make_clip(clips[1], 10, "matroska")
        library = os.path.join(work, "library")
        make_collection(library, clips, args.folders, args.files_per_folder)
        home = os.path.join(work, "home")
        os.makedirs(home)
        rows = []

        service = Service(binary, library, home)
        services.append(service)
        service.get()
        rows.append(("first page after a first start", time.monotonic() - service.started, "s"))
        # The page of every title is large: it is asked for only once the scan says it is done.
        wait_for(lambda: not service.scanning() and service.titles() >= args.folders, 900, "the full index")
        rows.append(("full index (scan, probes, posters)", time.monotonic() - service.started, "s"))
        timings = []
        for _ in range(10):
            began = time.monotonic()
            service.get()
            timings.append(time.monotonic() - began)
        rows.append((f"home page of {service.titles()} titles, median of 10", statistics.median(timings) * 1000,
                     "ms"))
        before = service.cpu_seconds()
        time.sleep(5)  # the measure itself: CPU over a quiet span
        rows.append(("CPU over 5 s with nothing changing", service.cpu_seconds() - before, "s"))
        folder = os.path.join(library, "新来的剧")
        os.makedirs(folder)
        began = time.monotonic()
        os.link(clips[0], os.path.join(folder, "新来的剧.mp4"))
        wait_for(lambda: "新来的剧" in service.page(), 60, "the new file")
        rows.append(("a new file on the home page", time.monotonic() - began, "s"))
        rows.append(("RSS at the end of the first run", service.memory_kib("VmRSS") / 1024, "MiB"))
        rows.append(("peak RSS of the first run", service.memory_kib("VmHWM") / 1024, "MiB"))
        service.stop()

        service = Service(binary, library, home)
        services.append(service)
        wait_for(lambda: service.titles() > args.folders, 60, "every title after the restart")
        rows.append(("restart: home page with every title", time.monotonic() - service.started, "s"))
        wait_for(lambda: not service.scanning(), 120, "the restart's scan")
        rows.append(("restart: scan done, nothing probed again", time.monotonic() - service.started, "s"))
        rows.append(("peak RSS after the restart", service.memory_kib("VmHWM") / 1024, "MiB"))
        service.stop()

        files = args.folders * args.files_per_folder
        print(f"| library of {files} files in {args.folders} folders | value |")
        print("|---|---|")
        for name, value, unit in rows:
            print(f"| {name} | {value:.2f} {unit} |")
    finally:
        for service in services:
            if service.process.poll() is None:
                service.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
