"""Reads the start-up trace a program under Wine writes with OutputDebugStringA, with the
time Wine puts on each line, and turns the traces of several runs into one breakdown.

Wine stamps its debug lines (WINEDEBUG=+timestamp,+debugstr) with its tick count in
milliseconds, which it keeps from the Linux clock CLOCK_MONOTONIC_RAW (not
CLOCK_MONOTONIC, which runs apart from it while the system clock is slewed). The
wineserver refreshes that tick count as it works, so a line may be stamped up to about
10 ms early when the server has been idle; the steps measured here are mostly exchanges
with the server or the network, which keep it fresh.
"""
import re
import statistics
import time

TRACE_LINE = re.compile(r'^\s*(\d+)\.(\d{3}):[0-9a-f]+:[a-z]+:debugstr:OutputDebugStringA "(.*)"$')

# What the player and the trivial program trace, as the start of their lines, with the
# name each step gets in the breakdown. The first line matching a prefix counts.
MILESTONES = [
    ("Step 1: Process started", "process entered its main function"),
    ("Step 6: Browser runtime check done", "browser runtime checked"),
    ("Step 6B: Browser environment requested early", "browser environment requested (early)"),
    ("Step 6B: Browser environment arrived early", "browser environment arrived (early)"),
    ("Step 7: Dynamic pins", "pin list loaded"),
    ("Step 7B: Version check done", "version checked"),
    ("Step 9: hasSchemeArgs=", "command line read"),
    ("Step 10: Player window shown", "player window shown"),
    ("Step 10: Link decoded", "link decoded"),
    ("Step 10: Content data answered", "content data answered"),
    ("Step 10B: Version check done", "second version check done"),
    ("Step 11: Browser environment requested", "browser environment requested"),
    ("Step 11: Browser environment created", "browser environment created (or taken over)"),
    ("Step 11: Browser controller created", "browser controller created"),
    ("Step 12: First navigation", "first navigation"),
    ("Step 12: Player window revealed", "splash closed, player window revealed"),
    ("Trivial: window shown", "window shown"),
    ("Trivial: ending", "about to end"),
]


def clock():
    """Now, on the clock Wine stamps its trace lines with."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


def read_trace(path):
    """[(seconds, text)] of the OutputDebugStringA lines in a Wine debug log."""
    lines = []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            match = TRACE_LINE.match(line.rstrip("\n"))
            if match and match[3] != "\\n":
                lines.append((int(match[1]) + int(match[2]) / 1000, match[3]))
    return lines


def milestones(trace, started, ended):
    """{name: seconds since `started`} for the milestones found in `trace`. Raises
    ValueError when a line lies outside the run, i.e. the clocks do not agree."""
    found = {}
    for seconds, text in trace:
        for prefix, name in MILESTONES:
            if text.startswith(prefix) and name not in found:
                # A line may be stamped up to a tick early; anything more is another clock.
                if not started - 0.05 <= seconds <= ended + 0.05:
                    raise ValueError(f"trace line {text!r} at {seconds:.3f} lies outside the "
                                     f"run ({started:.3f} to {ended:.3f}): another clock?")
                found[name] = max(0.0, seconds - started)
    return found


def breakdown(runs):
    """Rows (name, median seconds since the start, median step from the row before,
    number of runs that had it), in the order of the median times. `runs` holds one
    milestones() result per run, each with the run's own ends added."""
    names = {name for run in runs for name in run}
    rows = []
    for name in names:
        times = [run[name] for run in runs if name in run]
        rows.append((statistics.median(times), name, len(times)))
    rows.sort()
    table, previous = [], 0.0
    for at, name, count in rows:
        table.append((name, at, at - previous, count))
        previous = at
    return table


def format_breakdown(title, table, runs):
    lines = [title, f"  {'at':>7}  {'step':>7}"]
    for name, at, step, count in table:
        note = "" if count == runs else f"  (in {count} of {runs} runs)"
        lines.append(f"  {at:7.3f}  {step:7.3f}  {name}{note}")
    return "\n".join(lines)
