#!/usr/bin/env python3
"""Runs the splash under Wine on virtual X displays and checks what a learner sees:

* the window of class "LumoraTransparentSplashClass", titled "Lumora Splash", a
  borderless top-most layered tool window, centred: at its own 439 x 450 on a
  1280 x 1024 screen, shrunk to 410 x 420 on a 1024 x 600 one;
* on the screen, over a window of one colour: the picture's transparent corners show that
  window; unscaled, every pixel is where and as it should be, premultiplied soft edges
  included; scaled, the card is close to an independent resize of the picture;
* every point of it answers the hit test as a caption, and a mouse drag moves it;
* its timer closes it 15 seconds after it appeared and nothing of it stays on screen
  (first screen); a message of another timer leaves it alone, its own timer's message
  closes it at once (the other screens, which so need not wait 15 seconds).

Wine draws layered windows without blending: fully transparent pixels are cut out,
partly transparent ones (the card's shadow and edge) are drawn as on black. The pixel
check accepts that look as well as the properly blended one. Wine cannot show that clicks
on transparent pixels fall through to the window below, so that goes unchecked.

Without --screen the script runs itself once per size of --screens, each under a
virtual display of its own (xvfb-run). Screenshots are left in the output folder for a
person to look at: splash-WxH.png (shown) and splash-WxH-closed.png (after closing).
"""

import argparse
import os
import subprocess
import sys
import time
from pathlib import Path

# Where the picture lands on each screen: left, top, width, height.
EXPECTED_FRAMES = {
    "1280x1024": (420, 287, 439, 450),
    "1024x600": (307, 90, 410, 420),
}
PICTURE = (439, 450)
BACKDROP = "srgb(46,139,87)"
WINDOW_WAIT_S = 60  # a first start of the Wine prefix takes a while
TIMER_MS = (14900, 15600)
CLOSE_TIMER_ID = 9999
OTHER_TIMER_ID = 1
DRAG = (40, 30)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Session:
    def __init__(self, args):
        self.wine_run = args.wine_run
        self.demo = args.demo
        self.probe = args.probe
        self.picture = args.picture
        self.out = Path(args.out)
        self.screen = args.screen
        self.close_by_message = args.close_by_message

    def probe_run(self, *command):
        # Output goes to a file, not a pipe: a Wine session that the probe happens to
        # start keeps its standard output open until the session ends.
        output = self.out / "probe.stdout"
        with open(output, "wb") as stdout:
            result = subprocess.run([self.wine_run, self.probe, *map(str, command)],
                                    stdout=stdout, stderr=subprocess.DEVNULL, timeout=30)
        return result.returncode, output.read_bytes().decode("latin-1").replace("\r", "")

    def window(self):
        """The probe's report on the splash window, or None when there is none."""
        rc, text = self.probe_run("window")
        if rc != 0:
            return None
        return dict(line.split("=", 1) for line in text.splitlines() if "=" in line)

    def screenshot(self, name):
        path = self.out / name
        subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=30)
        return path


def image_query(*arguments):
    return subprocess.run(["convert", *map(str, arguments)], capture_output=True, text=True,
                          check=True).stdout.strip()


def pixel(path, x, y):
    return image_query(path, "-format", f"%[pixel:p{{{x},{y}}}]", "info:")


def difference(first, second):
    """Normalised RMS difference of two images of one size (0 = identical)."""
    result = subprocess.run(["compare", "-metric", "RMSE", str(first), str(second), "null:"],
                            capture_output=True, text=True)
    check(result.returncode in (0, 1), f"compare failed: {result.stderr.strip()}")
    return float(result.stderr.split("(")[1].rstrip(")"))


def window_checks(info, expected_frame, screen):
    check(info.get("title") == "Lumora Splash", f"title {info.get('title')!r}")
    check(info.get("screen") == screen.replace("x", " "), f"screen {info.get('screen')}")
    frame = tuple(int(value) for value in info["frame"].split())
    check(frame == expected_frame, f"frame {frame}, expected {expected_frame}")
    style = int(info["style"], 16)
    popup, visible, caption, thick_frame = 0x80000000, 0x10000000, 0x00C00000, 0x00040000
    check(style & (popup | visible) == popup | visible, f"style {style:08x} is not a visible popup")
    check(style & (caption | thick_frame) == 0, f"style {style:08x} has a frame")
    ex_style = int(info["exstyle"], 16)
    layered, tool_window, topmost = 0x00080000, 0x80, 0x08
    wanted = layered | tool_window | topmost
    check(ex_style & wanted == wanted,
          f"extended style {ex_style:08x} lacks WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST")
    check(info.get("hittest") == "2", f"hit test answers {info.get('hittest')}, not HTCAPTION")


