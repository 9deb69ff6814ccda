#include "search/results_page.h"

#include "test_database.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kHead = "<html>\r\n"
                         "<Head>\r\n"
                         "<Title> Trovex-ODT Suchergebnis </Title>\r\n"
                         "<META http-equiv=\"Content-Type\" content=\"text/html; "
                         "charset=utf-8\">\r\n"
                         "</Head>\r\n"
                         "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#669900\" "
                         "Vlink=\"#999999\" Alink=\"#999999\" > <font face=\"verdana, arial, "
                         "helvetica\">\r\n";
const QByteArray kTail = "</font>\r\n</body>\r\n</html>\r\n";

} // namespace

class ResultsPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void settingsTextAndUnderline_data() {
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("underline");
        QTest::newRow("case and words")
            << true << true
            << QStringLiteral("Sucheinstellung: Gross/Kleinschreibung <u>beachten</u> und nur "
                              "<u>ganze</u> Wörter.")
            << 41;
        QTest::newRow("case only")
            << true << false
            << QStringLiteral("Sucheinstellung: Gross/Kleinschreibung <u>beachten</u> und "
                              "Suchtext <u>auch als Teil</u> in einem Wort/Satz finden.")
            << 57;
        QTest::newRow("words only")
            << false << true
            << QStringLiteral("Sucheinstellung: Gross/klein <u>egal</u> und <u>nur</u> ganze "
                              "Wörter.")
            << 34;
        QTest::newRow("neither")
            << false << false
            << QStringLiteral("Sucheinstellung: Gross/klein <u>egal</u> und Suchtext <u>auch "
                              "als Teil</u> in einem Wort/Satz finden.")
            << 50;
    }
    void settingsTextAndUnderline() {
        QFETCH(bool, caseSensitive);
        QFETCH(bool, wholeWords);
        QFETCH(QString, text);
        QFETCH(int, underline);
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("Haus");
        input.databaseName = QStringLiteral("Texte");
        input.caseSensitive = caseSensitive;
        input.wholeWords = wholeWords;
        const QStringList lines = search::resultsPageLines(input);
        QCOMPARE(lines.at(6),
                 QStringLiteral("Datenbankname: \"Texte\"<br>") + text + QStringLiteral("<br>"));
        QCOMPARE(lines.at(8), QString(underline, QLatin1Char('_')) + QStringLiteral("<br><br>"));
    }

    void notFoundPageIsTwelveLines() {
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("Zebra ");
        input.databaseName = QStringLiteral("Texte");
        const QByteArray expected =
            kHead +
            "Datenbankname: \"Texte\"<br>Sucheinstellung: Gross/klein <u>egal</u> und Suchtext "
            "<u>auch als Teil</u> in einem Wort/Satz finden.<br>\r\n"
            "<br>Suchbegriff: <font color=\"#cc0000\">\"<u>Zebra \"</u><font color=\"#000000\"> "
            "wurde NICHT gefunden:<br>\r\n" +
            QByteArray(50, '_') + "<br><br>\r\n" + kTail;
        const QByteArray page = search::resultsPageBytes(search::resultsPageLines(input));
        QCOMPARE(page, expected);
        QCOMPARE(page.count("\r\n"), 12);
    }

    void resultLinesAreLinkedAndMarked() {
        search::ResultsPageInput input;
        input.searchText = QStringLiteral(" haus ");
        input.databaseName = QStringLiteral("Texte");
        input.bodyLines = {
            QStringLiteral("...die Suche geht weiter! <br> Wenn es noch mehr Fundstellen gibt, "
                           "erscheint eine neue Ergebnis-Seite."),
            QStringLiteral("<br><br>"),
            QStringLiteral("2 mal in: file:///D:/Texte/Brief.odt#!!!#ein Haus am See<br><br>"),
            // The context lacks the term: the link text is marked.
            QStringLiteral("1 mal in: file:///D:/Texte/Haus.odt#!!!#nichts<br><br>"),
            QStringLiteral("...wenn keine Fundstellen mehr vorhanden, <br> dann wird in Trovex "
                           "\"Fertig mit der Suche\" angezeigt."),
        };
        const QStringList lines = search::resultsPageLines(input);
        QCOMPARE(lines.size(), 9 + 5 + 3);
        QCOMPARE(lines.at(7), QStringLiteral("<br>Suchbegriff: <font color=\"#cc0000\">\"<u> haus "
                                             "\"</u><font color=\"#000000\"> wurde gefunden:<br>"));
        QCOMPARE(lines.at(11),
                 QStringLiteral("<font color=\"#000000\">2 mal in: <a "
                                "href=\"file:///D:/Texte/Brief.odt\" "
                                "target=\"_blank\">file:///D:/Texte/Brief.odt</a><br><font "
                                "color=\"#000080\">ein <b>Haus</b> am See<br><br>"));
        QCOMPARE(lines.at(12),
                 QStringLiteral("<font color=\"#000000\">1 mal in: <a "
                                "href=\"file:///D:/Texte/Haus.odt\" "
                                "target=\"_blank\">file:///D:/Texte/<b>Haus</b>.odt</a><br><font "
                                "color=\"#000080\">nichts<br><br>"));
        QCOMPARE(lines.at(13), QStringLiteral("<font color=\"#000000\">...wenn keine Fundstellen "
                                              "mehr vorhanden, <br> dann wird in Trovex \"Fertig "
                                              "mit der Suche\" angezeigt."));
        QCOMPARE(lines.at(9), QStringLiteral("...die Suche geht weiter! <br> Wenn es noch mehr "
                                             "Fundstellen gibt, erscheint eine neue "
                                             "Ergebnis-Seite."));
    }

    void markupInNamesAndTermIsEscaped() {
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("<i>\"");
        input.databaseName = QStringLiteral("Texte");
        input.bodyLines = {
            QStringLiteral("1 mal in: file:///home/a\"><script>x&y.odt#!!!#Kontext<br><br>")};
        const QStringList lines = search::resultsPageLines(input);
        QCOMPARE(
            lines.at(7),
            QStringLiteral("<br>Suchbegriff: <font color=\"#cc0000\">\"<u>&lt;i&gt;&quot;\"</u>"
                           "<font color=\"#000000\"> wurde gefunden:<br>"));
        QCOMPARE(lines.at(9),
                 QStringLiteral("<font color=\"#000000\">1 mal in: <a "
                                "href=\"file:///home/a&quot;&gt;&lt;script&gt;x&amp;y.odt\" "
                                "target=\"_blank\">file:///home/a&quot;&gt;&lt;script&gt;x&amp;y."
                                "odt</a><br><font color=\"#000080\">Kontext<br><br>"));
    }

    void cancelledPageCarriesTheCancelLines() {
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("Haus");
        input.databaseName = QStringLiteral("Texte");
        input.cancelled = true;
        input.bodyLines = {QStringLiteral("<br>Benutzer hat die Suche abgebrochen!<br><br>"),
                           QStringLiteral("<br>"),
                           QStringLiteral("Benutzer hat die Suche abgebrochen!"),
                           QStringLiteral("<br><br>")};
        const QByteArray page = search::resultsPageBytes(search::resultsPageLines(input));
        QVERIFY(page.startsWith(kHead));
        const QByteArray end = "___<br><br>\r\n<br>Benutzer hat die Suche abgebrochen!<br><br>\r\n"
                               "<br>\r\nBenutzer hat die Suche abgebrochen!\r\n<br><br>\r\n" +
                               kTail;
        QVERIFY(page.endsWith(end));
        QVERIFY(!page.contains("gefunden"));
    }

    void pageFilesPerPassAndOpenedUnderTheirName() {
        QTemporaryDir program;
        QStringList opened;
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("Haus");
        input.databaseName = QStringLiteral("Texte");
        const auto first = search::SchreibHTMLDoc(input, 1, program.path(),
                                                  [&](const QString& p) { opened.append(p); });
        const auto second = search::SchreibHTMLDoc(input, 2, program.path(),
                                                   [&](const QString& p) { opened.append(p); });
        QVERIFY(first.written && second.written);
        QCOMPARE(opened, QStringList({program.path() + QStringLiteral("/TX_Ergebnis.htm"),
                                      program.path() + QStringLiteral("/TX_Ergebnis2.htm")}));
        QVERIFY(readAll(opened.at(1)).endsWith("</html>\r\n"));
    }
};

std::unique_ptr<QObject> makeResultsPageTest() {
    return std::make_unique<ResultsPageTest>();
}

#include "results_page_test.moc"
