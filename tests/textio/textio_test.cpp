#include "textio/regular_file.h"
#include "textio/text_files.h"
#include "textio/utf8.h"
#include "textio/windows1252.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

using namespace textio;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

QString units(std::initializer_list<char16_t> list) {
    QString s;
    for (char16_t u : list)
        s.append(QChar(u));
    return s;
}

// Makes the file at `path` in `dir` of the given kind.
void makeFileOfKind([[maybe_unused]] const QString& dir, const QString& path, const QString& kind) {
    [[maybe_unused]] const QByteArray native = QFile::encodeName(path);
    if (kind == "regular" || kind == "unreadable") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Inhalt\r\n");
        file.close();
    } else if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    }
#ifndef Q_OS_WIN
    if (kind == "unreadable") {
        QVERIFY(::chmod(native.constData(), 0) == 0);
    } else if (kind == "fifo") {
        QVERIFY(::mkfifo(native.constData(), 0644) == 0);
    } else if (kind == "link to fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(dir + "/pipe").constData(), 0644) == 0);
        QVERIFY(QFile::link(dir + "/pipe", path));
    } else if (kind == "device") {
        QVERIFY(QFile::link("/dev/zero", path));
    }
#endif
}

} // namespace

class TextIoTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writeToStreamInEachCodePage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        const QString ae = QStringLiteral("ä\r\n");
        QTest::newRow("utf-8") << ae << 65001 << hex("C3A40D0A");
        QTest::newRow("utf-16le") << ae << 1200 << hex("FFFEE4000D000A00");
        QTest::newRow("windows-1252") << ae << 1252 << hex("E40D0A");
        QTest::newRow("1252 euro") << QStringLiteral("€") << 1252 << hex("80");
        QTest::newRow("1252 unrepresentable, one ? per unit")
            << units({0x03B1, 0xD83D, 0xDE00}) << 1252 << QByteArray("???");
        QTest::newRow("utf-8 pair is four bytes")
            << units({0xD83D, 0xDE00}) << 65001 << hex("F09F9880");
        QTest::newRow("utf-8 lone surrogate") << units({0xD83D}) << 65001 << hex("EFBFBD");
    }
    void writeToStreamInEachCodePage() {
        QFETCH(QString, text);
        QFETCH(int, codePage);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("out.txt"));
        QVERIFY(writeTextFile(text, file, codePage));
        QCOMPARE(readFileBytes(file).value(), bytes);
    }

    void writeToStreamReplacesTheWholeFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("out.txt"));
        QVERIFY(writeTextFile(QStringLiteral("a long first text\r\n"), file, 65001));
        QVERIFY(writeTextFile(QStringLiteral("b\r\n"), file, 65001));
        QCOMPARE(readFileBytes(file).value(), QByteArray("b\r\n"));
        QVERIFY(!writeTextFile(QStringLiteral("x"), dir.filePath(QStringLiteral("no/such/dir/f")),
                               65001));
    }

    void perUnitEncodeSplitsSurrogatePairs() {
        QCOMPARE(utf8EncodePerUnit(units({0xD83D, 0xDE00})), hex("EDA0BDEDB880"));
        QCOMPARE(utf8EncodePerUnit(QStringLiteral("aä€")), hex("61C3A4E282AC"));
    }

    // Pairs become four bytes as in standard UTF-8, while the escape of a
    // file-name byte keeps its three and decodes back to itself.
    void encodeKeepingEscapes() {
        const QString path = QStringLiteral("a") + units({0xD83D, 0xDE00, 0xDCFF, 0xDC0D});
        QCOMPARE(utf8EncodeKeepingEscapes(path), hex("61F09F9880EDB3BFEDB08D"));
        QCOMPARE(utf8DecodeLenient(utf8EncodeKeepingEscapes(path)), path);
        QCOMPARE(utf8EncodeStandard(path), hex("61F09F9880EFBFBDEFBFBD"));
    }

    void lenientDecode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii and umlaut") << hex("61C3A4") << QStringLiteral("aä");
        QTest::newRow("four bytes become a pair") << hex("F09F9880") << units({0xD83D, 0xDE00});
        QTest::newRow("per-unit pair comes back") << hex("EDA0BDEDB880") << units({0xD83D, 0xDE00});
        QTest::newRow("overlong two bytes") << hex("C1BF") << units({0x7F});
        QTest::newRow("stray continuation") << hex("8061") << units({0x80, 'a'});
        QTest::newRow("lead without continuation") << hex("C361") << units({0xC3, 'a'});
        QTest::newRow("F8 and FF") << hex("F8FF") << units({0xF8, 0xFF});
        QTest::newRow("above U+10FFFF") << hex("F4908080") << units({0xF4, 0x90, 0x80, 0x80});
        QTest::newRow("cut off at the end: one character") << hex("61E282") << units({'a', 0xE2});
        QTest::newRow("lead byte last") << hex("61F0") << units({'a', 0xF0});
    }
    void lenientDecode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(utf8DecodeLenient(bytes), text);
    }

    void doubleUtf8RoundTrips_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("ascii unchanged")
            << QStringLiteral("D:\\Texte\\a.odt") << QByteArray("D:\\Texte\\a.odt");
        QTest::newRow("Übersicht")
            << QStringLiteral("Übersicht.odt") << hex("C383C593") + "bersicht.odt";
        QTest::newRow("undefined 1252 byte 0x81 (U+0141 is C5 81)")
            << QStringLiteral("Ł") << hex("C385C281");
        QTest::newRow("surrogate pair") << units({0xD83D, 0xDE00}) << QByteArray();
    }
    void doubleUtf8RoundTrips() {
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        const QByteArray encoded = doubleUtf8Encode(text);
        if (!stored.isEmpty())
            QCOMPARE(encoded, stored);
        QCOMPARE(doubleUtf8Decode(encoded), text);
    }

    void ansiViewMapsTheUndefinedBytes() {
        QCOMPARE(ansiView(hex("818D8F909D80")), units({0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x20AC}));
        QCOMPARE(ansiBytes(units({0x81, 0x20AC, 0x0100})), hex("81803F"));
    }

    void caseTables() {
        const auto& lower = windows1252LowerTable();
        const auto& upper = windows1252UpperTable();
        QCOMPARE(lower[0xC4], 0xE4); // Ä
        QCOMPARE(lower['H'], 'h');
        QCOMPARE(lower[0x8A], 0x9A); // Š
        QCOMPARE(upper[0xFF], 0x9F); // ÿ -> Ÿ
        QCOMPARE(upper[0xDF], 0xDF); // ß has no single upper character
        QCOMPARE(upper[0xB5], 0xB5); // µ -> Greek Mu, not in the code page
    }

    void lineLoaders_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("marksOnly");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("detect: utf-16le mark")
            << hex("FFFE61000D000A0062000A00") << false << QStringList{"a", "b"};
        QTest::newRow("detect: utf-16be mark")
            << hex("FEFF0061000D000A0062") << false << QStringList{"a", "b"};
        QTest::newRow("detect: utf-8 mark") << hex("EFBBBFC3A40D") << false << QStringList{"ä"};
        QTest::newRow("detect: ansi, CR alone and LS")
            << hex("E40D620A0D0A63") << false << QStringList{"ä", "b", "", "c"};
        QTest::newRow("detect: VT is no line end")
            << hex("610B62") << false << QStringList{QStringLiteral("a\vb")};
        QTest::newRow("marks only: utf-8 mark stays ansi")
            << hex("EFBBBF61") << true << QStringList{"ï»¿a"};
        QTest::newRow("marks only: VT FF end lines")
            << hex("610B620C63") << true << QStringList{"a", "b", "c"};
        QTest::newRow("marks only: NUL ends the text")
            << hex("610D0A620063") << true << QStringList{"a", "b"};
        QTest::newRow("marks only: utf-16le")
            << hex("FFFE61000029") << true << QStringList{QStringLiteral("a\u2900")};
        // The UTF-16 forms are decoded one line at a time.
        QTest::newRow("marks only: utf-16le line ends and empty lines")
            << hex("FFFE61000D000A000D0062000A000A0063002820640029200D00") << true
            << QStringList{"a", "", "b", "", "c", "d", ""};
        QTest::newRow("marks only: utf-16be, NUL and an odd last byte")
            << hex("FEFF00610062000A006300000064FF") << true << QStringList{"ab", "c"};
        QTest::newRow("marks only: utf-16le, an odd last byte")
            << hex("FFFEE4000A00FC0041") << true << QStringList{"ä", "ü"};
    }
    void lineLoaders() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, marksOnly);
        QFETCH(QStringList, lines);
        QCOMPARE(marksOnly ? decodeLinesUtf16MarksOnly(bytes) : decodeLinesWithMarkDetection(bytes),
                 lines);
    }

    void linesSavedAsUtf16() {
        QCOMPARE(encodeLinesAsUtf16({QStringLiteral(" "), QStringLiteral("ä")}),
                 hex("FFFE20000D000A00E4000D000A00"));
    }

    // A FIFO (or a link to one) would block open() until a writer comes,
    // a device would never end: every reader takes regular files only, and
    // tells why it took none.
    void onlyRegularFilesAreOpened_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("failure");
        QTest::newRow("regular") << "regular" << int(OpenFailure::None);
        QTest::newRow("missing") << "missing" << int(OpenFailure::Missing);
        QTest::newRow("folder") << "folder" << int(OpenFailure::NotRegular);
