#!/usr/bin/env python3
"""Renders the pages of luvir.chm with the HTML engine of the CHM viewer the
package depends on (wxWidgets' wxHtml, which xchm draws with), and checks what a reader
sees: the first page the viewer opens, every page of the contents and the index, and every
page a link leads to, shown as a page (never its HTML source), in Russian, with its heading;
every link and picture pointing at something the help file holds.

The viewer takes a page for HTML only when its file name's extension maps to text/html in
wxWidgets' table of types; a page it does not take for HTML is shown as plain text, the
source with its UTF-8 bytes read one by one. The pages are loaded here by name, as the viewer
loads them, so the same lookup decides.

    render_help_pages.py HELP_FILE SCRATCH_DIR

The help file is unpacked into SCRATCH_DIR with extract_chmLib (libchm-bin); the pages are
drawn on a virtual display of their own (Xvfb picks a free one, so tests running at the
same time never share one).
"""
import html.parser
import os
import shutil
import struct
import subprocess
import sys
import urllib.parse


def start_display():
    """Starts Xvfb on a display it chooses itself and points DISPLAY at it."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                               "-nolisten", "tcp"], pass_fds=(write_end,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number:
        server.kill()
        sys.exit("FAIL: Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number
    return server


class PageParts(html.parser.HTMLParser):
    """The heading, the link targets, the picture sources and the anchors of a page."""

    def __init__(self):
        super().__init__()
        self.heading, self.links, self.pictures, self.anchors = "", [], [], set()
        self._in_heading = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "h1" and not self.heading:
            self._in_heading = True
        if tag == "a" and attrs.get("href"):
            self.links.append(attrs["href"])
        if tag == "img":
            self.pictures.append(attrs.get("src", ""))
        for key in ("name", "id"):
            if attrs.get(key):
                self.anchors.add(attrs[key])

    def handle_endtag(self, tag):
        if tag == "h1":
            self._in_heading = False

    def handle_data(self, data):
        if self._in_heading:
            self.heading += data


class SitemapTopics(html.parser.HTMLParser):
    """The "Local" targets of a contents (.hhc) or index (.hhk) file."""

    def __init__(self):
        super().__init__()
        self.targets = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "param" and (attrs.get("name") or "").lower() == "local":
            self.targets.append(attrs.get("value", ""))


def system_records(path):
    """The #SYSTEM file's records: code -> bytes (code 2 is the default topic, 0 the contents
    file, 1 the index file)."""
    data = open(path, "rb").read()
    records, offset = {}, 4
    while offset + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, offset)
        offset += 4
        records[code] = data[offset:offset + length].rstrip(b"\0")
        offset += length
    return records


def render(root):
    """Draws the pages of the unpacked help file in ROOT on the display in DISPLAY."""
    import wx  # after DISPLAY is set: wxGTK opens the display when it starts
    import wx.html

    failures = []
    fail = failures.append

    records = system_records(os.path.join(root, "#SYSTEM"))
    default_topic = records.get(2, b"").decode("ascii", "replace")
    if not default_topic:
        fail("the help file names no default topic")
    topics = [default_topic] if default_topic else []
    for code in (0, 1):  # contents and index, in the help file's code page (windows-1251)
        name = records.get(code, b"").decode("ascii", "replace")
        if not name or not os.path.isfile(os.path.join(root, name)):
            fail(f"the help file's #SYSTEM names no readable file for record {code}: '{name}'")
            continue
        sitemap = SitemapTopics()
        sitemap.feed(open(os.path.join(root, name), encoding="cp1251").read())
        if not sitemap.targets:
            fail(f"{name} lists no topics")
        topics += sitemap.targets

    app = wx.App(False)
    frame = wx.Frame(None, size=(800, 600))
    view = wx.html.HtmlWindow(frame)

    seen, parts_of = set(), {}
    queue = list(topics)
    while queue:
        target = queue.pop(0)
        page, _, anchor = urllib.parse.unquote(target).partition("#")
        path = os.path.join(root, page)
        if not os.path.isfile(path):
            fail(f"'{target}' leads to no page of the help file")
            continue
        if page not in parts_of:
            parts = PageParts()
            parts.feed(open(path, encoding="utf-8").read())
            parts_of[page] = parts
        parts = parts_of[page]
        if anchor and anchor not in parts.anchors:
            fail(f"'{target}': {page} has no anchor '{anchor}'")
        if page in seen:
            continue
        seen.add(page)

        if not view.LoadPage(path):
            fail(f"{page}: the viewer's HTML engine cannot load it")
            continue
        shown = view.ToText()
        if "<html" in shown.lower() or "<!doctype" in shown.lower():
            fail(f"{page} is shown as its HTML source: {shown[:80]!r}")
        if "\u00d0" in shown or "\u00d1" in shown:  # UTF-8 Cyrillic read byte by byte
            fail(f"{page} is shown with garbled Cyrillic: {shown[:80]!r}")
        heading = " ".join(parts.heading.split())
        if not heading or heading not in " ".join(shown.split()):
            fail(f"{page}: its heading '{heading}' is not in what the viewer shows")
        if not any("\u0400" <= c <= "\u04ff" for c in shown):
            fail(f"{page} shows no Russian text")
        for link in parts.links:
            if urllib.parse.urlparse(link).scheme:
                continue  # another document on the system (mailto:, http:): not ours
            queue.append(page + link if link.startswith("#") else link)
        for picture in parts.pictures:
            if not os.path.isfile(os.path.join(root, urllib.parse.unquote(picture))):
                fail(f"{page}: the picture '{picture}' is not in the help file")

    frame.Destroy()
    del app
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(seen)} pages rendered, {len(failures)} faults")
    return 1 if failures else 0


def main():
    if sys.argv[1] == "--render":
        return render(sys.argv[2])
    help_file, root = sys.argv[1], sys.argv[2]
    shutil.rmtree(root, ignore_errors=True)
    subprocess.run(["extract_chmLib", help_file, root], check=True, stdout=subprocess.DEVNULL)
    # On a loaded machine wxGTK now and then fails to open a display that is up: that is no
    # fault of the help file, so the drawing is tried on a fresh display up to three times.
    # A run that got as far as drawing says so in its last line, and its verdict stands.
    for _ in range(3):
        server = start_display()
        try:
            run = subprocess.run([sys.executable, __file__, "--render", root], capture_output=True, text=True)
        finally:
            server.terminate()
            server.wait()
        if "pages rendered" in run.stdout:
            print(run.stdout, end="")
            return run.returncode
        print("the viewer's HTML engine could not open the display; trying again:", run.stderr[-300:])
    print("FAIL: no display could be opened for the viewer's HTML engine")
    return 1


if __name__ == "__main__":
    sys.exit(main())
