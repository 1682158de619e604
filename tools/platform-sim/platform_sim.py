#!/usr/bin/env python3
"""A loopback stand-in for the platform's API, for the player's tests and the demo.

    platform_sim.py --state-dir DIR [--cert CHAIN_PEM --key KEY_PEM] [--plain]
                    [--switch-cert CHAIN_PEM --switch-key KEY_PEM]
                    [--host 127.0.0.1] [--port 0]

Every request is first logged as one JSON line in DIR/requests.log, then answered from
DIR/answers.json (re-read each time, so a test can change answers between requests) or,
when no entry matches, from the built-in answers of the demo platform. The chosen port
is written to DIR/port once the server listens. A form-encoded body is also logged
decoded by Python's standard form parser, as "form": {name: [values]}.

Every TLS connection is numbered and, when it ends, logged as one JSON line in
DIR/connections.log: {"connection": n, "switched": bool, "bytes": bytes received after
the handshake, "handshake": false when it failed, "label": the label in force when it
began}; each request names its connection. DIR/connections.json (re-read for every
new connection) sets how they go:
    {"switch_after": N, "keep_alive": true, "label": any value}
With "switch_after", connections after the first N (counted since the file last
changed) present the --switch-cert chain instead, as a server whose key was swapped
would; "keep_alive": false closes each connection after its first answer.

answers.json maps "METHOD /path" (exact), "* /path" (any method) or "METHOD /prefix*"
and "* /prefix*" (longest prefix wins) to an answer object:
    {"status": 200, "headers": {"Name": "value" or ["v1", "v2"]},
     "json": ... | "body": "text" | "body_base64": "...",
     "stall_seconds": 0, "close_without_answer": false, "close_after_answer": false}
A header given as null is not sent (so a body can go without Content-Length).
"""
import argparse
import base64
import contextlib
import json
import os
import re
import signal
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURE_DIR = os.path.join(HERE, "test-fixture-demo-certs")
PAGE_SCRIPT_PATH = re.compile(r"/api/player/page-script/(-?\d+)")


def find_answer(answers, method, path):
    """The answer configured for a request, or None when no key matches."""
    for key in (f"{method} {path}", f"* {path}"):
        if isinstance(answers.get(key), dict):
            return answers[key]
    best, best_rank = None, None
    for key, answer in answers.items():
        key_method, _, pattern = key.partition(" ")
        if (key_method in (method, "*") and pattern.endswith("*") and isinstance(answer, dict)
                and path.startswith(pattern[:-1])):
            # A longer prefix wins; at equal length the method-specific key does.
            rank = (len(pattern), key_method != "*")
            if best_rank is None or rank > best_rank:
                best, best_rank = answer, rank
    return best


def read_answers(state_dir):
    try:
        with open(os.path.join(state_dir, "answers.json"), encoding="utf-8") as f:
            answers = json.load(f)
    except (OSError, ValueError):
        return {}
    return answers if isinstance(answers, dict) else {}


