"""The real program and the real download helper on a machine shared with
another user: a system account this test makes and removes (it needs
root, and is skipped otherwise). That user squats the helper's socket name,
reads and floods the helper's loopback server, and plants a link in a save
folder both may write to."""

import http.server
import os
import pwd
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import download_test
import harness
from download_test import FIRST, PLAYING, DownloadFixture, helper_pids

ARGS = None
OTHER = f"taviro-t{os.getpid()}"

# Answers every request on the helper's socket name with `answer`.
SQUATTER = r"""
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.bind("\0" + sys.argv[1])
s.listen(64)
print("listening", flush=True)
while True:
    c, _ = s.accept()
    c.recv(8192)
    print("asked", flush=True)
    try:
        c.sendall(sys.argv[2].encode())
    except OSError:
        pass
    c.close()
"""

# Holds `count` connections to the port, sending one byte on each when 3 s
# pass without the server answering; a connection the server closes is let
# go, and the flood ends when none is left.
FLOOD = r"""
import select, socket, sys
held = []
for _ in range(int(sys.argv[2])):
    s = socket.create_connection(("127.0.0.1", int(sys.argv[1])))
    s.send(b"G")
    held.append(s)
print("holding", flush=True)
while held:
    answered, _, _ = select.select(held, [], [], 3)
    for s in answered:
        try:
            closed = not s.recv(4096)
        except OSError:
            closed = True
        if closed:
            held.remove(s)
            s.close()
    for s in held:
        try:
            s.send(b"E")
        except OSError:
            pass
"""

# Asks for a path, through the address given, and prints what came back.
READ = r"""
import socket, sys
s = socket.create_connection((sys.argv[3], int(sys.argv[1])), timeout=20)
s.sendall(("GET " + sys.argv[2] + " HTTP/1.1\r\nHost: 127.0.0.1:" + sys.argv[1] + "\r\n\r\n").encode())
got = b""
try:
    while True:
        part = s.recv(65536)
        if not part:
            break
        got += part
except OSError:
    pass
sys.stdout.write(repr(got[:200]))
"""


