#!/usr/bin/env python3
"""installer/sign.sh with a time-stamp server, as a deployment signs: the signature then
carries a verifiable RFC 3161 time stamp, and a server that cannot be reached fails the
signing instead of leaving a file without one. The server is a loopback stand-in that
answers with `openssl ts -reply` under a throw-away time-stamping certificate.

usage: timestamp_test.py --sign SIGN_SH --make-certificate SCRIPT --file EXE
"""
import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path

TSA_CONFIG = """\
[ tsa ]
default_tsa = stand_in
[ stand_in ]
serial = {dir}/serial
signer_cert = {dir}/tsa.pem
signer_key = {dir}/tsa.key
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
"""


def make_authority(work):
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=Quorvel test time stamps", "-keyout", str(work / "tsa.key"),
                    "-out", str(work / "tsa.pem"),
                    "-addext", "extendedKeyUsage=critical,timeStamping",
                    "-addext", "keyUsage=critical,digitalSignature"],
                   check=True, capture_output=True)
    (work / "serial").write_text("01\n")
    (work / "tsa.cnf").write_text(TSA_CONFIG.format(dir=work))


class TimeStamps(BaseHTTPRequestHandler):
    def do_POST(self):  # noqa: N802 - the handler's name
        length = int(self.headers.get("Content-Length") or 0)
        if length > 64 * 1024:
            self.send_error(413)
            return
        query = self.server.work / f"query-{threading.get_ident()}"
        query.write_bytes(self.rfile.read(length))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", str(self.server.work /
                                                                          "tsa.cnf"),
                                "-queryfile", str(query), "-out", "-"], capture_output=True,
                               timeout=30)
        self.server.answered += 1
        self.send_response(200 if reply.returncode == 0 else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, *args):
        pass


def sign(args, file, url):
    env = dict(os.environ, QUORVEL_SIGN_CERT=args.cert, QUORVEL_SIGN_KEY=args.key,
               QUORVEL_SIGN_TIMESTAMP_URL=url)
    return subprocess.run(["bash", args.sign, str(file)], env=env, capture_output=True,
                          text=True, timeout=120)


def main():
    parser = argparse.ArgumentParser()
    for name in ("sign", "make-certificate", "file"):
        parser.add_argument(f"--{name}", required=True)
    args = parser.parse_args()
    failures = []
    with tempfile.TemporaryDirectory() as directory:
        work = Path(directory)
        # A signing certificate of the test's own: a deployment's is not at hand here.
        subprocess.run(["bash", args.make_certificate, str(work / "signing")], check=True)
        args.cert, args.key = str(work / "signing" / "cert.pem"), str(work / "signing" / "key.pem")
        make_authority(work)
        server = ThreadingHTTPServer(("127.0.0.1", 0), TimeStamps)
        server.work, server.answered = work, 0
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            stamped = work / "stamped.exe"
            shutil.copy(args.file, stamped)
            signed = sign(args, stamped, f"http://127.0.0.1:{server.server_port}/")
            if signed.returncode != 0 or server.answered != 1:
                failures.append(f"signing with the time-stamp server failed "
                                f"({server.answered} requests): {signed.stderr.strip()}")
            report = subprocess.run(["osslsigncode", "verify", "-in", str(stamped), "-CAfile",
                                     args.cert, "-TSA-CAfile", str(work / "tsa.pem")],
                                    capture_output=True, text=True, timeout=60)
            text = report.stdout + report.stderr
            if report.returncode != 0 or "Timestamp Server Signature verification: ok" not in text:
                failures.append(f"the time stamp does not verify:\n{text}")
        finally:
            server.shutdown()
        # A port nobody listens on: the signing must fail and leave the file as it was.
        with socket.socket() as closed:
            closed.bind(("127.0.0.1", 0))
            port = closed.getsockname()[1]
        unstamped = work / "unstamped.exe"
        shutil.copy(args.file, unstamped)
        before = unstamped.read_bytes()
        signed = sign(args, unstamped, f"http://127.0.0.1:{port}/")
        if signed.returncode == 0:
            failures.append("signing went on without the time-stamp server it was given")
        if unstamped.read_bytes() != before:
            failures.append("a failed signing changed the file")
    for failure in failures:
        print("FAIL", failure)
    if failures:
        sys.exit(1)
    print("time stamps: a signature stamped by the server verifies; without the server "
          "signing fails")


if __name__ == "__main__":
    main()
