#!/usr/bin/env python3
"""Runs the Windows network tests against platform simulators.

usage: run_net_tests.py WINE_RUN NET_TESTS_EXE QUORVEL_TOOL_EXE WORK_DIR [gtest args...]

Starts, each with its own state directory under WORK_DIR:
  PLATFORM   the demo platform's fixed address, https://127.0.0.1:8443, with the
             committed fixture chain whose pins are the build's default pins;
  TRUSTED    a fresh chain whose root the tests make trusted in the Wine prefix, and
             which a test may have switch to the UNTRUSTED chain after N connections;
  UNTRUSTED  a fresh chain nobody trusts;
  PLAIN      plain http.
Links for the link tests are made with the Windows build's quorvel-tool.
"""
import json
import os
import shutil
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
        # Values a form parser would misread unless they are form-encoded.
        "form_values": make("a+b&c=d%e f/\u00e9", "id+&=%25\u0645?#"),
    }


def make_product_named_root(outdir):
    """A self-signed root whose name reads like a scanning product's, for the tests of
    the scanner exemption."""
    os.makedirs(outdir, exist_ok=True)
    pem = os.path.join(outdir, "root.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30",
                    "-subj", "/CN=Avast! Web\\/Mail Shield Root",
                    "-keyout", os.path.join(outdir, "root.key"), "-out", pem],
                   check=True, capture_output=True)
    return pem


def main():
    wine_run, exe, tool, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    trusted = make_chain(os.path.join(work, "trusted-chain"))
    untrusted = make_chain(os.path.join(work, "untrusted-chain"))
    installed_product_root = make_product_named_root(os.path.join(work, "product-root-installed"))
    links_file = os.path.join(work, "links.json")
    with open(links_file, "w", encoding="utf-8") as f:
        json.dump(make_links(wine_run, tool), f)

    env = dict(os.environ)
    env.update({
        "QUORVEL_TRUSTED_CHAIN_DIR": windows_path(trusted["dir"]),
        "QUORVEL_TRUSTED_ROOTS": ";".join(windows_path(p) for p in (
            trusted["root"], os.path.join(FIXTURE, "root.pem"), installed_product_root)),
        "QUORVEL_PIN_TRUSTED_LEAF": trusted["pins"]["leaf"],
        "QUORVEL_PIN_TRUSTED_INTERMEDIATE": trusted["pins"]["intermediate"],
        "QUORVEL_PIN_UNTRUSTED_LEAF": untrusted["pins"]["leaf"],
        "QUORVEL_TEST_LINKS": windows_path(links_file),
        # Both read like a scanning product's root; only the first is installed.
        "QUORVEL_PRODUCT_ROOT_INSTALLED": windows_path(installed_product_root),
        "QUORVEL_PRODUCT_ROOT_FORGED": windows_path(make_product_named_root(
            os.path.join(work, "product-root-forged"))),
    })
    # Wine passes the Unix environment on to Windows programs.
    sims = {
        "PLATFORM": dict(port=8443),
        "TRUSTED": dict(cert=trusted["chain"], key=trusted["key"],
                        switch_cert=untrusted["chain"], switch_key=untrusted["key"]),
        "UNTRUSTED": dict(cert=untrusted["chain"], key=untrusted["key"]),
        "PLAIN": dict(plain=True),
    }

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
