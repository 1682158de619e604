"""Scenarios of a hostile page against the recording stand-in: what the player lets a
page reach (navigations, new windows), which requests carry the machine's identifiers
and which origins get the microphone, camera and notifications without asking; and that
the player's own page passes whichever address the runtime gives it. Each asks the
stand-in's log what the player answered.
"""
import base64
import subprocess

DOMAIN = "127.0.0.1:8443"
PLATFORM = f"https://{DOMAIN}"
IDENTIFIERS = ("X-Device-Id", "X-Device-Fingerprint", "X-Quorvel-Device", "X-Quorvel-Machine")
PLATFORM_HEADERS = IDENTIFIERS[:2]  # the media pair goes by the path, not the host
MICROPHONE, CAMERA, GEOLOCATION, NOTIFICATIONS = 1, 2, 3, 4
ALLOW, DEFAULT = 1, 0


def events(lines, name):
    return [line for line in lines if line.get("event") == name]


def calls(lines, name):
    return [line for line in lines if line.get("call") == name]


# What the page asks, and what the player must answer. The look-alikes put a platform
# host where a text search over the address would find it.
NAVIGATIONS = {
    "https://youtube.com:x@evil.example/": True,        # user information before the host
    f"https://127.0.0.1:x@evil.example/": True,
    f"{PLATFORM}/lesson/2": False,                      # the platform itself
}
REQUESTS = {
    f"{PLATFORM}/lesson.js": True,
    "https://localhost.evil.example/x.js": False,
    "https://evil.example/?u=://127.0.0.1": False,
    "https://127.0.0.1@evil.example/x.js": False,
    "https://evil.example/.quorvel.test/x.js": False,
}
PERMISSIONS = [  # (kind, origin, state)
    (MICROPHONE, PLATFORM + "/", ALLOW),
    (CAMERA, "https://us02web.zoom.us/", ALLOW),         # on the allow-list
    (NOTIFICATIONS, PLATFORM + "/", ALLOW),
    (MICROPHONE, "https://evil.example/", DEFAULT),
    (CAMERA, f"http://{DOMAIN}/", DEFAULT),              # not https
    (NOTIFICATIONS, "https://127.0.0.1.evil.example/", DEFAULT),
    (GEOLOCATION, PLATFORM + "/", DEFAULT),              # never allowed silently
]
NEW_WINDOWS = {  # address: whether the host opens it in the view
    f"file://127.0.0.1/share": False,
    "javascript:alert(1)": False,
    "quorvel:AAAA:BBBB": False,
    f"{PLATFORM}/popup.html": True,
}


def stimuli():
    lines = [{"do": "navigate", "uri": uri} for uri in NAVIGATIONS]
    lines += [{"do": "resource", "uri": uri} for uri in REQUESTS]
    lines += [{"do": "permission", "kind": kind, "uri": uri} for kind, uri, _ in PERMISSIONS]
    # Last: the one new window the host opens starts a navigation of its own.
    lines += [{"do": "newWindow", "uri": uri} for uri in NEW_WINDOWS]
    return lines


