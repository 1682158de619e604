"""Scenarios that need pages really running: the runtime stand-in drives headless Chromium
(QUORVEL_RUNTIME_ENGINE=chromium), paints its frames into the player's windows and takes
the mouse and keyboard from them. Input comes from xdotool, as from a person at the
display; what the page sees comes back through the pages themselves, which report
their state to the host as web messages that the stand-in logs.
"""
import json
import subprocess
import time


DOMAIN = "127.0.0.1:8443"
TITLE = "Quorvel V 4.11.0"

# A platform page that reports, every 300 ms, what a test needs to know about it: which
# document it is, where it is, whether the loading overlay covers it, and where the
# navigation bar's buttons and its own links out are (centres, in page pixels).
REPORTING_PAGE = """<!doctype html><html><head><meta charset="utf-8"><title>Course</title>
<style>body{font:18px sans-serif;margin:48px;background:#f4f6fb;color:#223}
a{display:inline-block;margin-top:200px;padding:18px 28px;background:#dde4ff;color:#223}</style>
</head><body><h1>Course page</h1><p>A page of the demo platform.</p>
<a id="outside" href="https://evil.example.com/away">Somewhere else</a>
<a id="popup" href="https://evil.example.com/popup" target="_blank">In a new window</a>
<a id="scheme" href="quorvel:AAAA:BBBB">Open in the player</a>%EXTRA%
<script>
var doc = Math.random().toString(36).slice(2);
function centre(element) {
  if (!element) return null;
  var r = element.getBoundingClientRect();
  return [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)];
}
function report() {
  var overlay = document.getElementById('lumora-full-loader');
  var buttons = document.querySelectorAll('#lumora-nav-container button');
  window.chrome.webview.postMessage('report:' + JSON.stringify({
    doc: doc, href: location.href,
    overlay: !!overlay && getComputedStyle(overlay).display !== 'none',
    bar: Array.prototype.map.call(buttons, centre),
    outside: centre(document.getElementById('outside')),
    popup: centre(document.getElementById('popup')),
    scheme: centre(document.getElementById('scheme'))}));
}
report();
setInterval(report, 300);
</script></body></html>"""

# Repeats every message the host posts to the page.
ECHO = """
window.chrome.webview.addEventListener('message', function (event) {
  window.chrome.webview.postMessage('seen:' + JSON.stringify(event.data));
});
"""
PRINT_RESULT_ECHO = f"<script>{ECHO}</script>"

# Run in a PDF page: repeats every message the host posts, and reports where the print
# button is and what the watermark says.
PDF_PAGE_WATCH = ECHO + """
setInterval(function () {
  var button = document.getElementById('lumora-print-btn');
  var layer = document.getElementById('lumora-watermark');
  var r = button ? button.getBoundingClientRect() : null;
  window.chrome.webview.postMessage('report:' + JSON.stringify({
    button: r ? [Math.round(r.left + r.width / 2), Math.round(r.top + r.height / 2)] : null,
    watermark: layer ? layer.textContent : null}));
}, 300);
"""

# Removes the watermark and the print button, then says whether they came back.
PDF_PAGE_REMOVE = """
['lumora-watermark', 'lumora-print-btn'].forEach(function (id) {
  var element = document.getElementById(id);
  if (element) element.remove();
});
setTimeout(function () {
  window.chrome.webview.postMessage('restored:' + JSON.stringify({
    watermark: !!document.getElementById('lumora-watermark'),
    button: !!document.getElementById('lumora-print-btn')}));
}, 100);
"""

WATERMARK = "O'Neil \\ line\nbreak </script>"


def page(extra=""):
    return {"headers": {"Content-Type": "text/html; charset=utf-8"},
            "body": REPORTING_PAGE.replace("%EXTRA%", extra)}


def reports(lines, prefix="report:"):
    found = []
    for line in lines:
        text = line.get("text") if line.get("event") == "WebMessageReceived" else None
        if text and text.startswith(prefix):
            found.append(json.loads(text[len(prefix):]))
    return found


