#!/usr/bin/env python3
"""Measures the player's start under Wine, beside a trivial program as the floor, and says
where the time goes: from the process's start to the first content navigation (link
mode) and to the init screen's first navigation; with the Chromium engine also to the
first frame of the content drawn in the player's window; the player's resident memory
next to the trivial program's; the executable's size; and a breakdown of both starts from
their own trace lines, each stamped by Wine (bench/wine_trace.py).

    xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/run-bench.py \
        [--runs 5] [--warm-up 1] [--engine recording] [--engine chromium] \
        [--build build/windows] [--player-build [NAME=]DIR ...] [--platform-sim DIR] [--out DIR]

--build is the build whose Wine prefix, tools and trivial program are used;
--player-build (default: the same) one whose quorvel.exe and runtime stand-in are
measured. Given several times, the players are measured in turn within each round (the
first of them changing from round to round) and shown side by side at the end: the
machine's load then weighs on all of them alike. --platform-sim is the folder of the
platform simulator to serve them (default: this tree's). Port 8443 must be free: run it
in a network namespace of its own. It prints figures and asserts none; it fails only
when it cannot measure.
"""
import argparse
import os
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
sys.path.insert(0, str(ROOT / "tools" / "platform-sim"))
from bench_report import figures, report, side_by_side  # noqa: E402
from first_frame import Captures, client_region  # noqa: E402
from run_e2e import FIXTURE_CERTS, TITLE, Harness, chromium_settings, windows_path  # noqa: E402
from simulator import Simulator  # noqa: E402
from wine_trace import clock, milestones, read_trace  # noqa: E402

DOMAIN = "127.0.0.1:8443"
NAVIGATION_CALL = b'"call":"Navigate'  # Navigate, NavigateToString, NavigateWithWebResourceRequest
# A lesson that is plainly drawn once it shows: two blocks of colour.
LESSON_PAGE = ("<!doctype html><html><body style='margin:0'>"
               "<div style='height:50vh;background:#2a7'></div>"
               "<div style='height:50vh;background:#fc3'></div></body></html>")
ANSWERS = {
    "recording": {"PUT /api/player/content": {"json": {
        "data": {"type": "pdf", "url": f"https://{DOMAIN}/a.pdf"}}}},
    "chromium": {"PUT /api/player/content": {"json": {
                     "data": {"type": "lesson", "url": f"https://{DOMAIN}/lesson.html"},
                     "watermark": "bench"}},
                 "GET /lesson.html": {"headers": {"Content-Type": "text/html; charset=utf-8"},
                                      "body": LESSON_PAGE}},
}
TRIVIAL_HOLD_MS = 500


class CannotMeasure(Exception):
    pass


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--warm-up", type=int, default=1, help="unmeasured rounds first")
    parser.add_argument("--engine", action="append", choices=("recording", "chromium"))
    parser.add_argument("--build", default=str(ROOT / "build" / "windows"))
    parser.add_argument("--player-build", action="append", metavar="[NAME=]DIR",
                        help="a build whose player is measured; several are measured in turn "
                             "within each round and shown side by side")
    parser.add_argument("--platform-sim", default=str(ROOT / "tools" / "platform-sim"))
    parser.add_argument("--out")
    args = parser.parse_args()
    args.engine = args.engine or ["recording"]
    # Absolute: Wine refuses a relative prefix, and the harness hands the paths on.
    args.build = str(Path(args.build).resolve())
    builds = args.player_build or [args.build]
    args.player_build = [(name, str(Path(build).resolve())) for name, build in
                         ((b.split("=", 1) if "=" in b else (Path(b).name, b)) for b in builds)]
    args.out = args.out or str(Path(args.build) / "bench")
    return args


def harness_arguments(args, engine, name, player_build):
    build, player = Path(args.build), Path(player_build)
    return argparse.Namespace(
        wine_run=str(build / "wine-run"), wineprefix=str(build / "wineprefix"),
        player=str(player / "app" / "quorvel.exe"),
        standin=str(player / "tools" / "runtime-standin" / "EmbeddedBrowserWebView.dll"),
        probe=str(build / "tests" / "e2e" / "window_probe.exe"),
        tool=str(build / "tools" / "quorvel-tool" / "quorvel-tool.exe"),
        trivial=str(build / "bench" / "trivial_program.exe"),
        out=str(Path(args.out) / engine / name), engine=engine)


