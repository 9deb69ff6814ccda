#include "viewer_test_support.h"

#include "support/run_program.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class PositionsCliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void positionsCommand() {
        QTemporaryDir config;
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Datenbank")));
        const QString data = program.path() + QStringLiteral("/Datenbank/");
        QVERIFY(viewertest::writeBytes(data + "Texte.dat",
                                       "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\n"));
        QByteArray text;
        for (int d = 0; d < 3; ++d) {
            text += " \r\n \r\n \r\n#D:\\Texte\\" + QByteArray::number(d) + ".odt\r\n==\r\n";
            for (int l = 0; l < 4; ++l)
                text += "Zeile\r\n";
        }
        QVERIFY(viewertest::writeBytes(data + "Texte_UTF8Dokument.txt", text));
        const QStringList base = {"--program-dir", program.path(), "positions"};
        auto run = [&](const QStringList& more) {
            return testsupport::runBuiltProgram(QStringLiteral("trovex"), base + more,
                                                config.path());
        };

        // Blocks of 9 lines (9 + 17 + 4 + 4 * 7 = 58 bytes), the path line 9 bytes in;
        // pages of 8 lines: each path line lies below the page of the one before.
        auto done = run({"Texte", "--lines", "8"});
        QCOMPARE(done.status, 0);
        QCOMPARE(done.out, QStringLiteral("3\n"));
        QCOMPARE(viewertest::readBytes(data + "Texte_TitelPositionen.txt"),
                 QByteArray("0 #D:\\Texte\\0.odt\r\n67 #D:\\Texte\\1.odt\r\n"
                            "125 #D:\\Texte\\2.odt\r\n"));
        done = run({"Texte"});
        QCOMPARE(done.status, 0);
        QCOMPARE(
            viewertest::readBytes(data + "Texte_TitelPositionen.txt"),
            QByteArray("0 #D:\\Texte\\0.odt\r\n0 #D:\\Texte\\1.odt\r\n0 #D:\\Texte\\2.odt\r\n"));

        const auto missing = run({"Fehlt"});
        QCOMPARE(missing.status, 1);
        QCOMPARE(missing.err, QStringLiteral("Die Datenbank \"Fehlt\" existiert nicht.\n"));
        QCOMPARE(run({}).status, 2);
        QCOMPARE(run({"Texte", "--lines", "0"}).status, 2);
        QCOMPARE(run({"Texte", "--lines"}).status, 2);
    }
};

std::unique_ptr<QObject> makePositionsCliTest() {
    return std::make_unique<PositionsCliTest>();
}

#include "positions_cli_test.moc"
