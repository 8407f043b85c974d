#!/usr/bin/env python3
"""The download helper next to plain clients, in one run on loopback:
  - throughput: the helper downloading a large file vs curl saving it into
    the same folder (the goal's measure: both write the file), the same
    followed by an fsync (as the helper syncs before the final name), and
    curl throwing it away (what the network side alone allows); medians of
    several runs, taken in turn, as the machine's load moves;
  - first frame: ffmpeg decoding the first frame of a clip through the
    helper's loopback address (the play request included) vs the service's
    address directly (median of several runs, fresh download each time);
  - CPU: the helper's user+sys time while the clip streams at its own bit
    rate through it.
Figures only: nothing here passes or fails.

Usage: bench/helper_benchmark.py [--build DIR] [--megabytes N] [--runs N]"""

import argparse
import os
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def socket_name(folder):
    value = 0xcbf29ce484222325
    for byte in folder.encode():
        value = ((value ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return "\0taviro-helper-%d-%016x" % (os.getuid(), value)


def ask(folder, *fields):
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
        s.connect(socket_name(os.path.realpath(folder)))
        s.sendall("\t".join(fields).encode() + b"\n")
        reply = b""
        while not reply.endswith(b"\n"):
            chunk = s.recv(4096)
            if not chunk:
                break
            reply += chunk
    return reply.decode().rstrip("\n").split("\t")


def wait(predicate, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.01)
    raise RuntimeError("gave up waiting for " + what)


class Helper:
    def __init__(self, binary, root):
        self.app = os.path.join(root, "app")
        self.folder = os.path.join(self.app, "Qvod")
        os.makedirs(self.folder, exist_ok=True)
        shutil.copy2(binary, os.path.join(self.folder, "QvodTerminal.exe"))
        self.save = os.path.join(self.app, "Media")
        self.process = None

    def start(self):
        env = dict(os.environ, HOME=self.app)
        env.pop("TAVIRO_DEBUG", None)
        # Without a runtime folder the helper listens on the abstract name.
        env.pop("XDG_RUNTIME_DIR", None)
        self.process = subprocess.Popen([os.path.join(self.folder, "QvodTerminal.exe")], env=env)

        def answers():
            try:
                return ask(self.folder, "status", "http://x/none")[0] == "error"
            except OSError:
                return False
        wait(answers, 10, "the helper")

    def cpu_seconds(self):
        with open(f"/proc/{self.process.pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(30)

    def forget(self):
        shutil.rmtree(self.save, ignore_errors=True)


def first_frame(address):
    # A deadline, so that a stalled read shows where it stalled.
    subprocess.run(["ffmpeg", "-v", "error", "-i", address, "-frames:v", "1", "-f", "null", "-"], check=True,
                   timeout=120)


def timed(command):
    began = time.monotonic()
    subprocess.run(command, check=True, timeout=300)
    return time.monotonic() - began


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "dev"))
    parser.add_argument("--megabytes", type=int, default=200)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    sys.stdout.reconfigure(line_buffering=True)  # each figure shows as soon as it is known
    build = os.path.abspath(args.build)
    root = tempfile.mkdtemp(prefix="taviro-bench-")
    media = os.path.join(root, "media")
    shutil.copytree(os.path.join(build, "service", "media"), media)
    with open(os.path.join(media, "large.bin"), "wb") as f:
        f.write(os.urandom(args.megabytes << 20))
    service = subprocess.Popen([os.path.join(build, "app", "taviro-service"), "--port", "0",
                                "--media", media], stdout=subprocess.PIPE, text=True)
    helper = Helper(os.path.join(build, "app", "Qvod", "QvodTerminal.exe"), root)
    try:
        base = service.stdout.readline().split()[-1]
        helper.start()
        large = base + "qvod/large.bin"

        discarded, saved, synced, helped = [], [], [], []
        for _ in range(args.runs):
            discarded.append(timed(["curl", "-s", "-o", os.devnull, large]))
            os.makedirs(helper.save, exist_ok=True)
            copy = os.path.join(helper.save, "curl-copy.bin")
            saved.append(timed(["curl", "-s", "-o", copy, large]))
            os.unlink(copy)
            began = time.monotonic()
            subprocess.run(["curl", "-s", "-o", copy, large], check=True, timeout=300)
            with open(copy, "rb") as f:
                os.fsync(f.fileno())
            synced.append(time.monotonic() - began)
            os.unlink(copy)
            # A fresh helper each time: the one before has the item already.
            helper.stop()
            helper.forget()
            helper.start()
            began = time.monotonic()
            ask(helper.folder, "prebuffer", large, base)
            wait(lambda: os.path.exists(os.path.join(helper.save, "large.bin")), 600, "the download")
            helped.append(time.monotonic() - began)
        size = args.megabytes
        c, s, n, h = (statistics.median(v) for v in (saved, synced, discarded, helped))
        print(f"throughput   curl -o file {size / c:7.1f} MB/s   helper {size / h:7.1f} MB/s"
              f"   ratio {c / h:.2f} (goal >= 0.9)")
        # The helper syncs a file before it takes its final name; curl does not.
        print(f"             curl -o file + fsync {size / s:7.1f} MB/s   ratio {s / h:.2f}")
        print(f"             curl to /dev/null {size / n:7.1f} MB/s   ratio {n / h:.2f}"
              f"   (medians of {args.runs} runs)")
        helper.forget()

        clip = base + "qvod/sample-a.mp4"
        direct, through = [], []
        for _ in range(args.runs):
            began = time.monotonic()
            first_frame(clip)
            direct.append(time.monotonic() - began)
            # A fresh helper too: a running one still serves the item it has
            # open, whatever became of its file.
            helper.stop()
            helper.forget()
            helper.start()
            began = time.monotonic()
            served = ask(helper.folder, "play", clip, base)[1]
            first_frame(served)
            through.append(time.monotonic() - began)
        d, t = statistics.median(direct) * 1000, statistics.median(through) * 1000
        print(f"first frame  direct {d:6.0f} ms   helper {t:6.0f} ms   ratio {t / d:.2f} (goal <= 1.2)")

        helper.forget()
        helper.stop()
        helper.start()
        served = ask(helper.folder, "play", clip, base)[1]
        before, began = helper.cpu_seconds(), time.monotonic()
        subprocess.run(["ffmpeg", "-v", "error", "-re", "-i", served, "-f", "null", "-"], check=True,
                       timeout=120)
        cpu = (helper.cpu_seconds() - before) / (time.monotonic() - began) * 100
        print(f"helper CPU   {cpu:.2f} % of one core while a clip plays at its own rate")
    finally:
        helper.stop()
        service.send_signal(signal.SIGTERM)
        service.wait(30)
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