def latest(h, what, predicate=lambda r: True, prefix="report:", timeout=30):
    lines = h.wait_for(lambda l: any(predicate(r) for r in reports(l, prefix)), what, timeout)
    return [r for r in reports(lines, prefix) if predicate(r)][-1]


def client_origin(h):
    rc, text = h.probe("find", TITLE, "10000")
    h.check(rc == 0, "the main window is not shown")
    fields = dict(line.split("=", 1) for line in text.splitlines() if "=" in line)
    return tuple(int(v) for v in fields["client"].split(","))


def xdotool(*arguments):
    subprocess.run(["xdotool", *map(str, arguments)], check=True, timeout=30)


def point(h, page_point):
    x, y = client_origin(h)
    xdotool("mousemove", x + page_point[0], y + page_point[1])
    time.sleep(0.8)  # hover effects run their 0.3 s transitions


def click(h, page_point):
    point(h, page_point)
    xdotool("click", "1")


def wait_for_request(h, path, timeout=15):
    """The platform's logged requests for `path`, once there is one."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = [r for r in h.sim.requests() if r["path"] == path]
        if found:
            return found
        time.sleep(0.2)
    h.check(False, f"no request for {path}: {h.requests()}")


def calls(lines, name):
    return [l for l in lines if l.get("call") == name]


def events(lines, name):
    return [l for l in lines if l.get("event") == name]


def print_with(h, action, printer, count):
    """Does `action`, picks `printer` in the dialog it opens, and checks that the PDF
    printed and that the page heard of the success."""
    action()
    rc, listed = h.probe("pick", printer, "30000")
    h.check(rc == 0, f"printer dialog: {listed}")
    lines = h.wait_for(lambda l: len(events(l, "PrintCompleted")) >= count, "the print")
    done = events(lines, "PrintCompleted")[-1]
    h.check(calls(lines, "Print")[-1].get("printerName") == printer, calls(lines, "Print"))
    path = done.get("file", "")
    unix = path[2:].replace("\\", "/") if path.startswith("Z:") else path
    with open(unix, "rb") as f:
        h.check(f.read(5) == b"%PDF-", f"the printed file {path} is no PDF")
    return latest(h, "the print result in the page", lambda r: r.get("type") == "printResult",
                  prefix="seen:")


# --- scenarios ------------------------------------------------------------------------

def rendered_lesson(h):
    """A lesson page framed by the player: the page itself says it loaded, the player
    window appears then, and the frame's request carries the identifier headers; so
    whether the runtime reports the player's own page as about:blank or by its data:
    address."""
    h.sim.set_answers({
        "PUT /api/player/content": {"json": {
            "data": {"type": "lesson", "url": f"https://{DOMAIN}/lesson.html"},
            "watermark": "Learner 12"}},
        "GET /lesson.html": page("<h2>Lesson 7: Fractions</h2>"),
    })
    for form in ("about", "data"):
        h.sim.clear_log()
        process = h.start(h.make_link("lesson-7"),
                          settings={"QUORVEL_RUNTIME_STRING_DOCUMENT": form})
        lines = h.wait_for(lambda l: any(e.get("text") == "pageLoaded"
                                         for e in events(l, "WebMessageReceived")),
                           f"the lesson page's own pageLoaded ({form})", timeout=60)
        own = events(lines, "NavigationStarting")[0]
        h.check(own["uri"].startswith("about:blank" if form == "about" else "data:text/html")
                and not own["cancelled"], f"{form}: the player's own page: {own}")
        client_origin(h)  # the player window is shown now
        framed = wait_for_request(h, "/lesson.html")
        headers = {k.lower(): v for k, v in framed[0]["headers"]}
        h.check(len(headers.get("x-device-id", "")) == 64,
                f"the framed lesson's request lacks the identifier headers: {headers}")
        time.sleep(1.5)
        h.screenshot(f"render-lesson-{form}")
        h.check(h.close_main_window(process) == 0, f"rendered lesson ({form}): exit code")
    h.sim.set_answers({})


def rendered_direct_page(h):
    """The loading overlay covers a page until its load event, then goes; Ctrl+P in the
    page reaches the printer dialog; a link outside the policy, and one to a new window,
    leave the page as it was."""
    rc, _ = h.probe("printers", "Office Printer", "Quorvel Test Printer")
    h.check(rc == 0, "could not install the test printers")
    h.sim.set_answers({
        "PUT /api/player/content": {"json": {
            "data": {"type": "video", "url": f"https://{DOMAIN}/slow.html"}}},
        "GET /slow.html": page('<img src="/stalled.png" alt="">' + PRINT_RESULT_ECHO),
        "GET /stalled.png": {"stall_seconds": 6, "status": 404, "body": ""},
    })
    started = time.monotonic()
    process = h.start(h.make_link("lesson-7"))
    latest(h, "a report under the overlay", lambda r: r["overlay"])
    h.screenshot("render-overlay")

    # The page reports once before the overlay is up: only a report after a covered one
    # says the overlay went.
    def uncovered_after_covered(lines):
        found = reports(lines)
        first = next((i for i, r in enumerate(found) if r["overlay"]), len(found))
        return next((r for r in found[first:]
                     if not r["overlay"] and r["doc"] == found[first]["doc"]), None)

    uncovered = uncovered_after_covered(h.wait_for(uncovered_after_covered,
                                                   "a report after the overlay went", 30))
    h.check(time.monotonic() - started >= 5, "the overlay went before the page's load")
    h.screenshot("render-overlay-gone")
    h.check(uncovered["href"] == f"https://{DOMAIN}/slow.html", uncovered)

    # The page has the keyboard once clicked; Ctrl+P asks the host to print.
    def press_ctrl_p():
        click(h, (600, 150))
        xdotool("key", "ctrl+p")

    result = print_with(h, press_ctrl_p, "Office Printer", 1)
    h.check(result.get("status") == "success", f"Ctrl+P: {result}")

    # A link to a host outside the player's policy: the page stays where it was.
    stay = latest(h, "the page's report")
    click(h, stay["outside"])
    lines = h.wait_for(lambda l: any(e["uri"].startswith("https://evil.example.com")
                                     for e in events(l, "NavigationStarting")), "the outside link")
    h.check(all(e["cancelled"] for e in events(lines, "NavigationStarting")
                if e["uri"].startswith("https://evil.example.com")), "the outside link was let go")
    # A link that opens a new window: the host takes the request, and refuses the address.
    click(h, stay["popup"])
    lines = h.wait_for(lambda l: events(l, "NewWindowRequested"), "the new window's request")
    h.check(events(lines, "NewWindowRequested")[0]["uri"] == "https://evil.example.com/popup",
            events(lines, "NewWindowRequested"))
    time.sleep(1.5)
    refused = [e for e in events(h.standin_lines(), "NavigationStarting")
               if e["uri"] == "https://evil.example.com/popup"]
    h.check(refused and all(e["cancelled"] for e in refused), f"the pop-up's address: {refused}")
    after = latest(h, "the page's report")
    h.check(after["doc"] == stay["doc"] and after["href"] == stay["href"],
            f"the page moved: {stay} -> {after}")
    h.check(h.close_main_window(process) == 0, "direct page: exit code")
    h.sim.set_answers({})


def rendered_pdf_and_print(h):
    """The watermark over a PDF, restored at once when removed; the print button reaches
    the printer dialog, and a chosen printer's success reaches the page."""
    rc, _ = h.probe("printers", "Office Printer", "Quorvel Test Printer")
    h.check(rc == 0, "could not install the test printers")
    h.serve_pdf_lesson("/handout.pdf", WATERMARK)
    process = h.start(h.make_link("lesson-7"), script=[
        {"do": "evaluate", "script": PDF_PAGE_WATCH, "afterMs": 500},
        {"do": "evaluate", "script": PDF_PAGE_REMOVE, "afterMs": 3000},
    ])
    shown = latest(h, "the print button and the watermark",
                   lambda r: r.get("button") and r.get("watermark"))
    h.check(shown["watermark"] == WATERMARK, f"watermark text {shown['watermark']!r}")
    time.sleep(1)
    h.screenshot("render-pdf-watermark")
    restored = latest(h, "the removal's outcome", prefix="restored:")
    h.check(restored == {"watermark": True, "button": True}, f"after removal: {restored}")

    button = latest(h, "the restored print button", lambda r: r.get("button"))["button"]
    result = print_with(h, lambda: click(h, button), "Quorvel Test Printer", 1)
    h.check(result.get("status") == "success", f"print button: {result}")
    h.screenshot("render-pdf-after-print")

    h.check(h.close_main_window(process) == 0, "pdf: exit code")
    h.sim.set_answers({})


