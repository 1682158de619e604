"""What the demo platform serves beyond the simulator's API: its web pages, the lesson
files and the content answer for each of its lessons.

A `DemoSite` holds the catalogue with one player link per lesson (made at start-up by
demo_platform.py) and answers a request with an answer object in platform_sim's format,
or None when the path is none of its own.
"""
import html
import json
import os
import urllib.parse
from dataclasses import dataclass

from demo_pdf import build_handout_pdf

HERE = os.path.dirname(os.path.abspath(__file__))
SITE_DIR = os.path.join(HERE, "demo-site")
WATERMARK = "Demo learner · متعلم تجريبي"


@dataclass(frozen=True)
class Lesson:
    choice: str  # the run-demo word that picks it
    course: str  # the course token, the link's p1
    link_id: str
    content_type: str  # the platform's type text the player reads
    path: str  # what the answer's address points at
    title: str
    title_ar: str
    what: str


# "lesson" is framed by the player with the watermark; "pdf" is opened with watermark and
# print button; "video" is shown directly, which is also what the away page needs: only
# a page the view itself shows meets the player's navigation check.
LESSONS = [
    Lesson("lesson", "course-web-basics", "lesson-page", "lesson", "/lessons/intro.html",
           "Web basics · How a page reaches you", "أساسيات الويب: كيف تصل الصفحة إليك",
           "a lesson page, framed by the player under the learner's watermark"),
    Lesson("pdf", "course-web-basics", "handout-pdf", "pdf", "/files/handout.pdf",
           "Web basics · Handout", "أساسيات الويب: ملف الدرس",
           "a two-page PDF handout with watermark and print button"),
    Lesson("video", "course-motion", "video-direct", "video", "/lessons/video.html",
           "Motion · Orbits, in one minute", "الحركة: المدارات في دقيقة",
           "a direct video: the player opens the page itself"),
    Lesson("away", "course-safety", "away-page", "video", "/lessons/away.html",
           "Safety · A page that tries to leave", "الأمان: صفحة تحاول المغادرة",
           "tries to navigate to another host and to open pop-ups; the player refuses"),
]

STATIC_FILES = {  # path: (file in demo-site/, content type)
    "/static/demo.css": ("demo.css", "text/css; charset=utf-8"),
    "/lessons/intro.html": ("intro.html", "text/html; charset=utf-8"),
    "/lessons/video.html": ("video.html", "text/html; charset=utf-8"),
    "/lessons/away.html": ("away.html", "text/html; charset=utf-8"),
}
START_PAGES = ("/", "/app/", "/app/home")


def _page(title, body):
    return {"headers": {"Content-Type": "text/html; charset=utf-8",
                        "Cache-Control": "no-store"},
            "body": ("<!DOCTYPE html><html lang='en'><head><meta charset='utf-8'>"
                     f"<title>{html.escape(title)}</title>"
                     "<link rel='stylesheet' href='/static/demo.css'></head><body>"
                     "<header class='bar'><span class='brand'>Quorvel</span>"
                     "<span class='tag'>Demo platform · <span lang='ar'>المنصة التجريبية</span>"
                     f"</span></header><main>{body}</main></body></html>")}


