#include "browser_launch.h"

#include "platform/settings_values.h"

namespace search {
namespace {

struct NamedBrowser {
    const char* word;
    const char* program;
    bool quoted;
};

// The search words and the programs they start, in the order tested.
#if defined(Q_OS_WIN)
constexpr NamedBrowser kNamedBrowsers[] = {
    {"firefox", "firefox.exe", true},
    {"internet explorer", "iexplore.exe", false},
    {"edge", "shell:AppsFolder\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe!MicrosoftEdge", false},
    {"chrome", "chrome.exe", true},
};
#else
constexpr NamedBrowser kNamedBrowsers[] = {
    {"firefox", "firefox", true},
    {"internet explorer", "iexplore", false},
    {"edge", "microsoft-edge", false},
    {"chrome", "google-chrome", true},
};
#endif

} // namespace

BrowserStart browserStartFor(const QString& browserSetting, const QString& address) {
    if (browserSetting.contains(QLatin1String("standard")))
        return {true, QString(), address};
    for (const NamedBrowser& browser : kNamedBrowsers) {
        if (!browserSetting.contains(QLatin1String(browser.word)))
            continue;
        const QString parameters =
            browser.quoted ? QLatin1Char('"') + address + QLatin1Char('"') : address;
        return {false, QString::fromLatin1(browser.program), parameters};
    }
    return {true, QString(), address};
}

bool runProgramOrWarn(const QString& program, const QString& parameters,
                      platform::ShellLauncher& launcher, platform::Prompts& prompts) {
    if (launcher.runProgram(program, parameters))
        return true;
    prompts.warning(QStringLiteral("Datei: ") + program +
                    QStringLiteral(" kann nicht geöffnet werden"));
    return false;
}

void StarteInternetBrowser(const QString& address, platform::SettingsStore& settings,
                           platform::ShellLauncher& launcher, platform::Prompts& prompts) {
    QString browser = settings.read(platform::settings::kBrowser);
    if (browser.isEmpty()) {
        browser = QStringLiteral("standard");
        settings.write(platform::settings::kBrowser, browser);
    }
    const BrowserStart start = browserStartFor(browser, address);
    if (start.defaultHandler)
        launcher.openWithDefaultHandler(start.parameters);
    else
        runProgramOrWarn(start.program, start.parameters, launcher, prompts);
}

bool isDirectSearchSite(QStringView siteAddress) {
    return siteAddress.endsWith(QLatin1Char('/')) || siteAddress.endsWith(QLatin1Char('='));
}

QString webSearchAddress(const QString& siteAddress, const QString& searchText) {
    return isDirectSearchSite(siteAddress) ? siteAddress + searchText : siteAddress;
}

} // namespace search
