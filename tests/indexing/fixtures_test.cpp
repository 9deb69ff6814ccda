#include "run_fixture.h"
#include "support/platform_doubles.h"
#include "test_support.h"

#include "index_messages.h"
#include "indexing/index_run.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "support/run_program.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readAll;

namespace {

QString fixture(const QString& name) {
    return qEnvironmentVariable("TROVEX_FIXTURES") + "/indexing/" + name;
}

const QStringList kDocuments = {"libreoffice.docx", "libreoffice.odt", "pandoc.docx", "pandoc.epub",
                                "pandoc.odt"};

// A program directory and drive D: holding the fixture documents in
// D:\Texte, with the drive file list naming them.
struct FixtureDrive {
    FixtureDrive() {
        QDir(program.path()).mkpath("Datenbank/Temp/ZipTemp");
        QDir(drive.path()).mkpath("Texte");
        QByteArray list = "D:\\Texte\\quelle.md\r\n";
        for (const QString& name : kDocuments) {
            QFile::copy(fixture(name), drive.path() + "/Texte/" + name);
            list += "\" " + name.toUtf8() + "\r\n";
        }
        testsupport::writeAll(program.path() + "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt",
                              list);
    }
    QTemporaryDir program;
    QTemporaryDir drive;
};

// The text lines of one document's block.
QList<QByteArray> blockLines(const QByteArray& text, const QByteArray& path) {
    const QByteArray header = "#" + path + "\r\n";
    qsizetype start = text.indexOf(header);
    if (start < 0)
        return {};
    start += header.size();
    start = text.indexOf("\r\n", start) + 2; // the underline
    qsizetype end = text.indexOf(" \r\n \r\n \r\n#", start);
    if (end < 0)
        end = text.size();
    QList<QByteArray> lines = text.mid(start, end - start).split('\n');
    lines.removeLast();
    for (QByteArray& line : lines)
        line.chop(1);
    return lines;
}

const QByteArray kParagraph =
    "Die Fahrkarte kostet 5 \xE2\x82\xAC und gilt f\xC3\xBCr \xC3\x84rzte, "
    "\xC3\x96"
    "fen und \xC3\x9C"
    "bermut.";
const QByteArray kGreek = "Ein griechisches Wort:       steht hier.";
const QByteArray kLast = "Gr\xC3\xB6\xC3\x9F"
                         "e, Ma\xC3\x9F und Fu\xC3\x9F \xE2\x80\x93 \xE2\x80\x9E"
                         "Anf\xC3\xBChrungszeichen\xE2\x80\x9C sind auch dabei.";

} // namespace

class FixturesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Documents written by LibreOffice and pandoc give their paragraphs, one
    // per line, with the euro sign kept and the Greek word blanked.
    void realDocumentsIndexToTheirParagraphs() {
        FixtureDrive d;
        platform::DriveMap drives;
        drives.setDrive(u'D', d.drive.path());
        testsupport::MemorySettingsStore settings;
        testsupport::RecordingPrompts prompts;
        indexing::IndexProgress progress;
        progress.message = testsupport::messagesTo(prompts);
        indexing::IndexRun run(d.program.path(), drives, settings, {}, progress);
        QVERIFY(run.run({"F", "D:\\Texte", "*.odt *.docx *.epub *.md", false}));
        QCOMPARE(prompts.texts(), QStringList());
        QCOMPARE(run.listedFiles(), 6);
        QCOMPARE(run.indexedDocuments(), 5);
        const QByteArray text = readAll(d.program.path() + "/Datenbank/F_UTF8Dokument.txt");

        const QList<QByteArray> libreOffice{"Stra\xC3\x9F"
                                            "enbahn nach Z\xC3\xBCrich",
                                            "Die Fahrt",
                                            kParagraph,
                                            kGreek,
                                            "Zweites Kapitel",
                                            kLast};
        QCOMPARE(blockLines(text, "D:\\Texte\\libreoffice.odt"), libreOffice);
        // Word's document.xml ends with the section properties: one empty line.
        QCOMPARE(blockLines(text, "D:\\Texte\\libreoffice.docx"),
                 libreOffice + QList<QByteArray>{""});
        // pandoc's footer holds the page number.
        QList<QByteArray> pandocOdt;
        for (const QByteArray& line : libreOffice)
            pandocOdt << line << "";
        QCOMPARE(blockLines(text, "D:\\Texte\\pandoc.odt"), pandocOdt + QList<QByteArray>{"1"});
        // pandoc gives each word of the title a run of its own, and the
        // blanks runs of theirs.
        QCOMPARE(blockLines(text, "D:\\Texte\\pandoc.docx").first(), libreOffice.first());

        const QList<QByteArray> epub = blockLines(text, "D:\\Texte\\pandoc.epub");
        const qsizetype paragraph = epub.indexOf(kParagraph);
        QVERIFY(paragraph > 0);
        QCOMPARE(epub.mid(paragraph - 2, 7), (QList<QByteArray>{"Die Fahrt", "", kParagraph, "",
                                                                kGreek, "", "Zweites Kapitel"}));
        QVERIFY(blockLines(text, "D:\\Texte\\pandoc.docx").contains(kLast));
        QVERIFY(!text.contains("quelle.md"));
    }

    // Style sheets and scripts of EPUB chapters stay out of the text; the
    // office documents, which have none, give the bytes they always gave.
    void styleSheetsAndScriptsStayOut() {
        FixtureDrive d;
        QVERIFY(QFile::copy(fixture("style_script.epub"), d.drive.path() + "/Texte/s.epub"));
        testsupport::writeAll(d.program.path() + "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt",
                              "D:\\Texte\\libreoffice.docx\r\n\" libreoffice.odt\r\n\" "
                              "pandoc.docx\r\n\" pandoc.odt\r\n\" s.epub\r\n\" pandoc.epub\r\n");
        platform::DriveMap drives;
        drives.setDrive(u'D', d.drive.path());
        testsupport::MemorySettingsStore settings;
        testsupport::RecordingPrompts prompts;
        indexing::IndexProgress progress;
        progress.message = testsupport::messagesTo(prompts);
        indexing::IndexRun run(d.program.path(), drives, settings, {}, progress);
        QVERIFY(run.run({"S", "D:\\Texte", "*.odt *.docx *.epub", false}));
        const QByteArray text = readAll(d.program.path() + "/Datenbank/S_UTF8Dokument.txt");

        QCOMPARE(text.left(text.indexOf(" \r\n \r\n \r\n#D:\\Texte\\s.epub")),
                 readAll(fixture("office_database_text.txt")));
        QCOMPARE(blockLines(text, "D:\\Texte\\s.epub"),
                 (QList<QByteArray>{"Kapitel 1", "", "", "",
                                    "Erster Absatz \xC3\xBC"
                                    "ber Gr\xC3\xB6\xC3\x9F"
                                    "e.",
                                    "", "Vor dem Skript nach dem Skript.", "", "Letzter Absatz.",
                                    "", "Nach dem leeren Skript.", "", "Kapitel 2", "", "",
                                    "Zweites Kapitel."}));
        // pandoc writes its CSS into every chapter's head.
        QVERIFY(blockLines(text, "D:\\Texte\\pandoc.epub").contains(kParagraph));
        for (const char* css : {"white-space", "span.smallcaps", "margin", "preis", "zeige"})
            QVERIFY2(!text.contains(css), css);
    }

    // Documents as Word, LibreOffice and e-book tools write them, indexed
    // and searched by trovex: a phrase is found across the runs, links and
    // marks of its paragraph; what the reader never sees is not found; the
    // documents saved with a password are named.
    void phrasesAsTheReaderSeesThem() {
        QTemporaryDir program;
        QTemporaryDir drive;
        QDir(program.path()).mkpath("Datenbank");
        QDir(drive.path()).mkpath("Texte");
        const QByteArray decl = runfixture::kDecl;
        const auto docx = [&](const QByteArray& body) {
            return testsupport::Members{
                {"[Content_Types].xml", decl + "<Types/>"},
                {"word/document.xml",
                 decl + "<w:document><w:body>" + body + "</w:body></w:document>"},
                {"word/glossary/document.xml",
                 decl + "<w:p><w:r><w:t>Klicken oder tippen Sie hier, um Text einzugeben."
                        "</w:t></w:r></w:p>"}};
        };
        const QString texte = drive.path() + "/Texte/";
        QVERIFY(testsupport::makeZip(
            texte + "Runs.docx",
            docx(
                "<w:p><w:r><w:t xml:space=\"preserve\">Das ist </w:t></w:r><w:r><w:rPr><w:b/>"
                "</w:rPr><w:t>sehr</w:t></w:r><w:r><w:t xml:space=\"preserve\"> wichtig</w:t></w:r>"
                "</w:p><w:p><w:r><w:t xml:space=\"preserve\">Siehe </w:t></w:r><w:hyperlink "
                "r:id=\"rId9\"><w:r><w:t>die Webseite</w:t></w:r></w:hyperlink><w:r><w:t "
                "xml:space=\"preserve\"> unten</w:t></w:r></w:p><w:p><w:r><w:t "
                "xml:space=\"preserve\">Ein </w:t></w:r><w:proofErr w:type=\"spellStart\"/><w:r>"
                "<w:t>Tippfehlr</w:t></w:r><w:proofErr w:type=\"spellEnd\"/><w:r><w:t "
                "xml:space=\"preserve\"> steht hier</w:t></w:r></w:p><w:p><w:r><w:t>Spalte1</w:t>"
                "<w:tab/><w:t>Spalte2</w:t></w:r></w:p><w:p><w:del><w:r><w:delText>Geloeschter "
                "Satz</w:delText></w:r></w:del><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r>"
                "<w:r><w:instrText xml:space=\"preserve\"> PAGEREF _Toc4711 \\h </w:instrText>"
                "</w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>")));
        QVERIFY(testsupport::makeZip(
            texte + "Alt.odt",
            {{"mimetype", "application/vnd.oasis.opendocument.text"},
             {"content.xml",
              decl + "<office:document-content><office:body><office:text><text:tracked-changes>"
                     "<text:changed-region text:id=\"c1\"><text:deletion><office:change-info>"
                     "<dc:creator>Anna Kollegin</dc:creator><dc:date>2024-05-01T10:00:00</dc:date>"
                     "</office:change-info><text:p>Alter Absatz</text:p></text:deletion>"
                     "</text:changed-region></text:tracked-changes><text:p>He<text:span>llo Wor"
                     "</text:span>ld!</text:p><text:p>Erste<text:s/>Zeile</text:p><table:table>"
                     "<table:table-row><table:table-cell><text:p>ja</text:p></table:table-cell>"
                     "<table:table-cell><text:p>ja</text:p></table:table-cell></table:table-row>"
                     "</table:table></office:text></office:body></office:document-content>"},
             {"styles.xml",
              decl + "<office:document-styles><office:master-styles><style:master-page "
                     "style:name=\"Standard\"><style:footer><text:p>Firma <text:span>Muster"
                     "</text:span> GmbH</text:p></style:footer></style:master-page>"
                     "</office:master-styles></office:document-styles>"},
             {"Configurations2/accelerator/current.xml", ""},
             {"Basic/Standard/Module1.xml",
              decl + "<script:module>Sub Main\n Shell(&quot;calc.exe&quot;)\nEnd Sub"
                     "</script:module>"},
             {"META-INF/manifest.xml", decl + "<manifest:manifest/>"}}));
        QVERIFY(testsupport::makeZip(
            texte + "Buch.epub", {{"mimetype", "application/epub+zip"},
                                  {"META-INF/container.xml", decl + "<container/>"},
                                  {"OEBPS/k1.xhtml", "\xEF\xBB\xBF" + decl +
                                                         "<html><body><p>Milj&ouml;bilaga f&uuml;r "
                                                         "&Auml;mter</p></body></html>"}}));
        QVERIFY(testsupport::makeZip(texte + "Geheim.odt", runfixture::kEncryptedOdt));
        QVERIFY(
            testsupport::writeAll(texte + "Geheim.docx", runfixture::passwordProtectedWordFile()));
        QVERIFY(testsupport::writeAll(program.path() +
                                          "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt",
                                      "D:\\Texte\\Alt.odt\r\n\" Buch.epub\r\n\" Geheim.docx\r\n\" "
                                      "Geheim.odt\r\n\" Runs.docx\r\n"));

        QTemporaryDir config;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        const QString trovex = testsupport::builtProgram("trovex");
        const QStringList common{"--program-dir", program.path(), "--drive", "D=" + drive.path()};
        QProcess index;
        index.setProcessEnvironment(environment);
        index.start(trovex, common + QStringList{"index", "R", "D:\\Texte", "*.odt *.docx *.epub"});
        QVERIFY(index.waitForFinished(60000));
        QCOMPARE(index.exitCode(), 0);
        const QByteArray err = testsupport::consoleBytes(index.readAllStandardError());
        QVERIFY2(err.contains("\n<D:\\Texte\\Geheim.docx> passwortgeschützt\n"), err);
        QVERIFY2(err.contains("\n<D:\\Texte\\Geheim.odt> passwortgeschützt\n"), err);
        QVERIFY(!err.contains("invalid zipfile"));
        QVERIFY(testsupport::consoleBytes(index.readAllStandardOutput())
                    .contains("Konnten nicht indiziert werden: 2\n"));

        struct Phrase {
            const char* text;
            const char* document; // nullptr: found nowhere
        };
        const Phrase phrases[] = {
            {"ist sehr wichtig", "Runs.docx"},
            {"Siehe die Webseite unten", "Runs.docx"},
            {"Ein Tippfehlr steht hier", "Runs.docx"},
            {"Spalte1 Spalte2", "Runs.docx"},
            {"Hello World!", "Alt.odt"},
            {"Erste Zeile", "Alt.odt"},
            {"Firma Muster GmbH", "Alt.odt"},
            {"Milj\xC3\xB6"
             "bilaga f\xC3\xBCr \xC3\x84mter",
             "Buch.epub"},
            {"Geloeschter", nullptr},
            {"PAGEREF", nullptr},
            {"Klicken oder tippen", nullptr},
            {"Anna Kollegin", nullptr},
            {"2024-05-01", nullptr},
            {"Alter Absatz", nullptr},
            {"calc.exe", nullptr},
            {"\xC3\xAF\xC2\xBB", nullptr}, // the byte-order mark read as Windows-1252
            {"ouml", nullptr},
            {"Geheim", nullptr},
        };
        for (const Phrase& phrase : phrases) {
            QProcess search;
            search.setProcessEnvironment(environment);
            search.setWorkingDirectory(program.path());
            search.start(trovex,
                         common + QStringList{"search", "R", QString::fromUtf8(phrase.text)});
            QVERIFY(search.waitForFinished(60000));
            const QByteArray out = testsupport::consoleBytes(search.readAllStandardOutput());
            if (phrase.document) {
                QVERIFY2(search.exitCode() == 0, phrase.text);
                QVERIFY2(
                    out.startsWith("1 mal in: file://") &&
                        out.endsWith(QByteArray(QByteArray("/Texte/") + phrase.document + "\n")),
                    phrase.text);
            } else {
                QVERIFY2(search.exitCode() == 1 && out.isEmpty(), phrase.text);
            }
        }
        // Two equal cells, two lines.
        QVERIFY(readAll(program.path() + "/Datenbank/R_UTF8Dokument.txt")
                    .contains("\r\nHello World!\r\nErste Zeile\r\nja\r\nja\r\n"));
    }

    // trovex index builds the database from the drive file list, and
    // trovex databases lists it.
    void commandLineBuildsAndListsTheDatabase() {
        FixtureDrive d;
        QTemporaryDir config;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        const QString trovex = testsupport::builtProgram("trovex");
        const QStringList common{"--program-dir", d.program.path(), "--drive",
                                 "D=" + d.drive.path()};
        QProcess index;
        index.setProcessEnvironment(environment);
        index.start(trovex, common + QStringList{"index", "Mein Buch", "D:\\Texte", "*.epub"});
        QVERIFY(index.waitForFinished(60000));
        QCOMPARE(index.exitCode(), 0);
        const QStringList log =
            QString::fromUtf8(testsupport::consoleBytes(index.readAllStandardOutput())).split('\n');
        QCOMPARE(log.mid(0, 3),
                 (QStringList{" ", "Dateien insgesamt: 1", "Konnten nicht indiziert werden: 0"}));
        QVERIFY(log.at(3).startsWith("1 ODT-Dateien wurden indiziert.   Zeit: "));
        QVERIFY(readAll(d.program.path() + "/Datenbank/Mein Buch_UTF8Dokument.txt")
                    .contains(kParagraph));

        QProcess list;
        list.setProcessEnvironment(environment);
        list.start(trovex, common + QStringList{"databases"});
        QVERIFY(list.waitForFinished(60000));
        QCOMPARE(testsupport::consoleBytes(list.readAllStandardOutput()),
                 QByteArray("Mein Buch\n"));

        // An update takes folder and patterns from the stored header.
        QProcess update;
        update.setProcessEnvironment(environment);
        update.start(trovex, common + QStringList{"index", "Mein Buch", "--update", "--jobs", "3"});
        QVERIFY(update.waitForFinished(60000));
        QCOMPARE(update.exitCode(), 0);
        for (const char* jobs : {"0", "viele"}) {
            QProcess refused;
            refused.setProcessEnvironment(environment);
            refused.start(trovex,
                          common + QStringList{"index", "Mein Buch", "--update", "--jobs", jobs});
            QVERIFY(refused.waitForFinished(60000));
            QCOMPARE(refused.exitCode(), 2);
            QVERIFY(testsupport::consoleBytes(refused.readAllStandardError())
                        .startsWith("Aufruf: trovex index NAME ORDNER MUSTER"));
        }
        QVERIFY(readAll(d.program.path() + "/Datenbank/Mein Buch.dat")
                    .startsWith("PFAD_UND_ENDUNGEN= D:\\Texte *.epub    \r\n"));
    }

    // A broken document is named as it lies on disk, and the run goes on.
    void commandLineNamesBrokenDocuments() {
        FixtureDrive d;
        testsupport::writeAll(d.drive.path() + "/Texte/Kaputt_Dokument.docx", "kein ZIP");
        testsupport::writeAll(d.program.path() + "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt",
                              "D:\\Texte\\Kaputt_Dokument.docx\r\n\" pandoc.docx\r\n");
        QTemporaryDir config;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        QProcess index;
        index.setProcessEnvironment(environment);
        index.start(testsupport::builtProgram("trovex"),
                    {"--program-dir", d.program.path(), "--drive", "D=" + d.drive.path(), "index",
                     "K", "D:\\Texte", "*.docx"});
        QVERIFY(index.waitForFinished(60000));
        QCOMPARE(index.exitCode(), 0);
        const QByteArray err = testsupport::consoleBytes(index.readAllStandardError());
        QVERIFY2(err.contains("\n<D:\\Texte\\Kaputt_Dokument.docx> invalid zipfile\n"), err);
        QVERIFY(!err.contains(".zip>"));
        QVERIFY(testsupport::consoleBytes(index.readAllStandardOutput())
                    .contains("Konnten nicht indiziert werden: 1\n"));
    }

    // With --new-list the file-list tool beside trovex writes the drive file
    // list first.
    void commandLineRunsTheFileListTool() {
        if (!QFileInfo(testsupport::builtProgram("ErstelleDateiliste")).isExecutable())
            QSKIP("ErstelleDateiliste is not built");
        FixtureDrive d;
        QFile::remove(d.program.path() + "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt");
        QTemporaryDir config;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        QProcess index;
        index.setProcessEnvironment(environment);
        index.start(testsupport::builtProgram("trovex"),
                    {"--program-dir", d.program.path(), "--drive", "D=" + d.drive.path(), "index",
                     "Neu", "D:\\Texte", "*.odt", "--new-list"});
        QVERIFY(index.waitForFinished(60000));
        QCOMPARE(index.exitCode(), 0);
        QVERIFY(
            QFile::exists(d.program.path() + "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt"));
        const QByteArray text = readAll(d.program.path() + "/Datenbank/Neu_UTF8Dokument.txt");
        QVERIFY(text.contains("#D:\\Texte\\libreoffice.odt\r\n"));
        QVERIFY(text.contains("#D:\\Texte\\pandoc.odt\r\n"));
        QVERIFY(text.contains(kParagraph));
    }

    void commandLineRefusals_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("forbidden character") << QStringList{"index", "a:b", "D:\\Texte", "*.odt"}
                                             << "Sie haben ungültige Zeichen eingegeben!\n";
        QTest::newRow("not windows-1252") << QStringList{"index", "λόγος", "D:\\Texte", "*.odt"}
                                          << "Sie haben ungültige Zeichen eingegeben!\n";
        QTest::newRow("folder missing and no pattern")
            << QStringList{"index", "X", "D:\\Fehlt", ""}
            << "Der angegebene Ordner existiert nicht\nSie haben keine Dateiendung angegeben\n";
        QTest::newRow("no drive file list and no tool")
            << QStringList{"index", "X", "E:\\", "*.odt"}
            << "Die Dateiliste \"%1/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_E.txt\" fehlt, und "
               "das Programm ErstelleDateiliste, das sie erstellt, liegt nicht neben trovex.\n";
    }
    void commandLineRefusals() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        FixtureDrive d;
        QTemporaryDir config;
        QTemporaryDir bin;
        // A trovex with no file-list tool beside it.
        const QString trovex =
            bin.path() + "/" + QFileInfo(testsupport::builtProgram("trovex")).fileName();
        QVERIFY(QFile::copy(testsupport::builtProgram("trovex"), trovex));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", config.path());
        QProcess index;
        index.setProcessEnvironment(environment);
        index.start(trovex, QStringList{"--program-dir", d.program.path(), "--drive",
                                        "D=" + d.drive.path(), "--drive", "E=" + d.drive.path()} +
                                arguments);
        QVERIFY(index.waitForFinished(60000));
        QCOMPARE(index.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(testsupport::consoleBytes(index.readAllStandardError())),
                 QDir::toNativeSeparators(message.arg(d.program.path())));
        QVERIFY(!QFile::exists(d.program.path() + "/Datenbank/X.dat"));
    }
};

QTEST_GUILESS_MAIN(FixturesTest)
#include "fixtures_test.moc"
