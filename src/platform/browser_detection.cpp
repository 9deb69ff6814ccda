#include "browser_detection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace platform {

const std::array<BrowserRow, kBrowserCount>& browserTable() {
    static const std::array<BrowserRow, kBrowserCount> table{{
        {BrowserKind::Standard, QStringLiteral("Standard Browser"), QString(),
         QStringLiteral("standard")},
        {BrowserKind::InternetExplorer, QStringLiteral("Microsoft Internet Explorer"),
         QStringLiteral("internet explorer"), QStringLiteral("internet explorer")},
        {BrowserKind::Edge, QStringLiteral("Microsoft Edge"), QStringLiteral("internet explorer"),
         QStringLiteral("edge")},
        {BrowserKind::Chrome, QStringLiteral("Google Chrome"), QStringLiteral("chrome"),
         QStringLiteral("chrome")},
        {BrowserKind::Opera, QStringLiteral("Opera"), QStringLiteral("opera"),
         QStringLiteral("opera")},
        {BrowserKind::Safari, QStringLiteral("Safari"), QStringLiteral("safari"),
         QStringLiteral("safari")},
        {BrowserKind::Firefox, QStringLiteral("FireFox"), QStringLiteral("firefox"),
         QStringLiteral("firefox")},
    }};
    return table;
}

std::array<QString, kBrowserCount> detectedBrowserHints(const QStringList& names,
                                                        bool edgeProgramExists) {
    const auto& table = browserTable();
    std::array<QString, kBrowserCount> hints;
    hints[0] = table[0].hint;
    // Edge found by its program file is as choosable as one found by name:
    // a picture that shows but ignores the click would mislead.
    const int edge = int(BrowserKind::Edge);
    if (edgeProgramExists)
        hints[edge] = table[edge].hint;
    for (const QString& name : names) {
        const QString lowered = name.toLower();
        for (int row = 1; row < kBrowserCount; ++row)
            if (lowered.contains(table[row].searchWord))
                hints[row] = table[row].hint;
    }
    return hints;
}

std::optional<int> currentBrowserRow(const QString& storedBrowser) {
    std::optional<int> current;
    const auto& table = browserTable();
    for (int row = 0; row < kBrowserCount; ++row)
        if (storedBrowser.contains(table[row].value))
            current = row;
    return current;
}

namespace {

struct DesktopBrowserProgram {
    const char* name;
    BrowserKind kind;
};

// Debian's and the vendors' program names; within a kind the first found wins.
constexpr DesktopBrowserProgram kDesktopBrowserPrograms[] = {
    {"firefox", BrowserKind::Firefox},
    {"firefox-esr", BrowserKind::Firefox},
    {"google-chrome", BrowserKind::Chrome},
    {"google-chrome-stable", BrowserKind::Chrome},
    {"chromium", BrowserKind::Chrome},
    {"chromium-browser", BrowserKind::Chrome},
    {"opera", BrowserKind::Opera},
    {"microsoft-edge", BrowserKind::Edge},
    {"microsoft-edge-stable", BrowserKind::Edge},
};

} // namespace

std::optional<BrowserKind> desktopBrowserKind(const QString& program) {
    const QString name = program.section(QLatin1Char('/'), -1);
    for (const DesktopBrowserProgram& known : kDesktopBrowserPrograms)
        if (name == QLatin1String(known.name))
            return known.kind;
    return std::nullopt;
}

QStringList desktopBrowserProgramNames() {
    QStringList names;
    for (const DesktopBrowserProgram& known : kDesktopBrowserPrograms)
        names.append(QString::fromLatin1(known.name));
    return names;
}

QString execProgram(const QString& execLine) {
    const QString line = execLine.trimmed();
    QString program;
    if (line.startsWith(QLatin1Char('"'))) {
        const qsizetype end = line.indexOf(QLatin1Char('"'), 1);
        if (end < 0)
            return QString();
        program = line.mid(1, end - 1);
    } else {
        program = line.section(QLatin1Char(' '), 0, 0);
    }
    // "env A=b browser" or a field code is not a program this can start.
    if (program.contains(QLatin1Char('=')) || program.startsWith(QLatin1Char('%')))
        return QString();
    return program;
}

std::optional<QString> desktopEntryId(const QString& printed) {
    const QString id = printed.trimmed();
    static const QRegularExpression allowed(
        QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9._-]*\\.desktop$"));
    if (id.size() > 255 || !allowed.match(id).hasMatch())
        return std::nullopt;
    return id;
}

