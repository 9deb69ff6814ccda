#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz targets into fuzz/seeds/<target>/.

They cover what the test fixtures do not show: entities, CDATA, other
encodings, stored (uncompressed) containers, byte-order marks, broken UTF-8.
Run from anywhere: python3 fuzz/seeds/make_hand_seeds.py
"""
import io
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def stored_zip(members):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as z:
        for name, text in members:
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            z.writestr(info, text)
    return buffer.getvalue()


def crlf(lines):
    return "".join(line + "\r\n" for line in lines)


# XML scanner (0x1E separates the members of one document)
write("xml_scanner", "entities.xml",
      '<?xml version="1.0" encoding="utf-8"?>\n'
      '<!DOCTYPE d [ <!ENTITY a "x&b;y"> <!ENTITY b "&#228;&#x80;"> '
      '<!ENTITY % p "nie"> <!-- <!ENTITY c "no"> --> ]>\n'
      '<d><p>  Zwei   Leer  zeichen </p><p>&a; &euro; &lt;&gt;&amp;&apos;&quot; &#8364; &#x;'
      ' & ohne</p></d>')
write("xml_scanner", "cdata_comment_pi.xml",
      '<?xml version="1.0"?><?target Inhalt der Anweisung?>'
      '<t>eins</t><!-- dazwischen --><t>zwei</t>'
      '<![CDATA[Zeile 1\r\nZeile 2 <kein> &tag;]]><leer/><a b="c>d">e</a>')
write("xml_scanner", "latin1_declared.xml",
      b'<?xml version="1.0" encoding="ISO-8859-1"?><p>Gr\xfc\xdfe \xe4</p>')
write("xml_scanner", "two_members.xml",
      '<?xml version="1.0" encoding="UTF-8"?><p>\u00e4 \u20ac \u03b1 \U0001F600</p>'
      '\x1e<p>\u00e4 ohne Erkl\u00e4rung</p>\x1e<?xml\tencoding="windows-1252"?><p>\u00e4</p>')

# Archive reader: stored members, so their bytes stay readable
write("archive", "stored.odt", stored_zip([
    ("mimetype", "application/vnd.oasis.opendocument.text"),
    ("META-INF/manifest.xml", "<manifest/>"),
    ("content.xml", '<?xml version="1.0" encoding="UTF-8"?><office:text>'
                    '<text:p>Gr\u00fc\u00dfe aus Z\u00fcrich</text:p></office:text>'),
    ("meta.xml", "<meta>nicht</meta>"),
]))
write("archive", "stored.docx", stored_zip([
    ("[Content_Types].xml", "<Types/>"),
    ("word/document.xml", "<w:document><w:t>Fahrkarte</w:t></w:document>"),
    ("word/styles.xml", "<w:styles/>"),
    ("docProps/core.xml", "<cp/>"),
]))
write("archive", "stored.epub", stored_zip([
    ("mimetype", "application/epub+zip"),
    ("META-INF/container.xml", "<container/>"),
    ("EPUB/text/ch001.xhtml", "<html><body><p>Kapitel eins</p></body></html>"),
    ("EPUB/toc.xhtml", "<html><body><p>Inhalt</p></body></html>"),
]))
write("archive", "hostile_names.zip", stored_zip([
    ("../../draussen.xml", "<p>nie</p>"),
    ("/absolut/a.xml", "<p>absolut</p>"),
    ("a\\b\\c.xml", "<p>Rueckstrich</p>"),
    ("./ordner/./x.XHTML", "<p>gross</p>"),
    ("leer/", ""),
]))

# Lenient UTF-8 decoder
write("utf8_decoder", "mixed.bin",
      b"a\xc3\xa4\xe2\x82\xac\xf0\x9f\x98\x80"  # valid 1 to 4 bytes
      b"\xc0\xaf\xe0\x80\xaf"                  # overlong
      b"\xed\xa0\x80\xed\xb0\x80"              # surrogates
      b"\x80\xbf\xf8\xff\xf4\x90\x80\x80"      # stray, invalid, above U+10FFFF
      b"\xc3x\xe2\x82")                        # interrupted, cut off at the end

# Drive file list (the first byte chooses folder and slots)
write("drive_file_list", "utf8_lines.txt", b"\x00" + crlf([
    "Z:\\home\\anna\\Texte\\Brief.odt",
    '" Bericht.DOCX',
    '" Notiz.txt',
    "Z:\\home\\anna\\Temp\\Entwurf.odt",
    '" Zweiter.odt',
    "Z:\\home\\anna\\\u00dcbersicht\\B\u00fccher.epub",
    "Z:\\home\\anna\\a:b.odt",
    '" c.odt',
]).encode("utf-8") + b"Z:\\home\\\xed\xb0\x8aName.docm\x0bZ:\\x.odt\x0cZ:\\y.odt\x00Z:\\z.odt")
write("drive_file_list", "utf16le.txt", b"\x05\xff\xfe" + crlf([
    "D:\\Texte\\Brief.odt", '" Zweiter.odt', "D:\\Texte\\\u00e4rger.odt\u2028D:\\Texte\\x.odt",
]).encode("utf-16-le"))
write("drive_file_list", "utf16be.txt", b"\x01\xfe\xff" + crlf([
    "D:\\Texte\\Brief.odt", '" Zweiter.docx',
]).encode("utf-16-be"))

# Document list
def double_utf8(text):
    # The five bytes Windows-1252 leaves undefined stand for U+0081 and so on.
    def char(byte):
        try:
            return bytes([byte]).decode("cp1252")
        except UnicodeDecodeError:
            return chr(byte)
    return "".join(char(b) for b in text.encode("utf-8")).encode("utf-8")


write("document_list", "umlauts.dat",
      b"PFAD_UND_ENDUNGEN= " + double_utf8("D:\\\u00dcbersicht") + b" *.odt *.docx   \r\n"
      + double_utf8("D:\\\u00dcbersicht\\Brief.odt") + b"\r\n"
      + double_utf8("D:\\\u00dcbersicht\\\u20ac.docx") + b"\r\n")
write("document_list", "no_marker.dat", b"Z:\\ohne Kennung\nZ:\\a.odt\rZ:\\b.odt\r\n\r\nZ:\\c.odt")

# Colour text
for name, text in [("name", "clTeal"), ("lower_name", "clinfobk"), ("hex", "$00FF8000"),
                   ("system", "$80000018"), ("decimal", "8421376"), ("negative", "-2147483648"),
                   ("too_big", "$100000000"), ("empty_hex", "$")]:
    write("colour_text", name + ".txt", text)

# Search history
write("search_history", "utf16le.txt",
      b"\xff\xfe" + crlf(["Fahrkarte", "Sie_haben_keinen_Suchtext_eingegeben!", "",
                          "\u00dcbersicht", "Fahrkarte"]).encode("utf-16-le"))
write("search_history", "utf8_mark.txt",
      b"\xef\xbb\xbf" + "Z\u00fcrich\rBern\u2028Genf\n".encode("utf-8"))
write("search_history", "ansi.txt", b"Gr\xfc\xdfe\r\n\xa4uro\r\n")
write("search_history", "utf16be.txt", b"\xfe\xff" + "eins\r\nzwei".encode("utf-16-be"))

# Site file
write("site_file", "readme_example.txt", crlf([
    "[Themen1]", "Liste=Nachschlagewerke,", "[Themen2]", "Liste=Karten",
    "[Nachschlagewerke]",
    "Liste=https://lexikon.example.org/suche?q=, https://woerterbuch.example.org/",
    "[Karten]", "Liste=https://karten.example.org/start",
]))
write("site_file", "utf16le_mark.txt", b"\xff\xfe" + crlf([
    "[themen1]", " liste = \"B\u00fccher, Karten\"", "; Kommentar", "[B\u00fccher]",
    "LISTE='https://buch.example.org/?s='", "[Karten", "Liste=" + "x" * 300,
]).encode("utf-16-le"))
write("site_file", "ansi.txt", b"[Themen1]\r\nListe=Gr\xfc\xdfe\r\n[Gr\xfc\xdfe]\rListe=https://a.example/=\r\n")
