#!/usr/bin/env python3
"""Measures the player under Wine, side by side with a trivial program as the baseline:
time from process start to the first content navigation (link mode) and to the init
screen's first navigation, the player's resident memory, and the executable's size.
Run it after ./run-tests (it uses build/windows), on a virtual display:

    xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/run-bench.py [runs]
"""
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "windows"
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(ROOT / "tools" / "platform-sim"))
from run_e2e import Harness  # noqa: E402
from simulator import Simulator  # noqa: E402


class Args:
    wine_run = str(BUILD / "wine-run")
    wineprefix = str(BUILD / "wineprefix")
    player = str(BUILD / "app" / "quorvel.exe")
    standin = str(BUILD / "tools" / "runtime-standin" / "EmbeddedBrowserWebView.dll")
    probe = str(BUILD / "tests" / "e2e" / "window_probe.exe")
    tool = str(BUILD / "tools" / "quorvel-tool" / "quorvel-tool.exe")
    out = str(BUILD / "bench")


def resident_kib(name):
    pids = subprocess.run(["pgrep", "-f", name], capture_output=True, text=True).stdout.split()
    best = 0
    for pid in pids:
        try:
            for line in Path(f"/proc/{pid}/status").read_text().splitlines():
                if line.startswith("VmRSS:"):
                    best = max(best, int(line.split()[1]))
        except OSError:
            pass
    return best


def timed_start(h, arguments):
    started = time.monotonic()
    process = h.start(*arguments)
    h.wait_for(h.first_navigation, "the first navigation", timeout=120)
    elapsed = time.monotonic() - started
    memory = resident_kib("quorvel.exe")
    h.close_main_window(process)
    return elapsed, memory


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    Path(Args.out).mkdir(parents=True, exist_ok=True)
    h = Harness(Args)
    h.lay_out_player()
    baseline, player, init, memory = [], [], [], []
    with Simulator(str(Path(Args.out) / "sim"), port=8443) as sim:
        h.sim = sim
        sim.set_answers({"PUT /api/player/content": {"json": {
            "data": {"type": "pdf", "url": "https://127.0.0.1:8443/a.pdf"}}}})
        link = h.make_link("lesson-7")
        for _ in range(runs):
            started = time.monotonic()
            subprocess.run([Args.wine_run, Args.probe], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            baseline.append(time.monotonic() - started)
            seconds, kib = timed_start(h, [link])
            player.append(seconds)
            memory.append(kib)
            init.append(timed_start(h, [])[0])
    size = os.path.getsize(Args.player)
    b, p, i = (statistics.median(x) for x in (baseline, player, init))
    print(f"runs: {runs} (medians)")
    print(f"trivial program under Wine:        {b:6.2f} s")
    print(f"link to first content navigation:  {p:6.2f} s  ({p / b:.1f} x baseline)")
    print(f"start to init screen navigation:   {i:6.2f} s  ({i / b:.1f} x baseline)")
    print(f"resident memory of quorvel.exe:    {statistics.median(memory) / 1024:6.1f} MiB")
    print(f"quorvel.exe size:                  {size / 1024 / 1024:6.2f} MiB")


if __name__ == "__main__":
    main()
