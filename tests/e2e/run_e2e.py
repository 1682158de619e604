#!/usr/bin/env python3
"""Runs the real quorvel.exe under Wine on the virtual display this script is given (run
it under xvfb-run), with the platform simulator as the platform on its fixed address and
the runtime stand-in as the browser, and checks what a learner would see: exit codes,
the stand-in's record of what the player did in the browser, the simulator's record of
the requests, the registry, the clipboard, and screenshots left in the output folder.

With --engine chromium the stand-in runs the pages in headless Chromium and draws them
in the player's windows: every scenario runs against real pages, and the scenarios of
render_scenarios.py work the pages with the mouse and keyboard.

usage: run_e2e.py --wine-run W --wineprefix P --player EXE --standin DLL --probe EXE
                  --tool EXE --out DIR [--engine recording|chromium] [scenario ...]
"""
import argparse
import base64
import json
import os
import shutil
import subprocess
import sys
import time
import urllib.parse
from contextlib import contextmanager
from pathlib import Path

SOURCE = Path(__file__).resolve().parent
sys.path.insert(0, str(SOURCE.parent.parent / "tools" / "platform-sim"))
from demo_pdf import build_handout_pdf  # noqa: E402
from simulator import Simulator, make_chain  # noqa: E402
import failure_scenarios  # noqa: E402
import render_scenarios  # noqa: E402
import wall_scenarios  # noqa: E402

FIXTURE_CERTS = SOURCE.parent.parent / "tools" / "platform-sim" / "test-fixture-demo-certs"

DOMAIN = "127.0.0.1:8443"
TITLE = "Quorvel V 4.11.0"
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def leaf_key_pin():
    """The base64 SHA-256 of the simulator certificate's public key."""
    for line in (FIXTURE_CERTS / "pins.txt").read_text().splitlines():
        name, _, pin = line.partition(" ")
        if name == "leaf":
            return pin
    raise Failure("no leaf pin in pins.txt")


def chromium_settings(out):
    """The stand-in's settings for running pages in Chromium: the simulator's certificate
    trusted by its key, every host but the loopback one sent to a closed proxy port so
    nothing leaves the machine, and printed files kept with the run."""
    return {
        "QUORVEL_RUNTIME_ENGINE": "chromium",
        "QUORVEL_RUNTIME_CHROMIUM_ARGS": f"--ignore-certificate-errors-spki-list={leaf_key_pin()} "
                                         "--proxy-server=127.0.0.1:9",
        "QUORVEL_RUNTIME_PRINT_DIR": windows_path(out),
    }


