#!/usr/bin/env python3
"""scripts/check-screenshot.py on pictures made here: a black capture, and the other
nearly uniform ones a window shows before it has drawn its page, must fail it; a page
must pass it, also when only the window's part of the screen is looked at."""
import subprocess
import sys
import tempfile
from pathlib import Path

CHECK = Path(__file__).resolve().parents[2] / "scripts" / "check-screenshot.py"
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def page(*extra):
    """A lesson-like page: a header bar, a heading, paragraphs and a framed box."""
    lines = []
    for i in range(14):
        lines += ["-annotate", f"+60+{170 + 28 * i}",
                  "Before any page is sent, the host shows its certificate to the player."]
    return ["-size", "1280x720", "xc:#f1f3f6", "-fill", "#2a5d8f", "-draw",
            "rectangle 0,0 1280,60", "-fill", "#1c2530", "-font", FONT, "-pointsize", "30",
            "-annotate", "+60+120", "How a page reaches you", "-pointsize", "17", *lines,
            "-fill", "none", "-stroke", "#c5ccd6", "-draw", "rectangle 40,140 1240,600", *extra]


PICTURES = {  # name: (ImageMagick arguments, expected exit code, region)
    "black": (["-size", "1280x1024", "xc:black"], 1, None),
    "black with a loading line": (["-size", "1280x720", "xc:black", "-fill", "#d0d0d0", "-font",
                                   FONT, "-pointsize", "16", "-annotate", "+560+360",
                                   "Loading..."], 1, None),
    "white": (["-size", "800x600", "xc:white"], 1, None),
    "dark grey with compression noise": (["-size", "800x600", "xc:#202020", "-attenuate", "0.3",
                                          "+noise", "Uniform", "-quality", "70"], 1, None),
    "a page": (page(), 0, None),
    "a page in the window's region": (
        ["-size", "1280x1024", "xc:black", "(", *page(), ")", "-geometry", "+0+22",
         "-composite"], 0, "1280x720+0+22"),
    "the black rest of a screen with a page": (
        ["-size", "1280x1024", "xc:black", "(", *page(), ")", "-geometry", "+0+22",
         "-composite"], 1, "1280x260+0+760"),
}


def main():
    failures = []
    with tempfile.TemporaryDirectory() as work:
        for name, (arguments, expected, region) in PICTURES.items():
            picture = Path(work) / (name.replace(" ", "-").replace("'", "") + ".jpg")
            subprocess.run(["convert", *arguments, str(picture)], check=True)
            command = [sys.executable, str(CHECK), str(picture)]
            if region:
                command += ["--region", region]
            result = subprocess.run(command, capture_output=True, text=True, timeout=60)
            if result.returncode != expected:
                failures.append(f"{name}: exit {result.returncode}, expected {expected}: "
                                f"{result.stdout.strip()}")
        for arguments, expected in (([str(Path(work) / "missing.png")], 2),
                                    ([str(picture), "--region", "1280x720"], 2),
                                    ([str(picture), "--region", "1280x720+0+2000"], 2)):
            result = subprocess.run([sys.executable, str(CHECK), *arguments], capture_output=True,
                                    text=True, timeout=60)
            if result.returncode != expected:
                failures.append(f"{arguments}: exit {result.returncode}, expected {expected}")
    for failure in failures:
        print("FAIL", failure)
    if failures:
        sys.exit(1)
    print(f"check-screenshot: {len(PICTURES)} pictures and 3 unusable inputs judged right")


if __name__ == "__main__":
    main()
