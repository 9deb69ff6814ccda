// The search history of a database on a full or read-only program directory.
#include "app_test_services.h"
#include "quiet_host.h"
#include "search_window_wait.h"
#include "support/small_volume.h"

#include "app/search_request.h"
#include "app/search_window.h"
#include "app/search_window_host.h"

#include "database/document_list.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class HistoryWriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The search text cannot be filed: the user is told so in German with
    // the volume's state, and the history file stays as it was, as does
    // every other file of the program directory.
    void aFullOrReadOnlyDirectoryKeepsTheHistory_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full") << false << "Auf dem Datenträger ist nicht genug Platz frei.";
        QTest::newRow("read-only") << true << "Der Datenträger ist schreibgeschützt.";
    }
    void aFullOrReadOnlyDirectoryKeepsTheHistory() {
        QFETCH(bool, readOnly);
        QFETCH(QString, reason);
        testsupport::SmallVolume volume(1 << 20);
        if (!volume.mounted())
            QSKIP(testsupport::SmallVolume::notAvailable());
        AppTestServices services;
        services.programDirectory = volume.path();
        services.drives.setDrive(QLatin1Char('D'), volume.path() + QStringLiteral("D"));
        services.settings.write(QStringLiteral("Browser"), QStringLiteral("standard"));
        writeBytes(volume.path() + QStringLiteral("D/Brief.odt"), "zip");
        QVERIFY(QDir().mkpath(volume.path() + QStringLiteral("Datenbank")));
        QVERIFY(database::writeDocumentList(
            {database::documentListHeader(QStringLiteral("D:\\"),
                                          {QStringLiteral("*.odt"), {}, {}, {}, {}}),
             QStringLiteral("D:\\Brief.odt")},
            volume.path() + QStringLiteral("Datenbank/Texte.dat")));
        writeBytes(volume.path() + QStringLiteral("Datenbank/Texte_UTF8Dokument.txt"),
                   " \r\n \r\n \r\n#D:\\Brief.odt\r\n============\r\nDas Haus am See.\r\n");
        QString typed;
        services.onPause = [] { QCoreApplication::processEvents(); };
        services.onYield = [] { QCoreApplication::processEvents(); };
        services.runModal = [&](QDialog& window) {
            auto& form = static_cast<app::SearchWindow&>(window);
            form.show();
            auto* bar = form.findChild<QLineEdit*>(QStringLiteral("TntEdit2"));
            bar->setFocus();
            QTest::keyClicks(bar, typed);
            QTest::keyClick(bar, Qt::Key_Return);
            return resultOnceSearchEnded(form);
        };
        QuietHost host;
        host.entries = {QStringLiteral("Texte")};
        app::SearchWindow form(services.services(), host);
        app::LocalSearchRequest request(services.services(), host, form);
        typed = QStringLiteral("Haus");
        request.run();
        const QString history = volume.path() + QStringLiteral("Texte_Suchwoerterliste.txt");
        QVERIFY(QFile::exists(history));
        QVERIFY(services.prompts.shown.isEmpty());
        const auto before = testsupport::snapshotOf(volume.path());

        QVERIFY(readOnly ? volume.setReadOnly(true) : volume.fill());
        typed = QStringLiteral("See");
        request.run();
        const QString last =
            services.prompts.shown.isEmpty() ? QString() : services.prompts.shown.last().text;
        QVERIFY2(last.startsWith(QStringLiteral(
                     "Die Liste der Suchbegriffe konnte nicht gespeichert werden.\r\n")),
                 qPrintable(last));
        QVERIFY2(last.endsWith(QStringLiteral(". ") + reason), qPrintable(last));
        QCOMPARE(form.history(), (QStringList{QStringLiteral("See"), QStringLiteral("Haus")}));
        QVERIFY(testsupport::snapshotOf(volume.path()) == before);
    }
};

QTEST_MAIN(HistoryWriteTest)
#include "history_write_test.moc"
