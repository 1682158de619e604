"""Scenarios of a browser that fails mid-lesson, run with either engine: the stand-in's
processFailed stimuli make a renderer exit or hang, or the browser process end (with
Chromium, for real: the page's renderer or Chromium itself crashes). The player shows
its page again, starts a new browser, or past its limits tells the learner and ends.
Each scenario prints how long the content took to come back, from the failure to the
completed navigation that showed it again, as the stand-in's log times them.
"""
import subprocess
import time
from pathlib import Path

import render_scenarios

DOMAIN = "127.0.0.1:8443"
TITLE = "Quorvel V 4.11.0"
IDOK = 1
SOURCE = Path(__file__).resolve().parent
CHECK_SCREENSHOT = SOURCE.parent.parent / "scripts" / "check-screenshot.py"

LESSON = {
    "PUT /api/player/content": {"json": {
        "data": {"type": "lesson", "url": f"https://{DOMAIN}/lesson.html"},
        "watermark": "Learner 12"}},
    "GET /lesson.html": render_scenarios.page("<h2>Lesson 7: Fractions</h2>"),
}


def events(lines, name, **members):
    return [l for l in lines if l.get("event") == name
            and all(l.get(k) == v for k, v in members.items())]


def calls(lines, name):
    return [l for l in lines if l.get("call") == name]


def shown_after(lines, failure):
    """Whether a navigation completed successfully after the log line `failure`."""
    later = lines[lines.index(failure) + 1:]
    return any(l.get("event") == "NavigationCompleted" and l["success"] for l in later)


def recovery_times(lines):
    """For each failure the player acts on, the milliseconds until the next navigation
    that completed successfully: the content shown again."""
    times = []
    for index, line in enumerate(lines):
        if line.get("event") == "ProcessFailed" and line["kind"] in (0, 1, 2, 3):
            shown = next((l for l in lines[index + 1:] if l.get("event") == "NavigationCompleted"
                          and l["success"]), None)
            if shown:
                times.append(shown["t"] - line["t"])
    return times


def report_times(h, what, lines):
    times = recovery_times(lines)
    print(f"     {what} ({h.args.engine}): content shown again after "
          + ", ".join(f"{t} ms" for t in times), flush=True)
    return times


def running_browsers(h):
    """The Chromium processes the stand-in started for this player (its log names each
    one's Unix pid) that still run."""
    running = []
    for line in h.standin_lines():
        if line.get("engine") != "chromium":
            continue
        try:
            status = Path(f"/proc/{line['pid']}/status").read_text()
        except (OSError, KeyError):
            continue
        if "\nState:\tZ" not in status and "chromium" in status.split("\n", 1)[0]:
            running.append(line["pid"])
    return running


def check_one_browser(h, what):
    """Exactly one browser runs: with Chromium, one Chromium process for this player."""
    if h.args.engine != "chromium":
        return
    started = [l for l in h.standin_lines() if l.get("engine") == "chromium"]
    h.check(started, f"{what}: the log names no browser")
    deadline = time.monotonic() + 10
    while True:
        running = running_browsers(h)
        if len(running) == 1 or time.monotonic() > deadline:
            break
        time.sleep(0.5)
    h.check(len(running) == 1, f"{what}: {len(running)} of {len(started)} browsers run: {running}")


def check_no_browser_left(h, what):
    if h.args.engine != "chromium":
        return
    h.check(any(l.get("engine") == "chromium" for l in h.standin_lines()),
            f"{what}: the log names no browser")
    deadline = time.monotonic() + 10
    while running_browsers(h) and time.monotonic() < deadline:
        time.sleep(0.5)
    h.check(not running_browsers(h), f"{what}: browsers outlived the player")


def check_shows_something(h, name):
    """The screenshot `name` shows a page in the player's client area, not a blank one
    (with Chromium; the recording stand-in draws nothing)."""
    h.screenshot(name)
    if h.args.engine != "chromium":
        return
    x, y = render_scenarios.client_origin(h)
    region = f"1200x600+{x}+{y}"
    result = subprocess.run(["python3", str(CHECK_SCREENSHOT), str(h.out / f"{name}.png"),
                             "--region", region], capture_output=True, text=True, timeout=60)
    h.check(result.returncode == 0, f"{name}: {result.stdout.strip()}")


