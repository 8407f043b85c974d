"""The real program under Xvfb against the demo service: first start in an
empty application folder, the window, both skins, a clean quit."""

import glob
import os
import re
import subprocess
import sys
import unittest

import harness
import process_memory
from accessible_screen import Screen

ARGS = None

EMPTY_LIST_PAGE = (
    '<html><head><title></title><style type="text/css">*{margin:0;padding:0;border:0px;}'
    'body{overflow:auto;background:#212121;}html{scrollbar-face-color:#2A2929;'
    'scrollbar-highlight-color:#353434;scrollbar-shadow-color:#000000;scrollbar-3dlight-color:#000000;'
    'scrollbar-arrow-color:#515151;scrollbar-track-color:#1F1D1C;scrollbar-darkshadow-color:#201F1E;}'
    'a:link,a:visited,a:active,a:hover{color:#DBDBDB;text-decoration:none;display:block}'
    'td{padding-left:3px;height:25px;line-height:25px;font-size:12px;border-bottom:1px solid #161616;'
    'color:#DBDBDB;}td img{width:11px;height:11px;margin-top:2px;}</style></head>'
    '<body oncontextmenu="return false" ondragstart="return false">'
    '<table id="v1" width="99%" cellpadding="0" cellspacing="0" border="0">'
    '<tr><td colspan=2 align=center>暂无记录</td></tr></table>'
    "<div style='dispaly:none' id='vd'></div>"
    '<script type="text/javascript">\r\n'
    'var obj=document.getElementById("v1");\r\n'
    'var obj1=document.getElementById("vd");\r\n'
    'for(var i=0;i<obj.rows.length;i++){\r\n'
    "obj.rows[i].onmouseover=function(){obj1.style.background=this.style.backgroundColor;"
    "this.style.background='#312D26';this.cells[1].style.display ='block';"
    "this.cells[2].style.display = 'none';}\r\n"
    "obj.rows[i].onmouseout=function(){this.style.background=obj1.style.background;"
    "this.cells[1].style.display = 'none';this.cells[2].style.display = 'block';}}\r\n"
    '</script></body></html>\r\n\r\n').encode("gb18030")

CONFIG_PATTERN = re.compile(
    rb"\[main\]\r\nName=Taviro\r\n\[User\]\r\nName=(?P<id>[0-9A-Za-z-]+)\r\n\[Skin\]\r\nNum=1\r\n"
    rb"\[Ver\]\r\nName=2\.3\r\n\[S_q\]\r\nts=3\r\nquit=2\r\nqvodk=2\r\ns_size=2\r\nh_w=14850\r\n"
    rb"h_h=9830\r\ns_h=2\r\ns_bo=2\r\ns_jd=2\r\nqvodqi=2\r\ns_pao=2\r\n\Z")


class WindowTest(harness.SharedDemoServiceTest):
    def start(self, program, *args, accessible=False):
        self.addCleanup(program.remove)
        program.start(*args, accessible=accessible)
        window = program.window_id()
        elapsed = program.wait_log("Web1 loaded", 60)
        return window, elapsed

    def expect_no_cpu_rasterizer(self, pid):
        """Without a GPU device the program itself loads no Mesa, while the
        page processes (which need EGL) get the user's environment back."""
        if glob.glob("/dev/dri/*") or os.path.exists("/dev/nvidia0"):
            return
        with open(f"/proc/{pid}/maps") as maps:
            loaded = maps.read()
        for library in ("swrast_dri", "libLLVM"):
            self.assertFalse(library in loaded, f"the program loaded {library}")
        for child in process_memory.descendants(pid)[1:]:
            try:
                with open(f"/proc/{child}/environ", "rb") as environ:
                    names = [entry.split(b"=", 1)[0] for entry in environ.read().split(b"\0")]
            except OSError:
                continue  # it ended while we looked
            self.assertNotIn(b"GDK_GL", names)
            self.assertNotIn(b"__EGL_VENDOR_LIBRARY_FILENAMES", names)

    def test_first_start_in_an_empty_folder(self):
        program = harness.Program(ARGS.program, ARGS.icon)
        window, elapsed = self.start(program, accessible=True)
        print(f"launch to catalogue shown: {elapsed:.2f} s", file=sys.stderr)

        self.assertRegex(program.read("config.dll"), CONFIG_PATTERN)
        self.assertEqual(program.read("date.dat"), b"\r\n")
        self.assertEqual(program.read("date_f.dat"), b"\r\n")
        self.assertEqual(program.read("c.htm"), EMPTY_LIST_PAGE)
        self.assertEqual(program.read("f.htm"), EMPTY_LIST_PAGE)

        _, _, width, height = harness.window_geometry(window)
        self.assertEqual((width, height), (14850 // 15, 9830 // 15))

        program.wait_log("Web11 loaded", 60)
        rss = harness.process_tree_rss_kib(program.process.pid)
        print(f"memory with eleven views: {rss / 1024:.0f} MiB RSS", file=sys.stderr)
        self.expect_no_cpu_rasterizer(program.process.pid)
        harness.screenshot(window, os.path.join(ARGS.out, "window-skin1.png"))

        # The player tab shows the side panel with the empty network-task list.
        screen = Screen(program, window)
        screen.click_control("page tab", "正在播放")
        x, y, width, height = screen.in_window(screen.region("Web3"))
        shot = os.path.join(ARGS.out, "window-player-tab.png")

        def list_drawn():
            harness.screenshot(window, shot)
            return harness.pixel(shot, x + width // 2, y + height // 2) == (0x21, 0x21, 0x21)
        harness.wait_for(list_drawn, 15, "the network-task list drawn")
        self.assertEqual(program.quit(), 0)

    def test_saved_size_and_the_other_skin(self):
        program = harness.Program(ARGS.program, ARGS.icon)
        program.write("config.dll", "[Skin]\r\nNum=0\r\n[S_q]\r\nh_w=15000\r\nh_h=10500\r\n".encode())
        window, _ = self.start(program)
        _, _, width, height = harness.window_geometry(window)
        self.assertEqual((width, height), (1000, 700))
        harness.screenshot(window, os.path.join(ARGS.out, "window-skin0.png"))
        # The stored skin is applied, not written again.
        self.assertIn(b"[Skin]\r\nNum=0\r\n", program.read("config.dll"))
        self.assertEqual(program.quit(), 0)

    def test_a_start_that_ends_at_a_prompt_starts_and_writes_nothing_of_the_helper(self):
        # A player that cannot be made: the program says so and ends
        # without ever showing its window.
        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        started = os.path.join(program.app_dir, "helper-started")
        os.makedirs(os.path.join(program.app_dir, "Qvod"))
        helper = os.path.join(program.app_dir, "Qvod", "QvodTerminal.exe")
        with open(helper, "w") as f:
            f.write(f"#!/bin/sh\ntouch '{started}'\n")
        os.chmod(helper, 0o755)
        program.start(LD_PRELOAD=ARGS.no_player, ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0")
        program.wait_log("taviro: prompt ", 60)
        prompt = harness.wait_for(lambda: harness_windows("^Taviro$"), 30, "the message box")
        harness.key(prompt[0], "Return")
        self.assertEqual(program.process.wait(30), 0)
        self.assertFalse(os.path.exists(started), "the helper was started")
        self.assertNotIn(b"qvodw", program.read("config.dll"))


def harness_windows(name):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                            capture_output=True, text=True)
    return result.stdout.split()


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments("--no-player")
    unittest.main(argv=argv, verbosity=2)
