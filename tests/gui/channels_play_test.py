"""The TV page over a channel list as IPTV providers publish it (tvg
attributes, two groups, a radio station answering "ICY 200 OK", a dead
channel) with its XMLTV guide, all served over HTTP on this machine: a
channel clicked in the list plays on the channel page with what is on now and
next, and the dead one says so instead of staying black."""

import datetime
import os
import re
import unittest

import harness
from accessible_screen import Screen
from harness import fetch
from stream_server import StreamMedia, StreamServer

ARGS = None
TV_TAB = ("page tab", "电视直播")


def xmltv_time(moment):
    return moment.strftime("%Y%m%d%H%M%S +0000")


def write_sources(folder, server):
    now = datetime.datetime.now(datetime.timezone.utc)
    slots = [now - datetime.timedelta(minutes=10), now + datetime.timedelta(minutes=20),
             now + datetime.timedelta(minutes=80)]
    with open(os.path.join(folder, "guide.xml"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<tv>\n'
                '<channel id="cctv13.cn"><display-name>CCTV-13 新闻</display-name></channel>\n'
                f'<programme start="{xmltv_time(slots[0])}" stop="{xmltv_time(slots[1])}" channel="cctv13.cn">'
                '<title>新闻直播间</title></programme>\n'
                f'<programme start="{xmltv_time(slots[1])}" stop="{xmltv_time(slots[2])}" channel="cctv13.cn">'
                '<title>天气预报</title></programme>\n</tv>\n')
    # The first group is the one shown open.
    entries = [
        ('tvg-id="cctv13.cn" tvg-name="CCTV-13 新闻" tvg-logo="" group-title="直播"', "新闻频道",
         server.url("/live.ts")),
        ('tvg-id="" group-title="高清"', "高清频道", server.url("/hls/index.m3u8")),
        ('tvg-name="音乐台" group-title="直播" radio="true"', "音乐台", server.url("/icy")),
        ('tvg-id="gone" group-title="直播"', "停播频道", server.url("/no-such-channel.m3u8")),
    ]
    lines = [f'#EXTM3U x-tvg-url="{server.url("/guide.xml")}"']
    for attributes, name, url in entries:
        lines += [f"#EXTINF:-1 {attributes},{name}", url]
    with open(os.path.join(folder, "channels.m3u"), "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    return server.url("/channels.m3u")


def channel_codes():
    page = fetch("tv/list.htm").decode("utf-8")
    return dict((name, code) for code, name in
                re.findall(r'href="mitvs://([a-z2-7]+)"[^>]*>(?:<[^>]*>)*<span>([^<]+)</span>', page))


def page_texts(screen):
    """The titles and texts of the pages the web views show."""
    texts = []
    stack = [screen.app]
    while stack:
        node = stack.pop()
        try:
            if node.getRoleName() in ("document web", "document frame"):
                texts.append(node.name)
            children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        except Exception:
            continue
        try:
            text = node.queryText()
            texts.append(text.getText(0, text.characterCount))
        except Exception:
            pass
        stack.extend(child for child in children if child is not None)
    return [text for text in texts if text]


class ChannelsPlayTest(unittest.TestCase):
    def test_a_channel_plays_with_its_guide_and_a_dead_one_says_so(self):
        media = StreamMedia()
        self.addCleanup(media.remove)
        server = StreamServer(media)
        server.start()
        self.addCleanup(server.stop)
        service = harness.DemoService(ARGS.service, ARGS.data, channels=[write_sources(media.folder, server)])
        self.addCleanup(service.stop)
        service.wait_ready()
        codes = harness.wait_for(lambda: len(channel_codes()) == 4 and channel_codes(), 30, "the four channels")

        program = harness.Program(ARGS.program, ARGS.icon)
        self.addCleanup(program.remove)
        program.start(accessible=True)
        window = program.window_id()
        program.wait_log("Web1 loaded", 60)
        screen = Screen(program, window)
        screen.click_control(*TV_TAB)

        def click_channel(name):
            link = screen.wait_links(lambda entry: screen.uri(entry[1]) == "mitvs://" + codes[name],
                                     f"{name} in the channel list")
            screen.click_box(link[0][2])

        def wait_text(predicate, what, seconds):
            try:
                return harness.wait_for(lambda: next((t for t in page_texts(screen) if predicate(t)), None),
                                        seconds, what)
            except harness.Timeout as error:
                raise harness.Timeout(f"{error}; shown: {page_texts(screen)}") from None

        # Dead: told on the page within the watchdog's ten seconds, and the
        # list stays usable.
        click_channel("停播频道")
        wait_text(lambda t: t == "停播频道 - 无法播放", "the dead channel reported", 30)
        wait_text(lambda t: "无法播放此频道" in t, "the failure text", 5)

        click_channel("新闻频道")
        wait_text(lambda t: t == "新闻频道 - 播放中", "the MPEG-TS channel playing", 30)
        guide = wait_text(lambda t: "正在播放：新闻直播间" in t, "what is on now", 10)
        self.assertIn("下一个：天气预报", guide)
        harness.screenshot(window, os.path.join(ARGS.out, "channels-playing.png"))
        self.assertEqual(program.quit(), 0)


if __name__ == "__main__":
    ARGS, argv = harness.test_arguments()
    unittest.main(argv=argv, verbosity=2)
