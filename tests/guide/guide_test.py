#!/usr/bin/env python3
"""The platform integration guide's examples, run: its link makers must make links the
player reads back, its commands must print what it shows, and its profile table must
name every value of the profile. (The answers it shows are read by the player's own
readers in tests/unit/guide_examples_test.cpp.)

usage: guide_test.py --guide MD --profile H --tool QUORVEL_TOOL --fixture CERT_DIR
"""
import argparse
import base64
import hashlib
import hmac
import json
import re
import subprocess
import sys
import tempfile
import urllib.parse
from pathlib import Path

# Blocks whose meaning the C++ test checks; every other marker must be checked here.
CHECKED_ELSEWHERE = {"content-request", "answer pin-list", "answer version-optional",
                     "answer version-mandatory", "answer version-current",
                     "answer content-lesson", "answer content-pdf", "answer content-youtube",
                     "answer content-refusal"}
MAC_ERROR = "exception_MAC verification failed \u2014 data may be tampered"
OTHER_KEY = "00112233445566778899aabbccddeeff" * 2

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print(f"FAIL {message}", flush=True)
    return condition


def blocks(guide):
    """{name: text} of every fenced block after a "<!-- check: NAME -->" line."""
    found = {}
    for match in re.finditer(r"<!-- check: (.+?) -->\n```[^\n]*\n(.*?)\n```", guide, re.S):
        check(match[1] not in found, f"two blocks named {match[1]!r}")
        found[match[1]] = match[2]
    return found


def tool(args, *words):
    result = subprocess.run([args.tool, *words], capture_output=True, text=True, timeout=60)
    return result.returncode, result.stdout.strip()


def envelope_macs_hold(link, key_hex):
    """Each part carries "mac": HMAC-SHA256 over the iv and value texts, lower-case hex."""
    key = bytes.fromhex(key_hex)
    parts = link[len("quorvel:"):].split(":")
    if not check(len(parts) == 3, f"not three parts: {link}"):
        return
    for part in parts:
        check(re.fullmatch(r"[A-Za-z0-9%._~-]+", part) is not None,
              f"a part is not percent-encoded: {part}")
        envelope = json.loads(base64.b64decode(urllib.parse.unquote(part)))
        expected = hmac.new(key, (envelope["iv"] + envelope["value"]).encode(),
                            hashlib.sha256).hexdigest()
        check(envelope.get("mac") == expected, f"wrong or missing mac in {envelope}")


def link_makers(args, found, work):
    _, build_key = tool(args, "link", "key")
    makers = {"make_link.mjs": ["node"], "make_link.py": [sys.executable]}
    cases = [
        ("course-web-basics", "lesson-page", "127.0.0.1:8443", "127.0.0.1:8443", False),
        ("مرحبا + / = & ? %41 بالعالم", "id with spaces&more", "https://school.example/",
         "https://school.example", False),
        ("p1", "https://cdn.example/درس.pdf?x=1&y=2", "school.example", "school.example", True),
    ]
    for name, runner in makers.items():
        script = work / name
        script.write_text(found.get(name, ""), encoding="utf-8")
        for key_hex, key_option in ((build_key, []), (OTHER_KEY, ["--key-hex", OTHER_KEY])):
            for p1, link_id, domain, read_domain, direct in cases:
                made = subprocess.run([*runner, str(script), p1, link_id, domain, key_hex],
                                      capture_output=True, text=True, timeout=60)
                if not check(made.returncode == 0, f"{name}: {made.stderr.strip()}"):
                    continue
                link = made.stdout.strip()
                envelope_macs_hold(link, key_hex)
                rc, opened = tool(args, "link", "open", link, *key_option)
                expected = {"ok": True, "p1": p1, "contentLinkId": link_id,
                            "domain": read_domain, "directUrl": direct}
                check(rc == 0 and json.loads(opened) == expected,
                      f"{name} {p1!r}: opened as {opened}, expected {expected}")
        # The player really checks the MAC: the same link under another key is refused.
        made = subprocess.run([*runner, str(script), "a", "b", "c", OTHER_KEY],
                              capture_output=True, text=True, timeout=60)
        rc, opened = tool(args, "link", "open", made.stdout.strip())
        check(rc == 1 and json.loads(opened or "{}").get("reason") == MAC_ERROR,
              f"{name}: a link made with another key opened as {opened}")