def rendered_navigation_bar(h):
    """The init screen's bar clicked with the mouse: home, back, reload, full screen and
    back; a quorvel: link on its page starts the player registered for it."""
    h.sim.set_answers({"GET /app/*": page()})
    h.sim.clear_log()
    process = h.start()

    def bar_report(condition=lambda r: True, what="the navigation bar"):
        return latest(h, what, lambda r: len(r["bar"]) == 4 and condition(r))

    first = bar_report()
    time.sleep(1)  # its first frames
    h.screenshot("render-bar")
    headers = {k.lower(): v for k, v in wait_for_request(h, "/app/")[0]["headers"]}
    h.check(len(headers.get("x-device-id", "")) == 64,
            f"the start page's request lacks the identifier headers: {headers}")

    def spread(report):
        return report["bar"][3][0] - report["bar"][0][0]

    def press(index, condition, what):
        # The hovered bar shows its labels, which moves the buttons: leave it, come back
        # to it, and click where the button went.
        point(h, (640, 600))
        collapsed = bar_report(lambda r: spread(r) < 160, "the bar without the mouse")
        point(h, collapsed["bar"][0])
        expanded = bar_report(lambda r: r["doc"] == collapsed["doc"] and spread(r) > 200,
                              "the hovered bar")
        click(h, expanded["bar"][index])
        return bar_report(condition, what)

    point(h, first["bar"][0])
    h.screenshot("render-bar-hovered")
    home = press(0, lambda r: r["href"].endswith("/app/home"), "the home page")
    back = press(1, lambda r: r["href"] == f"https://{DOMAIN}/app/" and r["doc"] != first["doc"],
                 "the page before")
    press(2, lambda r: r["href"] == back["href"] and r["doc"] != back["doc"], "the reloaded page")
    lines = h.standin_lines()
    h.check(calls(lines, "GoBack") and calls(lines, "Reload"), "GoBack and Reload were not called")
    h.check(home["doc"] != first["doc"], "home did not load a new document")

    before = h.window_state()
    press(3, lambda r: True, "the bar after full screen")
    time.sleep(1)
    full = h.window_state()
    h.screenshot("render-bar-fullscreen")
    h.check(full[1] == (0, 0, 1280, 1024), f"full screen rectangle {full[1]}")
    press(3, lambda r: True, "the bar after leaving full screen")
    time.sleep(1)
    h.check(h.window_state() == before, "the init screen's placement was not restored")

    # A player link on the platform's page goes to the program registered for quorvel:,
    # a second player, which reads this broken link and shows its diagnostic.
    click(h, bar_report()["scheme"])
    lines = h.wait_for(lambda l: events(l, "LaunchingExternalUriScheme"), "the player link")
    launched = events(lines, "LaunchingExternalUriScheme")[0]
    h.check(launched == {**launched, "uri": "quorvel:AAAA:BBBB", "launched": True}, launched)
    rc, _ = h.probe("find", "Security Alert", "60000")
    h.check(rc == 0, "the link's player showed no diagnostic")
    h.screenshot("render-bar-player-link")
    # The launched player ends on its own after its countdown. Its windows carry the same
    # title as the init screen's, so the init screen is ended here without a search.
    process.kill()
    process.wait(30)
    h.sim.set_answers({})


SCENARIOS = [rendered_lesson, rendered_direct_page, rendered_pdf_and_print, rendered_navigation_bar]
