#!/usr/bin/env python3
"""Runs the printer dialog under Wine on the virtual X display this script is given
(run it under xvfb-run), works it from outside with the probe and checks:

* with printers: the template's layout (title, styles, control ids, positions in dialog
  units), the dialog centred on the screen, the printers listed default first with the
  default preselected, 44-pixel items, and the colours of background, list, cards,
  badge and buttons; Print with nothing selected keeps the dialog open, a double-click
  returns that printer's name; Escape, Cancel and the title bar's close return nothing;
* the dark title bar and round corners requested from the window manager (through a
  recorder in place of dwmapi.dll), the dark title bar again under its older number
  when a system refuses the current one;
* without printers: only the message and Cancel are shown, and Escape returns nothing.

Screenshots are left in the output folder for a person to look at: printer-dialog.png
(default preselected), printer-dialog-none-selected.png and printer-dialog-empty.png.
"""

import argparse
import os
import re
import subprocess
import sys
import time
from pathlib import Path

SCREEN = (1280, 1024)
WINDOW_WAIT_S = 60  # a first start of the Wine prefix takes a while
DIALOG_STYLE = 0x80C808C0
WS_VISIBLE, WS_VSCROLL = 0x10000000, 0x00200000
LIST, PRINT, CANCEL, PROMPT, MESSAGE = 1001, 1002, 1003, 1004, 1005
# id: (class, style, dialog-unit rectangle x, y, width, height)
CONTROLS = {
    PROMPT: ("Static", 0x50000000, (12, 10, 256, 16)),
    LIST: ("ListBox", 0x50210051, (12, 30, 256, 135)),
    MESSAGE: ("Static", 0x40000001, (12, 60, 256, 40)),
    PRINT: ("Button", 0x5001000B, (124, 174, 70, 24)),
    CANCEL: ("Button", 0x5001000B, (198, 174, 70, 24)),
}
# Installed in this order; the default is named in other letter case than the printer.
LONG_NAME = "Accounting Department Colour Laser Printer on the Third Floor, Room 312, East Wing"
PRINTERS = ["Beta", "alpha", "R&D Plotter", "Zeta", LONG_NAME]
DEFAULT = "zeta"
LISTED = ["Zeta", LONG_NAME, "Beta", "R&D Plotter", "alpha"]

DIALOG_BACKGROUND = "srgb(20,21,25)"  # 141519
LIST_BACKGROUND = "srgb(28,30,36)"  # 1C1E24
BLUE = "srgb(37,99,235)"  # 2563EB
LIGHT_BLUE = "srgb(59,130,246)"  # 3B82F6
CARD = "srgb(34,37,45)"  # 22252D
WHITE = "srgb(255,255,255)"
CANCEL_FILL = "srgb(45,48,58)"  # 2D303A


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
        self.out = Path(args.out)

    def probe_run(self, *command):
        # Output goes to a file, not a pipe: a Wine session that the probe happens to
        # start keeps its standard output open until the session ends.
        output = self.out / "probe.stdout"
        with open(output, "wb") as stdout:
            result = subprocess.run([self.wine_run, self.probe, *map(str, command)],
                                    stdout=stdout, stderr=subprocess.DEVNULL, timeout=30)
        return result.returncode, output.read_bytes().decode("latin-1").replace("\r", "")

    def start_demo(self, name, printers, default=None, refuse_attribute=None):
        arguments = (["--default", default] if default else []) + printers
        stdout = open(self.out / f"{name}.stdout", "wb")
        dwm_log = self.out / f"{name}.dwm"
        dwm_log.unlink(missing_ok=True)
        env = {**os.environ, "QUORVEL_DWM_LOG": str(dwm_log),
               # The recorder beside the demo instead of Wine's own dwmapi.dll.
               "WINEDLLOVERRIDES": "mscoree,mshtml=;dwmapi=n"}
        if refuse_attribute is not None:
            env["QUORVEL_DWM_REFUSE"] = str(refuse_attribute)
        process = subprocess.Popen([self.wine_run, self.demo, *arguments], stdout=stdout,
                                   stderr=subprocess.DEVNULL, env=env)
        return Demo(self, name, process, stdout, dwm_log)

    def screenshot(self, name):
        path = self.out / name
        subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=30)
        return path


