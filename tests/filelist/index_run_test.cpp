#include "test_registry.h"
#include "tree_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fixtureDocument(const char* name) {
    QFile file(qEnvironmentVariable("TROVEX_FIXTURES") + QStringLiteral("/indexing/") +
               QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The whole road: trovex index --new-list runs the tool, reads the list it
// wrote and indexes every document below the folder.
class IndexRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void indexRunFindsEveryDocumentOfTheList() {
        const QString trovex = qEnvironmentVariable("TROVEX_BIN") + QStringLiteral("/trovex");
        if (!QFileInfo(trovex).isExecutable())
            QSKIP("trovex is not built");
        const QByteArray odt = fixtureDocument("libreoffice.odt");
        const QByteArray docx = fixtureDocument("pandoc.docx");
        const QByteArray epub = fixtureDocument("pandoc.epub");
        QVERIFY(!odt.isEmpty() && !docx.isEmpty() && !epub.isEmpty());

        fixture::ScratchDir temp;
        const QByteArray t = QFile::encodeName(temp.path()) + "/Laufwerk/Texte";
        QVERIFY(QDir().mkpath(QFile::decodeName(t)));
        for (const char* d : {"/Bücher", "/leer", "/Kapitel 1", "/Kapitel 1/tief", "/x\xff"})
            QVERIFY(fixture::makeDirectory(t + d));
        QVERIFY(fixture::makeFile(t + "/Brief an Anna.odt", odt));
        QVERIFY(fixture::makeFile(t + "/Notiz 10:30.odt", odt));
        QVERIFY(fixture::makeFile(t + "/Notiz 11.ODT", odt));
        QVERIFY(fixture::makeFile(t + "/liesmich.txt", "nicht indizieren"));
        QVERIFY(fixture::makeFile(t + "/Bücher/Faust.epub", epub));
        QVERIFY(fixture::makeFile(t + "/Kapitel 1/zwei.docx", docx));
        QVERIFY(fixture::makeFile(t + "/Kapitel 1/tief/Übersicht.odt", odt));
        QVERIFY(fixture::makeFile(t + "/x\xff/alt.odt", odt));
        QVERIFY(fixture::makeSymlink("../Brief an Anna.odt", t + "/Kapitel 1/verweis.odt"));

        const QString program = temp.path() + QStringLiteral("/Programm");
        QVERIFY(QDir().mkpath(program));
        QProcess index;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), temp.path());
        index.setProcessEnvironment(environment);
        index.start(trovex,
                    {QStringLiteral("--program-dir"), program, QStringLiteral("--drive"),
                     QStringLiteral("T=") + temp.path() + QStringLiteral("/Laufwerk"),
                     QStringLiteral("index"), QStringLiteral("Test"), QStringLiteral("T:\\Texte"),
                     QStringLiteral("*.odt *.docx *.epub"), QStringLiteral("--new-list")});
        QVERIFY(index.waitForFinished(120000));
        QCOMPARE(index.exitCode(), 0);
        const QByteArray log = index.readAllStandardOutput();
        QVERIFY2(log.contains("Dateien insgesamt: 7\n"), log.constData());

        QVERIFY(QFileInfo::exists(
            program + QStringLiteral("/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_T.txt")));
        const QByteArray text =
            fixture::readAll(program + QStringLiteral("/Datenbank/Test_UTF8Dokument.txt"));
        for (const char* header :
             {"#T:\\Texte\\Brief an Anna.odt\r\n", "#T:\\Texte\\Notiz 10:30.odt\r\n",
              "#T:\\Texte\\Notiz 11.ODT\r\n", "#T:\\Texte\\Bücher\\Faust.epub\r\n",
              "#T:\\Texte\\Kapitel 1\\zwei.docx\r\n",
              "#T:\\Texte\\Kapitel 1\\tief\\Übersicht.odt\r\n"})
            QVERIFY2(text.contains(header), header);
        QVERIFY(!text.contains("verweis.odt"));
        QVERIFY(!text.contains("liesmich"));

        // The folder whose name is not UTF-8 reaches the document list, and
        // its document opens through the escaped bytes.
        QVERIFY(log.contains("Konnten nicht indiziert werden: 0\n"));
    }
};

TROVEX_FILELIST_TEST(IndexRunTest)
#include "index_run_test.moc"