class DemoSite:
    def __init__(self, origin, links, state_dir):
        """`origin` is "https://host:port"; `links` maps each lesson's link_id to its link."""
        self.origin = origin
        self.links = links
        self.state_dir = state_dir
        self.pdf = build_handout_pdf()

    def answer(self, method, path, body):
        if method == "PUT" and path == "/api/player/content":
            return self.content_answer(body)
        if method != "GET":
            return None
        if path in START_PAGES:
            return self.start_page()
        if path == "/app":
            return {"status": 301, "headers": {"Location": "/app/"}}
        if path == "/app/requests":
            return self.requests_page()
        if path == "/files/handout.pdf":
            return {"headers": {"Content-Type": "application/pdf"}, "body": self.pdf}
        if path in STATIC_FILES:
            name, content_type = STATIC_FILES[path]
            with open(os.path.join(SITE_DIR, name), "rb") as f:
                return {"headers": {"Content-Type": content_type}, "body": f.read()}
        return None

    def content_answer(self, body):
        """What a lesson is, as the player asks for it: token=<course>&link_id=<id>."""
        form = urllib.parse.parse_qs(body.decode("utf-8", "replace"), keep_blank_values=True)
        token = form.get("token", [""])[0]
        link_id = form.get("link_id", [""])[0]
        lesson = next((l for l in LESSONS if l.link_id == link_id), None)
        if lesson is None:
            return {"status": 404, "json": {"message": "هذا الدرس غير موجود — no such lesson"}}
        if lesson.course != token:
            return {"status": 403,
                    "json": {"message": "الرابط لا يخص هذه الدورة — this link is not for this course"}}
        return {"json": {"data": {"type": lesson.content_type, "url": self.origin + lesson.path,
                                  "videoAddress": None, "scriptNumber": 1},
                         "watermark": WATERMARK}}

    def start_page(self):
        rows = []
        for lesson in LESSONS:
            link = html.escape(self.links[lesson.link_id], quote=True)
            rows.append(
                "<div class='card'><div class='head'>"
                f"<h3>{html.escape(lesson.title)}</h3>"
                f"<span class='badge'>{html.escape(lesson.content_type)}</span></div>"
                f"<div lang='ar'>{html.escape(lesson.title_ar)}</div>"
                f"<div class='muted'>{html.escape(lesson.what)} · <code>./run-demo "
                f"{lesson.choice}</code></div>"
                f"<div class='row'><a class='button' href='{link}'>Open in the player</a>"
                f"<input class='link-text' readonly value='{link}' "
                "onfocus='this.select()' aria-label='player link'>"
                "<button class='quiet' onclick='copyLink(this)'>Copy</button></div></div>")
        body = (
            "<h1>Your courses</h1><p lang='ar'>دوراتك</p>"
            "<p class='lead'>Each lesson opens in the desktop player. Click <b>Open in the "
            "player</b>, or copy the link and give it to <code>quorvel.exe</code>.</p>"
            + "".join(rows)
            + f"<footer>Served from {html.escape(self.origin)} on this machine. Every request "
            f"is logged to <code>{html.escape(os.path.join(self.state_dir, 'requests.log'))}"
            "</code>; <a href='/app/requests'>the latest requests</a> show the headers the "
            "player sends.</footer>"
            "<script>function copyLink(button){var input=button.previousElementSibling;"
            "input.select();if(navigator.clipboard){navigator.clipboard.writeText(input.value)}"
            "else{document.execCommand('copy')}button.textContent='Copied'}</script>")
        return _page("Quorvel demo platform", body)

    def requests_page(self, count=30):
        """The latest requests with their identifier headers, newest first."""
        try:
            with open(os.path.join(self.state_dir, "requests.log"), encoding="utf-8") as f:
                lines = f.readlines()[-count:]
        except OSError:
            lines = []
        rows = []
        for line in reversed(lines):
            try:
                entry = json.loads(line)
            except ValueError:
                continue
            ids = "<br>".join(f"{html.escape(name)}: {html.escape(value)}"
                              for name, value in entry.get("headers", [])
                              if name.lower().startswith("x-"))
            rows.append(f"<tr><td>{html.escape(entry.get('method', ''))}</td>"
                        f"<td><code>{html.escape(entry.get('path', ''))}</code></td>"
                        f"<td><code>{ids}</code></td></tr>")
        body = ("<h1>Latest requests</h1><p class='lead'>Newest first, with the identifier "
                "headers each one carried. <a href='/app/'>Back to the courses</a></p>"
                "<table><tr><th>method</th><th>path</th><th>identifier headers</th></tr>"
                + "".join(rows) + "</table>")
        return _page("Latest requests", body)
