#!/usr/bin/env python3
"""Writes the case of exclusion_bench.sh below --out:

  corpus/Texte/...       --documents small .odt files (drive B: is corpus/)
  Haupt_Dateinamen_Liste_Laufwerk_B.txt
                         --lines lines: the documents, in folders of ten (a
                         full line and ditto lines), among files of other
                         folders of the drive
  exclusions_N.txt       N exclusion texts for N in --counts: random words
                         that match nothing, and "geheim", which matches
                         every tenth document
  expected_N.txt         the document paths an index run must keep

Reproducible: the same arguments give the same files.
"""
import argparse
import os
import random
import zipfile

CONTENT = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content '
           'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
           'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">'
           '<office:body><office:text><text:p>Dokument {n}</text:p></office:text>'
           '</office:body></office:document-content>')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--out', required=True)
    parser.add_argument('--lines', type=int, default=1_000_000)
    parser.add_argument('--documents', type=int, default=300)
    parser.add_argument('--counts', default='0,1000,5000')
    args = parser.parse_args()
    rng = random.Random(24)
    texts = os.path.join(args.out, 'corpus', 'Texte')
    documents = []
    for n in range(args.documents):
        folder = 'Ordner%02d' % (n // 10)
        name = ('Geheim %d.odt' if n % 10 == 3 else 'Brief %d.odt') % n
        os.makedirs(os.path.join(texts, folder), exist_ok=True)
        with zipfile.ZipFile(os.path.join(texts, folder, name), 'w') as z:
            z.writestr('mimetype', 'application/vnd.oasis.opendocument.text')
            z.writestr('content.xml', CONTENT.format(n=n))
        documents.append((folder, name))

    others = args.lines - args.documents
    with open(os.path.join(args.out, 'Haupt_Dateinamen_Liste_Laufwerk_B.txt'), 'wb') as out:
        written = 0
        per_folder = 20
        folder = 0
        # Other folders of the drive before and after the documents.
        def other_lines(count):
            nonlocal folder
            left = count
            while left > 0:
                folder += 1
                out.write(('B:\\System\\Teil%d\\datei%d.dll\r\n' % (folder, 0)).encode())
                left -= 1
                for k in range(1, min(per_folder, left + 1)):
                    out.write(('" datei%d.%s\r\n' % (k, rng.choice(['dll', 'txt', 'odt']))).encode())
                    left -= 1
        other_lines(others // 2)
        current = None
        for folder_name, name in documents:
            if folder_name != current:
                out.write(('B:\\Texte\\%s\\%s\r\n' % (folder_name, name)).encode())
                current = folder_name
            else:
                out.write(('" %s\r\n' % name).encode())
        other_lines(others - others // 2)

    letters = 'abcdefghijklmnopqrstuvwxyz'
    for count in [int(c) for c in args.counts.split(',')]:
        words = ['geheim'] if count else []
        while len(words) < count:
            words.append(''.join(rng.choice(letters) for _ in range(9)))
        with open(os.path.join(args.out, 'exclusions_%d.txt' % count), 'w') as f:
            f.write(''.join(w + '\r\n' for w in words))
        with open(os.path.join(args.out, 'expected_%d.txt' % count), 'w') as f:
            for folder_name, name in documents:
                path = 'B:\\Texte\\%s\\%s' % (folder_name, name)
                if not any(w in path.lower() for w in words):
                    f.write(path + '\n')


if __name__ == '__main__':
    main()
