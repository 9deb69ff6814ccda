#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Which browsers the settings dialog offers for the result pages. The rule
// works on the names a platform reports (registered browser names on
// Windows; program and menu-entry names elsewhere), so any platform and any
// test can feed it its own list.
namespace platform {

enum class BrowserKind { Standard, InternetExplorer, Edge, Chrome, Opera, Safari, Firefox };
inline constexpr int kBrowserCount = 7;

struct BrowserRow {
    BrowserKind kind;
    QString hint;       // shown on the picture when the browser is there
    QString searchWord; // looked for in the lower-cased names; empty: always there
    QString value;      // what the settings value Browser holds for it
};

// The rows from "standard" to "firefox", in the order the dialog shows them.
const std::array<BrowserRow, kBrowserCount>& browserTable();

// The hint of every row, empty for a browser that was not found. A name
// containing "internet explorer" stands for Edge as well (Windows ships both
// together), and so does Edge's own program file.
std::array<QString, kBrowserCount> detectedBrowserHints(const QStringList& names,
                                                        bool edgeProgramExists);

// The row whose value the stored Browser text contains; of several the last
// one counts. Nothing when none matches.
std::optional<int> currentBrowserRow(const QString& storedBrowser);

// Where the names come from.
class BrowserProbe {
public:
    virtual ~BrowserProbe() = default;
    // Windows: the default values of the sub-keys of
    // HKEY_LOCAL_MACHINE\SOFTWARE\Clients\StartMenuInternet. Elsewhere one
    // name per browser of the desktop (desktopBrowserPrograms below): the
    // row's hint and the program, "Google Chrome (/usr/bin/chromium)".
    virtual QStringList installedBrowserNames() = 0;
    // Windows: Edge's program file under C:\Windows\SystemApps. Elsewhere
    // a program of Microsoft Edge found on the desktop.
    virtual bool edgeProgramExists() = 0;
    // Off Windows: the program that starts the browser of a row, as found
    // on the desktop (an absolute path); empty for a browser not found, for
    // the standard row, and on Windows, where the browser start names its
    // programs itself.
    virtual QString browserProgram(BrowserKind kind) = 0;
};

class SystemBrowserProbe final : public BrowserProbe {
public:
    QStringList installedBrowserNames() override;
    bool edgeProgramExists() override;
    QString browserProgram(BrowserKind kind) override;

private:
    // Looked for once, at the first question: starting the desktop's
    // settings tool takes a moment.
    const std::array<QString, kBrowserCount>& programs();
    std::optional<std::array<QString, kBrowserCount>> programs_;
};

// The browsers of a desktop off Windows. There is no register of installed
// browsers there: a browser is a program of a known name, on PATH or named
// by a menu entry, and the desktop names its default browser by the file
// name of its menu entry (xdg-settings). Chromium counts as Google Chrome,
// the browser built from it: same picture, same stored value "chrome".

// The kind of a browser program by its file name ("/usr/bin/firefox-esr" is
// Firefox); nothing for any other program.
std::optional<BrowserKind> desktopBrowserKind(const QString& program);
// The program names looked for on PATH, the preferred first within a kind.
QStringList desktopBrowserProgramNames();
// The program an Exec line of a menu entry starts: its first word, quotes
// removed; empty when the line starts with something else (an environment
// setting, a field code).
QString execProgram(const QString& execLine);
// A menu entry's file name as xdg-settings prints it ("chromium.desktop"),
// checked before it becomes part of a path: nothing for any other text.
std::optional<QString> desktopEntryId(const QString& printed);
// The program of every row: the default browser's program first for its
// row, then the first of the other programs found (absolute paths: those on
// PATH in their order, then those of the menu entries) whose kind the row
// is. Programs of other names are left out.
std::array<QString, kBrowserCount> desktopBrowserPrograms(const QString& defaultBrowserProgram,
                                                          const QStringList& foundPrograms);
// One name per row found, as installedBrowserNames() reports them.
QStringList desktopBrowserNames(const std::array<QString, kBrowserCount>& programs);

} // namespace platform
