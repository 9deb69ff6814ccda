#include "support/platform_doubles.h"
#include "test_support.h"

#include "index_messages.h"
#include "indexing/drive_list_filter.h"
#include "indexing/extension_slots.h"
#include "indexing/index_run.h"
#include "indexing/new_database_checks.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "textio/windows1252.h"

#include "support/name_messages.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using testsupport::readAll;

namespace {

const QByteArray kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

QByteArray odtContent(const QByteArray& text) {
    return kDecl + "<office:text><text:p>" + text + "</text:p></office:text>";
}

struct Interrupted {};

// A program directory and a drive D: with documents and a drive file list.
class Setup {
public:
    Setup() {
        QDir(program.path()).mkpath("Datenbank/Temp/ZipTemp");
        drives.setDrive(u'D', drive.path());
    }
    QString programDirectory() const { return program.path() + "/"; }
    QString database(const QString& file) const { return program.path() + "/Datenbank/" + file; }

    void addDocument(const QString& windowsPath, const QByteArray& text) {
        const QString native = *drives.toNative(windowsPath);
        QDir().mkpath(QFileInfo(native).path());
        testsupport::makeZip(native, {{"mimetype", "application/vnd.oasis.opendocument.text"},
                                      {"content.xml", odtContent(text)}});
    }
    void setDriveList(const QByteArray& lines) {
        testsupport::writeAll(database("Haupt_Dateinamen_Liste_Laufwerk_D.txt"), lines);
    }

    // Runs with a clock that stands still, so the log's time is 0:0:0.
    bool run(const QString& name, const QString& folder, const QString& patterns,
             qint64 splitLimit = indexing::kDefaultSplitLimit,
             const std::function<void(indexing::IndexRun&)>& onYield = {}) {
        prompts.shown.clear();
        platform::RunContext context;
        indexing::IndexRun* current = nullptr;
        context.onCheckpoint = [&] {
            if (onYield && current)
                onYield(*current);
        };
        indexing::IndexProgress progress;
        progress.status = [this](const QString& text) { statuses.append(text); };
        progress.notice = [this](const QString& text) { notices.append(text); };
        progress.caption = [this](const QString& text) { captions.append(text); };
        progress.message = testsupport::messagesTo(prompts);
        indexing::IndexRun run(programDirectory(), drives, settings, context, progress);
        current = &run;
        run.setSplitLimit(splitLimit);
        run.setClock([] { return qint64(5000); });
        const bool ok = run.run({name, folder, patterns, false});
        refusal = run.refusal();
        logLines = run.logLines();
        unreadable = run.unreadableDocuments();
        skipped = run.skippedDocuments();
        listed = run.listedFiles();
        indexed = run.indexedDocuments();
        return ok;
    }

    QTemporaryDir program;
    QTemporaryDir drive;
    platform::DriveMap drives;
    testsupport::MemorySettingsStore settings;
    testsupport::RecordingPrompts prompts;
    QStringList statuses;
    QStringList notices;
    QStringList captions;
    QString refusal;
    QStringList unreadable;
    QList<indexing::SkippedDocument> skipped;
    QStringList logLines;
    qint64 listed = 0;
    qint64 indexed = 0;
};

// The block of a document; the underline has one "=" per UTF-16 unit.
QByteArray block(const QByteArray& path, const QByteArray& text) {
    return " \r\n \r\n \r\n#" + path + "\r\n" + QByteArray(QString::fromUtf8(path).size(), '=') +
           "\r\n" + text + "\r\n";
}

} // namespace

class RunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void patternText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("slots");
        QTest::newRow("two") << "*.odt *.docx" << QStringList{"*.odt", "*.docx", "", "", ""};
        QTest::newRow("upper case from an update")
            << "*.ODT *.EPUB" << QStringList{"*.odt", "*.epub", "", "", ""};
        QTest::newRow("blank word takes a slot")
            << "*.odt * .docx" << QStringList{"*.odt", "", "*.docx", "", ""};
        QTest::newRow("more than five")
            << "*.a *.b *.c *.d *.e *.f" << QStringList{"*.a", "*.b", "*.c", "*.d", "*.e"};
    }
    void patternText() {
        QFETCH(QString, text);
        QFETCH(QStringList, slots);
        const auto parsed = indexing::listSlots(indexing::parsePatternText(text));
        QCOMPARE(QStringList(parsed.begin(), parsed.end()), slots);
    }

    void driveListFilter_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("exclusions");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("entries");
        const QStringList dittos{"C:\\A\\x.odt", "\" y.odt", "\" z.txt"};
        QTest::newRow("ditto lines")
            << "C:\\A" << QStringList() << dittos << QStringList{"C:\\A\\x.odt", "C:\\A\\y.odt"};
        // An exclusion leaves out exactly the files whose path holds it; the
        // ditto lines after an excluded line are files of their own.
        QTest::newRow("excluded full line keeps its dittos")
            << "C:\\A" << QStringList{"x.odt"} << dittos << QStringList{"C:\\A\\y.odt"};
        QTest::newRow("excluded ditto keeps the dittos after it")
            << "C:\\A" << QStringList{"y.odt"}
            << QStringList{"C:\\A\\x.odt", "\" y.odt", "\" w.odt", "C:\\A\\v.odt"}
            << QStringList{"C:\\A\\x.odt", "C:\\A\\w.odt", "C:\\A\\v.odt"};
        QTest::newRow("Geheim.odt alone, in any case")
            << "C:\\A" << QStringList{"geheim"}
            << QStringList{"C:\\A\\Brief.odt", "\" Geheim.odt", "\" Notizen.odt", "\" Rechnung.odt"}
            << QStringList{"C:\\A\\Brief.odt", "C:\\A\\Notizen.odt", "C:\\A\\Rechnung.odt"};
        QTest::newRow("a folder in the path excludes all of its files")
            << "C:\\" << QStringList{"\\privat\\"}
            << QStringList{"C:\\Privat\\a.odt", "\" b.odt", "C:\\Privatsache\\c.odt",
                           "C:\\B\\d.odt"}
            << QStringList{"C:\\Privatsache\\c.odt", "C:\\B\\d.odt"};
        QTest::newRow("a ditto file by directory and name together")
            << "C:\\" << QStringList{"a\\y"} << QStringList{"C:\\A\\x.odt", "\" y.odt", "\" z.odt"}
            << QStringList{"C:\\A\\x.odt", "C:\\A\\z.odt"};
        QTest::newRow("one of many exclusions")
            << "C:\\A" << QStringList{"aaa", "entwurf", "kopie", "x.od", "zzz"}
            << QStringList{"C:\\A\\x.odt", "\" Entwurf 3.odt", "\" y.odt", "\" Kopie von y.odt"}
            << QStringList{"C:\\A\\y.odt"};
        QTest::newRow("folder is a case-sensitive substring")
            << "D:\\Texte" << QStringList()
            << QStringList{"D:\\Texte\\a.odt", "D:\\Texte2\\b.odt", "D:\\texte\\c.odt"}
            << QStringList{"D:\\Texte\\a.odt", "D:\\Texte2\\b.odt"};
        QTest::newRow("lower-case folder takes none")
            << "d:\\texte" << QStringList() << QStringList{"D:\\Texte\\a.odt", "D:\\Texte2\\b.odt"}
            << QStringList();
        QTest::newRow("extension in any case, last dot after the folder")
            << "D:\\" << QStringList()
            << QStringList{"D:\\Brief.ODT", "D:\\v.odt\\readme", "D:\\t.odt.bak"}
            << QStringList{"D:\\Brief.ODT"};
        // Directory decoded from UTF-8 and stored double; the name stays as
        // its bytes were, so it becomes double UTF-8 when the list is written.
        QTest::newRow("utf-8 directory and name")
            << "D:\\Über" << QStringList()
            << QStringList{textio::ansiView("D:\\\xC3\x9C"
                                            "ber\\\xC3\xA4.odt")}
            << QStringList{textio::ansiView("D:\\\xC3\x9C"
                                            "ber\\\xC3\xA4.odt")};
    }
    void driveListFilter() {
        QFETCH(QString, folder);
        QFETCH(QStringList, exclusions);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, entries);
        indexing::DriveListFilter filter(folder, {"*.odt", "", "", "", ""}, exclusions);
        QStringList taken;
        for (const QString& line : lines)
            taken += filter.takeLine(line);
        QCOMPARE(taken, entries);
    }

    void newDatabaseChecks_data() {
        using Kind = indexing::RefusalKind;
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<bool>("update");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<Kind>>("kinds");
        QTest::newRow("all empty")
            << ""
            << ""
            << "" << false
            << QStringList{"Sie haben keinen Namen für die Datenbank angegeben",
                           "Sie haben keinen Pfad angegeben",
                           "Der angegebene Ordner existiert nicht",
                           "Sie haben keine Dateiendung angegeben"}
            << QList<Kind>{Kind::NoName, Kind::NoFolder, Kind::FolderMissing, Kind::NoPattern};
        QTest::newRow("missing folder")
            << "Neu"
            << "D:\\Fehlt"
            << "*.odt" << false << QStringList{"Der angegebene Ordner existiert nicht"}
            << QList<Kind>{Kind::FolderMissing};
        QTest::newRow("name taken in another case")
            << "test"
            << "D:\\Da"
            << "*.odt" << false
            << QStringList{"Dieser Name existiert schon! Geben Sie einen anderen ein!"}
            << QList<Kind>{Kind::NameTaken};
        QTest::newRow("update may reuse it") << "Test"
                                             << "D:\\Da"
                                             << "*.odt" << true << QStringList() << QList<Kind>();
        // What the name field lets through but no file could be named after.
        const QString invalid = "Der Name der Datenbank ist ungültig: Er darf weder \"/\" noch "
                                "\"\\\" noch \"..\" noch Steuerzeichen wie einen Zeilenumbruch "
                                "enthalten.";
        QTest::newRow("two dots") << ".."
                                  << "D:\\Da"
                                  << "*.odt" << false << QStringList{invalid}
                                  << QList<Kind>{Kind::InvalidName};
        QTest::newRow("line break, and no pattern")
            << "Neu\nZeile"
            << "D:\\Da"
            << "" << false << QStringList{invalid, "Sie haben keine Dateiendung angegeben"}
            << QList<Kind>{Kind::InvalidName, Kind::NoPattern};
        QTest::newRow("too long") << QString(219, u'x') << "D:\\Da"
                                  << "*.odt" << false
                                  << QStringList{testsupport::tooLongNameMessage()}
                                  << QList<Kind>{Kind::InvalidName};
        QTest::newRow("longer name is free") << "Test1"
                                             << "D:\\Da"
                                             << "*.odt" << false << QStringList() << QList<Kind>();
    }
    void newDatabaseChecks() {
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QFETCH(QString, patterns);
        QFETCH(bool, update);
        QFETCH(QStringList, messages);
        QFETCH(QList<indexing::RefusalKind>, kinds);
        const auto exists = [](const QString& f) { return f == "D:\\Da"; };
        const QList<indexing::Refusal> refusals =
            indexing::confirmationRefusals({name, folder, patterns, update}, exists, {"Test"});
        QStringList texts;
        QList<indexing::RefusalKind> refusedFor;
        for (const indexing::Refusal& refusal : refusals) {
            texts.append(refusal.message);
            refusedFor.append(refusal.kind);
        }
        QCOMPARE(texts, messages);
        QCOMPARE(refusedFor, kinds);
        QCOMPARE(indexing::hasRefusal(refusals, indexing::RefusalKind::NameTaken),
                 kinds.contains(indexing::RefusalKind::NameTaken));
    }

    void nameCleaning_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("message");
        QTest::newRow("colon") << "a:b"
                               << "ab"
                               << "Sie haben ungültige Zeichen eingegeben!";
        QTest::newRow("all forbidden") << "/\\*?\"<>|:^x"
                                       << "x"
                                       << "Sie haben ungültige Zeichen eingegeben!";
        QTest::newRow("greek becomes empty") << "αβ"
                                             << ""
                                             << "Sie haben ungültige Zeichen eingegeben!";
        QTest::newRow("umlaut and euro are fine") << "Bücher €"
                                                  << "Bücher €"
                                                  << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void nameCleaning() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, message);
        QCOMPARE(indexing::cleanDatabaseName(typed), kept);
        QCOMPARE(indexing::nameChangeMessage(typed), message);
    }

    void runBuildsTheDatabase() {
        Setup s;
        // Text that does not pack small, so the sizes add up to some KB.
        QByteArray noise;
        quint32 seed = 7;
        for (int i = 0; i < 1500; ++i) {
            seed = seed * 1103515245 + 12345;
            noise += char('a' + (seed >> 16) % 26);
        }
        s.addDocument("D:\\Texte\\Brief.ODT", "Lieber Hans</text:p><text:p>" + noise);
        s.addDocument("D:\\Texte\\b.docx", "Zweiter");
        s.addDocument("D:\\Texte2\\c.odt", "Dritter");
        testsupport::writeAll(*s.drives.toNative("D:\\Texte\\x.zip"), "PK");
        s.setDriveList("D:\\Texte\\Brief.ODT\r\n\" b.docx\r\n\" x.zip\r\n\" gone.odt\r\n"
                       "D:\\Texte2\\c.odt\r\nD:\\Andere\\d.odt\r\n");
        QVERIFY(s.run("Test", "D:\\Texte", "*.odt *.docx *.zip"));

        QCOMPARE(readAll(s.database("Test.dat")),
                 QByteArray("PFAD_UND_ENDUNGEN= D:\\Texte *.odt *.docx *.zip  \r\n"
                            "D:\\Texte\\Brief.ODT\r\nD:\\Texte\\b.docx\r\nD:\\Texte\\x.zip\r\n"
                            "D:\\Texte\\gone.odt\r\nD:\\Texte2\\c.odt\r\n"));
        // b.docx is an OpenDocument inside: the tree fallback still finds it.
        QCOMPARE(readAll(s.database("Test_UTF8Dokument.txt")),
                 block("D:\\Texte\\Brief.ODT", "Lieber Hans\r\n" + noise) +
                     block("D:\\Texte\\b.docx", "Zweiter") + block("D:\\Texte2\\c.odt", "Dritter"));
        // A listed document that has gone since the list was made is no
        // document in use: it is named, and the run goes on.
        QCOMPARE(s.prompts.texts(), QStringList());
        QCOMPARE(s.notices, QStringList{"<D:\\Texte\\gone.odt> nicht mehr vorhanden"});
        QCOMPARE(s.listed, 5);
        QCOMPARE(s.indexed, 3);
        qint64 size = 0;
        for (const char* path : {"D:\\Texte\\Brief.ODT", "D:\\Texte\\b.docx", "D:\\Texte2\\c.odt"})
            size += QFileInfo(*s.drives.toNative(path)).size();
        QVERIFY(size > 1024 && size <= 3 * 1024);
        QCOMPARE(s.logLines,
                 (QStringList{" ", "Dateien insgesamt: 5", "Konnten nicht indiziert werden: 2",
                              "3 ODT-Dateien wurden indiziert.   Zeit: 0:0:0  Gesamtgröße der "
                              "gepackten Datei(en) : " +
                                  QString::number(size / 1024) + " KB"}));
        QByteArray log = "\xFF\xFE";
        for (const QString& line : s.logLines)
            log += QByteArray(reinterpret_cast<const char*>(line.utf16()), line.size() * 2) +
                   QByteArray("\r\0\n\0", 4);
        QCOMPARE(readAll(s.database("Test.log")), log);
        QCOMPARE(s.statuses,
                 (QStringList{"Datenbank wird neu erstellt.", "Fertig mit der Indizierung."}));
    }

    // Broken containers neither stop the run nor wait for a click: each is
    // a notice under its own name, and the run lists them at its end.
    void brokenDocumentsAreListedAndLeaveNoTrace() {
        Setup clean;
        Setup broken;
        for (Setup* s : {&clean, &broken}) {
            s->addDocument("D:\\T\\a.odt", "Eins");
            s->addDocument("D:\\T\\c.docx", "Zwei");
            s->addDocument("D:\\T\\e.epub", "Drei");
        }
        clean.setDriveList("D:\\T\\a.odt\r\n\" c.docx\r\n\" e.epub\r\n");
        testsupport::writeAll(*broken.drives.toNative("D:\\T\\Kaputt_Dokument.docx"),
                              "PK\3\4 kaputt");
        testsupport::writeAll(*broken.drives.toNative("D:\\T\\leer.odt"), "");
        broken.setDriveList("D:\\T\\Kaputt_Dokument.docx\r\n\" a.odt\r\n\" c.docx\r\n"
                            "\" leer.odt\r\n\" e.epub\r\n");
        QVERIFY(clean.run("B", "D:\\T", "*.odt *.docx *.epub"));
        QVERIFY(broken.run("B", "D:\\T", "*.odt *.docx *.epub"));

        QCOMPARE(broken.prompts.texts(), QStringList());
        QCOMPARE(broken.notices, (QStringList{"<D:\\T\\Kaputt_Dokument.docx> invalid zipfile",
                                              "<D:\\T\\leer.odt> invalid zipfile"}));
        QCOMPARE(broken.unreadable,
                 (QStringList{"D:\\T\\Kaputt_Dokument.docx", "D:\\T\\leer.odt"}));
        QCOMPARE(readAll(broken.database("B_UTF8Dokument.txt")),
                 readAll(clean.database("B_UTF8Dokument.txt")));
        QCOMPARE(broken.indexed, 3);
        QCOMPARE(broken.logLines.at(2), QString("Konnten nicht indiziert werden: 2"));
        QCOMPARE(broken.statuses.last(), QString("Fertig mit der Indizierung."));
        QCOMPARE(clean.notices, QStringList());
    }

    // Between two good documents, one that cannot be opened: the run
    // neither stops nor waits (a FIFO would block open() for ever), asks
    // nobody to close a program, and names it with its reason.
    void documentsThatCannotBeOpenedAreNamedWithTheirReason_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("notice");
        using indexing::SkipReason;
        const QString gone = "<D:\\T\\b.odt> nicht mehr vorhanden";
        const QString unreadable = "<D:\\T\\b.odt> kann nicht gelesen werden";
        QTest::newRow("gone") << "gone" << int(SkipReason::Gone) << gone;
        QTest::newRow("folder") << "folder" << int(SkipReason::NotReadable) << unreadable;