def fnv1a(text):
    value = 0xCBF29CE484222325
    for byte in text.encode():
        value = ((value ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return value


def helper_socket_name(app_dir):
    """The abstract name both sides use without a private runtime folder."""
    folder = os.path.realpath(os.path.join(app_dir, "Qvod"))
    return f"taviro-helper-{os.getuid()}-{fnv1a(folder):016x}"


def listening_port(pid):
    """The loopback TCP port the process `pid` listens on."""
    inodes = set()
    for name in os.listdir(f"/proc/{pid}/fd"):
        try:
            target = os.readlink(f"/proc/{pid}/fd/{name}")
        except OSError:
            continue
        if target.startswith("socket:["):
            inodes.add(target[len("socket:["):-1])
    with open("/proc/net/tcp") as table:
        for line in table.read().splitlines()[1:]:
            fields = line.split()
            if fields[3] == "0A" and fields[9] in inodes:
                return int(fields[1].split(":")[1], 16)
    return None


class Trap(http.server.ThreadingHTTPServer):
    """Where a squatter sends the player: it counts who comes."""
    daemon_threads = True

    def __init__(self):
        self.asked = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(handler):
                self.asked.append(handler.path)
                handler.send_error(404)

        super().__init__(("127.0.0.1", 0), Handler)


class OtherUserTest(DownloadFixture):
    @classmethod
    def setUpClass(cls):
        if os.geteuid() != 0:
            raise unittest.SkipTest("needs root to make a second account")
        subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", OTHER],
                       check=True)
        cls.other = pwd.getpwnam(OTHER)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["userdel", OTHER], check=False)

    def as_other(self, script, *args):
        """A Python script run as the other user; stopped by its id at the end."""
        process = subprocess.Popen([sys.executable, "-c", script, *map(str, args)], stdout=subprocess.PIPE,
                                   text=True, user=self.other.pw_uid, group=self.other.pw_gid, extra_groups=[],
                                   cwd="/")
        self.addCleanup(lambda: (process.kill(), process.wait(), process.stdout.close()))
        lines = []
        threading.Thread(target=lambda: [lines.append(line.strip()) for line in process.stdout],
                         daemon=True).start()
        return process, lines

    def private_runtime_folder(self):
        folder = tempfile.mkdtemp(prefix="taviro-run-")
        old = os.environ.get("XDG_RUNTIME_DIR")
        os.environ["XDG_RUNTIME_DIR"] = folder

        def restore():
            if old is None:
                os.environ.pop("XDG_RUNTIME_DIR", None)
            else:
                os.environ["XDG_RUNTIME_DIR"] = old
            subprocess.run(["rm", "-rf", folder], check=False)
        self.addCleanup(restore)

    def open_to_other(self, program):
        # The other user may pass through the application folder (to the
        # save folder), not read it.
        os.chmod(program.app_dir, 0o711)

    def test_a_squatter_on_the_helpers_name_gets_no_request_and_chooses_nothing(self):
        trap = Trap()
        threading.Thread(target=trap.serve_forever, daemon=True).start()
        self.addCleanup(trap.shutdown)
        program = harness.Program(ARGS.program, ARGS.icon)
        answer = f"ok\thttp://127.0.0.1:{trap.server_address[1]}/evil.mp4\n"
        squatter, said = self.as_other(SQUATTER, helper_socket_name(program.app_dir), answer)
        harness.wait_for(lambda: "listening" in said, 30, "the squatter")
        self.private_runtime_folder()
        self.serve(400_000)
        program, window = self.start(program)
        screen, address = self.play_episode(program, window, FIRST)
        screen.wait_label(lambda text: text.startswith(PLAYING), "the status 播放中", 60)
        self.assertNotIn("asked", said)
        self.assertEqual(trap.asked, [])

    def test_without_a_runtime_folder_a_squatter_on_the_name_anyone_can_work_out_stops_nothing(self):
        old = os.environ.pop("XDG_RUNTIME_DIR", None)
        if old is not None:
            self.addCleanup(os.environ.__setitem__, "XDG_RUNTIME_DIR", old)
        self.serve(400_000)
        program = harness.Program(ARGS.program, ARGS.icon)
        squatter, said = self.as_other(SQUATTER, helper_socket_name(program.app_dir), "error\tbusy\n")
        harness.wait_for(lambda: "listening" in said, 30, "the squatter")
        address = harness.media_of(download_test.SERIES, 0, FIRST)
        path = self.saved(program, address)
        program, window = self.start(program)
        self.play_episode(program, window, FIRST)
        harness.wait_for(lambda: os.path.exists(path), 120, "the download")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), self.source_bytes(address))
        self.assertNotIn("asked", said)

    def test_another_user_neither_reads_the_helpers_items_nor_starves_its_server(self):
        self.serve(100_000)
        program = harness.Program(ARGS.program, ARGS.icon)
        program, window = self.start(program)
        harness.wait_for(lambda: helper_pids(program.app_dir), 60, "the helper")
        screen, address = self.play_episode(program, window, FIRST)
        first = screen.wait_label(lambda text: text.startswith(PLAYING), "the status 播放中", 60)
        port = listening_port(helper_pids(program.app_dir)[0])
        self.assertTrue(port)
        name = os.path.basename(self.saved(program, address))
        reader, read = self.as_other(READ, port, "/item/" + name, "127.0.0.1")
        reader.wait(60)
        self.assertNotIn("200 OK", "".join(read))
        self.assertNotIn("206 Partial", "".join(read))
        # Nor through an IPv6 socket holding the IPv4 address: not a word.
        reader, read = self.as_other(READ, port, "/item/" + name, "::ffff:127.0.0.1")
        harness.wait_for(lambda: read, 60, "the reader's answer")
        self.assertEqual(read, ["b''"])
        # Far more slow connections than the helper has room for.
        flood, held = self.as_other(FLOOD, port, 40)
        harness.wait_for(lambda: "holding" in held or flood.poll() is not None, 30, "the flood")
        # The player opens a new connection for the next episode.
        self.play_episode(program, window, FIRST + 1)
        screen.wait_label(lambda text: text.startswith(PLAYING) and text != first, "the next one playing", 90)

    def test_a_link_planted_in_a_shared_save_folder_is_neither_served_nor_followed(self):
        self.serve(400_000)
        program = harness.Program(ARGS.program, ARGS.icon)
        self.open_to_other(program)
        media = os.path.join(program.app_dir, "Media")
        os.makedirs(media)
        os.chmod(media, 0o777)  # a group's folder: no sticky bit protects names
        secret = os.path.join(program.app_dir, "secret")
        with open(secret, "wb") as f:
            f.write(b"the user's private bytes")
        os.chmod(secret, 0o600)
        address = harness.media_of(download_test.SERIES, 0, FIRST)
        path = self.saved(program, address)
        planter, _ = self.as_other(
            "import os, sys; os.symlink(sys.argv[1], sys.argv[2]); os.symlink(sys.argv[1], sys.argv[2] + '.part')",
            secret, path)
        planter.wait(30)
        self.assertTrue(os.path.islink(path))
        program, window = self.start(program)
        self.play_episode(program, window, FIRST)
        harness.wait_for(lambda: not os.path.islink(path) and os.path.exists(path), 120,
                         "the download under its own name")
        with open(path, "rb") as f:
            self.assertEqual(f.read(), self.source_bytes(address))
        with open(secret, "rb") as f:
            self.assertEqual(f.read(), b"the user's private bytes")


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments("--media", "--helper")
    download_test.ARGS = ARGS
    unittest.main(argv=rest, verbosity=2)
