"""The single-instance name against other local users: a name another
socket holds without listening in the namespace every user shares does not
keep the program from starting, and with a runtime folder the name lives
where only this user can reach it, while a second start still hands over."""

import os
import shutil
import socket
import stat
import tempfile
import unittest

import harness

ARGS = None


class ProgramWithRuntime(harness.Program):
    """The program with XDG_RUNTIME_DIR set to `runtime`, or unset."""

    def __init__(self, runtime):
        super().__init__(ARGS.program, ARGS.icon)
        self.runtime = runtime

    def environment(self, accessible, **extra):
        env = super().environment(accessible, **extra)
        env.pop("XDG_RUNTIME_DIR", None)
        if self.runtime:
            env["XDG_RUNTIME_DIR"] = self.runtime
        return env

    def instance_name(self):
        return f"taviro-instance-{os.getuid()}-{os.path.basename(self.app_dir)}"


def squat(name):
    """Binds the abstract `name` and never listens, as anyone could."""
    holder = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    holder.bind("\0" + name)
    return holder


class InstanceNameTest(harness.SharedDemoServiceTest):
    def start(self, runtime):
        program = ProgramWithRuntime(runtime)
        self.addCleanup(program.remove)
        holder = squat(program.instance_name())
        self.addCleanup(holder.close)
        program.start()
        program.wait_log("Web1 loaded", 90)
        return program

    def test_a_squatted_shared_name_does_not_stop_the_start(self):
        program = self.start(None)
        self.assertIsNone(program.process.poll())
        self.assertEqual(program.quit(), 0)

    def test_with_a_runtime_folder_the_name_is_private_and_a_second_start_hands_over(self):
        runtime = tempfile.mkdtemp(prefix="taviro-runtime-")
        self.addCleanup(shutil.rmtree, runtime, True)
        program = self.start(runtime)
        folder = os.path.join(runtime, "taviro")
        self.assertEqual(stat.S_IMODE(os.stat(folder).st_mode), 0o700)
        socket_file = os.path.join(folder, program.instance_name())
        self.assertTrue(stat.S_ISSOCK(os.stat(socket_file).st_mode))
        # Another start ends at once: the running program took its command
        # line (without a listener it would open a second window and run on).
        code, _, errors = program.start_again(seconds=60)
        self.assertEqual(code, 0, errors)
        self.assertIsNone(program.process.poll())
        self.assertEqual(program.quit(), 0)
        self.assertFalse(os.path.exists(socket_file))


if __name__ == "__main__":
    ARGS, rest = harness.test_arguments()
    unittest.main(argv=rest)
