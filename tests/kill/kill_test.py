#!/usr/bin/env python3
"""Kills the program's writers at random moments and checks that nothing is
lost: a database, a sorted list and a drive file list are always either
the previous one byte for byte or the new one whole.

    python3 tests/kill/kill_test.py --bin build/release/bin [--rounds 60]
        [--documents 3000] [--seed N] [--only index|list|filelist]

Each round starts the writer, kills it (SIGKILL, as a crash or a power cut
would end it) after a random time between nothing and a little more than a
whole run takes, and checks what is on disk:

- trovex index: the database (document list, text, log, text cache) is the
  one before the run, byte for byte, or the new one: its document list and
  text are those a whole run writes, and never one of each. The rounds
  alternate between two drive file lists and touch every document first, so
  each run writes a different database and reads every document again. A
  later `trovex databases` (which completes an interrupted switch) changes
  nothing further, and `trovex search` finds a known word.
- trovex list: the sorted list is the previous one, byte for byte (its text
  does not change, so a finished build writes the same bytes).
- ErstelleDateiliste: the drive file list is the previous one or the new one
  whole; the rounds alternate between two folders.

The corpus comes from bench/indexing/make_corpus.py (needs pandoc and
manpages-de). CTest runs a few rounds over a small corpus; by hand, use at
least 50 rounds over a corpus that takes several seconds to index.
"""

import argparse
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
MAKE_CORPUS = os.path.join(HERE, "..", "..", "bench", "indexing", "make_corpus.py")
NAME = "Kill"
KNOWN_TEXT = "Dokument 1"


class Failure(Exception):
    pass


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def digest(data):
    return None if data is None else hashlib.sha256(data).hexdigest()[:16]