class Demo:
    def __init__(self, session, name, process, stdout, dwm_log):
        self.session, self.name, self.process, self.stdout = session, name, process, stdout
        self.dwm_log = dwm_log

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            self.process.kill()
        self.stdout.close()

    def dialog(self):
        """The dialog as the probe sees it, waiting for it to appear."""
        deadline = time.monotonic() + WINDOW_WAIT_S
        while time.monotonic() < deadline:
            check(self.process.poll() is None,
                  f"{self.name}: the demo ended (exit {self.process.returncode}) "
                  "without showing the dialog")
            rc, text = self.session.probe_run("window")
            if rc == 0:
                return parse_window(text)
            time.sleep(0.1)
        raise Failure(f"{self.name}: no printer dialog appeared")

    def frame_requests(self):
        """The window attributes the dialog asked the window manager for, in order."""
        if not self.dwm_log.exists():
            return []
        return self.dwm_log.read_text().split()

    def result(self, timeout=15):
        """The name the dialog returned, once the demo has ended."""
        try:
            rc = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{self.name}: the dialog is still open") from None
        check(rc == 0, f"{self.name}: exit code {rc}")
        self.stdout.flush()
        lines = (self.session.out / f"{self.name}.stdout").read_bytes().decode().splitlines()
        results = [line.rstrip("\r")[len("result="):] for line in lines
                   if line.startswith("result=")]
        check(len(results) == 1, f"{self.name}: output {lines!r}")
        return results[0]


def parse_window(text):
    info = dict(line.split("=", 1) for line in text.splitlines() if "=" in line)
    numbers = {key: [int(v) for v in info[key].split()] for key in ("frame", "client", "screen")}
    controls = {}
    for control_id in CONTROLS:
        window_class, style, visible, rect, caption = info[f"item{control_id}"].split("|")
        controls[control_id] = {"class": window_class, "style": int(style, 16),
                                "visible": visible == "1",
                                "rect": [int(v) for v in rect.split()], "text": caption}
    count = int(info["count"])
    return {"title": info["title"], "style": int(info["style"], 16), **numbers,
            "controls": controls, "count": count, "cursel": int(info["cursel"]),
            "itemheight": int(info["itemheight"]),
            "texts": [info[f"text{i}"] for i in range(count)]}


def layout_checks(window):
    check(window["title"] == "Select Printer", f"title {window['title']!r}")
    check(window["style"] & DIALOG_STYLE == DIALOG_STYLE, f"dialog style {window['style']:08x}")
    check(window["screen"] == list(SCREEN), f"screen {window['screen']}")
    left, top, width, height = window["frame"]
    check(abs(left - (SCREEN[0] - width) // 2) <= 1 and abs(top - (SCREEN[1] - height) // 2) <= 1,
          f"dialog frame {window['frame']} is not centred on the screen")

    # Pixels per dialog unit, from the client area of 280 x 210 units; every control's
    # rectangle must agree with them.
    per_x, per_y = window["client"][2] / 280, window["client"][3] / 210
    for control_id, (window_class, style, units) in CONTROLS.items():
        control = window["controls"][control_id]
        check(control["class"].lower() == window_class.lower(),
              f"control {control_id} is a {control['class']}")
        steady = ~(WS_VISIBLE | WS_VSCROLL)  # shown, hidden, scroll bar as needed
        check(control["style"] & steady == style & steady,
              f"control {control_id} style {control['style']:08x}, expected {style:08x}")
        expected = [units[0] * per_x, units[1] * per_y, units[2] * per_x, units[3] * per_y]
        if control_id == LIST:
            # The list box shortens itself to a whole number of items.
            expected[3] = expected[3] // window["itemheight"] * window["itemheight"]
        check(all(abs(a - b) <= 2 for a, b in zip(control["rect"], expected)),
              f"control {control_id} at {control['rect']}, expected about "
              f"{[round(v) for v in expected]}")
    check(window["controls"][PRINT]["text"] == "Print", "Print button text")
    check(window["controls"][CANCEL]["text"] == "Cancel", "Cancel button text")
    check(window["controls"][PROMPT]["text"], "the prompt has no text")
    check("\\n" in window["controls"][MESSAGE]["text"], "the empty-list message is not two lines")


_images = {}


def pixel(path, x, y):
    """The colour at x, y of a screenshot, as ImageMagick names it: srgb(r,g,b)."""
    if path not in _images:
        # One conversion per screenshot into binary PPM: a header, then RGB triples.
        data = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"],
                              capture_output=True, check=True).stdout
        header = re.match(rb"P6\s+(\d+)\s+\d+\s+255\s", data)
        check(header, f"{path.name} is no 8-bit image")
        _images[path] = (int(header.group(1)), data[header.end():])
    width, pixels = _images[path]
    offset = (y * width + x) * 3
    return "srgb({},{},{})".format(*pixels[offset:offset + 3])


