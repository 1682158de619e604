#!/usr/bin/env python3
"""The per-user MSI under Wine, as a learner's machine sees it: install, upgrade, the
first link opened through the registered scheme, uninstall. Run under xvfb-run.

Every step runs in a Wine prefix of this test's own (OUT/wineprefix), so what one
package leaves behind cannot hide in another test's registry, and the other tests'
players cannot register the scheme for it.

usage: installer_test.py --build-msi SCRIPT --player EXE --standin DLL --probe EXE
                         --tool EXE --icon ICO --version N.N.N --release-msi MSI
                         --release-player EXE --out DIR
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parent
sys.path.insert(0, str(SOURCE.parent.parent / "tools" / "platform-sim"))
from simulator import Simulator  # noqa: E402

DOMAIN = "127.0.0.1:8443"
TITLE = "Quorvel V "
SCHEME_KEY = r"HKCU\Software\Classes\quorvel"
INSTALL_KEY = r"HKCU\Software\Quorvel"
UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Machine:
    """A private Wine prefix and what a person would look at in it."""

    def __init__(self, out):
        self.prefix = out / "wineprefix"
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEDEBUG="-all",
                        # No menus of the host: shortcuts stay inside the prefix.
                        WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=")

    def prepare(self):
        """A fresh prefix, made the way the build's own is (Windows 10, settled)."""
        self.wineserver("-k")
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(["wineboot", "-i"], env=self.env, capture_output=True, timeout=300)
        self.run("reg", "add", r"HKCU\Software\Wine", "/v", "Version", "/t", "REG_SZ",
                 "/d", "win10", "/f")
        self.wineserver("-w")
        users = [p for p in (self.prefix / "drive_c" / "users").iterdir()
                 if p.name not in ("Public", "Default")]
        check(len(users) == 1, f"expected one user profile, found {users}")
        self.profile = users[0]
        self.local = self.profile / "AppData" / "Local"
        self.install_dir = self.local / "Programs" / "Quorvel"
        self.shortcut = (self.profile / "AppData" / "Roaming" / "Microsoft" / "Windows" /
                         "Start Menu" / "Programs" / "Quorvel.lnk")

    def wineserver(self, flag):
        subprocess.run(["wineserver", flag], env=self.env, timeout=120)

    def run(self, *command, timeout=120):
        result = subprocess.run(["wine", *command], env=self.env, capture_output=True,
                                timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8", "replace").replace("\r", "")

    def msiexec(self, action, package):
        rc, _ = self.run("msiexec", action, windows_path(package), "/qn", timeout=300)
        check(rc == 0, f"msiexec {action} {package.name}: exit code {rc}")

    def values(self, key):
        """{subkey path: {value name: data}} of a key and its subkeys; {} when absent."""
        rc, text = self.run("reg", "query", key, "/s")
        if rc != 0:
            return {}
        tree, current = {}, None
        for line in text.splitlines():
            if line.startswith("HKEY_"):
                current = tree.setdefault(line.strip(), {})
            elif current is not None and line.startswith("    "):
                name, kind, data = (re.split(r" {4}", line.strip(), maxsplit=2) + ["", ""])[:3]
                current[name] = (kind, data)
        return tree

    def entries_named(self, display_name):
        """Uninstall entries ("Apps & features") with this display name. Windows keeps a
        per-user product's entry under HKCU, Wine under HKLM: both are searched."""
        found = {}
        for root in ("HKCU", "HKLM"):
            for key, values in self.values(f"{root}\\{UNINSTALL}").items():
                if values.get("DisplayName", ("", ""))[1] == display_name:
                    found[key] = {name: data for name, (_, data) in values.items()}
        return found


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def word_count(msi):
    """The summary information's word count: bit 8 says the package needs no
    administrator rights, which Windows otherwise asks for before a per-user install."""
    stream = subprocess.run(["msiinfo", "extract", str(msi), "\x05SummaryInformation"],
                            capture_output=True, check=True).stdout
    section = struct.unpack_from("<I", stream, 44)[0]
    _, count = struct.unpack_from("<II", stream, section)
    for i in range(count):
        pid, offset = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        if pid == 15:
            return struct.unpack_from("<i", stream, section + offset + 4)[0]
    raise Failure(f"{msi.name}: no word count in the summary information")


def build_packages(args, out):
    """Two versions with the recording stand-in as their fixed-version runtime; the older
    one carries a file the newer one lacks, to show the upgrade removed it."""
    packages = {}
    for name, version, extra in (("old", "4.10.0", True), ("new", args.version, False)):
        runtime = out / f"runtime-{name}"
        shutil.rmtree(runtime, ignore_errors=True)
        (runtime / "EBWebView" / "x64").mkdir(parents=True)
        (runtime / "msedgewebview2.exe").write_bytes(b"stand-in")
        shutil.copy(args.standin, runtime / "EBWebView" / "x64")
        if extra:
            (runtime / "EBWebView" / "only-in-4.10.0.dat").write_bytes(b"old")
        packages[name] = out / f"quorvel-{version}-standin.msi"
        subprocess.run(["bash", args.build_msi, "--version", version, "--exe", args.player,
                        "--icon", args.icon, "--runtime-folder", str(runtime),
                        "--out", str(packages[name])], check=True)
    return packages


def expected_scheme(machine):
    """The scheme as app/url_scheme.cpp writes it for the installed program."""
    exe = "C:\\" + str(machine.install_dir.relative_to(machine.prefix / "drive_c")).replace(
        "/", "\\") + "\\quorvel.exe"
    key = SCHEME_KEY.replace("HKCU", "HKEY_CURRENT_USER")
    return {
        key: {"(Default)": ("REG_SZ", "Lumora Desktop Player"), "URL Protocol": ("REG_SZ", "")},
        key + "\\DefaultIcon": {"(Default)": ("REG_SZ", exe + ",1")},
        key + "\\shell": {},
        key + "\\shell\\open": {},
        key + "\\shell\\open\\command": {"(Default)": ("REG_SZ", f'"{exe}" "%1"')},
    }, exe


def installed(machine, args, version, packages_seen):
    """Files, shortcut, scheme and one "Apps & features" entry of `version`."""
    exe = machine.install_dir / "quorvel.exe"
    check(exe.is_file() and exe.read_bytes() == Path(args.player).read_bytes(),
          f"{exe} missing or not the packaged player")
    runtime = machine.install_dir / "WebView2Runtime"
    check((runtime / "msedgewebview2.exe").is_file() and
          (runtime / "EBWebView" / "x64" / "EmbeddedBrowserWebView.dll").is_file(),
          f"the runtime folder is incomplete: {sorted(p.name for p in runtime.rglob('*'))}")
    check(machine.shortcut.is_file(), f"no Start-menu shortcut {machine.shortcut}")
    scheme, _ = expected_scheme(machine)
    check(machine.values(SCHEME_KEY) == scheme,
          f"scheme registration:\n{machine.values(SCHEME_KEY)}\nexpected:\n{scheme}")
    entries = machine.entries_named("Quorvel")
    check(len(entries) == 1, f"expected one Apps & features entry, found {list(entries)}")
    (key, entry), = entries.items()
    product = key.rsplit("\\", 1)[1]
    check(entry.get("DisplayVersion") == version and entry.get("Publisher") == "Lumora",
          f"entry {entry}")
    check(entry.get("UninstallString", "").lower() == f"msiexec.exe /x{product}".lower(),
          f"uninstall command {entry.get('UninstallString')}")
    check(product not in packages_seen, "a new package kept the old product code")
    packages_seen.add(product)
    # The icon Apps & features shows, kept by Windows Installer with the user's product.
    products = machine.values(r"HKCU\Software\Microsoft\Installer\Products")
    icons = [v["ProductIcon"][1] for v in products.values()
             if v.get("ProductName", ("", ""))[1] == "Quorvel" and "ProductIcon" in v]
    check(len(icons) == 1, f"product icons registered: {icons}")
    icon = machine.prefix / "drive_c" / icons[0][3:].replace("\\", "/")
    check(icon.read_bytes() == Path(args.icon).read_bytes(), f"icon {icon} is not the product's")


def nothing_left(machine, what):
    check(not machine.install_dir.exists(),
          f"{what}: files left: {[str(p) for p in machine.install_dir.rglob('*')]}")
    check(not (machine.local / "Programs").exists(), f"{what}: empty Programs folder left")
    check(not machine.shortcut.exists(), f"{what}: the shortcut is left")
    for key in (SCHEME_KEY, INSTALL_KEY):
        check(machine.values(key) == {}, f"{what}: {key} is left: {machine.values(key)}")
    check(machine.entries_named("Quorvel") == {}, f"{what}: an Apps & features entry is left")


def open_link_from_scheme(machine, args, out):
    """What a learner's first click does: the command registered for the scheme, with
    the link for %1. The player must then ask the simulator and show the content."""
    _, exe = expected_scheme(machine)
    command = machine.values(SCHEME_KEY + r"\shell\open\command")
    registered = next(iter(command.values()))["(Default)"][1]
    check(registered == f'"{exe}" "%1"', f"registered command {registered}")
    link = subprocess.run(["wine", args.tool, "link", "make", "--p1", "course-42",
                           "--id", "lesson-7", "--domain", DOMAIN], capture_output=True,
                          check=True, text=True, env=machine.env).stdout.strip()
    check(link.startswith("quorvel:"), f"link {link!r}")
    log = out / "browser.log"
    log.unlink(missing_ok=True)
    content = f"https://{DOMAIN}/lessons/7.pdf"
    shutil.rmtree(out / "sim", ignore_errors=True)  # no requests of an earlier run
    with Simulator(str(out / "sim"), port=8443) as sim:
        sim.set_answers({"PUT /api/player/content": {"json": {
            "data": {"type": "pdf", "url": content}, "watermark": "Learner 12"}}})
        env = dict(machine.env, QUORVEL_RUNTIME_LOG=windows_path(log))
        # Windows puts the link in place of %1 and starts the command line as it stands.
        player = subprocess.Popen(["wine", exe, link], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        try:
            deadline = time.monotonic() + 90
            while time.monotonic() < deadline and content not in read(log):
                check(player.poll() is None, f"the player ended with {player.returncode}")
                time.sleep(0.3)
            check(content in read(log), f"no navigation to the content; browser log:\n{read(log)}")
            puts = [r for r in sim.requests() if r["method"] == "PUT"]
            check(len(puts) == 1 and puts[0]["body"] == "token=course-42&link_id=lesson-7",
                  f"content requests {puts}")
            subprocess.run(["import", "-window", "root", str(out / "installed-player.png")],
                           stderr=subprocess.DEVNULL, timeout=30)
            rc, _ = machine.run(args.probe, "close", TITLE, "20000")
            check(rc == 0, "the installed player's window was not found")
            check(player.wait(60) == 0, f"the player ended with {player.returncode}")
        finally:
            if player.poll() is None:
                player.kill()


def read(path):
    try:
        return Path(path).read_text(encoding="utf-8", errors="replace")
    except FileNotFoundError:
        return ""


def main():
    parser = argparse.ArgumentParser()
    for name in ("build-msi", "player", "standin", "probe", "tool", "icon", "version",
                 "release-msi", "release-player", "out"):
        parser.add_argument(f"--{name}", required=True)
    args = parser.parse_args()
    out = Path(args.out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    machine = Machine(out)
    steps = []

    def step(name, action):
        started = time.monotonic()
        action()
        steps.append(name)
        print(f"ok   {name} ({time.monotonic() - started:.1f} s)", flush=True)

    try:
        step("fresh prefix", machine.prepare)
        release = Path(args.release_msi)
        check(word_count(release) & 8, f"{release.name} asks for administrator rights")
        packages = build_packages(args, out)
        seen = set()
        step("install 4.10.0", lambda: (machine.msiexec("/i", packages["old"]),
                                        installed(machine, args, "4.10.0", seen)))
        old_only = machine.install_dir / "WebView2Runtime" / "EBWebView" / "only-in-4.10.0.dat"
        check(old_only.is_file(), "the older package's own file was not installed")
        step(f"upgrade to {args.version}", lambda: (
            machine.msiexec("/i", packages["new"]), installed(machine, args, args.version, seen),
            check(not old_only.exists(), "the upgrade left the older version's file")))
        before = machine.values(SCHEME_KEY)
        step("first link through the scheme", lambda: open_link_from_scheme(machine, args, out))
        check(machine.values(SCHEME_KEY) == before,
              f"the player registered the scheme differently from the package:\n"
              f"{before}\n{machine.values(SCHEME_KEY)}")
        # The learner's browser data (logins) stays: an upgrade uninstalls the older
        # version first, and must not sign the learner out.
        user_data = machine.local / "Quorvel"
        check(user_data.is_dir(), "the player kept no browser data")
        step("uninstall", lambda: (machine.msiexec("/x", packages["new"]),
                                   nothing_left(machine, "uninstall")))
        check(user_data.is_dir(), "uninstalling removed the learner's browser data")

        def release_cycle():
            machine.msiexec("/i", release)
            exe = machine.install_dir / "quorvel.exe"
            check(exe.read_bytes() == Path(args.release_player).read_bytes(),
                  "the release package does not carry the signed player")
            check(not (machine.install_dir / "WebView2Runtime").exists(),
                  "the release package carries a runtime it was not given")
            machine.msiexec("/x", release)
            nothing_left(machine, "release package")

        step(f"release package {release.name}", release_cycle)
    except (Failure, subprocess.SubprocessError, OSError) as error:
        print(f"FAIL after {steps}: {error}", flush=True)
        machine.wineserver("-k")
        sys.exit(1)
    machine.wineserver("-k")
    print("installer: every step passed")


if __name__ == "__main__":
    main()