def resident_kib(pid, name):
    """VmRSS of the process `pid`, which must be running `name` by now."""
    try:
        command = Path(f"/proc/{pid}/cmdline").read_bytes().decode("utf-8", "replace")
        status = Path(f"/proc/{pid}/status").read_text()
    except OSError as error:
        raise CannotMeasure(f"process {pid} is gone: {error}") from error
    if name.lower() not in command.lower():
        raise CannotMeasure(f"process {pid} runs {command!r}, not {name}")
    for line in status.splitlines():
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    raise CannotMeasure(f"no VmRSS for process {pid}")


def wait_until(predicate, what, timeout):
    started = clock()
    while clock() - started < timeout:
        if predicate():
            return clock()
        time.sleep(0.01)
    raise CannotMeasure(f"timed out after {timeout} s waiting for {what}")


class Bench:
    def __init__(self, args, engine, sim, name, player_build):
        self.engine = engine
        self.name = name
        self.h = Harness(harness_arguments(args, engine, name, player_build))
        self.h.sim = sim
        self.out = Path(self.h.args.out)
        self.out.mkdir(parents=True, exist_ok=True)
        self.trace_file = self.out / "trace.txt"

    def log_has(self, needle):
        try:
            return needle in self.h.log.read_bytes()
        except FileNotFoundError:
            return False

    def start(self, program, *arguments):
        """Starts `program` under Wine with its trace lines stamped into trace.txt."""
        self.h.log.unlink(missing_ok=True)
        env = dict(os.environ, WINEDEBUG="+timestamp,+debugstr",
                   QUORVEL_RUNTIME_LOG=windows_path(self.h.log))
        env.pop("QUORVEL_RUNTIME_SCRIPT", None)
        env.pop("QUORVEL_RUNTIME_FAIL", None)
        if self.engine == "chromium":
            env.update(chromium_settings(self.out))
        with open(self.trace_file, "wb") as trace:
            started = clock()
            # stderr goes to a file: a wineserver this start launches keeps it open.
            process = subprocess.Popen([self.h.args.wine_run, program, *arguments],
                                       stdout=subprocess.DEVNULL, stderr=trace, env=env)
        return process, started

    def marks(self, started, ended):
        try:
            return milestones(read_trace(self.trace_file), started, ended)
        except ValueError as error:
            raise CannotMeasure(str(error)) from error

    def run_trivial(self):
        program = self.h.args.trivial
        process, started = self.start(program, str(TRIVIAL_HOLD_MS))
        shown = wait_until(lambda: b"Trivial: window shown" in self.trace_file.read_bytes(),
                           "the trivial program's window", 60)
        memory = resident_kib(process.pid, "trivial_program.exe")
        if process.wait(60) != 0:
            raise CannotMeasure(f"the trivial program ended with {process.returncode}")
        ended = clock()
        marks = self.marks(started, ended)
        marks["process ended"] = ended - started
        return {"shown": shown - started, "ended": ended - started, "memory": memory,
                "marks": marks}

    def run_player(self, *arguments, frame=False):
        self.h.sim.clear_log()
        process, started = self.start(str(self.h.player), *arguments)
        navigated = wait_until(lambda: self.log_has(NAVIGATION_CALL), "the first navigation", 120)
        memory = resident_kib(process.pid, "quorvel.exe")
        drawn, spacing = (self.first_frame(started) if frame else (None, None))
        rc, _ = self.h.probe("close", TITLE, "20000")
        if rc != 0 or process.wait(60) != 0:
            raise CannotMeasure(f"the player did not close normally ({rc}, {process.returncode})")
        ended = clock()
        marks = self.marks(started, ended)
        marks["first navigation in the browser's log"] = navigated - started
        if drawn is not None:
            marks["first frame of the content drawn"] = drawn - started
        requests = self.h.sim.requests()
        return {"navigation": navigated - started, "memory": memory,
                "frame": None if drawn is None else drawn - started, "spacing": spacing,
                "marks": marks, "requests": len(requests),
                "connections": len({r.get("connection") for r in requests})}

    def first_frame(self, started):
        captures = Captures(self.out / "frames").start()
        try:
            wait_until(lambda: self.log_has(b'"event":"NavigationCompleted"'),
                       "the content's navigation to complete", 120)
            time.sleep(1.5)  # the loading overlay fades in 0.5 s once the page loaded
            rc, found = self.h.probe("find", TITLE, "10000")
            region = client_region(found) if rc == 0 else None
            if region is None:
                raise CannotMeasure(f"the player's client area is not on the screen: {found}")
            # A page that is not drawn by now gets ten seconds more.
            wait_until(lambda: captures.latest_shows_something(region),
                       "the player's window to show the content", 10)
        finally:
            captures.stop()
        drawn, spacing = captures.first_showing(region)
        captures.discard()
        if drawn is None:
            raise CannotMeasure("no capture of the player's window showed the content")
        return max(drawn, started), spacing


