#pragma once

#include "app_services.h"

#include <QString>

#include <optional>

namespace app {

// The help "Trovex_ODT.pdf", opened by the "?" buttons of both windows.
//
// The copy in the program directory comes first, so a user may keep a help
// of their own there. Failing that, the copy installed with the program
// (share/trovex-odt beside the folder of the executable) is opened, so a
// user's data folder needs no copy that a package update would leave stale.
namespace helpdocument {

// Where the program directory's copy lies; the place a user is told of.
QString programDirectoryCopy(const QString& programDirectory);
// Where an installation puts it: <prefix>/share/trovex-odt beside <prefix>/bin.
QString installedCopy(const QString& applicationDirectory);

// The first copy that exists; nothing when neither does.
std::optional<QString> locate(const QString& programDirectory, const QString& applicationDirectory);

QString missingMessage(const QString& expectedPath);
QString notOpenedMessage(const QString& path);

} // namespace helpdocument

// Opens the help with the desktop's default program, or tells the user why
// it cannot: where the file belongs, or which file the desktop did not open.
void openHelpDocument(const AppServices& services);

} // namespace app
