#include "browser_detection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QStringList desktopEntryNames(const QString& entryText) {
    QStringList names;
    for (const QString& line : entryText.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("Name=")) ||
            trimmed.startsWith(QLatin1String("Exec=")))
            names.append(trimmed.mid(5));
    }
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

#else

namespace {

QStringList programsOnPath() {
    QStringList names;
    const QString path = qEnvironmentVariable("PATH");
    for (const QString& folder : path.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        for (const QFileInfo& file :
             QDir(folder).entryInfoList(QDir::Files | QDir::Executable | QDir::NoDotAndDotDot))
            names.append(file.fileName());
    return names;
}

QStringList namesOfMenuEntries() {
    QStringList names;
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& folder : folders) {
        for (const QFileInfo& entry :
             QDir(folder).entryInfoList({QStringLiteral("*.desktop")}, QDir::Files)) {
            QFile file(entry.filePath());
            // A menu entry is a few hundred bytes; a huge file is not one.
            if (entry.size() > 1 << 20 || !file.open(QIODevice::ReadOnly))
                continue;
            names.append(desktopEntryNames(QString::fromUtf8(file.readAll())));
        }
    }
    return names;
}

} // namespace

QStringList SystemBrowserProbe::installedBrowserNames() {
    return programsOnPath() + namesOfMenuEntries();
}

bool SystemBrowserProbe::edgeProgramExists() {
    return !QStandardPaths::findExecutable(QStringLiteral("microsoft-edge")).isEmpty();
}

#endif

} // namespace platform