def end_recovered(h, process, lines, picture, failure):
    """After a recovery: the window shows the content again, how long that took is
    printed, one browser runs, and closing the window ends the player normally and
    leaves no browser behind."""
    time.sleep(2)
    check_shows_something(h, picture)
    report_times(h, failure, lines)
    check_one_browser(h, f"after: {failure}")
    h.check(h.close_main_window(process) == 0, f"exit code {process.returncode}")
    check_no_browser_left(h, f"after: {failure}")
    h.sim.set_answers({})


def render_failure_reload(h):
    """A renderer that exits, then one that hangs: the player gives its own document as
    text again, and with Chromium the lesson is framed again. A GPU and a utility process
    that fail in between change nothing."""
    h.sim.set_answers(LESSON)
    h.sim.clear_log()
    process = h.start(h.make_link("lesson-7"), script=[
        {"do": "processFailed", "kind": 1, "afterMs": 1500},
        {"do": "processFailed", "kind": 6, "afterMs": 2000},
        {"do": "processFailed", "kind": 4},
        {"do": "processFailed", "kind": 2, "afterMs": 2000},
    ])

    def settled(lines):
        failed = events(lines, "ProcessFailed")
        return len(failed) == 4 and shown_after(lines, failed[-1])

    lines = h.wait_for(settled, "four failures, the last one recovered", timeout=90)
    h.check([l["kind"] for l in events(lines, "ProcessFailed")] == [1, 6, 4, 2],
            events(lines, "ProcessFailed"))
    documents = calls(lines, "NavigateToString")
    h.check(len(documents) == 3 and len({d["html"] for d in documents}) == 1,
            f"the player's own document, three times the same: {len(documents)}")
    # Nothing between the GPU failure and the hang: those were ignored.
    failed = events(lines, "ProcessFailed")
    between = [l for l in lines[lines.index(failed[1]):lines.index(failed[3])] if l.get("call")]
    h.check(not between, f"the player acted on an ignored failure: {between}")
    h.check(process.poll() is None, "the player ended")
    if h.args.engine == "chromium":
        framed = render_scenarios.wait_for_request(h, "/lesson.html")
        deadline = time.monotonic() + 15
        while len(framed) < 3 and time.monotonic() < deadline:
            time.sleep(0.5)
            framed = [r for r in h.sim.requests() if r["path"] == "/lesson.html"]
        h.check(len(framed) == 3, f"the lesson was framed {len(framed)} times, not 3")
    end_recovered(h, process, lines, "recovered-render", "renderer exited, then hung")


def browser_failure_restart(h):
    """The browser process ends: the old host is released, a new one starts in the same
    window with the same folders and shows the same lesson; one browser runs after."""
    h.sim.set_answers(LESSON)
    process = h.start(h.make_link("lesson-7"), script=[
        {"do": "processFailed", "kind": 0, "afterMs": 1500, "once": True}])

    def shown_again(lines):
        failed = events(lines, "ProcessFailed", kind=0)
        return failed and shown_after(lines, failed[0])

    lines = h.wait_for(shown_again, "the lesson shown by a new browser", timeout=90)
    entries = calls(lines, "CreateWebViewEnvironmentWithOptionsInternal")
    h.check(len(entries) == 2 and entries[0]["userDataFolder"] == entries[1]["userDataFolder"],
            f"environments: {entries}")
    h.check(events(lines, "BrowserProcessExited", kind=1), "the failed browser's end")
    # Released before the new one started: nothing held it.
    closes = calls(lines, "Close")
    h.check(len(closes) == 1 and lines.index(closes[0]) < lines.index(entries[1]),
            f"the old controller's close: {closes}")
    documents = calls(lines, "NavigateToString")
    h.check(len(documents) == 2 and documents[0]["html"] == documents[1]["html"],
            "the new browser did not show the same document")
    scripts = [s["script"] for s in calls(lines, "AddScriptToExecuteOnDocumentCreated")]
    half = len(scripts) // 2
    h.check(half > 0 and scripts[:half] == scripts[half:],
            "the new browser's documents do not get the same page scripts")
    end_recovered(h, process, lines, "recovered-browser", "browser process exited")