class Harness:
    check = staticmethod(check)

    def __init__(self, args):
        self.args = args
        self.out = Path(args.out)
        self.app = self.out / "app"
        self.sim = None
        self.log = self.out / "standin.log"

    # --- set-up -------------------------------------------------------------------
    def serve_pdf_lesson(self, path="/a.pdf", watermark="W"):
        """The platform answers the link with a PDF lesson, and serves the handout there."""
        self.sim.set_answers({
            "PUT /api/player/content": {"json": {
                "data": {"type": "pdf", "url": f"https://{DOMAIN}{path}"}, "watermark": watermark}},
            f"GET {path}": {"headers": {"Content-Type": "application/pdf"},
                            "body_base64": base64.b64encode(build_handout_pdf()).decode()},
        })

    def lay_out_player(self, with_runtime=True, folder=None):
        """The player (and the stand-in as its private runtime) in `folder`, by default
        the run's app folder, which later starts use."""
        shutil.rmtree(self.app, ignore_errors=True)
        folder = folder or self.app
        folder.mkdir(parents=True)
        self.player = folder / "quorvel.exe"
        shutil.copy(self.args.player, self.player)
        if with_runtime:
            runtime = folder / "WebView2Runtime"
            (runtime / "EBWebView" / "x64").mkdir(parents=True)
            (runtime / "msedgewebview2.exe").write_bytes(b"stand-in")
            shutil.copy(self.args.standin, runtime / "EBWebView" / "x64")

    def wine(self, *command, stdout_file=None, timeout=60):
        out = open(stdout_file or os.devnull, "wb")
        try:
            return subprocess.run([self.args.wine_run, *command], stdout=out,
                                  stderr=subprocess.DEVNULL, timeout=timeout).returncode
        finally:
            out.close()

    def probe(self, *command, timeout=60):
        output = self.out / "probe.stdout"
        rc = self.wine(self.args.probe, *command, stdout_file=output, timeout=timeout)
        return rc, output.read_bytes().decode("utf-8", "replace").replace("\r", "")

    def make_link(self, link_id, p1="course-42", domain=DOMAIN, key_hex=None):
        command = [self.args.wine_run, self.args.tool, "link", "make", "--p1", p1, "--id", link_id,
                   "--domain", domain]
        if key_hex:
            command += ["--key-hex", key_hex]
        return subprocess.run(command, check=True, capture_output=True,
                              text=True).stdout.strip()

    def start(self, *arguments, script=None, settings=None, fail=None):
        """Starts the player; `settings` are more of the stand-in's variables, `fail` its
        failure stage (STAGE[:HRESULT])."""
        if self.log.exists():
            self.log.unlink()
        env = dict(os.environ)
        if self.args.engine == "chromium":
            env.update(chromium_settings(self.out))
        env.update(settings or {})
        env["QUORVEL_RUNTIME_LOG"] = windows_path(self.log)
        env.pop("QUORVEL_RUNTIME_FAIL", None)
        if fail is not None:
            env["QUORVEL_RUNTIME_FAIL"] = fail
        if script is not None:
            script_file = self.out / "stimuli.jsonl"
            script_file.write_text("".join(json.dumps(s) + "\n" for s in script))
            env["QUORVEL_RUNTIME_SCRIPT"] = windows_path(script_file)
        else:
            env.pop("QUORVEL_RUNTIME_SCRIPT", None)
        return subprocess.Popen([self.args.wine_run, str(self.player), *arguments],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)

    # --- observation ----------------------------------------------------------------
    def standin_lines(self):
        if not self.log.exists():
            return []
        lines = []
        for line in self.log.read_text(encoding="utf-8", errors="replace").splitlines():
            try:
                lines.append(json.loads(line))
            except json.JSONDecodeError:
                pass  # a line being written
        return lines

    def wait_for(self, predicate, what, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            lines = self.standin_lines()
            if predicate(lines):
                return lines
            time.sleep(0.2)
        raise Failure(f"timed out waiting for {what}; stand-in log: {self.standin_lines()[-8:]}")

    def first_navigation(self, lines):
        for line in lines:
            if line.get("call") in ("Navigate", "NavigateWithWebResourceRequest",
                                    "NavigateToString"):
                return line
        return None

    def scripts(self, lines):
        return [l["script"] for l in lines if l.get("call") == "AddScriptToExecuteOnDocumentCreated"]

    def screenshot(self, name):
        subprocess.run(["import", "-window", "root", str(self.out / f"{name}.png")],
                       stderr=subprocess.DEVNULL, timeout=30)

    def close_main_window(self, process):
        rc, _ = self.probe("close", TITLE, "20000")
        check(rc == 0, "the main window was not found to close it")
        return process.wait(60)

    def requests(self):
        return [(r["method"], r["path"]) for r in self.sim.requests()]

    def window_state(self, title=TITLE):
        return window_state(self, title)


# --- scenarios ------------------------------------------------------------------------

def no_link(h):
    h.sim.clear_log()
    process = h.start()
    lines = h.wait_for(h.first_navigation, "the init screen's first navigation")
    navigation = h.first_navigation(lines)
    check(navigation["call"] == "NavigateWithWebResourceRequest", navigation)
    check(navigation["uri"] == f"https://{DOMAIN}/app/", navigation)
    scripts = h.scripts(lines)
    check(len(scripts) == 2 and "_lumoraPrintBlockAdded" in scripts[0]
          and "_lumoraNavAdded" in scripts[1], f"init screen scripts: {[s[:40] for s in scripts]}")
    paths = [p for m, p in h.requests() if m == "GET"]
    check(paths[:2] == ["/api/player/pins", "/api/player/version"], f"requests: {h.requests()}")
    # Revealed once its first navigation completed, with the splash gone.
    rc, found = h.probe("find", TITLE, "10000")
    check(rc == 0 and "class=LumoraInitWindow" in found, f"init screen window: {found}")
    time.sleep(3)
    h.screenshot("init-screen")
    check(h.close_main_window(process) == 0, "the init screen did not end with exit code 0")
    output = h.out / "reg.txt"
    h.wine("reg", "query", r"HKCU\Software\Classes\quorvel\shell\open\command", stdout_file=output)
    command = output.read_bytes().decode("utf-8", "replace")
    check("quorvel.exe\" \"%1\"" in command and "app" in command, f"registry: {command}")


def link_kinds(h):
    cases = {
        "html": ({"data": {"type": "lesson", "url": f"https://{DOMAIN}/lesson.html"},
                  "watermark": "Learner 12"}, "NavigateToString", None),
        "pdf": ({"data": {"type": "pdf", "url": f"https://{DOMAIN}/a.pdf"},
                 "watermark": "Learner 12"}, "NavigateWithWebResourceRequest",
                ["_lumoraLoaderAdded", "_lumoraPrintBlockAdded", "_lumoraWatermarkAdded",
                 "_lumoraPrintBtnAdded"]),
        "direct-video": ({"data": {"type": "video", "url": "https://cdn.example.org/v.mp4"}},
                         "Navigate", ["_lumoraLoaderAdded", "_lumoraPrintBlockAdded"]),
        "youtube": ({"data": {"type": "video", "url": "x",
                              "videoAddress": "https://www.youtube.com/watch?v=ABC123",
                              "scriptNumber": 7}}, "Navigate",
                    ["_lumoraLoaderAdded", "_lumoraPrintBlockAdded", "page script 7"]),
    }
    link = h.make_link("lesson-7")
    for name, (answer, call, markers) in cases.items():
        h.sim.set_answers({"PUT /api/player/content": {"json": answer}})
        h.sim.clear_log()
        process = h.start(link, script=[{"do": "message", "text": "pageLoaded"}])
        lines = h.wait_for(h.first_navigation, f"the {name} player's first navigation")
        navigation = h.first_navigation(lines)
        check(navigation["call"] == call, f"{name}: {navigation}")
        if name == "html":
            check("Learner 12" in navigation["html"] and f"https://{DOMAIN}/lesson.html"
                  in navigation["html"], navigation)
        if name == "youtube":
            check(navigation["uri"] == "https://www.youtube.com/embed/ABC123?origin=127.0.0.1%3a8443",
                  navigation)
        scripts = h.scripts(lines)
        for marker, script in zip(markers or [], scripts):
            check(marker in script, f"{name}: expected {marker} in {script[:60]}")
        put = [r for r in h.sim.requests() if r["method"] == "PUT"]
        check(len(put) == 1 and put[0]["body"] == "token=course-42&link_id=lesson-7",
              f"{name}: content request {put}")
        headers = {k.lower(): v for k, v in put[0]["headers"]}
        check(headers.get("x-client-kind") == "desktop-player" and len(headers.get("x-device-id", "")) == 64,
              f"{name}: headers {headers}")
        time.sleep(1)
        h.screenshot(f"player-{name}")
        check(h.close_main_window(process) == 0, f"{name}: exit code")
    h.sim.set_answers({})


def second_start(h):
    first = h.start()
    h.wait_for(h.first_navigation, "the first instance")
    second = h.start()
    rc, text = h.probe("answer", "Quorvel", str(IDOK), "30000")
    check(rc == 0 and "already running" in text, f"already-running box: {text}")
    check(second.wait(30) == 0, "the second start did not end with 0")
    # A link start is another mode: it runs beside the init screen.
    h.sim.set_answers({"PUT /api/player/content": {"json": {"data": {"type": "pdf", "url": "https://127.0.0.1:8443/a.pdf"}}}})
    player = h.start(h.make_link("lesson-7"))
    time.sleep(8)
    check(player.poll() is None, "the link start did not run beside the init screen")
    h.probe("close", TITLE, "20000")
    h.probe("close", TITLE, "20000")
    first.wait(60)
    player.wait(60)
    h.sim.set_answers({})


def forged_link(link):
    """The forgery a link without its MAC allowed: its second part's IV flipped so that
    "lesson-7" reads as a direct address, and the MAC removed."""
    parts = [urllib.parse.unquote(p) for p in link[len("quorvel:"):].split(":")]
    envelope = json.loads(base64.b64decode(parts[1]))
    iv = base64.b64decode(envelope["iv"])
    plain, wanted = b"lesson-7" + bytes([8] * 8), b"https://ev.il/" + bytes([2, 2])
    envelope["iv"] = base64.b64encode(bytes(a ^ b ^ c for a, b, c in zip(iv, plain, wanted))).decode()
    del envelope["mac"]
    parts[1] = base64.b64encode(json.dumps(envelope).encode()).decode()
    return "quorvel:" + ":".join(urllib.parse.quote(p, safe="") for p in parts)


def broken_links(h):
    for name, link, reason in [
        ("bad-mac", h.make_link("lesson-7", key_hex="11" * 32),
         "exception_MAC verification failed — data may be tampered"),
        ("two-parts", "quorvel:AAAA:BBBB", "split_failed_parts_2"),
        ("forged-without-mac", forged_link(h.make_link("lesson-7")), "decrypt_failed_missing_mac"),
        ("plain-http-domain", h.make_link("lesson-7", domain=f"http://{DOMAIN}"),
         "domain_failed_not_https"),
    ]:
        process = h.start(link)
        rc, _ = h.probe("find", "Security Alert", "60000")
        check(rc == 0, f"{name}: no diagnostic window")
        time.sleep(1)
        h.screenshot(f"diagnostic-{name}")
        rc, code = h.probe("clipboard")
        check(code.strip() != "", f"{name}: empty clipboard")
        decoded = subprocess.run([h.args.wine_run, h.args.tool, "diag", "read", code.strip()],
                                 capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
        check(reason in decoded, f"{name}: code reads {decoded!r}")
        check(process.wait(60) == 0, f"{name}: exit code")
    h.sim.set_answers({"PUT /api/player/content": {"status": 410, "json": {"message": "انتهت صلاحية الرابط"}}})
    process = h.start(h.make_link("lesson-7"))
    rc, text = h.probe("answer", "Quorvel - ", str(IDOK), "60000")
    check(rc == 0 and "انتهت صلاحية الرابط" in text, f"refusal box: {text}")
    check(process.wait(30) == 1, "a refusal must end with 1")
    h.sim.set_answers({})


def updates(h):
    def version(required):
        h.sim.set_answers({"GET /api/player/version": {"json": {
            "version": "9.0", "is_required": 1 if required else 0, "link": "C:\\evil.exe"}}})

    version(False)
    process = h.start()
    rc, _ = h.probe("answer", "Update Available", str(IDNO), "60000")
    check(rc == 0, "no optional update box")
    h.wait_for(h.first_navigation, "the init screen after declining")
    check(h.close_main_window(process) == 0, "declined update: exit code")

    process = h.start()
    rc, _ = h.probe("answer", "Update Available", str(IDYES), "60000")
    check(rc == 0 and process.wait(60) == 0, "accepted update must end with 0")

    version(True)
    process = h.start()
    rc, _ = h.probe("answer", "Update Required", str(IDCANCEL), "60000")
    check(rc == 0 and process.wait(60) == 0, "cancelled mandatory update must end with 0")
    link_updates(h)
    h.sim.set_answers({})


def link_updates(h):
    """With a link, the version check for the link's domain takes the first check's answer
    when the domain leads to the same address, and asks when it leads to another; an
    update declined once is not offered again, another update is."""
    update = {"json": {"version": "9.0", "is_required": 0, "link": ""}}
    pdf = {"json": {"data": {"type": "pdf", "url": f"https://{DOMAIN}/a.pdf"}}}
    h.sim.set_answers({"GET /api/player/version": update, "GET /v2/api/player/version": update,
                       "PUT /api/player/content": pdf, "PUT /v2/api/player/content": pdf})
    for domain, asked in ((DOMAIN, ["/api/player/version"]),
                          (f"{DOMAIN}/v2", ["/api/player/version", "/v2/api/player/version"])):
        h.sim.clear_log()
        process = h.start(h.make_link("lesson-7", domain=domain))
        rc, _ = h.probe("answer", "Update Available", str(IDNO), "60000")
        check(rc == 0, f"{domain}: no optional update box")
        h.wait_for(h.first_navigation, f"{domain}: the player after declining")
        check(h.probe("find", "Update", "500")[0] == 2, f"{domain}: offered the update twice")
        versions = [p for m, p in h.requests() if m == "GET" and p.endswith("/version")]
        check(versions == asked, f"{domain}: version requests {versions}")
        check(h.close_main_window(process) == 0, f"{domain}: exit code")
    h.sim.set_answers({"GET /api/player/version": update,
                       "GET /v2/api/player/version": {"json": {"version": "9.0", "is_required": 1}},
                       "PUT /v2/api/player/content": pdf})
    process = h.start(h.make_link("lesson-7", domain=f"{DOMAIN}/v2"))
    rc, _ = h.probe("answer", "Update Available", str(IDNO), "60000")
    check(rc == 0, "no optional update box before the mandatory one")
    rc, _ = h.probe("answer", "Update Required", str(IDCANCEL), "60000")
    check(rc == 0 and process.wait(60) == 0, "the link's own mandatory update was not offered")


@contextmanager
def platform_stopped(h):
    """The harness's platform stopped for a scenario that serves port 8443 itself, and
    started again however the scenario ends: a failed check must not leave the scenarios
    after it without a platform."""
    h.sim.__exit__()
    try:
        yield
    finally:
        h.sim.__enter__()


def wrong_pins(h):
    chain = make_chain(str(h.out / "wrong-chain"))
    with platform_stopped(h), Simulator(str(h.out / "sim-wrong"), cert=chain["chain"],
                                        key=chain["key"], port=8443) as sim:
        process = h.start(h.make_link("lesson-7"))
        rc, _ = h.probe("find", "Security Alert", "60000")
        check(rc == 0, "no pin-failure diagnostic")
        rc, code = h.probe("clipboard")
        decoded = subprocess.run([h.args.wine_run, h.args.tool, "diag", "read", code.strip()],
                                 capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
        check("SSL_127.0.0.1" in code or "SSL_127.0.0.1" in decoded, f"code {code!r} / {decoded!r}")
        check(process.wait(60) == 0, "pin failure exit code")
        check(not any(r["method"] == "PUT" for r in sim.requests()), "a content body was sent")


def switched_key(h):
    """A platform whose key changes after its first N connections (each closed after one
    answer, so every exchange of the link road gets its own, and with N=4 the browser's
    check of the lesson's host meets the foreign key): the player stops at the
    pin-failure diagnostic, and the foreign key receives nothing at all, no identifier,
    no secret, no body, not even the browser check's HEAD."""
    foreign = make_chain(str(h.out / "foreign-chain"))
    fixture = {"cert": str(FIXTURE_CERTS / "chain.pem"), "key": str(FIXTURE_CERTS / "leaf.key")}
    with platform_stopped(h), Simulator(str(h.out / "sim-switching"), port=8443,
                                        switch_cert=foreign["chain"], switch_key=foreign["key"],
                                        **fixture) as sim:
        link = h.make_link("lesson-7")
        for n in (1, 2, 3, 4):
            sim.set_connections({"switch_after": n, "keep_alive": False, "label": n})
            sim.clear_log()
            process = h.start(link)
            rc, _ = h.probe("find", "Security Alert", "60000")
            check(rc == 0, f"N={n}: no pin-failure diagnostic")
            rc, code = h.probe("clipboard")
            check("SSL_127.0.0.1" in code, f"N={n}: code {code!r}")
            check(process.wait(60) == 0, f"N={n}: pin failure exit code")
            served = [f"{r['method']} {r['path']}" for r in sim.requests()]
            check(not any(r["switched"] for r in sim.requests()), f"N={n}: {sim.requests()}")
            switched = [c for c in sim.connections() if c["switched"] and c["label"] == n]
            check(switched and all(c["bytes"] == 0 for c in switched),
                  f"N={n}: switched connections {switched}, served {served}")
            print(f"     N={n}: served {served}; {len(switched)} switched connection(s), 0 bytes")


def no_runtime(h):
    h.lay_out_player(with_runtime=False)
    process = h.start()
    rc, text = h.probe("answer", "Component Required", str(IDNO), "60000")
    check(rc == 0 and "WebView2 Runtime is required" in text, f"runtime box: {text}")
    check(process.wait(30) == 1, "no runtime must end with 1")
    h.lay_out_player()


def window_state(h, title=TITLE):
    rc, text = h.probe("find", title, "10000")
    check(rc == 0, f"window {title} not found")
    fields = dict(line.split("=", 1) for line in text.splitlines() if "=" in line)
    return int(fields["style"], 16), tuple(int(v) for v in fields["rect"].split(","))


def events(lines, name):
    return [l for l in lines if l.get("event") == name]


def player_window(h):
    """Messages, navigation policy and resource headers in the player window."""
    h.serve_pdf_lesson()
    process = h.start(h.make_link("lesson-7"), script=[
        {"do": "message", "text": "pageLoaded"},
        {"do": "navigate", "uri": "https://evil.example.com/phish"},
        {"do": "resource", "uri": f"https://{DOMAIN}/media/1.ts"},
        {"do": "resource", "uri": "https://www.youtube.com/embed/x"},
        {"do": "newWindow", "uri": "https://evil.example.com/popup"},
        {"do": "message", "text": "toggleFullscreen", "afterMs": 3000},
        {"do": "messageJson", "json": "toggleFullscreen", "afterMs": 3000},
        # Last: an allowed host that is not there leaves an error page behind.
        {"do": "navigate", "uri": "https://player.vimeo.com/video/1", "afterMs": 1000},
    ])
    # The page's fetches may be seen in any order, a favicon's among them.
    lines = h.wait_for(lambda l: any(e["uri"] == f"https://{DOMAIN}/media/1.ts"
                                     for e in events(l, "WebResourceRequested")),
                       "the scripted media request")
    before = window_state(h)
    requests = {e["uri"]: e["headers"] for e in events(lines, "WebResourceRequested")}
    media = requests[f"https://{DOMAIN}/media/1.ts"]
    for name in ("X-Quorvel-Client", "X-Device-Id", "X-Device-Fingerprint", "X-Quorvel-Device",
                 "X-Quorvel-Machine"):
        check(name in media, f"media request lacks {name}: {media}")
    youtube = h.wait_for(lambda l: any(e["uri"] == "https://www.youtube.com/embed/x"
                                       for e in events(l, "WebResourceRequested")),
                         "the YouTube request")
    youtube = [e for e in events(youtube, "WebResourceRequested")
               if e["uri"] == "https://www.youtube.com/embed/x"][0]["headers"]
    check(youtube.get("Referer") == DOMAIN, f"YouTube request: {youtube}")

    def fullscreen_messages(lines):
        return [e for e in events(lines, "WebMessageReceived") if "toggleFullscreen" in e["json"]]

    lines = h.wait_for(lambda l: len(fullscreen_messages(l)) >= 1, "the first full-screen message")
    popup = [e for e in events(lines, "NewWindowRequested")]
    check(popup and popup[0]["handled"], f"new window: {popup}")
    check(any(e["uri"] == "https://evil.example.com/popup" and e["cancelled"]
              for e in events(lines, "NavigationStarting")), "the pop-up's address was not refused")
    time.sleep(0.5)
    full = window_state(h)
    h.screenshot("player-fullscreen")
    h.wait_for(lambda l: len(fullscreen_messages(l)) >= 2, "the second full-screen message")
    time.sleep(0.5)
    after = window_state(h)
    check(full[0] & 0x80000000 and not full[0] & 0x00C00000, f"full screen style {full[0]:08x}")
    check(full[1] == (0, 0, 1280, 1024), f"full screen rectangle {full[1]}")
    check(after[0] & 0x00CF0000 == 0x00CF0000, f"back to an overlapped window: {after[0]:08x}")
    check(after[1][2] - after[1][0] == 1280 and after[1][3] - after[1][1] == 720,
          f"back to 1280 x 720: {after[1]} (was {before[1]})")
    lines = h.wait_for(lambda l: any(e["uri"] == "https://player.vimeo.com/video/1"
                                     for e in events(l, "NavigationStarting")), "the video host")
    starts = {e["uri"]: e["cancelled"] for e in events(lines, "NavigationStarting")}
    check(starts.get("https://evil.example.com/phish") is True, f"navigations: {starts}")
    check(starts.get("https://player.vimeo.com/video/1") is False, f"navigations: {starts}")
    check(h.close_main_window(process) == 0, "player window: exit code")
    h.sim.set_answers({})


def init_screen_buttons(h):
    # A real browser plays the stimuli only on a page that loaded.
    h.sim.set_answers({"GET /app/*": render_scenarios.page()})
    process = h.start(script=[
        {"do": "message", "text": "btn_fullscreen", "afterMs": 3000},
        {"do": "message", "text": "btn_fullscreen", "afterMs": 3000},
        {"do": "message", "text": "btn_home"},
    ])

    def toggles(lines):
        return [e for e in events(lines, "WebMessageReceived") if e.get("text") == "btn_fullscreen"]

    h.wait_for(lambda l: events(l, "NavigationCompleted"), "the init screen")
    time.sleep(0.5)
    before = window_state(h)
    h.wait_for(lambda l: len(toggles(l)) >= 1, "the first full-screen button")
    time.sleep(0.5)
    full = window_state(h)
    h.wait_for(lambda l: len(toggles(l)) >= 2, "the second full-screen button")
    time.sleep(0.5)
    after = window_state(h)
    check(full[1] == (0, 0, 1280, 1024) and not full[0] & 0x00C00000, f"init full screen {full}")
    check(after == before, f"init screen placement not restored: {before} -> {after}")
    lines = h.wait_for(lambda l: any(x.get("uri") == f"https://{DOMAIN}/app/home"
                                     for x in l if x.get("call")), "the home navigation")
    h.screenshot("init-screen-after-buttons")
    check(h.close_main_window(process) == 0, "init screen buttons: exit code")
    h.sim.set_answers({})


def browser_pin_failure(h):
    """A page's request to a pinned host whose certificate fails its pins, checked on the
    port the request uses: the platform's own port serves the platform's certificate, so
    127.0.0.1 passes its pins there, while "localhost", pinned to another key by the
    served list, fails them."""
    h.sim.set_answers({"GET /api/player/pins": {"json": [
        {"scope": "localhost", "pins": ["sha256/AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA="]}]},
        "GET /app/*": render_scenarios.page()})
    # The host is read after the user information (a page's fetch() may not carry any).
    first = "https://LOCALHOST:8443/lesson.js"
    if h.args.engine == "recording":
        first = "https://user@LOCALHOST:8443/lesson.js"
    process = h.start(script=[{"do": "resource", "uri": first},
                              {"do": "resource", "uri": "https://localhost:8443/again.js"}])
    rc, _ = h.probe("find", "Security Alert", "60000")
    check(rc == 0, "no browser pin-failure diagnostic")
    lines = h.wait_for(lambda l: len([e for e in events(l, "WebResourceRequested")
                                      if "localhost:8443" in e["uri"].lower()]) >= 2,
                       "both requests to localhost")
    # A real browser writes the address in its normal form.
    blocked = [e for e in events(lines, "WebResourceRequested")
               if "localhost:8443" in e["uri"].lower()]
    check(all(e["response"] and e["response"]["status"] == 403 and
              e["response"]["reason"] == "Blocked" for e in blocked), f"blocked requests: {blocked}")
    rc, code = h.probe("clipboard")
    decoded = subprocess.run([h.args.wine_run, h.args.tool, "diag", "read", code.strip()],
                             capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
    check("MITM_PIN_localhost" in code + decoded, f"code {code!r} / {decoded!r}")
    check(process.wait(60) == 0, "browser pin failure exit code")
    h.sim.set_answers({})


def close_during_start(h):
    """Closing either main window while its browser is still starting (the stand-in holds
    the start at the environment or at the controller) is a normal end: exit code 0, no
    browser error box. A start that fails shows its box once, and closing the window
    behind it still ends with the failure's exit code and no second box."""
    h.sim.set_answers({"PUT /api/player/content": {"json": {
        "data": {"type": "pdf", "url": f"https://{DOMAIN}/a.pdf"}}}})
    windows = {"init-screen": (), "player": (h.make_link("lesson-7"),)}
    held_at = {"CreateEnvironmentCall:0": "CreateWebViewEnvironmentWithOptionsInternal",
               "CreateControllerCall:0": "CreateCoreWebView2Controller"}
    for name, arguments in windows.items():
        for stage, last_call in held_at.items():
            what = f"{name} held at {stage}"
            process = h.start(*arguments, fail=stage)
            h.wait_for(lambda l: any(x.get("call") == last_call for x in l), f"{what}: {last_call}")
            time.sleep(1)
            h.screenshot(f"close-during-start-{name}-{stage.split(':')[0]}")
            check(h.close_main_window(process) == 0, f"{what}: exit code {process.returncode}")
            check(h.probe("find", "WebView2 Error", "500")[0] == 2, f"{what}: an error box")
            check(not h.first_navigation(h.standin_lines()), f"{what}: navigated after the close")

        process = h.start(*arguments, fail="CreateControllerCallback")
        rc, text = h.probe("find", "WebView2 Error", "60000")
        check(rc == 0, f"{name}: no box for a start that failed")
        h.screenshot(f"close-during-start-{name}-failed")
        h.probe("close", TITLE, "10000")
        check(process.wait(60) == 1, f"{name}: a failed start must end with 1, not {process.returncode}")
        check(h.probe("find", "Startup Error", "500")[0] == 2, f"{name}: a second box")
    h.sim.set_answers({})


def long_path(h):
    """A player whose path is longer than MAX_PATH finds its private runtime and registers
    a command with the whole path, not a cut or empty one."""
    folder = h.app.joinpath(*[f"a-folder-of-the-course-library-number-{i}" for i in range(8)])
    h.lay_out_player(folder=folder)
    check(len(windows_path(h.player)) > 300, f"not long enough: {h.player}")
    process = h.start()
    h.wait_for(h.first_navigation, "the init screen's first navigation")
    check(h.close_main_window(process) == 0, f"exit code {process.returncode}")
    output = h.out / "reg.txt"
    h.wine("reg", "query", r"HKCU\Software\Classes\quorvel\shell\open\command",
           stdout_file=output)
    command = output.read_bytes().decode("utf-8", "replace")
    check(f'"{windows_path(h.player)}" "%1"'.lower() in command.lower(), f"registry: {command}")
    h.lay_out_player()


def release_during_print(h):
    """WM_RELEASE_BROWSER (sent from another thread before a diagnostic ends the player)
    while the printer dialog is open: the dialog closes, the browser is shut down, nothing
    is printed or told, and the player still ends as a normal close does."""
    rc, _ = h.probe("printers", "Office Printer", "Quorvel Test Printer")
    check(rc == 0, "could not install the test printers")
    h.serve_pdf_lesson()
    process = h.start(h.make_link("lesson-7"), script=[
        {"do": "message", "text": "pageLoaded"}, {"do": "message", "text": "requestPrint"}])
    rc, text = h.probe("find", "Select Printer", "60000")
    check(rc == 0, f"no printer dialog: {rc} {text} {h.standin_lines()[-3:]}")
    time.sleep(1)
    h.screenshot("release-during-print-dialog")
    rc, _ = h.probe("send", TITLE, str(0x8065), "7000")
    check(rc == 0, "the player did not answer WM_RELEASE_BROWSER")
    lines = h.wait_for(lambda l: any(x.get("call") == "Close" for x in l), "the browser's shutdown")
    check(h.probe("find", "Select Printer", "500")[0] == 2, "the printer dialog stayed open")
    check(process.poll() is None, f"the player ended on the release: {process.returncode}")
    check(not [x for x in lines if x.get("call") in ("Print", "PostWebMessageAsJson")],
          "printed or told the page after the release")
    h.screenshot("release-during-print-after")
    check(h.close_main_window(process) == 0, f"exit code {process.returncode}")
    h.sim.set_answers({})


SCENARIOS = {f.__name__: f for f in (no_link, link_kinds, player_window, init_screen_buttons,
                                     second_start, broken_links, updates, wrong_pins,
                                     switched_key, browser_pin_failure, no_runtime,
                                     close_during_start, release_during_print, long_path,
                                     *failure_scenarios.SCENARIOS)}
RENDER_SCENARIOS = {f.__name__: f for f in render_scenarios.SCENARIOS}
# They read the recording stand-in's log of what the player answered.
WALL_SCENARIOS = {f.__name__: f for f in wall_scenarios.SCENARIOS}


def main():
    parser = argparse.ArgumentParser()
    for name in ("wine-run", "wineprefix", "player", "standin", "probe", "tool", "out"):
        parser.add_argument(f"--{name}", required=True)
    parser.add_argument("--engine", choices=("recording", "chromium"), default="recording")
    parser.add_argument("scenarios", nargs="*")
    args = parser.parse_args()
    scenarios = dict(SCENARIOS)
    if args.engine == "chromium":
        scenarios.update(RENDER_SCENARIOS)
    else:
        scenarios.update(WALL_SCENARIOS)
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    env_prefix = {"WINEPREFIX": args.wineprefix}
    subprocess.run(["wineserver", "-w"], env={**os.environ, **env_prefix})

    h = Harness(args)
    h.lay_out_player()
    fixture_root = FIXTURE_CERTS / "root.pem"
    check(h.probe("trust", windows_path(fixture_root))[0] == 0, "could not trust the test root")
    failures = []
    with Simulator(str(out / "sim"), port=8443) as sim:
        h.sim = sim
        for name in args.scenarios or scenarios:
            started = time.monotonic()
            try:
                scenarios[name](h)
                print(f"ok   {name} ({time.monotonic() - started:.1f} s)", flush=True)
            except Exception as error:  # noqa: BLE001 - report every scenario
                failures.append(name)
                print(f"FAIL {name}: {error}", flush=True)
                subprocess.run(["wineserver", "-k"], env={**os.environ, **env_prefix})
                subprocess.run(["wineserver", "-w"], env={**os.environ, **env_prefix})
    subprocess.run(["wineserver", "-k"], env={**os.environ, **env_prefix})
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