#ifndef Q_OS_WIN
        // Windows has no FIFO, device node or mode bits in a folder.
        QTest::newRow("fifo") << "fifo" << int(OpenFailure::NotRegular);
        QTest::newRow("link to a fifo") << "link to fifo" << int(OpenFailure::NotRegular);
        QTest::newRow("device") << "device" << int(OpenFailure::NotRegular);
        QTest::newRow("no permission") << "unreadable" << int(OpenFailure::NotPermitted);
#endif
    }
    void onlyRegularFilesAreOpened() {
        QFETCH(QString, kind);
        QFETCH(int, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath("Liste.txt");
        makeFileOfKind(dir.path(), path, kind);
#ifndef Q_OS_WIN
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        // Permissions do not hold for root; the check runs as nobody then.
        const bool asNobody = kind == "unreadable" && ::geteuid() == 0;
        if (asNobody)
            QVERIFY(::seteuid(65534) == 0);
#endif
        QFile file;
        OpenFailure why = OpenFailure::Other;
        const bool opened = openRegularFile(file, path, &why);
        const std::optional<QByteArray> bytes = readFileBytes(path);
        const bool regularOrMissing = isRegularFileOrMissing(path);
#ifndef Q_OS_WIN
        if (asNobody)
            QVERIFY(::seteuid(0) == 0);
#endif
        QCOMPARE(int(why), failure);
        QCOMPARE(opened, kind == "regular");
        QCOMPARE(bytes.has_value(), kind == "regular");
        QCOMPARE(regularOrMissing, kind == "regular" || kind == "missing" || kind == "unreadable");
        if (opened) {
            QCOMPARE(file.readAll(), QByteArray("Inhalt\r\n"));
            QCOMPARE(*bytes, QByteArray("Inhalt\r\n"));
        }
    }

    // Only the lines asked for are read, and no more of the file than
    // they take: a hand-edited list may be of any size.
    void firstLinesOnly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maxLines");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fewer lines than asked")
            << QByteArray("a\r\nb") << 3 << 100 << QStringList{"a", "b"};
        QTest::newRow("more lines than asked")
            << QByteArray("a\r\nb\r\nc\r\nd\r\n") << 2 << 100 << QStringList{"a", "b"};
        QTest::newRow("utf-16 with mark")
            << hex("FFFE61000D000A006200") << 5 << 100 << QStringList{"a", "b"};
        QTest::newRow("a line cut by the byte bound is left out")
            << QByteArray("eins\r\nzwei\r\ndrei") << 5 << 12 << QStringList{"eins", "zwei"};
        const QByteArray longLine(64 * 1024 - 1, 'x');
        QTest::newRow("CR LF across two pieces is one break")
            << QByteArray(longLine + "\r\ny\r\nz") << 2 << (1 << 20)
            << QStringList{QString::fromLatin1(longLine), "y"};
    }
    void firstLinesOnly() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maxLines);
        QFETCH(int, maxBytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        QFile file(dir.filePath("h.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QCOMPARE(loadFirstLinesWithMarkDetection(file.fileName(), maxLines, maxBytes), lines);
    }
};

QTEST_GUILESS_MAIN(TextIoTest)
#include "textio_test.moc"
