#!/usr/bin/env python3
"""Checks that a built program does not carry the link key in readable form: neither
the 32 key bytes nor the stored constant of the profile may appear in the file.

usage: hidden_values_test.py PROFILE_HEADER BINARY TOOL_COMMAND...
"""
import re
import subprocess
import sys


def stored_constant(profile_header):
    text = open(profile_header, encoding="utf-8").read()
    match = re.search(r"#define QUORVEL_PROFILE_LINK_KEY_CONSTANT((?:[^\n]*\\\n)*[^\n]*)", text)
    escapes = re.findall(r"\\x([0-9a-fA-F]{2})", match.group(1))
    return bytes(int(e, 16) for e in escapes)


def main():
    profile, binary, tool = sys.argv[1], sys.argv[2], sys.argv[3:]
    key_hex = subprocess.run(tool + ["link", "key"], check=True, capture_output=True,
                             text=True).stdout.strip()
    key = bytes.fromhex(key_hex)
    stored = stored_constant(profile)
    assert len(key) == 32 and len(stored) == 33, (len(key), len(stored))
    assert bytes(stored[i + 1] ^ stored[0] ^ i for i in range(32)) == key, "key derivation"

    data = open(binary, "rb").read()
    for name, secret in (("key", key), ("stored constant", stored),
                         ("key half", key[:16]), ("key hex", key_hex.encode())):
        if secret in data:
            sys.exit(f"{binary}: the {name} stands readable in the file")
    print("link key hidden in", binary)


if __name__ == "__main__":
    main()
