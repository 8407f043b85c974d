"""The program with its own service, as an installed program runs: started
beside the window on a free loopback port under a random key that only the
program learns, refusing every request without the key and every request of
another account (a system account the test makes as root), and ending with
the program, whether it quits or is killed."""

import os
import pwd
import re
import signal
import subprocess
import sys
import unittest
import urllib.error
import urllib.request

import harness
from other_user_test import READ

ARGS = None
OTHER = f"taviro-s{os.getpid()}"
ADDRESS = re.compile(r"own service at (http://127\.0\.0\.1:(\d+)/([0-9a-f]{32})/)")


def status_of(url):
    try:
        with urllib.request.urlopen(url, timeout=10) as reply:
            return reply.status, reply.read()
    except urllib.error.HTTPError as error:
        return error.code, b""


class OwnServiceTest(unittest.TestCase):
    def start(self):
        program = harness.Program(ARGS.program, ARGS.icon, service=ARGS.service)
        self.addCleanup(program.remove)
        # Neither the environment nor a settings file names a service.
        program.start(TAVIRO_SERVICE_BASE_URL="", XDG_CONFIG_HOME=os.path.join(program.app_dir, "config"))
        program.window_id()
        program.wait_log("Web1 loaded", 60)
        found = ADDRESS.search(program.log())
        self.assertTrue(found, program.log())
        service = harness.wait_for(lambda: harness.pids_running(os.path.join(program.app_dir, "taviro-service")),
                                   30, "the service's process")
        self.assertEqual(len(service), 1)
        return program, found.group(1), int(found.group(2)), found.group(3), service[0]

    def assert_ends(self, pid, what):
        harness.wait_for(lambda: not os.path.exists(f"/proc/{pid}") or
                         open(f"/proc/{pid}/stat").read().split(")")[1].split()[0] == "Z", 15, what)

    def test_the_program_runs_a_private_service_that_ends_with_it(self):
        program, base, port, key, pid = self.start()
        # The catalogue page shows, and nobody else learns the key: neither
        # from the service's command line nor by asking without it.
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            self.assertNotIn(key.encode(), f.read())
        self.assertEqual(status_of(base)[0], 200)
        self.assertEqual(status_of(base + "lib/wen.txt")[0], 200)
        for without in ("", "lib/wen.txt", "0" * 32 + "/", key.upper() + "/", key[:-1] + "/", "__stats"):
            self.assertEqual(status_of(f"http://127.0.0.1:{port}/{without}")[0], 403, without)
        harness.screenshot(program.window_id(), os.path.join(ARGS.out, "own-service.png"))

        if os.geteuid() == 0:
            subprocess.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", OTHER],
                           check=True)
            self.addCleanup(subprocess.run, ["userdel", OTHER], check=False)
            other = pwd.getpwnam(OTHER)
            # Even with the key, another account's request gets no byte back.
            got = subprocess.run([sys.executable, "-c", READ, str(port), f"/{key}/lib/wen.txt", "127.0.0.1"],
                                 capture_output=True, text=True, user=other.pw_uid, group=other.pw_gid,
                                 extra_groups=[], cwd="/", timeout=60)
            self.assertEqual(got.stdout, "b''", got.stderr)
            self.assertEqual(status_of(base + "lib/wen.txt")[0], 200)

        self.assertEqual(program.quit(), 0)
        self.assert_ends(pid, "the service to end with the program")

        # A program that dies takes its service along too.
        program, _, _, _, pid = self.start()
        program.process.send_signal(signal.SIGKILL)
        program.process.wait(15)
        self.assert_ends(pid, "the service to end with the killed program")


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments()
    unittest.main(argv=rest, verbosity=2)
