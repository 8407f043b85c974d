"""A plain web server on 127.0.0.1 serving media the way real servers do.

Media is made once per test run by the ffmpeg command (short test pictures
with a tone, small resolution) in a temporary folder:

    media = StreamMedia()            # makes the files; media.remove() at the end
    server = StreamServer(media)     # or StreamServer(media, tls=TestCertificates())
    server.start()
    server.url("/clip.mp4")          # http://127.0.0.1:<port>/clip.mp4
    server.stop()

Paths:
    /clip.mp4                   a progressive MP4 (about 6 s)
    /hls/index.m3u8             an HLS programme, 2-second segments, ENDLIST
    /hls-aes/index.m3u8         the same, segments AES-128 encrypted
    /live.ts                    a live MPEG-TS: HTTP/1.0, no length, never ends
    /live/index.m3u8            a live HLS: a sliding playlist without ENDLIST,
                                moving on from its first request
    /go/<n>/<path>              a chain of n redirects (301, 302, 307, 308 in
                                turn) ending at /<path>
    /go-mp4                     one 302 to /clip.mp4
    /download?id=7              /clip.mp4 with Content-Disposition "clip.mp4"
    /evil/index.m3u8            a playlist naming a file:// segment
    /evil-local/index.m3u8      a playlist naming this machine's copy of
                                live.ts as a file:// segment
    /qvod/<path>                /<path>: the program lists a network task as
                                a player's by "qvod" in its address
    /dash/manifest.mpd          a DASH programme (30 s, 2-second segments)
    /radio.mp3                  a station: endless chunked MP3 at its own
                                pace, with ICY titles (STATION_TITLE) for a
                                player that asks for them (Icy-MetaData: 1)
    /icy                        a station answering "ICY 200 OK": endless
                                AAC, no length

Query switches, on any file path (combine with "&"):
    noranges=1  no byte ranges: Range is ignored, no Accept-Ranges
    nolength=1  no Content-Length, the connection closes at the end
    chunked=1   chunked transfer encoding
    gzip=1      gzip content encoding (when the client accepts it)
    type=<t>    this Content-Type instead of the right one

`server.requests` lists the paths asked for, in order, for tests that check
what reached the origin.
"""

import gzip
import http.server
import os
import shutil
import ssl
import subprocess
import tempfile
import threading
import time
import urllib.parse

FFMPEG = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-y"]
SOURCE = ["-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi", "-i", "sine=frequency=440"]
CODECS = ["-c:v", "libx264", "-preset", "ultrafast", "-g", "25", "-pix_fmt", "yuv420p", "-c:a", "aac"]
REDIRECTS = [301, 302, 307, 308]
TYPES = {
    ".mp4": "video/mp4",
    ".m3u8": "application/vnd.apple.mpegurl",
    ".ts": "video/mp2t",
    ".key": "application/octet-stream",
    ".mpd": "application/dash+xml",
    ".m4s": "video/iso.segment",
}
STATION_TITLE = "晚间新闻"
# Bytes of audio between two ICY metadata blocks, as stations send them.
ICY_INTERVAL = 8192


def _ffmpeg(*args, cwd=None):
    subprocess.run(FFMPEG + list(args), check=True, cwd=cwd, stdin=subprocess.DEVNULL)


