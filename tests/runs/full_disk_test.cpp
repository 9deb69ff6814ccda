// Writers that run out of room: the message names the cause in German, as
// the other full-disk messages do, even where the failed file was discarded
// and its room is free again by the time the message is made.
#include "support/small_volume.h"

#include "database/storage_hint.h"
#include "filelist/list_writer.h"
#include "indexing/text_cache.h"
#include "lists/list_file.h"
#include "lists/list_order.h"
#include "textio/durable_files.h"
#include "textio/text_files.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QString kFull = QStringLiteral("Auf dem Datenträger ist nicht genug Platz frei.");

// Leaves about `room` bytes free on the volume.
bool fillLeaving(testsupport::SmallVolume& volume, qint64 room) {
    QFile filler(volume.path() + QStringLiteral("Fuellung"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray piece(4096, 'x');
    while (QStorageInfo(volume.path()).bytesAvailable() > room) {
        if (filler.write(piece) != piece.size())
            return false;
    }
    return true;
}

QByteArray words(int count) {
    QByteArray text;
    for (int n = 0; n < count; ++n)
        text += "Wort" + QByteArray::number(n * 7919) + ' ';
    return text;
}

} // namespace

using Writer = std::function<QString(const QString& folder)>;
Q_DECLARE_METATYPE(Writer)

class FullDiskTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFullDiskIsNamed_data() {
        QTest::addColumn<Writer>("write");
        // Whether the failed file is discarded, so its room is free again
        // when the message is made (the text cache's stays for the run to
        // remove).
        QTest::addColumn<bool>("discarded");
        // Each writes about 400 KB where 200 KB are free, and returns the
        // message the user is given.
        QTest::newRow("results page (written whole)") << Writer([](const QString& folder) {
            QString error;
            const QString page = folder + QStringLiteral("TX_Ergebnis2.htm");
            if (textio::writeFileAtomically(page, words(40000), &error))
                return QStringLiteral("geschrieben");
            return database::withStorageHint(
                QStringLiteral("Die Ergebnisseite ") + page +
                    QStringLiteral(" konnte nicht geschrieben werden: ") + error,
                folder);
        }) << true;
        QTest::newRow("sorted list") << Writer([](const QString& folder) {
            lists::ListGroups groups;
            for (int n = 0; n < 40000; ++n)
                groups[n % 5].add("Wort" + std::to_string(n * 7919));
            const lists::ListFileWrite written =
                lists::writeSortedList(folder + QStringLiteral("Liste.txt"), groups,
                                       lists::listCollator(QLocale()), [] { return true; });
            return written.error.isEmpty() ? QStringLiteral("geschrieben") : written.error;
        }) << true;
        QTest::newRow("text cache") << Writer([](const QString& folder) {
            indexing::TextCacheWriter cache(folder + QStringLiteral("T_Textcache.bin"),
                                            indexing::ExtractionLimits{});
            indexing::CacheEntry entry;
            entry.bytes = words(40000);
            cache.add(entry);
            if (cache.finish({}))
                return QStringLiteral("geschrieben");
            return database::withStorageHint(cache.error(), cache.stagedPath());
        }) << false;
        QTest::newRow("drive file list") << Writer([](const QString& folder) {
            QTemporaryDir tree;
            for (int n = 0; n < 12000; ++n) {
                QFile file(
                    tree.filePath(QStringLiteral("Ein recht langer Dateiname %1.odt").arg(n)));
                if (!file.open(QIODevice::WriteOnly))
                    return QStringLiteral("kein Baum");
            }
            const filelist::ListWriteResult result = filelist::writeDriveFileList(
                tree.path(), QLatin1Char('T'),
                folder + QStringLiteral("Datenbank/Haupt_Dateinamen_Liste_Laufwerk_T.txt"), {});
            return result.ok ? QStringLiteral("geschrieben") : result.error;
        }) << true;
    }
    void aFullDiskIsNamed() {
        QFETCH(Writer, write);
        QFETCH(bool, discarded);
        testsupport::SmallVolume volume(1 << 20);
        if (!volume.mounted())
            QSKIP(testsupport::SmallVolume::notAvailable());
        QVERIFY(fillLeaving(volume, 200 << 10));
        const QString message = write(volume.path());
        // The failed file is gone and its room free again.
        if (discarded)
            QVERIFY(QStorageInfo(volume.path()).bytesAvailable() > (64 << 10));
        QVERIFY2(message.contains(QStringLiteral(": ") + textio::diskFullReason()),
                 qPrintable(message));
        QVERIFY2(message.endsWith(QStringLiteral(". ") + kFull), qPrintable(message));
        QVERIFY(!message.contains(QStringLiteral("Unknown error")));
        QVERIFY(!message.contains(QStringLiteral("Writing canceled")));
    }
};

QTEST_GUILESS_MAIN(FullDiskTest)
#include "full_disk_test.moc"
