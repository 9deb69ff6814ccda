// The Windows branches of the platform layer, run against the system's own
// answers: the registry read back with reg.exe, the shell starting programs,
// the elevated start of the file-list tool, the window handshake of the
// instance probe, the volume and administrator queries, durable renames, the
// walk of a folder with Windows names and the cleaning of the scratch folder.
// Built for Windows only (under Wine on the build machine).
#include "database/replace_file.h"
#include "filelist/tree_walker.h"
#include "platform/administrator.h"
#include "platform/drive_map.h"
#include "platform/instance_probe.h"
#include "platform/program_directory.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"
#include "platform/tool_launcher.h"
#include "platform/volume_probe.h"
#include "support/platform_doubles.h"
#include "textio/durable_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

using namespace platform;
using testsupport::MemorySettingsStore;

namespace {

const QString kTestKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Halvorn\\Trovex-ODT-Test");

// reg.exe's answer for one value of a key, or the empty text.
QString regQuery(const QString& key, const QString& valueName) {
    QProcess reg;
    reg.start(QStringLiteral("reg.exe"),
              {QStringLiteral("query"), key, QStringLiteral("/v"), valueName});
    if (!reg.waitForFinished(30000) || reg.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(reg.readAllStandardOutput());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(fehlt)");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A plain Win32 top-level window that records the messages of the handshake.
struct ProbedWindow {
    static inline UINT lastMessage = 0;
    static inline WPARAM lastParameter = 0;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == kCloseRequestMessage) {
            lastMessage = message;
            lastParameter = w;
            return 0;
        }
        return DefWindowProcW(window, message, w, l);
    }

    ProbedWindow(const wchar_t* className, const wchar_t* title) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~ProbedWindow() {
        if (handle)
            DestroyWindow(handle);
    }
    // Delivers what was posted to the window.
    void deliver() const {
        MSG msg;
        while (PeekMessageW(&msg, handle, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }

    HWND handle = nullptr;
};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanupTestCase() {
        QSettings(kTestKey, QSettings::NativeFormat).clear();
        QProcess::execute(QStringLiteral("reg.exe"),
                          {QStringLiteral("delete"), kTestKey, QStringLiteral("/f")});
    }

    // The settings are string values under HKCU\Software\Halvorn\Trovex-ODT:
    // what the program writes, reg.exe reads there, and the other way round.
    void settingsLiveInTheRegistryKey() {
        const QString name = QStringLiteral("Trovex_Test_%1").arg(GetCurrentProcessId());
        QtSettingsStore store;
        QCOMPARE(store.read(name), QString());
        store.write(name, QStringLiteral("Größe äöü ß €"));
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Halvorn\\Trovex-ODT");
        const QString answer = regQuery(key, name);
        QVERIFY2(answer.contains(QStringLiteral("REG_SZ")), qPrintable(answer));
        QVERIFY2(answer.contains(name), qPrintable(answer));

        QCOMPARE(QProcess::execute(QStringLiteral("reg.exe"),
                                   {QStringLiteral("add"), key, QStringLiteral("/v"), name,
                                    QStringLiteral("/d"), QStringLiteral("von reg.exe"),
                                    QStringLiteral("/f")}),
                 0);
        QCOMPARE(QtSettingsStore().read(name), QStringLiteral("von reg.exe"));
        store.write(name, QStringLiteral("Größe äöü ß €"));
        QCOMPARE(QtSettingsStore().read(name), QStringLiteral("Größe äöü ß €"));

        QSettings(key, QSettings::NativeFormat).remove(name);
        QVERIFY(!regQuery(key, name).contains(name));
        QCOMPARE(store.read(name), QString());
    }

    // A key path other than the program's own is its own registry key.
    void otherKeyPathsAreKeysOfTheirOwn() {
        QtSettingsStore store;
        store.writeValue(QStringLiteral("Software\\Halvorn\\Trovex-ODT-Test\\"),
                         QStringLiteral("Wert"), QStringLiteral("eins"));
        QVERIFY(regQuery(kTestKey, QStringLiteral("Wert")).contains(QStringLiteral("eins")));
        QCOMPARE(store.readValue(QStringLiteral("Software\\Halvorn\\Trovex-ODT-Test\\"),
                                 QStringLiteral("Wert")),
                 QStringLiteral("eins"));
    }

    // Drive letters are real: no mapping is needed or stored.
    void drivePathsAreNative() {
        MemorySettingsStore empty;
        const DriveMap drives(empty);
        QCOMPARE(drives.toNative(QStringLiteral("D:\\Texte\\Brief.odt")),
                 std::optional<QString>(QStringLiteral("D:\\Texte\\Brief.odt")));
        QCOMPARE(drives.toWindows(QStringLiteral("C:\\Users\\Anna")),
                 std::optional<QString>(QStringLiteral("C:\\Users\\Anna")));
        QCOMPARE(drives.driveDirectory(QLatin1Char('e')), std::optional<QString>("E:\\"));
        QCOMPARE(drives.toNative(QStringLiteral("Texte\\Brief.odt")), std::nullopt);
    }

    // The program directory ends in a backslash, and so do the folders below it.
    void programDirectoryInWindowsForm() {
        const QString exe = QStringLiteral("C:/Program Files/Trovex-ODT");
        const QString cwd = QStringLiteral("D:/Daten");
        QCOMPARE(decideProgramDirectory({"trovex-odt.exe"}, exe, cwd),
                 QStringLiteral("D:\\Daten\\"));
        QCOMPARE(decideProgramDirectory({"trovex-odt.exe", "/restart"}, exe, cwd),
                 QStringLiteral("C:\\Program Files\\Trovex-ODT\\"));
        QCOMPARE(tempDirectory(QStringLiteral("D:\\Daten\\")),
                 QStringLiteral("D:\\Daten\\Datenbank\\Temp\\"));
        QCOMPARE(unpackDirectory(QStringLiteral("D:\\Daten")),
                 QStringLiteral("D:\\Daten\\Datenbank\\Temp\\ZipTemp\\"));
    }

    // Closing the program empties Datenbank\Temp, read-only files and
    // sub-folders with them, and keeps what it is told to keep.
    void scratchFolderIsEmptied() {
        QTemporaryDir dir;
        const QString program = QDir::toNativeSeparators(dir.path()) + QLatin1Char('\\');
        const QString temp = tempDirectory(program);
        QVERIFY(QDir().mkpath(unpackDirectory(program) + QStringLiteral("word")));
        QVERIFY(writeFile(unpackDirectory(program) + QStringLiteral("word\\document.xml"), "x"));
        QVERIFY(writeFile(temp + QStringLiteral("Teil_1.txt"), "x"));
        QVERIFY(writeFile(temp + QStringLiteral("schreibgeschützt.txt"), "x"));
        QVERIFY(
            SetFileAttributesW(reinterpret_cast<LPCWSTR>(
                                   QString(temp + QStringLiteral("schreibgeschützt.txt")).utf16()),
                               FILE_ATTRIBUTE_READONLY));
        QVERIFY(writeFile(temp + QStringLiteral("bleibt.txt"), "x"));
        emptyTempDirectory(program, {QStringLiteral("bleibt.txt")});
        QCOMPARE(QDir(temp).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("bleibt.txt")});
    }

    // The arguments reach the program as they are: the shell starts it, no
    // command interpreter reads "&" in them.
    void theShellRunsAProgramWithItsParameterText() {
        const QString name = QStringLiteral("Gestartet_%1").arg(GetCurrentProcessId());
        ProcessShellLauncher shell;
        QVERIFY(shell.runProgram(QStringLiteral("reg.exe"),
                                 {QStringLiteral("add"), kTestKey, QStringLiteral("/v"), name,
                                  QStringLiteral("/d"), QStringLiteral("a & b"),
                                  QStringLiteral("/f")}));
        QTRY_VERIFY_WITH_TIMEOUT(regQuery(kTestKey, name).contains(QStringLiteral("a & b")), 30000);
        QVERIFY(!shell.runProgram(QStringLiteral("gibt-es-nicht-4711.exe"), {}));
    }

    // "open" on a file whose name holds "&": the file itself is opened (a
    // command file runs), not a command line made of its name.
    void theShellOpensAFileWhoseNameHoldsAnAmpersand() {
        QTemporaryDir dir;
        const QString name = QStringLiteral("Geoeffnet_%1").arg(GetCurrentProcessId());
        const QString script =
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("Brief & Co.cmd")));
        QVERIFY(writeFile(script, QStringLiteral("@reg.exe add %1 /v %2 /d ja /f\r\n")
                                      .arg(kTestKey, name)
                                      .toLocal8Bit()));
        ProcessShellLauncher shell;
        QVERIFY(shell.openWithDefaultHandler(script));
        QTRY_VERIFY_WITH_TIMEOUT(regQuery(kTestKey, name).contains(QStringLiteral("ja")), 30000);
    }

    // The file-list tool is started with the verb "RunAs"; its handle is
    // watched until it ends, and its exit status comes back.
    void theToolIsStartedElevatedAndWatched() {
        ProcessToolLauncher launcher;
        QSignalSpy started(&launcher, &ToolLauncher::toolStarted);
        QSignalSpy finished(&launcher, &ToolLauncher::toolFinished);
        QSignalSpy failed(&launcher, &ToolLauncher::toolFailedToStart);
        ToolStartRequest request;
        // reg.exe reads its command line by the runtime's rules, as the tool
        // does (cmd.exe has rules of its own); a query of a missing key ends
        // with exit code 1.
        request.program = QStringLiteral("C:/windows/system32/reg.exe");
        request.arguments = {
            QStringLiteral("query"),
            QStringLiteral("HKCU\\Software\\Halvorn\\Fehlt_%1").arg(GetCurrentProcessId())};
        request.elevated = true;
        launcher.start(request);
        QCOMPARE(started.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.first().at(0).toInt(), 1);
        QCOMPARE(failed.count(), 0);

        request.program = QStringLiteral("C:/gibt/es/nicht/ErstelleDateiliste.exe");
        launcher.start(request);
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.first().at(0).toString().contains(QStringLiteral("ErstelleDateiliste.exe")));
    }

    // Each argument arrives as it was given: blanks, a quote, a trailing
    // backslash (reg.exe stores what it was given, and reg.exe reads it back).
    void theToolsArgumentsArriveWhole() {
        const QString name = QStringLiteral("Argument_%1").arg(GetCurrentProcessId());
        ProcessToolLauncher launcher;
        QSignalSpy finished(&launcher, &ToolLauncher::toolFinished);
        ToolStartRequest request;
        request.program = QStringLiteral("C:/windows/system32/reg.exe");
        request.arguments = {QStringLiteral("add"), kTestKey,
                             QStringLiteral("/v"),  name,
                             QStringLiteral("/d"),  QStringLiteral("C:\\Mein \"Ordner\"\\"),
                             QStringLiteral("/f")};
        request.elevated = true;
        launcher.start(request);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.first().at(0).toInt(), 0);
        QCOMPARE(QSettings(kTestKey, QSettings::NativeFormat).value(name).toString(),
                 QStringLiteral("C:\\Mein \"Ordner\"\\"));
    }

    void theToolIsNamedWithItsExtension() {
        QCOMPARE(fileListToolFileName(), QStringLiteral("ErstelleDateiliste.exe"));
        MemorySettingsStore empty;
        const DriveMap drives(empty);
        const FileListToolStart plan =
            planFileListToolStart(QLatin1Char('D'), QStringLiteral("C:\\Daten\\"), QString(), false,
                                  QStringLiteral("C:/Program Files/Trovex-ODT"), drives, true);
        QCOMPARE(plan.request.program,
                 QStringLiteral("C:\\Program Files\\Trovex-ODT\\ErstelleDateiliste.exe"));
        QCOMPARE(plan.request.arguments, QStringList({"open", "D", "--program-dir", "C:\\Daten"}));
        QVERIFY(plan.request.elevated);
        // A program directory at the root of a drive keeps its backslash.
        const FileListToolStart atRoot =
            planFileListToolStart(QLatin1Char('D'), QStringLiteral("C:\\"), QString(), false,
                                  QStringLiteral("C:/Trovex"), drives, false);
        QCOMPARE(atRoot.request.arguments,
                 QStringList({"open", "D", "--no-window", "--program-dir", "C:\\"}));
    }

    // The same answer as the shell's own test for administrators.
    void administratorCheckAgreesWithTheShell() {
        QCOMPARE(processHasAdministratorRights(), IsUserAnAdmin() != FALSE);
    }

    // The volume check reads the file-system name the system reports.
    void volumeCheckReadsTheFileSystemName() {
        wchar_t fileSystem[MAX_PATH + 1] = {};
        QVERIFY(GetVolumeInformationW(L"C:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                                      MAX_PATH + 1));
        const QByteArray name = QString::fromWCharArray(fileSystem).toLatin1();
        MemorySettingsStore empty;
        const DriveMap drives(empty);
        LocalVolumeProbe probe(drives);
        QCOMPARE(probe.canBeIndexed(QLatin1Char('C')), name.contains("NTFS"));
        QCOMPARE(QStorageInfo(QStringLiteral("C:\\")).fileSystemType(), name);
        // A letter no volume has.
        DWORD letters = GetLogicalDrives();
        int unused = 25;
        while (unused > 2 && (letters & (1u << unused)))
            --unused;
        QVERIFY(!probe.canBeIndexed(QChar(u'A' + unused)));
    }

    // The instance probe finds a window titled "...Trovex-Klartext..." and
    // posts it 5735 with 99 for "/restart" (every "/" removed), else 0.
    void theProbeMessagesTheKlartextWindow() {
        ProbedWindow other(L"TrovexTestKlartext", L"Mein Trovex-Klartext 2");
        QVERIFY(other.handle);
        ProbedWindow::lastMessage = 0;
        QVERIFY(
            probeOtherInstance({QStringLiteral("trovex-odt.exe"), QStringLiteral("/re/start")}));
        other.deliver();
        QCOMPARE(ProbedWindow::lastMessage, UINT(kCloseRequestMessage));
        QCOMPARE(ProbedWindow::lastParameter, WPARAM(99));
        ProbedWindow::lastMessage = 0;
        QVERIFY(probeOtherInstance({QStringLiteral("trovex-odt.exe"), QStringLiteral("start")}));
        other.deliver();
        QCOMPARE(ProbedWindow::lastMessage, UINT(kCloseRequestMessage));
        QCOMPARE(ProbedWindow::lastParameter, WPARAM(0));
    }

    void noKlartextWindowNoMessage() {
        QVERIFY(
            !probeOtherInstance({QStringLiteral("trovex-odt.exe"), QStringLiteral("/restart")}));
    }

    void theSiblingEditionIsFoundByItsWindowClass() {
        QVERIFY(!siblingEditionRunning());
        {
            ProbedWindow sibling(L"TMainform_TX_VARIO", L"Trovex Vario");
            QVERIFY(sibling.handle);
            QVERIFY(siblingEditionRunning());
        }
        QVERIFY(!siblingEditionRunning());
    }

    // The close request reaches the program through its message queue; any
    // other first parameter is ignored.
    void theCloseRequestClosesTheProgram() {
        int closes = 0;
        CloseRequestFilter filter([&closes] { ++closes; });
        QCoreApplication::instance()->installNativeEventFilter(&filter);
        ProbedWindow window(L"TrovexTestEmpfaenger", L"Empfänger");
        PostMessageW(window.handle, kCloseRequestMessage, 0, 0);
        PostMessageW(window.handle, kCloseRequestMessage, 99, 0);
        QTRY_COMPARE(closes, 1);
        QCoreApplication::instance()->removeNativeEventFilter(&filter);
    }

    // A rename replaces the target in one step and says why when it cannot.
    void replacingAFile() {
        QTemporaryDir dir;
        const QString from = dir.filePath(QStringLiteral("neu.dat"));
        const QString to = dir.filePath(QStringLiteral("Größe.dat"));
        QVERIFY(writeFile(from, "neu"));
        QVERIFY(writeFile(to, "alt"));
        QCOMPARE(database::replaceFile(from, to), std::nullopt);
        QCOMPARE(readAll(to), QByteArray("neu"));
        QVERIFY(!QFileInfo::exists(from));
        const auto reason = database::replaceFile(from, to);
        QVERIFY(reason.has_value());
        QVERIFY(!reason->isEmpty());
        QCOMPARE(readAll(to), QByteArray("neu"));
    }

    void syncingAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Liste.txt"));
        QVERIFY(writeFile(path, "Zeile\r\n"));
        QString error;
        QVERIFY2(textio::syncFileToDisk(path, &error), qPrintable(error));
        QVERIFY(!textio::syncFileToDisk(dir.filePath(QStringLiteral("fehlt.txt")), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(textio::syncFolderToDisk(dir.path()));
    }

    // The walk of a folder with Windows names: umlauts, blanks, hidden and
    // system files are listed; files before folders, by lower-cased name.
    void walkingAFolderWithWindowsNames() {
        QTemporaryDir dir;
        const QString root = QDir::toNativeSeparators(dir.path()) + QLatin1Char('\\');
        QVERIFY(QDir().mkpath(root + QStringLiteral("Bücher\\Ältere")));
        QVERIFY(QDir().mkpath(root + QStringLiteral("akten")));
        for (const QString& file :
             {QStringLiteral("Zettel.odt"), QStringLiteral("brief.docx"),
              QStringLiteral("Bücher\\Größe €.epub"), QStringLiteral("Bücher\\Ältere\\a b.odt"),
              QStringLiteral("akten\\versteckt.odt")})
            QVERIFY(writeFile(root + file, "x"));
        SetFileAttributesW(reinterpret_cast<LPCWSTR>(
                               QString(root + QStringLiteral("akten\\versteckt.odt")).utf16()),
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

        QStringList lines;
        filelist::WalkOptions options;
        options.threads = 2;
        const filelist::WalkResult result = filelist::walkTree(
            root.toUtf8(), "X:\\", options,
            [&](QByteArrayView directory, const std::vector<QByteArray>& names) {
                for (const QByteArray& name : names)
                    lines.append(QString::fromUtf8(directory) + QString::fromUtf8(name));
            });
        QVERIFY(result.ok);
        QCOMPARE(lines, QStringList({"X:\\brief.docx", "X:\\Zettel.odt", "X:\\akten\\versteckt.odt",
                                     "X:\\Bücher\\Größe €.epub", "X:\\Bücher\\Ältere\\a b.odt"}));
        QCOMPARE(result.directories, qint64(4));

        const filelist::WalkResult missing =
            filelist::walkTree((root + QStringLiteral("fehlt\\")).toUtf8(), "X:\\", options,
                               [](QByteArrayView, const std::vector<QByteArray>&) {});
        QVERIFY(!missing.ok);
        QVERIFY(!missing.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(WindowsTest)
#include "windows_test.moc"
