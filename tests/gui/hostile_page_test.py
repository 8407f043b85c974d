"""The real program against a hostile service: a test server on a free
loopback port plays the catalogue, and its page tries, from the main frame
and from a frame of another origin, to reach the program's descriptors
through the player, to run script in the local episode-list page, and to
call the window or follow private links without limit. Every attempt must
fail while the program stays alive and answers."""

import http.server
import os
import threading
import unittest
import urllib.parse

import harness

ARGS = None

# The catalogue runs whatever script the test hands it next, so that one
# page can make every attempt at the moment the test chooses.
CATALOGUE = b"""<html><body><p>catalogue</p><script>
function poll() {
  fetch('/next').then(function (r) { return r.text(); }).then(function (t) {
    if (t) { try { eval(t); } catch (e) {} }
    setTimeout(poll, 100);
  }, function () { setTimeout(poll, 100); });
}
poll();
</script></body></html>"""


class HostileService(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self):
        super().__init__(("127.0.0.1", 0), Handler)
        self.lock = threading.Lock()
        self.requests = []
        self.scripts = []
        self.fd = -1

    @property
    def base(self):
        return f"http://127.0.0.1:{self.server_address[1]}/"

    def run_in_page(self, script):
        with self.lock:
            self.scripts.append(script)

    def asked(self, prefix):
        with self.lock:
            return [path for path in self.requests if path.startswith(prefix)]


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def reply(self, body, content_type="text/html; charset=utf-8"):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        service = self.server
        path = self.path
        with service.lock:
            service.requests.append(path)
            script = service.scripts.pop(0) if path == "/next" and service.scripts else None
        if path == "/":
            self.reply(CATALOGUE)
        elif path == "/next":
            self.reply((script or "").encode(), "text/plain")
        elif path.startswith("/h.asp"):
            self.reply(f"n$fdclose://{service.fd}$qvod".encode(), "text/plain")
        elif path == "/list.m3u":
            self.reply(f"#EXTM3U\nfdclose://{service.fd}\nfd://{service.fd}\n".encode(), "audio/x-mpegurl")
        elif path == "/frame":
            self.reply(FRAME.replace(b"BASE", service.base.encode()))
        elif path == "/scripted-frame":
            self.reply(SCRIPTED_FRAME)
        elif path == "/top-ad":
            self.reply(TOP_AD.replace(b"BASE", service.base.encode()))
        elif path == "/carrying-frame":
            self.reply(CARRYING_FRAME.replace(b"BASE", service.base.encode()))
        else:
            self.reply(b"<p></p>")


# An advertisement from another origin: it posts a call to the main frame,
# calls the interface it does not have, and clicks private links.
FRAME = b"""<html><body>
<a id=list href="mivuvod://668-0-0-ad/">ad</a>
<a id=play target=_top href="miqvod://qvod&&&http%3A//127.0.0.1/ad.mp4&&&ad&&&n&&&669&&&0&&&0">ad</a>
<script>
top.postMessage({taviroExternal: {name: 'DangJ', args: ['f', '666', '0', '0']}}, '*');
try { window.external.DangJ('f', 667, 0, 0); } catch (e) {}
try { window.webkit.messageHandlers.taviro.postMessage('["DangJ","f","665","0","0"]'); } catch (e) {}
document.getElementById('list').click();
document.getElementById('play').click();
fetch('/frame-done');
</script></body></html>"""


# An advertisement that navigates by script rather than by clicks: its own
# frame, a nested frame, a form, a new window and the top page, each to a
# private link. Each step waits for the one before it to be decided.
SCRIPTED_FRAME = b"""<html><body>
<form id=form action="mivuvod://672-0-0-ad/" method=get><input name=a value=1></form>
<script>
var steps = [
  function () { location.href = 'mivuvod://670-0-0-ad/'; },
  function () { location.replace('miqvod://qvod&&&http%3A//127.0.0.1/ad2.mp4&&&ad&&&n&&&671&&&0&&&0'); },
  function () { document.getElementById('form').submit(); },
  function () {
    var nested = document.createElement('iframe');
    nested.src = 'mivuvod://673-0-0-ad/';
    document.body.appendChild(nested);
  },
  function () { window.open('mivuvod://674-0-0-ad/'); },
  function () { window.open('mivuvod://675-0-0-ad/', '_top'); },
  function () {
    var form = document.createElement('form');
    form.action = 'mivuvod://676-0-0-ad/';
    form.target = '_top';
    document.body.appendChild(form);
    form.submit();
  },
  function () { try { top.location = 'mivuvod://677-0-0-ad/'; } catch (e) {} }
];
function next(i) {
  if (i === steps.length) { fetch('/scripted-frame-done'); return; }
  try { steps[i](); } catch (e) {}
  setTimeout(function () { next(i + 1); }, 300);
}
next(0);
</script></body></html>"""


