#!/usr/bin/env python3
"""Hostile and broken input for the built programs: every run must end, in
bounded time and memory, with the documented result.

    python3 tests/hostile/hostile_test.py --bin build/release/bin

- Containers (tests/fixtures/hostile, the large ones made at test time by
  make_hostile.py): a ZIP bomb of high ratio is read up to the member cap
  and named as cut; a nested one is not opened; names that climb out are
  left out; an encrypted member gives no text; zip64 is read; a truncated
  container is an "invalid zipfile"; members of 0 bytes give an empty
  block; 100,000 tiny members are all read, one more is cut with a notice;
  billion laughs stay bounded; 100 MB without a ">" end; invalid UTF-8 and
  NUL bytes end the text where the scanner stops.
- File names with '"', '<', '>', '&', CR, LF, a backslash and bytes that are
  not UTF-8, listed by ErstelleDateiliste: indexed, found, and linked on the
  results page so that the link opens the file and breaks no markup.
- A database text of more than 4 GiB (a sparse file): the search finds the
  document beyond 4 GiB, and the position list places it there.
"""

import argparse
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "fixtures", "hostile")
MAKE_HOSTILE = os.path.join(FIXTURES, "make_hostile.py")
LARGE = ["bomb_ratio", "many_members", "tiny_members", "no_gt"]
# Peak memory of one index run over all of them; ASan multiplies it.
MEMORY_LIMIT_KB = 1024 * 1024 * (3 if os.environ.get("ASAN_OPTIONS") else 1)
TIME_LIMIT = 600

SPECIAL_NAMES = [b'Brief "zitiert".odt', b"a<b>c.odt", b"Fish & Chips.odt", b"Zeilen\rEnde.odt",
                 b"Zeile\nNeu.odt", b"ung\xfcltig\xff.odt", b"Back\\slash.odt"]

BIN = None


