// The start script trovex-odt-start and the example files it gives a new
// user. The script is run from a copy of the installation layout
// (bin/ beside share/trovex-odt/) whose trovex-odt only records where and
// how it was started.
#include "app/help_document.h"
#include "database/exclusion_list.h"
#include "database/extension_choices.h"
#include "search/web_site_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kExampleFiles = {QStringLiteral("AuswahlEndungen.txt"),
                                   QStringLiteral("AusnahmeIndizierung.txt"),
                                   QStringLiteral("Adressen_Webseiten.txt")};

// doc/hilfe of the sources.
QString helpFolder() {
    return qEnvironmentVariable("TROVEX_FIXTURES") + QStringLiteral("/../../doc/hilfe/");
}

QString builtExamples() {
    return qEnvironmentVariable("TROVEX_BIN") + QStringLiteral("/../share/trovex-odt/");
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(fehlt)");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An installation under a temporary prefix, with a home folder beside it.
struct Installation {
    QTemporaryDir root;
    QString prefix = root.path() + QStringLiteral("/prefix");
    QString home = root.path() + QStringLiteral("/home/anna");
    QString record = root.path() + QStringLiteral("/gestartet.txt");

    explicit Installation(bool withExamples = true) {
        QDir().mkpath(prefix + QStringLiteral("/bin"));
        QDir().mkpath(home);
        QVERIFY(QFile::copy(
            qEnvironmentVariable("TROVEX_BIN") + QStringLiteral("/trovex-odt-start"), launcher()));
        writeBytes(prefix + QStringLiteral("/bin/trovex-odt"),
                   "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > \"$TROVEX_TEST_RECORD\"\n");
        for (const QString& script :
             QStringList{launcher(), prefix + QStringLiteral("/bin/trovex-odt")})
            QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
        if (withExamples) {
            QDir().mkpath(shared());
            for (const QString& name : kExampleFiles)
                QVERIFY(QFile::copy(builtExamples() + name, shared() + name));
        }
    }

    QString launcher() const { return prefix + QStringLiteral("/bin/trovex-odt-start"); }
    QString shared() const { return prefix + QStringLiteral("/share/trovex-odt/"); }

    // Runs the script as the menu entry does; the program's current folder
    // and arguments as it recorded them.
    QStringList start(const QString& dataHome, const QStringList& arguments = {},
                      const QString& command = QString()) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("TROVEX_TEST_RECORD"), record);
        if (dataHome.isNull())
            environment.remove(QStringLiteral("XDG_DATA_HOME"));
        else
            environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(root.path());
        process.start(command.isEmpty() ? launcher() : command, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            qWarning() << process.readAllStandardError();
            return {};
        }
        QStringList lines = QString::fromUtf8(readBytes(record)).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }
};

} // namespace

class InstallTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theFirstStartMakesTheDataFolderWithTheExamples_data();
    void theFirstStartMakesTheDataFolderWithTheExamples();
    void theUsersOwnFilesAreKeptAndMissingOnesComeBack();
    void aStartWithoutExamplesStillStartsTheProgram();
    void theExamplesReadAsTheProgramReadsThem();
    void theHelpIsFoundBesideTheBuiltPrograms();
    void theHelpIsMadeFromTheCurrentText();
};

void InstallTest::theFirstStartMakesTheDataFolderWithTheExamples_data() {
    QTest::addColumn<QString>("dataHome"); // null: not set; "HOME/" stands for the home folder
    QTest::addColumn<QString>("expectedFolder");
    QTest::addColumn<bool>("throughALink"); // the menu starts a link to the script

    QTest::newRow("default") << QString() << QStringLiteral("HOME/.local/share/Trovex-ODT")
                             << false;
    QTest::newRow("XDG_DATA_HOME with a blank")
        << QStringLiteral("HOME/Eigene Daten") << QStringLiteral("HOME/Eigene Daten/Trovex-ODT")
        << false;
    QTest::newRow("relative XDG_DATA_HOME is ignored")
        << QStringLiteral("daten") << QStringLiteral("HOME/.local/share/Trovex-ODT") << false;
    QTest::newRow("through a link")
        << QString() << QStringLiteral("HOME/.local/share/Trovex-ODT") << true;
}

