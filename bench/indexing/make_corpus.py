#!/usr/bin/env python3
"""Builds a reproducible corpus of .odt, .docx and .epub documents for the
indexing benchmark.

The text comes from Debian's German manual pages (package manpages-de), cut
into paragraphs; the euro sign and some Greek are mixed in. pandoc writes one
container per format; every document is that container with its body
paragraph repeated for the document's text (pandoc itself would need about a
second per document). Sizes run from about 1 KB to several MB (most
documents small, one in 250 large). The same seed gives the same corpus.

    python3 make_corpus.py --out /tmp/corpus --count 2000 [--seed 1] [--jobs 2]
"""

import argparse
import gzip
import html
import math
import os
import random
import re
import subprocess
import sys
import tempfile
import zipfile
from concurrent.futures import ThreadPoolExecutor

MAN_DIR = "/usr/share/man/de"
FORMATS = ["odt", "docx", "epub"]
EXTRA = [
    "Der Preis beträgt 12,50 € pro Stück, ermäßigt 9 €.",
    "Das griechische Alphabet beginnt mit α, β, γ und δ.",
    "Λόγος und ἀρχή sind Wörter, die in der Philosophie oft vorkommen.",
    "Straße, Fußgänger, Größe und Maß schreiben sich mit ß.",
]


def clean_roff(text):
    lines = []
    for line in text.splitlines():
        if line.startswith((".", "'")):
            continue
        line = re.sub(r"\\f[BIRP]|\\f\(..|\\\(..|\\[-&e|^]|\\s[-+]?\d", "", line)
        # Control characters (backspace overstrikes of old pages) are not
        # allowed in XML.
        line = re.sub(r"[\x00-\x08\x0b-\x1f\x7f]", "", line.replace("\\", "")).strip()
        if line:
            lines.append(line)
    return lines


def load_paragraphs():
    paragraphs = []
    for root, _, files in sorted(os.walk(MAN_DIR)):
        for name in sorted(files):
            if not name.endswith(".gz"):
                continue
            try:
                with gzip.open(os.path.join(root, name), "rt", encoding="utf-8",
                               errors="replace") as f:
                    lines = clean_roff(f.read())
            except OSError:
                continue
            for i in range(0, len(lines), 6):
                paragraph = " ".join(lines[i:i + 6])
                if len(paragraph) > 60:
                    paragraphs.append(paragraph)
    if not paragraphs:
        sys.exit("Keine deutschen Handbuchseiten gefunden: apt-get install manpages-de")
    return paragraphs


def document_size(rng, number):
    # Every 250th document is large (1 to 3 MB of text); the others are
    # log-uniform from 1 KB to 64 KB, as letters and articles are.
    if number % 250 == 125:
        return int(rng.uniform(1, 3) * 1024 * 1024)
    return int(1024 * math.exp(rng.random() * math.log(64)))


def paragraphs_for(rng, paragraphs, size, number):
    parts = ["Dokument %d" % number]
    total = 0
    while total < size:
        paragraph = rng.choice(paragraphs)
        if rng.random() < 0.15:
            paragraph += " " + rng.choice(EXTRA)
        parts.append(paragraph)
        total += len(paragraph)
    return parts


MARKER = "BODYMARKER"
PARAGRAPH_TAGS = {"odt": ("<text:p", "</text:p>"), "docx": ("<w:p>", "</w:p>"),
                  "epub": ("<p>", "</p>")}


def make_templates(folder):
    """One container per format, written by pandoc, whose single body
    paragraph holds the marker; the documents are these containers with the
    marker paragraph repeated for their text."""
    templates = {}
    source = "# Vorlage\n\n%s\n" % MARKER
    for fmt in FORMATS:
        target = os.path.join(folder, "vorlage." + fmt)
        args = ["pandoc", "-f", "markdown", "-o", target]
        if fmt == "epub":
            args += ["--metadata", "title=Vorlage", "--metadata", "lang=de-DE"]
        subprocess.run(args, input=source.encode("utf-8"), check=True)
        with zipfile.ZipFile(target) as archive:
            members = [(info, archive.read(info.filename)) for info in archive.infolist()]
        templates[fmt] = members
    return templates


def paragraph_template(xml, fmt):
    at = xml.index(MARKER)
    open_tag, close_tag = PARAGRAPH_TAGS[fmt]
    begin = xml.rindex(open_tag, 0, at)
    end = xml.index(close_tag, at) + len(close_tag)
    return begin, end, xml[begin:end]


def make_document(job):
    out, number, seed, paragraphs, templates = job
    # Each document has its own generator, so any subset is reproducible.
    rng = random.Random(seed * 1000003 + number)
    fmt = FORMATS[number % len(FORMATS)]
    folder = os.path.join(out, "ordner%02d" % (number % 40))
    os.makedirs(folder, exist_ok=True)
    target = os.path.join(folder, "dokument%05d.%s" % (number, fmt))
    if os.path.exists(target):
        return target
    text = paragraphs_for(rng, paragraphs, document_size(rng, number), number)
    with zipfile.ZipFile(target, "w") as archive:
        for info, data in templates[fmt]:
            if MARKER.encode() in data:
                xml = data.decode("utf-8")
                begin, end, template = paragraph_template(xml, fmt)
                body = "".join(template.replace(MARKER, html.escape(p, quote=False))
                               for p in text)
                data = (xml[:begin] + body + xml[end:]).encode("utf-8")
            compress = zipfile.ZIP_STORED if info.filename == "mimetype" else zipfile.ZIP_DEFLATED
            archive.writestr(info.filename, data, compress_type=compress)
    return target


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=2)
    options = parser.parse_args()

    paragraphs = load_paragraphs()
    os.makedirs(options.out, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        templates = make_templates(scratch)
    jobs = [(options.out, number, options.seed, paragraphs, templates)
            for number in range(options.count)]
    with ThreadPoolExecutor(max_workers=options.jobs) as pool:
        for done, _ in enumerate(pool.map(make_document, jobs), 1):
            if done % 100 == 0:
                print("%d/%d Dokumente" % (done, options.count), file=sys.stderr)


if __name__ == "__main__":
    main()