# An advertiser's page that a click made the main frame: it calls the
# window and follows private links as the catalogue would, then goes back
# to the catalogue.
TOP_AD = b"""<html><body><script>
try { window.external.DangJ('f', 680, 0, 0); } catch (e) {}
try { window.webkit.messageHandlers.taviro.postMessage('["DangJ","f","681","0","0"]'); } catch (e) {}
location.href = 'miqvod://qvod&&&http%3A//127.0.0.1/ad3.mp4&&&ad&&&n&&&682&&&0&&&0';
setTimeout(function () { location.href = 'mivuvod://683-0-0-ad/'; }, 300);
setTimeout(function () { location.href = 'BASE'; }, 900);
</script></body></html>"""


# An advertisement that navigates its own frame, without a click, to an
# ordinary address of the service that merely carries a private link.
CARRYING_FRAME = b"""<html><body><script>
location.href = 'BASEharmless?miqvod://qvod&&&http%3A//127.0.0.1/ad4.mp4&&&ad&&&n&&&684&&&0&&&0';
</script></body></html>"""


def socket_links(pid):
    """The program's descriptors that are sockets: number -> link text."""
    links = {}
    folder = f"/proc/{pid}/fd"
    for name in os.listdir(folder):
        try:
            target = os.readlink(os.path.join(folder, name))
        except OSError:
            continue
        if target.startswith("socket:"):
            links[int(name)] = target
    return links


class HostilePageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.service = HostileService()
        cls.thread = threading.Thread(target=cls.service.serve_forever, daemon=True)
        cls.thread.start()
        harness.DEMO_BASE = cls.service.base

    @classmethod
    def tearDownClass(cls):
        cls.service.shutdown()
        cls.service.server_close()
        cls.thread.join(10)

    def start(self):
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start()
        program.wait_log("Web1 loaded", 90)
        harness.wait_for(lambda: self.service.asked("/next"), 60, "the catalogue's script")
        return program

    def plays(self, program):
        return harness.player_requests(program, "play")

    def alive(self, program):
        self.assertIsNone(program.process.poll(), program.log()[-3000:])

    def test_no_address_reaches_a_descriptor(self):
        program = self.start()
        before = socket_links(program.process.pid)
        self.assertTrue(before)
        self.service.fd = min(before)
        fd = self.service.fd
        playlist = urllib.parse.quote(self.service.base + "list.m3u", safe="")
        proof = self.service.base + "after.mp4"
        local = os.path.join(program.app_dir, "local.mp4")
        with open(local, "wb") as f:
            f.write(b"\0" * 1024)
        for link in (f"miqvod://qvod&&&fdclose%3A%2F%2F{fd}&&&t&&&n&&&1&&&0&&&0",
                     f"miqvod://qvod&&&{urllib.parse.quote(local, safe='')}&&&t&&&n&&&4&&&0&&&0",
                     f"miqvod://qvod&&&fd%3A//{fd}&&&t&&&n&&&1&&&0&&&0&&&0",
                     "mivuvod://1-0-0-t/",
                     f"miqvod://qvod&&&{playlist}&&&t&&&n&&&2&&&0&&&0"):
            self.service.run_in_page(f"location.href = {link!r};")
        # Whoever fetches the playlist (the helper's look, or the player when
        # the helper is late) refuses its entries: none is ever opened.
        harness.wait_for(lambda: self.service.asked("/list.m3u"), 60, "the playlist fetched")
        # Navigations are handled in order: a harmless one coming through
        # means every attempt before it was handled.
        self.service.run_in_page(
            f"location.href = {'miqvod://qvod&&&' + urllib.parse.quote(proof, safe='') + '&&&t&&&n&&&3&&&0&&&0'!r};")
        harness.wait_for(lambda: proof in self.plays(program), 60, "the harmless play after the attempts")
        self.assertTrue(self.service.asked("/h.asp?id=1&v=0&v1=0"))
        self.assertTrue(self.service.asked("/list.m3u"))
        self.alive(program)
        self.assertFalse([p for p in self.plays(program) if "fd" in p.split("://")[0]], self.plays(program))
        # A page names no file of this machine.
        self.assertNotIn(local, self.plays(program))
        self.assertNotIn(b"local.mp4", program.read("date.dat"))
        after = socket_links(program.process.pid)
        for number, link in before.items():
            self.assertEqual(after.get(number), link, f"descriptor {number} was closed or replaced")
        self.assertEqual(program.quit(), 0)

    def test_catalogue_text_runs_no_script_in_the_episode_list(self):
        program = self.start()
        pwned = self.service.base + "pwned"
        for series, literal in ((11, f"'x'</script><img src=x onerror=\"location.href='{pwned}1'\">"),
                                (12, f"'</script><img src=x onerror=\"location.href=\\'{pwned}2\\'\">'")):
            loads = program.log().count("Web5 loaded")
            text = f"var VideoInfoList={literal};"
            # The previous attempt's text goes first: only the first marker counts.
            self.service.run_in_page(
                "var old = document.getElementById('hostile'); if (old) old.remove();"
                "var s = document.createElement('script'); s.id = 'hostile'; s.type = 'text/x-data'; "
                f"s.text = {text!r}; document.body.appendChild(s); "
                f"window.external.DangJ('t', {series}, 0, 0);")
            harness.wait_for(lambda: program.log().count("Web5 loaded") > loads, 60, "the episode list shown")
        # The first is no single literal: the service's list page instead.
        self.assertTrue(self.service.asked("/pp.htm?11-0-0-t-0"))
        page = program.read("t.htm").decode("gb18030")
        self.assertIn("\\u003c/script\\u003e\\u003cimg", page)
        self.assertNotIn("<img", page)
        # The picture's error handler would have left at once; give it ample
        # time to show that it does not.
        with self.assertRaises(harness.Timeout):
            harness.wait_for(lambda: self.service.asked("/pwned"), 5, "a script of the catalogue running")
        self.alive(program)
        self.assertEqual(program.quit(), 0)

    def test_frames_and_oversized_calls_reach_nothing(self):
        program = self.start()
        port = self.service.server_address[1]
        self.service.run_in_page(
            "try { window.webkit.messageHandlers.taviro.postMessage({name: 'x', args: {length: 2147483647}}); }"
            " catch (e) {}"
            "window.postMessage({taviroExternal: {name: 'DangJ', args: {length: 2147483647}}}, '*');"
            "var f = document.createElement('iframe');"
            f"f.src = 'http://localhost:{port}/frame'; document.body.appendChild(f);")
        harness.wait_for(lambda: self.service.asked("/frame-done"), 60, "the frame's attempts")
        # The window still answers the page itself.
        self.service.run_in_page("window.external.DangJ('ok', 777, 0, 0);")
        harness.wait_for(lambda: self.service.asked("/pp.htm?777-0-0-ok-0"), 30, "the page's own call")
        self.alive(program)
        for prefix in ("/pp.htm?665", "/pp.htm?666", "/pp.htm?667", "/h.asp?id=668"):
            self.assertFalse(self.service.asked(prefix), prefix)
        self.assertFalse([p for p in self.plays(program) if "ad.mp4" in p])
        self.assertNotIn(b"669|", program.read("date.dat"))
        self.assertEqual(program.quit(), 0)

    def test_a_frames_script_navigates_to_no_private_link(self):
        program = self.start()
        port = self.service.server_address[1]
        self.service.run_in_page(
            "var f = document.createElement('iframe');"
            f"f.src = 'http://localhost:{port}/scripted-frame'; document.body.appendChild(f);")
        harness.wait_for(lambda: self.service.asked("/scripted-frame-done"), 60, "the frame's attempts")
        # The page's own private link still acts.
        self.service.run_in_page("location.href = 'mivuvod://678-0-0-ok/';")
        harness.wait_for(lambda: self.service.asked("/h.asp?id=678"), 30, "the page's own link")
        # A navigation still on its way would act within seconds.
        try:
            acted = harness.wait_for(lambda: [p for p in self.service.asked("/h.asp") if "id=678" not in p], 5,
                                     "a frame's private link acting")
        except harness.Timeout:
            acted = []
        self.assertEqual(acted, [])
        self.alive(program)
        self.assertFalse([p for p in self.plays(program) if "ad2.mp4" in p])
        self.assertNotIn(b"671|", program.read("date.dat"))
        self.assertEqual(program.quit(), 0)

    def test_an_advertisers_page_in_the_main_frame_has_no_private_links_nor_calls(self):
        program = self.start()
        port = self.service.server_address[1]
        loads = program.log().count("Web1 loaded")
        self.service.run_in_page(f"location.href = 'http://localhost:{port}/top-ad';")
        # Back on the catalogue, its own calls act again.
        harness.wait_for(lambda: program.log().count("Web1 loaded") >= loads + 2, 60, "the catalogue again")
        self.service.run_in_page("window.external.DangJ('ok', 779, 0, 0);")
        harness.wait_for(lambda: self.service.asked("/pp.htm?779-0-0-ok-0"), 30, "the page's own call")
        self.alive(program)
        for prefix in ("/pp.htm?680", "/pp.htm?681", "/h.asp?id=683"):
            self.assertFalse(self.service.asked(prefix), prefix)
        self.assertFalse([p for p in self.plays(program) if "ad3.mp4" in p])
        self.assertNotIn(b"682|", program.read("date.dat"))
        self.assertEqual(program.quit(), 0)

    def test_an_ordinary_address_carrying_a_private_link_never_acts(self):
        program = self.start()
        port = self.service.server_address[1]
        self.service.run_in_page(
            "var f = document.createElement('iframe');"
            f"f.src = 'http://localhost:{port}/carrying-frame'; document.body.appendChild(f);")
        # The frame got there: the address was decided as an ordinary one.
        harness.wait_for(lambda: self.service.asked("/harmless?miqvod"), 60, "the frame's own address")
        self.alive(program)
        self.assertFalse([p for p in self.plays(program) if "ad4.mp4" in p])
        self.assertNotIn(b"684|", program.read("date.dat"))
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments()
    unittest.main(argv=rest)
