"""Memory of a process and its descendants, read from /proc, grouped by
process name (the program, WebKit's web and network processes, helpers), so
that growth can be told apart by process."""

import os


def descendants(pid):
    """The process and every process below it, as pids."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            children.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            continue  # it ended while we looked
    found, stack = [], [pid]
    while stack:
        current = stack.pop()
        found.append(current)
        stack.extend(children.get(current, []))
    return found


def reading(pid):
    """(name, RSS KiB, PSS KiB) of one process, or None once it has ended.
    PSS divides each shared page among the processes that map it, so the
    processes' PSS add up to what the tree really holds; it also moves when
    unrelated programs that map the same libraries start or end."""
    try:
        with open(f"/proc/{pid}/comm") as f:
            name = f.read().strip()
        rss = pss = 0
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Rss:"):
                    rss = int(line.split()[1])
                elif line.startswith("Pss:"):
                    pss = int(line.split()[1])
        return name, rss, pss
    except (OSError, ValueError):
        return None


def by_name(pid):
    """{name: (processes, RSS KiB, PSS KiB)} over the tree below `pid`; the
    program itself is listed as "program"."""
    groups = {}
    for current in descendants(pid):
        value = reading(current)
        if value is None:
            continue
        name = "program" if current == pid else value[0]
        count, rss, pss = groups.get(name, (0, 0, 0))
        groups[name] = (count + 1, rss + value[1], pss + value[2])
    return groups


def median_groups(readings):
    """Per name, the median of each figure over several by_name() readings, so
    that one reading that falls on a passing allocation does not decide."""
    names = {name for groups in readings for name in groups}
    result = {}
    for name in names:
        columns = zip(*(groups.get(name, (0, 0, 0)) for groups in readings))
        result[name] = tuple(sorted(column)[len(readings) // 2] for column in columns)
    return result


def totals(groups):
    """(RSS KiB, PSS KiB) of every group together."""
    return sum(g[1] for g in groups.values()), sum(g[2] for g in groups.values())


def growth_percent(before, after):
    return 100.0 * (after - before) / before if before else 0.0


def table(first, last):
    """Lines comparing two readings of by_name, one per process name."""
    lines = []
    for name in sorted(set(first) | set(last), key=lambda n: (n != "program", n)):
        a, b = first.get(name, (0, 0, 0)), last.get(name, (0, 0, 0))
        lines.append(f"  {name:<18} x{a[0]}→{b[0]}  RSS {a[1] // 1024:>5} → {b[1] // 1024:>5} MiB "
                     f"({growth_percent(a[1], b[1]):+6.1f} %)  PSS {a[2] // 1024:>5} → {b[2] // 1024:>5} MiB "
                     f"({growth_percent(a[2], b[2]):+6.1f} %)")
    return lines