class StreamMedia:
    """The media files, made once; `folder` holds them."""

    LIVE_SECONDS = 120
    DASH_SECONDS = 30

    def __init__(self, seconds=6):
        self.folder = tempfile.mkdtemp(prefix="taviro-streams-")
        self.seconds = seconds
        duration = ["-t", str(seconds)]
        _ffmpeg(*SOURCE, *duration, *CODECS, "-movflags", "+faststart", os.path.join(self.folder, "clip.mp4"))
        self._hls("hls")
        self._hls("hls-aes", encrypted=True)
        # A longer programme for the live channel's window to move along.
        self._hls("live", seconds=self.LIVE_SECONDS)
        # One TS, served again and again with continuous timestamps rewritten
        # by nobody: players take the jump of a live channel in their stride.
        _ffmpeg(*SOURCE, *duration, *CODECS, "-f", "mpegts", os.path.join(self.folder, "live.ts"))
        self._dash()
        self._station()
        os.makedirs(os.path.join(self.folder, "evil"))
        with open(os.path.join(self.folder, "evil", "index.m3u8"), "w") as f:
            f.write("#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2.0,\nfile:///etc/passwd\n#EXT-X-ENDLIST\n")

    def _hls(self, name, encrypted=False, seconds=None):
        folder = os.path.join(self.folder, name)
        os.makedirs(folder)
        extra = []
        if encrypted:
            with open(os.path.join(folder, "enc.key"), "wb") as f:
                f.write(os.urandom(16))
            with open(os.path.join(folder, "key_info"), "w") as f:
                f.write("enc.key\nenc.key\n")
            extra = ["-hls_key_info_file", "key_info"]
        _ffmpeg(*SOURCE, "-t", str(seconds or self.seconds), *CODECS, "-f", "hls", "-hls_time", "2",
                "-hls_playlist_type", "vod", *extra, "index.m3u8", cwd=folder)

    def _dash(self):
        folder = os.path.join(self.folder, "dash")
        os.makedirs(folder)
        _ffmpeg(*SOURCE, "-t", str(self.DASH_SECONDS), *CODECS, "-f", "dash", "-seg_duration", "2",
                "manifest.mpd", cwd=folder)

    def _station(self):
        # Constant-rate audio without tags, so that it can be sent again and
        # again as one endless stream.
        tone = ["-f", "lavfi", "-i", "sine=frequency=330", "-t", "10", "-b:a", "64k", "-ac", "1"]
        _ffmpeg(*tone, "-c:a", "libmp3lame", "-id3v2_version", "0", "-write_xing", "0",
                os.path.join(self.folder, "radio.mp3"))
        _ffmpeg(*tone, "-c:a", "aac", "-f", "adts", os.path.join(self.folder, "radio.aac"))

    def segments(self, name="hls"):
        with open(os.path.join(self.folder, name, "index.m3u8")) as f:
            return [line.strip() for line in f if line.strip() and not line.startswith("#")]

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


