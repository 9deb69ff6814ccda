#include "test_database.h"

#include "support/run_program.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

using CliResult = testsupport::ProgramRun;

// The link of a document on drive D: in a results page. Windows links name
// the drive itself; elsewhere the folder the drive is mapped to.
QString linkOnDriveD(const QString& programDirectory, const QString& path) {
#ifdef Q_OS_WIN
    Q_UNUSED(programDirectory);
    return QStringLiteral("file:///D:/") + path;
#else
    return QStringLiteral("file://") + programDirectory + QStringLiteral("/D/") + path;
#endif
}

// Runs the built trovex with a settings store of its own, documents on
// drive D: below the program directory.
CliResult runTrovex(const QString& programDirectory, const QStringList& arguments) {
    return testsupport::runBuiltProgram(
        QStringLiteral("trovex"),
        QStringList{QStringLiteral("--program-dir"), programDirectory, QStringLiteral("--drive"),
                    QStringLiteral("D=") + programDirectory + QStringLiteral("/D")} +
            arguments,
        programDirectory + QStringLiteral("/config"));
}

CliResult runSearch(const QString& programDirectory, const QStringList& arguments) {
    return runTrovex(programDirectory, QStringList{QStringLiteral("search")} + arguments);
}

} // namespace

class SearchCliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The hit lies near the start of the only document: the context begins
    // with the document's text, after the underline of its block. All hits
    // were found in the first pass, so its page is final.
    void writesTheExactPage() {
        QTemporaryDir program;
        const QString dir = program.path();
        writeBytes(dir + QStringLiteral("/D/T/a.odt"), "PK");
        writeTestDatabase(dir, QStringLiteral("Texte"), QStringLiteral("D:\\T"),
                          {{QStringLiteral("D:\\T\\a.odt"), {QStringLiteral("Ein rotes Haus.")}}});
        const CliResult result =
            runSearch(dir, {QStringLiteral("Texte"), QStringLiteral(" haus\t")});
        const QByteArray link = linkOnDriveD(dir, QStringLiteral("T/a.odt")).toUtf8();
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out,
                 QStringLiteral("1 mal in: ") + QString::fromUtf8(link) + QLatin1Char('\n'));
        QCOMPARE(result.err, QString());
        const QByteArray expected =
            "<html>\r\n<Head>\r\n<Title> Trovex-ODT Suchergebnis </Title>\r\n"
            "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
            "</Head>\r\n"
            "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" Vlink=\"#999999\" "
            "Alink=\"#999999\" > <font face=\"verdana, arial, helvetica\">\r\n"
            "Datenbankname: \"Texte\"<br>Sucheinstellung: Gross/klein <u>egal</u> und Suchtext "
            "<u>auch als Teil</u> in einem Wort/Satz finden.<br>\r\n"
            "<br>Suchbegriff: <font color=\"#cc0000\">\"<u> haus\t\"</u><font color=\"#000000\"> "
            "wurde gefunden:<br>\r\n"
            "__________________________________________________<br><br>\r\n"
            "<font color=\"#000000\">Fertig mit der Suche.\r\n"
            "<br><br>\r\n"
            "<font color=\"#000000\">1 mal in: <a href=\"" +
            link + "\" target=\"_blank\">" + link +
            "</a><br><font color=\"#000080\">Ein rotes <b>Haus</b>. \n<br><br>\r\n"
            "<br>\r\n"
            "<font color=\"#000000\">Fertig mit der Suche.\r\n"
            "<br><br>\r\n"
            "</font>\r\n</body>\r\n</html>\r\n";
        QCOMPARE(readAll(dir + QStringLiteral("/TX_Ergebnis.htm")), expected);
        QVERIFY(!QFile::exists(dir + QStringLiteral("/TX_Ergebnis2.htm")));
    }

    // A database built by trovex index from the indexing fixture pandoc.odt
    // (made from tests/fixtures/indexing/quelle.md); its footer holds the
    // page number 1.
    void pageOfAnIndexedDatabase() {
        QTemporaryDir program;
        const QString dir = program.path();
        QVERIFY(QDir().mkpath(dir + QStringLiteral("/D/T")));
        QVERIFY(QFile::copy(qEnvironmentVariable("TROVEX_FIXTURES") +
                                QStringLiteral("/indexing/pandoc.odt"),
                            dir + QStringLiteral("/D/T/pandoc.odt")));
        writeBytes(dir + QStringLiteral("/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt"),
                   "D:\\T\\pandoc.odt\r\n");
        const CliResult indexed =
            runTrovex(dir, {QStringLiteral("index"), QStringLiteral("Test"),
                            QStringLiteral("D:\\T"), QStringLiteral("*.odt")});
        QCOMPARE(indexed.status, 0);

        const CliResult found = runTrovex(
            dir, {QStringLiteral("search"), QStringLiteral("Test"), QStringLiteral("fahrKARTE")});
        const QByteArray link = linkOnDriveD(dir, QStringLiteral("T/pandoc.odt")).toUtf8();
        QCOMPARE(found.status, 0);
        QCOMPARE(found.out,
                 QStringLiteral("1 mal in: ") + QString::fromUtf8(link) + QLatin1Char('\n'));
        const QByteArray expected =
            "<html>\r\n<Head>\r\n<Title> Trovex-ODT Suchergebnis </Title>\r\n"
            "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
            "</Head>\r\n"
            "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" Vlink=\"#999999\" "
            "Alink=\"#999999\" > <font face=\"verdana, arial, helvetica\">\r\n"
            "Datenbankname: \"Test\"<br>Sucheinstellung: Gross/klein <u>egal</u> und Suchtext "
            "<u>auch als Teil</u> in einem Wort/Satz finden.<br>\r\n"
            "<br>Suchbegriff: <font color=\"#cc0000\">\"<u>fahrKARTE\"</u><font color=\"#000000\"> "
            "wurde gefunden:<br>\r\n"
            "__________________________________________________<br><br>\r\n"
            "<font color=\"#000000\">Fertig mit der Suche.\r\n"
            "<br><br>\r\n"
            "<font color=\"#000000\">1 mal in: <a href=\"" +
            link + "\" target=\"_blank\">" + link +
            "</a><br><font color=\"#000080\">Stra\xC3\x9F"
            "enbahn nach Z\xC3\xBCrich \n \nDie Fahrt \n \n"
            "Die <b>Fahrkarte</b> kostet 5 \xE2\x82\xAC und gilt f\xC3\xBCr \xC3\x84rzte, "
            "\xC3\x96"
            "fen und \xC3\x9C"
            "bermut. \n \n"
            "Ein griechisches Wort:       steht hier. \n \nZweites Kapitel \n \n"
            "Gr\xC3\xB6\xC3\x9F"
            "e, Ma\xC3\x9F und Fu\xC3\x9F \xE2\x80\x93 \xE2\x80\x9E"
            "Anf\xC3\xBChrungszeichen\xE2\x80\x9C sind auch dabei. \n \n1 \n<br><br>\r\n"
            "<br>\r\n"
            "<font color=\"#000000\">Fertig mit der Suche.\r\n"
            "<br><br>\r\n"
            "</font>\r\n</body>\r\n</html>\r\n";
        QCOMPARE(readAll(dir + QStringLiteral("/TX_Ergebnis.htm")), expected);

        // The umlaut is two bytes; with the case ignored a new user's search
        // folds it, so lower case finds the capital.
        const CliResult folded = runTrovex(
            dir, {QStringLiteral("search"), QStringLiteral("Test"), QStringLiteral("übermut")});
        QCOMPARE(folded.status, 0);
        QCOMPARE(folded.out,
                 QStringLiteral("1 mal in: ") + QString::fromUtf8(link) + QLatin1Char('\n'));
    }

    // Pass 1 stops at 10 hits, all in one document; pass 2 finds all 12 in
    // the same document. The second page carries the full count, and the
    // command prints the lines of that page.
    void phraseMoreThanTenTimesInOneDocument() {
        QTemporaryDir program;
        const QString dir = program.path();
        writeBytes(dir + QStringLiteral("/D/T/a.odt"), "PK");
        writeBytes(dir + QStringLiteral("/D/T/b.odt"), "PK");
        QStringList lines;
        for (int i = 0; i < 12; ++i)
            lines.append(QStringLiteral("Es war einmal ein Haus am See."));
        writeTestDatabase(dir, QStringLiteral("Texte"), QStringLiteral("D:\\T"),
                          {{QStringLiteral("D:\\T\\a.odt"), lines},
                           {QStringLiteral("D:\\T\\b.odt"), {QStringLiteral("Ein Haus.")}}});
        const CliResult result =
            runSearch(dir, {QStringLiteral("Texte"), QStringLiteral("haus am see")});
        const QString link = linkOnDriveD(dir, QStringLiteral("T/a.odt"));
        QCOMPARE(result.status, 0);
        QCOMPARE(result.out, QStringLiteral("12 mal in: ") + link + QLatin1Char('\n'));
        QVERIFY(readAll(dir + QStringLiteral("/TX_Ergebnis.htm"))
                    .contains(QByteArray(">10 mal in: <a href=\"" + link.toUtf8() + "\"")));
        const QByteArray second = readAll(dir + QStringLiteral("/TX_Ergebnis2.htm"));
        QVERIFY(second.contains(QByteArray(">12 mal in: <a href=\"" + link.toUtf8() + "\"")));
        QVERIFY(!second.contains("b.odt"));
        QVERIFY(second.contains("Fertig mit der Suche."));
    }

    // Umlauts fold for a new user, as with the option or a stored "1"; a
    // stored "0" is kept. A page whose search folded them says so.
    void foldUmlauts_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("settings"); // the stored settings file
        QTest::addColumn<bool>("found");
        QTest::addColumn<bool>("folded"); // the note line says so
        QTest::newRow("nothing stored: folds, as for a new user")
            << QStringList{"Texte", "übermut"} << QByteArray() << true << true;
        QTest::newRow("--fold-umlauts")
            << QStringList{"Texte", "übermut", "--fold-umlauts"} << QByteArray() << true << true;
        QTest::newRow("stored setting 1")
            << QStringList{"Texte", "übermut"}
            << QByteArray("[General]\nUmlaute_Gross_Klein_egal=1\n") << true << true;
        QTest::newRow("stored setting 0")
            << QStringList{"Texte", "übermut"}
            << QByteArray("[General]\nUmlaute_Gross_Klein_egal=0\n") << false << false;
        QTest::newRow("stored setting 0, the umlaut as written")
            << QStringList{"Texte", "Übermut"}
            << QByteArray("[General]\nUmlaute_Gross_Klein_egal=0\n") << true << false;
        QTest::newRow("a text without umlauts folds none")
            << QStringList{"Texte", "voller"} << QByteArray() << true << false;
        QTest::newRow("case-sensitive: no folding")
            << QStringList{"Texte", "übermut", "--case", "--fold-umlauts"} << QByteArray() << false
            << false;
    }
    void foldUmlauts() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, settings);
        QFETCH(bool, found);
        QFETCH(bool, folded);
