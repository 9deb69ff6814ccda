#include "lists_tests.h"

#include "lists/distinct_items.h"
#include "lists/list_order.h"
#include "lists/list_rules.h"

#include <QtTest>

using lists::ItemKind;
using lists::LineKind;
using lists::ListKind;

Q_DECLARE_METATYPE(ItemKind)
Q_DECLARE_METATYPE(LineKind)
Q_DECLARE_METATYPE(ListKind)

namespace {

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}

// "group:item" for every item a line gives, in the order they are added.
QList<QByteArray> itemsOfLine(const QByteArray& line, ListKind kind) {
    QList<QByteArray> items;
    const std::string_view trimmed = lists::trimmedText(view(line));
    lists::forEachItemOfText(trimmed, kind, [&items](int group, std::string_view item) {
        items.append(QByteArray::number(group) + ':' +
                     QByteArray(item.data(), qsizetype(item.size())));
    });
    return items;
}

} // namespace

class ListRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void groupOfTheFirstCharacter_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<ItemKind>("item");
        QTest::addColumn<ListKind>("list");
        QTest::addColumn<int>("group");
        const auto row = [](const char* name, int first, ItemKind item, ListKind list, int group) {
            QTest::newRow(name) << first << item << list << group;
        };
        row("A", 'A', ItemKind::Word, ListKind::Words, 1);
        row("f", 'f', ItemKind::Word, ListKind::Words, 1);
        row("Ä as one byte", 0xC4, ItemKind::Word, ListKind::Words, 1);
        row("ä as one byte", 0xE4, ItemKind::Word, ListKind::Words, 1);
        row("G", 'G', ItemKind::Word, ListKind::Words, 2);
        row("l", 'l', ItemKind::Word, ListKind::Words, 2);
        row("M", 'M', ItemKind::Word, ListKind::Words, 3);
        row("r", 'r', ItemKind::Word, ListKind::Words, 3);
        row("Ö as one byte", 0xD6, ItemKind::Word, ListKind::Words, 3);
        row("S", 'S', ItemKind::Word, ListKind::Words, 4);
        row("z", 'z', ItemKind::Word, ListKind::Words, 4);
        row("ü as one byte", 0xFC, ItemKind::Word, ListKind::Words, 4);
        row("digit, words only", '7', ItemKind::Word, ListKind::Words, 5);
        row("hash, words only", '#', ItemKind::Word, ListKind::Words, 0);
        row("UTF-8 lead byte, words only", 0xC3, ItemKind::Word, ListKind::Words, 0);
        row("UTF-8 lead byte, words and phrases", 0xC3, ItemKind::Word, ListKind::WordsAndPhrases,
            5);
        row("ß as one byte, words and phrases", 0xDF, ItemKind::Word, ListKind::WordsAndPhrases, 5);
        row("hash, phrases only", '#', ItemKind::Phrase, ListKind::Phrases, 5);
        row("UTF-8 lead byte, phrase", 0xC3, ItemKind::Phrase, ListKind::WordsAndPhrases, 5);
        row("letter, phrase", 'z', ItemKind::Phrase, ListKind::Phrases, 4);
    }
    void groupOfTheFirstCharacter() {
        QFETCH(int, first);
        QFETCH(ItemKind, item);
        QFETCH(ListKind, list);
        QFETCH(int, group);
        QCOMPARE(lists::groupOfItem(static_cast<unsigned char>(first), item, list), group);
    }

    void trimmingStopsAtTheBlank() {
        QCOMPARE(lists::trimmedText("\t \x01Haus \x1F\x20"), std::string_view("Haus"));
        QCOMPARE(lists::trimmedText(" \r "), std::string_view());
        // Windows-1252's no-break space (0xA0) lies above the blank.
        QCOMPARE(lists::trimmedText("\xA0Haus\xA0"), std::string_view("\xA0Haus\xA0"));
    }

    void kindOfLine_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<LineKind>("kind");
        QTest::newRow("four =") << QByteArray("Titel ====") << LineKind::Text;
        QTest::newRow("underline") << QByteArray("=====") << LineKind::Decoration;
        QTest::newRow("hyphens anywhere")
            << QByteArray("Ende ----- Anfang") << LineKind::Decoration;
        QTest::newRow("dots") << QByteArray("Kapitel 1.....3") << LineKind::Decoration;
        QTest::newRow("exclamation marks") << QByteArray("Achtung!!!!!") << LineKind::Decoration;
        QTest::newRow("hashes") << QByteArray("#####") << LineKind::Decoration;
        QTest::newRow("mixed run") << QByteArray("==--..!!##") << LineKind::Text;
        QTest::newRow("path") << QByteArray("#D:\\Texte\\Brief.odt") << LineKind::DocumentPath;
        QTest::newRow("other drive") << QByteArray("#E:\\Texte\\Brief.odt") << LineKind::Text;
        QTest::newRow("lower-case drive") << QByteArray("#d:\\Texte\\Brief.odt") << LineKind::Text;
        QTest::newRow("slash") << QByteArray("#D:/Texte/Brief.odt") << LineKind::Text;
        // Decoration is looked for first, even in a path.
        QTest::newRow("path with hyphens")
            << QByteArray("#D:\\Texte\\Liste-----1.odt") << LineKind::Decoration;
    }
    void kindOfLine() {
        QFETCH(QByteArray, line);
        QFETCH(LineKind, kind);
        QCOMPARE(lists::kindOfLine(view(line), std::optional<unsigned char>('D')), kind);
    }

    void noDriveLetterNoPathLine() {
        QCOMPARE(lists::kindOfLine("#D:\\Texte\\Brief.odt", std::nullopt), LineKind::Text);
        QCOMPARE(lists::driveLetterByte(QChar(u'D')), std::optional<unsigned char>('D'));
        QCOMPARE(lists::driveLetterByte(QChar(u'\u0100')), std::nullopt);
    }

    void itemsOfALine_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<ListKind>("kind");
        QTest::addColumn<QList<QByteArray>>("items");
        QTest::newRow("words at comma, semicolon, colon")
            << QByteArray("Haus, Baum; Auto:Zelt") << ListKind::Words
            << QList<QByteArray>{"2:Haus", "1:Baum", "1:Auto", "4:Zelt"};
        QTest::newRow("three characters are too short")
            << QByteArray("Tag und Uhr 123 Nacht") << ListKind::Words
            << QList<QByteArray>{"3:Nacht"};
        // Characters are bytes: "für" is four of them in UTF-8.
        QTest::newRow("length in bytes")
            << QByteArray("f\xC3\xBCr") << ListKind::Words << QList<QByteArray>{"1:f\xC3\xBCr"};
        QTest::newRow("tab is no separator")
            << QByteArray("Haus\tBaum") << ListKind::Words << QList<QByteArray>{"2:Haus\tBaum"};
        QTest::newRow("umlaut first, words only")
            << QByteArray("\xC3\x84pfel Birne") << ListKind::Words << QList<QByteArray>{"1:Birne"};
        QTest::newRow("umlaut first, words and phrases")
            << QByteArray("\xC3\x84pfel Birne") << ListKind::WordsAndPhrases
            << QList<QByteArray>{"5:\xC3\x84pfel", "1:Birne", "5:\xC3\x84pfel Birne"};
        QTest::newRow("phrases need a blank")
            << QByteArray("Der Hund, bellt laut, Katze,  ja nein ") << ListKind::Phrases
            << QList<QByteArray>{"1:Der Hund", "1:bellt laut", "2:ja nein"};
        QTest::newRow("phrases keep semicolons and colons")
            << QByteArray("Ort: Berlin; Zeit") << ListKind::Phrases
            << QList<QByteArray>{"3:Ort: Berlin; Zeit"};
        QTest::newRow("three hyphens")
            << QByteArray("Ab---er Haus") << ListKind::Words << QList<QByteArray>{"2:Haus"};
        // The ANSI view knows the en dash only as the byte 0x96; in UTF-8
        // (E2 80 93) four of them are an ordinary word.
        QTest::newRow("four en dashes, one byte each")
            << QByteArray("Wort\x96\x96\x96\x96Wort") << ListKind::Words << QList<QByteArray>{};
        QTest::newRow("four en dashes in UTF-8")
            << QByteArray("Wort\xE2\x80\x93\xE2\x80\x93\xE2\x80\x93\xE2\x80\x93") << ListKind::Words
            << QList<QByteArray>{"4:Wort\xE2\x80\x93\xE2\x80\x93\xE2\x80\x93\xE2\x80\x93"};
        QTest::newRow("table rule in a phrase")
            << QByteArray("Preis --            --          -- Euro, gut so") << ListKind::Phrases
            << QList<QByteArray>{"2:gut so"};
        QTest::newRow("rule of two hyphens only")
            << QByteArray("Preis -- Euro") << ListKind::Phrases
            << QList<QByteArray>{"3:Preis -- Euro"};
    }
    void itemsOfALine() {
        QFETCH(QByteArray, line);
        QFETCH(ListKind, kind);
        QFETCH(QList<QByteArray>, items);
        QCOMPARE(itemsOfLine(line, kind), items);
    }

    // Two consecutive apostrophes cost the item its first character, then it
    // is trimmed, and once more if they are still there; never a third time.
    void doubledApostrophes_data() {
        QTest::addColumn<QByteArray>("piece");
        QTest::addColumn<ItemKind>("item");
        QTest::addColumn<QByteArray>("cleaned"); // empty: dropped
        QTest::newRow("quoted word")
            << QByteArray("''Haus''") << ItemKind::Word << QByteArray("Haus''");
        QTest::newRow("two rounds at most")
            << QByteArray("''''Abend") << ItemKind::Word << QByteArray("''Abend");
        QTest::newRow("second round while still doubled")
            << QByteArray("x''Abend") << ItemKind::Word << QByteArray("'Abend");
        QTest::newRow("one round once no longer doubled")
            << QByteArray("''Abend") << ItemKind::Word << QByteArray("'Abend");
        QTest::newRow("too short after") << QByteArray("x''y") << ItemKind::Word << QByteArray();
        QTest::newRow("single apostrophes stay")
            << QByteArray("'Haus'") << ItemKind::Word << QByteArray("'Haus'");
        QTest::newRow("trimmed after each deletion")
            << QByteArray(" X  Abend ''da") << ItemKind::Phrase << QByteArray("bend ''da");
        // The blank is asked for before the apostrophes are dealt with.
        QTest::newRow("phrase loses its blank")
            << QByteArray("A ''Nacht") << ItemKind::Phrase << QByteArray("'Nacht");
    }
    void doubledApostrophes() {
        QFETCH(QByteArray, piece);
        QFETCH(ItemKind, item);
        QFETCH(QByteArray, cleaned);
        const auto result = lists::cleanedItem(view(piece), item);
        QCOMPARE(result.has_value(), !cleaned.isEmpty());
        if (result)
            QCOMPARE(QByteArray(result->data(), qsizetype(result->size())), cleaned);
    }

    // Equal means equal lower-case forms of the bytes taken as Windows-1252
    // characters; the first form stays. In UTF-8 "Ä" and "ä" differ in their
    // second byte, which has no case, so they are different items.
    void sameItemsByLowerCaseForm() {
        lists::DistinctItems items;
        QVERIFY(items.add("Haus"));
        QVERIFY(!items.add("HAUS"));
        QVERIFY(!items.add("haus"));
        QVERIFY(items.add("Ha\xC2\xADus"));      // soft hyphen
        QVERIFY(items.add("Ha\xC2\x81us"));      // C1 control
        QVERIFY(items.add("\xC3\x84rger"));      // Ärger
        QVERIFY(items.add("\xC3\xA4rger"));      // ärger
        QVERIFY(!items.add("\xC3\x84RGER"));     // ÄRGER
        QVERIFY(items.add("\xC4pfel"));          // Windows-1252 Ä
        QVERIFY(!items.add("\xE4PFEL"));         // Windows-1252 ä
        QVERIFY(items.add("\x8A\x8C\x8E\x9F"));  // Š Œ Ž Ÿ
        QVERIFY(!items.add("\x9A\x9C\x9E\xFF")); // š œ ž ÿ
        QCOMPARE(items.size(), std::size_t(7));
        QCOMPARE(items.item(0), std::string_view("Haus"));
        QCOMPARE(items.item(3), std::string_view("\xC3\x84rger"));
    }

    void manyItemsStayApart() {
        lists::DistinctItems items;
        for (int round = 0; round < 2; ++round) {
            for (int n = 0; n < 50000; ++n) {
                const QByteArray item = "Wort" + QByteArray::number(n);
                QCOMPARE(items.add(view(round == 0 ? item : item.toUpper())), round == 0);
            }
        }
        QCOMPARE(items.size(), std::size_t(50000));
        QCOMPARE(items.item(49999), std::string_view("Wort49999"));
    }

    void listOrderOfTheUserLocale() {
#ifdef Q_OS_WIN
        QSKIP("Order of the Windows collator: Wine's CompareStringEx passes over \"#\"");
#endif
        lists::DistinctItems items;
        for (const char* item :
             {"Zelt", "B\xC3\xA4ume", "Baum", "bellt", "Ha\xC2\xADus", "Auto", "Haus",
              "Ha\xC2\x81us", "B\xC3\xA4\x63ker", "Bauer", "#D:\\a", "1234"})
            QVERIFY(items.add(item));
        const auto order =
            lists::listOrder(items, lists::listCollator(QLocale()), [] { return true; });
        QVERIFY(order);
        QList<QByteArray> sorted;
        for (std::size_t index : *order)
            sorted.append(
                QByteArray(items.item(index).data(), qsizetype(items.item(index).size())));
        // Ties of the collator (ignorable characters) go by the lower-case
        // form: "u" before "Â", then U+0081 before U+00AD.
        const QList<QByteArray> expected = {
            "#D:\\a",       "1234",  "Auto", "B\xC3\xA4\x63ker", "Bauer",        "Baum",
            "B\xC3\xA4ume", "bellt", "Haus", "Ha\xC2\x81us",     "Ha\xC2\xADus", "Zelt"};
        QCOMPARE(sorted, expected);
    }

    // Qt's C locale compares code by code and keeps case in its sort keys.
    void cLocaleStillIgnoresCase() {
        lists::DistinctItems items;
        for (const char* item : {"Der", "bellt", "Anna", "anders"})
            QVERIFY(items.add(item));
        const auto order =
            lists::listOrder(items, lists::listCollator(QLocale::c()), [] { return true; });
        QVERIFY(order);
        QCOMPARE(*order, (std::vector<std::size_t>{3, 2, 1, 0}));
    }

    void listLinesAreUtf8WithCrLf() {
        QByteArray out;
        lists::appendListLine(out, "Haus");
        lists::appendListLine(out, "B\xC3\xA4ume");
        lists::appendListLine(out, "Ha\x81us");                 // stray byte: its own character
        lists::appendListLine(out, "\xF0\x9F\x98\x80");         // four bytes stay four bytes
        lists::appendListLine(out, "\xED\xA0\xBD\xED\xB8\x80"); // per-unit pair: one character
        QCOMPARE(out, QByteArray("Haus\r\nB\xC3\xA4ume\r\nHa\xC2\x81us\r\n\xF0\x9F\x98\x80\r\n"
                                 "\xF0\x9F\x98\x80\r\n"));
    }
};

QObject* makeListRulesTest() {
    return new ListRulesTest;
}

#include "rules_test.moc"