class TestCertificates:
    """A certificate authority and a server certificate for 127.0.0.1, made
    at test time with the openssl command. `bundle` is the authority alone,
    to stand in for the system's store; `other` is a second authority, which
    signs `untrusted_certificate` (with `untrusted_key`) for the same
    address."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="taviro-ca-")
        self.bundle = self._authority("ca")
        self.other = self._authority("other")
        with open(self._path("san.ext"), "w") as f:
            f.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n")
        self.certificate, self.key = self._server("server", "ca")
        self.untrusted_certificate, self.untrusted_key = self._server("untrusted", "other")

    def _server(self, name, authority):
        key, certificate = self._path(name + ".key"), self._path(name + ".crt")
        self._openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-subj", "/CN=127.0.0.1",
                      "-out", self._path(name + ".csr"))
        self._openssl("x509", "-req", "-in", self._path(name + ".csr"), "-CA", self._path(authority + ".crt"),
                      "-CAkey", self._path(authority + ".key"), "-CAcreateserial", "-days", "2", "-extfile",
                      self._path("san.ext"), "-out", certificate)
        return certificate, key

    def _path(self, name):
        return os.path.join(self.folder, name)

    def _openssl(self, *args):
        subprocess.run(["openssl", *args], check=True, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _authority(self, name):
        self._openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", self._path(name + ".key"),
                      "-subj", f"/CN=Taviro test {name}", "-days", "2", "-out", self._path(name + ".crt"))
        return self._path(name + ".crt")

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self._answer(head=True)

    def do_GET(self):
        self._answer(head=False)

    def _answer(self, head):
        server = self.server.owner
        parts = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(parts.query))
        path = urllib.parse.unquote(parts.path)
        server.requests.append(self.path)
        if path.startswith("/qvod/"):
            path = path[len("/qvod"):]
        try:
            if path.startswith("/go/"):
                return self._redirect_chain(path, parts.query)
            if path == "/go-mp4":
                return self._redirect(302, "/clip.mp4")
            if path == "/live.ts":
                return self._live_ts()
            if path == "/radio.mp3":
                return self._station_mp3()
            if path == "/icy":
                return self._station_icy()
            if path == "/evil-local/index.m3u8":
                local = "file://" + os.path.join(server.media.folder, "live.ts")
                text = f"#EXTM3U\n#EXT-X-TARGETDURATION:6\n#EXTINF:6.0,\n{local}\n#EXT-X-ENDLIST\n"
                return self._send_bytes(text.encode(), ".m3u8", query, head)
            if path == "/live/index.m3u8":
                return self._send_bytes(server.live_playlist().encode(), ".m3u8", query, head)
            disposition = None
            if path == "/download":
                path, disposition = "/clip.mp4", "clip.mp4"
            file = os.path.realpath(os.path.join(server.media.folder, path.lstrip("/")))
            if not file.startswith(server.media.folder + os.sep) or not os.path.isfile(file):
                return self._status(404)
            with open(file, "rb") as f:
                data = f.read()
            self._send_bytes(data, os.path.splitext(file)[1], query, head, disposition)
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            self.close_connection = True

    def _status(self, code):
        self.send_response(code)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def _redirect(self, code, location):
        self.send_response(code)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def _redirect_chain(self, path, query):
        _, _, count, rest = path.split("/", 3)
        left = int(count)
        target = f"/go/{left - 1}/{rest}" if left > 1 else "/" + rest
        if query:
            target += "?" + query
        self._redirect(REDIRECTS[left % len(REDIRECTS)], target)

    def _send_bytes(self, data, extension, query, head, disposition=None):
        status, begin, end = 200, 0, len(data)
        ranged = query.get("noranges") != "1"
        wanted = self.headers.get("Range", "")
        if ranged and wanted.startswith("bytes="):
            first, _, last = wanted[len("bytes="):].split(",")[0].partition("-")
            if first:
                begin = int(first)
                end = min(len(data), int(last) + 1) if last else len(data)
            if begin >= len(data):
                self.send_response(416)
                self.send_header("Content-Range", f"bytes */{len(data)}")
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            status = 206
        body = data[begin:end]
        gzipped = query.get("gzip") == "1" and "gzip" in self.headers.get("Accept-Encoding", "")
        if gzipped:
            body = gzip.compress(body)
        self.send_response(status)
        self.send_header("Content-Type", query.get("type", TYPES.get(extension, "application/octet-stream")))
        if ranged:
            self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            self.send_header("Content-Range", f"bytes {begin}-{end - 1}/{len(data)}")
        if gzipped:
            self.send_header("Content-Encoding", "gzip")
        if disposition:
            self.send_header("Content-Disposition", f'attachment; filename="{disposition}"')
        chunked = query.get("chunked") == "1"
        if chunked:
            self.send_header("Transfer-Encoding", "chunked")
        elif query.get("nolength") == "1":
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if head:
            return
        if chunked:
            for at in range(0, len(body), 16384):
                piece = body[at:at + 16384]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.write(b"0\r\n\r\n")
        else:
            self.wfile.write(body)

    def _live_ts(self):
        # As TV channels answer: HTTP/1.0, no length, never ending; paced at
        # about the programme's own rate so that it stays live.
        self.protocol_version = "HTTP/1.0"
        self.close_connection = True
        self.send_response(200)
        self.send_header("Content-Type", "video/mp2t")
        self.end_headers()
        with open(os.path.join(self.server.owner.media.folder, "live.ts"), "rb") as f:
            data = f.read()
        rate = len(data) / self.server.owner.media.seconds
        started, sent = time.monotonic(), 0
        while not self.server.owner.stopping.is_set():
            for at in range(0, len(data), 188 * 64):
                piece = data[at:at + 188 * 64]
                self.wfile.write(piece)
                sent += len(piece)
                ahead = sent / rate - (time.monotonic() - started) - 1.0
                if ahead > 0 and self.server.owner.stopping.wait(ahead):
                    return


    def _paced(self, name, write):
        """Sends the file `name` again and again through `write` at about
        its own rate (64 kbit/s), until the server stops."""
        with open(os.path.join(self.server.owner.media.folder, name), "rb") as f:
            data = f.read()
        rate = 64000 / 8
        started, sent = time.monotonic(), 0
        while not self.server.owner.stopping.is_set():
            for at in range(0, len(data), 4096):
                piece = data[at:at + 4096]
                write(piece)
                sent += len(piece)
                ahead = sent / rate - (time.monotonic() - started) - 2.0
                if ahead > 0 and self.server.owner.stopping.wait(ahead):
                    return

    def _station_mp3(self):
        titles = self.headers.get("Icy-MetaData") == "1"
        self.send_response(200)
        self.send_header("Content-Type", "audio/mpeg")
        self.send_header("Transfer-Encoding", "chunked")
        self.send_header("icy-name", "Taviro FM")
        if titles:
            self.send_header("icy-metaint", str(ICY_INTERVAL))
        self.end_headers()
        title = f"StreamTitle='{STATION_TITLE}';".encode()
        block = bytes([(len(title) + 15) // 16]) + title.ljust((len(title) + 15) // 16 * 16, b"\0")
        left = ICY_INTERVAL

        def write(piece):
            nonlocal left
            out = b""
            while titles and len(piece) >= left:
                out += piece[:left] + block
                piece, left = piece[left:], ICY_INTERVAL
            out += piece
            left -= len(piece) if titles else 0
            self.wfile.write(b"%x\r\n%s\r\n" % (len(out), out))

        self._paced("radio.mp3", write)

    def _station_icy(self):
        # As SHOUTcast answers: its own status line, no length, until the
        # listener leaves.
        self.close_connection = True
        self.wfile.write(b"ICY 200 OK\r\nicy-name: Taviro FM\r\ncontent-type: audio/aacp\r\n\r\n")
        self._paced("radio.aac", self.wfile.write)


class _Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        # Players drop connections they no longer need; that is no error.
        pass


class StreamServer:
    """Serves `media` on 127.0.0.1 at an ephemeral port, over https when
    `tls` (a TestCertificates) is given: with its trusted certificate, or
    its untrusted one."""

    def __init__(self, media, tls=None, trusted=True):
        self.media = media
        self.tls = tls
        self.requests = []
        self.stopping = threading.Event()
        self.live_started = None
        self._server = _Server(("127.0.0.1", 0), _Handler)
        self._server.owner = self
        if tls:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            if trusted:
                context.load_cert_chain(tls.certificate, tls.key)
            else:
                context.load_cert_chain(tls.untrusted_certificate, tls.untrusted_key)
            self._server.socket = context.wrap_socket(self._server.socket, server_side=True)
        self.port = self._server.server_address[1]
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        self.stopping.set()
        self._server.shutdown()
        self._server.server_close()
        self._thread.join()

    def url(self, path):
        scheme = "https" if self.tls else "http"
        return f"{scheme}://127.0.0.1:{self.port}{path}"

    def live_playlist(self):
        """A window of three segments of the live programme, moving on with
        the clock from the first request (and starting again after its
        end), without ENDLIST."""
        segments = self.media.segments("live")
        if self.live_started is None:
            self.live_started = time.monotonic()
        step = int((time.monotonic() - self.live_started) // 2)
        lines = ["#EXTM3U", "#EXT-X-VERSION:3", "#EXT-X-TARGETDURATION:2", f"#EXT-X-MEDIA-SEQUENCE:{step}"]
        for sequence in range(step, step + 3):
            if sequence > step and sequence % len(segments) == 0:
                lines.append("#EXT-X-DISCONTINUITY")
            lines += ["#EXTINF:2.0,", segments[sequence % len(segments)]]
        return "\n".join(lines) + "\n"


if __name__ == "__main__":
    # By hand: python3 stream_server.py, then point mpv at the printed paths.
    served = StreamServer(StreamMedia()).start()
    print(served.url("/"), flush=True)
    try:
        threading.Event().wait()
    finally:
        served.stop()
        served.media.remove()
