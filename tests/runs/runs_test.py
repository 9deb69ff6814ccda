#!/usr/bin/env python3
"""Runs of the program at the same time: index runs, list builds and searches
of two databases started together, in rounds, and checks that every database
is whole, every list right, and every refused run reported.

    python3 tests/runs/runs_test.py --bin build/release/bin [--rounds 4]
        [--documents 150] [--seed N]

Each round, with the drive file list of database X switched between two
generations (the first documents only, or all of them) beforehand:

- two `trovex index X --update` at once: each ends with 0, or with 1 and the
  German message that the database is held; afterwards X is, byte for byte,
  the database a run alone writes for this generation;
- `trovex index X --update` and `trovex list Y` at once, then `trovex index
  Y --update` and `trovex list X` at once: both succeed, and the list is the
  one a build alone writes;
- two `trovex list` of Y and X, and two of X, at once: each succeeds or
  (two of one database) is refused with the message; the lists are right;
- `trovex search X` again and again while X is re-indexed: each search ends
  with 0, finds the one document that holds its word, and says nothing on
  stderr.

At the end no run's scratch folder, staging folder or lock file is left.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile

BUSY = ("wird gerade von einem anderen Vorgang bearbeitet (Indizierung, Sortierung, "
        "Positionsliste oder Löschen). Es wurde nichts geändert. Bitte versuchen Sie es "
        "später noch einmal.")
WORDS = ("Haus Baum Garten Fenster Schrank Wolke Regen Sonne Strasse Bahnhof Zimmer Tisch "
         "Lampe Buch Brief Feder Papier Sommer Winter Herbst Blume Wiese Wald Berg").split()


class Failure(Exception):
    pass


def write_odt(path, paragraphs):
    body = "".join("<text:p>%s</text:p>" % p for p in paragraphs)
    content = ('<?xml version="1.0" encoding="UTF-8"?>'
               '<office:document-content><office:body><office:text>%s</office:text>'
               '</office:body></office:document-content>' % body)
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr("mimetype", "application/vnd.oasis.opendocument.text",
                         compress_type=zipfile.ZIP_STORED)
        archive.writestr("content.xml", content, compress_type=zipfile.ZIP_DEFLATED)


def make_corpus(drive, folder, count, rng, unique):
    os.makedirs(os.path.join(drive, folder))
    for n in range(count):
        paragraphs = []
        for _ in range(40):
            paragraphs.append(" ".join(rng.choice(WORDS) + str(rng.randrange(5000))
                                       for _ in range(12)))
        paragraphs.append("%s%dQ" % (unique, n))
        write_odt(os.path.join(drive, folder, "Dok%03d.odt" % n), paragraphs)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


class Program:
    def __init__(self, bin_dir, root):
        self.trovex = os.path.join(bin_dir, "trovex")
        self.directory = os.path.join(root, "Programm")
        self.data = os.path.join(self.directory, "Datenbank")
        self.drives = {"D": os.path.join(root, "D"), "E": os.path.join(root, "E")}
        self.env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(root, "config"), LC_ALL="C.UTF-8")
        os.makedirs(os.path.join(self.data, "Temp"))

    def command(self, *arguments):
        call = [self.trovex, "--program-dir", self.directory]
        for letter, folder in self.drives.items():
            call += ["--drive", "%s=%s" % (letter, folder)]
        return call + list(arguments)

    def start(self, *arguments):
        return subprocess.Popen(self.command(*arguments), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=self.env)

    def run(self, *arguments):
        process = self.start(*arguments)
        out, err = process.communicate(timeout=300)
        return process.returncode, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")

    def set_drive_list(self, letter, folder, count):
        lines = ["%s:\\%s\\Dok%03d.odt" % (letter, folder, n) for n in range(count)]
        with open(os.path.join(self.data, "Haupt_Dateinamen_Liste_Laufwerk_%s.txt" % letter),
                  "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode())

    def database(self, name):
        return (read(os.path.join(self.data, name + ".dat")),
                read(os.path.join(self.data, name + "_UTF8Dokument.txt")))

    def sorted_list(self, name):
        return read(os.path.join(self.data, name + "_Phrasen_Woerter_Utf8Liste.txt"))


def finish(process):
    out, err = process.communicate(timeout=300)
    return process.returncode, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")


def expect_done_or_refused(what, result, name):
    status, _, err = result
    if status == 0:
        return False
    if status == 1 and err.rstrip("\n").endswith('Die Datenbank "%s" %s' % (name, BUSY)):
        return True
    raise Failure("%s: status %d, stderr %r" % (what, status, err))


def expect_done(what, result):
    status, _, err = result
    if status != 0:
        raise Failure("%s: status %d, stderr %r" % (what, status, err))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--rounds", type=int, default=4)
    parser.add_argument("--documents", type=int, default=150)
    parser.add_argument("--seed", type=int, default=None)
    options = parser.parse_args()
    seed = options.seed if options.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)
    print("seed", seed)

    root = tempfile.mkdtemp(prefix="trovex-runs-")
    try:
        program = Program(options.bin, root)
        full = options.documents
        half = full // 2
        make_corpus(program.drives["D"], "X", full, rng, "EinzigX")
        make_corpus(program.drives["E"], "Y", full, rng, "EinzigY")
        program.set_drive_list("E", "Y", full)

        # What a run alone writes: X for both generations, Y, and their lists.
        expected = {}
        for generation, count in (("half", half), ("full", full)):
            program.set_drive_list("D", "X", count)
            expect_done("index X " + generation,
                        program.run("index", "X", "D:\\X", "*.odt", "--jobs", "2")
                        if generation == "half" else program.run("index", "X", "--update"))
            expect_done("list X " + generation, program.run("list", "X", "--both"))
            expected[generation] = (program.database("X"), program.sorted_list("X"))
        expect_done("index Y", program.run("index", "Y", "E:\\Y", "*.odt"))
        expect_done("list Y", program.run("list", "Y", "--both"))
        expected_y = (program.database("Y"), program.sorted_list("Y"))
        if expected["half"][0] == expected["full"][0]:
            raise Failure("the two generations of X are the same")

        def check_x(generation, what):
            if program.database("X") != expected[generation][0]:
                raise Failure("%s: database X is not the %s generation" % (what, generation))

        def check_list(name, wanted, what):
            if program.sorted_list(name) != wanted:
                raise Failure("%s: the list of %s is not right" % (what, name))

        refused = 0
        for round_number in range(options.rounds):
            generation = ("half", "full")[round_number % 2]
            program.set_drive_list("D", "X", half if generation == "half" else full)
            label = "round %d (%s)" % (round_number, generation)

            # Two index runs of one database.
            first = program.start("index", "X", "--update")
            second = program.start("index", "X", "--update")
            outcomes = [finish(first), finish(second)]
            refusals = [expect_done_or_refused(label + ": index X", o, "X") for o in outcomes]
            if all(refusals):
                raise Failure(label + ": both index runs of X were refused")
            refused += sum(refusals)
            check_x(generation, label + ": two index runs")

            # An index run and a list build of two databases, both ways.
            index = program.start("index", "X", "--update")
            listing = program.start("list", "Y", "--both")
            expect_done(label + ": index X beside list Y", finish(index))
            expect_done(label + ": list Y beside index X", finish(listing))
            check_x(generation, label + ": index X beside list Y")
            check_list("Y", expected_y[1], label + ": list Y beside index X")
            index = program.start("index", "Y", "--update")
            listing = program.start("list", "X", "--both")
            expect_done(label + ": index Y beside list X", finish(index))
            expect_done(label + ": list X beside index Y", finish(listing))
            if program.database("Y") != expected_y[0]:
                raise Failure(label + ": database Y is not whole")
            check_list("X", expected[generation][1], label + ": list X beside index Y")

            # Two list builds of two databases, then two of one.
            builds = [program.start("list", "Y", "--both"), program.start("list", "X", "--both")]
            for build in builds:
                expect_done(label + ": two lists", finish(build))
            check_list("X", expected[generation][1], label + ": two lists")
            check_list("Y", expected_y[1], label + ": two lists")
            builds = [program.start("list", "X", "--both"), program.start("list", "X", "--both")]
            refusals = [expect_done_or_refused(label + ": list X twice", finish(b), "X")
                        for b in builds]
            refused += sum(refusals)
            check_list("X", expected[generation][1], label + ": list X twice")

            # Searches while the database is re-indexed.
            index = program.start("index", "X", "--update")
            searches = 0
            while index.poll() is None or searches < 3:
                number = rng.randrange(half)
                word = "EinzigX%dQ" % number
                status, out, err = program.run("search", "X", word)
                searches += 1
                wanted = "Dok%03d.odt" % number
                if status != 0 or err or wanted not in out or len(out.splitlines()) != 1:
                    raise Failure("%s: search %s during a re-index: status %d, out %r, err %r"
                                  % (label, word, status, out, err))
            expect_done(label + ": index X beside searches", finish(index))
            check_x(generation, label + ": index X beside searches")
            print("%s: %d searches, %d refused so far" % (label, searches, refused))

        temp = os.path.join(program.data, "Temp")
        left = [name for name in os.listdir(temp) if name != "ZipTemp"]
        locks = [name for name in os.listdir(program.data) if name.endswith(".lock")]
        if left or locks:
            raise Failure("left behind: %r %r" % (left, locks))
        print("ok: %d rounds, %d runs refused with the message" % (options.rounds, refused))
        return 0
    except Failure as failure:
        print("FAIL (seed %d): %s" % (seed, failure))
        return 1
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
