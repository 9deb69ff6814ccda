#include "run_fixture.h"
#include "support/platform_doubles.h"
#include "test_support.h"

#include "indexing/archive_reader.h"
#include "indexing/unpack_document.h"
#include "platform/prompts.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using testsupport::Members;

namespace {

const QByteArray kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

const Members kOdt = {
    {"mimetype", "application/vnd.oasis.opendocument.text"},
    {"content.xml", kDecl + "<office:text><text:p>Inhalt</text:p></office:text>"},
    {"styles.xml", kDecl + "<style>Stil</style>"},
    {"meta.xml", kDecl + "<meta>Autor</meta>"},
    {"settings.xml", kDecl + "<s>Einstellung</s>"},
    {"Configurations2/", ""},
    {"META-INF/manifest.xml", kDecl + "<m>Liste</m>"},
    {"Thumbnails/thumbnail.png", "PNG"},
};

const Members kDocx = {
    {"[Content_Types].xml", kDecl + "<Types>Typen</Types>"},
    {"_rels/.rels", kDecl + "<r>Bezug</r>"},
    {"docProps/core.xml", kDecl + "<c>Titel</c>"},
    {"word/styles.xml", kDecl + "<w:t>Stil</w:t>"},
    {"word/document.xml", kDecl + "<w:p><w:t>Hallo</w:t></w:p><w:p><w:t>Welt</w:t></w:p>"},
    {"word/_rels/document.xml.rels", kDecl + "<r>Bezug</r>"},
};

const Members kEpub = {
    {"mimetype", "application/epub+zip"},
    {"META-INF/container.xml", kDecl + "<c>Behälter</c>"},
    {"OEBPS/content.opf", kDecl + "<p>Paket</p>"},
    {"OEBPS/Text/k2.xhtml", kDecl + "<p>Kapitel zwei</p>"},
    {"OEBPS/Text/k1.xhtml", kDecl + "<p>Kapitel eins</p>"},
    {"OEBPS/toc.xhtml", kDecl + "<p>Inhalt</p>"},
    {"OEBPS/titlepage.xhtml", kDecl + "<p>Titel</p>"},
    {"OEBPS/notes.HTML", kDecl + "<p>Anmerkung</p>"},
};

struct Unpacked {
    QByteArray text;
    qint64 counted = 0;
    QStringList messages;
    indexing::UnpackOutcome outcome = indexing::UnpackOutcome::Indexed;
};

// Unpacks one document D:\Texte\<fileName> and returns its database text.
Unpacked unpack(const QString& fileName, const Members& members, qint64 memberCap = 1 << 20,
                bool withUnpackFolder = true, const QByteArray& notZip = "kein ZIP") {
    QTemporaryDir program;
    QTemporaryDir drive;
    QDir(program.path()).mkpath(withUnpackFolder ? "Datenbank/Temp/ZipTemp" : "Datenbank/Temp");
    QDir(drive.path()).mkpath("Texte");
    const QString native = drive.path() + "/Texte/" + fileName;
    if (members.isEmpty())
        testsupport::writeAll(native, notZip);
    else
        testsupport::makeZip(native, members);
    platform::DriveMap drives;
    drives.setDrive(u'D', drive.path());
    testsupport::RecordingPrompts prompts;
    platform::RunContext context;
    indexing::DatabaseWriter writer(program.path() + "/", "T");
    Unpacked result;
    indexing::UnpackEnvironment environment{program.path() + "/", &drives, &writer, &context, {},
                                            &result.counted};
    environment.limits.memberSizeCap = memberCap;
    result.outcome = indexing::unpackDocument("D:\\Texte\\" + fileName, environment);
    writer.writeDatabaseText();
    result.text = testsupport::readAll(writer.stagedTextPath());
    result.messages = prompts.texts();
    // Nothing of the container is ever written to disk.
    if (withUnpackFolder && !QDir(program.path() + "/Datenbank/Temp/ZipTemp").isEmpty())
        result.messages.append("ZipTemp not empty");
    if (!QFile::exists(native))
        result.messages.append("document gone");
    return result;
}

QByteArray block(const QByteArray& path) {
    return " \r\n \r\n \r\n#" + path + "\r\n" + QByteArray(path.size(), '=') + "\r\n";
}

} // namespace

class ArchiveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void containerNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("container");
        QTest::newRow("odt") << "D:\\Texte\\Brief.odt"
                             << "D:\\Texte\\Brief.zip";
        QTest::newRow("upper case") << "D:\\Texte\\Bericht.ODT"
                                    << "D:\\Texte\\Bericht.zip";
        QTest::newRow("two extensions") << "D:\\a.odt.docx"
                                        << "D:\\a.zip";
        QTest::newRow("each removed once, first place") << "D:\\x.epubneu.epub"
                                                        << "D:\\xneu.epub.zip";
    }
    void containerNames() {
        QFETCH(QString, path);
        QFETCH(QString, container);
        QCOMPARE(indexing::containerName(path), container);
    }

    void topLevelListingAndChoice_data() {
        QTest::addColumn<Members>("members");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QStringList>("listing");
        QTest::addColumn<QString>("subFolder");
        QTest::newRow("odt: no folder holds text")
            << kOdt << "D:\\Texte\\Brief.zip"
            << QStringList{"\\Configurations2", "", "\\META-INF", "",
                           "\\mimetype",        "", "",           "\\Thumbnails"}
            << "";
        QTest::newRow("folders that hold no text, in any letter case")
            << Members{{"configurations2/accelerator/current.xml", ""},
                       {"PICTURES/a.png", ""},
                       {"Text/k.xml", ""}}
            << "D:\\Alt.zip" << QStringList{"\\configurations2", "\\PICTURES", "\\Text"}
            << "Text\\";
        QTest::newRow("docx: word is last")
            << kDocx << "D:\\Brief.zip" << QStringList{"", "\\_rels", "\\docProps", "\\word"}
            << "word\\";
        QTest::newRow("epub: the content folder")
            << kEpub << "D:\\Buch.zip" << QStringList{"\\META-INF", "\\mimetype", "\\OEBPS"}
            << "OEBPS\\";
        QTest::newRow("folder with a dot becomes empty")
            << Members{{"v1.2/a.xml", "x"}} << "D:\\A.zip" << QStringList{""} << "";
        QTest::newRow("cut at the first .zip of the path")
            << Members{{"word/a.xml", "x"}} << "D:\\alt.zip.d\\B.zip"
            << QStringList{".d\\B.zip\\word"} << "";
    }
    void topLevelListingAndChoice() {
        QFETCH(Members, members);
        QFETCH(QString, container);
        QFETCH(QStringList, listing);
        QFETCH(QString, subFolder);
        QTemporaryDir dir;
        QVERIFY(testsupport::makeZip(dir.filePath("c.zip"), members));
        indexing::ZipContainer archive;
        QVERIFY(archive.open(dir.filePath("c.zip")));
        QCOMPARE(archive.topLevelListing(container), listing);
        QCOMPARE(indexing::chooseSubFolder(listing), subFolder);
    }

    void documents_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<Members>("members");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("opendocument: whole tree, content only")
            << "Brief.odt" << kOdt << QByteArray("Inhalt\r\n");
        QTest::newRow("word: styles skipped, document read")
            << "Brief.docx" << kDocx << QByteArray("Hallo\r\nWelt\r\n");
        QTest::newRow("epub: content folder, xhtml before html, by name")
            << "Buch.epub" << kEpub
            << QByteArray("Kapitel eins\r\n\r\nKapitel zwei\r\n\r\nAnmerkung\r\n");
        // OpenOffice.org 2 wrote an empty accelerator/current.xml.
        QTest::newRow("opendocument: Configurations2 the only folder")
            << "Alt.odt"
            << Members{{"mimetype", "application/vnd.oasis.opendocument.text"},
                       {"content.xml",
                        kDecl + "<office:text><text:p>Inhalt</text:p></office:text>"},
                       {"Configurations2/accelerator/current.xml", ""},
                       {"META-INF/manifest.xml", kDecl + "<m>Liste</m>"}}
            << QByteArray("Inhalt\r\n");
        QTest::newRow("opendocument: macros and an embedded object")
            << "Makro.odt"
            << Members{{"mimetype", "application/vnd.oasis.opendocument.text"},
                       {"content.xml",
                        kDecl + "<office:text><text:p>Inhalt</text:p></office:text>"},
                       {"Basic/Standard/Module1.xml",
                        kDecl +
                            "<script:module>Sub Main Shell(&quot;calc.exe&quot;)</script:module>"},
                       {"Object 1/content.xml", kDecl + "<text:p>Diagramm</text:p>"}}
            << QByteArray("Inhalt\r\n\r\nDiagramm\r\n");
        QTest::newRow("no xml member: block without text")
            << "Bild.odt" << Members{{"mimetype", "x"}, {"Pictures/a.png", "PNG"}} << QByteArray();
        QTest::newRow("hostile names stay inside") << "Boese.docx"
                                                   << Members{{"../../x.xml", "<p>Ausbruch</p>"},
                                                              {"/abs/y.xml", "<p>Absolut</p>"},
                                                              {"a\\b.xml", "<p>Rueckstrich</p>"}}
                                                   << QByteArray("Absolut\r\n");
    }
    void documents() {
        QFETCH(QString, fileName);
        QFETCH(Members, members);
        QFETCH(QByteArray, text);
        const Unpacked unpacked = unpack(fileName, members);
        QCOMPARE(unpacked.messages, QStringList());
        QCOMPARE(unpacked.counted, 1);
        QCOMPARE(unpacked.text, block("D:\\Texte\\" + fileName.toUtf8()) + text);
    }

    void unreadableContainerIsNotCounted() {
        const Unpacked unpacked = unpack("Kaputt.odt", {});
        QVERIFY(unpacked.outcome == indexing::UnpackOutcome::Unreadable);
        QCOMPARE(unpacked.messages, QStringList());
        QCOMPARE(unpacked.counted, 0);
        QCOMPARE(unpacked.text, QByteArray());
        QCOMPARE(indexing::invalidZipfileMessage("D:\\Texte\\Kaputt_Dokument.docx"),
                 QString("<D:\\Texte\\Kaputt_Dokument.docx> invalid zipfile"));
    }

    // Documents saved with a password give no text and no block; they are
    // named as such, apart from the broken ones.
    void passwordProtectedDocuments_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<Members>("members");
        QTest::addColumn<QByteArray>("notZip");
        QTest::addColumn<bool>("protectedByPassword");
        QTest::newRow("encrypted opendocument")
            << "Geheim.odt" << runfixture::kEncryptedOdt << QByteArray() << true;
        QTest::newRow("word file with a password")
            << "Geheim.docx" << Members{} << runfixture::passwordProtectedWordFile() << true;
        QTest::newRow("ole file of another kind")
            << "Alt.docx" << Members{}
            << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(2048, 'W') << false;
    }
    void passwordProtectedDocuments() {
        QFETCH(QString, fileName);
        QFETCH(Members, members);
        QFETCH(QByteArray, notZip);
        QFETCH(bool, protectedByPassword);
        const Unpacked unpacked = unpack(fileName, members, 1 << 20, true, notZip);
        QVERIFY(unpacked.outcome == (protectedByPassword
                                         ? indexing::UnpackOutcome::PasswordProtected
                                         : indexing::UnpackOutcome::Unreadable));
        QCOMPARE(unpacked.counted, 0);
        QCOMPARE(unpacked.text, QByteArray());
        QCOMPARE(indexing::passwordProtectedMessage("D:\\Texte\\Geheim.odt"),
                 QString("<D:\\Texte\\Geheim.odt> passwortgeschützt"));
    }

    void missingUnpackFolderSkipsTheDocument() {
        const Unpacked unpacked = unpack("Brief.odt", kOdt, 1 << 20, false);
        QVERIFY(unpacked.outcome == indexing::UnpackOutcome::NoUnpackFolder);
        QCOMPARE(unpacked.messages, QStringList());
        QCOMPARE(unpacked.counted, 0);
        QCOMPARE(unpacked.text, QByteArray());
    }

    // 64 MiB of text packed into a few hundred KiB: only the bound is read.
    void zipBombIsReadUpToTheBound() {
        QByteArray huge = kDecl + "<p>";
        huge.append(64 * 1024 * 1024, 'A');
        huge += "</p>";
        QTemporaryDir dir;
        QVERIFY(testsupport::makeZip(dir.filePath("bomb.zip"), {{"content.xml", huge}}));
        huge.clear();
        QVERIFY(QFileInfo(dir.filePath("bomb.zip")).size() < 1024 * 1024);
        indexing::ZipContainer archive;
        archive.setMemberSizeCap(1024 * 1024);
        QVERIFY(archive.open(dir.filePath("bomb.zip")));
        QList<int> members;
        archive.findFiles(QString(), "*.xml", true, members);
        QCOMPARE(members.size(), 1);
        const auto bytes = archive.readMember(members.first());
        QVERIFY(bytes);
        QCOMPARE(bytes->size(), 1024 * 1024);
        // The buffer grew to the bound and not past it.
        QCOMPARE(bytes->capacity(), 1024 * 1024);
        QCOMPARE(archive.cut(), quint8(indexing::MemberTooLarge));

        const Unpacked unpacked =
            unpack("Bombe.odt", {{"content.xml", kDecl + "<p>" + QByteArray(4 << 20, 'B')}}, 4096);
        QCOMPARE(unpacked.counted, 1);
        const QByteArray expectedText = QByteArray(4096 - kDecl.size() - 3, 'B') + "\r\n";
        QVERIFY(unpacked.text.endsWith(QByteArray(QByteArray("=\r\n") + expectedText)));
    }

    // A member may claim any size: what it claims decides nothing about the
    // memory its reading takes.
    void aClaimedSizeIsNotTrusted() {
        QTemporaryDir dir;
        const QString path = dir.filePath("luege.odt");
        const QByteArray member = kDecl + "<p>" + QByteArray("klein ").repeated(200) + "</p>";
        QVERIFY(testsupport::makeZip(path, {{"content.xml", member}}));
        QByteArray zip = testsupport::readAll(path);
        // 200 MiB in the local header and the central directory.
        char claimed[4];
        qToLittleEndian<quint32>(200u << 20, claimed);
        zip.replace(zip.indexOf("PK\x03\x04") + 22, 4, QByteArray(claimed, 4));
        zip.replace(zip.indexOf("PK\x01\x02") + 24, 4, QByteArray(claimed, 4));
        QVERIFY(testsupport::writeAll(path, zip));
        indexing::ZipContainer archive;
        QVERIFY(archive.open(path));
        QList<int> members;
        archive.findFiles(QString(), "*.xml", true, members);
        const auto bytes = archive.readMember(members.first());
        QVERIFY(bytes);
        QCOMPARE(*bytes, member);
        QVERIFY(bytes->capacity() <= 64 * 1024);
        QCOMPARE(archive.cut(), quint8(indexing::NotCut));
    }

    // What the container cap leaves out is told, and no member is read past it.
    void theContainerCapCutsTheLastMembers() {
        QTemporaryDir dir;
        const QString path = dir.filePath("gross.odt");
        QVERIFY(testsupport::makeZip(path, {{"a.xml", QByteArray(1000, 'a')},
                                            {"b.xml", QByteArray(1000, 'b')},
                                            {"c.xml", QByteArray(1000, 'c')}}));
        indexing::ZipContainer archive;
        archive.setContainerSizeCap(2500);
        QVERIFY(archive.open(path));
        QList<int> members;
        archive.findFiles(QString(), "*.xml", true, members);
        QCOMPARE(archive.readMember(members.at(0))->size(), 1000);
        QCOMPARE(archive.readMember(members.at(1))->size(), 1000);
        QCOMPARE(archive.cut(), quint8(indexing::NotCut));
        QCOMPARE(archive.readMember(members.at(2))->size(), 500);
        QCOMPARE(archive.cut(), quint8(indexing::ContainerTooLarge));
        QVERIFY(!archive.readMember(members.at(0)));
    }

    void cutMessages_data() {
        QTest::addColumn<int>("cut");
        QTest::addColumn<QString>("message");
        QTest::newRow("members") << int(indexing::TooManyMembers)
                                 << "<D:\\a.odt> nur zum Teil indiziert: mehr als 100000 Teile "
                                    "im Container";
        QTest::newRow("member and container")
            << int(indexing::MemberTooLarge | indexing::ContainerTooLarge)
            << "<D:\\a.odt> nur zum Teil indiziert: ein Teil größer als 256 MB, mehr als 1024 "
               "MB entpackt";
    }
    void cutMessages() {
        QFETCH(int, cut);
        QFETCH(QString, message);
        QCOMPARE(indexing::containerCutMessage("D:\\a.odt", quint8(cut), {}), message);
    }

    void hostileNamesAreConfined() {
        QTemporaryDir dir;
        QVERIFY(testsupport::makeZip(dir.filePath("c.zip"),
                                     {{"../../x.xml", ""},
                                      {"a/../../y.xml", ""},
                                      {"/abs/y.xml", ""},
                                      {"a\\b.xml", ""},
                                      {"./c.xml", ""},
                                      {QByteArray("d/").repeated(30000) + "tief.xml", ""}}));
        indexing::ZipContainer archive;
        QVERIFY(archive.open(dir.filePath("c.zip")));
        QList<int> found;
        archive.findFiles(QString(), "*.xml", true, found);
        QStringList names;
        for (int member : found)
            names.append(archive.memberName(member));
        QCOMPARE(names, (QStringList{"c.xml", "a/b.xml", "abs/y.xml"}));
    }

    void findFilesPatternsAreExactEndings() {
        QTemporaryDir dir;
        QVERIFY(testsupport::makeZip(dir.filePath("c.zip"), {{"b.HTM", ""},
                                                             {"a.html", ""},
                                                             {"sub/Z.htm", ""},
                                                             {"A.htm", ""},
                                                             {"sub/deep/c.htm", ""},
                                                             {"Sub2/d.htm", ""}}));
        indexing::ZipContainer archive;
        QVERIFY(archive.open(dir.filePath("c.zip")));
        QList<int> found;
        archive.findFiles(QString(), "*.htm", true, found);
        QStringList names;
        for (int member : found)
            names.append(archive.memberName(member));
        QCOMPARE(names,
                 (QStringList{"A.htm", "b.HTM", "sub/Z.htm", "sub/deep/c.htm", "Sub2/d.htm"}));
        found.clear();
        archive.findFiles("sub\\", "*.htm", false, found);
        QCOMPARE(found.size(), 1);
    }
};

QTEST_GUILESS_MAIN(ArchiveTest)
#include "archive_test.moc"
