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

search::PageBodyLine notice(const char* markup) {
    return search::PageBodyLine::ofNotice(QString::fromUtf8(markup));
}

search::PageBodyLine result(int count, const char* link, const QString& context) {
    return search::PageBodyLine::ofResult({count, QString::fromUtf8(link), context});
}

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
        input.body = {
            notice("...die Suche geht weiter! <br> Wenn es noch mehr Fundstellen gibt, "
                   "erscheint eine neue Ergebnis-Seite."),
            notice("<br><br>"),
            result(2, "file:///D:/Texte/Brief.odt", QStringLiteral("ein Haus am See")),
            // The context lacks the term: nothing is marked, the link least of all.
            result(1, "file:///D:/Texte/Haus.odt", QStringLiteral("nichts")),
            notice("...wenn keine Fundstellen mehr vorhanden, <br> dann wird in Trovex "
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
                                "target=\"_blank\">file:///D:/Texte/Haus.odt</a><br><font "
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
        input.body = {result(1, "file:///home/a\"><script>x&y.odt", QStringLiteral("Kontext"))};
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

    // Texts from outside keep their bytes where a browser reads them as they
    // are, and are escaped where they would be read as markup: the hit is
    // marked in the context only, the separator of old never splits a name.
    void hostileValuesStayText_data() {
        QTest::addColumn<QString>("databaseName");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("summary"); // what follows "Datenbankname: \""
        QTest::addColumn<QString>("shown");   // the context as the page writes it
        QTest::newRow("ordinary text keeps its bytes")
            << QStringLiteral("Briefe & Rechnungen") << QStringLiteral("GmbH")
            << QStringLiteral("Müller & Söhne GmbH & Co. KG, \"Anna\"")
            << QStringLiteral("Briefe & Rechnungen")
            << QStringLiteral("Müller & Söhne <b>GmbH</b> & Co. KG, \"Anna\"<br><br>");
        QTest::newRow("a search for link markup marks the context only")
            << QStringLiteral("Texte") << QStringLiteral("<a href=")
            << QStringLiteral("x <a href= y") << QStringLiteral("Texte")
            << QStringLiteral("x <b>&lt;a href=</b> y<br><br>");
        QTest::newRow("entities in names and texts stay text")
            << QStringLiteral("<b>Akten</b>&amp;") << QStringLiteral("&lt;")
            << QStringLiteral("1 &lt; 2 &#60; 3")
            << QStringLiteral("&lt;b&gt;Akten&lt;/b&gt;&amp;amp;")
            << QStringLiteral("1 <b>&amp;lt;</b> 2 &amp;#60; 3<br><br>");
        QTest::newRow("a search for the page's own break")
            << QStringLiteral("Texte") << QStringLiteral("br") << QStringLiteral("kein Treffer")
            << QStringLiteral("Texte") << QStringLiteral("kein Treffer<br><br>");
    }
    void hostileValuesStayText() {
        QFETCH(QString, databaseName);
        QFETCH(QString, searchText);
        QFETCH(QString, context);
        QFETCH(QString, summary);
        QFETCH(QString, shown);
        search::ResultsPageInput input;
        input.databaseName = databaseName;
        input.searchText = searchText;
        input.body = {result(3, "file:///D:/x%23!!!%23%3Cimg%20src=x%3E.odt", context)};
        const QStringList lines = search::resultsPageLines(input);
        QVERIFY(lines.at(6).startsWith(QStringLiteral("Datenbankname: \"") + summary +
                                       QStringLiteral("\"<br>Sucheinstellung: ")));
        QCOMPARE(lines.at(9), QStringLiteral("<font color=\"#000000\">3 mal in: <a "
                                             "href=\"file:///D:/x%23!!!%23%3Cimg%20src=x%3E.odt\" "
                                             "target=\"_blank\">file:///D:/x%23!!!%23%3Cimg%20src="
                                             "x%3E.odt</a><br><font color=\"#000080\">") +
                                  shown);
    }

    // The note line says so when umlauts were folded; the underline follows
    // the text it underlines.
    void foldedUmlautsInTheNoteLine_data() {
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<QString>("text");
        QTest::newRow("part of a word")
            << false
            << QStringLiteral("Sucheinstellung: Gross/klein <u>egal</u> (auch bei Umlauten: "
                              "ä = Ä) und Suchtext <u>auch als Teil</u> in einem Wort/Satz "
                              "finden.");
        QTest::newRow("whole words")
            << true
            << QStringLiteral("Sucheinstellung: Gross/klein <u>egal</u> (auch bei Umlauten: "
                              "ä = Ä) und <u>nur</u> ganze Wörter.");
    }
    void foldedUmlautsInTheNoteLine() {
        QFETCH(bool, wholeWords);
        QFETCH(QString, text);
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("überweisung");
        input.databaseName = QStringLiteral("Texte");
        input.wholeWords = wholeWords;
        input.foldedUmlauts = true;
        const QStringList lines = search::resultsPageLines(input);
        QCOMPARE(lines.at(6),
                 QStringLiteral("Datenbankname: \"Texte\"<br>") + text + QStringLiteral("<br>"));
        QCOMPARE(lines.at(8),
                 QString(text.size() / 2, QLatin1Char('_')) + QStringLiteral("<br><br>"));
    }

    void cancelledPageCarriesTheCancelLines() {
        search::ResultsPageInput input;
        input.searchText = QStringLiteral("Haus");
        input.databaseName = QStringLiteral("Texte");
        input.cancelled = true;
        input.body = {notice("<br>Benutzer hat die Suche abgebrochen!<br><br>"), notice("<br>"),
                      notice("Benutzer hat die Suche abgebrochen!"), notice("<br><br>")};
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
        const auto first = search::writeResultsPage(input, 1, program.path(),
                                                    [&](const QString& p) { opened.append(p); });
        const auto second = search::writeResultsPage(input, 2, program.path(),
                                                     [&](const QString& p) { opened.append(p); });
        QVERIFY(first.written && second.written);
        QCOMPARE(opened,
                 QStringList({QDir::toNativeSeparators(program.path() + "/TX_Ergebnis.htm"),
                              QDir::toNativeSeparators(program.path() + "/TX_Ergebnis2.htm")}));
        QVERIFY(readAll(opened.at(1)).endsWith("</html>\r\n"));
    }
};

std::unique_ptr<QObject> makeResultsPageTest() {
    return std::make_unique<ResultsPageTest>();
}

#include "results_page_test.moc"