void InstallTest::theFirstStartMakesTheDataFolderWithTheExamples() {
    QFETCH(QString, dataHome);
    QFETCH(QString, expectedFolder);
    QFETCH(bool, throughALink);
    Installation installation;
    const QString home = installation.home + QLatin1Char('/');
    dataHome.replace(QStringLiteral("HOME/"), home);
    expectedFolder.replace(QStringLiteral("HOME/"), home);
    QString command;
    if (throughALink) {
        command = installation.root.path() + QStringLiteral("/Menü/trovex-odt-start");
        QDir().mkpath(QFileInfo(command).absolutePath());
        QVERIFY(QFile::link(installation.launcher(), command));
    }

    const QStringList started =
        installation.start(dataHome, {QStringLiteral("a b"), QStringLiteral("--x")}, command);

    QCOMPARE(started, (QStringList{expectedFolder, QStringLiteral("a b"), QStringLiteral("--x")}));
    for (const QString& name : kExampleFiles)
        QCOMPARE(readBytes(expectedFolder + QLatin1Char('/') + name),
                 readBytes(installation.shared() + name));
    QCOMPARE(QDir(expectedFolder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void InstallTest::theUsersOwnFilesAreKeptAndMissingOnesComeBack() {
    Installation installation;
    const QString data = installation.home + QStringLiteral("/.local/share/Trovex-ODT/");
    QVERIFY(!installation.start(QString()).isEmpty());
    writeBytes(data + QStringLiteral("AuswahlEndungen.txt"), "*.odt\r\n");
    writeBytes(data + QStringLiteral("AusnahmeIndizierung.txt"), "entwurf\r\n");
    QVERIFY(QFile::remove(data + QStringLiteral("Adressen_Webseiten.txt")));

    QVERIFY(!installation.start(QString()).isEmpty());

    QCOMPARE(readBytes(data + QStringLiteral("AuswahlEndungen.txt")), QByteArray("*.odt\r\n"));
    QCOMPARE(readBytes(data + QStringLiteral("AusnahmeIndizierung.txt")),
             QByteArray("entwurf\r\n"));
    QCOMPARE(readBytes(data + QStringLiteral("Adressen_Webseiten.txt")),
             readBytes(installation.shared() + QStringLiteral("Adressen_Webseiten.txt")));
}

void InstallTest::aStartWithoutExamplesStillStartsTheProgram() {
    Installation installation(false);
    const QString data = installation.home + QStringLiteral("/.local/share/Trovex-ODT");
    QCOMPARE(installation.start(QString()), QStringList{data});
    QVERIFY(QDir(data).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void InstallTest::theExamplesReadAsTheProgramReadsThem() {
    const QString examples = builtExamples();
    QCOMPARE(database::loadExtensionChoices(examples),
             (QStringList{QStringLiteral("*.odt"), QStringLiteral("*.docx"),
                          QStringLiteral("*.docm"), QStringLiteral("*.epub")}));
    QVERIFY(QFileInfo::exists(database::exclusionListPath(examples)));
    QVERIFY(database::loadExclusionSet(database::exclusionListPath(examples)).isEmpty());

    const auto sites =
        websites::WebSiteFile::load(examples + QStringLiteral("Adressen_Webseiten.txt"));
    QVERIFY(sites);
    QCOMPARE(sites->topics(),
             (QStringList{QStringLiteral("Nachschlagewerke"), QStringLiteral("Wörterbücher"),
                          QStringLiteral("Karten")}));
    QCOMPARE(sites->sitesOfTopic(QStringLiteral("Wörterbücher")),
             (QStringList{QStringLiteral("https://woerterbuch.example.org/suche?wort="),
                          QStringLiteral("https://synonyme.example.net/")}));
    // Both kinds of site are shown: one that takes the search text, one
    // where the user pastes it.
    QCOMPARE(
        websites::siteSymbolText(sites->sitesOfTopic(QStringLiteral("Nachschlagewerke")).first()),
        QStringLiteral(">"));
    QCOMPARE(websites::siteSymbolText(sites->sitesOfTopic(QStringLiteral("Karten")).first()),
             QStringLiteral("+"));
}

// After the quick start the program runs from the build folder's bin/ with
// the user's data folder as its program directory: the "?" buttons find the
// help kept in the repository in the build folder's share/trovex-odt/.
void InstallTest::theHelpIsFoundBesideTheBuiltPrograms() {
    QTemporaryDir dataFolder;
    const QString bin = qEnvironmentVariable("TROVEX_BIN");
    const std::optional<QString> help =
        app::helpdocument::locate(dataFolder.path() + QLatin1Char('/'), bin);
    QVERIFY(help);
    QCOMPARE(QFileInfo(*help).canonicalFilePath(),
             QFileInfo(builtExamples() + QStringLiteral("Trovex_ODT.pdf")).canonicalFilePath());
    const QByteArray pdf = readBytes(*help);
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(pdf, readBytes(helpFolder() + QStringLiteral("Trovex_ODT.pdf")));
}

// scripts/help records the checksum of the Markdown it made the PDF from; a
// changed text needs a new PDF.
void InstallTest::theHelpIsMadeFromTheCurrentText() {
    const QByteArray recorded =
        readBytes(helpFolder() + QStringLiteral("Trovex_ODT.pdf.source.sha256")).trimmed();
    QVERIFY2(recorded.endsWith("  Trovex_ODT.md"), recorded.constData());
    const QByteArray text = readBytes(helpFolder() + QStringLiteral("Trovex_ODT.md"));
    const QByteArray sum = QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
    QVERIFY2(recorded.startsWith(QByteArray(sum + ' ')),
             "doc/hilfe/Trovex_ODT.md has changed since doc/hilfe/Trovex_ODT.pdf was made: "
             "run scripts/help");
}

QTEST_MAIN(InstallTest)
#include "install_test.moc"
