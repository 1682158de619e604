#!/usr/bin/env python3
"""The demo platform: the simulator's API plus a small web site with real lessons.

    demo_platform.py [--state-dir DIR] [--port 8443] [--tool COMMAND] [platform_sim options]

Serves, on loopback over TLS with the fixture chain, the platform's start page (/, /app/
and /app/home: the courses with one player link per lesson), the lessons' pages and
handout, and the content answer for each lesson's link id; everything else is the
simulator's (pins, version, answers.json, DIR/requests.log). The links are made at
start-up with quorvel-tool (COMMAND, split like a shell would: by default the native
build's tool, else the Windows build's under its wine-run) and also written to
DIR/links.json as {"lesson": link, "pdf": ..., "video": ..., "away": ...}.
"""
import argparse
import json
import os
import shlex
import subprocess
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
import platform_sim  # noqa: E402
from demo_site import LESSONS, DemoSite  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def default_tool():
    native = os.path.join(REPO, "build", "native", "tools", "quorvel-tool", "quorvel-tool")
    if os.access(native, os.X_OK):
        return [native]
    windows = os.path.join(REPO, "build", "windows")
    return [os.path.join(windows, "wine-run"),
            os.path.join(windows, "tools", "quorvel-tool", "quorvel-tool.exe")]


def make_links(tool, domain):
    """One link per lesson, by link id. The tool runs once per lesson, all at once: under
    Wine each start costs about a second."""
    runs = {lesson.link_id: subprocess.Popen(
        [*tool, "link", "make", "--p1", lesson.course, "--id", lesson.link_id,
         "--domain", domain], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        for lesson in LESSONS}
    links = {}
    for link_id, run in runs.items():
        out, err = run.communicate(timeout=120)
        link = out.strip().splitlines()[-1] if out.strip() else ""
        if run.returncode != 0 or not link.startswith("quorvel:"):
            raise SystemExit(f"demo_platform: {shlex.join(tool)} link make failed for {link_id} "
                             f"(exit {run.returncode}): {err.strip() or out.strip()}")
        links[link_id] = link
    return links


class DemoHandler(platform_sim.Handler):
    def default_answer(self, path, body):
        if self.command != "HEAD":  # HEAD stays the simulator's: the player's pre-flight
            answer = self.server.site.answer(self.command, path, body)
            if answer is not None:
                return answer
        return super().default_answer(path, body)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    platform_sim.add_server_arguments(
        parser, state_dir_default=os.path.join(REPO, "build", "demo", "platform"),
        port_default=8443)
    parser.add_argument("--tool", help="the quorvel-tool command (default: the built one)")
    args = parser.parse_args()
    tool = shlex.split(args.tool) if args.tool else default_tool()

    server = platform_sim.make_server(args, DemoHandler)
    domain = f"{args.host}:{server.server_port}"
    links = make_links(tool, domain)
    server.site = DemoSite(f"{server.scheme}://{domain}", links, args.state_dir)
    with open(os.path.join(args.state_dir, "links.json"), "w", encoding="utf-8") as f:
        json.dump({lesson.choice: links[lesson.link_id] for lesson in LESSONS}, f, indent=1)
    print(f"demo platform: start page {server.scheme}://{domain}/app/", flush=True)
    platform_sim.serve_until_stopped(server, args)


if __name__ == "__main__":
    main()
