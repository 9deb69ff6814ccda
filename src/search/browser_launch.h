#pragma once

#include "platform/settings_store.h"
#include "platform/shell_launcher.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace search {

// How an address is handed to the browser the `Browser` setting names.
struct BrowserStart {
    bool defaultHandler = true; // shell "open"; otherwise run `program`
    QString program;
    QStringList arguments; // the address, as one argument
};

// The choice by the setting's text, tested in this order (case-sensitive
// containment): "standard", "firefox", "internet explorer", "edge", "chrome";
// anything else opens with the default handler. Every browser gets the
// address as exactly one argument (on Windows the launcher quotes it, so
// Firefox and Chrome still see it in double quotes, and now Edge and
// Internet Explorer too). Off Windows the programs are the usual executables
// of those browsers.
BrowserStart browserStartFor(const QString& browserSetting, const QString& address);

// The shell execution wrapper: runs the program; the warning
// "Datei: <program> kann nicht geöffnet werden" when it cannot be started.
[[nodiscard]] std::optional<QString>
runProgram(const QString& program, const QStringList& arguments, platform::ShellLauncher& launcher);

// openInChosenBrowser: opens a page or address in the chosen browser. An
// empty `Browser` setting means "standard" and is written back. An address
// starting with "-" is not handed to any program. The warning to show when
// the chosen browser could not be started.
[[nodiscard]] std::optional<QString> openInChosenBrowser(const QString& address,
                                                         platform::SettingsStore& settings,
                                                         platform::ShellLauncher& launcher);

// A site address ending in "/" or "=" searches by itself: the search text is
// appended as typed (blanks and all), percent-encoded as a query value from
// its UTF-8, so "&", "#", quotes and blanks stay part of the value. Any other
// site is opened as it is and the user pastes the text there.
bool isDirectSearchSite(QStringView siteAddress);
QString percentEncodedQueryValue(const QString& text);
QString webSearchAddress(const QString& siteAddress, const QString& searchText);

} // namespace search
