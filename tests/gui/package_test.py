"""The Debian package: built with cpack from this build (under a umask that
lets the group write), checked as Debian checks packages (lintian, when it
is installed), unpacked into a scratch root with dpkg -x, and the program
run from there under Xvfb. An installed program keeps its settings and
lists in $XDG_DATA_HOME/taviro/ and writes nothing into its own folder."""

import glob
import os
import shutil
import signal
import subprocess
import tempfile
import unittest

import harness

ARGS = None
APP_ID = "org.taviro.Taviro"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def read_gb18030(path):
    with open(path, "rb") as f:
        return f.read().decode("gb18030")


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(top, name), folder)
                  for top, _, names in os.walk(folder) for name in names)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.mkdtemp(prefix="taviro-deb-")
        # The modes in the package must not follow the builder's umask.
        result = subprocess.run(["cpack", "-G", "DEB", "--config", os.path.join(ARGS.build, "CPackConfig.cmake"),
                                 "-B", cls.out], cwd=ARGS.build, capture_output=True, text=True, timeout=900,
                                preexec_fn=lambda: os.umask(0o002))
        packages = glob.glob(os.path.join(cls.out, "*.deb"))
        if result.returncode != 0 or len(packages) != 1:
            shutil.rmtree(cls.out, True)
            raise RuntimeError(f"cpack failed: {packages}\n{result.stdout}{result.stderr}")
        cls.package = packages[0]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, True)

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="taviro-package-")
        self.addCleanup(shutil.rmtree, self.work, True)

    def test_the_package_is_as_debian_wants_it(self):
        listing = subprocess.run(["dpkg-deb", "--contents", self.package], capture_output=True, text=True,
                                 check=True).stdout.splitlines()
        modes = {}
        for line in listing:
            mode, owner, _, _, _, path = line.split(None, 5)
            self.assertEqual(owner, "root/root", line)
            modes[path.split(" -> ")[0].lstrip(".")] = mode
        for path, mode in modes.items():
            self.assertIn(mode, ("drwxr-xr-x", "-rw-r--r--", "-rwxr-xr-x", "lrwxrwxrwx"), path)
        for document in ("/usr/share/doc/taviro/copyright", "/usr/share/doc/taviro/changelog.gz",
                         "/usr/share/man/man1/taviro.1.gz"):
            self.assertEqual(modes.get(document), "-rw-r--r--", document)
        description = subprocess.run(["dpkg-deb", "-f", self.package, "Description"], capture_output=True,
                                     text=True, check=True).stdout.splitlines()
        self.assertGreater(len(description), 3, description)

        if ARGS.hardened == "1":
            root = os.path.join(self.work, "root")
            subprocess.run(["dpkg", "-x", self.package, root], check=True)
            for program in ("usr/lib/taviro/taviro", "usr/lib/taviro/taviro-service",
                            "usr/lib/taviro/Qvod/QvodTerminal.exe"):
                dynamic = subprocess.run(["readelf", "--dynamic", os.path.join(root, program)], capture_output=True,
                                         text=True, check=True).stdout
                self.assertRegex(dynamic, r"\(FLAGS\)\s+BIND_NOW|\(BIND_NOW\)", program)
                symbols = subprocess.run(["readelf", "--dyn-syms", "--wide", os.path.join(root, program)],
                                         capture_output=True, text=True, check=True).stdout
                self.assertRegex(symbols, r"__\w+_chk", program)  # fortified calls

    @unittest.skipUnless(shutil.which("lintian"), "lintian is not installed")
    def test_lintian_finds_no_error_and_no_warning(self):
        if ARGS.hardened != "1":
            self.skipTest("only the hardened release build is a package to ship")
        result = subprocess.run(["lintian", "--tag-display-limit", "0", self.package], capture_output=True,
                                text=True, timeout=600)
        complaints = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:")]
        self.assertEqual(complaints, [], result.stdout + result.stderr)

    def test_the_package_installs_a_program_that_keeps_its_files_in_the_data_home(self):
        package = self.package
        depends = subprocess.run(["dpkg-deb", "-f", package, "Depends"], capture_output=True, text=True,
                                 check=True).stdout
        # Computed from the libraries the program links, not written by hand.
        for library in ("libmpv2", "libgtk-3-0", "libwebkit2gtk-4.1-0", "libcurl4", "libc6", "libcpp-httplib"):
            self.assertIn(library, depends)

        root = os.path.join(self.work, "root")
        subprocess.run(["dpkg", "-x", package, root], check=True)
        app = os.path.join(root, "usr/lib/taviro")
        # The program and, beside it where the program looks for it, its service.
        for program in ("taviro", "taviro-service"):
            self.assertTrue(os.access(os.path.join(app, program), os.X_OK), program)
        self.assertTrue(os.path.isfile(os.path.join(app, "i.gif")))
        self.assertEqual(os.readlink(os.path.join(root, "usr/bin/taviro")), "../lib/taviro/taviro")
        share = os.path.join(root, "usr/share")
        self.assertTrue(os.path.isfile(os.path.join(share, "applications", APP_ID + ".desktop")))
        self.assertTrue(os.path.isfile(os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")))
        for size in ICON_SIZES:
            self.assertTrue(os.path.isfile(os.path.join(share, f"icons/hicolor/{size}x{size}/apps/{APP_ID}.png")))
        installed = files_under(app)

        program = os.path.join(root, "usr/bin/taviro")
        version = subprocess.run([program, "--version"], capture_output=True, text=True, timeout=30)
        self.assertEqual((version.returncode, version.stdout), (0, "Taviro 2.3\n"))

        # The installed program runs the service installed beside it.
        data_home = os.path.join(self.work, "data")
        env = dict(os.environ, XDG_DATA_HOME=data_home, HOME=os.path.join(self.work, "home"), LC_ALL="C.UTF-8",
                   XDG_CONFIG_HOME=os.path.join(self.work, "config"), TAVIRO_DEBUG="1",
                   TAVIRO_INSTANCE=os.path.basename(self.work), TAVIRO_SERVICE_BASE_URL="", NO_AT_BRIDGE="1")
        log = harness.ChildLog()
        self.addCleanup(log.close)
        process = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=log.sink, env=env)
        self.addCleanup(lambda: process.poll() is None and (process.kill(), process.wait()))

        own = os.path.join(data_home, "taviro")
        expected = ("config.dll", "date.dat", "date_f.dat", "c.htm", "f.htm", "i.gif")

        def written():
            if process.poll() is not None:
                raise RuntimeError(f"the program ended ({process.returncode}): {log.text()}")
            return all(os.path.isfile(os.path.join(own, name)) for name in expected)
        harness.wait_for(written, 60, "settings and lists in $XDG_DATA_HOME/taviro")
        harness.wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Taviro$"],
                                                capture_output=True).returncode == 0, 60, "the main window")

        # The download helper's file lives with the settings, made at the
        # first start naming no folder, so each user saves into their own
        # default; the helper the program started from its installed folder
        # reads it there.
        helper = os.path.join(app, "Qvod", "QvodTerminal.exe")
        self.addCleanup(self.stop_helpers, helper)
        vendor = os.path.join(own, "Qvod")
        default_save = os.path.join(env["HOME"], "Media") + "/"
        self.assertEqual(read_gb18030(os.path.join(vendor, "QvodCfg.ini")),
                         "[NBQVODTERMINAL]\r\ndefaultsavepath=0\r\n")

        def log_has(text):
            return text in log.text()
        harness.wait_for(lambda: log_has(f"QvodTerminal: saving to {default_save}"), 60,
                         "the installed helper to read its files")
        harness.wait_for(lambda: log_has("own service at http://127.0.0.1:") and log_has("Web1 loaded"), 60,
                         "the catalogue from the installed service " + log.text()[-3000:])
        service = harness.pids_running(os.path.join(app, "taviro-service"))
        self.assertEqual(len(service), 1)
        process.send_signal(signal.SIGTERM)
        self.assertEqual(process.wait(30), 0)
        self.stop_helpers(helper)
        harness.wait_for(lambda: not set(service) & set(harness.pids_running(os.path.join(app, "taviro-service"))),
                         30, "the service to end with the program")

        # A save folder written there is the one the helper uses next.
        films = os.path.join(self.work, "films") + "/"
        with open(os.path.join(vendor, "QvodCfg.ini"), "wb") as f:
            f.write(f"[NBQVODTERMINAL]\r\ndefaultsavepath={films}\r\n".encode("gb18030"))
        helper_log = harness.ChildLog()
        self.addCleanup(helper_log.close)
        started = subprocess.Popen([helper], stdout=subprocess.DEVNULL, stderr=helper_log.sink, env=env)
        self.addCleanup(lambda: started.poll() is None and (started.kill(), started.wait()))

        def helper_says(text):
            return text in helper_log.text()
        harness.wait_for(lambda: helper_says(f"QvodTerminal: saving to {films}"), 60, "the helper to use films/")
        started.send_signal(signal.SIGTERM)
        self.assertEqual(started.wait(30), 0)
        self.assertEqual(files_under(app), installed, "the program wrote into its installed folder")

    @staticmethod
    def stop_helpers(helper):
        """Ends the helpers run from this test's installed copy, by id."""
        def running():
            pids = []
            for entry in filter(str.isdigit, os.listdir("/proc")):
                try:
                    if os.readlink(f"/proc/{entry}/exe") == os.path.realpath(helper):
                        pids.append(int(entry))
                except OSError:
                    pass
            return pids
        for pid in running():
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        harness.wait_for(lambda: not running(), 30, "the helpers to end")


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--build", "--hardened")
    unittest.main(argv=argv, verbosity=2)