std::array<QString, kBrowserCount> desktopBrowserPrograms(const QString& defaultBrowserProgram,
                                                          const QStringList& foundPrograms) {
    std::array<QString, kBrowserCount> programs;
    for (const QString& program : QStringList{defaultBrowserProgram} + foundPrograms) {
        if (program.isEmpty())
            continue;
        if (const std::optional<BrowserKind> kind = desktopBrowserKind(program))
            if (programs[int(*kind)].isEmpty())
                programs[int(*kind)] = program;
    }
    return programs;
}

QStringList desktopBrowserNames(const std::array<QString, kBrowserCount>& programs) {
    QStringList names;
    const auto& table = browserTable();
    // Edge's search word is Internet Explorer's; Edge is reported by
    // edgeProgramExists() instead.
    for (BrowserKind kind : {BrowserKind::Chrome, BrowserKind::Opera, BrowserKind::Firefox})
        if (!programs[int(kind)].isEmpty())
            names.append(table[int(kind)].hint + QStringLiteral(" (") + programs[int(kind)] +
                         QLatin1Char(')'));
    return names;
}

#ifdef Q_OS_WIN

QStringList SystemBrowserProbe::installedBrowserNames() {
    QSettings clients(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Clients\\StartMenuInternet"),
                      QSettings::NativeFormat);
    QStringList names;
    for (const QString& key : clients.childGroups()) {
        const QString name = clients.value(key + QStringLiteral("/.")).toString();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

bool SystemBrowserProbe::edgeProgramExists() {
    return QFileInfo::exists(QStringLiteral(
        "C:\\Windows\\SystemApps\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe\\MicrosoftEdge.exe"));
}

QString SystemBrowserProbe::browserProgram(BrowserKind) {
    return QString();
}

#else

namespace {

// The settings tool of a desktop answers at once; one that hangs must not
// hold up the program's start.
constexpr int kDesktopToolTimeLimitMs = 2000;

// A program named by a menu entry or xdg-settings, as an absolute path to
// an executable file; empty when there is none.
QString startableProgram(const QString& program) {
    if (program.isEmpty())
        return QString();
    if (!program.contains(QLatin1Char('/')))
        return QStandardPaths::findExecutable(program);
    const QFileInfo file(program);
    return file.isAbsolute() && file.isFile() && file.isExecutable() ? file.absoluteFilePath()
                                                                     : QString();
}

// The first Exec line of a menu entry file; empty for a file that is not a
// small regular file.
QString execLineOfEntry(const QString& path) {
    const QFileInfo info(path);
    // A menu entry is a few hundred bytes; a huge file is not one.
    if (!info.isFile() || info.size() > 1 << 20)
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("Exec=")))
            return trimmed.mid(5);
    }
    return QString();
}

QStringList menuFolders() {
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

// xdg-settings get default-web-browser, with a time limit; the program of
// the menu entry it names.
QString defaultBrowserProgram() {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-settings"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(tool, {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (!process.waitForFinished(kDesktopToolTimeLimitMs)) {
        process.kill();
        process.waitForFinished(kDesktopToolTimeLimitMs);
        return QString();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    const std::optional<QString> id =
        desktopEntryId(QString::fromUtf8(process.readAllStandardOutput().left(1024)));
    if (!id)
        return QString();
    for (const QString& folder : menuFolders()) {
        const QString exec = execLineOfEntry(folder + QLatin1Char('/') + *id);
        if (!exec.isEmpty())
            return startableProgram(execProgram(exec));
    }
    return QString();
}

QStringList programsOnPath() {
    QStringList programs;
    for (const QString& name : desktopBrowserProgramNames()) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            programs.append(found);
    }
    return programs;
}

QStringList programsOfMenuEntries() {
    QStringList programs;
    for (const QString& folder : menuFolders()) {
        for (const QFileInfo& entry :
             QDir(folder).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name)) {
            const QString program = execProgram(execLineOfEntry(entry.filePath()));
            // Only known browsers are looked at more closely.
            if (desktopBrowserKind(program))
                programs.append(startableProgram(program));
        }
    }
    return programs;
}

} // namespace

const std::array<QString, kBrowserCount>& SystemBrowserProbe::programs() {
    if (!programs_)
        programs_ = desktopBrowserPrograms(defaultBrowserProgram(),
                                           programsOnPath() + programsOfMenuEntries());
    return *programs_;
}

QStringList SystemBrowserProbe::installedBrowserNames() {
    return desktopBrowserNames(programs());
}

bool SystemBrowserProbe::edgeProgramExists() {
    return !programs()[int(BrowserKind::Edge)].isEmpty();
}

QString SystemBrowserProbe::browserProgram(BrowserKind kind) {
    return programs()[int(kind)];
}

#endif

} // namespace platform
