"""Runs the platform simulator (platform_sim.py) for a test driver.

    chain = make_chain(tmp + "/chain")
    with Simulator(tmp + "/sim", cert=chain["chain"], key=chain["key"]) as sim:
        sim.set_answers({"GET /api/player/version": {"json": {"version": "9"}}})
        ...  # talk to sim.url("/api/player/version")
        assert sim.requests()[0]["method"] == "GET"
"""
import json
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def make_chain(outdir, days=30):
    """Makes a fresh test chain with make-chain.sh; returns its pins by name and its paths.

    {"dir": outdir, "pins": {"leaf": ..., "intermediate": ..., "root": ..., "backup": ...},
     "chain": ..., "key": ..., "root": ..., "intermediate": ..., "leaf": ..., "pins_file": ...}
    """
    subprocess.run(["sh", os.path.join(HERE, "make-chain.sh"), outdir, str(days)], check=True)
    files = {"chain": "chain.pem", "key": "leaf.key", "root": "root.pem",
             "intermediate": "intermediate.pem", "leaf": "leaf.pem", "pins_file": "pins.txt"}
    chain = {"dir": outdir, **{name: os.path.join(outdir, file) for name, file in files.items()}}
    with open(chain["pins_file"], encoding="ascii") as f:
        chain["pins"] = dict(line.split() for line in f if line.strip())
    return chain


class Simulator:
    """platform_sim.py as a subprocess, started on entering and stopped on leaving.
    `program` and `extra_args` run another server built on it (demo_platform.py)."""

    def __init__(self, state_dir, cert=None, key=None, plain=False, port=0,
                 program="platform_sim.py", extra_args=(), start_timeout=10,
                 switch_cert=None, switch_key=None):
        self.state_dir = state_dir
        self.plain = plain
        self.port = None
        self.process = None
        self.program = program
        self.start_timeout = start_timeout
        self.command = [sys.executable, os.path.join(HERE, program), "--state-dir", state_dir,
                        "--port", str(port), *extra_args]
        if cert:
            self.command += ["--cert", cert]
        if key:
            self.command += ["--key", key]
        if plain:
            self.command.append("--plain")
        if switch_cert:
            self.command += ["--switch-cert", switch_cert, "--switch-key", switch_key]

    def __enter__(self):
        os.makedirs(self.state_dir, exist_ok=True)
        port_file = os.path.join(self.state_dir, "port")
        if os.path.exists(port_file):
            os.remove(port_file)  # left by a simulator that did not stop cleanly
        self.process = subprocess.Popen(self.command, stdout=subprocess.DEVNULL)
        deadline = time.monotonic() + self.start_timeout
        while not os.path.exists(port_file):
            if self.process.poll() is not None:
                raise RuntimeError(f"{self.program} exited with {self.process.returncode}")
            if time.monotonic() > deadline:
                self.__exit__()
                raise RuntimeError(f"{self.program} did not start listening within "
                                   f"{self.start_timeout} s")
            time.sleep(0.02)
        with open(port_file, encoding="ascii") as f:
            self.port = int(f.read())
        return self

    def __exit__(self, *exc_info):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def url(self, path):
        return f"{'http' if self.plain else 'https'}://127.0.0.1:{self.port}{path}"

    def _replace_file(self, name, value):
        """Writes `value` as JSON to the state file `name` at once: the simulator, reading
        it for every request or connection, never sees it half written."""
        path = os.path.join(self.state_dir, name)
        with open(path + ".tmp", "w", encoding="utf-8") as f:
            json.dump(value, f)
        os.replace(path + ".tmp", path)

    def set_answers(self, answers):
        """Replaces answers.json; the simulator reads it again for every request."""
        self._replace_file("answers.json", answers)

    def requests(self):
        """The logged requests, oldest first, each a dict with time, method, path (with
        the query), headers ([[name, value], ...] as received) and body (text)."""
        try:
            with open(os.path.join(self.state_dir, "requests.log"), encoding="utf-8") as f:
                return [json.loads(line) for line in f]
        except FileNotFoundError:
            return []

    def clear_log(self):
        for name in ("requests.log", "connections.log"):
            open(os.path.join(self.state_dir, name), "w", encoding="utf-8").close()

    def set_connections(self, settings):
        """Replaces connections.json: {"switch_after": N, "keep_alive": bool, "label": x}."""
        self._replace_file("connections.json", settings)

    def connections(self):
        """The ended TLS connections, in the order they began: connection (number),
        switched, bytes (received after the handshake), handshake (whether it ended) and
        label (connections.json's when it began)."""
        try:
            with open(os.path.join(self.state_dir, "connections.log"), encoding="utf-8") as f:
                return sorted((json.loads(line) for line in f), key=lambda r: r["connection"])
        except FileNotFoundError:
            return []
