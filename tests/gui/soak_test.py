"""Soak: episodes of the demo service played back to back with autoplay, for
a given time, by the real program under Xvfb. Reports the resident memory
(RSS and PSS) of the program and of each kind of process below it (web,
network, helpers) once the first episode has settled and at the end, the
episodes played, and any crash; a reading each minute goes to
soak-memory.csv. Exits non-zero on a crash, on playback that stops moving
on, or on memory growth beyond --max-growth percent when that is given.

Usage: soak_test.py --program ... --media DIR --out DIR --minutes M [--max-growth P]"""

import argparse
import os
import sys
import time

import harness
import process_memory
from accessible_screen import Screen
from harness import player_requests

SERIES = 101
CATALOGUE_TAB = (250, 18)
# Settle time before the reading that growth is measured from: the first
# episodes open the caches, the web pages and the read-ahead player, and the
# allocator's arenas fill up to what playing back to back needs. A short run
# settles for a quarter of its time.
SETTLE_SECONDS = 120
# Each clip lasts 20 s; no new episode for this long means autoplay stopped.
STALL_SECONDS = 75
SAMPLE_SECONDS = 5
# Each end of the run is the median of this many seconds of readings: the
# program's RSS steps up and back by ~10 MiB around each new episode.
WINDOW_SECONDS = 60
TIMELINE_SECONDS = 60


def play_first_episode(program, window, screen):
    harness.click(window, *CATALOGUE_TAB)
    href_start = f"mivuvod://{SERIES}-0-0-"
    link = screen.wait_links(lambda entry: (screen.uri(entry[1]) or "").startswith(href_start),
                             "the first episode's link", 60)
    screen.click_box(link[0][2])


def main():
    parser = argparse.ArgumentParser()
    for name in ("--program", "--icon", "--service", "--data", "--media", "--out"):
        parser.add_argument(name, required=True)
    parser.add_argument("--minutes", type=float, default=60)
    parser.add_argument("--max-growth", type=float, default=None, help="fail beyond this RSS growth, in percent")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    service = harness.DemoService(args.service, args.data, args.media)
    service.wait_ready()
    program = harness.Program(args.program, args.icon)
    # A fresh folder: the settings start as their defaults, autoplay and
    # buffering of the next episode on.
    problems = []
    try:
        program.start(accessible=True)
        window = program.window_id()
        program.wait_log("Web1 loaded", 90)
        screen = Screen(program, window)
        play_first_episode(program, window, screen)
        harness.wait_for(lambda: player_requests(program, "play"), 60, "the first episode")
        began = time.monotonic()
        end = began + args.minutes * 60
        settle = min(SETTLE_SECONDS, args.minutes * 60 / 4)
        at_first_play = process_memory.by_name(program.process.pid)
        settled, recent = [], []
        last_count, last_new = 0, time.monotonic()
        restarts = 0
        timeline = open(os.path.join(args.out, "soak-memory.csv"), "w")
        timeline.write("seconds,plays,process,count,rss_kib,pss_kib\n")
        next_line = began
        while time.monotonic() < end:
            if program.process.poll() is not None:
                problems.append(f"the program ended ({program.process.returncode}) after "
                                f"{time.monotonic() - began:.0f} s")
                break
            plays = len(player_requests(program, "play"))
            if plays != last_count:
                last_count, last_new = plays, time.monotonic()
            now = time.monotonic() - began
            reading = process_memory.by_name(program.process.pid)
            if settle <= now < settle + WINDOW_SECONDS:
                settled.append(reading)
            recent = [r for r in recent if r[0] > now - WINDOW_SECONDS] + [(now, reading)]
            if time.monotonic() >= next_line:
                next_line += TIMELINE_SECONDS
                seconds = now
                for name, (count, rss, pss) in reading.items():
                    timeline.write(f"{seconds:.0f},{plays},{name},{count},{rss},{pss}\n")
                timeline.flush()
            if time.monotonic() - last_new > STALL_SECONDS:
                # The end of the series: start it again, as a user would.
                restarts += 1
                if restarts > args.minutes * 60 / (12 * 20) + 2:
                    problems.append("autoplay stopped moving on")
                    break
                play_first_episode(program, window, screen)
                last_new = time.monotonic()
            time.sleep(SAMPLE_SECONDS)
        timeline.close()
        if program.process.poll() is None:
            last = process_memory.median_groups([r for _, r in recent])
            first = process_memory.median_groups(settled) if settled else last
            growth = process_memory.growth_percent(first["program"][1], last["program"][1])
            tree = process_memory.totals(first), process_memory.totals(last)
            tree_growth = process_memory.growth_percent(tree[0][0], tree[1][0])
            report = "\n".join([
                f"soak: {args.minutes:g} min, {len(player_requests(program, 'play'))} plays "
                f"({restarts} restarts of the series); RSS at the first play "
                f"{at_first_play['program'][1] // 1024} MiB, medians of {WINDOW_SECONDS} s settled after {settle:.0f} s "
                f"{first['program'][1] // 1024} → "
                f"{last['program'][1] // 1024} MiB ({growth:+.1f} %), with web processes "
                f"{tree[0][0] // 1024} → {tree[1][0] // 1024} MiB ({tree_growth:+.1f} %), PSS of all "
                f"{tree[0][1] // 1024} → {tree[1][1] // 1024} MiB "
                f"({process_memory.growth_percent(tree[0][1], tree[1][1]):+.1f} %)",
                *process_memory.table(first, last)])
            print(report)
            with open(os.path.join(args.out, "soak.txt"), "w") as f:
                f.write(report + "\n")
            if args.max_growth is not None:
                for what, value in (("the program's RSS", growth), ("the RSS with web processes", tree_growth)):
                    if value > args.max_growth:
                        problems.append(f"{what} grew {value:.1f} % (limit {args.max_growth} %)")
            code = program.quit()
            if code != 0:
                problems.append(f"exit code {code}")
    finally:
        program.remove()
        service.stop()
    for problem in problems:
        print("soak: " + problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