#ifdef Q_OS_WIN
        if (!settings.isEmpty())
            QSKIP("The Windows settings live in the registry, not in a file");
#endif
        QTemporaryDir program;
        const QString dir = program.path();
        writeBytes(dir + QStringLiteral("/D/T/a.odt"), "PK");
        writeTestDatabase(dir, QStringLiteral("Texte"), QStringLiteral("D:\\T"),
                          {{QStringLiteral("D:\\T\\a.odt"), {QStringLiteral("Voller Übermut.")}}});
        if (!settings.isEmpty())
            writeBytes(dir + QStringLiteral("/config/Halvorn/Trovex-ODT.conf"), settings);
        const CliResult result = runSearch(dir, arguments);
        QCOMPARE(result.status, found ? 0 : 1);
        QCOMPARE(result.out, found ? QStringLiteral("1 mal in: ") +
                                         linkOnDriveD(dir, QStringLiteral("T/a.odt")) +
                                         QLatin1Char('\n')
                                   : QString());
        const QByteArray page = readAll(dir + QStringLiteral("/TX_Ergebnis.htm"));
        if (found && arguments.at(1) == QStringLiteral("übermut"))
            QVERIFY(page.contains("Voller <b>\xC3\x9C"
                                  "bermut</b>. \n<br><br>\r\n"));
        QCOMPARE(page.contains("Sucheinstellung: Gross/klein <u>egal</u> (auch bei Umlauten: "
                               "\xC3\xA4 = \xC3\x84) und Suchtext <u>auch als Teil</u> in einem "
                               "Wort/Satz finden.<br>\r\n"),
                 folded);
    }

    void exitStatus_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::newRow("not found") << QStringList{"Texte", "Zebra"} << 1 << QString();
        QTest::newRow("whole words reject every occurrence")
            << QStringList{"Texte", "Hau", "--words"} << 1 << QString();
        QTest::newRow("case-sensitive miss")
            << QStringList{"Texte", "haus", "--case"} << 1 << QString();
        QTest::newRow("no such database")
            << QStringList{"Fehlt", "Haus"} << 2
            << QStringLiteral("Die Datenbank \"Fehlt\" existiert nicht.\n");
        QTest::newRow("empty search text")
            << QStringList{"Texte", " "} << 2
            << QStringLiteral("Sie haben keinen Suchtext eingegeben!\n");
        QTest::newRow("missing text") << QStringList{"Texte"} << 2
                                      << QStringLiteral("Aufruf: trovex search NAME TEXT [--case] "
                                                        "[--words] [--fold-umlauts] [--open]\n");
        QTest::newRow("unknown option") << QStringList{"Texte", "Haus", "--fast"} << 2
                                        << QStringLiteral("Unbekannte Option --fast (siehe trovex "
                                                          "--help).\n");
    }
    void exitStatus() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, err);
        QTemporaryDir program;
        writeBytes(program.path() + QStringLiteral("/D/T/a.odt"), "PK");
        writeTestDatabase(program.path(), QStringLiteral("Texte"), QStringLiteral("D:\\T"),
                          {{QStringLiteral("D:\\T\\a.odt"), {QStringLiteral("Ein Haus.")}}});
        const CliResult result = runSearch(program.path(), arguments);
        QCOMPARE(result.status, status);
        QCOMPARE(result.out, QString());
        QCOMPARE(result.err, err);
        if (status == 1)
            QVERIFY(readAll(program.path() + QStringLiteral("/TX_Ergebnis.htm"))
                        .contains("wurde NICHT gefunden:<br>\r\n"));
    }
};

std::unique_ptr<QObject> makeSearchCliTest() {
    return std::make_unique<SearchCliTest>();
}

#include "search_cli_test.moc"
