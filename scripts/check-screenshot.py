#!/usr/bin/env python3
"""Tells whether a screenshot shows something: a window that has drawn a page, not a
black (or any single-colour) area with at most a line of text on it.

    check-screenshot.py IMAGE [--region WxH+X+Y] [--most FRACTION]

Exit code 0 when it shows something, 1 when it is nearly uniform (the most common
colour covers at least FRACTION of it, 0.98 by default), 2 when the image cannot be
read. One line on stdout says which, with the share of the most common colour.

Colours are compared at 4 bits per channel, so compression noise and the faint edges
of a lone text line do not count as content; the image is sampled to a quarter of its
size first, which keeps the count quick and the shares the same.
"""
import argparse
import collections
import re
import subprocess
import sys


def colour_shares(image, region):
    command = ["convert", image]
    if region:
        command += ["-crop", region, "+repage"]
    command += ["-sample", "25%", "-depth", "8", "rgb:-"]
    result = subprocess.run(command, capture_output=True, timeout=60)
    if result.returncode != 0 or not result.stdout:
        raise ValueError(result.stderr.decode("utf-8", "replace").strip() or "no pixels")
    raw = result.stdout
    counts = collections.Counter(zip(*(bytes(b >> 4 for b in raw[i::3]) for i in range(3))))
    return counts, len(raw) // 3


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("image")
    parser.add_argument("--region", help="WxH+X+Y: only this part of the image counts")
    parser.add_argument("--most", type=float, default=0.98,
                        help="the largest share one colour may have (default 0.98)")
    args = parser.parse_args()
    if args.region and not re.fullmatch(r"[1-9]\d*x[1-9]\d*\+\d+\+\d+", args.region):
        parser.error(f"--region {args.region!r} is not WxH+X+Y")
    try:
        counts, total = colour_shares(args.image, args.region)
    except (ValueError, OSError, subprocess.SubprocessError) as error:
        print(f"unreadable: {args.image}: {error}")
        return 2
    colour, count = counts.most_common(1)[0]
    share = count / total
    hex_colour = "#" + "".join(f"{c * 17:02x}" for c in colour)
    if share >= args.most:
        print(f"blank: {share:.1%} of the image is {hex_colour}")
        return 1
    print(f"shows something: its most common colour ({hex_colour}) covers {share:.1%}, "
          f"{len(counts)} colours in all")
    return 0


if __name__ == "__main__":
    sys.exit(main())
