#pragma once

#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"

#include <QString>
#include <QStringView>

namespace search {

// How an address is handed to the browser the `Browser` setting names.
struct BrowserStart {
    bool defaultHandler = true; // shell "open"; otherwise run `program`
    QString program;
    QString parameters;
};

// The choice by the setting's text, tested in this order (case-sensitive
// containment): "standard", "firefox", "internet explorer", "edge", "chrome";
// anything else opens with the default handler. Firefox and Chrome get the
// address in double quotes. Off Windows the programs are the usual
// executables of those browsers.
BrowserStart browserStartFor(const QString& browserSetting, const QString& address);

// The shell execution wrapper: runs the program and shows
// "Datei: <program> kann nicht geöffnet werden" when it cannot be started.
bool runProgramOrWarn(const QString& program, const QString& parameters,
                      platform::ShellLauncher& launcher, platform::Prompts& prompts);

// StarteInternetBrowser: opens a page or address in the chosen browser. An
// empty `Browser` setting means "standard" and is written back.
void StarteInternetBrowser(const QString& address, platform::SettingsStore& settings,
                           platform::ShellLauncher& launcher, platform::Prompts& prompts);

// A site address ending in "/" or "=" searches by itself: the search text is
// appended as typed (blanks and all, not URL-encoded). Any other site is
// opened as it is and the user pastes the text there.
bool isDirectSearchSite(QStringView siteAddress);
QString webSearchAddress(const QString& siteAddress, const QString& searchText);

} // namespace search
