#!/usr/bin/env python3
"""./run-demo's part on the virtual screen must fail, and say so, when the player's
window never draws the page although the browser reports it loaded: what the demo
once passed with a black screenshot. The recording stand-in plays that browser: it
reports every navigation completed and draws nothing.

usage: demo_blank_page_test.py --build DIR --out DIR
"""
import argparse
import os
import shutil
import subprocess
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(REPO / "tools" / "platform-sim"))
from simulator import Simulator  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    build, out = Path(args.build).resolve(), Path(args.out).resolve()
    shutil.rmtree(out, ignore_errors=True)
    player = out / "player"
    (player / "WebView2Runtime" / "EBWebView" / "x64").mkdir(parents=True)
    shutil.copy(build / "app" / "quorvel.exe", player)
    shutil.copy(build / "tools" / "runtime-standin" / "EmbeddedBrowserWebView.dll",
                player / "WebView2Runtime" / "EBWebView" / "x64")
    (player / "WebView2Runtime" / "msedgewebview2.exe").write_bytes(b"stand-in")

    link = subprocess.run([str(build / "wine-run"), str(build / "tools" / "quorvel-tool" /
                                                         "quorvel-tool.exe"),
                           "link", "make", "--p1", "course-42", "--id", "lesson-7", "--domain",
                           "127.0.0.1:8443"], capture_output=True, text=True, check=True,
                          timeout=120).stdout.strip()
    env = {k: v for k, v in os.environ.items() if not k.startswith("QUORVEL_RUNTIME_")}
    env.update(QUORVEL_BUILD_DIR=str(build), QUORVEL_DEMO_DIR=str(out),
               QUORVEL_DEMO_PAGE_SECONDS="20",
               QUORVEL_RUNTIME_LOG="Z:" + str(out / "browser.log").replace("/", "\\"))
    with Simulator(str(out / "platform"), port=8443):
        demo = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24",
                               str(REPO / "run-demo"), "__headless", "lesson", link],
                              capture_output=True, text=True, env=env, timeout=600)
    print(demo.stdout + demo.stderr)
    failures = []
    if '"event":"NavigationCompleted"' not in (out / "browser.log").read_text(errors="replace"):
        failures.append("the browser never reported the page loaded: the test proves nothing")
    if demo.returncode == 0:
        failures.append("the demo passed a window that never drew its page")
    if "run-demo: FAILED: the player's window never showed the page" not in demo.stderr:
        failures.append("the demo did not say that the page never appeared")
    screenshot = out / "screenshot.png"
    check = subprocess.run([sys.executable, str(REPO / "scripts" / "check-screenshot.py"),
                            str(screenshot)], capture_output=True, text=True)
    if check.returncode != 1:
        failures.append(f"the screenshot it kept is not the blank one: {check.stdout.strip()}")
    for failure in failures:
        print("FAIL", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