def expect_pixel(path, x, y, colour, what):
    found = pixel(path, x, y)
    check(found == colour, f"{path.name}: {what} at {x},{y} is {found}, expected {colour}")


class Places:
    """Screen positions of the dialog's parts, from the probe's client rectangles."""

    def __init__(self, window):
        self.origin = window["client"][:2]
        self.window = window

    def at(self, control_id, dx, dy):
        left, top, _, _ = self.window["controls"][control_id]["rect"]
        return self.origin[0] + left + dx, self.origin[1] + top + dy

    def card(self, index, dx):
        """A point on the middle line of item `index`'s card, dx pixels from its left."""
        height = self.window["itemheight"]
        return self.at(LIST, 4 + dx, index * height + height // 2)

    def badge(self, index, dx):
        """A point on the middle line of item `index`'s badge, dx pixels from its left."""
        list_width = self.window["controls"][LIST]["rect"][2]
        height = self.window["itemheight"]
        return self.at(LIST, list_width - 4 - 10 - 60 + dx, index * height + height // 2)


def colour_checks(shot, window, selected_default):
    places = Places(window)
    expect_pixel(shot, *places.at(LIST, -4, 10), DIALOG_BACKGROUND, "dialog background")
    expect_pixel(shot, *places.at(LIST, 1, 1), LIST_BACKGROUND, "list background")
    expect_pixel(shot, *places.card(0, 4), BLUE if selected_default else CARD, "first card")
    expect_pixel(shot, *places.card(0, 0), LIGHT_BLUE if selected_default else "srgb(46,50,62)",
                 "first card's border")
    expect_pixel(shot, *places.card(1, 4), CARD, "second card")
    expect_pixel(shot, *places.badge(0, 3), WHITE if selected_default else LIGHT_BLUE,
                 "default badge")
    expect_pixel(shot, *places.badge(1, 3), CARD, "second card where no badge is")
    expect_pixel(shot, *places.at(PRINT, 4, 12), BLUE, "Print button")
    expect_pixel(shot, *places.at(CANCEL, 4, 12), CANCEL_FILL, "Cancel button")


def run_with_printers(session):
    with session.start_demo("printers", PRINTERS, DEFAULT) as demo:
        started = time.monotonic()
        window = demo.dialog()
        shown = time.monotonic()
        time.sleep(0.5)  # let the owner-drawn items paint
        shot = session.screenshot("printer-dialog.png")
        layout_checks(window)
        check(window["texts"] == LISTED, f"listed {window['texts']}")
        check(window["cursel"] == 0, f"selected item {window['cursel']}, not the default")
        check(window["itemheight"] == 44, f"item height {window['itemheight']}")
        check(window["controls"][LIST]["visible"] and window["controls"][PRINT]["visible"] and
              not window["controls"][MESSAGE]["visible"], "visibility with printers")
        colour_checks(shot, window, selected_default=True)
        # Dark title bar (20) and rounded corners (33 = round), each with its value.
        requests = demo.frame_requests()
        check(requests == ["20", "1", "33", "2"], f"frame attributes requested: {requests}")

        session.probe_run("select", -1)
        time.sleep(0.5)
        colour_checks(session.screenshot("printer-dialog-none-selected.png"), window,
                      selected_default=False)
        rc, _ = session.probe_run("click", PRINT)
        check(rc == 0, "could not click Print")
        time.sleep(1.0)
        check(demo.process.poll() is None, "Print with nothing selected ended the dialog")
        check(session.probe_run("window")[0] == 0, "Print with nothing selected closed it")

        session.probe_run("dblclick", 2)
        result = demo.result()
        check(result == "Beta", f"double-click on Beta returned {result!r}")
    print(f"with printers: dialog after {shown - started:.1f} s; Print without a selection "
          f"kept it open; double-click returned {result!r}")


def run_closing(session, name, *probe_command):
    with session.start_demo(name, PRINTERS, DEFAULT) as demo:
        demo.dialog()
        rc, _ = session.probe_run(*probe_command)
        check(rc == 0, f"{name}: probe {probe_command} failed")
        result = demo.result()
        check(result == "", f"{name} returned {result!r}")
    print(f"{name}: returned nothing")


def run_without_printers(session):
    # Also a system that knows the dark title bar only by its older number, 19.
    with session.start_demo("no-printers", [], refuse_attribute=20) as demo:
        window = demo.dialog()
        requests = demo.frame_requests()
        check(requests == ["20", "1", "19", "1", "33", "2"],
              f"frame attributes requested when 20 is refused: {requests}")
        time.sleep(0.5)
        shot = session.screenshot("printer-dialog-empty.png")
        layout_checks(window)
        controls = window["controls"]
        check(not controls[LIST]["visible"] and not controls[PRINT]["visible"] and
              controls[MESSAGE]["visible"] and controls[CANCEL]["visible"],
              "without printers only the message and Cancel may show")
        places = Places(window)
        expect_pixel(shot, *places.at(LIST, 1, 1), DIALOG_BACKGROUND, "hidden list's place")
        expect_pixel(shot, *places.at(PRINT, 4, 12), DIALOG_BACKGROUND, "hidden Print's place")
        expect_pixel(shot, *places.at(MESSAGE, 1, 1), DIALOG_BACKGROUND, "message background")
        expect_pixel(shot, *places.at(CANCEL, 4, 12), CANCEL_FILL, "Cancel button")
        session.probe_run("escape")
        result = demo.result()
        check(result == "", f"Escape without printers returned {result!r}")
    print("without printers: message shown, Escape returned nothing; dark title bar asked "
          "for again as attribute 19")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--wineprefix", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    check(os.environ.get("DISPLAY"), "no X display: run this under xvfb-run")

    env_prefix = {**os.environ, "WINEPREFIX": args.wineprefix}
    # A Wine session still running in the prefix (from a test without a display) would
    # put these windows on its display-less desktop; wait for it to end first.
    subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)

    # Without a window manager on the virtual display, Wine waits two seconds for one to
    # withdraw every managed window that closes: the demo's windows are made unmanaged
    # (for the demo only, in the prefix's per-program settings).
    demo_settings = ("HKCU\\Software\\Wine\\AppDefaults\\"
                     f"{Path(args.demo).name}\\X11 Driver")
    subprocess.run([args.wine_run, "reg", "add", demo_settings, "/v", "Managed", "/d", "N", "/f"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    session = Session(args)
    began = time.monotonic()
    try:
        run_with_printers(session)
        run_closing(session, "escape", "escape")
        run_closing(session, "cancel", "click", CANCEL)
        run_closing(session, "title-bar-close", "close")
        run_without_printers(session)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    finally:
        subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)
    print(f"print_dialog: passed in {time.monotonic() - began:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
