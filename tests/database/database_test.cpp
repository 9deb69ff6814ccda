#include "database/catalogue.h"
#include "database/database_paths.h"
#include "database/database_text.h"
#include "database/document_list.h"
#include "database/drive_file_list.h"
#include "database/exclusion_list.h"
#include "database/index_log.h"
#include "database/not_written_message.h"
#include "database/part_files.h"
#include "platform/program_directory.h"
#include "platform/prompts.h"
#include "support/platform_doubles.h"
#include "textio/text_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace database;

namespace {

void touch(const QString& path, const QByteArray& bytes = QByteArray()) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ProgramDir {
    QTemporaryDir dir;
    ProgramDir() { QVERIFY(platform::makeWorkingDirectories(dir.path()).isEmpty()); }
    QString path() const { return dir.path() + QLatin1Char('/'); }
    QString data(const QString& name) const { return path() + QStringLiteral("Datenbank/") + name; }
};

} // namespace

class DatabaseTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void documentListStoresDoubleUtf8AndReadsItBack() {
        ProgramDir program;
        const QString file = documentListPath(program.path(), QStringLiteral("Test"));
        const QString folder = QStringLiteral("D:\\Bücher");
        const QString path = QStringLiteral("D:\\Bücher\\Übersicht.odt");
        const QStringList lines = {
            documentListHeader(folder,
                               {QStringLiteral("*.odt"), QStringLiteral("*.docx"), {}, {}, {}}),
            toDoubleUtf8Form(path)};
        QVERIFY(writeDocumentList(lines, file));

        QByteArray expected = "PFAD_UND_ENDUNGEN= D:\\B\xC3\x83\xC2\xBC"
                              "cher *.odt *.docx   \r\n"
                              "D:\\B\xC3\x83\xC2\xBC"
                              "cher\\\xC3\x83\xC5\x93"
                              "bersicht.odt\r\n";
        QCOMPARE(textio::readFileBytes(file).value(), expected);

