#!/usr/bin/env python3
"""Runs the Windows network tests against platform simulators.

usage: run_net_tests.py WINE_RUN NET_TESTS_EXE QUORVEL_TOOL_EXE WORK_DIR [gtest args...]

Starts, each with its own state directory under WORK_DIR:
  PLATFORM   the demo platform's fixed address, https://127.0.0.1:8443, with the
             committed fixture chain whose pins are the build's default pins;
  TRUSTED    a fresh chain whose root the tests make trusted in the Wine prefix;
  UNTRUSTED  a fresh chain nobody trusts;
  PLAIN      plain http;
  BROWSER    the trusted chain on port 443 (only when this user may bind it).
Links for the link tests are made with the Windows build's quorvel-tool.
"""
import json
import os
import shutil
import socket
import subprocess
import sys
from contextlib import ExitStack

SOURCE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(SOURCE, "..", "..", "tools", "platform-sim"))
from simulator import Simulator, make_chain  # noqa: E402

FIXTURE = os.path.join(SOURCE, "..", "..", "tools", "platform-sim", "test-fixture-demo-certs")
DOMAIN = "127.0.0.1:8443"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def port_free(port):
    with socket.socket() as probe:
        try:
            probe.bind(("127.0.0.1", port))
            return True
        except OSError:
            return False


def make_links(wine_run, tool):
    def make(p1, link_id, key_hex=None):
        command = [wine_run, tool, "link", "make", "--p1", p1, "--id", link_id, "--domain", DOMAIN]
        if key_hex:
            command += ["--key-hex", key_hex]
        return subprocess.run(command, check=True, capture_output=True, text=True).stdout.strip()

    return {
        "direct": make("course-42", "https://lessons.example.org/intro.html"),
        "lesson": make("course-42", "lesson-7"),
        "other_key": make("course-42", "lesson-7", "11" * 32),
    }


def main():
    wine_run, exe, tool, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    trusted = make_chain(os.path.join(work, "trusted-chain"))
    untrusted = make_chain(os.path.join(work, "untrusted-chain"))
    links_file = os.path.join(work, "links.json")
    with open(links_file, "w", encoding="utf-8") as f:
        json.dump(make_links(wine_run, tool), f)

    env = dict(os.environ)
    env.update({
        "QUORVEL_TRUSTED_CHAIN_DIR": windows_path(trusted["dir"]),
        "QUORVEL_TRUSTED_ROOTS": ";".join(windows_path(p) for p in (
            trusted["root"], os.path.join(FIXTURE, "root.pem"))),
        "QUORVEL_PIN_TRUSTED_LEAF": trusted["pins"]["leaf"],
        "QUORVEL_PIN_TRUSTED_INTERMEDIATE": trusted["pins"]["intermediate"],
        "QUORVEL_PIN_UNTRUSTED_LEAF": untrusted["pins"]["leaf"],
        "QUORVEL_TEST_LINKS": windows_path(links_file),
    })
    # Wine passes the Unix environment on to Windows programs.
    sims = {
        "PLATFORM": dict(port=8443),
        "TRUSTED": dict(cert=trusted["chain"], key=trusted["key"]),
        "UNTRUSTED": dict(cert=untrusted["chain"], key=untrusted["key"]),
        "PLAIN": dict(plain=True),
    }
    if port_free(443):
        sims["BROWSER"] = dict(cert=trusted["chain"], key=trusted["key"], port=443)
    else:
        print("port 443 is not available: the browser-side pin check is skipped")

    with ExitStack() as stack:
        for name, options in sims.items():
            sim = stack.enter_context(Simulator(os.path.join(work, name.lower()), **options))
            env[f"QUORVEL_SIM_{name}_PORT"] = str(sim.port)
            env[f"QUORVEL_SIM_{name}_DIR"] = windows_path(sim.state_dir)
            if options.get("plain"):
                env[f"QUORVEL_SIM_{name}_PLAIN"] = "1"
        result = subprocess.run([wine_run, exe, "--gtest_brief=1", *sys.argv[5:]], env=env)
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
