"""A TCP proxy on 127.0.0.1 that makes a loopback server look like a real
network: a round-trip delay, a shared rate limit (token bucket), connections
that stall (accepted, then nothing) or are cut mid-body, and outages during
which every connection, open or new, gets nothing (or new ones are refused).
Everything can be switched while it runs, from the test's own thread.

Also a small file server with byte ranges (`FileServer`) for one folder.

Run as a program it proxies for the benchmark and reads commands on stdin:
"outage on", "outage off", "rate <bits per second>"."""

import argparse
import collections
import os
import re
import socket
import struct
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CHUNK = 16 * 1024
TYPES = {".mp4": "video/mp4", ".m3u8": "application/vnd.apple.mpegurl", ".ts": "video/mp2t"}


class TokenBucket:
    """The link's rate, shared by every connection through the proxy."""

    def __init__(self, bits_per_second):
        self.lock = threading.Lock()
        self.rate = bits_per_second / 8
        self.tokens = 0.0
        self.at = time.monotonic()

    def set_rate(self, bits_per_second):
        with self.lock:
            self.rate = bits_per_second / 8

    def take(self, count):
        """Waits until `count` bytes may go; 0 bits per second means no limit."""
        while True:
            with self.lock:
                if self.rate <= 0:
                    return
                now = time.monotonic()
                # A burst of at most 50 ms keeps the pace even.
                self.tokens = min(self.tokens + (now - self.at) * self.rate, self.rate * 0.05 + count)
                self.at = now
                if self.tokens >= count:
                    self.tokens -= count
                    return
                wait = (count - self.tokens) / self.rate
            time.sleep(wait)


class ShapingProxy:
    def __init__(self, upstream_port, delay=0.080, bits_per_second=4_000_000):
        self.upstream_port = upstream_port
        self.one_way = delay / 2
        self.bucket = TokenBucket(bits_per_second)
        self.lock = threading.Lock()
        self.link_back = threading.Condition(self.lock)
        self.outage = False
        self.refuse_in_outage = False
        self.stall_next = 0        # connections to accept and then ignore
        self.cut_after = None      # bytes of a response after which it is reset
        self.connections = 0
        self.sockets = set()
        self.closed = False
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    # -- switches ----------------------------------------------------------------
    def set_outage(self, on, refuse=False):
        with self.lock:
            self.outage = on
            self.refuse_in_outage = refuse
            if on and refuse:
                # A refused link ends what was open, as a dead route would.
                for s in list(self.sockets):
                    _reset(s)
            self.link_back.notify_all()

    def set_rate(self, bits_per_second):
        self.bucket.set_rate(bits_per_second)

    def stall_connections(self, count):
        with self.lock:
            self.stall_next = count

    def cut_responses_after(self, count):
        with self.lock:
            self.cut_after = count

    def close(self):
        with self.lock:
            self.closed = True
            self.outage = False
            self.link_back.notify_all()
            for s in list(self.sockets):
                _reset(s)
        self.listener.close()

    def url(self, path):
        return f"http://127.0.0.1:{self.port}/{path.lstrip('/')}"

    # -- the link ----------------------------------------------------------------
    def _wait_for_link(self):
        with self.lock:
            self.link_back.wait_for(lambda: not self.outage or self.closed)
            return not self.closed

    def _accept(self):
        while True:
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            with self.lock:
                self.connections += 1
                refuse = self.outage and self.refuse_in_outage
                stall = self.stall_next > 0
                if stall:
                    self.stall_next -= 1
                self.sockets.add(client)
            if refuse:
                _reset(client)
                continue
            if stall:
                continue  # held open, never answered, until close()
            threading.Thread(target=self._connect, args=(client,), daemon=True).start()

    def _connect(self, client):
        if not self._wait_for_link():
            return
        time.sleep(self.one_way * 2)  # the handshake's round trip
        try:
            server = socket.create_connection(("127.0.0.1", self.upstream_port))
        except OSError:
            _reset(client)
            return
        with self.lock:
            self.sockets.add(server)
        threading.Thread(target=self._pump, args=(client, server, False), daemon=True).start()
        self._pump(server, client, True)

    def _pump(self, source, sink, downstream):
        """Copies one direction, each chunk delivered one-way-delay late;
        the rate and the cut apply to what the server sends."""
        queue = collections.deque()
        ready = threading.Condition()
        sent = 0

        def deliver():
            nonlocal sent
            while True:
                with ready:
                    ready.wait_for(lambda: queue)
                    due, data = queue.popleft()
                if data is None:
                    _shut(sink)
                    return
                time.sleep(max(0.0, due - time.monotonic()))
                if not self._wait_for_link():
                    return
                if downstream:
                    self.bucket.take(len(data))
                    with self.lock:
                        cut = self.cut_after
                    if cut is not None and sent + len(data) > cut:
                        try:
                            sink.sendall(data[:max(0, cut - sent)])
                        except OSError:
                            pass
                        _reset(sink)
                        _reset(source)
                        return
                try:
                    sink.sendall(data)
                except OSError:
                    _reset(source)
                    return
                sent += len(data)

        threading.Thread(target=deliver, daemon=True).start()
        while True:
            try:
                data = source.recv(CHUNK)
            except OSError:
                data = b""
            with ready:
                queue.append((time.monotonic() + self.one_way, data or None))
                ready.notify()
            if not data:
                return


