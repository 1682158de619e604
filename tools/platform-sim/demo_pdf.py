"""The demo platform's lesson handout: a small two-page PDF written by hand.

Only the standard Helvetica fonts are used, so nothing is embedded and any viewer can
show it; the cross-reference table is computed from the bytes actually written, so the
file opens without the viewer's repair path.
"""

PAGE_WIDTH, PAGE_HEIGHT = 595, 842  # A4 in points

PAGES = [
    ("Handout 1: Reading a lesson link", [
        "A lesson link starts with quorvel: and carries three sealed parts:",
        "the course token, the lesson's id and the platform's address.",
        "",
        "1. The platform's page shows one link per lesson.",
        "2. Clicking it starts the desktop player with the link.",
        "3. The player opens the link with its own key and asks the",
        "   platform, over a pinned HTTPS connection, what the lesson is.",
        "4. It then shows the lesson: a page, a handout like this one,",
        "   a video or a meeting.",
    ]),
    ("Handout 2: What the player refuses", [
        "The lesson window stays on the lesson. It does not follow",
        "a page that navigates to another site, and it opens no",
        "second window: a pop-up's address meets the same check.",
        "",
        "Try it with the demo's 'away' lesson: the page reports",
        "each attempt, and stays where it is.",
        "",
        "This handout was made for the demo platform; print it with",
        "the player's print button.",
    ]),
]


def _escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def _page_stream(title, lines, number, count):
    ops = [
        "0.16 0.38 0.65 rg 0 770 595 72 re f",  # the header band
        f"BT /F2 20 Tf 1 1 1 rg 50 797 Td ({_escape(title)}) Tj ET",
        "0.2 0.2 0.2 rg",
    ]
    y = 720
    for line in lines:
        if line:
            ops.append(f"BT /F1 13 Tf 50 {y} Td ({_escape(line)}) Tj ET")
        y -= 22
    ops.append(f"BT /F1 10 Tf 0.5 0.5 0.5 rg 50 40 Td (Quorvel demo platform - page {number} "
               f"of {count}) Tj ET")
    return "\n".join(ops).encode("latin-1")


def build_handout_pdf():
    """The handout's bytes."""
    count = len(PAGES)
    # Objects 1 catalog, 2 page tree, 3 and 4 fonts, then a page and its stream per page.
    page_ids = [5 + 2 * i for i in range(count)]
    objects = {
        1: b"<< /Type /Catalog /Pages 2 0 R >>",
        2: ("<< /Type /Pages /Kids [" + " ".join(f"{n} 0 R" for n in page_ids)
            + f"] /Count {count} >>").encode(),
        3: b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        4: b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold "
           b"/Encoding /WinAnsiEncoding >>",
    }
    for index, (title, lines) in enumerate(PAGES):
        page_id = page_ids[index]
        stream = _page_stream(title, lines, index + 1, count)
        objects[page_id] = (f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 {PAGE_WIDTH} "
                            f"{PAGE_HEIGHT}] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> "
                            f"/Contents {page_id + 1} 0 R >>").encode()
        objects[page_id + 1] = (f"<< /Length {len(stream)} >>\nstream\n".encode() + stream
                                + b"\nendstream")

    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")  # binary marker line
    offsets = {}
    for number in sorted(objects):
        offsets[number] = len(out)
        out += f"{number} 0 obj\n".encode() + objects[number] + b"\nendobj\n"
    xref_offset = len(out)
    size = max(objects) + 1
    out += f"xref\n0 {size}\n".encode()
    out += b"0000000000 65535 f \n"  # each entry is exactly 20 bytes, as readers expect
    for number in range(1, size):
        out += f"{offsets[number]:010d} 00000 n \n".encode()
    out += f"trailer\n<< /Size {size} /Root 1 0 R >>\nstartxref\n{xref_offset}\n%%EOF\n".encode()
    return bytes(out)
