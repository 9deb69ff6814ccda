#include "browser_launch.h"

#include "platform/browser_detection.h"
#include "platform/settings_values.h"

#include <QStandardPaths>
#include <QUrl>

namespace search {
namespace {

struct NamedBrowser {
    const char* word;
    const char* program;
};

// The search words and the programs they start, in the order tested.
#if defined(Q_OS_WIN)
constexpr NamedBrowser kNamedBrowsers[] = {
    {"firefox", "firefox.exe"},
    {"internet explorer", "iexplore.exe"},
    {"edge", "shell:AppsFolder\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe!MicrosoftEdge"},
    {"chrome", "chrome.exe"},
};
#else
constexpr NamedBrowser kNamedBrowsers[] = {
    {"firefox", "firefox"},
    {"internet explorer", "iexplore"},
    {"edge", "microsoft-edge"},
    {"chrome", "google-chrome"},
};
#endif

// The usual program names are not the only ones: Debian ships Chrome's
// sibling as "chromium" and Firefox as "firefox-esr". When the usual name is
// not on PATH, the first program of the same browser found there starts it;
// with none, the usual name stays, so the warning names what was missing.
QString installedProgram(const QString& program) {
#if defined(Q_OS_WIN)
    return program;
#else
    if (!QStandardPaths::findExecutable(program).isEmpty())
        return program;
    const std::optional<platform::BrowserKind> kind = platform::desktopBrowserKind(program);
    if (!kind)
        return program;
    for (const QString& name : platform::desktopBrowserProgramNames()) {
        if (platform::desktopBrowserKind(name) != kind)
            continue;
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return program;
#endif
}

} // namespace

BrowserStart browserStartFor(const QString& browserSetting, const QString& address) {
    if (browserSetting.contains(QLatin1String("standard")))
        return {true, QString(), {address}};
    for (const NamedBrowser& browser : kNamedBrowsers) {
        if (!browserSetting.contains(QLatin1String(browser.word)))
            continue;
        return {false, QString::fromLatin1(browser.program), {address}};
    }
    return {true, QString(), {address}};
}

std::optional<QString> runProgram(const QString& program, const QStringList& arguments,
                                  platform::ShellLauncher& launcher) {
    if (launcher.runProgram(program, arguments))
        return std::nullopt;
    return QStringLiteral("Datei: ") + program + QStringLiteral(" kann nicht geöffnet werden");
}

std::optional<QString> openInChosenBrowser(const QString& address,
                                           platform::SettingsStore& settings,
                                           platform::ShellLauncher& launcher) {
    QString browser = settings.read(platform::settings::kBrowser);
    if (browser.isEmpty()) {
        browser = QStringLiteral("standard");
        settings.write(platform::settings::kBrowser, browser);
    }
    // A page path is absolute and a web address starts with its scheme; a
    // text starting with "-" (a hostile site file) would be read as an
    // option by the browser or the desktop's opener.
    if (address.startsWith(QLatin1Char('-')))
        return std::nullopt;
    const BrowserStart start = browserStartFor(browser, address);
    if (!start.defaultHandler)
        return runProgram(installedProgram(start.program), start.arguments, launcher);
    launcher.openWithDefaultHandler(address);
    return std::nullopt;
}

bool isDirectSearchSite(QStringView siteAddress) {
    return siteAddress.endsWith(QLatin1Char('/')) || siteAddress.endsWith(QLatin1Char('='));
}

QString percentEncodedQueryValue(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString webSearchAddress(const QString& siteAddress, const QString& searchText) {
    return isDirectSearchSite(siteAddress) ? siteAddress + percentEncodedQueryValue(searchText)
                                           : siteAddress;
}

} // namespace search