def differing_pixels(first, second):
    """How many pixels of two images of one size differ by more than 1 %."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "1%", str(first), str(second),
                             "null:"], capture_output=True, text=True)
    check(result.returncode in (0, 1), f"compare failed: {result.stderr.strip()}")
    return int(float(result.stderr.split()[0]))


def unscaled_picture_check(session, shown):
    """The whole picture, pixel for pixel, as a layered window with premultiplied alpha
    shows it over the backdrop: properly blended (Windows), or the way this Wine draws it,
    fully transparent pixels cut out and the others as on black. A picture handed over
    without premultiplying differs along every soft edge."""
    out, picture = session.out, session.picture
    image_query("-size", f"{PICTURE[0]}x{PICTURE[1]}", f"xc:{BACKDROP}", picture, "-composite",
                out / "expected-blended.png")
    image_query(picture, "-alpha", "extract", "-threshold", "0", out / "picture-cover.png")
    image_query("-size", f"{PICTURE[0]}x{PICTURE[1]}", "xc:black", picture, "-composite",
                out / "picture-on-black.png")
    image_query("-size", f"{PICTURE[0]}x{PICTURE[1]}", f"xc:{BACKDROP}",
                out / "picture-on-black.png", out / "picture-cover.png", "-composite",
                out / "expected-cut-out.png")
    counts = {name: differing_pixels(shown, out / f"expected-{name}.png")
              for name in ("blended", "cut-out")}
    check(min(counts.values()) == 0,
          f"the picture on screen differs from its expected look in {counts} pixels")
    return f"matches the {min(counts, key=counts.get)} look"


def scaled_card_check(session, shown, width, height):
    """The card, well inside its rounded edge where every pixel is opaque, close to an
    independent resize of the picture (GDI+'s bicubic filter and ImageMagick's differ a
    little at sharp edges)."""
    inset, limit = 40, 0.02
    crop = f"{width - 2 * inset}x{height - 2 * inset}+{inset}+{inset}"
    card = session.out / f"card-{session.screen}.png"
    image_query(shown, "-crop", crop, "+repage", card)
    expected = session.out / f"card-{session.screen}-expected.png"
    image_query(session.picture, "-alpha", "off", "-filter", "Catrom", "-resize",
                f"{width}x{height}!", "-crop", crop, "+repage", expected)
    diff = difference(card, expected)
    check(diff <= limit, f"the card on screen differs from the resized picture by {diff:.4f} "
          f"(at most {limit} allowed)")
    return f"card differs by {diff:.4f}"


def picture_checks(session, shot, frame):
    left, top, width, height = frame
    right, bottom = left + width - 1, top + height - 1
    # The picture's corners are fully transparent: the window below shows through.
    for x, y in ((left, top), (right, top), (left, bottom), (right, bottom),
                 (left + 3, top + 3), (right - 3, bottom - 3)):
        check(pixel(shot, x, y) == BACKDROP,
              f"at the picture's corner ({x}, {y}) the screen shows {pixel(shot, x, y)}, "
              f"not the window below ({BACKDROP})")
    shown = session.out / f"shown-{session.screen}.png"
    image_query(shot, "-crop", f"{width}x{height}+{left}+{top}", "+repage", shown)
    if (width, height) == PICTURE:
        return unscaled_picture_check(session, shown)
    return scaled_card_check(session, shown, width, height)


def drag_check(session, frame):
    left, top, width, height = frame
    rc, _ = session.probe_run("drag", left + width // 2, top + height // 2, *DRAG)
    check(rc == 0, "the probe could not drag")
    info = session.window()
    check(info is not None, "the splash disappeared while it was dragged")
    moved = tuple(int(value) for value in info["frame"].split())
    wanted = (left + DRAG[0], top + DRAG[1], width, height)
    check(moved == wanted, f"after the drag the frame is {moved}, expected {wanted}")


def timer_message_checks(session):
    rc, _ = session.probe_run("timer", OTHER_TIMER_ID)
    check(rc == 0, "the probe could not post a timer message")
    time.sleep(0.5)
    check(session.window() is not None, f"timer {OTHER_TIMER_ID} closed the splash")
    rc, _ = session.probe_run("timer", CLOSE_TIMER_ID)
    check(rc == 0, "the probe could not post the closing timer's message")


def run_screen(session):
    expected_frame = EXPECTED_FRAMES[session.screen]
    stdout_path = session.out / f"demo-{session.screen}.stdout"
    stdout = open(stdout_path, "wb")
    stderr = open(session.out / f"demo-{session.screen}.stderr", "wb")
    process = subprocess.Popen([session.wine_run, session.demo, "backdrop"], stdout=stdout,
                               stderr=stderr)
    started = time.monotonic()
    try:
        deadline = started + WINDOW_WAIT_S
        info = None
        while info is None:
            check(process.poll() is None, f"the demo ended (exit {process.returncode}, see "
                  "splash_demo.cpp) before its splash was found")
            check(time.monotonic() < deadline, "no splash window appeared")
            info = session.window()
            if info is None:
                time.sleep(0.1)
        seen = time.monotonic()
        window_checks(info, expected_frame, session.screen)

        time.sleep(0.5)  # let the backdrop finish painting
        shot = session.screenshot(f"splash-{session.screen}.png")
        looks = picture_checks(session, shot, expected_frame)
        drag_check(session, expected_frame)

        if session.close_by_message:
            timer_message_checks(session)
        # The timer closes the splash; the demo then keeps its backdrop up for a while.
        while b"splash closed" not in stdout_path.read_bytes():
            check(process.poll() is None, f"the demo ended (exit {process.returncode}) "
                  "without reporting the splash closed")
            check(time.monotonic() < seen + 30, "the splash did not close within 30 s")
            time.sleep(0.1)
        gone = time.monotonic()
        check(session.window() is None, "a splash window is still there")
        closed_shot = session.screenshot(f"splash-{session.screen}-closed.png")
        colours = image_query(closed_shot, "-format", "%k", "info:")
        check(colours == "1", f"after closing, the screen shows {colours} colours, not only "
              "the window below")

        rc = process.wait(timeout=20)
    finally:
        if process.poll() is None:
            process.kill()
        stdout.close()
        stderr.close()
    check(rc == 0, f"demo exit code {rc}")
    report = dict(line.rsplit(" after ", 1) for line in
                  stdout_path.read_bytes().decode().replace("\r", "").splitlines()
                  if " after " in line)
    timer_ms = int(report["splash timer"].split()[0])
    closed_ms = int(report["splash closed"].split()[0])
    if not session.close_by_message:
        check(TIMER_MS[0] <= timer_ms <= TIMER_MS[1],
              f"the splash's timer fired {timer_ms} ms after it appeared")
    closing = "closing message" if session.close_by_message else "timer"
    print(f"{session.screen}: frame {expected_frame}, {looks}, {closing} after {timer_ms} ms, "
          f"window gone after {closed_ms} ms (seen gone {gone - seen:.1f} s after it was "
          f"first found), {time.monotonic() - started:.1f} s in all")


def run_inner(args):
    check(os.environ.get("DISPLAY"), "no X display: run this under xvfb-run")
    env_prefix = {**os.environ, "WINEPREFIX": args.wineprefix}
    # A Wine session still running in the prefix (from a test without a display) would
    # put these windows on its display-less desktop; wait for it to end first.
    subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)
    try:
        run_screen(Session(args))
    finally:
        subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)


def run_outer(args):
    """Runs this script once per screen size, each under a virtual display of its own."""
    passed_on = ["--wine-run", args.wine_run, "--wineprefix", args.wineprefix,
                 "--demo", args.demo, "--probe", args.probe, "--picture", args.picture,
                 "--out", args.out]
    failed = []
    for index, screen in enumerate(args.screens):
        check(screen in EXPECTED_FRAMES, f"no expectations for a {screen} screen")
        closing = ["--close-by-message"] if index > 0 else []
        result = subprocess.run(["xvfb-run", "-a", "-s", f"-screen 0 {screen}x24",
                                 sys.executable, __file__, "--screen", screen, *closing,
                                 *passed_on])
        if result.returncode != 0:
            failed.append(screen)
    check(not failed, f"failed on the screen of {', '.join(failed)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--screens", nargs="+", default=list(EXPECTED_FRAMES))
    parser.add_argument("--screen", help="the current display's size (set by the outer run)")
    parser.add_argument("--close-by-message", action="store_true",
                        help="close the splash with its timer's message instead of waiting")
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--wineprefix", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--picture", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    Path(args.out).mkdir(parents=True, exist_ok=True)

    began = time.monotonic()
    try:
        if args.screen:
            run_inner(args)
            return 0
        run_outer(args)
    except Failure as failure:
        where = f" ({args.screen})" if args.screen else ""
        print(f"FAIL{where}: {failure}", file=sys.stderr)
        return 1
    print(f"splash: passed in {time.monotonic() - began:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