def read_pin_list(cert_path):
    """The pin list naming every key of the served chain (from pins.txt beside it)."""
    try:
        with open(os.path.join(os.path.dirname(cert_path), "pins.txt"), encoding="ascii") as f:
            pins = ["sha256/" + line.split()[1] for line in f if len(line.split()) == 2]
    except OSError:
        return []
    return [{"scope": "127.0.0.1", "pins": pins}]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # keep-alive: the player's HTTP stack reuses connections
    # An answer goes out as two writes, its headers and its body. With Nagle's algorithm
    # the body would wait for the client's delayed acknowledgement of the headers, about
    # 40 ms per exchange on a kept-alive connection, which no real platform server costs.
    disable_nagle_algorithm = True

    def serve(self):
        path = self.path.split("?", 1)[0]
        body = self.read_body()
        entry = {
            "time": time.time(), "method": self.command, "path": self.path,
            "headers": [[name, value] for name, value in self.headers.items()],
            "body": body.decode("utf-8", errors="replace"),
            "connection": getattr(self.connection, "number", None),
            "switched": getattr(self.connection, "switched", False)}
        if self.headers.get_content_type() == "application/x-www-form-urlencoded":
            entry["form"] = urllib.parse.parse_qs(body.decode("utf-8", errors="replace"),
                                                  keep_blank_values=True)
        self.server.log_request_line(entry)
        answer = find_answer(read_answers(self.server.state_dir), self.command, path)
        if answer is None:
            answer = self.default_answer(path, body)
        time.sleep(float(answer.get("stall_seconds", 0)))
        if answer.get("close_without_answer"):
            self.close_connection = True
            return
        closing = answer.get("close_after_answer") or not getattr(self.connection, "keep_alive", True)
        self.send_answer(answer, closing)
        if closing:
            self.close_connection = True

    do_GET = do_HEAD = do_PUT = do_POST = do_DELETE = do_PATCH = do_OPTIONS = serve

    def read_body(self):
        if self.headers.get("Transfer-Encoding", "").lower() == "chunked":
            body = b""
            while size := int(self.rfile.readline().split(b";")[0], 16):
                body += self.rfile.read(size)
                self.rfile.readline()
            while self.rfile.readline().strip():  # trailer fields, up to the blank line
                pass
            return body
        return self.rfile.read(int(self.headers.get("Content-Length") or 0))

    def default_answer(self, path, body):
        """The built-in answer to a request no answers.json entry matched."""
        method = self.command
        if method == "HEAD":
            return {}
        if method == "GET" and path == "/api/player/pins":
            return {"json": self.server.pin_list}
        if method == "GET" and path == "/api/player/version":
            return {"json": {"version": "4.11.0", "is_required": 0, "link": ""}}
        if method == "PUT" and path == "/api/player/content":
            lesson = f"{self.server.scheme}://127.0.0.1:{self.server.server_port}/lesson.pdf"
            return {"json": {"data": {"type": "pdf", "url": lesson, "videoAddress": None,
                                      "scriptNumber": 1},
                             "watermark": "demo learner"}}
        script = PAGE_SCRIPT_PATH.fullmatch(path)
        if method == "GET" and script:
            return {"headers": {"Content-Type": "text/javascript"},
                    "body": f"/* page script {script[1]} */"}
        return {"status": 404, "json": {"message": "not found"}}

    def send_answer(self, answer, closing=False):
        headers = dict(answer.get("headers", {}))
        if closing:
            # Said, as HTTP/1.1 asks of a server that closes after its answer: a client
            # would otherwise keep the connection and may send its next request into the
            # close.
            headers.setdefault("Connection", "close")
        if "json" in answer:
            body, content_type = json.dumps(answer["json"]).encode(), "application/json"
        elif "body" in answer:
            body, content_type = answer["body"], "text/plain; charset=utf-8"
            if isinstance(body, str):  # bytes come only from a built-in answer, never JSON
                body = body.encode()
        elif "body_base64" in answer:
            body, content_type = base64.b64decode(answer["body_base64"]), "application/octet-stream"
        else:
            body, content_type = b"", None
        given = {name.lower() for name in headers}
        if content_type and "content-type" not in given:
            headers["Content-Type"] = content_type
        if "content-length" not in given:
            headers["Content-Length"] = str(len(body))
        self.send_response(int(answer.get("status", 200)))
        for name, values in headers.items():
            if values is None:
                continue
            for value in values if isinstance(values, list) else [values]:
                self.send_header(name, str(value))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def log_request(self, code="-", size="-"):
        pass  # requests.log is the access log; errors still reach stderr


def read_connection_settings(state_dir):
    """DIR/connections.json as text (to notice changes) and as a dict."""
    try:
        with open(os.path.join(state_dir, "connections.json"), encoding="utf-8") as f:
            text = f.read()
        settings = json.loads(text)
    except (OSError, ValueError):
        return "", {}
    return text, settings if isinstance(settings, dict) else {}


