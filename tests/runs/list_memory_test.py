#!/usr/bin/env python3
"""The peak memory of a sorted-list build over a text of distinct items.

    python3 tests/runs/list_memory_test.py --bin build/release/bin
        [--megabytes 50] [--limit-mb 256] [--kind both]

Writes a database whose text is one line of MEGABYTES of distinct words
(separated by blanks, so every word is an item of its own, and every tenth
pair by a comma, so there are phrases too), runs `trovex list` on it, and
reads the peak resident memory of that process from the kernel (the
maximum resident set of the waited-for child). Fails when it is above the
limit or the list does not hold every word once. A build that kept every
item in memory took about twenty times the text.
"""

import argparse
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time


def write_text(path, megabytes):
    """One line of distinct words; returns how many words it holds."""
    target = megabytes * 1024 * 1024
    written = 0
    words = 0
    with open(path, "wb") as f:
        chunk = []
        size = 0
        while written + size < target:
            # Hexadecimal numbers between two letters: distinct, 6 to 10 bytes each.
            word = "w" + format(words * 7919 + 4096, "x") + "z"
            chunk.append(word)
            size += len(word) + 2
            words += 1
            if len(chunk) >= 10000:
                f.write((" ".join(w if i % 10 else w + "," for i, w in enumerate(chunk)) + " ")
                        .encode())
                written += size
                chunk, size = [], 0
        if chunk:
            f.write(" ".join(chunk).encode())
        f.write(b"\r\n")
    return words


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--megabytes", type=int, default=50)
    parser.add_argument("--limit-mb", type=int, default=256)
    parser.add_argument("--kind", default="words", choices=["words", "phrases", "both"])
    options = parser.parse_args()
    root = tempfile.mkdtemp(prefix="trovex-listmem-")
    try:
        data = os.path.join(root, "Datenbank")
        os.makedirs(os.path.join(data, "Temp"))
        with open(os.path.join(data, "Gross.dat"), "wb") as f:
            f.write(b"PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n")
        words = write_text(os.path.join(data, "Gross_UTF8Dokument.txt"), options.megabytes)
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(root, "config"), LC_ALL="C.UTF-8")
        started = time.monotonic()
        before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
        build = subprocess.run([os.path.join(options.bin, "trovex"), "--program-dir", root,
                                "list", "Gross", "--" + options.kind],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
        seconds = time.monotonic() - started
        peak_mb = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
        if before / 1024 > options.limit_mb:
            print("FAIL: an earlier child already took %.0f MB" % (before / 1024))
            return 1
        print("text %d MB, %d words, list --%s: %.1f s, peak %.0f MB (limit %d MB)"
              % (options.megabytes, words, options.kind, seconds, peak_mb, options.limit_mb))
        if build.returncode != 0:
            print("FAIL: trovex list ended with %d: %s" % (build.returncode, build.stderr.decode()))
            return 1
        lines = 0
        with open(os.path.join(data, "Gross_Phrasen_Woerter_Utf8Liste.txt"), "rb") as f:
            for _ in f:
                lines += 1
        if options.kind == "words" and lines != words:
            print("FAIL: the list has %d lines for %d words" % (lines, words))
            return 1
        if peak_mb > options.limit_mb:
            print("FAIL: peak memory above the limit")
            return 1
        print("ok")
        return 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