def run_measured(args, env, output_folder):
    """Runs a program to its end and returns (status, stdout, stderr,
    seconds, peak resident KB of that run)."""
    started = time.monotonic()
    out_path = os.path.join(output_folder, "stdout")
    err_path = os.path.join(output_folder, "stderr")
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        process = subprocess.Popen(args, env=env, stdout=out, stderr=err)
        while True:
            pid, status, usage = os.wait4(process.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() - started > TIME_LIMIT:
                process.kill()
                raise AssertionError("%s lief länger als %d s" % (" ".join(args), TIME_LIMIT))
            time.sleep(0.05)
    process.returncode = os.waitstatus_to_exitcode(status)
    with open(out_path, "rb") as out, open(err_path, "rb") as err:
        return (process.returncode, out.read(), err.read(), time.monotonic() - started,
                usage.ru_maxrss)


def blocks_of(text):
    """The document blocks of a database text: path -> text lines."""
    blocks = {}
    for part in text.split(b" \r\n \r\n \r\n#")[1:]:
        lines = part.split(b"\r\n")
        blocks[lines[0]] = lines[2:-1]
    return blocks


class HostileInput(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="trovex-hostile-")
        cls.drive = os.path.join(cls.scratch, "D")
        cls.program = os.path.join(cls.scratch, "P")
        os.makedirs(cls.drive)
        os.makedirs(os.path.join(cls.program, "Datenbank"))
        for name in os.listdir(FIXTURES):
            if name.endswith((".odt", ".docx")):
                shutil.copy(os.path.join(FIXTURES, name), cls.drive)
        subprocess.run([sys.executable, MAKE_HOSTILE, cls.drive] + LARGE, check=True)
        special = os.path.join(cls.drive, "Sonder").encode()
        os.makedirs(special)
        for number, name in enumerate(SPECIAL_NAMES):
            with open(os.path.join(special, name), "wb") as f:
                with zipfile.ZipFile(f, "w") as archive:
                    archive.writestr("content.xml", "<p>Sonderwort%d</p>" % number)
        cls.env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(cls.scratch, "config"))
        cls.trovex = [os.path.join(BIN, "trovex"), "--program-dir", cls.program,
                      "--drive", "D=" + cls.drive]
        args = cls.trovex + ["index", "H", "D:\\", "*.odt *.docx *.epub", "--new-list"]
        cls.status, cls.out, cls.err, cls.seconds, cls.peak_kb = run_measured(
            args, cls.env, cls.scratch)
        with open(os.path.join(cls.program, "Datenbank", "H_UTF8Dokument.txt"), "rb") as f:
            cls.blocks = blocks_of(f.read())
        print("\nIndexlauf: %.1f s, Spitze %d MB" % (cls.seconds, cls.peak_kb // 1024),
              file=sys.stderr)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def block(self, name):
        key = b"D:\\" + name
        self.assertIn(key, self.blocks, "kein Block für %r" % name)
        return self.blocks[key]

    def test_the_run_ends_in_bounded_memory_and_names_what_it_cut(self):
        self.assertEqual(self.status, 0, self.err.decode("utf-8", "replace"))
        self.assertLess(self.peak_kb, MEMORY_LIMIT_KB)
        notices = [line for line in self.err.decode("utf-8").splitlines()
                   if line.startswith("<")]
        self.assertEqual(sorted(notices), sorted([
            "<D:\\bomb_ratio.odt> nur zum Teil indiziert: ein Teil größer als 256 MB",
            "<D:\\many_members.odt> nur zum Teil indiziert: mehr als 100000 Teile im Container",
            "<D:\\truncated_end.odt> invalid zipfile",
            "<D:\\truncated_half.odt> invalid zipfile",
        ]))
        log = self.out.decode("utf-8")
        self.assertIn("Dateien insgesamt: 22\n", log)
        self.assertIn("Konnten nicht indiziert werden: 2\n", log)

    def test_containers_give_their_documented_text(self):
        expected = {
            b"bomb_ratio.odt": [b"Bombe"],
            b"damaged_member.odt": [],
            b"empty_member.odt": [],
            b"encrypted.docx": [b"Offen"],
            b"many_members.odt": [b"Viele"],
            b"no_gt.odt": [b"Offen"],
            b"nul_bytes.odt": [b"Vorher"],
            b"zip64.odt": [b"Zip64 Inhalt"],
            b"zip_slip.odt": [b"Innen"],
        }
        for name, lines in expected.items():
            with self.subTest(name=name):
                self.assertEqual(self.block(name), lines)
        for name in (b"truncated_end.odt", b"truncated_half.odt"):
            self.assertNotIn(b"D:\\" + name, self.blocks)
        self.assertFalse(os.path.exists("/tmp/trovex_ausbruch.xml"))

    def test_nested_containers_are_not_opened(self):
        lines = self.block(b"bomb_nested.odt")
        self.assertEqual(lines[0], b"Verschachtelt")
        # The middle container read as XML gives its bytes up to the first
        # NUL, no more.
        self.assertLess(sum(len(line) for line in lines), 1000)

    def test_many_tiny_members_and_entities_stay_bounded(self):
        # Each member its line, an empty one between them.
        tiny = [line for line in self.block(b"tiny_members.odt") if line]
        self.assertEqual(tiny, [b"w%d" % number for number in range(100000)])
        laughs = self.block(b"billion_laughs.odt")
        self.assertTrue(laughs[0].startswith(b"Lachen lollollol"))
        self.assertLess(sum(len(line) for line in laughs), 9 << 20)
        self.assertEqual(laughs[-1], b"Danach")

    def test_invalid_utf8_is_read_leniently(self):
        lines = self.block(b"invalid_utf8.odt")
        self.assertIn(b"Attribut", lines)
        self.assertIn(b"Gut \xc3\xa4", lines)
        self.assertTrue(any(b"Fortsetzung" in line for line in lines))
        self.assertTrue(any(line.startswith(b"Ende") for line in lines))

    def test_special_file_names_are_indexed_found_and_linked_safely(self):
        pages = os.path.join(self.program, "TX_Ergebnis.htm")
        for number, name in enumerate(SPECIAL_NAMES):
            with self.subTest(name=name):
                done = subprocess.run(self.trovex + ["search", "H", "Sonderwort%d" % number],
                                      env=self.env, stdout=subprocess.PIPE,
                                      stderr=subprocess.PIPE)
                self.assertEqual(done.returncode, 0, done.stderr)
                # The document is there: no message that it is missing.
                self.assertEqual(done.stderr, b"")
                with open(pages, "rb") as f:
                    page = f.read().decode("utf-8")
                links = re.findall(r'<a href="([^"]*)" target="_blank">([^<]*)</a>', page)
                self.assertEqual(len(links), 1, page)
                href, text = links[0]
                self.assertEqual(href, text)
                self.assertNotRegex(href, r"[\r\n<>]")
                self.assertNotRegex(html.unescape(href), r"[\r\n]")
                url = html.unescape(href)
                self.assertTrue(url.startswith("file://"))
                target = urllib.parse.unquote_to_bytes(url[len("file://"):])
                self.assertEqual(target, os.path.join(self.drive.encode(), b"Sonder", name))

    def test_a_database_text_beyond_4_gib(self):
        data = os.path.join(self.program, "Datenbank")
        with open(os.path.join(data, "G.dat"), "wb") as f:
            f.write(b"PFAD_UND_ENDUNGEN= D:\\ *.odt    \r\nD:\\Vorne.odt\r\nD:\\Hinten.odt\r\n")
        head = b" \r\n \r\n \r\n#D:\\Vorne.odt\r\n============\r\nAm Anfang.\r\n"
        tail = b" \r\n \r\n \r\n#D:\\Hinten.odt\r\n=============\r\nDas Seeufer dahinter.\r\n"
        tail_at = (4 << 30) + 123
        with open(os.path.join(data, "G_UTF8Dokument.txt"), "wb") as f:
            f.write(head)
            f.truncate(tail_at)
            f.seek(tail_at)
            f.write(tail)
        for name in ("Vorne.odt", "Hinten.odt"):
            open(os.path.join(self.drive, name), "wb").close()
        found = subprocess.run(self.trovex + ["search", "G", "Seeufer"], env=self.env,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=TIME_LIMIT)
        self.assertEqual(found.returncode, 0, found.stderr)
        self.assertEqual(found.stdout.decode(),
                         "1 mal in: file://%s/Hinten.odt\n" % self.drive)
        positions = subprocess.run(self.trovex + ["positions", "G"], env=self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   timeout=TIME_LIMIT)
        self.assertEqual(positions.returncode, 0, positions.stderr)
        with open(os.path.join(data, "G_TitelPositionen.txt"), "rb") as f:
            entries = f.read().split(b"\r\n")
        self.assertEqual(entries[0], b"0 #D:\\Vorne.odt")
        offset, path = entries[1].split(b" ", 1)
        self.assertEqual(path, b"#D:\\Hinten.odt")
        # The page that the path line begins.
        self.assertEqual(int(offset), tail_at + 9)


def main():
    global BIN
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True)
    options, rest = parser.parse_known_args()
    BIN = os.path.abspath(options.bin)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
