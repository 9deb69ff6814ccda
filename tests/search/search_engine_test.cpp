#include "search/document_path.h"
#include "search/search_engine.h"
#include "support/platform_doubles.h"

#include "search_notices.h"
#include "test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A program directory with one database "Texte" whose documents live on
// drive D:, mapped to <program>/D.
struct EngineFixture {
    QTemporaryDir program;
    platform::DriveMap drives;
    testsupport::RecordingPrompts prompts;
    platform::RunContext run;
    search::SearchSession session;
    QStringList opened;

    EngineFixture() { drives.setDrive(QLatin1Char('D'), driveDirectory()); }
    QString directory() const { return program.path() + QLatin1Char('/'); }
    QString driveDirectory() const { return program.path() + QStringLiteral("/D"); }
    QString page(int pass) const {
        return QDir::toNativeSeparators(directory() + (pass == 1
                                                           ? QStringLiteral("TX_Ergebnis.htm")
                                                           : QStringLiteral("TX_Ergebnis2.htm")));
    }
    void createDocument(const QString& relativeNativePath) const {
        writeBytes(driveDirectory() + QLatin1Char('/') + relativeNativePath, "PK");
    }
    void writeDatabase(const QList<TestDocument>& documents) const {
        writeTestDatabase(program.path(), QStringLiteral("Texte"), QStringLiteral("D:\\Texte"),
                          documents);
    }
    search::SearchOutcome search(const QString& text, bool caseSensitive = false,
                                 bool wholeWords = false, bool foldUmlauts = false) {
        search::SearchRequest request;
        request.databaseName = QStringLiteral("Texte");
        request.searchText = text;
        request.caseSensitive = caseSensitive;
        request.wholeWords = wholeWords;
        request.foldUmlauts = foldUmlauts;
        search::SearchEnvironment environment;
        environment.programDirectory = directory();
        environment.drives = &drives;
        environment.run = &run;
        environment.openPage = [this](const QString& path) { opened.append(path); };
        environment.notice = testsupport::noticesTo(prompts, directory());
        return search::searchDatabase(request, session, environment);
    }
    // Windows links name the drive itself; elsewhere the folder the drive
    // is mapped to.
    QString link(const QString& relative) const {
#ifdef Q_OS_WIN
        return QStringLiteral("file:///D:/") + relative;
#else
        return QStringLiteral("file://") + driveDirectory() + QLatin1Char('/') + relative;
#endif
    }
};

QString dots(int count) {
    return QString(count, QLatin1Char('.'));
}

QStringList repeated(const QString& line, int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(line);
    return lines;
}

} // namespace

class SearchEngineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Pass 2 writes its own page unless it found exactly what page 1 lists:
    // the same number of lines is not enough when a count grew.
    void secondPageOnlyForNewResults_data() {
        QTest::addColumn<int>("inFirst");
        QTest::addColumn<int>("inSecond");
        QTest::addColumn<QStringList>("page1");
        QTest::addColumn<QStringList>("page2"); // empty: no second page
        QTest::newRow("one document, more hits in pass 2: second page with the full count")
            << 12 << 0 << QStringList{QStringLiteral("10 mal in: Texte/a.odt")}
            << QStringList{QStringLiteral("12 mal in: Texte/a.odt")};
        QTest::newRow("same documents, same counts: no second page")
            << 5 << 3
            << QStringList{QStringLiteral("3 mal in: Texte/b.odt"),
                           QStringLiteral("5 mal in: Texte/a.odt")}
            << QStringList{};
        QTest::newRow("a second document appears: second page")
            << 10 << 2 << QStringList{QStringLiteral("10 mal in: Texte/a.odt")}
            << QStringList{QStringLiteral("2 mal in: Texte/b.odt"),
                           QStringLiteral("10 mal in: Texte/a.odt")};
    }
    void secondPageOnlyForNewResults() {
        QFETCH(int, inFirst);
        QFETCH(int, inSecond);
        QFETCH(QStringList, page1);
        QFETCH(QStringList, page2);
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        f.createDocument(QStringLiteral("Texte/b.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), repeated("ein Haus", inFirst)},
                         {QStringLiteral("D:\\Texte\\b.odt"), repeated("HAUS", inSecond)}});
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        auto links = [&](QStringList lines) {
            for (QString& line : lines)
                line.replace(QStringLiteral("Texte/"), f.link(QStringLiteral("Texte/")));
            return lines;
        };
        // As the page writes a result line: count, then the link.
        auto onPage = [](const QString& line) -> QString {
            return QLatin1Char('>') + QString(line).replace(QStringLiteral(" mal in: "),
                                                            QStringLiteral(" mal in: <a href=\""));
        };
        const QString first = QString::fromUtf8(readAll(f.page(1)));
        for (const QString& line : links(page1))
            QVERIFY2(first.contains(onPage(line)), qPrintable(line));
        QCOMPARE(first.count(QStringLiteral(" mal in: <a href")), page1.size());
        QVERIFY(!outcome.noHits);
        if (page2.isEmpty()) {
            QVERIFY(!QFile::exists(f.page(2)));
            QCOMPARE(f.opened, QStringList{f.page(1)});
            QCOMPARE(outcome.lastPagePass, 1);
            QCOMPARE(outcome.lastPageResultLines, links(page1));
        } else {
            QCOMPARE(f.opened, QStringList({f.page(1), f.page(2)}));
            QCOMPARE(outcome.lastPagePass, 2);
            QCOMPARE(outcome.lastPageResultLines, links(page2));
            const QString second = QString::fromUtf8(readAll(f.page(2)));
            for (const QString& line : links(page2))
                QVERIFY2(second.contains(onPage(line)), qPrintable(line));
            QVERIFY(second.contains(QStringLiteral("Fertig mit der Suche.")));
        }
    }

    // A page that is final says "Fertig mit der Suche." at its top and end,
    // as the second page does: the first page when its pass found all there
    // is, or when the second pass let it stand.
    void finalPageSaysSo_data() {
        QTest::addColumn<int>("hits");
        QTest::addColumn<bool>("firstFinal");
        QTest::addColumn<bool>("secondPage");
        QTest::newRow("few hits: the first page is final at once") << 3 << true << false;
        QTest::newRow("ten hits: the first page is made final after the second pass")
            << 10 << true << false;
        QTest::newRow("twelve hits: the second page is the final one") << 12 << false << true;
    }
    void finalPageSaysSo() {
        QFETCH(int, hits);
        QFETCH(bool, firstFinal);
        QFETCH(bool, secondPage);
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), repeated("ein Haus", hits)}});
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        QVERIFY(!outcome.noHits);
        const QString goesOn = QStringLiteral(
            "...die Suche geht weiter! <br> Wenn es noch mehr Fundstellen gibt, erscheint eine "
            "neue Ergebnis-Seite.\r\n");
        const QString finalTop = QStringLiteral("<font color=\"#000000\">Fertig mit der Suche.\r\n"
                                                "<br><br>\r\n<font color=\"#000000\">");
        const QString finalEnd = QStringLiteral(
            "<br><br>\r\n<br>\r\n<font color=\"#000000\">Fertig mit der Suche.\r\n<br><br>\r\n"
            "</font>\r\n</body>\r\n</html>\r\n");
        const QString first = QString::fromUtf8(readAll(f.page(1)));
        QCOMPARE(first.contains(finalTop), firstFinal);
        QCOMPARE(first.endsWith(finalEnd), firstFinal);
        QCOMPARE(first.contains(goesOn), !firstFinal);
        QCOMPARE(first.contains(QStringLiteral("...wenn keine Fundstellen")), !firstFinal);
        QCOMPARE(QFile::exists(f.page(2)), secondPage);
        // Each page is opened once, a page made final in place not again.
        QCOMPARE(f.opened,
                 secondPage ? QStringList({f.page(1), f.page(2)}) : QStringList{f.page(1)});
        if (secondPage) {
            const QString second = QString::fromUtf8(readAll(f.page(2)));
            QVERIFY(second.contains(finalTop));
            QVERIFY(second.endsWith(finalEnd));
        }
    }

    // The piece of text under a result line is cut from the hit's own
    // document. Three documents of filler lines (98 dots and CR LF) around
    // the words searched for.
    void contextStaysInsideItsDocument_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<QStringList>("documents"); // in page order
        QTest::addColumn<QStringList>("contexts");  // as the page shows them
        const QString d = dots(98) + QStringLiteral(" \n");
        QTest::newRow("middle of a document: the whole window, as ever")
            << QStringLiteral("Mitte") << false << QStringList{QStringLiteral("eins.odt")}
            << QStringList{dots(92) + QStringLiteral(" \n") + d +
                           QStringLiteral("Die <b>Mitte</b> liegt hier. \n") + d + d + dots(81) +
                           QStringLiteral("<br><br>")};
        QTest::newRow("end of a document and start of the next")
            << QStringLiteral("Haus") << false
            << QStringList{QStringLiteral("zwei.odt"), QStringLiteral("eins.odt")}
            << QStringList{QStringLiteral("Ein <b>Haus</b> am Anfang. \n") + d + d + dots(83) +
                               QStringLiteral("<br><br>"),
                           dots(83) + QStringLiteral(" \n") + d +
                               QStringLiteral("Am Ende kein <b>Haus</b>boot. \n  \n  \n  \n"
                                              "<br><br>")};
        QTest::newRow("last document: the window ends at the end of the file")
            << QStringLiteral("Schluss") << false << QStringList{QStringLiteral("drei.odt")}
            << QStringList{dots(74) + QStringLiteral(" \n") + d + d + d + d +
                           QStringLiteral("Zuletzt der <b>Schluss</b>. \n<br><br>")};
        // Whole words still look at the whole window: the Haus of zwei.odt
        // has the Hausboot of eins.odt in front of it and does not count.
        QTest::newRow("whole words decided on the whole window")
            << QStringLiteral("Haus") << true << QStringList{} << QStringList{};
    }
    void contextStaysInsideItsDocument() {
        QFETCH(QString, text);
        QFETCH(bool, wholeWords);
        QFETCH(QStringList, documents);
        QFETCH(QStringList, contexts);
        EngineFixture f;
        for (const char* name : {"eins", "zwei", "drei"})
            f.createDocument(QStringLiteral("Texte/%1.odt").arg(QLatin1String(name)));
        const QString filler = dots(98);
        f.writeDatabase({{QStringLiteral("D:\\Texte\\eins.odt"),
                          {filler, filler, filler, QStringLiteral("Die Mitte liegt hier."), filler,
                           filler, filler, filler, QStringLiteral("Am Ende kein Hausboot.")}},
                         {QStringLiteral("D:\\Texte\\zwei.odt"),
                          {QStringLiteral("Ein Haus am Anfang."), filler, filler, filler, filler}},
                         {QStringLiteral("D:\\Texte\\drei.odt"),
                          {filler, filler, filler, filler, filler, filler,
                           QStringLiteral("Zuletzt der Schluss.")}}});
        const search::SearchOutcome outcome = f.search(text, false, wholeWords);
        QCOMPARE(outcome.lastPageResultLines.size(), documents.size());
        const QStringList page =
            QString::fromUtf8(readAll(f.page(1))).split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < documents.size(); ++i) {
            const QString link = f.link(QStringLiteral("Texte/") + documents.at(i));
            QCOMPARE(outcome.lastPageResultLines.at(i), QStringLiteral("1 mal in: ") + link);
            const QString head = QStringLiteral("<font color=\"#000000\">1 mal in: <a href=\"") +
                                 link + QStringLiteral("\" target=\"_blank\">") + link +
                                 QStringLiteral("</a><br><font color=\"#000080\">");
            QCOMPARE(page.count(head + contexts.at(i)), 1);
        }
        if (documents.isEmpty())
            QVERIFY(page.contains(QStringLiteral(
                "<br>Suchbegriff: <font color=\"#cc0000\">\"<u>Haus\"</u><font color=\"#000000\"> "
                "wurde NICHT gefunden:<br>")));
    }

    // A line of harmlos.odt that reads like a document marker must not make
    // the hits after it Kuendigung.odt's: a marker counts only where the
    // writer put one, at the start of a block header.
    void textLinesAreNeverDocumentMarkers_data() {
        QTest::addColumn<QStringList>("lines"); // of harmlos.odt, between two hits
        const QString fake = QStringLiteral("#D:\\Privat\\Kuendigung.odt");
        QTest::newRow("a line in the marker's form (a database written before)")
            << QStringList{fake};
        QTest::newRow("lower-case drive letter")
            << QStringList{QStringLiteral("#d:\\Privat\\x.odt")};
        QTest::newRow("as the writer writes it now, a blank in front")
            << QStringList{QLatin1Char(' ') + fake};
        QTest::newRow("inside a line") << QStringList{QStringLiteral("siehe ") + fake};
        QTest::newRow("three blank lines before it, but no underline")
            << QStringList{QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "), fake};
        QTest::newRow("an underline, but no blank lines before it")
            << QStringList{fake, QString(25, QLatin1Char('='))};
    }
    void textLinesAreNeverDocumentMarkers() {
        QFETCH(QStringList, lines);
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/harmlos.odt"));
        f.createDocument(QStringLiteral("Privat/Kuendigung.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\harmlos.odt"),
                          QStringList{QStringLiteral("Vorher ein Haus.")} + lines +
                              QStringList{QStringLiteral("Nachher ein Haus.")}},
                         {QStringLiteral("D:\\Texte\\b.odt"), {QStringLiteral("Kein Treffer.")}}});
        const search::SearchOutcome outcome = f.search(QStringLiteral("haus"));
        QCOMPARE(outcome.lastPageResultLines,
                 QStringList{QStringLiteral("2 mal in: ") +
                             f.link(QStringLiteral("Texte/harmlos.odt"))});
        // The context is the document's own text, the fake line included.
        QVERIFY(QString::fromUtf8(readAll(f.page(1))).contains(QStringLiteral("Privat")));
    }

    void documentsListedFromTheEndOfTheStore() {
        EngineFixture f;
        QList<TestDocument> documents;
        for (const char* name : {"eins", "zwei", "drei"}) {
            f.createDocument(QStringLiteral("Texte/%1.odt").arg(QLatin1String(name)));
            documents.append({QStringLiteral("D:\\Texte\\%1.odt").arg(QLatin1String(name)),
                              {QStringLiteral("Ein Haus.")}});
        }
        f.writeDatabase(documents);
        // An occurrence in front of the first document belongs to none.
        const QString store = f.directory() + QStringLiteral("Datenbank/Texte_UTF8Dokument.txt");
        writeBytes(store, "Haus\r\n" + readAll(store));
        const search::SearchOutcome outcome = f.search(QStringLiteral("haus"));
        QCOMPARE(
            outcome.lastPageResultLines,
            QStringList({QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/drei.odt")),
                         QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/zwei.odt")),
                         QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/eins.odt"))}));
        QVERIFY(f.prompts.shown.isEmpty());
    }

    void caseAndWholeWordRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<int>("count"); // 0: not found
        QTest::newRow("folded") << QStringLiteral("Haus") << false << false << 4;
        QTest::newRow("case-sensitive") << QStringLiteral("Haus") << true << false << 3;
        QTest::newRow("whole words: Haus1 counts, Hausbau not")
            << QStringLiteral("haus") << false << true << 3;
        QTest::newRow("umlaut does not fold") << QStringLiteral("Äpfel") << false << false << 0;
        QTest::newRow("umlaut exact") << QStringLiteral("äpfel") << false << false << 1;
    }
    void caseAndWholeWordRules() {
        QFETCH(QString, text);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, wholeWords);
        QFETCH(int, count);
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        // Each occurrence on its own, more than 500 bytes apart, so every
        // whole-word test sees only its own occurrence.
        const QString gap = QString(600, QLatin1Char('.'));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"),
                          {QStringLiteral("Haus1"), gap, QStringLiteral("HAUS"), gap,
                           QStringLiteral("der Hausbau"), gap, QStringLiteral("ein Haus."), gap,
                           QStringLiteral("äpfel")}}});
        const search::SearchOutcome outcome = f.search(text, caseSensitive, wholeWords);
        if (count == 0) {
            QVERIFY(outcome.lastPageResultLines.isEmpty());
            QVERIFY(outcome.noHits);
            QVERIFY(readAll(f.page(1)).contains("wurde NICHT gefunden"));
            QVERIFY(!QFile::exists(f.page(2)));
        } else {
            QCOMPARE(outcome.lastPageResultLines,
                     QStringList{QString::number(count) + QStringLiteral(" mal in: ") +
                                 f.link(QStringLiteral("Texte/a.odt"))});
        }
    }

    // The umlaut option folds the two-byte letters in the scan and in the
    // whole-word test, only with the case ignored.
    void umlautOption_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<bool>("foldUmlauts");
        QTest::addColumn<int>("count");
        QTest::newRow("on: every case of the umlaut")
            << QStringLiteral("Äpfel") << false << false << true << 3;
        QTest::newRow("off: only the umlaut as typed")
            << QStringLiteral("Äpfel") << false << false << false << 2;
        QTest::newRow("on, case-sensitive: exact only")
            << QStringLiteral("Äpfel") << true << false << true << 1;
        QTest::newRow("on, whole words: Äpfelbaum does not count")
            << QStringLiteral("äpfel") << false << true << true << 2;
        QTest::newRow("off, whole words: an umlaut text always passes the test")
            << QStringLiteral("äpfel") << false << true << false << 1;
    }
    void umlautOption() {
        QFETCH(QString, text);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, wholeWords);
        QFETCH(bool, foldUmlauts);
        QFETCH(int, count);
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        const QString gap = dots(600);
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"),
                          {QStringLiteral("Die äpfel."), gap, QStringLiteral("ÄPFEL!"), gap,
                           QStringLiteral("Ein Äpfelbaum.")}}});
        const search::SearchOutcome outcome =
            f.search(text, caseSensitive, wholeWords, foldUmlauts);
        QCOMPARE(outcome.lastPageResultLines,
                 QStringList{QString::number(count) + QStringLiteral(" mal in: ") +
                             f.link(QStringLiteral("Texte/a.odt"))});
    }

    void umlautOptionMarksTheTermOnThePage() {
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), {QStringLiteral("gegenüber")}}});
        QVERIFY(f.search(QStringLiteral("ÜBER")).lastPageResultLines.isEmpty());
        const search::SearchOutcome outcome = f.search(QStringLiteral("ÜBER"), false, false, true);
        QCOMPARE(outcome.lastPageResultLines.size(), 1);
        QVERIFY(QString::fromUtf8(readAll(f.page(1)))
                    .contains(QStringLiteral("gegen<b>über</b> \n<br><br>\r\n")));
    }

    void umlautSettingValue_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << QStringLiteral("1") << true;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("missing: on for a new user") << QString() << true;
        QTest::newRow("anything else") << QStringLiteral("ja") << false;
    }
    void umlautSettingValue() {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        testsupport::MemorySettingsStore settings;
        if (!stored.isNull())
            settings.write(QStringLiteral("Umlaute_Gross_Klein_egal"), stored);
        QCOMPARE(search::foldUmlautsSetting(settings), on);
    }

    void longTextIsRetriedWithoutItsFirstFourBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        const QString stored = QStringLiteral("die Wohnung im zweiten Stock rechts oben!"); // 41
        QTest::newRow("41 bytes") << QStringLiteral("1.) ") + stored.mid(4) << true;
        QTest::newRow("40 bytes") << QStringLiteral("1.) ") + stored.mid(5) << false;
    }
    void longTextIsRetriedWithoutItsFirstFourBytes() {
        QFETCH(QString, text);
        QFETCH(bool, found);
        QCOMPARE(text.toUtf8().size(), found ? 41 : 40);
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"),
                          {QStringLiteral("die Wohnung im zweiten Stock rechts oben!")}}});
        const search::SearchOutcome outcome = f.search(text);
        QCOMPARE(outcome.noHits, !found);
        QCOMPARE(outcome.lastPageResultLines.size(), found ? 1 : 0);
    }

    void missingAndMovedDocuments() {
        EngineFixture f;
        const QString otherDrive = f.program.path() + QStringLiteral("/E");
        f.drives.setDrive(QLatin1Char('E'), otherDrive);
        f.createDocument(QStringLiteral("Texte/da.odt"));
        writeBytes(otherDrive + QStringLiteral("/Alt/umgezogen.odt"), "PK");
        f.writeDatabase({{QStringLiteral("D:\\Texte\\da.odt"), {QStringLiteral("Haus")}},
                         {QStringLiteral("D:\\Texte\\fehlt.odt"), {QStringLiteral("Haus")}},
                         {QStringLiteral("D:\\Alt\\umgezogen.odt"), {QStringLiteral("Haus")}},
                         {QStringLiteral("D:\\Texte\\auch weg.odt"), {QStringLiteral("Haus")}}});
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        QCOMPARE(outcome.lastPageResultLines,
                 QStringList(
                     {QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/auch weg.odt")),
#ifdef Q_OS_WIN
                      QStringLiteral("1 mal in: file:///E:/Alt/umgezogen.odt"),
#else
                      QStringLiteral("1 mal in: file://") + otherDrive +
                          QStringLiteral("/Alt/umgezogen.odt"),
#endif
                      QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/fehlt.odt")),
                      QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/da.odt"))}));
        QCOMPARE(f.prompts.texts(),
                 QStringList{QStringLiteral(
                     "Die original ODT-Datei wurden nicht gefunden.\r\nVerweise (Links) auf diese "
                     "HTML-Dateien in der Suchergebnisseite funktionieren dadurch nicht.")});
        QCOMPARE(f.prompts.shown.at(0).kind, testsupport::RecordingPrompts::Kind::Information);
    }

    // Pass 2 shows, for a document already seen in pass 1, the context that
    // pass 1 took (the hit context list lives for the whole search).
    void secondPageKeepsFirstPassContexts() {
        EngineFixture f;
        for (const char* name : {"a", "b", "c"})
            f.createDocument(QStringLiteral("Texte/%1.odt").arg(QLatin1String(name)));
        const QString gap = QString(600, QLatin1Char('.'));
        f.writeDatabase(
            {{QStringLiteral("D:\\Texte\\a.odt"), repeated("Haus", 9)},
             {QStringLiteral("D:\\Texte\\b.odt"),
              {gap, QStringLiteral("Haus Eins"), gap, QStringLiteral("Haus Zwei"), gap}},
             {QStringLiteral("D:\\Texte\\c.odt"), {QStringLiteral("Haus")}}});
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        QCOMPARE(outcome.lastPagePass, 2);
        const QString second = QString::fromUtf8(readAll(f.page(2)));
        const qsizetype lineOfB = second.indexOf(QStringLiteral(">2 mal in: "));
        QVERIFY(lineOfB > 0);
        const QString contextOfB =
            second.mid(lineOfB, second.indexOf(QStringLiteral("\r\n"), lineOfB) - lineOfB);
        QVERIFY(contextOfB.contains(QStringLiteral("Eins")));
        QVERIFY(!contextOfB.contains(QStringLiteral("Zwei")));
    }

    void cancelWritesCancelPagesForBothPasses() {
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), repeated("Haus", 5)}});
        int checkpoints = 0;
        f.run.onCheckpoint = [&] {
            if (++checkpoints == 4)
                f.run.cancel.requestStop();
        };
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        QVERIFY(outcome.cancelled);
        for (int pass : {1, 2}) {
            const QByteArray page = readAll(f.page(pass));
            QVERIFY(page.contains("<br>Benutzer hat die Suche abgebrochen!<br><br>\r\n<br>\r\n"
                                  "Benutzer hat die Suche abgebrochen!\r\n<br><br>\r\n</font>"));
            QVERIFY(!page.contains("mal in:"));
        }
        QVERIFY(outcome.lastPageResultLines.isEmpty());
    }

    void emptySearchTextWritesNoPage() {
        EngineFixture f;
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), {QStringLiteral("Haus")}}});
        const search::SearchOutcome outcome = f.search(QStringLiteral(" \t "));
        QVERIFY(outcome.emptySearchText);
        QCOMPARE(f.prompts.texts(),
                 QStringList{QStringLiteral("Sie haben keinen Suchtext eingegeben!")});
        QVERIFY(!QFile::exists(f.page(1)));
    }

    void pathEntryWritesNoPage() {
        EngineFixture f;
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), {QStringLiteral("Haus")}}});
        search::SearchRequest request;
        request.databaseName = QStringLiteral("Texte");
        request.searchText = QStringLiteral("Haus");
        request.pathOpened = true;
        QList<int> passes;
        search::SearchEnvironment environment;
        environment.programDirectory = f.directory();
        environment.drives = &f.drives;
        environment.run = &f.run;
        environment.passStarted = [&](int pass) { passes.append(pass); };
        const search::SearchOutcome outcome =
            search::searchDatabase(request, f.session, environment);
        QVERIFY(!outcome.emptySearchText);
        QCOMPARE(outcome.lastPagePass, 0);
        QVERIFY(!QFile::exists(f.page(1)));
        QCOMPARE(passes, QList<int>({1, 2}));
    }

    // A document found neither on its drive nor on another one is looked
    // for below the program directory (documents copied beside the program).
    void documentBesideTheProgram() {
        EngineFixture f;
#ifdef Q_OS_WIN
        // The temporary program directory is a Windows path already.
        const QString programWindows = QDir::toNativeSeparators(f.program.path());
#else
        // The temporary program directory on the default drive Z: = "/".
        const QString programWindows =
            QStringLiteral("Z:") +
            QString(f.program.path()).replace(QLatin1Char('/'), QLatin1Char('\\'));
#endif
        QCOMPARE(
            search::driveLetterSearch(QStringLiteral(":\\Texte\\weg.odt"), f.directory(), f.drives),
            programWindows + QStringLiteral("\\Texte\\weg.odt"));
        writeBytes(f.directory() + QStringLiteral("Texte/hier.odt"), "PK");
        const search::ResolvedPath resolved = search::resolveDocumentPath(
            QStringLiteral("D:\\Texte\\hier.odt"), f.directory(), f.drives);
        QVERIFY(resolved.found);
        QCOMPARE(resolved.path, programWindows + QStringLiteral("\\Texte\\hier.odt"));
#ifdef Q_OS_WIN
        QCOMPARE(search::documentLink(resolved.path, f.drives),
                 QStringLiteral("file:///") + f.directory() + QStringLiteral("Texte/hier.odt"));
#else
        QCOMPARE(search::documentLink(resolved.path, f.drives),
                 QStringLiteral("file://") + f.directory() + QStringLiteral("Texte/hier.odt"));
#endif
    }

    // Links percent-encode what would end or change a URL's path; blanks and
    // umlauts keep their bytes. A drive without a mapping keeps the Windows
    // form, as every link on Windows does.
    void linksEncodeWhatAPathMayNotHold_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("link");
        QTest::newRow("ordinary") << QStringLiteral("Q:\\Briefe\\Gänse füße.odt")
                                  << QStringLiteral("file:///Q:/Briefe/Gänse füße.odt");
        QTest::newRow("fragment") << QStringLiteral("Q:\\Rechnung #12.odt")
                                  << QStringLiteral("file:///Q:/Rechnung %2312.odt");
        QTest::newRow("query") << QStringLiteral("Q:\\Was ist das?.odt")
                               << QStringLiteral("file:///Q:/Was ist das%3F.odt");
        QTest::newRow("percent") << QStringLiteral("Q:\\50%.odt")
                                 << QStringLiteral("file:///Q:/50%25.odt");
        QTest::newRow("markup and controls")
            << QStringLiteral("Q:\\x#!!!#<img src=x>\t`{}\".odt")
            << QStringLiteral("file:///Q:/x%23!!!%23%3Cimg src=x%3E%09%60%7B%7D%22.odt");
    }
    void linksEncodeWhatAPathMayNotHold() {
        QFETCH(QString, path);
        QFETCH(QString, link);
        const platform::DriveMap drives;
        QCOMPARE(search::documentLink(path, drives), link);
    }

    void fileNameWithQuoteKeepsTheLinkWorking() {
#ifdef Q_OS_WIN
        QSKIP("NTFS takes no \" < > in a file name");
#endif
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/Brief \"A\" <1>.odt"));
        f.writeDatabase(
            {{QStringLiteral("D:\\Texte\\Brief \"A\" <1>.odt"), {QStringLiteral("Haus")}}});
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        QCOMPARE(outcome.lastPageResultLines.size(), 1);
        const QString page = QString::fromUtf8(readAll(f.page(1)));
        const QString escaped = QStringLiteral("file://") + f.driveDirectory() +
                                QStringLiteral("/Texte/Brief %22A%22 %3C1%3E.odt");
        QVERIFY(page.contains(QStringLiteral("<a href=\"") + escaped +
                              QStringLiteral("\" target=\"_blank\">") + escaped +
                              QStringLiteral("</a>")));
        QVERIFY(!page.contains(QStringLiteral("\"A\"")));
    }

    void variantStoreResultsComeFirst() {
        EngineFixture f;
        f.createDocument(QStringLiteral("Texte/a.odt"));
        f.createDocument(QStringLiteral("Texte/alt.odt"));
        f.writeDatabase({{QStringLiteral("D:\\Texte\\a.odt"), {QStringLiteral("Haus")}}});
        const QString variant =
            QStringLiteral(" \r\n#D:\\Texte\\alt.odt\r\n=\r\nZwei Häuser, ein HAUS, "
                           "noch ein haus.\r\n");
        QByteArray bytes;
        for (QChar ch : variant) {
            bytes.append(static_cast<char>(ch.unicode() & 0xFF));
            bytes.append(static_cast<char>(ch.unicode() >> 8));
        }
        writeBytes(f.directory() + QStringLiteral("Datenbank/Texte_MHTtext.txt"), bytes);
        const search::SearchOutcome outcome = f.search(QStringLiteral("Haus"));
        QCOMPARE(
            outcome.lastPageResultLines,
            QStringList({QStringLiteral("2 mal in: ") + f.link(QStringLiteral("Texte/alt.odt")),
                         QStringLiteral("1 mal in: ") + f.link(QStringLiteral("Texte/a.odt"))}));
    }
};

std::unique_ptr<QObject> makeSearchEngineTest() {
    return std::make_unique<SearchEngineTest>();
}

#include "search_engine_test.moc"
