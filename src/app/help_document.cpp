#include "help_document.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace helpdocument {
namespace {

const QString kFileName = QStringLiteral("Trovex_ODT.pdf");

} // namespace

QString programDirectoryCopy(const QString& programDirectory) {
    return programDirectory + kFileName;
}

QString installedCopy(const QString& applicationDirectory) {
    return QDir::toNativeSeparators(QDir::cleanPath(
        applicationDirectory + QStringLiteral("/../share/trovex-odt/") + kFileName));
}

std::optional<QString> locate(const QString& programDirectory,
                              const QString& applicationDirectory) {
    for (const QString& candidate :
         {programDirectoryCopy(programDirectory), installedCopy(applicationDirectory)}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return std::nullopt;
}

QString missingMessage(const QString& expectedPath) {
    return QStringLiteral("Die Hilfe-Datei \"Trovex_ODT.pdf\" wurde nicht gefunden.\n"
                          "Sie gehört an diese Stelle:\n") +
           expectedPath;
}

QString notOpenedMessage(const QString& path) {
    return QStringLiteral("Die Hilfe-Datei konnte nicht geöffnet werden:\n") + path +
           QStringLiteral("\nIst ein Programm zum Anzeigen von PDF-Dateien installiert?");
}

} // namespace helpdocument

void openHelpDocument(const AppServices& services) {
    const std::optional<QString> help =
        helpdocument::locate(services.programDirectory, services.applicationDirectory);
    if (!help) {
        services.prompts.warning(helpdocument::missingMessage(
            helpdocument::programDirectoryCopy(services.programDirectory)));
        return;
    }
    // The answer may come after this returns; the prompts live as long as
    // the program.
    platform::Prompts& prompts = services.prompts;
    services.shell.openWithDefaultHandlerAndReport(*help, [&prompts, path = *help](bool opened) {
        if (!opened)
            prompts.warning(helpdocument::notOpenedMessage(path));
    });
}

} // namespace app