def check_log(h, lines, window, navigations=True):
    """Every answer the player gave that it must not have, all at once."""
    wrong = []
    if navigations:
        starts = {}
        for event in events(lines, "NavigationStarting"):
            starts.setdefault(event["uri"], event["cancelled"])
        wrong += [f"navigation to {uri}: cancelled {starts.get(uri)}"
                  for uri, cancelled in NAVIGATIONS.items() if starts.get(uri) is not cancelled]
    seen = {e["uri"]: e["headers"] for e in events(lines, "WebResourceRequested")}
    for uri, identified in REQUESTS.items():
        carried = [name for name in IDENTIFIERS if name in seen.get(uri, {})]
        if uri not in seen or carried != (list(PLATFORM_HEADERS) if identified else []):
            wrong.append(f"request {uri} carried {carried}")
    answered = [(e["kind"], e["uri"], e["state"]) for e in events(lines, "PermissionRequested")]
    wrong += [f"permission {kind} for {uri}: state {state}"
              for (kind, uri, state), expected in zip(answered, PERMISSIONS)
              if (kind, uri, state) != expected]
    if len(answered) != len(PERMISSIONS):
        wrong.append(f"permissions asked: {answered}")
    requested = events(lines, "NewWindowRequested")
    if [e["uri"] for e in requested] != list(NEW_WINDOWS) or not all(e["handled"] for e in requested):
        wrong.append(f"new windows: {requested}")
    opened = [c["uri"] for c in calls(lines, "Navigate") + calls(lines, "NavigateWithWebResourceRequest")
              if c["uri"] in NEW_WINDOWS]
    if opened != [uri for uri, opens in NEW_WINDOWS.items() if opens]:
        wrong.append(f"the host opened {opened}")
    h.check(not wrong, f"{window}:\n  " + "\n  ".join(wrong))


def hostile_page_in_player(h):
    """A lesson page that tries every way around the player's walls."""
    h.sim.set_answers({"PUT /api/player/content": {"json": {
        "data": {"type": "pdf", "url": f"{PLATFORM}/a.pdf"}, "watermark": "W"}}})
    process = h.start(h.make_link("lesson-7"), script=stimuli())
    popup = f"{PLATFORM}/popup.html"
    lines = h.wait_for(lambda l: any(e["uri"] == popup for e in events(l, "NavigationStarting")),
                       "the last new window's navigation")
    check_log(h, lines, "player")
    h.check(h.close_main_window(process) == 0, "player: exit code")
    h.sim.set_answers({})


def hostile_page_in_init_screen(h):
    """The same page in the init screen, which lets every navigation through but keeps
    the identifiers, the devices and new windows to the platform."""
    process = h.start(script=stimuli())
    popup = f"{PLATFORM}/popup.html"
    lines = h.wait_for(lambda l: any(e["uri"] == popup for e in events(l, "NavigationStarting")),
                       "the last new window's navigation")
    check_log(h, lines, "init screen", navigations=False)
    h.check(h.close_main_window(process) == 0, "init screen: exit code")


def lesson_page_in_either_form(h):
    """The page the player builds around a lesson is its own: it loads whether the
    runtime reports it as about:blank or by its data: address, and it is the page
    quorvel-tool builds."""
    lesson = f"{PLATFORM}/lesson.html"
    h.sim.set_answers({"PUT /api/player/content": {"json": {
        "data": {"type": "lesson", "url": lesson}, "watermark": "Learner 12"}}})
    built = subprocess.run([h.args.wine_run, h.args.tool, "page", "build", "--url", lesson,
                            "--watermark", "Learner 12"], capture_output=True, check=True,
                           timeout=60).stdout.decode("utf-8").rstrip("\r\n")
    data = "data:text/html;charset=utf-8;base64," + base64.b64encode(built.encode()).decode()
    for form, address in (("about", "about:blank"), ("data", data)):
        process = h.start(h.make_link("lesson-7"), script=[{"do": "message", "text": "pageLoaded"}],
                          settings={"QUORVEL_RUNTIME_STRING_DOCUMENT": form})
        lines = h.wait_for(lambda l: events(l, "NavigationCompleted"), f"the lesson page ({form})")
        shown = calls(lines, "NavigateToString")
        h.check(len(shown) == 1 and shown[0]["html"] == built,
                f"{form}: the player's page is not the tool's: {shown} / {built}")
        started = events(lines, "NavigationStarting")
        h.check(started[0] == {**started[0], "uri": address, "cancelled": False},
                f"{form}: the lesson page's navigation: {started[0]}")
        h.check(events(lines, "NavigationCompleted")[0]["success"], f"{form}: the page failed")
        h.check(h.close_main_window(process) == 0, f"{form}: exit code")
    h.sim.set_answers({})


SCENARIOS = [hostile_page_in_player, hostile_page_in_init_screen, lesson_page_in_either_form]