def form_reader(found):
    namespace = {}
    exec(found.get("read_content_form.py", ""), namespace)  # noqa: S102 - our own guide
    read = namespace.get("read_content_form")
    if not check(callable(read), "read_content_form.py defines no read_content_form"):
        return
    for p1, link_id in (("course-web-basics", "lesson-page"),
                        ("a+b c/é=&?", "https://cdn.example/a?b=1&c=2")):
        encoded = urllib.parse.urlencode({"token": p1, "link_id": link_id}).encode()
        check(read(encoded) == (p1, link_id), f"the form reader read {encoded!r} wrong")
    check(read(b"token=course-web-basics&link_id=lesson-page") ==
          ("course-web-basics", "lesson-page"), "the form reader fails on a plain body")


def pin_command(args, found):
    pins = dict(line.split() for line in (Path(args.fixture) / "pins.txt").read_text().splitlines())
    result = subprocess.run(["sh", "-c", found.get("pin-command", "false")], cwd=args.fixture,
                            capture_output=True, text=True, timeout=60)
    check(result.stdout.strip() == pins["leaf"],
          f"the pin command printed {result.stdout.strip()!r}, not the leaf's pin")


def diagnostic_code(args, found):
    lines = found.get("diag-code", "").splitlines()
    if not check(len(lines) == 2 and lines[0].startswith("quorvel-tool diag read "),
                 "diag-code: a command and its output"):
        return
    rc, printed = tool(args, *lines[0].split()[1:])
    check(rc == 0 and printed == lines[1], f"diag read printed {printed}")


def profile_values(args, guide):
    defined = set(re.findall(r"^#define (QUORVEL_PROFILE_\w+)", Path(args.profile).read_text(), re.M))
    named = set(re.findall(r"`(QUORVEL_PROFILE_\w+)`", guide))
    # "`NAME_1` to `_3`" and "`NAME_6`, `_9`, `_20`" name a group.
    for first, last in re.findall(r"`(QUORVEL_PROFILE_\w+?_\d+)` to `_(\d+)`", guide):
        base, start = first.rsplit("_", 1)
        named.update(f"{base}_{i}" for i in range(int(start), int(last) + 1))
    for first, rest in re.findall(r"`(QUORVEL_PROFILE_\w+)`((?:, `_\w+`)+)", guide):
        for suffix in re.findall(r"`(_\w+)`", rest):
            cut = suffix.count("_")
            named.add("_".join(first.split("_")[:-cut]) + suffix)
    check(not defined - named, f"profile values the guide does not describe: {sorted(defined - named)}")
    check(not named - defined, f"values the guide names that the profile lacks: {sorted(named - defined)}")


def main():
    parser = argparse.ArgumentParser()
    for name in ("guide", "profile", "tool", "fixture"):
        parser.add_argument(f"--{name}", required=True)
    args = parser.parse_args()
    guide = Path(args.guide).read_text(encoding="utf-8")
    found = blocks(guide)
    mine = {"make_link.mjs", "make_link.py", "read_content_form.py", "pin-command", "diag-code"}
    check(set(found) == mine | CHECKED_ELSEWHERE,
          f"checked blocks: unexpected {sorted(set(found) - mine - CHECKED_ELSEWHERE)}, "
          f"missing {sorted(mine | CHECKED_ELSEWHERE - set(found))}")
    with tempfile.TemporaryDirectory() as work:
        link_makers(args, found, Path(work))
    form_reader(found)
    pin_command(args, found)
    diagnostic_code(args, found)
    profile_values(args, guide)
    if failures:
        sys.exit(1)
    print("guide: link makers, form reader, pin command, diagnostic code and profile table checked")


if __name__ == "__main__":
    main()
