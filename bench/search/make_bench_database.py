#!/usr/bin/env python3
"""Writes a benchmark database: <program dir>/Datenbank/<name>.dat and
<name>_UTF8Dokument.txt in the exact block layout (three lines of one blank,
"#" + path, an underline of "=", the text lines; CR LF after every line),
filled with real German prose until the database text reaches the size asked
for. The prose comes from the text files of a folder (by default the German
fortune collection of the Debian package fortunes-de), split into paragraphs
at lines holding only "%" and at empty lines. Deterministic for a given seed.

With --documents N the text holds exactly N documents of about equal size;
with --needle WORD the word stands once, in the last document (the viewer
benchmark finds it near the end).
"""
import argparse
import glob
import os
import random
import sys

DEFAULT_SOURCE = "/usr/share/games/fortunes/de"


def load_paragraphs(source):
    files = sorted(glob.glob(os.path.join(source, "*.u8"))) or sorted(
        p for p in glob.glob(os.path.join(source, "*")) if os.path.isfile(p))
    paragraphs = []
    for path in files:
        with open(path, "rb") as f:
            text = f.read().decode("utf-8", errors="replace")
        current = []
        for line in text.splitlines():
            if line.strip() in ("%", ""):
                if current:
                    paragraphs.append(("\r\n".join(current) + "\r\n").encode("utf-8"))
                    current = []
            else:
                current.append(line.rstrip())
        if current:
            paragraphs.append(("\r\n".join(current) + "\r\n").encode("utf-8"))
    return paragraphs


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program_dir")
    parser.add_argument("size_mib", type=int)
    parser.add_argument("--name", default="Bench")
    parser.add_argument("--source", default=DEFAULT_SOURCE)
    parser.add_argument("--seed", type=int, default=4711)
    parser.add_argument("--documents", type=int, default=0,
                        help="exactly this many documents (default: 30 to 300 paragraphs each)")
    parser.add_argument("--needle", default="",
                        help="a word written once, in the last document")
    args = parser.parse_args()

    paragraphs = load_paragraphs(args.source)
    if not paragraphs:
        sys.exit("Keine Texte in %s (Paket fortunes-de installieren oder --source angeben)"
                 % args.source)
    rng = random.Random(args.seed)
    target = args.size_mib << 20
    data_dir = os.path.join(args.program_dir, "Datenbank")
    os.makedirs(data_dir, exist_ok=True)
    text_path = os.path.join(data_dir, args.name + "_UTF8Dokument.txt")
    paths = []
    written = 0
    per_document = target // args.documents if args.documents > 0 else 0
    with open(text_path, "wb") as out:
        while (written < target and args.documents <= 0) or len(paths) < args.documents:
            number = len(paths) + 1
            path = "D:\\Bench\\Ordner%03d\\Dokument%06d.odt" % (number // 500, number)
            paths.append(path)
            block = [b" \r\n \r\n \r\n", b"#" + path.encode() + b"\r\n",
                     b"=" * len(path) + b"\r\n"]
            if per_document:
                size = 0
                while size < per_document:
                    paragraph = rng.choice(paragraphs)
                    block.append(paragraph)
                    size += len(paragraph)
            else:
                block.extend(rng.choices(paragraphs, k=rng.randint(30, 300)))
            if args.needle and len(paths) == args.documents:
                block.insert(len(block) // 2, args.needle.encode() + b"\r\n")
            chunk = b"".join(block)
            out.write(chunk)
            written += len(chunk)
        if args.needle and args.documents <= 0:
            needle = args.needle.encode() + b"\r\n"
            out.write(needle)
            written += len(needle)
    header = "PFAD_UND_ENDUNGEN= D:\\Bench *.odt    "
    with open(os.path.join(data_dir, args.name + ".dat"), "wb") as out:
        out.write(("\r\n".join([header] + paths) + "\r\n").encode("utf-8"))
    print("%s: %d Dokumente, %d Bytes" % (text_path, len(paths), written))


if __name__ == "__main__":
    main()