def _reset(s):
    """Closes with a reset, as a cut link shows itself to the other side."""
    try:
        s.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        # Wakes a thread reading it, which would otherwise hold the close.
        s.shutdown(socket.SHUT_RD)
    except OSError:
        pass
    try:
        s.close()
    except OSError:
        pass


def _shut(s):
    try:
        s.shutdown(socket.SHUT_WR)
    except OSError:
        pass


class _FileHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        relative = os.path.normpath(self.path.split("?")[0].lstrip("/"))
        if relative.startswith(".."):
            self.send_error(404)
            return
        path = os.path.join(self.server.root, relative)
        try:
            size = os.path.getsize(path)
        except OSError:
            self.send_error(404)
            return
        begin, end, partial = 0, size, False
        match = re.fullmatch(r"bytes=(\d+)-(\d*)", self.headers.get("Range", ""))
        if match and int(match.group(1)) < size:
            begin = int(match.group(1))
            end = min(size, int(match.group(2)) + 1) if match.group(2) else size
            partial = True
        self.send_response(206 if partial else 200)
        self.send_header("Content-Type", TYPES.get(os.path.splitext(path)[1], "application/octet-stream"))
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(end - begin))
        if partial:
            self.send_header("Content-Range", f"bytes {begin}-{end - 1}/{size}")
        self.end_headers()
        with open(path, "rb") as f:
            f.seek(begin)
            left = end - begin
            try:
                while left > 0:
                    data = f.read(min(left, 64 * 1024))
                    self.wfile.write(data)
                    left -= len(data)
            except OSError:
                pass


class _QuietServer(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # clients cut by the proxy are the point


class FileServer:
    """Serves the files of `root` with byte ranges, on a free loopback port."""

    def __init__(self, root):
        self.httpd = _QuietServer(("127.0.0.1", 0), _FileHandler)
        self.httpd.root = root
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True, help="folder to serve")
    parser.add_argument("--delay", type=float, default=0.080)
    parser.add_argument("--rate", type=int, default=4_000_000)
    args = parser.parse_args()
    server = FileServer(args.root)
    proxy = ShapingProxy(server.port, args.delay, args.rate)
    print(f"listening {proxy.port}", flush=True)
    for line in sys.stdin:
        words = line.split()
        if words == ["outage", "on"]:
            proxy.set_outage(True)
        elif words == ["outage", "off"]:
            proxy.set_outage(False)
        elif len(words) == 2 and words[0] == "rate":
            proxy.set_rate(int(words[1]))
        print("ok", flush=True)
    proxy.close()
    server.close()


if __name__ == "__main__":
    main()
