#!/usr/bin/env python3
"""Runs surface_demo under Wine on the virtual X display this script is given (run it
under xvfb-run) and checks on the screen what the page's window shows:

* before the first frame: the background colour over the window's bounds;
* a JPEG frame: drawn at the window's origin at its own pixel size (not stretched by its
  72 dpi), the background to its right and below it, the parent window outside;
* after SetBounds: the same picture at the new place, the parent where it was;
* a PNG with a transparent half: the background through that half, nothing left of the
  larger picture before it;
* after SetVisible(false): only the parent window.

The demo checks the rest itself (pixels from its own DC, undecodable frames, the input
commands a click, a wheel turn and a surrogate pair give, visibility, the window's end)
and reports failures on its standard output. Screenshots are left in the output folder
for a person to look at: surface-<stage>.png.
"""

import argparse
import os
import subprocess
import sys
import time
from pathlib import Path

# As in surface_demo.cpp: the top-level window's place, the surface's bounds in it.
WINDOW = (100, 100)
FIRST_BOUNDS = (20, 30)
MOVED_BOUNDS = (60, 50)
JPEG = (200, 100)
PARENT = (64, 64, 64)
BACKGROUND = (0, 128, 128)
QUADRANTS = [(220, 30, 30), (30, 200, 30), (30, 30, 220), (240, 220, 30)]
PNG_OPAQUE = (200, 0, 200)
JPEG_TOLERANCE = 40
STAGES = ["background", "frame", "moved", "png", "hidden"]
FIRST_STAGE_WAIT_S = 90  # a first start of the Wine prefix takes a while
STAGE_WAIT_S = 30


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def pixel(path, x, y):
    text = subprocess.run(["convert", str(path), "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],"
                           f"%[fx:int(255*p{{{x},{y}}}.g)],%[fx:int(255*p{{{x},{y}}}.b)]",
                           "info:"], capture_output=True, text=True, check=True).stdout
    return tuple(int(round(float(value))) for value in text.strip().split(","))


def expect(path, surface_origin, local, wanted, tolerance, what):
    """The screen pixel at `local` in a window whose client origin is at `surface_origin`
    (relative to the top-level window) is about `wanted`."""
    x = WINDOW[0] + surface_origin[0] + local[0]
    y = WINDOW[1] + surface_origin[1] + local[1]
    seen = pixel(path, x, y)
    check(all(abs(a - b) <= tolerance for a, b in zip(seen, wanted)),
          f"{path.name}: {what} at screen ({x},{y}) is {seen}, expected about {wanted}")


def expect_quadrants(path, origin):
    w, h = JPEG
    for i, colour in enumerate(QUADRANTS):
        local = ((w // 4) if i % 2 == 0 else (w * 3 // 4), (h // 4) if i < 2 else (h * 3 // 4))
        expect(path, origin, local, colour, JPEG_TOLERANCE, f"quadrant {i}")
    # Drawn at 72 dpi on a 96 dpi screen the picture would be a third larger: the top
    # right quadrant would start at x 133, and the picture end at x 266.
    expect(path, origin, (w // 2 + 15, h // 4), QUADRANTS[1], JPEG_TOLERANCE,
           "just right of the middle")
    expect(path, origin, (w + 10, h // 4), BACKGROUND, 0, "right of the picture")
    expect(path, origin, (w // 4, h + 10), BACKGROUND, 0, "below the picture")


def stage_checks(stage, path):
    if stage == "background":
        expect(path, FIRST_BOUNDS, (5, 5), BACKGROUND, 0, "background")
        expect(path, FIRST_BOUNDS, (295, 195), BACKGROUND, 0, "background, far corner")
        expect(path, FIRST_BOUNDS, (305, 5), PARENT, 0, "parent right of the bounds")
        expect(path, (0, 0), (5, 5), PARENT, 0, "parent")
    elif stage == "frame":
        expect_quadrants(path, FIRST_BOUNDS)
        expect(path, FIRST_BOUNDS, (-5, 5), PARENT, 0, "parent left of the bounds")
    elif stage == "moved":
        expect_quadrants(path, MOVED_BOUNDS)
        expect(path, FIRST_BOUNDS, (5, 5), PARENT, 0, "where the window was")
    elif stage == "png":
        expect(path, MOVED_BOUNDS, (30, 30), PNG_OPAQUE, 0, "PNG, opaque half")
        expect(path, MOVED_BOUNDS, (90, 30), BACKGROUND, 0, "PNG, transparent half")
        expect(path, MOVED_BOUNDS, (150, 25), BACKGROUND, 0, "where the JPEG was")
    elif stage == "hidden":
        for local in ((5, 5), (50, 25), (295, 195)):
            expect(path, MOVED_BOUNDS, local, PARENT, 0, "hidden surface")


def run(args, out):
    for stale in list(out.glob("*.ready")) + list(out.glob("*.go")):
        stale.unlink()
    stdout_path = out / "surface_demo.stdout"
    # Output goes to a file, not a pipe: the Wine session keeps a pipe open until it ends.
    with open(stdout_path, "wb") as stdout:
        demo = subprocess.Popen([args.wine_run, args.demo, str(out)], stdout=stdout,
                                stderr=subprocess.DEVNULL)
    try:
        wait = FIRST_STAGE_WAIT_S
        for stage in STAGES:
            ready = out / f"{stage}.ready"
            deadline = time.monotonic() + wait
            while not ready.exists():
                check(demo.poll() is None, f"the demo ended before stage {stage}")
                check(time.monotonic() < deadline, f"stage {stage} never came")
                time.sleep(0.1)
            wait = STAGE_WAIT_S
            shot = out / f"surface-{stage}.png"
            subprocess.run(["import", "-window", "root", str(shot)], check=True, timeout=30)
            (out / f"{stage}.go").touch()
            stage_checks(stage, shot)
            print(f"{stage}: as expected")
        code = demo.wait(timeout=60)
    finally:
        if demo.poll() is None:
            demo.kill()
    report = stdout_path.read_bytes().decode("latin-1").replace("\r", "")
    check(code == 0, f"surface_demo exit code {code}:\n{report}")
    print(report.strip())


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--wineprefix", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    check(os.environ.get("DISPLAY"), "no X display: run this under xvfb-run")

    env_prefix = {**os.environ, "WINEPREFIX": args.wineprefix}
    # A Wine session still running in the prefix (from a test without a display) would
    # put these windows on its display-less desktop; wait for it to end first.
    subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)
    began = time.monotonic()
    try:
        run(args, Path(args.out))
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    finally:
        subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)
    print(f"surface: passed in {time.monotonic() - began:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
