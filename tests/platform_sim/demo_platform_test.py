"""The demo platform, driven over verified TLS: its start page's links, its content
answers, its handout PDF and what it does not serve.

usage: demo_platform_test.py QUORVEL_TOOL [unittest options]
"""
import http.client
import json
import os
import re
import ssl
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
SIM_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools",
                       "platform-sim")
sys.path.insert(0, SIM_DIR)
from demo_site import LESSONS  # noqa: E402
from simulator import Simulator  # noqa: E402

TOOL = None  # set from the command line
ROOT_CERT = os.path.join(SIM_DIR, "test-fixture-demo-certs", "root.pem")


def start_demo_platform(state_dir, tool):
    return Simulator(state_dir, program="demo_platform.py", extra_args=["--tool", tool],
                     start_timeout=60).__enter__()


class DemoPlatformTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.platform = start_demo_platform(os.path.join(cls.tmp.name, "state"), TOOL)
        cls.origin = f"https://127.0.0.1:{cls.platform.port}"
        cls.tls = ssl.create_default_context(cafile=ROOT_CERT)

    @classmethod
    def tearDownClass(cls):
        cls.platform.__exit__()
        cls.tmp.cleanup()

    def setUp(self):
        self.platform.set_answers({})

    def fetch(self, method, path, body=None, headers=None):
        conn = http.client.HTTPSConnection("127.0.0.1", self.platform.port, context=self.tls,
                                           timeout=10)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            response = conn.getresponse()
            return response.status, response.getheader("Content-Type") or "", response.read()
        finally:
            conn.close()

    def content(self, token, link_id, headers=None):
        status, content_type, body = self.fetch(
            "PUT", "/api/player/content", body=f"token={token}&link_id={link_id}",
            headers={"Content-Type": "application/x-www-form-urlencoded", **(headers or {})})
        self.assertEqual(content_type, "application/json")
        return status, json.loads(body)

    def test_start_pages_list_one_player_link_per_lesson(self):
        with open(os.path.join(self.platform.state_dir, "links.json"), encoding="utf-8") as f:
            links_by_choice = json.load(f)
        for path in ("/", "/app/", "/app/home"):
            status, content_type, body = self.fetch("GET", path)
            self.assertEqual((status, content_type), (200, "text/html; charset=utf-8"), path)
            page = body.decode("utf-8")
            hrefs = re.findall(r"href='(quorvel:[^']*)'", page)
            shown = re.findall(r"class='link-text' readonly value='(quorvel:[^']*)'", page)
            self.assertEqual(hrefs, shown, f"{path}: the link text differs from the link")
            self.assertEqual(hrefs, [links_by_choice[l.choice] for l in LESSONS], path)

        for lesson in LESSONS:
            opened = subprocess.run([TOOL, "link", "open", links_by_choice[lesson.choice]],
                                    capture_output=True, text=True, timeout=60)
            self.assertEqual(opened.returncode, 0, opened.stderr)
            self.assertEqual(json.loads(opened.stdout), {
                "ok": True, "p1": lesson.course, "contentLinkId": lesson.link_id,
                "domain": f"127.0.0.1:{self.platform.port}", "directUrl": False})

    def test_content_answer_per_link_id_and_what_it_points_at(self):
        expected = {"lesson": ("lesson", "text/html"), "pdf": ("pdf", "application/pdf"),
                    "video": ("video", "text/html"), "away": ("video", "text/html")}
        for lesson in LESSONS:
            status, answer = self.content(lesson.course, lesson.link_id)
            self.assertEqual(status, 200, lesson)
            data = answer["data"]
            kind, content_type = expected[lesson.choice]
            self.assertEqual(data["type"], kind, lesson)
            self.assertEqual(data["url"], self.origin + lesson.path)
            self.assertIsNone(data["videoAddress"])
            self.assertIn("Demo learner", answer["watermark"])
            status, served_type, body = self.fetch("GET", lesson.path)
            self.assertEqual(status, 200, lesson.path)
            self.assertTrue(served_type.startswith(content_type), served_type)
            self.assertTrue(body)

        # The player shows a refusal's "message" to the learner: each needs one.
        status, answer = self.content("course-web-basics", "no-such-lesson")
        self.assertEqual(status, 404)
        self.assertIn("no such lesson", answer["message"])
        status, answer = self.content("course-motion", "lesson-page")
        self.assertEqual(status, 403)
        self.assertIn("not for this course", answer["message"])

        # answers.json still wins over the built-in answers, as in the simulator.
        self.platform.set_answers({"PUT /api/player/content": {"status": 410, "json": {
            "message": "expired"}}})
        self.assertEqual(self.content("course-web-basics", "lesson-page"),
                         (410, {"message": "expired"}))

    def test_request_log_shows_identifier_headers(self):
        self.platform.clear_log()
        self.content("course-web-basics", "lesson-page", headers={"X-Device-Id": "d" * 64})
        logged = self.platform.requests()
        self.assertEqual([(r["method"], r["path"], r["body"]) for r in logged],
                         [("PUT", "/api/player/content",
                           "token=course-web-basics&link_id=lesson-page")])
        self.assertIn(["X-Device-Id", "d" * 64], logged[0]["headers"])
        status, _, body = self.fetch("GET", "/app/requests")
        self.assertEqual(status, 200)
        self.assertIn("X-Device-Id: " + "d" * 64, body.decode("utf-8"))

    def test_handout_is_a_well_formed_pdf(self):
        status, content_type, pdf = self.fetch("GET", "/files/handout.pdf")
        self.assertEqual((status, content_type), (200, "application/pdf"))
        self.assertTrue(pdf.startswith(b"%PDF-1."))
        self.assertTrue(pdf.endswith(b"%%EOF\n"))
        xref_offset = int(re.search(rb"startxref\n(\d+)\n%%EOF\n$", pdf)[1])
        self.assertEqual(pdf[xref_offset:xref_offset + 5], b"xref\n")
        first, size = map(int, re.match(rb"xref\n(\d+) (\d+)\n", pdf[xref_offset:]).groups())
        self.assertEqual(first, 0)
        table = pdf[xref_offset:].split(b"\n", 2)[2]
        entries = [table[i * 20:(i + 1) * 20] for i in range(size)]
        self.assertEqual(entries[0], b"0000000000 65535 f \n")
        for number, entry in enumerate(entries[1:], start=1):
            self.assertRegex(entry, rb"^\d{10} 00000 n \n$")
            offset = int(entry[:10])
            self.assertTrue(pdf.startswith(f"{number} 0 obj\n".encode(), offset), number)
        self.assertIn(f"/Size {size} /Root 1 0 R".encode(), pdf)
        for length, data in re.findall(rb"/Length (\d+) >>\nstream\n(.*?)\nendstream", pdf,
                                       re.S):
            self.assertEqual(int(length), len(data))
        pages = re.findall(rb"/Type /Page /Parent", pdf)
        self.assertEqual(len(pages), int(re.search(rb"/Count (\d+)", pdf)[1]))
        self.assertGreater(len(pages), 1)
        self.assertGreater(pdf.count(b") Tj"), 10)  # real lines of text

    def test_pages_load_nothing_from_outside(self):
        for path in ("/app/", "/app/requests", *(l.path for l in LESSONS if
                                                 l.path.endswith(".html"))):
            _, _, body = self.fetch("GET", path)
            for address in re.findall(r"""(?:src|href)=["']([^"']*)["']""", body.decode()):
                self.assertTrue(address.startswith(("/", "quorvel:", "#", self.origin)),
                                f"{path} refers to {address}")
        status, content_type, _ = self.fetch("GET", "/static/demo.css")
        self.assertEqual((status, content_type), (200, "text/css; charset=utf-8"))

    def test_unknown_paths_are_404_and_the_api_stays_the_simulators(self):
        for method, path in [("GET", "/nope"), ("GET", "/lessons/missing.html"),
                             ("GET", "/static/../demo_site.py"), ("GET", "/static/"),
                             ("POST", "/app/"), ("GET", "/app/home/x")]:
            status, _, body = self.fetch(method, path)
            self.assertEqual(status, 404, path)
            self.assertEqual(json.loads(body), {"message": "not found"})
        self.assertEqual(self.fetch("GET", "/app")[0], 301)
        status, _, body = self.fetch("GET", "/api/player/pins")
        self.assertEqual((status, json.loads(body)[0]["scope"]), (200, "127.0.0.1"))
        status, _, body = self.fetch("GET", "/api/player/version")
        self.assertEqual(json.loads(body)["version"], "4.11.0")
        self.assertEqual(self.fetch("HEAD", "/")[:1], (200,))  # the player's pre-flight


class BrokenToolTest(unittest.TestCase):
    def test_a_tool_that_makes_no_link_stops_the_start(self):
        with tempfile.TemporaryDirectory() as tmp:
            with self.assertRaisesRegex(RuntimeError, "exited with 1"):
                start_demo_platform(tmp, "/bin/false")
            self.assertFalse(os.path.exists(os.path.join(tmp, "port")))


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main()
