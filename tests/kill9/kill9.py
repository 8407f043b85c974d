"""kill -9 at random moments while the lists and the settings are written.

Each run starts the write driver (the program's own list and settings
routines, driven as plays, position updates, deletes and settings changes
would drive them) on the files the previous run left, kills it with SIGKILL
after a random pause, and checks every file: it parses whole, and it holds
either what it held after the last step that ended or what the step under
way would have written. Those two are found by replaying the same steps
from a copy of the files the run started with.

Then it starts the driver again without steps, as the program's next start,
and checks what that start leaves: each list page matches its list (as a
page rendered afresh from the list would be), and no temporary file of a
write cut short is left over.

Usage: kill9.py --driver PATH [--runs N] [--seed S]"""

import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

FILES = ["date.dat", "date_f.dat", "config.dll", "c.htm", "f.htm"]
PAGES = ("c.htm", "f.htm")
FIELDS = {"date.dat": 7, "date_f.dat": 3}
NEVER_ENDS = "1000000000"


def contents(folder):
    found = {}
    for name in FILES:
        try:
            with open(os.path.join(folder, name), "rb") as f:
                found[name] = f.read()
        except FileNotFoundError:
            found[name] = None
    return found


def parse_problems(name, data):
    """Why the file does not parse whole, or None."""
    if data is None:
        return None
    try:
        text = data.decode("gb18030")
    except UnicodeDecodeError as error:
        return f"not GB18030: {error}"
    if name in FIELDS:
        if not text.endswith("\r\n"):
            return "no final line end"
        for line in text[:-2].split("\r\n"):
            if line and line.count("|") != FIELDS[name] - 1:
                return f"record of {line.count('|') + 1} fields: {line!r}"
    elif name == "config.dll":
        for line in text.split("\r\n"):
            if line and not (line.startswith("[") and line.endswith("]")) and "=" not in line:
                return f"not a settings line: {line!r}"
    elif name.endswith(".htm") and not text.rstrip().endswith("</html>"):
        return "page cut short"
    return None


def replay(driver, snapshot, seed, steps):
    folder = tempfile.mkdtemp(prefix="taviro-kill9-replay-")
    try:
        shutil.rmtree(folder)
        shutil.copytree(snapshot, folder)
        subprocess.run([driver, folder, str(seed), str(steps)], check=True, stdout=subprocess.DEVNULL, timeout=120)
        return contents(folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def one_run(driver, folder, snapshot, rng, max_pause):
    shutil.rmtree(snapshot, ignore_errors=True)
    shutil.copytree(folder, snapshot)
    seed = rng.randrange(1 << 31)
    out = tempfile.TemporaryFile()
    process = subprocess.Popen([driver, folder, str(seed), NEVER_ENDS], stdout=out)
    time.sleep(rng.uniform(0, max_pause))
    os.kill(process.pid, signal.SIGKILL)  # only the process this run started
    process.wait()
    out.seek(0)
    lines = out.read().decode().split()
    steps_done = int(lines[-1]) if lines and lines[-1].isdigit() else 0

    now = contents(folder)
    before = replay(driver, snapshot, seed, steps_done)
    after = replay(driver, snapshot, seed, steps_done + 1)
    # Killed before its first step, the driver may not even have made the
    # missing files: what the run started with is old content too.
    started_with = contents(snapshot) if steps_done == 0 else before
    problems = []
    for name in FILES:
        trouble = parse_problems(name, now[name])
        if trouble:
            problems.append(f"{name}: {trouble}")
        if now[name] not in (started_with[name], before[name], after[name]):
            problems.append(f"{name}: neither the old nor the new content")
    behind = [page for page, data in (("c.htm", "date.dat"), ("f.htm", "date_f.dat"))
              if now[data] == after[data] and now[page] != after[page] and before[data] != after[data]]
    left_by_kill = len(strangers(folder))
    return steps_done, problems, behind, left_by_kill


def strangers(folder):
    return [name for name in os.listdir(folder) if name not in FILES]


def next_start(driver, folder):
    """The program's next start on what the kill left. Returns the pages
    that do not match their list afterwards and the files left over."""
    subprocess.run([driver, folder, "0", "0"], check=True, stdout=subprocess.DEVNULL, timeout=120)
    started = contents(folder)
    fresh_folder = tempfile.mkdtemp(prefix="taviro-kill9-fresh-")
    try:
        for name in FILES:
            if name not in PAGES and started[name] is not None:
                shutil.copy(os.path.join(folder, name), fresh_folder)
        subprocess.run([driver, fresh_folder, "0", "0"], check=True, stdout=subprocess.DEVNULL, timeout=120)
        fresh = contents(fresh_folder)
    finally:
        shutil.rmtree(fresh_folder, ignore_errors=True)
    stale = [page for page in PAGES if started[page] != fresh[page]]
    return stale, strangers(folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--runs", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--max-pause", type=float, default=0.25, help="longest run before the kill, in seconds")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 31)
    rng = random.Random(seed)
    work = tempfile.mkdtemp(prefix="taviro-kill9-")
    folder, snapshot = os.path.join(work, "app"), os.path.join(work, "snapshot")
    os.makedirs(folder)
    damaged, steps, pages_behind, began = 0, 0, 0, time.monotonic()
    left_by_kills, stale_after_start, left_after_start = 0, 0, 0
    try:
        for run in range(1, args.runs + 1):
            done, problems, behind, left = one_run(args.driver, folder, snapshot, rng, args.max_pause)
            steps += done
            pages_behind += len(behind)
            left_by_kills += left
            stale, leftovers = next_start(args.driver, folder)
            stale_after_start += len(stale)
            left_after_start += len(leftovers)
            if problems:
                damaged += 1
                print(f"run {run}: " + "; ".join(problems), file=sys.stderr)
            if stale:
                print(f"run {run}: after the next start, behind its list: " + ", ".join(stale), file=sys.stderr)
            if leftovers:
                print(f"run {run}: after the next start, left over: " + ", ".join(leftovers), file=sys.stderr)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"kill -9: {args.runs} runs (seed {seed}), {steps} steps ended before their kill, "
          f"{damaged} runs left a damaged file; a page was left behind its list {pages_behind} times "
          f"and {stale_after_start} times after the next start; the kills left {left_by_kills} temporary "
          f"files, {left_after_start} were left after the next start; {time.monotonic() - began:.0f} s")
    return 1 if damaged or stale_after_start or left_after_start else 0


if __name__ == "__main__":
    sys.exit(main())
