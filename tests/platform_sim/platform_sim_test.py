"""The platform simulator, driven through Python's own HTTP client over verified TLS."""
import base64
import http.client
import json
import os
import socket
import ssl
import sys
import tempfile
import threading
import time
import unittest
import urllib.error
import urllib.request

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tools", "platform-sim"))
from simulator import Simulator, make_chain  # noqa: E402


class TlsSimulatorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.chain = make_chain(os.path.join(cls.tmp.name, "chain"))
        cls.sim = Simulator(os.path.join(cls.tmp.name, "state"), cert=cls.chain["chain"],
                            key=cls.chain["key"]).__enter__()
        cls.tls = ssl.create_default_context(cafile=cls.chain["root"])

    @classmethod
    def tearDownClass(cls):
        cls.sim.__exit__()
        cls.tmp.cleanup()

    def setUp(self):
        self.sim.set_answers({})
        self.sim.clear_log()

    def connect(self, timeout=5):
        return http.client.HTTPSConnection("127.0.0.1", self.sim.port, context=self.tls,
                                           timeout=timeout)

    def exchange(self, conn, method, path, body=None, headers=None):
        conn.request(method, path, body=body, headers=headers or {})
        response = conn.getresponse()
        return response, response.read()

    def test_built_in_answers_over_one_kept_alive_connection(self):
        conn = self.connect()
        response, body = self.exchange(conn, "GET", "/api/player/pins")
        first_socket = conn.sock
        self.assertIsNotNone(first_socket, "the server closed the connection")
        self.assertEqual(response.status, 200)
        self.assertEqual(response.getheader("Content-Type"), "application/json")
        pins = self.chain["pins"]
        self.assertEqual(json.loads(body), [{"scope": "127.0.0.1", "pins": [
            "sha256/" + pins[name] for name in ("leaf", "intermediate", "root", "backup")]}])

        response, body = self.exchange(conn, "GET", "/api/player/version?x=1")
        self.assertEqual(json.loads(body), {"version": "4.11.0", "is_required": 0, "link": ""})

        response, body = self.exchange(conn, "PUT", "/api/player/content", body=b"token=a")
        self.assertEqual(json.loads(body), {
            "data": {"type": "pdf", "url": f"https://127.0.0.1:{self.sim.port}/lesson.pdf",
                     "videoAddress": None, "scriptNumber": 1},
            "watermark": "demo learner"})

        response, body = self.exchange(conn, "GET", "/api/player/page-script/12")
        self.assertEqual((response.status, body), (200, b"/* page script 12 */"))
        self.assertEqual(response.getheader("Content-Type"), "text/javascript")

        for method, path in (("GET", "/nothing"), ("GET", "/api/player/page-script/x"),
                             ("POST", "/api/player/content")):
            response, body = self.exchange(conn, method, path)
            self.assertEqual((response.status, json.loads(body)), (404, {"message": "not found"}))

        for path in ("/", "/nothing"):
            response, body = self.exchange(conn, "HEAD", path)
            self.assertEqual((response.status, body), (200, b""))
            self.assertEqual(response.getheader("Content-Length"), "0")
        self.assertIs(conn.sock, first_socket, "the connection was not kept alive")
        conn.close()

    def test_answers_file_matching(self):
        self.sim.set_answers({
            "GET /exact": {"status": 201, "headers": {"X-One": "1", "X-Two": ["a", "b"]},
                           "json": {"ok": True}},
            "GET /exact/longer*": {"body": "longer prefix"},
            "GET /exact*": {"body": "short prefix"},
            "* /exact/longer/x*": {"body": "any-method prefix, longest"},
            "* /any": {"status": 500, "headers": {"Content-Type": "text/html"},
                       "body": "<p>\u0645\u0631\u062d\u0628\u0627</p>"},
            "GET /bytes": {"body_base64": base64.b64encode(b"\x00\xff").decode()},
            "GET /api/player/version": {"status": 503, "json": None},
            "GET /not-an-object": 5,
        })
        conn = self.connect()
        response, body = self.exchange(conn, "GET", "/exact?q=1")
        self.assertEqual((response.status, json.loads(body)), (201, {"ok": True}))
        self.assertEqual(response.getheader("Content-Type"), "application/json")
        self.assertEqual(response.getheader("X-One"), "1")
        self.assertEqual(response.headers.get_all("X-Two"), ["a", "b"])

        expected = {("GET", "/exact/"): "short prefix",
                    ("GET", "/exact/longer/"): "longer prefix",
                    ("GET", "/exact/longer/x/y"): "any-method prefix, longest",
                    ("DELETE", "/exact/longer/xz"): "any-method prefix, longest"}
        for (method, path), text in expected.items():
            response, body = self.exchange(conn, method, path)
            self.assertEqual((response.status, body.decode()), (200, text), path)
            self.assertEqual(response.getheader("Content-Type"), "text/plain; charset=utf-8")

        for method in ("GET", "PUT", "HEAD"):
            response, body = self.exchange(conn, method, "/any")
            self.assertEqual(response.status, 500)
            self.assertEqual(response.getheader("Content-Type"), "text/html")
            expected_body = "<p>\u0645\u0631\u062d\u0628\u0627</p>".encode()
            self.assertEqual(body, b"" if method == "HEAD" else expected_body)
            self.assertEqual(response.getheader("Content-Length"), str(len(expected_body)))

        response, body = self.exchange(conn, "GET", "/bytes")
        self.assertEqual(body, b"\x00\xff")
        self.assertEqual(response.getheader("Content-Type"), "application/octet-stream")
        response, body = self.exchange(conn, "GET", "/api/player/version")
        self.assertEqual((response.status, body), (503, b"null"))
        response, body = self.exchange(conn, "GET", "/not-an-object")
        self.assertEqual(response.status, 404)  # malformed entry ignored: built-in answer
        # A method-specific key does not answer another method.
        response, body = self.exchange(conn, "PUT", "/exact")
        self.assertEqual(response.status, 404)
        conn.close()

    def test_unreadable_answers_file_gives_built_in_answers(self):
        with open(os.path.join(self.sim.state_dir, "answers.json"), "w") as f:
            f.write("{not json")
        conn = self.connect()
        response, body = self.exchange(conn, "GET", "/api/player/version")
        self.assertEqual(json.loads(body)["version"], "4.11.0")
        conn.close()

    def test_redirect_reaches_the_client_unfollowed(self):
        self.sim.set_answers({"GET /moved": {"status": 302, "headers": {"Location": "/there"}}})
        conn = self.connect()
        response, body = self.exchange(conn, "GET", "/moved")
        self.assertEqual((response.status, response.getheader("Location"), body),
                         (302, "/there", b""))
        self.assertEqual([r["path"] for r in self.sim.requests()], ["/moved"])
        conn.close()

    def test_request_log(self):
        conn = self.connect()
        conn.putrequest("PUT", "/api/player/content?a=b%20c", skip_host=True,
                        skip_accept_encoding=True)
        sent = [("Host", "example.test"), ("X-Zeta", "z"), ("X-Alpha", "a"), ("X-Zeta", "again"),
                ("Content-Type", "application/x-www-form-urlencoded"), ("Content-Length", "20")]
        for name, value in sent:
            conn.putheader(name, value)
        conn.endheaders(b"token=p1&link_id=\xd9\x85\xff")
        conn.getresponse().read()
        self.exchange(conn, "HEAD", "/")
        conn.close()

        put, head = self.sim.requests()
        self.assertEqual((put["method"], put["path"]), ("PUT", "/api/player/content?a=b%20c"))
        self.assertEqual(put["headers"], [list(pair) for pair in sent])
        self.assertEqual(put["body"], "token=p1&link_id=\u0645\ufffd")
        self.assertIsInstance(put["time"], float)
        self.assertEqual((head["method"], head["path"], head["body"]), ("HEAD", "/", ""))
        self.assertLessEqual(put["time"], head["time"])

    def test_stall_times_out_the_client_while_others_are_served(self):
        self.sim.set_answers({"GET /slow": {"stall_seconds": 3, "body": "late"}})
        outcome = {}

        def slow_request():
            conn = self.connect(timeout=1)
            try:
                self.exchange(conn, "GET", "/slow")
                outcome["slow"] = "answered"
            except TimeoutError:
                outcome["slow"] = "timed out"
            finally:
                conn.close()

        slow = threading.Thread(target=slow_request)
        slow.start()
        time.sleep(0.2)
        started = time.monotonic()
        conn = self.connect()
        response, body = self.exchange(conn, "GET", "/api/player/version")
        conn.close()
        self.assertEqual(response.status, 200)
        self.assertLess(time.monotonic() - started, 0.7)
        slow.join()
        self.assertEqual(outcome["slow"], "timed out")

    def test_close_without_answer(self):
        self.sim.set_answers({"* /drop": {"close_without_answer": True}})
        conn = self.connect()
        with self.assertRaises(http.client.RemoteDisconnected):
            self.exchange(conn, "GET", "/drop")
        conn.close()
        self.assertEqual([r["path"] for r in self.sim.requests()], ["/drop"])

    def test_chain_is_checked_against_its_root(self):
        other = ssl.create_default_context()  # the system roots do not know the test root
        with self.assertRaises(urllib.error.URLError) as failure:
            urllib.request.urlopen(self.sim.url("/"), context=other, timeout=5)
        self.assertIsInstance(failure.exception.reason, ssl.SSLCertVerificationError)
        by_name = f"https://localhost:{self.sim.port}/api/player/version"
        with urllib.request.urlopen(by_name, context=self.tls, timeout=5) as response:
            self.assertEqual(response.status, 200)