class Programs:
    def __init__(self, bin_dir, program_dir, corpus):
        self.trovex = os.path.join(bin_dir, "trovex")
        self.tool = os.path.join(bin_dir, "ErstelleDateiliste")
        self.program_dir = program_dir
        self.corpus = corpus
        self.env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(program_dir, "config"))

    def trovex_args(self, *args):
        return [self.trovex, "--program-dir", self.program_dir, "--drive", "B=" + self.corpus,
                *args]

    def run(self, args, check=True):
        done = subprocess.run(args, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if check and done.returncode != 0:
            raise Failure("%s: Status %d\n%s" % (" ".join(args), done.returncode,
                                                 done.stderr.decode("utf-8", "replace")))
        return done

    def start(self, args):
        return subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def data(self, name):
        return os.path.join(self.program_dir, "Datenbank", name)


def kill_after(process, seconds):
    """Kills the process after the given time unless it ended before; True
    when it was killed."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            return False
        time.sleep(min(0.005, max(0.0, deadline - time.monotonic())))
    if process.poll() is not None:
        return False
    process.send_signal(signal.SIGKILL)
    process.wait()
    return True


def drive_list(corpus, skip_every=0):
    """The drive file list of drive B: (the corpus), one full line per
    document; skip_every leaves out every n-th document."""
    lines = []
    number = 0
    for root, dirs, files in sorted(os.walk(corpus)):
        dirs.sort()
        for name in sorted(files):
            number += 1
            if skip_every and number % skip_every == 0:
                continue
            relative = os.path.relpath(os.path.join(root, name), corpus)
            lines.append("B:\\" + relative.replace("/", "\\") + "\r\n")
    return "".join(lines).encode("utf-8")


def database_files(programs):
    return {suffix: read(programs.data(NAME + suffix))
            for suffix in (".dat", "_UTF8Dokument.txt", ".log", "_Textcache.bin")}


def touch_all(corpus, stamp):
    for root, _, files in os.walk(corpus):
        for name in files:
            os.utime(os.path.join(root, name), ns=(stamp, stamp))


def index_rounds(options, rng, bin_dir, corpus, scratch):
    lists = [drive_list(corpus), drive_list(corpus, skip_every=5)]

    # What a whole run writes for each drive list: its document list and text.
    expected = []
    for variant, listing in enumerate(lists):
        programs = Programs(bin_dir, os.path.join(scratch, "ref%d" % variant), corpus)
        os.makedirs(programs.data(""))
        with open(programs.data("Haupt_Dateinamen_Liste_Laufwerk_B.txt"), "wb") as f:
            f.write(listing)
        started = time.monotonic()
        programs.run(programs.trovex_args("index", NAME, "B:\\", "*.odt *.docx *.epub"))
        duration = time.monotonic() - started
        files = database_files(programs)
        expected.append((files[".dat"], files["_UTF8Dokument.txt"]))
    print("Ein ganzer Lauf dauert %.2f s; %d Runden" % (duration, options.rounds))

    programs = Programs(bin_dir, os.path.join(scratch, "kill"), corpus)
    os.makedirs(programs.data(""))
    drive_list_path = programs.data("Haupt_Dateinamen_Liste_Laufwerk_B.txt")
    with open(drive_list_path, "wb") as f:
        f.write(lists[0])
    programs.run(programs.trovex_args("index", NAME, "B:\\", "*.odt *.docx *.epub"))
    previous = database_files(programs)
    variant = 0
    stamp = 1_700_000_000 * 10**9
    killed = finished = new_after_kill = 0
    for round_number in range(options.rounds):
        variant = 1 - variant
        stamp += 10**9
        touch_all(corpus, stamp)
        with open(drive_list_path, "wb") as f:
            f.write(lists[variant])
        delay = rng.uniform(0, duration * 1.2)
        process = programs.start(programs.trovex_args("index", NAME, "--update"))
        was_killed = kill_after(process, delay)
        if not was_killed and process.returncode != 0:
            raise Failure("Runde %d: trovex index endete mit Status %d" %
                          (round_number, process.returncode))
        # A reader completes a switch the kill interrupted.
        programs.run(programs.trovex_args("databases"))
        now = database_files(programs)
        pair = (now[".dat"], now["_UTF8Dokument.txt"])
        if now == previous:
            outcome = "vorherige"
            variant = 1 - variant  # the database is still the one before
        elif pair == expected[variant] and now[".log"] and now["_Textcache.bin"]:
            outcome = "neue"
        else:
            raise Failure(
                "Runde %d (nach %.3f s %s): weder die vorherige noch die neue Datenbank: %s" %
                (round_number, delay, "getötet" if was_killed else "fertig",
                 {k: digest(v) for k, v in now.items()}))
        if was_killed:
            killed += 1
            new_after_kill += outcome == "neue"
        else:
            finished += 1
        if os.path.exists(programs.data(NAME + ".journal")):
            raise Failure("Runde %d: die Umstellung wurde nicht abgeschlossen" % round_number)
        if database_files(programs) != now:
            raise Failure("Runde %d: ein zweiter Leser hat die Datenbank verändert" % round_number)
        found = programs.run(programs.trovex_args("search", NAME, KNOWN_TEXT), check=False)
        if found.returncode != 0 or b" mal in: " not in found.stdout:
            raise Failure("Runde %d: \"%s\" wurde nicht gefunden (Status %d)" %
                          (round_number, KNOWN_TEXT, found.returncode))
        previous = now
        print("Runde %2d: nach %.3f s %s, Datenbank: %s" %
              (round_number, delay, "getötet" if was_killed else "fertig", outcome))
    print("trovex index: %d getötet (%d davon schon umgestellt), %d fertig, nichts verloren" %
          (killed, new_after_kill, finished))


def list_rounds(options, rng, bin_dir, corpus, scratch):
    programs = Programs(bin_dir, os.path.join(scratch, "list"), corpus)
    os.makedirs(programs.data(""))
    with open(programs.data("Haupt_Dateinamen_Liste_Laufwerk_B.txt"), "wb") as f:
        f.write(drive_list(corpus))
    programs.run(programs.trovex_args("index", NAME, "B:\\", "*.odt *.docx *.epub"))
    list_path = programs.data(NAME + "_Phrasen_Woerter_Utf8Liste.txt")
    started = time.monotonic()
    programs.run(programs.trovex_args("list", NAME, "--both"))
    duration = time.monotonic() - started
    reference = read(list_path)
    print("Eine ganze Liste dauert %.2f s" % duration)
    killed = 0
    for round_number in range(options.rounds):
        delay = rng.uniform(0, duration * 1.2)
        process = programs.start(programs.trovex_args("list", NAME, "--both"))
        was_killed = kill_after(process, delay)
        killed += was_killed
        if not was_killed and process.returncode != 0:
            raise Failure("Runde %d: trovex list endete mit Status %d" %
                          (round_number, process.returncode))
        if read(list_path) != reference:
            raise Failure("Runde %d (nach %.3f s): die sortierte Liste ist nicht mehr die vorherige"
                          % (round_number, delay))
    print("trovex list: %d von %d Läufen getötet, die Liste blieb jedes Mal gleich" %
          (killed, options.rounds))


def filelist_rounds(options, rng, bin_dir, corpus, scratch):
    folders = [options.tree_a, options.tree_b]
    program_dir = os.path.join(scratch, "filelist")
    list_path = os.path.join(program_dir, "Datenbank", "Haupt_Dateinamen_Liste_Laufwerk_X.txt")
    os.makedirs(os.path.dirname(list_path))
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(program_dir, "config"))
    tool = os.path.join(bin_dir, "ErstelleDateiliste")

    def args(folder):
        return [tool, "open", "X", "--program-dir", program_dir, "--drive", "X=" + folder,
                "--no-window"]

    complete = []
    duration = 0.0
    for folder in folders:
        started = time.monotonic()
        subprocess.run(args(folder), env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        duration = max(duration, time.monotonic() - started)
        complete.append(read(list_path))
    print("Eine ganze Dateiliste dauert bis %.2f s" % duration)
    previous = complete[1]
    killed = 0
    for round_number in range(options.rounds):
        variant = round_number % 2
        delay = rng.uniform(0, duration * 1.2)
        process = subprocess.Popen(args(folders[variant]), env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        was_killed = kill_after(process, delay)
        killed += was_killed
        now = read(list_path)
        if now not in (previous, complete[variant]):
            raise Failure("Runde %d (nach %.3f s): die Dateiliste ist weder die vorherige noch "
                          "die neue ganze" % (round_number, delay))
        previous = now
    print("ErstelleDateiliste: %d von %d Läufen getötet, die Liste war jedes Mal ganz" %
          (killed, options.rounds))


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True, help="the folder of trovex and ErstelleDateiliste")
    parser.add_argument("--rounds", type=int, default=60)
    parser.add_argument("--documents", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--only", choices=("index", "list", "filelist"))
    parser.add_argument("--corpus", help="an existing corpus (else one is made)")
    parser.add_argument("--tree-a", default="/usr/share/doc")
    parser.add_argument("--tree-b", default="/usr/include")
    options = parser.parse_args()
    seed = options.seed if options.seed is not None else random.randrange(1 << 30)
    print("Zufallsstartwert: %d" % seed)
    rng = random.Random(seed)
    bin_dir = os.path.abspath(options.bin)

    scratch = tempfile.mkdtemp(prefix="trovex-kill-")
    try:
        corpus = options.corpus
        if not corpus and options.only != "filelist":
            corpus = os.path.join(scratch, "korpus")
            subprocess.run([sys.executable, MAKE_CORPUS, "--out", corpus, "--count",
                            str(options.documents), "--jobs", "2"], check=True,
                           stderr=subprocess.DEVNULL)
        if options.only in (None, "index"):
            index_rounds(options, rng, bin_dir, corpus, scratch)
        if options.only in (None, "list"):
            list_rounds(options, rng, bin_dir, corpus, scratch)
        if options.only in (None, "filelist"):
            filelist_rounds(options, rng, bin_dir, corpus, scratch)
    except Failure as failure:
        print("FEHLER: %s (Zufallsstartwert %d, Dateien in %s)" % (failure, seed, scratch),
              file=sys.stderr)
        return 1
    shutil.rmtree(scratch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