def load_average():
    return " ".join(f"{v:.2f}" for v in os.getloadavg())


def prepare(bench, sim, engine):
    h = bench.h
    for needed in (h.args.player, h.args.standin, h.args.trivial, h.args.probe, h.args.tool):
        if not Path(needed).exists():
            raise CannotMeasure(f"missing {needed}: build it first")
    h.lay_out_player()
    if h.probe("trust", windows_path(FIXTURE_CERTS / "root.pem"))[0] != 0:
        raise CannotMeasure("could not trust the test root")
    sim.set_answers(ANSWERS[engine])


def measure(args, engine, sim):
    benches = [Bench(args, engine, sim, name, build) for name, build in args.player_build]
    for bench in benches:
        prepare(bench, sim, engine)
    link = benches[0].h.make_link("lesson-7")
    before = load_average()
    trivial, runs = [], {bench.name: [] for bench in benches}
    for round_number in range(args.warm_up + args.runs):
        measured = round_number >= args.warm_up
        floor = benches[0].run_trivial()
        if measured:
            trivial.append(floor)
        # Each round begins with the next build, so that none always goes first.
        for i in range(len(benches)):
            bench = benches[(round_number + i) % len(benches)]
            result = {"link": bench.run_player(link, frame=engine == "chromium"),
                      "init": bench.run_player()}
            if measured:
                runs[bench.name].append(result)
            frame = result["link"]["frame"]
            print(f"   round {round_number + 1}, {bench.name}: link "
                  f"{result['link']['navigation']:.3f} s, init {result['init']['navigation']:.3f} s"
                  + ("" if frame is None else f", frame {frame:.3f} s")
                  + (f", trivial {floor['shown']:.3f} s" if i == 0 else "")
                  + ("" if measured else " (warm-up)"), flush=True)
    load = (before, load_average())
    shown = []
    for bench in benches:
        size = os.path.getsize(bench.h.args.player)
        report(engine, bench.name, trivial, runs[bench.name], load, size)
        shown.append((bench.name, figures(engine, trivial, runs[bench.name], size)))
    if len(benches) > 1:
        side_by_side(engine, shown)


def main():
    args = parse_arguments()
    prefix = {**os.environ, "WINEPREFIX": str(Path(args.build) / "wineprefix")}
    subprocess.run(["wineserver", "-w"], env=prefix)
    try:
        with Simulator(str(Path(args.out) / "sim"), port=8443,
                       program=str(Path(args.platform_sim) / "platform_sim.py")) as sim:
            for engine in args.engine:
                measure(args, engine, sim)
    except CannotMeasure as error:
        print(f"run-bench: cannot measure: {error}", file=sys.stderr)
        return 1
    finally:
        subprocess.run(["wineserver", "-k"], env=prefix)
    return 0


if __name__ == "__main__":
    sys.exit(main())