def browser_failure_during_print(h):
    """The browser ends while the printer dialog is open: the old host is held until the
    dialog has returned, the new one starts meanwhile, the dialog closes without
    printing, and only the new browser is left."""
    rc, _ = h.probe("printers", "Office Printer", "Quorvel Test Printer")
    h.check(rc == 0, "could not install the test printers")
    h.serve_pdf_lesson()
    process = h.start(h.make_link("lesson-7"), script=[
        {"do": "message", "text": "pageLoaded", "once": True},
        {"do": "message", "text": "requestPrint", "once": True},
        {"do": "processFailed", "kind": 0, "afterMs": 4000, "once": True}])
    h.check(h.probe("find", "Select Printer", "60000")[0] == 0, "no printer dialog")
    h.screenshot("browser-failure-print-dialog")
    lines = h.wait_for(lambda l: len(calls(l, "CreateWebViewEnvironmentWithOptionsInternal")) == 2
                       and calls(l, "Close"), "the new browser and the old one's close",
                       timeout=90)
    entries = calls(lines, "CreateWebViewEnvironmentWithOptionsInternal")
    h.check(lines.index(calls(lines, "Close")[0]) > lines.index(entries[1]),
            "the old host was not held while the dialog ran")
    lines = h.wait_for(lambda l: len(calls(l, "NavigateWithWebResourceRequest")) == 2
                       and shown_after(l, calls(l, "CreateWebViewEnvironmentWithOptionsInternal")[1]),
                       "the handout shown again")
    h.check(h.probe("find", "Select Printer", "500")[0] == 2, "the printer dialog stayed open")
    h.check(not calls(lines, "Print"), "printed after the browser failed")
    h.check(process.poll() is None, f"the player ended: {process.returncode}")
    end_recovered(h, process, lines, "recovered-during-print",
                  "browser process exited under the printer dialog")


def render_failure_limit(h):
    """A fourth renderer failure within the minute: in link mode the player ends with a
    diagnostic code whose reason says what failed, and how often it was shown again."""
    h.sim.set_answers(LESSON)
    process = h.start(h.make_link("lesson-7"),
                      script=[{"do": "processFailed", "kind": 1, "afterMs": 2000}] * 4)
    rc, _ = h.probe("find", "Security Alert", "90000")
    h.check(rc == 0, "no diagnostic after the fourth failure")
    time.sleep(1)
    h.screenshot("render-failure-limit-diagnostic")
    lines = h.standin_lines()
    h.check(len(calls(lines, "NavigateToString")) == 4, "not three times shown again")
    rc, code = h.probe("clipboard")
    decoded = subprocess.run([h.args.wine_run, h.args.tool, "diag", "read", code.strip()],
                             capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
    h.check("process_failed_render_process_exited_after_3_reloads" in decoded,
            f"the code reads {decoded!r}")
    h.check(process.wait(60) == 0, f"exit code {process.returncode}")
    check_no_browser_left(h, "after the diagnostic")
    h.sim.set_answers({})


def browser_failure_limit(h):
    """A browser that ends every time: two new browsers, then the init screen tells the
    learner in both languages and the player ends as closing it does."""
    h.sim.set_answers({"GET /app/*": render_scenarios.page()})
    process = h.start(script=[{"do": "processFailed", "kind": 0, "afterMs": 1000}])
    h.check(h.probe("find", "Lesson Stopped", "120000")[0] == 0, "no message after the third failure")
    time.sleep(1)
    h.screenshot("browser-failure-limit-message")
    rc, text = h.probe("answer", "Lesson Stopped", str(IDOK), "10000")
    h.check(rc == 0, "no message after the third failure")
    h.check("The lesson stopped unexpectedly" in text and "توقف الدرس" in text, f"box: {text}")
    lines = h.standin_lines()
    h.check(len(calls(lines, "CreateWebViewEnvironmentWithOptionsInternal")) == 3,
            "not two new browsers before giving up")
    # Each new browser showed the platform's page again, with its identifier headers.
    shown = [c for c in calls(lines, "NavigateWithWebResourceRequest")
             if c["uri"] == f"https://{DOMAIN}/app/" and "X-Device-Id" in c["headers"]]
    h.check(len(shown) == 3, f"the start page was shown {len(shown)} times, not 3")
    h.check(process.wait(60) == 0, f"exit code {process.returncode}")
    check_no_browser_left(h, "after the message")
    h.sim.set_answers({})


SCENARIOS = [render_failure_reload, browser_failure_restart, browser_failure_during_print,
             render_failure_limit, browser_failure_limit]