#ifndef Q_OS_WIN
        // Windows has no FIFO and no mode bits; its links are shell files.
        QTest::newRow("fifo") << "fifo" << int(SkipReason::NotReadable) << unreadable;
        QTest::newRow("link to a fifo")
            << "link to fifo" << int(SkipReason::NotReadable) << unreadable;
        QTest::newRow("dangling link") << "dangling link" << int(SkipReason::Gone) << gone;
        if (::geteuid() != 0) // permissions do not hold for root
            QTest::newRow("no permission")
                << "no permission" << int(SkipReason::NotReadable) << unreadable;
#endif
    }
    void documentsThatCannotBeOpenedAreNamedWithTheirReason() {
        QFETCH(QString, kind);
        QFETCH(int, reason);
        QFETCH(QString, notice);
        for (const int threads : {1, 4}) {
            Setup s;
            s.addDocument("D:\\T\\a.odt", "Erstes");
            s.addDocument("D:\\T\\c.odt", "Drittes");
            const QString native = *s.drives.toNative("D:\\T\\b.odt");
            [[maybe_unused]] const QByteArray bytes = QFile::encodeName(native);
            if (kind == "folder") {
                QVERIFY(QDir().mkpath(native));
#ifndef Q_OS_WIN
            } else if (kind == "fifo") {
                QVERIFY(::mkfifo(bytes.constData(), 0644) == 0);
            } else if (kind == "link to fifo") {
                QVERIFY(::mkfifo(QFile::encodeName(s.drive.filePath("pipe")).constData(), 0644) ==
                        0);
                QVERIFY(QFile::link(s.drive.filePath("pipe"), native));
            } else if (kind == "dangling link") {
                QVERIFY(QFile::link(s.drive.filePath("nirgends.odt"), native));
            } else if (kind == "no permission") {
                s.addDocument("D:\\T\\b.odt", "Geheim");
                QVERIFY(::chmod(bytes.constData(), 0) == 0);
#endif
            }
            s.setDriveList("D:\\T\\a.odt\r\n\" b.odt\r\n\" c.odt\r\n");
            s.settings.write("Indizierung_Threads", QString::number(threads));
            QVERIFY(s.run("R", "D:\\T", "*.odt"));
            QCOMPARE(s.prompts.texts(), QStringList());
            QCOMPARE(s.notices, QStringList{notice});
            QCOMPARE(s.skipped.size(), 1);
            QCOMPARE(s.skipped.at(0).path, QString("D:\\T\\b.odt"));
            QCOMPARE(int(s.skipped.at(0).reason), reason);
            QCOMPARE(s.unreadable, QStringList());
            QCOMPARE(readAll(s.database("R_UTF8Dokument.txt")),
                     block("D:\\T\\a.odt", "Erstes") + block("D:\\T\\c.odt", "Drittes"));
            QCOMPARE(s.indexed, 2);
            QCOMPARE(s.statuses.last(), QString("Fertig mit der Indizierung."));
        }
    }

    void nonAsciiPathsAreStoredDoubleInTheList() {
        Setup s;
        s.addDocument("D:\\Bücher\\Übersicht.odt", "Inhalt");
        s.setDriveList("D:\\B\xC3\xBC"
                       "cher\\\xC3\x9C"
                       "bersicht.odt\r\n");
        QVERIFY(s.run("Ü", "D:\\Bücher", "*.odt"));
        QCOMPARE(readAll(s.database("Ü.dat")), QByteArray("PFAD_UND_ENDUNGEN= D:\\B\xC3\x83\xC2\xBC"
                                                          "cher *.odt    \r\nD:\\B\xC3\x83\xC2\xBC"
                                                          "cher\\\xC3\x83\xC5\x93"
                                                          "bersicht.odt\r\n"));
        QCOMPARE(readAll(s.database("Ü_UTF8Dokument.txt")), block("D:\\B\xC3\xBC"
                                                                  "cher\\\xC3\x9C"
                                                                  "bersicht.odt",
                                                                  "Inhalt"));
        QVERIFY(
            readAll(s.database("Ü_UTF8Dokument.txt")).contains("\r\n=======================\r\n"));
    }

    void splitRunMergesToTheSameBytes() {
        Setup whole;
        Setup split;
        QByteArray lines;
        for (int i = 0; i < 12; ++i) {
            QByteArray text;
            for (int p = 0; p < 5; ++p)
                text += "</text:p><text:p>Dokument " + QByteArray::number(i) + " Absatz " +
                        QByteArray::number(p);
            const QString path = QString("D:\\T\\d%1.odt").arg(i, 2, 10, QChar('0'));
            whole.addDocument(path, text);
            split.addDocument(path, text);
            lines += path.toUtf8() + "\r\n";
        }
        whole.setDriveList(lines);
        split.setDriveList(lines);
        QVERIFY(whole.run("S", "D:\\T", "*.odt"));
        QVERIFY(split.run("S", "D:\\T", "*.odt", 30));
        const QByteArray expected = readAll(whole.database("S_UTF8Dokument.txt"));
        QVERIFY(expected.contains("Dokument 11 Absatz 4"));
        QCOMPARE(readAll(split.database("S_UTF8Dokument.txt")), expected);
        // Parts beyond nine are numbered 910, 911, ... and merged after 9.
        const QStringList merged = split.captions.filter("Aufgeteilte Dateien zusammenfügen:  ");
        QVERIFY(whole.captions.filter("Aufgeteilte Dateien zusammenfügen:  ").isEmpty());
        const auto mergedAt = [&](const QString& part) {
            for (qsizetype i = 0; i < merged.size(); ++i) {
                if (merged.at(i).endsWith(QDir::separator() + part))
                    return i;
            }
            return qsizetype(-1);
        };
        QVERIFY2(mergedAt("S_UTF8Dokument9.txt") >= 0, qPrintable(merged.join(QLatin1Char('|'))));
        QVERIFY(mergedAt("S_UTF8Dokument910.txt") > mergedAt("S_UTF8Dokument9.txt"));
        // The parts lay in the run's own scratch folder, which went with it.
        QVERIFY(merged.first().startsWith("Aufgeteilte Dateien zusammenfügen:  " +
                                          QDir::toNativeSeparators(split.database("Temp/Lauf-"))));
        QCOMPARE(QDir(split.database("Temp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"ZipTemp"});
        QCOMPARE(readAll(split.database("S.dat")), readAll(whole.database("S.dat")));
    }

    // A run that dies anywhere (here: a yield that never returns) leaves the
    // database of the run before exactly as it was.
    void killedRunLeavesThePreviousDatabase() {
        for (int killAt : {1, 3, 8, 20}) {
            Setup s;
            s.addDocument("D:\\T\\a.odt", "Alt");
            s.setDriveList("D:\\T\\a.odt\r\n");
            QVERIFY(s.run("K", "D:\\T", "*.odt"));
            const QByteArray dat = readAll(s.database("K.dat"));
            const QByteArray text = readAll(s.database("K_UTF8Dokument.txt"));
            const QByteArray log = readAll(s.database("K.log"));
            QVERIFY(text.contains("Alt"));

            for (int i = 0; i < 6; ++i)
                s.addDocument(QString("D:\\T\\n%1.odt").arg(i), "Neu");
            s.setDriveList("D:\\T\\a.odt\r\n\" n0.odt\r\n\" n1.odt\r\n\" n2.odt\r\n\" n3.odt\r\n"
                           "\" n4.odt\r\n\" n5.odt\r\n");
            int calls = 0;
            bool interrupted = false;
            try {
                s.run("K", "D:\\T", "*.odt", 20, [&](indexing::IndexRun&) {
                    if (++calls == killAt)
                        throw Interrupted{};
                });
            } catch (const Interrupted&) {
                interrupted = true;
            }
            QVERIFY(interrupted);
            QCOMPARE(readAll(s.database("K.dat")), dat);
            QCOMPARE(readAll(s.database("K_UTF8Dokument.txt")), text);
            QCOMPARE(readAll(s.database("K.log")), log);
        }
    }

    // A file that cannot be written is reported, the run does not claim
    // success, and the database stays as it was.
    void writeFailureKeepsThePreviousDatabase() {
        Setup s;
        s.addDocument("D:\\T\\a.odt", "Alt");
        s.setDriveList("D:\\T\\a.odt\r\n");
        QVERIFY(s.run("W", "D:\\T", "*.odt"));
        const QByteArray text = readAll(s.database("W_UTF8Dokument.txt"));
        QVERIFY(QDir(s.database("Temp")).removeRecursively());
        QVERIFY(testsupport::writeAll(s.database("Temp"), "kein Ordner"));
        QVERIFY(!s.run("W", "D:\\T", "*.odt"));
        QVERIFY(!s.prompts.texts().isEmpty());
        QVERIFY(
            s.prompts.texts().last().startsWith("Die Datenbank \"W\" wurde nicht gespeichert. "));
        QCOMPARE(readAll(s.database("W_UTF8Dokument.txt")), text);
    }

    // A document list that cannot be staged is a failed read, not a
    // successful one, and nothing of the database changes.
    void unwritableDocumentListFailsTheRead() {
        Setup s;
        s.addDocument("D:\\T\\a.odt", "Alt");
        s.setDriveList("D:\\T\\a.odt\r\n");
        QVERIFY(s.run("L", "D:\\T", "*.odt"));
        const QByteArray dat = readAll(s.database("L.dat"));
        indexing::IndexProgress progress;
        progress.message = testsupport::messagesTo(s.prompts);
        indexing::IndexRun run(s.programDirectory(), s.drives, s.settings, {}, progress);
        QVERIFY(run.begin({"L", "D:\\T", "*.odt *.docx", false}));
        QVERIFY(QDir().mkpath(s.database("Temp/L.neu/L.dat")));
        QVERIFY(!run.readDriveList());
        QVERIFY(!run.driveListMissing());
        QVERIFY(run.writeError().startsWith("Die Datei "));
        QVERIFY(run.writeError().contains(" konnte nicht geschrieben werden: "));
        run.finish();
        QCOMPARE(s.prompts.texts().size(), 1);
        QVERIFY(s.prompts.texts().first().startsWith(
            "Die Datenbank \"L\" wurde nicht gespeichert. Die Datei "));
        QCOMPARE(readAll(s.database("L.dat")), dat);
    }

    // A second run of a database that a run is building is refused at once,
    // says why, and changes nothing; the first one ends whole.
    void aSecondRunOfOneDatabaseIsRefused() {
        Setup s;
        for (int i = 0; i < 4; ++i)
            s.addDocument(QString("D:\\T\\%1.odt").arg(i), "Text " + QByteArray::number(i));
        s.setDriveList("D:\\T\\0.odt\r\n\" 1.odt\r\n\" 2.odt\r\n\" 3.odt\r\n");
        QVERIFY(s.run("R", "D:\\T", "*.odt"));
        const QByteArray dat = readAll(s.database("R.dat"));
        const QByteArray text = readAll(s.database("R_UTF8Dokument.txt"));
        s.addDocument("D:\\T\\4.odt", "Neu");
        s.setDriveList("D:\\T\\0.odt\r\n\" 1.odt\r\n\" 2.odt\r\n\" 3.odt\r\n\" 4.odt\r\n");

        int yields = 0;
        bool secondRan = false;
        QVERIFY(
            s.run("R", "D:\\T", "*.odt", indexing::kDefaultSplitLimit, [&](indexing::IndexRun&) {
                if (++yields != 8)
                    return;
                testsupport::RecordingPrompts prompts;
                indexing::IndexProgress progress;
                progress.message = testsupport::messagesTo(prompts);
                indexing::IndexRun second(s.programDirectory(), s.drives, s.settings, {}, progress);
                const auto staged = QDir(s.database("Temp/R.neu")).entryList(QDir::Files);
                QVERIFY(!second.run({"R", "D:\\T", "*.odt", true}));
                QVERIFY(second.refused());
                QCOMPARE(second.refusal(),
                         QString("Die Datenbank \"R\" wird gerade von einem anderen "
                                 "Vorgang bearbeitet (Indizierung, Sortierung, "
                                 "Positionsliste oder Löschen). Es wurde nichts "
                                 "geändert. Bitte versuchen Sie es später noch einmal."));
                QCOMPARE(prompts.texts(), QStringList());
                QCOMPARE(readAll(s.database("R.dat")), dat);
                QCOMPARE(readAll(s.database("R_UTF8Dokument.txt")), text);
                QCOMPARE(QDir(s.database("Temp/R.neu")).entryList(QDir::Files), staged);
                secondRan = true;
            }));
        QVERIFY(secondRan);
        QVERIFY(readAll(s.database("R_UTF8Dokument.txt")).contains("Neu"));
        QVERIFY(readAll(s.database("R.dat")).endsWith("D:\\T\\4.odt\r\n"));
        QVERIFY(!QFile::exists(s.database("R.lock")));
    }

    // A run of another database in the middle of this one neither empties
    // this one's scratch nor anything else in Temp; both databases come out
    // whole.
    void runsOfTwoDatabasesKeepTheirScratch() {
        Setup s;
        QByteArray lines;
        for (int i = 0; i < 6; ++i) {
            s.addDocument(QString("D:\\T\\%1.odt").arg(i), "Text " + QByteArray::number(i));
            lines += (i == 0 ? "D:\\T\\" : "\" ") + QByteArray::number(i) + ".odt\r\n";
        }
        s.setDriveList(lines);
        testsupport::writeAll(s.database("Temp/fremd.txt"), "fremd");
        QVERIFY(s.run("Einzeln", "D:\\T", "*.odt", 20));
        const QByteArray expected = readAll(s.database("Einzeln_UTF8Dokument.txt"));

        int yields = 0;
        bool otherRan = false;
        QVERIFY(s.run("Eins", "D:\\T", "*.odt", 20, [&](indexing::IndexRun&) {
            if (++yields != 12)
                return;
            platform::RunContext context;
            indexing::IndexRun other(s.programDirectory(), s.drives, s.settings, context);
            other.setSplitLimit(20);
            QVERIFY(other.run({"Zwei", "D:\\T", "*.odt", false}));
            otherRan = true;
        }));
        QVERIFY(otherRan);
        QCOMPARE(readAll(s.database("Eins_UTF8Dokument.txt")), expected);
        QCOMPARE(readAll(s.database("Zwei_UTF8Dokument.txt")), expected);
        QCOMPARE(readAll(s.database("Temp/fremd.txt")), QByteArray("fremd"));
        QCOMPARE(QDir(s.database("Temp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"fremd.txt", "ZipTemp"}));
    }

    // A name that is not one a database can have is refused before any
    // file is touched.
    void aRunRefusesAHostileName() {
        Setup s;
        s.addDocument("D:\\T\\a.odt", "Text");
        s.setDriveList("D:\\T\\a.odt\r\n");
        testsupport::writeAll(s.database("Temp/fremd.txt"), "fremd");
        for (const QString& name :
             {QString("../Ausbruch"), QString("Neu\nZeile"), QString(230, u'x')}) {
            QVERIFY(!s.run(name, "D:\\T", "*.odt"));
            QVERIFY2(s.refusal.startsWith("Der Name der Datenbank ist "), qPrintable(s.refusal));
            QCOMPARE(QDir(s.database("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     (QStringList{"Haupt_Dateinamen_Liste_Laufwerk_D.txt", "Temp"}));
            QCOMPARE(QDir(s.database("Temp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     (QStringList{"fremd.txt", "ZipTemp"}));
            QVERIFY(!QFile::exists(s.programDirectory() + "Ausbruch.dat"));
        }
    }

    void abortSavesWhatWasGathered() {
        Setup s;
        for (int i = 0; i < 4; ++i)
            s.addDocument(QString("D:\\T\\%1.odt").arg(i), "Text " + QByteArray::number(i));
        s.setDriveList("D:\\T\\0.odt\r\n\" 1.odt\r\n\" 2.odt\r\n\" 3.odt\r\n");
        QVERIFY(
            s.run("A", "D:\\T", "*.odt", indexing::kDefaultSplitLimit, [](indexing::IndexRun& run) {
                if (run.indexedDocuments() == 2)
                    run.requestAbort();
            }));
        QCOMPARE(readAll(s.database("A_UTF8Dokument.txt")),
                 block("D:\\T\\0.odt", "Text 0") + block("D:\\T\\1.odt", "Text 1"));
        QVERIFY(readAll(s.database("A.dat")).endsWith("D:\\T\\3.odt\r\n"));
        QCOMPARE(s.logLines.at(2), QString("Konnten nicht indiziert werden: 2"));
        QCOMPARE(s.statuses.mid(1),
                 (QStringList{"Indizierung wurde abgebrochen! Die Daten werden gespeichert",
                              "Fertig mit der abgebrochenen Indizierung."}));
    }

    void missingDriveListWritesNoDatabase() {
        Setup s;
        QVERIFY(!s.run("M", "D:\\T", "*.odt"));
        QVERIFY(!QFile::exists(s.database("M.dat")));
        QVERIFY(!QFile::exists(s.database("M_UTF8Dokument.txt")));
    }

    void driveListOfALowerCaseLetterIsFound() {
        Setup s;
        s.addDocument("D:\\T\\a.odt", "Klein");
        testsupport::writeAll(s.database("Haupt_Dateinamen_Liste_Laufwerk_d.txt"),
                              "D:\\T\\a.odt\r\n");
        QVERIFY(s.run("L", "D:\\T", "*.odt"));
        QVERIFY(readAll(s.database("L_UTF8Dokument.txt")).contains("Klein"));
    }

    void driveListFromTheControlDirectory() {
        Setup s;
        QTemporaryDir control;
        QDir(control.path()).mkpath("Datenbank");
        s.addDocument("D:\\T\\a.odt", "Kontrolle");
        testsupport::writeAll(control.path() + "/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt",
                              "D:\\T\\a.odt\r\n");
        s.settings.write("Trovex_Control", control.path());
        QVERIFY(s.run("C", "D:\\T", "*.odt"));
        QVERIFY(readAll(s.database("C_UTF8Dokument.txt")).contains("Kontrolle"));
    }

    void storedInputsForAnUpdate() {
        Setup s;
        s.addDocument("D:\\T\\a.odt", "x");
        s.setDriveList("D:\\T\\a.odt\r\n");
        QVERIFY(s.run("U", "D:\\T", "*.odt *.docx"));
        const auto stored = indexing::readStoredRunInputs(s.programDirectory(), "U");
        QVERIFY(stored);
        QCOMPARE(stored->folder, QString("D:\\T"));
        QCOMPARE(stored->patternText, QString("*.ODT *.DOCX   "));
        QVERIFY(!indexing::readStoredRunInputs(s.programDirectory(), "Fehlt"));
    }
};

QTEST_GUILESS_MAIN(RunTest)
#include "run_test.moc"