        const QString header = readHeader(file).value();
        QCOMPARE(header, QStringLiteral(" D:\\Bücher *.odt *.docx   "));
        QCOMPARE(splitHeader(header).folder, folder);
        QCOMPARE(splitHeader(header).slotText, QStringLiteral("*.odt *.docx   "));
        QCOMPARE(driveLetterOfHeader(header), std::optional<QChar>(QLatin1Char('D')));
        QCOMPARE(readPaths(file).value(), QStringList{path});
        QVERIFY(!readHeader(program.data(QStringLiteral("none.dat"))).has_value());
    }

    void headerWithOnePatternEndsInFourBlanks() {
        const QString header =
            documentListHeader(QStringLiteral("C:\\"), {QStringLiteral("*.odt"), {}, {}, {}, {}});
        QCOMPARE(header, QStringLiteral("PFAD_UND_ENDUNGEN= C:\\ *.odt    "));
        QVERIFY(header.endsWith(QStringLiteral("t    ")));
        QCOMPARE(splitHeader(QStringLiteral(" C:\\Texte ")).slotText, QString());
    }

    void blockHeaderLines() {
        const QString path = QStringLiteral("D:\\Texte\\Ordner\\Unterordner\\Brief1.odt");
        QCOMPARE(path.size(), 38);
        const QString forty = path + QStringLiteral("xx");
        const QStringList lines = documentBlockHeaderLines(forty);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.mid(0, 3), QStringList({" ", " ", " "}));
        QCOMPARE(lines.at(3), QLatin1Char('#') + forty);
        QCOMPARE(lines.at(4), QString(40, QLatin1Char('=')));
        // A character outside the BMP is two units, so two "=".
        QCOMPARE(documentBlockHeaderLines(QString::fromUtf8("D:\\\xF0\x9F\x98\x80")).at(4),
                 QStringLiteral("====="));
        QCOMPARE(documentMarker(QLatin1Char('D')), QStringLiteral("#D:\\"));
    }

    void partNumbers_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "1";
        QTest::newRow("9") << 9 << "9";
        QTest::newRow("10") << 10 << "910";
        QTest::newRow("12") << 12 << "912";
        QTest::newRow("100") << 100 << "9100";
        QTest::newRow("1000") << 1000 << "91000";
        QTest::newRow("1001 goes on") << 1001 << "91001";
    }
    void partNumbers() {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(partNumberText(n), text);
        QCOMPARE(partNumberOfText(text), std::optional<int>(n));
    }

    void listPieceNames_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("number"); // 0: not a piece file
        QTest::newRow("first") << "SplitDokument001.txt" << 1;
        QTest::newRow("twelfth") << "SplitDokument012.txt" << 12;
        QTest::newRow("thousandth") << "SplitDokument1000.txt" << 1000;
        QTest::newRow("two digits") << "SplitDokument12.txt" << 0;
        QTest::newRow("four digits with zero") << "SplitDokument0012.txt" << 0;
        QTest::newRow("other case") << "splitdokument001.txt" << 0;
        QTest::newRow("more after it") << "SplitDokument001.txt.bak" << 0;
        QTest::newRow("part file") << "Test_UTF8Dokument1.txt" << 0;
    }
    void listPieceNames() {
        QFETCH(QString, fileName);
        QFETCH(int, number);
        QCOMPARE(listPieceNumber(fileName), number ? std::optional<int>(number) : std::nullopt);
        if (number)
            QCOMPARE(listPieceFileName(number), fileName);
    }

    void partFilesMergeInNumericOrder() {
        ProgramDir program;
        const QString name = QStringLiteral("Test");
        for (int n = 12; n >= 1; --n)
            touch(partFilePath(program.path(), name, n));
        touch(partFilePath(program.path(), QStringLiteral("Other"), 1));
        touch(program.path() + QStringLiteral("Datenbank/Temp/Test_UTF8Dokument91.txt"));
        QStringList names;
        for (const QString& path : partFilesInMergeOrder(program.path(), name))
            names.append(QFileInfo(path).fileName());
        QStringList expected;
        for (const char* k : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "910", "911", "912"})
            expected.append(QStringLiteral("Test_UTF8Dokument%1.txt").arg(QLatin1String(k)));
        QCOMPARE(names, expected);
    }

    void moreThanAThousandPartsAreAllKept() {
        ProgramDir program;
        const QString name = QStringLiteral("Gross");
        for (int n = 1; n <= 1003; ++n)
            touch(partFilePath(program.path(), name, n), QByteArray::number(n));
        const QStringList paths = partFilesInMergeOrder(program.path(), name);
        QCOMPARE(paths.size(), 1003);
        for (int n = 1; n <= 1003; ++n)
            QCOMPARE(textio::readFileBytes(paths.at(n - 1)).value(), QByteArray::number(n));
    }

    void convertBytes_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << qint64(0) << "0 Bytes";
        QTest::newRow("1024") << qint64(1024) << "1024 Bytes";
        QTest::newRow("1025") << qint64(1025) << "1 KB";
        QTest::newRow("1048576") << qint64(1048576) << "1024 KB";
        QTest::newRow("1048577") << qint64(1048577) << "1 MB";
        QTest::newRow("1073741824") << qint64(1073741824) << "1024 MB";
        QTest::newRow("5 GiB, past 32 bits") << qint64(5) * 1073741824 << "5 GB";
    }
    void convertBytes() {
        QFETCH(qint64, size);
        QFETCH(QString, text);
        QCOMPARE(byteSizeText(size), text);
    }

    void indexLogInGermanSettings() {
        RunFigures figures;
        figures.listedFiles = 1234;
        figures.indexedDocuments = 1200;
        figures.elapsedSeconds = 247;
        figures.totalSize = 1048577;
        const QStringList lines =
            indexLogLines(figures, QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(lines,
                 QStringList({" ", "Dateien insgesamt: 1.234", "Konnten nicht indiziert werden: 34",
                              "1.200 ODT-Dateien wurden indiziert.   Zeit: 0:4:7  Gesamtgröße der "
                              "gepackten Datei(en) : 1 MB"}));
        QCOMPARE(elapsedTimeText(3725), QStringLiteral("1:2:5"));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Test.log"));
        QVERIFY(writeIndexLog({"alt", "alt", "alt", "alt", "alt"}, file));
        QVERIFY(writeIndexLog(lines, file));
        const QByteArray bytes = textio::readFileBytes(file).value();
        QVERIFY(bytes.startsWith("\xFF\xFE \0\r\0\n\0"));
        QCOMPARE(textio::decodeLinesWithMarkDetection(bytes), lines);
    }

    void catalogueListsDatabasesByName() {
        ProgramDir program;
        for (const char* file : {"my.data.dat", "a.dat.dat", "x_MHT.DAT", "Zeta.DAT", "beta.dat",
                                 "notes.txt", "y_mht.dat.dat"})
            touch(program.data(QLatin1String(file)));
        QDir().mkdir(program.data(QStringLiteral("ordner.dat")));
        QCOMPARE(scanCatalogue(program.path()),
                 QStringList({"a.dat", "beta", "my.data", "ordner", "Zeta"}));
    }

    void deletingRemovesEveryFileOfTheDatabaseOnly() {
        ProgramDir program;
        const QStringList paths = databaseFilePaths(program.path(), QStringLiteral("Test"));
        QCOMPARE(paths.size(), 10);
        QCOMPARE(paths.last(),
                 QDir::toNativeSeparators(program.data(QStringLiteral("Test_Textcache.bin"))));
        for (const QString& path : paths)
            touch(path);
        const QString keep = program.data(QStringLiteral("Test_Phrasen_Woerter_AnsiListe.txt"));
        touch(keep);
        touch(program.data(QStringLiteral("Test2.dat")));
        deleteDatabaseFiles(program.path(), QStringLiteral("Test"));
        for (const QString& path : paths)
            QVERIFY2(!QFile::exists(path), qPrintable(path));
        QVERIFY(QFile::exists(keep));
        QCOMPARE(scanCatalogue(program.path()), QStringList{"Test2"});
        QVERIFY(databaseExists(program.path(), QStringLiteral("Test2")));
        // Deleting again finds nothing and does nothing.
        deleteDatabaseFiles(program.path(), QStringLiteral("Test"));
    }

    void notWrittenMessages() {
        QCOMPARE(fileNotWrittenMessage(QStringLiteral("/p/Datenbank/A.log"),
                                       QStringLiteral("Kein Platz")),
                 QStringLiteral("Die Datei /p/Datenbank/A.log konnte nicht geschrieben werden: "
                                "Kein Platz"));
        QCOMPARE(fileNotWrittenMessage(QStringLiteral("/p/Datenbank/A.dat")),
                 QStringLiteral("Die Datei /p/Datenbank/A.dat konnte nicht geschrieben werden."));
        QCOMPARE(notWrittenMessage(QStringLiteral("Die Ergebnisseite"), QStringLiteral("voll")),
                 QStringLiteral("Die Ergebnisseite konnte nicht geschrieben werden: voll"));
    }

    void exclusionList_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("set");
        QTest::newRow("ansi, trimmed, once each, lower-cased")
            << QByteArray("  Privat\t\r\n\r\nprivat\r\n\x01"
                          "Entw\xFC"
                          "rfe \r\n")
            << QStringList({"entwürfe", "privat"});
        QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF"
                                                  "Entw\xC3\xBC"
                                                  "rfe")
                                    << QStringList({"entwürfe"});
        QTest::newRow("utf-16le mark")
            << QByteArray("\xFF\xFEX\0\r\0\n\0", 8) << QStringList({"x"});
    }
    void exclusionList() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, set);
        QTemporaryDir dir;
        const QString path = exclusionListPath(dir.path());
        touch(path, file);
        QCOMPARE(loadExclusionSet(path), set);
    }

    void exclusionMatchesTheUndecodedLine() {
        // The drive list holds "Entwürfe" as UTF-8; in its ANSI view that is
        // "EntwÃ¼rfe", which only a UTF-8 exclusion list without mark matches.
        const QString lineAnsi = QString::fromLatin1("D:\\Entw\xC3\xBC"
                                                     "rfe\\a.odt");
        QVERIFY(!isExcluded({QStringLiteral("entwürfe")}, lineAnsi));
        QTemporaryDir dir;
        const QString path = exclusionListPath(dir.path());
        touch(path, QByteArray("Entw\xC3\xBC"
                               "rfe"));
        QVERIFY(isExcluded(loadExclusionSet(path), lineAnsi));
        QVERIFY(isExcluded({QStringLiteral("d:\\entw")}, lineAnsi));
        QVERIFY(!isExcluded({}, lineAnsi));
        QVERIFY(loadExclusionSet(dir.filePath(QStringLiteral("missing.txt"))).isEmpty());
    }

    // The one-pass matcher answers as testing every text on its own does,
    // over texts that overlap, nest and share prefixes and suffixes.
    void exclusionMatcherAnswersAsEachTextAlone() {
        quint32 seed = 26;
        const auto next = [&seed](int below) {
            seed = seed * 1103515245 + 12345;
            return int((seed >> 16) % below);
        };
        const auto word = [&](int maxLength) {
            QString text;
            const int length = 1 + next(maxLength);
            for (int i = 0; i < length; ++i)
                text += QChar(u"abAB\\\u00e4\u00c4"[next(7)]);
            return text;
        };
        int matched = 0;
        for (int round = 0; round < 300; ++round) {
            QStringList texts;
            for (int i = next(6); i > 0; --i)
                texts.append(word(4));
            const QStringList set = exclusionSetFromLines(texts);
            const ExclusionMatcher matcher(set);
            QCOMPARE(matcher.empty(), set.isEmpty());
            for (int line = 0; line < 20; ++line) {
                const QString path = word(12);
                QCOMPARE(matcher.matches(path), isExcluded(set, path));
                matched += matcher.matches(path) ? 1 : 0;
            }
        }
        QVERIFY(matched > 100); // the cases are not all misses
    }

    void driveFileListLines() {
        QByteArray lines;
        appendFullLine(lines, "Z:\\home\\anna\\", "Brief.odt");
        appendDittoLine(lines, "b.odt");
        QCOMPARE(lines, QByteArray("Z:\\home\\anna\\Brief.odt\r\n\" b.odt\r\n"));
        QVERIFY(isDittoLine(QStringLiteral("\" b.odt")));
        QVERIFY(!isDittoLine(QStringLiteral("\"b.odt")));
        ProgramDir program;
        QVERIFY(!findDriveFileList(program.path(), QLatin1Char('d')).has_value());
        touch(program.data(QStringLiteral("Haupt_Dateinamen_Liste_Laufwerk_D.txt")));
        const QString found =
            QFileInfo(findDriveFileList(program.path(), QLatin1Char('d')).value()).fileName();
#ifdef Q_OS_WIN
        // NTFS finds the list under either case of its name.
        QCOMPARE(found.toUpper(), QStringLiteral("HAUPT_DATEINAMEN_LISTE_LAUFWERK_D.TXT"));
#else
        QCOMPARE(found, QStringLiteral("Haupt_Dateinamen_Liste_Laufwerk_D.txt"));
#endif
    }
};

QTEST_GUILESS_MAIN(DatabaseTest)
#include "database_test.moc"