class SwitchingSimulatorTest(unittest.TestCase):
    """A server whose key changes after some connections, as an attacker's would."""

    def test_switch_after_n_connections_and_the_connection_log(self):
        with tempfile.TemporaryDirectory() as tmp:
            first = make_chain(os.path.join(tmp, "first"))
            other = make_chain(os.path.join(tmp, "other"))
            with Simulator(os.path.join(tmp, "state"), cert=first["chain"], key=first["key"],
                           switch_cert=other["chain"], switch_key=other["key"]) as sim:
                tls = ssl.create_default_context()
                tls.check_hostname, tls.verify_mode = False, ssl.CERT_NONE

                def leaf_pin():
                    with socket.create_connection(("127.0.0.1", sim.port), timeout=5) as raw:
                        with tls.wrap_socket(raw) as conn:
                            der = conn.getpeercert(binary_form=True)
                    return der

                def ended_connections(count):  # each is logged when it ends
                    deadline = time.monotonic() + 5
                    while len(sim.connections()) < count and time.monotonic() < deadline:
                        time.sleep(0.05)
                    return sim.connections()

                unswitched = leaf_pin()
                ended_connections(1)
                for after in (1, 2):
                    sim.set_connections({"switch_after": after})
                    sim.clear_log()
                    leaves = [leaf_pin() for _ in range(after + 2)]
                    self.assertEqual(leaves[:after], [unswitched] * after)
                    self.assertNotIn(unswitched, leaves[after:])
                    records = ended_connections(after + 2)
                    self.assertEqual([r["switched"] for r in records],
                                     [False] * after + [True] * 2)
                    self.assertEqual({r["bytes"] for r in records}, {0})

                # Bytes after the handshake are counted; keep_alive false closes after one
                # answer; a form body is logged decoded; a null header is left out.
                sim.set_connections({"keep_alive": False})
                sim.set_answers({"PUT /f": {"body": "x", "headers": {"Content-Length": None}}})
                sim.clear_log()
                conn = http.client.HTTPSConnection("127.0.0.1", sim.port, context=tls, timeout=5)
                body = "token=a%2Bb+c%26&link_id=%D9%85%3D"
                conn.request("PUT", "/f", body=body,
                             headers={"Content-Type": "application/x-www-form-urlencoded"})
                response = conn.getresponse()
                self.assertEqual((response.getheader("Content-Length"), response.read()),
                                 (None, b"x"))
                conn.close()
                (record,) = ended_connections(1)
                (put,) = sim.requests()
                self.assertEqual(put["form"], {"token": ["a+b c&"], "link_id": ["\u0645="]})
                self.assertEqual((put["connection"], put["switched"]), (record["connection"], False))
                self.assertGreater(record["bytes"], len(body))


class PlainSimulatorTest(unittest.TestCase):
    def test_plain_http_and_stop(self):
        with tempfile.TemporaryDirectory() as tmp:
            state = os.path.join(tmp, "state")
            with Simulator(state, plain=True) as sim:
                self.assertTrue(sim.url("/x").startswith("http://127.0.0.1:"))
                with urllib.request.urlopen(sim.url("/api/player/version"), timeout=5) as r:
                    self.assertEqual(json.loads(r.read())["version"], "4.11.0")
                with urllib.request.urlopen(sim.url("/api/player/pins"), timeout=5) as r:
                    self.assertEqual(json.loads(r.read()), [])  # no chain, nothing to pin
                with self.assertRaises(urllib.error.HTTPError) as failure:
                    urllib.request.urlopen(sim.url("/nothing"), timeout=5)
                self.assertEqual(failure.exception.code, 404)
                port = sim.port
            self.assertEqual(sim.process.returncode, 0)
            self.assertFalse(os.path.exists(os.path.join(state, "port")))
            with self.assertRaises(OSError):
                socket.create_connection(("127.0.0.1", port), timeout=1).close()


if __name__ == "__main__":
    unittest.main()
