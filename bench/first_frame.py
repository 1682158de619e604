"""When the player's window first showed the content: screen captures taken one after
another from the content's first navigation on, afterwards judged by the demo's
blank-screen check (scripts/check-screenshot.py) over the window's client area. A
capture counts from the middle of its taking; the spacing of captures is the
resolution.
"""
import subprocess
import threading
from pathlib import Path

from wine_trace import clock

ROOT = Path(__file__).resolve().parent.parent
CHECK = ROOT / "scripts" / "check-screenshot.py"


class Captures:
    """Captures of the whole screen into `folder`, taken until stop() is called."""

    def __init__(self, folder):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        for old in self.folder.glob("capture-*.ppm"):
            old.unlink()
        self.taken = []  # (middle of the capture on the trace clock, path)
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)

    def start(self):
        self.thread.start()
        return self

    def _run(self):
        while not self.stopping.is_set():
            path = self.folder / f"capture-{len(self.taken):04d}.ppm"
            began = clock()
            result = subprocess.run(["import", "-window", "root", "-depth", "8", str(path)],
                                    stderr=subprocess.DEVNULL, timeout=30)
            if result.returncode == 0 and path.exists():
                self.taken.append(((began + clock()) / 2, path))

    def stop(self):
        self.stopping.set()
        self.thread.join(60)

    def latest_shows_something(self, region):
        return bool(self.taken) and shows_something(self.taken[-1][1], region)

    def first_showing(self, region):
        """The time of the first capture whose `region` shows something, and the median
        spacing of the captures; (None, spacing) when none does."""
        times = [at for at, _ in self.taken]
        gaps = sorted(b - a for a, b in zip(times, times[1:]))
        spacing = gaps[len(gaps) // 2] if gaps else None
        for at, path in self.taken:
            if shows_something(path, region):
                return at, spacing
        return None, spacing

    def discard(self):
        for _, path in self.taken:
            path.unlink(missing_ok=True)


def shows_something(image, region):
    result = subprocess.run(["python3", str(CHECK), str(image), "--region", region],
                            capture_output=True, text=True, timeout=120)
    if result.returncode == 2:
        raise RuntimeError(f"cannot read the capture {image}: {result.stdout.strip()}")
    return result.returncode == 0


def client_region(probe_output):
    """WxH+X+Y of the client area the window probe's `find` printed, or None."""
    fields = dict(line.split("=", 1) for line in probe_output.splitlines() if "=" in line)
    try:
        x, y = (int(v) for v in fields["client"].split(","))
        width, height = (int(v) for v in fields["clientSize"].split(","))
    except (KeyError, ValueError):
        return None
    if x < 0 or y < 0 or width <= 0 or height <= 0:
        return None
    return f"{width}x{height}+{x}+{y}"
