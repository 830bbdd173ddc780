"""A page of the program's as a person sees it: headless Chromium (Debian's package) renders
it to a PNG and dumps the document it built; the checks read the pixels and the text.

    python3 tests/e2e/page_check.py PAGE.html OUT.png    render a page, as for docs/
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

import harness

BAR = (0x2B, 0x6C, 0xB0)  # the bars' colour on the fleet page
WINDOW = (1100, 500)


def chromium():
    for name in ("chromium", "chromium-browser"):
        path = shutil.which(name)
        if path:
            return path
    raise harness.HarnessError("headless Chromium is missing (apt-get install chromium)")


def _run(*args):
    profile = tempfile.mkdtemp(prefix="olvex-chromium-")
    try:
        return subprocess.run([chromium(), "--headless", "--no-sandbox", "--disable-gpu",
                               "--hide-scrollbars", "--user-data-dir=" + profile] + list(args),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60,
                              check=True).stdout
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def render(page, png):
    """Renders page (a Linux path) into png."""
    _run("--screenshot=" + png, "--window-size=%d,%d" % WINDOW, "file://" + page)


def text_of(page):
    """The document Chromium built from page, serialized again."""
    return _run("--dump-dom", "file://" + page).decode("utf-8")


def pixels(png):
    """(width, height, rows of (r, g, b)) of an 8-bit RGB or RGBA PNG, not interlaced."""
    with open(png, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError("%s is no PNG" % png)
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise AssertionError("unexpected PNG form %r" % (header,))
    step = 3 if colour == 2 else 4
    raw, rows, prior = zlib.decompress(idat), [], bytearray(width * step)
    stride = width * step
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b = prior[i]
            c = prior[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([tuple(line[x * step:x * step + 3]) for x in range(width)])
        prior = line
    return width, height, rows


def bars(png, colour=BAR):
    """The bars drawn in colour, top to bottom: their widths in pixels."""
    _, _, rows = pixels(png)
    found, inside = [], False
    for row in rows:
        xs = [x for x, p in enumerate(row) if p == colour]
        if xs and not inside:
            found.append(0)
        if xs:
            found[-1] = max(found[-1], max(xs) - min(xs) + 1)
        inside = bool(xs)
    return found


def check_fleet_page(checks, page, computers):
    """The fleet page as a browser shows it: a row with each computer's name as text (escaped
    names stay text), no script, and one bar per computer whose run deleted anything."""
    dom = text_of(page)
    cells = [re.sub(r"<[^>]+>", "", c) for c in re.findall(r"<td>(.*?)</td>", dom)]
    for computer in computers:
        escaped = computer.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
        checks.equal(escaped in cells, True, "the page shows %r as a row's text" % computer)
    checks.equal("<script" in dom or "<b>" in dom, False, "the page holds no element of a name")
    png = page[:-len(".html")] + ".png"
    render(page, png)
    widths = bars(png)
    checks.equal(len(widths), len(computers), "the page shows a bar per computer (%r)" % widths)
    checks.equal(max(widths or [0]) >= 200, True, "the largest bar is drawn full (%r)" % widths)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    render(os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]))
