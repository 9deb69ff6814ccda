#!/usr/bin/env python3
"""Results pages of hostile names and texts, written by the built trovex
search and read back with an HTML parser: every element and attribute of a
page is one the program writes itself, every link opens its document, and
the hit is marked in the context only.

    python3 tests/search/results_page_dom_test.py --bin build/release/bin
"""

import argparse
import html.parser
import os
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

BIN = None

# Every element the program writes, with the attributes it gives it.
ALLOWED = {
    "html": set(), "head": set(), "title": set(), "body": {"bgcolor", "text", "link", "vlink", "alink"},
    "meta": {"http-equiv", "content"}, "font": {"face", "color"}, "br": set(), "u": set(),
    "b": set(), "a": {"href", "target"},
}
COLOURS = {"#000000", "#000080", "#cc0000"}

# Document names (Windows form below D:\) and one word only each holds.
DOCUMENTS = [
    ("x#!!!#<img src=x onerror=document.title='X'>.odt", "Bildwort"),
    ("Rechnung #12.odt", "Rechnungswort"),
    ("Was ist das?.odt", "Fragewort"),
    ("50% Rabatt.odt", "Prozentwort"),
    ('Brief "zitiert" & <b>fett.odt', "Zitatwort"),
    ("G\u00e4nse f\u00fc\u00dfe.odt", "Gänsewort"),
]

# Lines every document holds around its word.
HOSTILE_LINES = [
    "<script>document.title='S'</script>",
    "<a href=javascript:alert(1)>klick</a>",
    "&lt;img src=x onerror=alert(1)&gt; &#60;b&#62;",
    '" onmouseover="alert(1)',
    "#!!!#<img src=y onerror=alert(2)>",
]

DATABASES = ["Akten", "A<b>&amp;x"]


class PageReader(html.parser.HTMLParser):
    """The elements of a page and where its <b> elements stand."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements = []   # (tag, attrs)
        self.links = []      # (href, text)
        self.marked = []     # (text of <b>, colour of the font around it)
        self.text = []
        self._colour = None
        self._in_link = None
        self._in_bold = None

    def handle_starttag(self, tag, attrs):
        self.elements.append((tag, attrs))
        attributes = dict(attrs)
        if tag == "font" and "color" in attributes:
            self._colour = attributes["color"]
        if tag == "a":
            self._in_link = [attributes.get("href"), ""]
        if tag == "b":
            self._in_bold = ""

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag == "a" and self._in_link is not None:
            self.links.append(tuple(self._in_link))
            self._in_link = None
        if tag == "b" and self._in_bold is not None:
            self.marked.append((self._in_bold, self._colour))
            self._in_bold = None

    def handle_data(self, data):
        self.text.append(data)
        if self._in_link is not None:
            self._in_link[1] += data
        if self._in_bold is not None:
            self._in_bold += data


def block(path, lines):
    underline = "=" * (len(path.encode("utf-16-le")) // 2)
    text = " \r\n \r\n \r\n#" + path + "\r\n" + underline + "\r\n"
    return text + "".join(line + "\r\n" for line in lines)


class ResultsPageDomTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory()
        cls.program = cls.temp.name
        cls.drive = os.path.join(cls.program, "D")
        os.makedirs(cls.drive)
        os.makedirs(os.path.join(cls.program, "Datenbank"))
        text = ""
        for name, word in DOCUMENTS:
            with open(os.path.join(cls.drive, name), "wb") as f:
                f.write(b"PK")
            text += block("D:\\" + name, HOSTILE_LINES[:3] + ["Hier steht " + word + "."]
                          + HOSTILE_LINES[3:])
        for database in DATABASES:
            base = os.path.join(cls.program, "Datenbank", database)
            with open(base + ".dat", "wb") as f:
                f.write(b"PFAD_UND_ENDUNGEN= D:\\ *.odt    \r\n")
            with open(base + "_UTF8Dokument.txt", "wb") as f:
                f.write(text.encode("utf-8"))

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def search(self, database, text):
        for page in ("TX_Ergebnis.htm", "TX_Ergebnis2.htm"):
            path = os.path.join(self.program, page)
            if os.path.exists(path):
                os.remove(path)
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.program, "config"))
        done = subprocess.run([os.path.join(BIN, "trovex"), "--program-dir", self.program,
                               "--drive", "D=" + self.drive, "search", database, text],
                              env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        self.assertIn(done.returncode, (0, 1), done.stderr)
        pages = []
        for page in ("TX_Ergebnis.htm", "TX_Ergebnis2.htm"):
            path = os.path.join(self.program, page)
            if os.path.exists(path):
                with open(path, "rb") as f:
                    pages.append(f.read().decode("utf-8"))
        self.assertTrue(pages)
        return pages

    def read(self, page, database, term):
        reader = PageReader()
        reader.feed(page)
        reader.close()
        for tag, attrs in reader.elements:
            self.assertIn(tag, ALLOWED, page)
            for name, value in attrs:
                self.assertIn(name, ALLOWED[tag], (tag, attrs))
                if tag == "font" and name == "color":
                    self.assertIn(value, COLOURS)
                if tag == "a" and name == "target":
                    self.assertEqual(value, "_blank")
        shown = "".join(reader.text)
        self.assertIn('Datenbankname: "' + database + '"', shown)
        self.assertIn('Suchbegriff: "' + term + '" wurde', shown)
        # The hit is marked in the context (its colour) and nowhere else.
        for bold, colour in reader.marked:
            self.assertEqual(colour, "#000080", page)
            self.assertEqual(bold.lower(), term.strip().lower())
        return reader

    def test_every_document_is_linked_to_its_file_and_no_markup_comes_from_input(self):
        for database in DATABASES:
            for name, word in DOCUMENTS:
                with self.subTest(database=database, name=name):
                    pages = self.search(database, word)
                    reader = self.read(pages[-1], database, word)
                    self.assertEqual(len(reader.links), 1)
                    href, text = reader.links[0]
                    self.assertEqual(href, text)
                    self.assertTrue(href.startswith("file://"))
                    self.assertNotRegex(href[len("file://"):], r'[#?"<>]')
                    target = urllib.parse.unquote(href[len("file://"):])
                    self.assertEqual(target, os.path.join(self.drive, name))
                    self.assertEqual(len(reader.marked), 1)

    def test_hostile_search_texts_stay_text(self):
        for term in ["<a href=", "#!!!#", "&lt;", '"', "onerror", "<script>", "title='S'"]:
            with self.subTest(term=term):
                pages = self.search("Akten", term)
                for page in pages:
                    reader = self.read(page, "Akten", term)
                    # The last page lists every document (the first may stop
                    # after ten hits).
                    if page is pages[-1]:
                        self.assertEqual(len(reader.links), len(DOCUMENTS))
                    for href, text in reader.links:
                        self.assertEqual(href, text)
                        target = urllib.parse.unquote(href[len("file://"):])
                        self.assertTrue(os.path.isfile(target), target)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    arguments, rest = parser.parse_known_args()
    BIN = arguments.bin
    unittest.main(argv=[sys.argv[0]] + rest)
