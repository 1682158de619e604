#!/usr/bin/env python3
"""Runs the diagnostic window under Wine on the virtual X display this script is given
(run it under xvfb-run) and checks what a learner would see and get:

* with a code: the 700 x 600 window centred on the screen, titled and styled as a
  top-most tool window, the code on the clipboard while the countdown runs, the count
  repainted as it goes, the pre-exit hook run once, the follow-up window started with
  its page, and exit code 0 about ten seconds after the window appeared;
* without a code: the 500-pixel-high window, and closing it (as Alt+F4 does) ends the
  countdown at once with exit code 0.

Screenshots are left in the output folder for a person to look at: countdown.png (the
first second), countdown-later.png (about two seconds on) and countdown-no-code.png.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

# An error code of typical length: longer than the code box, so the window cuts it with
# an ellipsis while the clipboard must still get all of it.
CODE = ("DmELaQ1wBjs7cC8/Xg0GFn0Eax9xB3F3MSw4dhpWBEJyUmtIaQVwI3VsZykbVRoYKANsAHZQeSJ8J2Uv"
        "HlIAETdBPEw3Xi96Li49P0heQ345VihYIUI1GCsgOidIVGhJP0cpcnEBcjsIDxc=")
SCREEN = (1280, 1024)
CAPTION = "Link Error - خطأ في الرابط"
WINDOW_WAIT_S = 60  # a first start of the Wine prefix takes a while
SHOWN_TO_EXIT_S = (8.5, 16.0)


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
        self.prefix = args.wineprefix
        self.out = Path(args.out)

    def probe_run(self, command):
        # Output goes to a file, not a pipe: a Wine session that the probe happens to
        # start keeps its standard output open until the session ends.
        output = self.out / "probe.stdout"
        with open(output, "wb") as stdout:
            result = subprocess.run([self.wine_run, self.probe, command], stdout=stdout,
                                    stderr=subprocess.DEVNULL, timeout=30)
        return result.returncode, output.read_bytes().decode("latin-1").replace("\r", "")

    def start_demo(self, name, code_args):
        env = dict(os.environ)
        # The process channel records the follow-up window's start with its command line.
        env["WINEDEBUG"] = "+process"
        stdout = open(self.out / f"{name}.stdout", "wb")
        stderr = open(self.out / f"{name}.stderr", "wb")
        process = subprocess.Popen([self.wine_run, self.demo, *code_args], stdout=stdout,
                                   stderr=stderr, env=env)
        return process, stdout, stderr

    def wait_for_window(self, process):
        deadline = time.monotonic() + WINDOW_WAIT_S
        while time.monotonic() < deadline:
            check(process.poll() is None,
                  f"the demo ended (exit {process.returncode}) before its window was found")
            rc, text = self.probe_run("window")
            if rc == 0:
                return time.monotonic(), dict(
                    line.split("=", 1) for line in text.splitlines() if "=" in line)
            time.sleep(0.1)
        raise Failure("no DiagnosticCountdown window appeared")

    def screenshot(self, name):
        path = self.out / name
        subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=30)
        return path

    def leftover_hosts(self):
        """Processes of the follow-up window's host in this test's Wine prefix."""
        found = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                command = (entry / "cmdline").read_bytes()
                environ = (entry / "environ").read_bytes().split(b"\0")
            except OSError:
                continue
            if b"mshta" in command.lower() and \
                    f"WINEPREFIX={self.prefix}".encode() in environ:
                found.append(int(entry.name))
        return found


def window_checks(info, height):
    check(info.get("title") == "Security Alert", f"title {info.get('title')!r}")
    check(info.get("screen") == f"{SCREEN[0]} {SCREEN[1]}", f"screen {info.get('screen')}")
    left = (SCREEN[0] - 700) // 2
    top = (SCREEN[1] - height) // 2
    check(info.get("frame") == f"{left} {top} 700 {height}",
          f"frame {info.get('frame')}, expected {left} {top} 700 {height}")
    style = int(info["style"], 16)
    popup, visible, border = 0x80000000, 0x10000000, 0x00800000
    check(style & (popup | visible | border) == popup | visible | border,
          f"style {style:08x} lacks WS_POPUP | WS_VISIBLE | WS_BORDER")
    ex_style = int(info["exstyle"], 16)
    tool_window, topmost = 0x80, 0x08
    check(ex_style & (tool_window | topmost) == tool_window | topmost,
          f"extended style {ex_style:08x} lacks WS_EX_TOOLWINDOW | WS_EX_TOPMOST")
    return left, top


def pixel(path, x, y):
    return subprocess.run(["convert", str(path), "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                          capture_output=True, text=True, check=True).stdout.strip()


def same_region(first, second, left, top, width, height):
    """True when the two screenshots agree in the given rectangle."""
    crop = f"{width}x{height}+{left}+{top}"
    result = subprocess.run(["compare", "-metric", "AE", "(", str(first), "-crop", crop, ")",
                             "(", str(second), "-crop", crop, ")", "null:"],
                            capture_output=True, text=True)
    check(result.returncode in (0, 1), f"compare failed: {result.stderr.strip()}")
    return result.returncode == 0


def wine_string(escaped):
    """Reads a string as Wine's debug channels print it (C escapes, \\XXXX for UTF-16)."""
    out, i = [], 0
    while i < len(escaped):
        c = escaped[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        nxt = escaped[i + 1]
        if re.fullmatch(r"[0-9a-fA-F]{4}", escaped[i + 1:i + 5]):
            out.append(chr(int(escaped[i + 1:i + 5], 16)))
            i += 5
        else:
            out.append({"n": "\n", "r": "\r", "t": "\t"}.get(nxt, nxt))
            i += 2
    return "".join(out)


def follow_up_checks(trace):
    quoted = r'L"((?:[^"\\]|\\.)*)"'
    starts = re.findall(rf"CreateProcessInternalW app {quoted} cmdline {quoted}", trace)
    hosts = [(wine_string(app), wine_string(cmd)) for app, cmd in starts
             if "mshta" in app.lower()]
    check(len(hosts) == 1, f"expected one start of the follow-up window, saw {len(hosts)}")
    app, command = hosts[0]
    check(app.lower() == r"c:\windows\system32\mshta.exe", f"host {app!r}")
    expected = (f'mshta "about:<html><head><title>{CAPTION}</title>'
                "<hta:application id='diag' border='dialog'")
    check(command.startswith(expected), f"follow-up command line begins {command[:160]!r}")
    check(re.search(r"NtCreateUserProcess .*mshta\.exe.* pid [0-9a-f]+ ", trace),
          "the follow-up window's process was not created")


def run_with_code(session):
    process, *streams = session.start_demo("with-code", [CODE])
    started = time.monotonic()
    try:
        shown, info = session.wait_for_window(process)
        first = session.screenshot("countdown.png")
        left, top = window_checks(info, 600)
        check(pixel(first, left + 10, top + 10) == "srgb(26,26,46)",
              f"window background is {pixel(first, left + 10, top + 10)}, not #1A1A2E")

        rc, clipboard = session.probe_run("clipboard")
        check(rc == 0 and clipboard == CODE, f"clipboard holds {clipboard!r} (probe exit {rc})")

        time.sleep(max(0.0, shown + 2.2 - time.monotonic()))
        later = session.screenshot("countdown-later.png")
        check(not same_region(first, later, left, top, 700, 600),
              "the countdown did not repaint within two seconds")

        rc = process.wait(timeout=25)
        ended = time.monotonic()
    finally:
        if process.poll() is None:
            process.kill()
        for stream in streams:
            stream.close()
    check(rc == 0, f"exit code {rc}")
    lasted = ended - shown
    check(SHOWN_TO_EXIT_S[0] <= lasted <= SHOWN_TO_EXIT_S[1],
          f"the process ended {lasted:.1f} s after its window appeared")
    stdout = (session.out / "with-code.stdout").read_bytes().decode().replace("\r", "")
    hook_calls = stdout.count("pre-exit hook")
    check(hook_calls == 1, f"the pre-exit hook ran {hook_calls} times")
    follow_up_checks((session.out / "with-code.stderr").read_text("utf-8", "replace"))
    print(f"with code: window after {shown - started:.1f} s, exit 0 after "
          f"{lasted:.1f} s more")


def run_without_code(session):
    process, *streams = session.start_demo("no-code", [])
    try:
        _, info = session.wait_for_window(process)
        session.screenshot("countdown-no-code.png")
        window_checks(info, 500)
        rc, clipboard = session.probe_run("clipboard")
        check(rc == 0 and clipboard == "", f"clipboard holds {clipboard!r} (probe exit {rc})")

        rc, _ = session.probe_run("close")
        check(rc == 0, "could not ask the window to close")
        closed = time.monotonic()
        rc = process.wait(timeout=15)
        lasted = time.monotonic() - closed
    finally:
        if process.poll() is None:
            process.kill()
        for stream in streams:
            stream.close()
    check(rc == 0, f"exit code {rc} after closing")
    check(lasted < 5, f"closing the window ended the process only after {lasted:.1f} s")
    print(f"without code: closed, exit 0 after {lasted:.1f} s")


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

    session = Session(args)
    began = time.monotonic()
    try:
        run_with_code(session)
        run_without_code(session)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    finally:
        # The follow-up window outlives the demo on purpose; here it must not outlive
        # the test, nor the session keep this display.
        for pid in session.leftover_hosts():
            os.kill(pid, signal.SIGKILL)
        subprocess.run(["wineserver", "-w"], env=env_prefix, timeout=60)
    print(f"diag_window: passed in {time.monotonic() - began:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