class SimServer(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, address, state_dir, tls_context, pin_list, handler=Handler,
                 switched_context=None):
        super().__init__(address, handler)
        self.state_dir = state_dir
        self.tls_context = tls_context
        self.switched_context = switched_context
        self.scheme = "https" if tls_context else "http"
        self.pin_list = pin_list
        self.log_lock = threading.Lock()
        self.connection_lock = threading.Lock()
        self.connections = 0  # numbers every TLS connection of this run
        self.settings_text = ""
        self.since_settings = 0  # connections since connections.json last changed

    def log_request_line(self, entry):
        self.append_line("requests.log", entry)

    def append_line(self, name, entry):
        with self.log_lock:
            with open(os.path.join(self.state_dir, name), "a", encoding="utf-8") as f:
                f.write(json.dumps(entry) + "\n")

    def next_connection(self):
        """The new connection's number, whether it presents the switched chain, and
        whether it is kept alive after its first answer."""
        text, settings = read_connection_settings(self.state_dir)
        with self.connection_lock:
            if text != self.settings_text:
                self.settings_text, self.since_settings = text, 0
            self.connections += 1
            self.since_settings += 1
            after = settings.get("switch_after")
            switched = isinstance(after, int) and self.since_settings > after
            return (self.connections, switched, settings.get("keep_alive", True) is not False,
                    settings.get("label"))

    def finish_request(self, request, client_address):
        # The TLS handshake happens here, on the connection's own thread, so a slow or
        # failing client never holds up the accepting loop.
        if not self.tls_context:
            return super().finish_request(request, client_address)
        number, switched, keep_alive, label = self.next_connection()
        switched = switched and self.switched_context is not None
        context = self.switched_context if switched else self.tls_context
        record = {"connection": number, "switched": switched, "bytes": 0, "handshake": False,
                  "label": label}
        try:
            with context.wrap_socket(request, server_side=True) as tls:
                record["handshake"] = True
                received = tls.recv_into

                def counting_recv_into(buffer, *args):
                    count = received(buffer, *args)
                    record["bytes"] += count
                    return count

                tls.recv_into = counting_recv_into  # what the handler's reader calls
                tls.number, tls.switched, tls.keep_alive = number, switched, keep_alive
                super().finish_request(tls, client_address)
        finally:
            self.append_line("connections.log", record)

    def handle_error(self, request, client_address):
        error = sys.exc_info()[1]
        print(f"platform_sim: {client_address[0]}:{client_address[1]}: {error!r}",
              file=sys.stderr, flush=True)


def add_server_arguments(parser, state_dir_default=None, port_default=0):
    """The options every server built on this one takes."""
    parser.add_argument("--state-dir", required=state_dir_default is None,
                        default=state_dir_default)
    parser.add_argument("--cert", default=os.path.join(FIXTURE_DIR, "chain.pem"))
    parser.add_argument("--key", default=os.path.join(FIXTURE_DIR, "leaf.key"))
    parser.add_argument("--plain", action="store_true", help="plain HTTP instead of HTTPS")
    parser.add_argument("--switch-cert", help="the chain connections.json may switch to")
    parser.add_argument("--switch-key")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=port_default)


def make_server(args, handler=Handler):
    """A listening server for the parsed options (its port is chosen once this returns)."""
    os.makedirs(args.state_dir, exist_ok=True)
    tls_context = switched_context = None
    if not args.plain:
        tls_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        tls_context.load_cert_chain(args.cert, args.key)
        if args.switch_cert:
            switched_context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            switched_context.load_cert_chain(args.switch_cert, args.switch_key)
    pin_list = read_pin_list(args.cert) if tls_context else []  # plain HTTP has no chain
    return SimServer((args.host, args.port), args.state_dir, tls_context, pin_list, handler,
                     switched_context)


def serve_until_stopped(server, args):
    """Announces the port (DIR/port, then stdout) and serves until SIGTERM or Ctrl-C."""
    port_file = os.path.join(args.state_dir, "port")
    with open(port_file + ".tmp", "w", encoding="ascii") as f:
        f.write(f"{server.server_port}\n")
    os.replace(port_file + ".tmp", port_file)
    print(f"listening on {server.scheme}://{args.host}:{server.server_port}", flush=True)

    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
        with contextlib.suppress(OSError):  # nobody should take a stopped simulator's port
            os.remove(port_file)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    add_server_arguments(parser)
    args = parser.parse_args()
    serve_until_stopped(make_server(args), args)


if __name__ == "__main__":
    main()
