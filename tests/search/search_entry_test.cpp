// The search-bar rules and the site-file reader, without a window.
#include "search/search_term_entry.h"
#include "search/web_site_file.h"

#include <QtTest>

class SearchEntryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clipboardAndWordRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("phrase");
        QTest::addColumn<bool>("pathOpened");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("phrase whole text")
            << QStringLiteral("Haus am See ") << true << false << QStringLiteral("Haus am See");
        QTest::newRow("word up to first blank")
            << QStringLiteral("Haus am See") << false << false << QStringLiteral("Haus");
        QTest::newRow("opened path loses #")
            << QStringLiteral("#D:\\Brief.odt") << false << true << QStringLiteral("D:\\Brief.odt");
        QTest::newRow("path not opened keeps #") << QStringLiteral("#D:\\Brief.odt") << false
                                                 << false << QStringLiteral("#D:\\Brief.odt");
    }
    void clipboardAndWordRules() {
        QFETCH(QString, text);
        QFETCH(bool, phrase);
        QFETCH(bool, pathOpened);
        QFETCH(QString, clipboard);
        QCOMPARE(searchentry::clipboardTextAfterSearch(text, phrase, pathOpened), clipboard);
        QCOMPARE(searchentry::wordCount(QStringLiteral(" eins  zwei drei vier fuenf sechs ")), 6);
        QCOMPARE(searchentry::tooManyWordsMessage(6),
                 QStringLiteral(
                     "Der Suchtext darf nur maximal 5 Wörter enthalten! Sie haben 6 eingetragen!"));
        QCOMPARE(searchentry::withoutTrailingReplacementCharacter(QStringLiteral("Haus\uFFFD")),
                 std::optional<QString>(QStringLiteral("Haus")));
        QCOMPARE(
            searchentry::withoutTrailingReplacementCharacter(QStringLiteral("H\uFFFDaus\uFFFD")),
            std::nullopt);
    }

    void siteFileReadAsProfile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("topics");
        QTest::newRow("joined without separator")
            << QByteArray("[Themen1]\nListe=A,B\n[Themen2]\nListe=C,D\n")
            << QStringList{"A", "BC", "D"};
        QTest::newRow("empty and blank pieces skipped")
            << QByteArray("[themen1]\n LISTE = , A ,  ,B,\n") << QStringList{"A", "B"};
        QTest::newRow("quotes and commas kept as text")
            << QByteArray("[Themen1]\n; Kommentar\nListe=\"A,\\B\"\n") << QStringList{"A", "\\B"};
        QTest::newRow("255 characters at most")
            << (QByteArray("[Themen1]\nListe=") + QByteArray(254, 'x') + ",Zu lang\n")
            << QStringList{QString(254, QLatin1Char('x'))};
        QTest::newRow("UTF-8 umlauts") << QByteArray("[Themen1]\nListe=B\xC3\xBC"
                                                     "cher\n")
                                       << QStringList{QStringLiteral("Bücher")};
        QTest::newRow("ANSI umlauts") << QByteArray("[Themen1]\nListe=B\xFC"
                                                    "cher\n")
                                      << QStringList{QStringLiteral("Bücher")};
    }
    void siteFileReadAsProfile() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, topics);
        QCOMPARE(websites::WebSiteFile::fromBytes(file).topics(), topics);
    }
};

QTEST_GUILESS_MAIN(SearchEntryTest)
#include "search_entry_test.moc"
