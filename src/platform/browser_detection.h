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
    // HKEY_LOCAL_MACHINE\SOFTWARE\Clients\StartMenuInternet. Elsewhere the
    // file names of the programs on PATH and the Name and Exec lines of the
    // desktop menu entries.
    virtual QStringList installedBrowserNames() = 0;
    // Windows: Edge's program file under C:\Windows\SystemApps. Elsewhere
    // the program microsoft-edge on PATH (the one the browser start runs).
    virtual bool edgeProgramExists() = 0;
};

class SystemBrowserProbe final : public BrowserProbe {
public:
    QStringList installedBrowserNames() override;
    bool edgeProgramExists() override;
};

// Test double: the names and the Edge file as the test sets them.
class FixedBrowserProbe final : public BrowserProbe {
public:
    QStringList installedBrowserNames() override { return names; }
    bool edgeProgramExists() override { return edgeProgram; }

    QStringList names;
    bool edgeProgram = false;
};

// The Name and Exec values of a desktop entry's text, in order.
QStringList desktopEntryNames(const QString& entryText);

} // namespace platform
